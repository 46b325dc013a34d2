#include "ui/ReportDlg.h"
#include <algorithm>
#include "resources/resource.h"

namespace {

// Design pixels around the controls and between them, and the width of OK.
constexpr int kMargin = 4;
constexpr int kButtonWidth = 60;
// How much taller a button is than its text.
constexpr int kButtonPadding = 10;

}  // namespace

CReportDlg::CReportDlg(std::wstring title, std::vector<std::wstring> lines, HWND owner)
    : CDialog(IDD_REPORT, owner), m_strTitle(std::move(title)), m_lines(std::move(lines))
{
}

bool CReportDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    m_scaler.Measure(kDesignWidth, kDesignHeight);
    std::wstring text;
    for (size_t i = 0; i < m_lines.size(); ++i)
        text += (i == 0 ? L"" : L"\r\n") + m_lines[i];
    GetDlgItem(IDC_REPORT_LIST).SetWindowText(text);
    for (HWND child : GetChildren())
        CWindow(child).SetFont(m_scaler.GetFont(), false);
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    ::SetWindowPos(m_hWnd, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    // On OK rather than the text, which an edit box given the focus would show all selected.
    ::SetFocus(GetDlgItem(IDOK));
    return false;
}

void CReportDlg::LayOut() const
{
    const RECT client = GetClientRect();
    const float scale = m_scaler.GetScale();
    const int margin = static_cast<int>(kMargin * scale);
    const int buttonWidth = static_cast<int>(kButtonWidth * scale);
    const int buttonHeight = m_scaler.GetFontHeight() + kButtonPadding;
    const RECT button{client.right - margin - buttonWidth, client.bottom - margin - buttonHeight, client.right - margin,
                      client.bottom - margin};
    GetDlgItem(IDOK).MoveWindow(button, false);
    GetDlgItem(IDC_REPORT_LIST)
        .MoveWindow(RECT{client.left + margin, client.top + margin, client.right - margin,
                         std::max(client.top + margin, button.top - margin)},
                    false);
}

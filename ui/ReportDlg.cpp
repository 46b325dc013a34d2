#include "ui/ReportDlg.h"
#include <algorithm>
#include "resources/resource.h"

namespace {

// A device context of a window, given back when it goes; the font selected into it for the
// measurement is taken out again first.
class CWindowDC {
public:
    CWindowDC(HWND window, HFONT font) : m_window(window), m_dc(::GetDC(window))
    {
        if (m_dc && font)
            m_old = ::SelectObject(m_dc, font);
    }
    ~CWindowDC()
    {
        if (!m_dc)
            return;
        if (m_old)
            ::SelectObject(m_dc, m_old);
        ::ReleaseDC(m_window, m_dc);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

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
    const CWindow list = GetDlgItem(IDC_REPORT_LIST);
    for (const std::wstring& line : m_lines)
        list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    for (HWND child : GetChildren())
        CWindow(child).SetFont(m_scaler.GetFont(), false);
    SetScrollWidth();
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    ::SetWindowPos(m_hWnd, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
    return true;
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

void CReportDlg::SetScrollWidth() const
{
    const CWindow list = GetDlgItem(IDC_REPORT_LIST);
    const CWindowDC dc(list, m_scaler.GetFont());
    if (!dc.Get())
        return;
    LONG widest = 0;
    for (const std::wstring& line : m_lines) {
        SIZE size{};
        if (::GetTextExtentPoint32W(dc.Get(), line.c_str(), static_cast<int>(line.size()), &size))
            widest = std::max(widest, size.cx);
    }
    // A few pixels more, so that the end of the widest line does not touch the border.
    list.SendMessage(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 2 * kMargin));
}

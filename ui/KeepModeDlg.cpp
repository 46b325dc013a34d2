#include "ui/KeepModeDlg.h"
#include "framework/ResourceString.h"
#include "resources/resource.h"

CKeepModeDlg::CKeepModeDlg(const CVideoMode& mode, int seconds, HWND owner)
    : CDialog(IDD_KEEP_MODE, owner), m_mode(mode), m_nSecondsLeft(seconds)
{
}

std::wstring CKeepModeDlg::GetModeTitle(const CVideoMode& mode)
{
    // Indexed by resolution, then portrait or landscape.
    static const UINT kTitles[2][2] = {{IDS_MODE_QVGA_PORTRAIT, IDS_MODE_QVGA_LANDSCAPE},
                                       {IDS_MODE_VGA_PORTRAIT, IDS_MODE_VGA_LANDSCAPE}};
    return FormatResourceString(IDS_KEEP_MODE_NAME,
                                {LoadResourceString(kTitles[mode.m_bVGA ? 1 : 0][mode.IsLandscape() ? 1 : 0]),
                                 LoadResourceString(IDS_ORIENTATION_FIRST + (mode.m_nOrientation & 3))});
}

bool CKeepModeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetDlgItem(IDC_KEEP_MODE_NAME).SetWindowText(GetModeTitle(m_mode));
    ShowSecondsLeft();
    ::SetTimer(m_hWnd, kTimerId, kTickMs, nullptr);
    m_scaler.Apply(m_hWnd, kDesignWidth, kDesignHeight);
    m_scaler.FitWindow();
    ::SetFocus(GetDlgItem(IDCANCEL));
    return false;
}

LRESULT CKeepModeDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerId) {
        OnTick();
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CKeepModeDlg::OnTick()
{
    if (m_nSecondsLeft > 0)
        --m_nSecondsLeft;
    ShowSecondsLeft();
    if (m_nSecondsLeft == 0) {
        ::KillTimer(m_hWnd, kTimerId);
        EndDialog(IDTIMEOUT);
    }
}

void CKeepModeDlg::ShowSecondsLeft()
{
    GetDlgItem(IDC_KEEP_MODE_SECONDS)
        .SetWindowText(FormatResourceString(IDS_KEEP_MODE_SECONDS, {std::to_wstring(m_nSecondsLeft)}));
}

#include "ui/ClockPage.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"

CClockPage::CClockPage() : CTabbedPageOf(IDD_CLOCK) {}

bool CClockPage::OnInitDialog()
{
    const CModeProp& prop = GetData();
    m_first = CVideoMode(prop.m_mode.m_bVGA, prop.m_mode.m_nOrientation);
    m_second = CVideoMode(m_first.m_bVGA, static_cast<int16_t>(m_first.m_nOrientation + 2));
    m_first.LoadClocks();
    m_second.LoadClocks();
    m_nFirstClock = m_first.m_nClock;
    m_nSecondClock = m_second.m_nClock;
    m_nFirstDivider = m_first.m_nDivider;
    m_nSecondDivider = m_second.m_nDivider;
    CTabbedPage::OnInitDialog();
    const int spins[] = {IDC_CLOCK_FIRST_SPIN, IDC_DIVIDER_FIRST_SPIN, IDC_CLOCK_SECOND_SPIN, IDC_DIVIDER_SECOND_SPIN};
    CUpDownCtrl::AttachAll(m_spins, spins, m_hWnd, kMinimum, kMaximum);
    GetDlgItem(IDC_CLOCK_GROUP_FIRST).SetWindowText(LoadResourceString(IDS_ORIENTATION_FIRST + m_first.m_nOrientation));
    GetDlgItem(IDC_CLOCK_GROUP_SECOND)
        .SetWindowText(LoadResourceString(IDS_ORIENTATION_FIRST + m_second.m_nOrientation));
    PostMessage(kShowWarning);
    return true;
}

void CClockPage::DoDataExchange(CDataExchange& dx)
{
    dx.Int(IDC_CLOCK_FIRST, m_nFirstClock, kMinimum, kMaximum);
    dx.Int(IDC_DIVIDER_FIRST, m_nFirstDivider, kMinimum, kMaximum);
    dx.Int(IDC_CLOCK_SECOND, m_nSecondClock, kMinimum, kMaximum);
    dx.Int(IDC_DIVIDER_SECOND, m_nSecondDivider, kMinimum, kMaximum);
}

void CClockPage::OnApply()
{
    m_first.LoadClocks();
    m_second.LoadClocks();
    m_first.m_nClock = m_nFirstClock;
    m_first.m_nDivider = m_nFirstDivider;
    m_second.m_nClock = m_nSecondClock;
    m_second.m_nDivider = m_nSecondDivider;
    m_first.SaveClocks();
    m_second.SaveClocks();
}

LRESULT CClockPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kShowWarning)
        return CTabbedPage::WindowProc(message, wParam, lParam);
    if (GetSettingsRegistry().ReadDWord(nullptr, kNoClockWarningSetting, 0) == 0)
        ShowProgramMessage(m_hWnd, LoadResourceString(IDS_CLOCK_WARNING), MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

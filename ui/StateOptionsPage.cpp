#include "ui/StateOptionsPage.h"
#include "resources/resource.h"

CStateOptionsPage::CStateOptionsPage() : CTabbedPageOf(IDD_STATE_OPTIONS) {}

void CStateOptionsPage::DoDataExchange(CDataExchange& dx)
{
    CSettings& settings = GetData();
    dx.Check(IDC_SWITCH_TODAY_THEME, settings.m_bSwitchTodayTheme);
    dx.Check(IDC_SWITCH_CALIBRATION, settings.m_bSwitchCalibration);
}

#include "ui/StateOptionsPage.h"
#include "resources/resource.h"
#include "state/Settings.h"

CStateOptionsPage::CStateOptionsPage() : CTabbedPage(IDD_STATE_OPTIONS) {}

bool CStateOptionsPage::OnInitDialog()
{
    const auto& settings = *static_cast<const CSettings*>(m_pData);
    m_bSwitchTodayTheme = settings.m_bSwitchTodayTheme;
    m_bSwitchCalibration = settings.m_bSwitchCalibration;
    return CTabbedPage::OnInitDialog();
}

void CStateOptionsPage::DoDataExchange(CDataExchange& dx)
{
    dx.Check(IDC_SWITCH_TODAY_THEME, m_bSwitchTodayTheme);
    dx.Check(IDC_SWITCH_CALIBRATION, m_bSwitchCalibration);
}

void CStateOptionsPage::OnApply()
{
    auto& settings = *static_cast<CSettings*>(m_pData);
    settings.m_bSwitchTodayTheme = m_bSwitchTodayTheme;
    settings.m_bSwitchCalibration = m_bSwitchCalibration;
}

#pragma once
// "Options" of the state settings: whether the Today theme and the touch calibration follow
// the video mode. Edits the settings store handed over by the sheet, whose caller saves it.
#include "ui/TabbedPage.h"

class CStateOptionsPage : public CTabbedPage {
public:
    CStateOptionsPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnApply() override;

private:
    bool m_bSwitchTodayTheme = false;
    bool m_bSwitchCalibration = false;
};

#pragma once
// "Options" of the state settings: whether the Today theme and the touch calibration follow
// the video mode. Edits the settings store handed over by the sheet, whose caller saves it.
#include "state/Settings.h"
#include "ui/TabbedPage.h"

class CStateOptionsPage : public CTabbedPageOf<CSettings> {
public:
    CStateOptionsPage();

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

#pragma once
// "Profiles" of the state settings: every profile found beside the program, with a check box
// that says whether it runs on every change of video mode, and its information on request.
// Edits the settings store handed over by the sheet; the profiles and their order stay.
#include "state/Settings.h"
#include "ui/CheckListCtrl.h"
#include "ui/TabbedPage.h"

class CProfilePage : public CTabbedPageOf<CSettings> {
public:
    CProfilePage();

protected:
    bool OnInitDialog() override;
    bool OnButtonClicked(UINT id) override;
    void OnApply() override;

private:
    void ShowInfo();

    CCheckListCtrl m_list;
};

#pragma once
// "Profiles" of the state settings: every profile found beside the program, with a check box
// that says whether it runs on every change of video mode, and its information and its check
// on request.
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
    // The profile of the selected row; null when none is selected.
    CProfile* GetSelected() const;
    void ShowInfo();
    // Checks the selected profile and shows the report (CheckProfile).
    void Check();

    CCheckListCtrl m_list;
};

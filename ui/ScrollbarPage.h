#pragma once
// "Scrollbars": the button sizes of the vertical and horizontal scrollbars of one mode group,
// 5 to 50 pixels each. Edits the CModeProp handed over by the sheet.
#include "core/ModeProp.h"
#include "ui/TabbedPage.h"
#include "ui/UpDownCtrl.h"

class CScrollbarPage : public CTabbedPageOf<CModeProp> {
public:
    static constexpr int kMinimum = 5;
    static constexpr int kMaximum = 50;

    CScrollbarPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    CUpDownCtrl m_spins[4];
};

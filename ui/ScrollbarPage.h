#pragma once
// "Scrollbars": the button sizes of the vertical and horizontal scrollbars of one mode group,
// 5 to 50 pixels each. Edits the CModeProp handed over by the sheet.
#include "core/ModeProp.h"
#include "ui/TabbedPage.h"
#include "ui/UpDownCtrl.h"

class CScrollbarPage : public CTabbedPage {
public:
    static constexpr int kMinimum = CModeProp::kMinScrollSize;
    static constexpr int kMaximum = CModeProp::kMaxScrollSize;

    CScrollbarPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnApply() override;

private:
    int m_nVertWidth = 0;
    int m_nVertHeight = 0;
    int m_nHorzHeight = 0;
    int m_nHorzWidth = 0;
    CUpDownCtrl m_spins[4];
};

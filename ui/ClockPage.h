#pragma once
// "GPU-Clock": the display controller's clock value and divider of the two modes that share
// the sheet's resolution and differ by half a turn (standard and upside down, or right- and
// left-handed). Warns once when first shown, unless the warning is switched off. Its values
// are stored when the sheet closes with OK, without waiting for the sheet's caller.
#include "core/ModeProp.h"
#include "state/VideoMode.h"
#include "ui/TabbedPage.h"
#include "ui/UpDownCtrl.h"

class CClockPage : public CTabbedPageOf<CModeProp> {
public:
    // The driver accepts 1..199 for both values.
    static constexpr int kMinimum = 1;
    static constexpr int kMaximum = 199;
    // Posted to the page from its initialisation, so that the warning shows over the page.
    static constexpr UINT kShowWarning = 0x801;

    CClockPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnApply() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CVideoMode m_first;
    CVideoMode m_second;
    int m_nFirstClock = 0;
    int m_nSecondClock = 0;
    int m_nFirstDivider = 0;
    int m_nSecondDivider = 0;
    CUpDownCtrl m_spins[4];
};

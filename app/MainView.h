#pragma once
// The main window's face: eight picture buttons, one per video mode. A tap confirms, switches
// and restarts the device (or, with "NoReset", ends the program).
#include <cstdint>
#include "framework/FormView.h"
#include "state/VideoMode.h"
#include "ui/BmpButton.h"
#include "ui/LayoutScaler.h"

class CModeSwitch;

class CMainView : public CFormView {
public:
    // The buttons in their table order: the bitmap of button n is 167 + n.
    struct ModeButton {
        UINT id;
        bool vga;
        int16_t orientation;
    };
    static const ModeButton kButtons[8];
    // The design size of the form on a 240x320 screen.
    static constexpr int kDesignWidth = 240;
    static constexpr int kDesignHeight = 268;

    // The buttons switch in modeSwitch, which outlives the view.
    explicit CMainView(CModeSwitch& modeSwitch);

    // Gives every button its picture, sized to it, on the grey background, then fits the form
    // to the screen and the buttons into the view.
    void OnInitialUpdate() override;
    // A button's click starts the switch to its mode.
    bool OnCommand(UINT id, UINT code, HWND control) override;

    const CLayoutScaler& GetScaler() const { return m_scaler; }

private:
    // The form's two columns of four rows are drawn for a portrait screen. Where they do not
    // fit the view (on a landscape screen the view is lower than the four rows), the buttons
    // go row by row, in their table order, into the fewest columns that let them all fit whole,
    // evenly spaced; a view that holds the form keeps it as drawn. places are the buttons'
    // rectangles in the view, changed where they have to move. False when no arrangement fits.
    static bool FitButtons(RECT (&places)[8], const RECT& client);
    static bool FitsAsDrawn(const RECT (&places)[8], const RECT& client);
    // The buttons' rectangles drawn for the design screen, scaled by the factor and fitted into
    // the view; false when they do not fit at that factor.
    static bool ScaleAndFit(const RECT (&drawn)[8], float scale, const RECT& client, RECT (&places)[8]);
    // The screen's own factor against the design: 2 on the VGA screens, 1 on the QVGA ones.
    static float ScreenScale();
    // Confirms, switches, then restarts or ends the program. A failure of the switch is
    // reported and ends the program with exit code 1; nothing escapes.
    void SwitchFromButton(CVideoMode target);

    CModeSwitch& m_modeSwitch;
    CBmpButton m_buttons[8];
    CLayoutScaler m_scaler;
};

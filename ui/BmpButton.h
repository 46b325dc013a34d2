#pragma once
// The picture button of the main view's mode buttons: the picture on a background of its own
// colour, inside a one-pixel frame that looks raised, or pushed in while the button is
// pressed.
#include "framework/BitmapButton.h"

class CBmpButton : public CBitmapButton {
public:
    // The background starts as the system's button-face colour.
    CBmpButton();

    void SetBkColor(COLORREF color) { m_bkColor = color; }
    COLORREF GetBkColor() const { return m_bkColor; }

protected:
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    COLORREF m_bkColor;
};

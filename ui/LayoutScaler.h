#pragma once
// Fits a window's child controls, drawn for a 240x320 screen, to the real screen: every
// child's rectangle is scaled by one factor and every child gets one Tahoma font of the
// matching size. The window itself keeps its size and font.
#include <windows.h>
#include "framework/Handle.h"

class CLayoutScaler {
public:
    // Lays out the children of window, designed at designWidth x designHeight pixels, for the
    // screen's size.
    void Apply(HWND window, int designWidth, int designHeight);
    // The same for a screen of the given size (the device's screens are 240x320, 320x240,
    // 480x640 and 640x480).
    void Apply(HWND window, int designWidth, int designHeight, SIZE screen);

    // After Apply, for a box of its own (not a form or a page, which their parent sizes): grows
    // the window's client area by the factor, as its children grew, and centres the window in
    // the work area (the screen below the device's navigation bar; for a screen given to Apply,
    // that whole screen).
    void FitWindow() const;

    // Only the factor and the font for the screen, for a window that places its children
    // itself; nothing is laid out.
    void Measure(int designWidth, int designHeight);
    // The same with the factor given rather than worked out from the screen.
    void Measure(int designWidth, int designHeight, float scale);

    // The factor for a screen: the smaller of the width ratio and the height ratio, where the
    // height ratio counts only what the screen adds beyond 320; 1.0 for screens lower than
    // 320 or narrower than 240.
    static float ComputeScale(SIZE screen, int designWidth, int designHeight);

    // A rectangle drawn for the design screen, on this screen.
    RECT Scale(const RECT& rect) const { return Scale(rect, m_scale); }
    // A rectangle drawn for the design screen, scaled by the factor.
    static RECT Scale(const RECT& rect, float scale);

    float GetScale() const { return m_scale; }
    int GetFontHeight() const { return m_fontHeight; }
    // The children's font; null when it could not be created (the children then show the
    // system font).
    HFONT GetFont() const { return m_font.Get(); }

private:
    void CreateFont();
    void LayOutChildren() const;

    HWND m_window = nullptr;
    RECT m_area{};
    int m_designWidth = 0;
    int m_designHeight = 0;
    CFontHandle m_font;
    float m_scale = 1.0f;
    int m_fontHeight = 10;
};

#pragma once
// A drop-down list of the eight video modes, in the order of the main window's buttons, each
// titled as the keep-mode question titles it. A view of the combo box; the page owns it.
#include "framework/Window.h"
#include "state/VideoMode.h"

class CModeCombo {
public:
    explicit CModeCombo(CWindow combo) : m_combo(combo) {}

    // Lists the modes and selects one.
    void Fill(const CVideoMode& selected) const;
    // The mode selected; false, and mode unchanged, when none is.
    bool GetSelected(CVideoMode& mode) const;
    // The longest titles are wider than the box drawn for a portrait page: on a wider page the
    // box takes the page's whole width, with its left margin on the right as well.
    void Widen(int pageWidth) const;

private:
    CWindow m_combo;
};

#pragma once
// The spin control of the scrollbar and clock pages: arrows beside an edit box that step the
// number in it. It takes the control of its page over and drives the edit box just before it
// in the template.
#include <cstddef>
#include "framework/Wnd.h"

class CUpDownCtrl : public CWnd {
public:
    // Takes the page's spin control id over and makes the control before it its edit box.
    bool Attach(int id, HWND page);
    void SetRange(int lower, int upper) const;

    // Attaches each spin to its id of the page, with one range for all.
    template <size_t N>
    static void AttachAll(CUpDownCtrl (&spins)[N], const int (&ids)[N], HWND page, int lower, int upper)
    {
        for (size_t i = 0; i < N; ++i) {
            spins[i].Attach(ids[i], page);
            spins[i].SetRange(lower, upper);
        }
    }
};

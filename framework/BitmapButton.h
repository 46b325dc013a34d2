#pragma once
// An owner-drawn push button that shows one of up to four pictures: normal, selected
// (pressed), focused and disabled. The button's template control must have BS_OWNERDRAW;
// the object takes it over with SubclassDlgItem.
#include <windows.h>
#include "framework/Handle.h"
#include "framework/Wnd.h"

class CBitmapButton : public CWnd {
public:
    // Takes the pictures from the bitmap resources; an id of 0 means none. False when the
    // normal picture is missing; the others are optional. Pictures taken before are replaced.
    // The pictures are loaded when the button is first drawn: a window of picture buttons
    // shows without waiting for them.
    bool LoadBitmaps(UINT normal, UINT selected = 0, UINT focus = 0, UINT disabled = 0);
    // Takes the picture as the normal one (an empty handle: none); the others are dropped.
    void SetBitmap(CBitmapHandle normal);
    // The size of the normal picture, known before the picture is loaded, for the parent that
    // places the button; false without one.
    bool GetContentSize(SIZE& size) const;

protected:
    // Draws the picture for the item's state: disabled, else selected, else focused, each
    // when loaded, else the normal one; centred, enlarged by a whole factor where it fits.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    enum { kNormal, kSelected, kFocus, kDisabled, kCount };
    void LoadPendingBitmaps();
    void Redraw() const;

    CBitmapHandle m_bitmaps[kCount];
    // The resources of pictures taken but not loaded yet; 0 for none.
    UINT m_pending[kCount] = {};
};

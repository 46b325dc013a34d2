#pragma once
// The device's command bar, which holds a frame's menu or a sheet's picture buttons. Desktop
// Win32 has no command bar: a menu becomes the window's menu bar, which takes no room in the
// client area; picture buttons become owner-drawn push buttons, children of the window with
// their commands as control ids, which the window places in a band of its own.
#include <windows.h>
#include <memory>
#include <vector>
#include "framework/BitmapButton.h"
#include "framework/Handle.h"

class CCommandBar {
public:
    // The resource type of a button list: version, picture width, picture height, count, then
    // one command per picture of the bitmap of the same id (0 for a gap).
    static constexpr WORD kToolBarResourceType = 241;

    CCommandBar() = default;
    CCommandBar(const CCommandBar&) = delete;
    CCommandBar& operator=(const CCommandBar&) = delete;
    ~CCommandBar() { Destroy(); }

    // Creates the bar for the window (a frame or a dialog). False when there is no window.
    bool Create(HWND parent);
    // Loads the menu resource and puts it into the bar. False (bar unchanged) when the menu
    // is missing or the window refuses it.
    bool InsertMenuBar(UINT menuId);
    // Creates one picture button per command of the button list toolBarId, cut from the
    // bitmap toolBarId. False (no buttons) when either resource is missing or damaged.
    bool AddButtons(UINT toolBarId);
    // Places the buttons left to right in the band (a rectangle of the window's client
    // area), each as high and as wide as the band is high.
    void PlaceButtons(const RECT& band) const;
    // The menu the bar holds; null before InsertMenuBar.
    HMENU GetMenu() const { return m_menu.Get(); }
    // Takes the menu off the window, destroys it and the buttons. Frames call this while their
    // window still exists, since the system destroys a menu still attached to a destroyed
    // window.
    void Destroy();

private:
    HWND m_parent = nullptr;
    CMenuHandle m_menu;
    std::vector<std::unique_ptr<CBitmapButton>> m_buttons;
};

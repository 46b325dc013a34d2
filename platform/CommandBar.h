#pragma once
// The device's command bar, which holds a frame's or a sheet's menu. Desktop Win32 has no
// command bar: here the menu becomes the window's menu bar. It takes no room in the window's
// client area, so views keep the whole of it.
#include <windows.h>
#include "framework/Handle.h"

class CCommandBar {
public:
    CCommandBar() = default;
    CCommandBar(const CCommandBar&) = delete;
    CCommandBar& operator=(const CCommandBar&) = delete;
    ~CCommandBar() { Destroy(); }

    // Creates the bar for the window (a frame or a dialog). False when there is no window.
    bool Create(HWND parent);
    // Loads the menu resource and puts it into the bar. False (bar unchanged) when the menu
    // is missing or the window refuses it.
    bool InsertMenuBar(UINT menuId);
    // The menu the bar holds; null before InsertMenuBar.
    HMENU GetMenu() const { return m_menu.Get(); }
    // Takes the menu off the window and destroys it. Frames call this while their window
    // still exists, since the system destroys a menu still attached to a destroyed window.
    void Destroy();

private:
    HWND m_parent = nullptr;
    CMenuHandle m_menu;
};

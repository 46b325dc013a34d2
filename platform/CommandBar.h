#pragma once
// The command bar across the bottom of a frame or a sheet, made by the Pocket PC shell
// (SHCreateMenuBar): a frame's menus, each shown by its title and opened upward when tapped,
// or a sheet's picture buttons. The bar passes the commands chosen in it to its parent window,
// as a menu or a button of the parent's own would. It is a child of the parent with the id
// ID_COMMAND_BAR, which the parent keeps across its bottom.
#include <windows.h>
#include "framework/CeApi.h"

class CCommandBar {
public:
    CCommandBar() = default;
    CCommandBar(const CCommandBar&) = delete;
    CCommandBar& operator=(const CCommandBar&) = delete;
    ~CCommandBar() { Destroy(); }

    // A bar of the menu resource menuId, one title per pop-up menu. False, with no bar, when
    // the shell could not make it.
    bool CreateMenuBar(HWND parent, UINT menuId);
    // A bar of picture buttons: the bar resource barId lists the buttons' commands and
    // pictures, cut from the bitmap barId of the given number of pictures. False, with no bar,
    // when the shell could not make it.
    bool CreateButtonBar(HWND parent, UINT barId, int pictures);
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The bar's height, which the shell gave it; 0 without a bar.
    int GetHeight() const;
    // The menu the bar shows; null for a bar of buttons or without a bar.
    HMENU GetMenu() const;
    // Lays the bar across the bottom of its parent's client area. Parents call it whenever
    // their size changes.
    void Place();
    void Destroy();

private:
    bool Create(SHMENUBARINFO& info);

    HWND m_hWnd = nullptr;
};

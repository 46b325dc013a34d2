#pragma once
// The device's command bar across the bottom of a frame or a sheet: a child window (id
// ID_COMMAND_BAR) that holds the frame's menus, each shown as its title, which opens the menu
// upward when tapped, or a sheet's picture buttons. Desktop Win32 has no command bar; this one
// is drawn as the device draws it and passes the commands chosen in it to its parent window, as
// a menu or a button of the parent's own would.
#include <windows.h>
#include <memory>
#include <vector>
#include "framework/BitmapButton.h"
#include "framework/Handle.h"
#include "framework/Wnd.h"

class CCommandBar : public CWnd {
public:
    // The resource type of a button list: version, picture width, picture height, count, then
    // one command per picture of the bitmap of the same id (0 for a gap).
    static constexpr WORD kToolBarResourceType = 241;
    // The bar's height on a QVGA screen; a VGA screen's bar is twice as high.
    static constexpr int kQvgaHeight = 26;

    CCommandBar() = default;
    ~CCommandBar() override { Destroy(); }

    // The bar's height on this screen, in pixels.
    static int GetHeight();

    // Creates the bar at the bottom of the window (a frame or a dialog). False when there is no
    // window or the bar could not be created.
    bool Create(HWND parent);
    // Loads the menu resource and shows each of its pop-up menus by its title. False (bar
    // unchanged) when the menu is missing.
    bool InsertMenuBar(UINT menuId);
    // Creates one picture button per command of the button list toolBarId, cut from the
    // bitmap toolBarId. False (no buttons) when either resource is missing or damaged.
    bool AddButtons(UINT toolBarId);
    // Lays the bar across the bottom of its parent's client area, GetHeight high, with its
    // menu titles and buttons left to right. Parents call it whenever their size changes.
    void Place();
    // The menu the bar holds; null before InsertMenuBar.
    HMENU GetMenu() const { return m_menu.Get(); }
    // Opens the pop-up menu at index upward from its title, as a tap on the title does, and
    // passes the command chosen in it to the parent; false when there is no such menu.
    bool OpenMenu(int index);
    // Destroys the bar with its buttons and its menu.
    void Destroy();

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The bar's rectangle, height pixels high, across the bottom of the parent's client area.
    static RECT PlaceIn(HWND parent, int height);
    bool AddButton(std::unique_ptr<CBitmapButton> button, UINT id, const wchar_t* text);

    CMenuHandle m_menu;
    // Pixels per pixel of a QVGA screen, taken at creation with the font: asking the system
    // for the screen's size costs more than drawing the bar.
    int m_scale = 1;
    CFontHandle m_font;
    std::vector<std::unique_ptr<CBitmapButton>> m_buttons;
    // The number of menu titles among the buttons; they come first.
    int m_menuTitles = 0;
};

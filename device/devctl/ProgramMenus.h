#pragma once
// The menus of the program that owns a window, read from the program's file. Wine does not let
// one process read another's live menus (GetMenuItemCount fails with error 14007), but a window's
// menu bar comes from its program's menu resources, whose texts and command ids are what a
// driver needs to choose a command.
#include <windows.h>
#include <string>
#include <vector>

struct MenuItemInfo {
    std::wstring text;             // empty for a separator
    UINT command;                  // 0 for a sub-menu or a separator
    bool separator;
    std::vector<MenuItemInfo> items;  // a sub-menu's items
};

struct ProgramMenu {
    int id;
    std::vector<MenuItemInfo> items;
};

// The program's file and its menus with integer ids, in resource order; false with a message
// when the program or its file cannot be read.
bool ReadProgramMenus(HWND window, std::wstring& program, std::vector<ProgramMenu>& menus, std::wstring& message);

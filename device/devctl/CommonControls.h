#pragma once
// What another process's tab, list-view and tree-view controls show: texts, places and
// check states, read through memory in the control's own process (CRemoteMemory).
#include <windows.h>
#include <string>
#include <vector>

struct TabInfo {
    std::wstring text;
    RECT rect;  // screen coordinates
};

// The tabs of a tab control and the index of the selected one (-1: none); false when the
// control does not answer.
bool ReadTabs(HWND tabControl, std::vector<TabInfo>& tabs, int& selected);

struct ItemInfo {
    std::vector<std::wstring> texts;  // a list row's columns, or a tree item's label
    int level;                        // tree: depth (0 for the root items); list: 0
    int stateImage;                   // 0: no check box; 1 unchecked, 2 checked
    bool selected;
    bool expanded;                    // tree items only
    RECT rect;                        // screen coordinates; empty when the item is scrolled or folded away
};

// The rows of a list view, in display order; false when the control does not answer.
bool ReadListItems(HWND list, std::vector<ItemInfo>& items);
// The items of a tree view, depth first, folded ones included; false when it does not answer.
bool ReadTreeItems(HWND tree, std::vector<ItemInfo>& items);

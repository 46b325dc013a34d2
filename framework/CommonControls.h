#pragma once
// Non-owning views of the common list view and tree view controls: the calls the program makes
// on them, one line each over their messages.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "framework/Window.h"

// Registers the classes of the common controls (tabs, list and tree views, up-down controls).
// The library comes in with this first call rather than at the program's start, so a sheet or
// page calls it before it creates a control of these classes.
void LoadCommonControls();

class CListView : public CWindow {
public:
    using CWindow::CWindow;

    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    // Inserts a row (its first column) at index, or at its sorted place in a sorted list; the
    // row's index, -1 when it could not be inserted.
    int InsertItem(int index, const std::wstring& text, LPARAM data = 0, int image = -1) const;
    bool SetItemText(int index, int column, const std::wstring& text) const;
    // The whole text of a cell, however long.
    std::wstring GetItemText(int index, int column) const;
    LPARAM GetItemData(int index) const;
    bool DeleteItem(int index) const { return SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(index)) != FALSE; }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != FALSE; }
    // The first row after `after` (-1: from the start) in the given state (LVNI_SELECTED...).
    int GetNextItem(int after, UINT flags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(after), flags));
    }
    int GetSelectedItem() const { return GetNextItem(-1, LVNI_SELECTED); }
    UINT GetItemState(int index, UINT mask) const
    {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
    }
    bool SetItemState(int index, UINT state, UINT mask) const;
    // Selects the row, makes it the focused one and scrolls it into view.
    void Select(int index) const;
    int InsertColumn(int index, const std::wstring& text, int width, int format = LVCFMT_LEFT) const;
    void SetExtendedStyle(DWORD mask, DWORD style) const { SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style); }
    // Hit test at a point of the client area; the row (-1: none) and the part hit in flags.
    int HitTest(POINT point, UINT& flags) const;
    RECT GetItemRect(int index, int part) const;
    bool SortItems(PFNLVCOMPARE compare, LPARAM context) const
    {
        return SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(context), reinterpret_cast<LPARAM>(compare)) != FALSE;
    }
    CWindow GetHeader() const { return CWindow(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER))); }
    void SetImageList(HIMAGELIST list, int which) const
    {
        SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list));
    }
    void SetRedraw(bool redraw) const { SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE); }
};

class CTreeView : public CWindow {
public:
    using CWindow::CWindow;

    // Appends an item under parent (TVI_ROOT for the top level) whose child count is asked for
    // when it is drawn (TVN_GETDISPINFO).
    HTREEITEM InsertItem(HTREEITEM parent, const std::wstring& text, int image, LPARAM data) const;
    std::wstring GetItemText(HTREEITEM item) const;
    LPARAM GetItemData(HTREEITEM item) const;
    bool SetItemData(HTREEITEM item, LPARAM data) const;
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    bool SelectItem(HTREEITEM item) const
    {
        return SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != FALSE;
    }
    bool Expand(HTREEITEM item, UINT action = TVE_EXPAND) const
    {
        return SendMessage(TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)) != FALSE;
    }
    RECT GetItemRect(HTREEITEM item) const;
    void SetImageList(HIMAGELIST list, int which) const
    {
        SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list));
    }

private:
    HTREEITEM GetNextItem(HTREEITEM item, UINT flag) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, flag, reinterpret_cast<LPARAM>(item)));
    }
};

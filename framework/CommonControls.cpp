#include "framework/CommonControls.h"
#include <cstring>

void LoadCommonControls()
{
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX classes{sizeof classes,
                                     ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS};
        return ::InitCommonControlsEx(&classes) != FALSE;
    }();
    static_cast<void>(loaded);
}

int CListView::InsertItem(int index, const std::wstring& text, LPARAM data, int image) const
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.lParam = data;
    item.iImage = image;
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListView::SetItemText(int index, int column, const std::wstring& text) const
{
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != FALSE;
}

std::wstring CListView::GetItemText(int index, int column) const
{
    // The control answers with the characters copied; a full buffer may mean more are left.
    for (size_t size = 256;; size *= 2) {
        std::wstring text(size, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(size);
        const auto length = static_cast<size_t>(
            SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < size) {
            text.resize(length);
            return text;
        }
    }
}

LPARAM CListView::GetItemData(int index) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

bool CListView::SetItemState(int index, UINT state, UINT mask) const
{
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != FALSE;
}

void CListView::Select(int index) const
{
    SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessage(LVM_SETSELECTIONMARK, 0, index);
    SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

int CListView::InsertColumn(int index, const std::wstring& text, int width, int format) const
{
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    column.iSubItem = index;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CListView::HitTest(POINT point, UINT& flags) const
{
    LVHITTESTINFO info{};
    info.pt = point;
    const int index = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    flags = info.flags;
    return index;
}

RECT CListView::GetItemRect(int index, int part) const
{
    RECT rect{};
    rect.left = part;
    if (!SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)))
        rect = RECT{};
    return rect;
}

HTREEITEM CTreeView::InsertItem(HTREEITEM parent, const std::wstring& text, int image, LPARAM data) const
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = data;
    insert.item.cChildren = I_CHILDRENCALLBACK;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::wstring CTreeView::GetItemText(HTREEITEM item) const
{
    // Folder names are at most MAX_PATH characters.
    wchar_t text[MAX_PATH + 1] = L"";
    TVITEMW info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = MAX_PATH + 1;
    return SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)) ? std::wstring(text) : std::wstring();
}

LPARAM CTreeView::GetItemData(HTREEITEM item) const
{
    TVITEMW info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    return SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)) ? info.lParam : 0;
}

bool CTreeView::SetItemData(HTREEITEM item, LPARAM data) const
{
    TVITEMW info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    info.lParam = data;
    return SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

RECT CTreeView::GetItemRect(HTREEITEM item) const
{
    // The message takes the item in the rectangle's place.
    RECT rect{};
    static_assert(sizeof rect >= sizeof item);
    std::memcpy(&rect, &item, sizeof item);
    if (!SendMessage(TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&rect)))
        rect = RECT{};
    return rect;
}

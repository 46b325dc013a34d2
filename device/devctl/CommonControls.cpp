#include "CommonControls.h"
#include <commctrl.h>
#include "RemoteMemory.h"

namespace {

// Layout of the block in the control's process: the structure, a rectangle, the text buffer.
constexpr size_t kRectAt = 128;
constexpr size_t kTextAt = 256;
constexpr int kTextChars = 1024;
constexpr size_t kBlockSize = kTextAt + kTextChars * sizeof(wchar_t);
// A tree walk stops here, so that a control changing while it is read cannot loop forever.
constexpr size_t kMaxItems = 10000;

bool Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &answer))
        return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

std::wstring ReadText(const CRemoteMemory& memory)
{
    wchar_t text[kTextChars] = L"";
    if (!memory.Read(kTextAt, text, sizeof text))
        return std::wstring();
    text[kTextChars - 1] = L'\0';
    return text;
}

// The rectangle a message left in the block, from the control's client area to the screen.
RECT ReadRect(HWND control, const CRemoteMemory& memory, bool answered)
{
    RECT rect{};
    if (answered && memory.Read(kRectAt, &rect, sizeof rect))
        ::MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    else
        rect = RECT{};
    return rect;
}

bool ListText(HWND list, CRemoteMemory& memory, int item, int column, std::wstring& text)
{
    LVITEMW request{};
    request.iSubItem = column;
    request.pszText = reinterpret_cast<LPWSTR>(memory.At(kTextAt));
    request.cchTextMax = kTextChars;
    const wchar_t empty = L'\0';
    LRESULT length = 0;
    if (!memory.Write(0, &request, sizeof request) || !memory.Write(kTextAt, &empty, sizeof empty)
        || !Send(list, LVM_GETITEMTEXTW, item, memory.At(), length))
        return false;
    text = ReadText(memory);
    return true;
}

}  // namespace

bool ReadTabs(HWND tabControl, std::vector<TabInfo>& tabs, int& selected)
{
    CRemoteMemory memory(tabControl, kBlockSize);
    LRESULT count = 0;
    LRESULT current = -1;
    if (!memory.Ok() || !Send(tabControl, TCM_GETITEMCOUNT, 0, 0, count) || !Send(tabControl, TCM_GETCURSEL, 0, 0, current))
        return false;
    tabs.clear();
    selected = static_cast<int>(current);
    for (int i = 0; i < count; ++i) {
        TCITEMW request{};
        request.mask = TCIF_TEXT;
        request.pszText = reinterpret_cast<LPWSTR>(memory.At(kTextAt));
        request.cchTextMax = kTextChars;
        LRESULT got = 0;
        LRESULT placed = 0;
        if (!memory.Write(0, &request, sizeof request) || !Send(tabControl, TCM_GETITEMW, i, memory.At(), got))
            return false;
        TabInfo tab{got ? ReadText(memory) : std::wstring(), {}};
        if (!Send(tabControl, TCM_GETITEMRECT, i, memory.At(kRectAt), placed))
            return false;
        tab.rect = ReadRect(tabControl, memory, placed != 0);
        tabs.push_back(std::move(tab));
    }
    return true;
}

bool ReadListItems(HWND list, std::vector<ItemInfo>& items)
{
    CRemoteMemory memory(list, kBlockSize);
    LRESULT count = 0;
    LRESULT header = 0;
    LRESULT columns = 0;
    if (!memory.Ok() || !Send(list, LVM_GETITEMCOUNT, 0, 0, count) || !Send(list, LVM_GETHEADER, 0, 0, header))
        return false;
    if (!header || !Send(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, columns) || columns < 1)
        columns = 1;  // no report view: the label alone
    items.clear();
    for (int i = 0; i < count; ++i) {
        ItemInfo item{{}, 0, 0, false, false, {}};
        for (int column = 0; column < columns; ++column) {
            std::wstring text;
            if (!ListText(list, memory, i, static_cast<int>(column), text))
                return false;
            item.texts.push_back(std::move(text));
        }
        LRESULT state = 0;
        LRESULT placed = 0;
        RECT bounds{LVIR_BOUNDS, 0, 0, 0};
        if (!Send(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK | LVIS_SELECTED, state)
            || !memory.Write(kRectAt, &bounds, sizeof bounds) || !Send(list, LVM_GETITEMRECT, i, memory.At(kRectAt), placed))
            return false;
        item.stateImage = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
        item.selected = (state & LVIS_SELECTED) != 0;
        item.rect = ReadRect(list, memory, placed != 0);
        items.push_back(std::move(item));
    }
    return true;
}

bool ReadTreeItems(HWND tree, std::vector<ItemInfo>& items)
{
    CRemoteMemory memory(tree, kBlockSize);
    LRESULT root = 0;
    if (!memory.Ok() || !Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, root))
        return false;
    items.clear();
    // Depth first: each entry is an item and its depth; siblings follow their subtree.
    std::vector<std::pair<HTREEITEM, int>> pending;
    if (root)
        pending.emplace_back(reinterpret_cast<HTREEITEM>(root), 0);
    while (!pending.empty() && items.size() < kMaxItems) {
        const auto [handle, level] = pending.back();
        pending.pop_back();
        TVITEMW request{};
        request.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
        request.hItem = handle;
        request.stateMask = TVIS_STATEIMAGEMASK | TVIS_SELECTED | TVIS_EXPANDED;
        request.pszText = reinterpret_cast<LPWSTR>(memory.At(kTextAt));
        request.cchTextMax = kTextChars;
        LRESULT got = 0;
        LRESULT placed = 0;
        LRESULT next = 0;
        LRESULT child = 0;
        if (!memory.Write(0, &request, sizeof request) || !Send(tree, TVM_GETITEMW, 0, memory.At(), got) || !got
            || !memory.Read(0, &request, sizeof request))
            return false;
        ItemInfo item{{ReadText(memory)}, level, static_cast<int>((request.state & TVIS_STATEIMAGEMASK) >> 12),
                      (request.state & TVIS_SELECTED) != 0, (request.state & TVIS_EXPANDED) != 0, {}};
        // TVM_GETITEMRECT takes the item's handle in the rectangle it fills.
        if (!memory.Write(kRectAt, &handle, sizeof handle) || !Send(tree, TVM_GETITEMRECT, FALSE, memory.At(kRectAt), placed)
            || !Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(handle), next)
            || !Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(handle), child))
            return false;
        item.rect = ReadRect(tree, memory, placed != 0);
        items.push_back(std::move(item));
        if (next)
            pending.emplace_back(reinterpret_cast<HTREEITEM>(next), level);
        if (child)
            pending.emplace_back(reinterpret_cast<HTREEITEM>(child), level + 1);
    }
    return true;
}

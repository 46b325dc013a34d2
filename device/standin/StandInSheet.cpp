#include "StandInSheet.h"
#include <commctrl.h>
#include <string>

namespace {

constexpr int kTabControl = 12320;
constexpr int kOk = 32790;
constexpr int kCancel = 32791;
constexpr int kEdit = 1000;
constexpr int kMultiLineEdit = 1001;
constexpr int kChanges = 1002;
constexpr int kList = 1003;
constexpr int kTree = 1004;
constexpr int kCombo = 1005;
constexpr int kPlainText = 0xFFFF;
constexpr int kPageCount = 3;
const wchar_t* const kTabs[kPageCount] = {L"Edits", L"List", L"Tree"};

// A dialog template without controls: the pages add theirs when they start.
struct alignas(4) EmptyTemplate {
    DLGTEMPLATE dialog;
    WORD menu = 0, windowClass = 0, title = 0;
    explicit EmptyTemplate(DWORD style) : dialog{style, 0, 0, 0, 0, 100, 100} {}
};

HWND Add(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, RECT r, int id, DWORD exStyle = 0)
{
    return ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                             nullptr);
}

struct Counts {
    int edit = 0, multiLine = 0, combo = 0;
};

void ShowCounts(HWND page, const Counts& counts)
{
    const std::wstring text = L"Changes " + std::to_wstring(counts.edit) + L" " + std::to_wstring(counts.multiLine)
        + L" " + std::to_wstring(counts.combo);
    ::SetDlgItemTextW(page, kChanges, text.c_str());
}

void FillEdits(HWND page, int width)
{
    Add(page, WC_EDITW, L"", ES_AUTOHSCROLL, {4, 4, width - 4, 26}, kEdit, WS_EX_CLIENTEDGE);
    Add(page, WC_EDITW, L"", ES_MULTILINE | ES_AUTOVSCROLL, {4, 30, width - 4, 70}, kMultiLineEdit, WS_EX_CLIENTEDGE);
    HWND combo = Add(page, WC_COMBOBOXW, L"", CBS_DROPDOWN, {4, 74, width - 4, 174}, kCombo);
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"10"));
    Add(page, WC_STATICW, L"", 0, {4, 102, width - 4, 122}, kChanges);
    // A label with the id that templates give every plain text, as a message box's text has.
    Add(page, WC_STATICW, L"Type above.", 0, {4, 126, width - 4, 146}, kPlainText);
}

void FillList(HWND page, int width)
{
    Add(page, WC_EDITW, L"", ES_AUTOHSCROLL, {4, 4, width - 4, 26}, kEdit, WS_EX_CLIENTEDGE);
    HWND list = Add(page, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL, {4, 30, width - 4, 130}, kList,
                    WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const wchar_t* const columns[] = {L"Name", L"Size"};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = (width - 16) / 2;
        column.pszText = const_cast<LPWSTR>(columns[i]);
        ListView_InsertColumn(list, i, &column);
    }
    const wchar_t* const rows[][2] = {{L"alpha", L"1"}, {L"beta", L"2"}, {L"gamma", L"3"}};
    for (int i = 0; i < 3; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<LPWSTR>(rows[i][0]);
        ListView_InsertItem(list, &item);
        ListView_SetItemText(list, i, 1, const_cast<LPWSTR>(rows[i][1]));
    }
    ListView_SetCheckState(list, 1, TRUE);
}

HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const wchar_t* text)
{
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPWSTR>(text);
    return TreeView_InsertItem(tree, &insert);
}

void FillTree(HWND page, int width)
{
    HWND tree = Add(page, WC_TREEVIEWW, L"", TVS_HASBUTTONS | TVS_LINESATROOT, {4, 4, width - 4, 130}, kTree,
                    WS_EX_CLIENTEDGE);
    // Check boxes are turned on after creation and before the items, as the control asks.
    ::SetWindowLongW(tree, GWL_STYLE, ::GetWindowLongW(tree, GWL_STYLE) | TVS_CHECKBOXES);
    HTREEITEM root = AddTreeItem(tree, TVI_ROOT, L"root");
    HTREEITEM first = AddTreeItem(tree, root, L"first");
    AddTreeItem(tree, root, L"second");
    TreeView_SetCheckState(tree, first, TRUE);
    TreeView_Expand(tree, root, TVE_EXPAND);
}

// Counts the change notifications the "Edits" page gets; its label shows them.
INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(page, GWLP_USERDATA, lParam);
        return TRUE;
    }
    auto* counts = reinterpret_cast<Counts*>(::GetWindowLongPtrW(page, GWLP_USERDATA));
    if (message != WM_COMMAND || !counts)
        return FALSE;
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (code == EN_CHANGE && (id == kEdit || id == kMultiLineEdit))
        ++(id == kEdit ? counts->edit : counts->multiLine);
    else if (code == CBN_EDITCHANGE && id == kCombo)
        ++counts->combo;
    else
        return FALSE;
    ShowCounts(page, *counts);
    return TRUE;
}

// The pages live as long as the sheet; a page is created when its tab is first selected.
struct Sheet {
    HWND pages[kPageCount] = {};
    Counts counts;
};

void ShowPage(HWND sheet, Sheet& state, int index)
{
    HWND tabs = ::GetDlgItem(sheet, kTabControl);
    if (!state.pages[index]) {
        const EmptyTemplate page(WS_CHILD | DS_CONTROL);
        HWND created = ::CreateDialogIndirectParamW(nullptr, &page.dialog, sheet, PageProc,
                                                    reinterpret_cast<LPARAM>(index == 0 ? &state.counts : nullptr));
        RECT r{};
        ::GetWindowRect(tabs, &r);
        ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&r), 2);
        TabCtrl_AdjustRect(tabs, FALSE, &r);
        ::SetWindowPos(created, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
        (index == 0 ? FillEdits : index == 1 ? FillList : FillTree)(created, r.right - r.left);
        if (index == 0)
            ShowCounts(created, state.counts);
        state.pages[index] = created;
    }
    for (int i = 0; i < kPageCount; ++i)
        if (state.pages[i])
            ::ShowWindow(state.pages[i], i == index ? SW_SHOW : SW_HIDE);
}

INT_PTR CALLBACK SheetProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<Sheet*>(::GetWindowLongPtrW(sheet, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrW(sheet, GWLP_USERDATA, lParam);
        state = reinterpret_cast<Sheet*>(lParam);
        ::SetWindowTextW(sheet, L"Stand-in Sheet");
        const int width = ::GetSystemMetrics(SM_CXSCREEN);
        const int height = ::GetSystemMetrics(SM_CYSCREEN);
        ::MoveWindow(sheet, 0, 0, width, height, FALSE);
        RECT client{};
        ::GetClientRect(sheet, &client);
        HWND tabs = Add(sheet, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, {0, 0, client.right, client.bottom - 30},
                        kTabControl);
        for (int i = 0; i < kPageCount; ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<LPWSTR>(kTabs[i]);
            TabCtrl_InsertItem(tabs, i, &item);
        }
        Add(sheet, WC_BUTTONW, L"OK", BS_PUSHBUTTON, {4, client.bottom - 26, 64, client.bottom - 4}, kOk);
        Add(sheet, WC_BUTTONW, L"Cancel", BS_PUSHBUTTON, {70, client.bottom - 26, 130, client.bottom - 4}, kCancel);
        ShowPage(sheet, *state, 0);
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kTabControl && header->code == TCN_SELCHANGE)
            ShowPage(sheet, *state, TabCtrl_GetCurSel(header->hwndFrom));
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kOk || LOWORD(wParam) == kCancel || LOWORD(wParam) == IDCANCEL)
            ::EndDialog(sheet, LOWORD(wParam) == kOk ? IDOK : IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR ShowStandInSheet(HWND owner)
{
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    Sheet state;
    const EmptyTemplate sheet(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    return ::DialogBoxIndirectParamW(nullptr, &sheet.dialog, owner, SheetProc, reinterpret_cast<LPARAM>(&state));
}

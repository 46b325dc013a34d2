#include "ui/CheckListCtrl.h"
#include <windowsx.h>

namespace {

constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);

}  // namespace

bool CCheckListCtrl::Attach(int id, HWND page)
{
    if (!SubclassDlgItem(id, page))
        return false;
    GetList().SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    return true;
}

bool CCheckListCtrl::IsChecked(int index) const
{
    return GetList().GetItemState(index, LVIS_STATEIMAGEMASK) != kUnchecked;
}

void CCheckListCtrl::SetChecked(int index, bool checked) const
{
    GetList().SetItemState(index, checked ? kChecked : kUnchecked, LVIS_STATEIMAGEMASK);
}

LRESULT CCheckListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The second tap of a quick pair arrives as a double click: it toggles again.
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        const CListView list = GetList();
        UINT flags = 0;
        const int row = list.HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, flags);
        if (row >= 0 && (flags & LVHT_ONITEMSTATEICON)) {
            // The list view toggles a box on its own when it sees the tap; toggling here as
            // well would cancel it, so the tap on the box goes no further.
            SetChecked(row, !IsChecked(row));
            ::SetFocus(m_hWnd);
            return 0;
        }
        if (message == WM_LBUTTONDOWN && row >= 0 && (flags & LVHT_ONITEMLABEL))
            list.Select(row);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

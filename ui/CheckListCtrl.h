#pragma once
// The profiles' list: a report list view whose rows carry a check box each, held as the row's
// state image (1 unchecked, 2 checked). A tap on a row's box toggles it exactly once.
#include "framework/CommonControls.h"
#include "framework/Wnd.h"

class CCheckListCtrl : public CWnd {
public:
    // Takes the page's list view over and gives it check boxes and full-row selection.
    bool Attach(int id, HWND page);

    CListView GetList() const { return CListView(m_hWnd); }
    // Checked: any state image but 1, the unchecked box.
    bool IsChecked(int index) const;
    void SetChecked(int index, bool checked) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

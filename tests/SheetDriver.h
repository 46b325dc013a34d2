#pragma once
// Drives the program's modal sheets from inside their own message loops, as a user would: each
// step runs on a tick of a thread timer, with the sheet that takes input at that moment (the
// innermost one when a sheet opened another). A step that opens a sheet returns only when that
// sheet has ended, so the next steps act on it meanwhile. When the steps run out while a sheet
// is still open, the driver cancels it and records the fact, so that a test never hangs.
#include <windows.h>
#include <commctrl.h>
#include <deque>
#include <functional>
#include <string>
#include "framework/PropertySheet.h"
#include "framework/StandardIds.h"

class CSheetDriver {
public:
    using Step = std::function<void(CPropertySheet&)>;

    CSheetDriver() { s_current = this; m_timer = ::SetTimer(nullptr, 0, 1, &Tick); }
    ~CSheetDriver()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    CSheetDriver(const CSheetDriver&) = delete;
    CSheetDriver& operator=(const CSheetDriver&) = delete;

    CSheetDriver& Then(Step step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }
    size_t StepsLeft() const { return m_steps.size(); }
    // Captions of the sheets the driver had to cancel because no step was left for them.
    const std::wstring& Abandoned() const { return m_abandoned; }

    // The sheet that takes input now: the enabled, visible sheet of this thread.
    static CPropertySheet* ActiveSheet()
    {
        CPropertySheet* found = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindSheet, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    // What a user does on a sheet.
    static void TapTab(CPropertySheet& sheet, int index)
    {
        const CWindow tab = sheet.GetTabControl();
        RECT item{};
        tab.SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        tab.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
        tab.SendMessage(WM_LBUTTONUP, 0, point);
    }
    static CWindow Control(CPropertySheet& sheet, int id) { return sheet.GetActivePage()->GetDlgItem(id); }
    static void Type(CPropertySheet& sheet, int id, const std::wstring& text) { Control(sheet, id).SetWindowText(text); }
    static std::wstring Text(CPropertySheet& sheet, int id) { return Control(sheet, id).GetWindowText(); }
    // A button of the sheet's command bar, else of the page.
    static void Press(CPropertySheet& sheet, int id)
    {
        const CWindow own = sheet.GetDlgItem(ID_COMMAND_BAR).GetDlgItem(id);
        CButton button = own.GetSafeHwnd() ? CButton(own) : CButton(Control(sheet, id));
        button.Click();
    }
    // Picks a combo box's entry as the list does: the selection, then its notification.
    static void Pick(CPropertySheet& sheet, int id, int index)
    {
        const CWindow combo = Control(sheet, id);
        combo.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
        combo.GetParent().SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo.GetSafeHwnd()));
    }
    // Types into a combo box's edit field, with the notification typing gives.
    static void TypeInCombo(CPropertySheet& sheet, int id, const std::wstring& text)
    {
        const CWindow combo = Control(sheet, id);
        combo.SetWindowText(text);
        combo.GetParent().SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(combo.GetSafeHwnd()));
    }

private:
    static BOOL CALLBACK FindSheet(HWND hwnd, LPARAM found) noexcept
    {
        if (!::IsWindowVisible(hwnd) || !::IsWindowEnabled(hwnd))
            return TRUE;
        if (auto* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandle(hwnd))) {
            *reinterpret_cast<CPropertySheet**>(found) = sheet;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept
    {
        CSheetDriver* self = s_current;
        CPropertySheet* sheet = ActiveSheet();
        if (!self || !sheet)
            return;
        if (self->m_steps.empty()) {
            self->m_abandoned += sheet->GetCaption() + L";";
            sheet->SendMessage(WM_COMMAND, IDCANCEL);
            return;
        }
        Step step = std::move(self->m_steps.front());
        self->m_steps.pop_front();
        step(*sheet);
    }

    static inline CSheetDriver* s_current = nullptr;
    UINT_PTR m_timer = 0;
    std::deque<Step> m_steps;
    std::wstring m_abandoned;
};

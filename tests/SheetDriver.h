#pragma once
// The modal driver on the program's settings sheets, with what a user does on a sheet: its steps
// get the sheet that takes input (the innermost one when a sheet opened another).
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include "ModalDriver.h"
#include "framework/PropertySheet.h"
#include "framework/StandardIds.h"

class CSheetDriver : public CModalDriver {
public:
    using SheetStep = std::function<void(CPropertySheet&)>;

    CSheetDriver() : CModalDriver(&IsSheet) {}

    CSheetDriver& Then(SheetStep step)
    {
        CModalDriver::Then([step = std::move(step)](CWindow window) { step(*SheetOf(window)); });
        return *this;
    }

    // The sheet that takes input now: the enabled, visible sheet of this thread.
    static CPropertySheet* ActiveSheet() { return SheetOf(CWindow(Find(&IsSheet))); }

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
    static CPropertySheet* SheetOf(CWindow window) { return dynamic_cast<CPropertySheet*>(CWnd::FromHandle(window)); }
    static bool IsSheet(HWND hwnd) { return SheetOf(CWindow(hwnd)) != nullptr; }
};

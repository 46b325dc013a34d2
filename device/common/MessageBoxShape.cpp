#include "MessageBoxShape.h"

namespace {

bool IsClass(HWND hwnd, const wchar_t* name)
{
    wchar_t className[64] = L"";
    ::GetClassNameW(hwnd, className, 64);
    return ::CompareStringOrdinal(className, -1, name, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool IsMessageBoxShape(HWND window)
{
    if (!IsClass(window, L"#32770"))
        return false;
    int texts = 0, icons = 0, buttons = 0;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        const int id = ::GetDlgCtrlID(child);
        if (IsClass(child, L"Static")) {
            if ((style & SS_TYPEMASK) == SS_ICON)
                ++icons;
            else if (id == kMessageBoxTextId)
                ++texts;
            else
                return false;
        } else if (IsClass(child, L"Button") && id >= IDOK && id <= IDCONTINUE
                   && ((style & BS_TYPEMASK) == BS_PUSHBUTTON || (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)) {
            ++buttons;
        } else {
            return false;
        }
    }
    return texts == 1 && icons <= 1 && buttons > 0;
}

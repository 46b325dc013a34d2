#include "ui/UpDownCtrl.h"
#include <commctrl.h>

bool CUpDownCtrl::Attach(int id, HWND page)
{
    if (!SubclassDlgItem(id, page))
        return false;
    SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(::GetWindow(m_hWnd, GW_HWNDPREV)));
    return true;
}

void CUpDownCtrl::SetRange(int lower, int upper) const
{
    SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
}

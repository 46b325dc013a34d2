// The stand-in of the device's commctrl.dll. A function of the list (cmake/ce/commctrl.def)
// that it does not define here is the desktop's common controls' own: its export list hands
// it on to comctl32.dll.
#include <windows.h>
#include <commctrl.h>
#include "CeStandIn.h"

extern "C" {

// The desktop's, with comctl32 loaded only by the program that asks for its controls.
BOOL WINAPI CE(InitCommonControlsEx)(const INITCOMMONCONTROLSEX* classes)
{
    static const auto init = ce::Desktop<BOOL WINAPI(const INITCOMMONCONTROLSEX*)>(L"comctl32.dll",
                                                                                    "InitCommonControlsEx");
    return init ? init(classes) : FALSE;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ::DisableThreadLibraryCalls(instance);
    return TRUE;
}

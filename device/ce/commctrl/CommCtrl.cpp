// The stand-in of the device's commctrl.dll. Every function of the list (cmake/ce/commctrl.def)
// is the desktop's common controls' own, so the stand-in defines none of its own: its export
// list hands each on to comctl32.dll.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ::DisableThreadLibraryCalls(instance);
    return TRUE;
}

// coredll's image lists, which CE keeps in coredll: the desktop's, from comctl32 loaded at the
// first call (ce::Desktop).
#include <windows.h>
#include <commctrl.h>
#include "CeStandIn.h"

extern "C" {

HIMAGELIST WINAPI CE(ImageList_LoadImage)(HINSTANCE instance, LPCWSTR name, int width, int grow, COLORREF mask,
                                          UINT type, UINT flags)
{
    static const auto load = ce::Desktop<HIMAGELIST WINAPI(HINSTANCE, LPCWSTR, int, int, COLORREF, UINT, UINT)>(
        L"comctl32.dll", "ImageList_LoadImageW");
    return load ? load(instance, name, width, grow, mask, type, flags) : nullptr;
}

BOOL WINAPI CE(ImageList_Destroy)(HIMAGELIST list)
{
    static const auto destroy = ce::Desktop<BOOL WINAPI(HIMAGELIST)>(L"comctl32.dll", "ImageList_Destroy");
    return destroy ? destroy(list) : FALSE;
}

}  // extern "C"

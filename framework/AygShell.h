#pragma once
// The Pocket PC shell's menu bar, as the device's aygshell.h declares it: the desktop headers
// have none. The device's own toolchain takes its own header.
#include <windows.h>

struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
};
constexpr DWORD SHCMBF_EMPTYBAR = 0x0001;
constexpr DWORD SHCMBF_HIDDEN = 0x0002;
constexpr DWORD SHCMBF_HMENU = 0x0010;
// A bar's answers: the pop-up menu of a button (lParam its command), the bar's menu.
constexpr UINT SHCMBM_GETSUBMENU = WM_USER + 401;
constexpr UINT SHCMBM_GETMENU = WM_USER + 402;
extern "C" __declspec(dllimport) BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* info);

#pragma once
// Windows CE's API as Dorix uses it, over the desktop headers the build compiles with. Dorix
// links against the device's own DLLs (coredll, commctrl, aygshell) and calls only what they
// export (cmake/ce/*.def). Some names of CE's headers are not exported but made from exported
// ones; they are made here as CE's headers make them. The functions that only CE has are
// declared here, under CE's names.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#ifndef __MINGW32CE__
#include "framework/AygShell.h"
#endif

// Each is an inline function of its own name, so that a call written ::Name(...) compiles too.
// Resources: on CE a loaded resource is its own address.
inline LPVOID CeLockResource(HGLOBAL loaded)
{
    return loaded;
}
inline HWND CeCreateDialogParam(HINSTANCE instance, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param)
{
    return ::CreateDialogIndirectParamW(
        instance, static_cast<LPCDLGTEMPLATEW>(::LoadResource(instance, ::FindResourceW(instance, name, RT_DIALOG))),
        parent, proc, param);
}
inline INT_PTR CeDialogBoxParam(HINSTANCE instance, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param)
{
    return ::DialogBoxIndirectParamW(
        instance, static_cast<LPCDLGTEMPLATEW>(::LoadResource(instance, ::FindResourceW(instance, name, RT_DIALOG))),
        parent, proc, param);
}
inline BOOL CeGetTextExtentPoint32(HDC dc, LPCWSTR text, int count, LPSIZE size)
{
    return ::GetTextExtentExPointW(dc, text, count, 0, nullptr, nullptr, size);
}
// CE's pseudo-handle of the calling process (kfuncs.h: SH_CURPROC + SYS_HANDLE_BASE).
inline HANDLE CeGetCurrentProcess()
{
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x42));
}
#undef LockResource
#define LockResource CeLockResource
#undef CreateDialogParamW
#define CreateDialogParamW CeCreateDialogParam
#undef DialogBoxParamW
#define DialogBoxParamW CeDialogBoxParam
#undef GetTextExtentPoint32W
#define GetTextExtentPoint32W CeGetTextExtentPoint32
#undef GetCurrentProcess
#define GetCurrentProcess CeGetCurrentProcess

// A window's long values are as wide as a pointer on CE, where GetWindowLongW and
// SetWindowLongW serve for both. The simulator runs Dorix as a 64-bit program: there the same
// two exports of coredll take and give pointer-wide values, declared so here.
#undef GetWindowLongPtrW
#undef SetWindowLongPtrW
#ifdef _WIN64
extern "C" __declspec(dllimport) LONG_PTR WINAPI CeGetWindowLong(HWND, int) __asm__("GetWindowLongW");
extern "C" __declspec(dllimport) LONG_PTR WINAPI CeSetWindowLong(HWND, int, LONG_PTR) __asm__("SetWindowLongW");
#define GetWindowLongPtrW CeGetWindowLong
#define SetWindowLongPtrW CeSetWindowLong
#else
#define GetWindowLongPtrW GetWindowLongW
#define SetWindowLongPtrW SetWindowLongW
#endif

// What follows is in CE's own headers (the device's toolchain) but not in the desktop headers
// the simulator's build compiles with.
#ifndef __MINGW32CE__
// CE's names without the W that desktop Windows has.
#undef SendMessageTimeout
#undef SHGetFileInfo
#undef ImageList_LoadImage
#undef SHGetSpecialFolderPath
extern "C" {
__declspec(dllimport) LRESULT WINAPI SendMessageTimeout(HWND, UINT, WPARAM, LPARAM, UINT, UINT, PDWORD_PTR);
__declspec(dllimport) DWORD_PTR WINAPI SHGetFileInfo(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT);
__declspec(dllimport) HIMAGELIST WINAPI ImageList_LoadImage(HINSTANCE, LPCWSTR, int, int, COLORREF, UINT, UINT);
__declspec(dllimport) BOOL WINAPI SHGetSpecialFolderPath(HWND, LPWSTR, int, BOOL);

// The functions only CE has.
__declspec(dllimport) BOOL WINAPI KernelIoControl(DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                                                  LPDWORD returned);
__declspec(dllimport) BOOL WINAPI SHCreateShortcut(LPWSTR shortcut, LPWSTR target);
__declspec(dllimport) DWORD WINAPI GetOwnerProcess();
}

// KernelIoControl's code for a soft reset (pkfuncs.h).
constexpr DWORD IOCTL_HAL_REBOOT = 0x0101003C;
// SystemParametersInfoW's query of the OEM information text.
constexpr UINT SPI_GETOEMINFO = 258;
#endif

// coredll's window classes as CE has them. CE sends a new window no message before
// WM_CREATE (no WM_NCCREATE, WM_GETMINMAXINFO or WM_NCCALCSIZE) and none after WM_DESTROY (no
// WM_NCDESTROY). A class registered through coredll gets the stand-in's procedure, which
// answers those messages with the system's default and passes everything else to the class's
// own procedure, kept by the class's atom; asked for a window's procedure, coredll names the
// class's own, as the device does. CE takes only its own class styles and no class menu.
#include <windows.h>
#include "CeStandIn.h"

namespace {

// The class styles CE knows.
constexpr UINT kCeClassStyles = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_NOCLOSE | CS_PARENTDC | CS_GLOBALCLASS;
// Set on a window once its own procedure has had WM_CREATE.
const wchar_t kCreatedProperty[] = L"CeStandIn.Created";

struct ClassProc {
    ATOM atom;
    WNDPROC proc;
};
// The classes registered through coredll and their own procedures; a program registers a few.
constexpr int kMaxClasses = 256;
ClassProc g_classes[kMaxClasses];
int g_classCount = 0;
SRWLOCK g_lock = SRWLOCK_INIT;

WNDPROC OwnProc(HWND hwnd)
{
    const ATOM atom = static_cast<ATOM>(::GetClassWord(hwnd, GCW_ATOM));
    WNDPROC proc = nullptr;
    ::AcquireSRWLockShared(&g_lock);
    for (int i = 0; i < g_classCount && !proc; ++i) {
        if (g_classes[i].atom == atom)
            proc = g_classes[i].proc;
    }
    ::ReleaseSRWLockShared(&g_lock);
    return proc;
}

LRESULT CALLBACK CeClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY) {
        ::RemovePropW(hwnd, kCreatedProperty);
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_CREATE)
        ::SetPropW(hwnd, kCreatedProperty, reinterpret_cast<HANDLE>(1));
    else if (!::GetPropW(hwnd, kCreatedProperty))
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    WNDPROC proc = OwnProc(hwnd);
    return proc ? ::CallWindowProcW(proc, hwnd, message, wParam, lParam)
                : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

extern "C" {

ATOM WINAPI CE(RegisterClassW)(const WNDCLASSW* wc)
{
    if (!wc || !wc->lpfnWndProc || (wc->style & ~kCeClassStyles) || wc->lpszMenuName) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSW own = *wc;
    own.lpfnWndProc = CeClassProc;
    ::AcquireSRWLockExclusive(&g_lock);
    ATOM atom = 0;
    if (g_classCount == kMaxClasses) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    } else if ((atom = ::RegisterClassW(&own)) != 0) {
        // A class registered again after UnregisterClass gets its atom anew.
        int slot = 0;
        while (slot < g_classCount && g_classes[slot].atom != atom)
            ++slot;
        g_classes[slot] = ClassProc{atom, wc->lpfnWndProc};
        if (slot == g_classCount)
            ++g_classCount;
    }
    ::ReleaseSRWLockExclusive(&g_lock);
    return atom;
}

// CE's window longs are as wide as a pointer, and the simulator runs 64-bit programs.
LONG_PTR WINAPI CE(GetWindowLongW)(HWND hwnd, int index)
{
    const LONG_PTR value = ::GetWindowLongPtrW(hwnd, index);
    if (index == GWLP_WNDPROC && value == reinterpret_cast<LONG_PTR>(&CeClassProc)) {
        if (WNDPROC proc = OwnProc(hwnd))
            return reinterpret_cast<LONG_PTR>(proc);
    }
    return value;
}

}  // extern "C"

#pragma once
// The device's message-box layout. The device lays a message box out for its own screen: the
// text wraps at the width of the work area (the screen below the navigation bar) and the box is
// centred in it. Wine sizes a box from its
// template (a text area 176 dialog units wide, 264 pixels with the dialog font) whatever the
// screen, so on the 240 pixel wide QVGA portrait screen a long box runs past both edges.
//
// boxfit.dll holds the hook procedure; boxfit.exe, which the device host starts at every boot
// before any other program of the device, installs it for every program of the device's
// session (a global hook: Wine loads the DLL into each program that shows a window) and stays
// until the device shuts down. It prints "ready" once the hook is in place.
#include <windows.h>

// It also gives every program the device's work area, the screen below the navigation bar
// (device/navbar), as the system's work area: Wine keeps one per program, the whole screen.
//
// WH_CBT: a message box wider or taller than the work area is laid out again to fit it, right
// after Wine has laid it out (its WM_INITDIALOG) and before it shows: the text wrapped to the
// work area's width, the buttons centred below it, the box centred in the work area. A box that
// fits but lies partly outside the work area is moved into it.
extern "C" __declspec(dllexport) LRESULT CALLBACK FitMessageBoxes(int code, WPARAM wParam, LPARAM lParam);

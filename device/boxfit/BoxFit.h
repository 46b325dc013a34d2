#pragma once
// The device's message-box layout. The device lays a message box out for its own screen: the
// text wraps at the screen's width and the box is centred on it. Wine sizes a box from its
// template (a text area 176 dialog units wide, 264 pixels with the dialog font) whatever the
// screen, so on the 240 pixel wide QVGA portrait screen a long box runs past both edges.
//
// boxfit.dll holds the hook procedure; boxfit.exe, which the device host starts at every boot
// before any other program of the device, installs it for every program of the device's
// session (a global hook: Wine loads the DLL into each program that shows a window) and stays
// until the device shuts down. It prints "ready" once the hook is in place.
#include <windows.h>

// WH_CBT: a message box wider or taller than the screen is laid out again to fit it, right
// after Wine has laid it out (its WM_INITDIALOG) and before it shows: the text wrapped to the
// screen's width, the buttons centred below it, the box centred on the screen. A box that fits
// but lies partly off the screen is moved onto it.
extern "C" __declspec(dllexport) LRESULT CALLBACK FitMessageBoxes(int code, WPARAM wParam, LPARAM lParam);

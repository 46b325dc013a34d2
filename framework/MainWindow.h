#pragma once
// The program's main window, as the application registers it once the window exists. Code
// that must treat the program's own window specially asks here; null while there is none
// (start-up actions from the command line never create one).
#include <windows.h>

HWND GetMainWindow();
// Registers the window (null to forget it); returns the window registered before.
HWND SetMainWindow(HWND window);

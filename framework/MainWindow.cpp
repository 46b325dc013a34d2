#include "framework/MainWindow.h"
#include <utility>

namespace {
HWND g_mainWindow = nullptr;
}  // namespace

HWND GetMainWindow()
{
    return g_mainWindow;
}

HWND SetMainWindow(HWND window)
{
    return std::exchange(g_mainWindow, window);
}

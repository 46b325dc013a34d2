// A small program of the device's ROM ("\Windows\pixels.exe") that a test can start and end:
// its window "Pixels" fills the screen and shows the screen's size and the program's
// arguments; its button "End" (or closing the window) ends it with exit code 0.
#include <windows.h>
#include <string>

namespace {

constexpr int kSizeText = 100;
constexpr int kArgumentsText = 101;
constexpr int kEndButton = 102;

std::wstring Arguments()
{
    const std::wstring line = ::GetCommandLineW();
    size_t end = line.empty() || line[0] != L'"' ? line.find(L' ') : line.find(L'"', 1) + 1;
    if (end == std::wstring::npos || end > line.size())
        return std::wstring();
    while (end < line.size() && line[end] == L' ')
        ++end;
    return line.substr(end);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == kEndButton) {
        ::DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"DevicePixels";
    ::RegisterClassW(&windowClass);
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Pixels", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                                    0, width, height, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const struct {
        int id;
        const wchar_t* kind;
        std::wstring text;
        DWORD style;
        int top;
    } controls[] = {
        {kSizeText, L"STATIC", std::to_wstring(width) + L"x" + std::to_wstring(height), SS_LEFT, 8},
        {kArgumentsText, L"STATIC", Arguments(), SS_LEFT | SS_NOPREFIX, 32},
        {kEndButton, L"BUTTON", L"End", BS_PUSHBUTTON, 56},
    };
    for (const auto& c : controls) {
        HWND control = ::CreateWindowExW(0, c.kind, c.text.c_str(), WS_CHILD | WS_VISIBLE | c.style, 8, c.top,
                                         c.id == kEndButton ? 60 : width - 16, 20, window,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ::ShowWindow(window, show);
    ::UpdateWindow(window);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

// lockholder <ready event> <kind> <title> [file]
//
// Opens the file (if given) with no sharing, creates one top-level window of the kind and
// then signals the named event. kind: "titled" (visible, unowned), "untitled" (visible, no
// title text), "tool" (tool window), "owned" (visible window owned by a hidden one),
// "hidden" (never shown). Ends by itself after a minute with exit code 3, so a test that
// dies leaves nothing behind; being terminated gives the exit code the terminator chose.
#include <windows.h>
#include <shellapi.h>
#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 4)
        return 2;
    const std::wstring kind = argv[2];
    const wchar_t* title = kind == L"untitled" ? L"" : argv[3];

    HANDLE file = INVALID_HANDLE_VALUE;
    if (argc > 4) {
        file = ::CreateFileW(argv[4], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 4;
    }

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"DorixLockHolder";
    ::RegisterClassW(&windowClass);
    HWND owner = nullptr;
    if (kind == L"owned")
        owner = ::CreateWindowExW(0, windowClass.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, instance, nullptr);
    const DWORD exStyle = kind == L"tool" ? WS_EX_TOOLWINDOW : 0;
    HWND window = ::CreateWindowExW(exStyle, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                    100, owner, nullptr, instance, nullptr);
    if (window == nullptr)
        return 5;
    if (kind != L"hidden")
        ::ShowWindow(window, SW_SHOWNORMAL);

    HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (ready == nullptr)
        return 6;
    ::SetEvent(ready);
    ::CloseHandle(ready);

    ::SetTimer(nullptr, 0, 60000, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER)
        ::DispatchMessageW(&msg);
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
    return 3;
}

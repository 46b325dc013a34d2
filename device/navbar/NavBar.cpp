// navbar.exe: the device's navigation bar across the top of the screen: Start, the title of the
// foreground window and the time, 26 pixels high on a QVGA screen and 52 on a VGA one. The
// programs of the device get the area below it as the system's work area (device/boxfit sets it
// in each of them). Started by the host at boot, before any other program; prints "ready" once
// the bar shows and stays until the device shuts down. Exit code 1 when the bar cannot be
// created. The bar's own window text is the title it shows, for the device's drivers to read.
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

// The bar's window class, by which the device's system (device/boxfit) finds it.
const wchar_t kBarClass[] = L"DeviceNavBar";
// The bar's height on a QVGA screen; a VGA screen's is twice it.
constexpr int kQvgaHeight = 26;
// How often the bar looks at the foreground window and the clock.
constexpr UINT kRefreshMs = 200;
constexpr UINT_PTR kTimerId = 1;
constexpr COLORREF kBackground = RGB(0x00, 0x2C, 0x7A);
constexpr COLORREF kText = RGB(0xFF, 0xFF, 0xFF);

struct Bar {
    int scale = 1;
    HFONT titleFont = nullptr;
    HFONT clockFont = nullptr;
    std::wstring title;
    std::wstring time;
};
Bar g_bar;

std::wstring ForegroundTitle(HWND self)
{
    const HWND foreground = ::GetForegroundWindow();
    if (!foreground || foreground == self)
        return g_bar.title;
    // The desktop behind every program has no title to show.
    if (foreground == ::GetDesktopWindow())
        return std::wstring();
    wchar_t text[256] = L"";
    // Through a time-out: a busy program must not stop the bar.
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(foreground, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 500,
                               &length))
        return g_bar.title;
    return std::wstring(text, length < 256 ? length : 255);
}

std::wstring Now()
{
    wchar_t text[32] = L"";
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, 32);
    return text;
}

// The device's Start button: the four-coloured flag.
void DrawFlag(HDC dc, int left, int top, int size)
{
    const COLORREF colours[4] = {RGB(0xF2, 0x50, 0x22), RGB(0x7F, 0xBA, 0x00), RGB(0x00, 0xA4, 0xEF),
                                 RGB(0xFF, 0xB9, 0x00)};
    const int half = size / 2;
    for (int i = 0; i < 4; ++i) {
        const int x = left + (i % 2) * half;
        const int y = top + (i / 2) * half;
        RECT square{x, y, x + half - g_bar.scale, y + half - g_bar.scale};
        HBRUSH brush = ::CreateSolidBrush(colours[i]);
        ::FillRect(dc, &square, brush);
        ::DeleteObject(brush);
    }
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    HBRUSH background = ::CreateSolidBrush(kBackground);
    ::FillRect(dc, &client, background);
    ::DeleteObject(background);
    const int height = client.bottom;
    const int flag = height - 10 * g_bar.scale;
    DrawFlag(dc, 4 * g_bar.scale, (height - flag) / 2, flag);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kText);
    HGDIOBJ old = ::SelectObject(dc, g_bar.clockFont);
    RECT clock{0, 0, client.right - 4 * g_bar.scale, height};
    ::DrawTextW(dc, g_bar.time.c_str(), -1, &clock, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RECT clockWidth{0, 0, 0, 0};
    ::DrawTextW(dc, g_bar.time.c_str(), -1, &clockWidth, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, g_bar.titleFont);
    RECT title{flag + 10 * g_bar.scale, 0, clock.right - clockWidth.right - 6 * g_bar.scale, height};
    ::DrawTextW(dc, g_bar.title.c_str(), -1, &title,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, old);
    ::EndPaint(hwnd, &ps);
}

LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER: {
        std::wstring title = ForegroundTitle(hwnd);
        std::wstring time = Now();
        if (title != g_bar.title || time != g_bar.time) {
            g_bar.title = std::move(title);
            g_bar.time = std::move(time);
            ::SetWindowTextW(hwnd, g_bar.title.c_str());
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    }
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_MOUSEACTIVATE:
        // A tap on the bar leaves the foreground window where it is.
        return MA_NOACTIVATE;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HFONT BarFont(int height, int weight)
{
    return ::CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Tahoma");
}

}  // namespace

int main()
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    // VGA screens, 480x640 and 640x480, show the bar twice as high.
    g_bar.scale = (width < screenHeight ? width : screenHeight) >= 480 ? 2 : 1;
    const int height = kQvgaHeight * g_bar.scale;
    g_bar.titleFont = BarFont(12 * g_bar.scale, FW_BOLD);
    g_bar.clockFont = BarFont(11 * g_bar.scale, FW_NORMAL);
    g_bar.time = Now();

    WNDCLASSW wc{};
    wc.lpfnWndProc = BarProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kBarClass;
    HWND bar = ::RegisterClassW(&wc)
        ? ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kBarClass, L"", WS_POPUP, 0, 0, width,
                            height, nullptr, nullptr, wc.hInstance, nullptr)
        : nullptr;
    if (!bar) {
        std::fputs("navbar: the bar could not be created\n", stdout);
        return 1;
    }
    ::ShowWindow(bar, SW_SHOWNOACTIVATE);
    ::UpdateWindow(bar);
    ::SetTimer(bar, kTimerId, kRefreshMs, nullptr);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    return 0;
}

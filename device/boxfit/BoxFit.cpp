#include "BoxFit.h"
#include <algorithm>
#include <string>
#include <vector>
#include "common/MessageBoxShape.h"

namespace {

// The window procedure a dialog had before the hook put its own in front of it.
const wchar_t kOriginal[] = L"DorixDeviceBoxProc";

RECT ClientRectOf(HWND child, HWND parent)
{
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring TextOf(HWND hwnd)
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The height the text needs at the given width, in the text control's own font.
int TextHeight(HWND text, int width)
{
    const std::wstring content = TextOf(text);
    HDC dc = ::GetDC(text);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(text, WM_GETFONT, 0, 0)));
    RECT need{0, 0, width, 0};
    const UINT prefix = (::GetWindowLongW(text, GWL_STYLE) & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    ::DrawTextW(dc, content.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | prefix);
    ::SelectObject(dc, old);
    ::ReleaseDC(text, dc);
    return need.bottom - need.top;
}

void Fit(HWND box)
{
    // The box stays within the work area: the screen below the navigation bar.
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    RECT window{}, client{};
    ::GetWindowRect(box, &window);
    ::GetClientRect(box, &client);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    if (width <= areaWidth && height <= areaHeight) {
        if (window.left < area.left || window.top < area.top || window.right > area.right || window.bottom > area.bottom)
            ::SetWindowPos(box, nullptr, area.left + (areaWidth - width) / 2, area.top + (areaHeight - height) / 2, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    HWND text = nullptr;
    RECT icon{};
    std::vector<HWND> buttons;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if (::GetDlgCtrlID(child) == kMessageBoxTextId && (style & SS_TYPEMASK) != SS_ICON)
            text = child;
        else if ((style & SS_TYPEMASK) == SS_ICON && (style & WS_VISIBLE))
            icon = ClientRectOf(child, box);
        else if ((style & WS_VISIBLE) && (style & SS_TYPEMASK) != SS_ICON)
            buttons.push_back(child);
    }
    if (!text || buttons.empty())
        return;
    std::sort(buttons.begin(), buttons.end(),
              [box](HWND a, HWND b) { return ClientRectOf(a, box).left < ClientRectOf(b, box).left; });
    const RECT oldText = ClientRectOf(text, box);
    const RECT firstButton = ClientRectOf(buttons.front(), box);
    const int frameWidth = width - client.right;
    const int frameHeight = height - client.bottom;
    const int clientWidth = areaWidth - frameWidth;
    // Wine's margins stay: beside the text, between text and buttons, below the buttons.
    const int textWidth = clientWidth - oldText.left - (client.right - oldText.right);
    const int above = firstButton.top - std::max(oldText.bottom, icon.bottom);
    const int below = client.bottom - firstButton.bottom;
    if (textWidth < 32)
        return;
    const int textHeight = TextHeight(text, textWidth);
    const int buttonWidth = firstButton.right - firstButton.left;
    const int buttonHeight = firstButton.bottom - firstButton.top;
    const int count = static_cast<int>(buttons.size());
    int gap = count > 1 ? ClientRectOf(buttons[1], box).left - firstButton.right : 0;
    if (count > 1 && count * buttonWidth + (count - 1) * gap > clientWidth)
        gap = std::max(0, (clientWidth - count * buttonWidth) / (count - 1));
    const int buttonsTop = std::max<int>(oldText.top + textHeight, icon.bottom) + above;
    int left = (clientWidth - (count * buttonWidth + (count - 1) * gap)) / 2;
    ::SetWindowPos(text, nullptr, oldText.left, oldText.top, textWidth, textHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND button : buttons) {
        ::SetWindowPos(button, nullptr, left, buttonsTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        left += buttonWidth + gap;
    }
    const int newHeight = buttonsTop + buttonHeight + below + frameHeight;
    ::SetWindowPos(box, nullptr, area.left, area.top + std::max(0, (areaHeight - newHeight) / 2), areaWidth, newHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

// In front of every dialog's own procedure until its WM_INITDIALOG has run, in which Wine lays
// a message box out: then the box is fitted, before it is first shown.
LRESULT CALLBACK BeforeDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto original = reinterpret_cast<WNDPROC>(::GetPropW(window, kOriginal));
    if (!original)
        return ::DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = ::CallWindowProcW(original, window, message, wParam, lParam);
    if (message == WM_INITDIALOG || message == WM_NCDESTROY) {
        if (message == WM_INITDIALOG && IsMessageBoxShape(window))
            Fit(window);
        // Stepped out of the way unless someone else has stepped in front since.
        if (::GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(BeforeDialog)) {
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            ::RemovePropW(window, kOriginal);
        }
    }
    return result;
}

// The system's work area of this program: the screen below the device's navigation bar
// (device/navbar). Wine keeps the work area per program and knows no such bar, so each program
// is given it before its first window is made.
void SetWorkArea()
{
    static bool set = false;
    if (set)
        return;
    set = true;
    RECT bar{};
    HWND navBar = ::FindWindowW(L"DeviceNavBar", nullptr);
    if (!navBar || !::GetWindowRect(navBar, &bar))
        return;
    RECT area{0, bar.bottom, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0);
}

}  // namespace

LRESULT CALLBACK FitMessageBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    SetWorkArea();
    HWND window = reinterpret_cast<HWND>(wParam);
    wchar_t className[16] = L"";
    if (code == HCBT_CREATEWND && ::GetClassNameW(window, className, 16) && !::lstrcmpW(className, L"#32770")) {
        const LONG_PTR original = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
        if (original && ::SetPropW(window, kOriginal, reinterpret_cast<HANDLE>(original)))
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BeforeDialog));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

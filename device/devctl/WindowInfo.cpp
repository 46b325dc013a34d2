#include "WindowInfo.h"
#include <commctrl.h>
#include <algorithm>
#include <array>
#include <cwctype>
#include "common/MessageBoxShape.h"

namespace {

// The device's navigation bar (device/navbar).
const wchar_t kNavBarClass[] = L"DeviceNavBar";

std::wstring WindowText(HWND hwnd)
{
    // WM_GETTEXT through a time-out: a hung program must not hang the caller.
    std::array<wchar_t, 1024> text{};
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, 1000, &length))
        return std::wstring();
    return std::wstring(text.data(), std::min<size_t>(length, text.size() - 1));
}

std::wstring ClassName(HWND hwnd)
{
    wchar_t name[256] = L"";
    const int n = ::GetClassNameW(hwnd, name, 256);
    return std::wstring(name, n > 0 ? n : 0);
}

bool SameClass(const std::wstring& className, const wchar_t* name)
{
    return ::CompareStringOrdinal(className.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::wstring WithoutAmpersands(std::wstring text)
{
    text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
    return text;
}

// A 32-bit top-down DIB section of the given size, selected into a memory DC.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;
    Canvas(int cx, int cy)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = ::CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<DWORD*>(p);
        if (bitmap)
            old = ::SelectObject(dc, bitmap);
    }
    ~Canvas()
    {
        if (old)
            ::SelectObject(dc, old);
        if (bitmap)
            ::DeleteObject(bitmap);
        if (dc)
            ::DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    bool Ok() const { return bits != nullptr; }
};

// The icon shown in the box, found by looking at the screen as a user would: the system icon
// whose opaque pixels match what the icon control shows. Icon handles of another process
// cannot be asked directly.
UINT BoxIconStyle(const RECT& iconRect)
{
    const int cx = iconRect.right - iconRect.left;
    const int cy = iconRect.bottom - iconRect.top;
    if (cx <= 0 || cy <= 0 || cx > 256 || cy > 256)
        return 0;
    Canvas screen(cx, cy);
    if (!screen.Ok())
        return 0;
    HDC desktop = ::GetDC(nullptr);
    ::BitBlt(screen.dc, 0, 0, cx, cy, desktop, iconRect.left, iconRect.top, SRCCOPY);
    ::ReleaseDC(nullptr, desktop);
    ::GdiFlush();

    const struct {
        LPCWSTR icon;
        UINT style;
    } candidates[] = {{IDI_HAND, MB_ICONHAND}, {IDI_QUESTION, MB_ICONQUESTION},
                      {IDI_EXCLAMATION, MB_ICONEXCLAMATION}, {IDI_ASTERISK, MB_ICONASTERISK}};
    UINT best = 0;
    double bestScore = 0.9;
    for (const auto& candidate : candidates) {
        HICON icon = ::LoadIconW(nullptr, candidate.icon);
        Canvas black(cx, cy);
        Canvas white(cx, cy);
        if (!icon || !black.Ok() || !white.Ok())
            continue;
        std::fill(white.bits, white.bits + cx * cy, 0x00FFFFFFu);
        ::DrawIconEx(black.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
        ::DrawIconEx(white.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
        ::GdiFlush();
        int opaque = 0;
        int matching = 0;
        for (int i = 0; i < cx * cy; ++i) {
            const DWORD b = black.bits[i] & 0xFFFFFF;
            if (b != (white.bits[i] & 0xFFFFFF))
                continue;
            ++opaque;
            if (b == (screen.bits[i] & 0xFFFFFF))
                ++matching;
        }
        const double score = opaque ? static_cast<double>(matching) / opaque : 0.0;
        if (opaque > 16 && score > bestScore) {
            bestScore = score;
            best = candidate.style;
        }
    }
    return best;
}

// The MB_ button set from the buttons the box shows, with their order for the default index.
UINT BoxButtons(const std::vector<int>& ids, std::vector<int>& order)
{
    const struct {
        UINT style;
        std::vector<int> buttons;
    } sets[] = {
        {MB_OK, {IDOK}},
        {MB_OKCANCEL, {IDOK, IDCANCEL}},
        {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}},
        {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}},
        {MB_YESNO, {IDYES, IDNO}},
        {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}},
        {MB_CANCELTRYCONTINUE, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}},
    };
    std::vector<int> shown = ids;
    std::sort(shown.begin(), shown.end());
    for (const auto& set : sets) {
        std::vector<int> sorted = set.buttons;
        std::sort(sorted.begin(), sorted.end());
        if (sorted == shown) {
            order = set.buttons;
            return set.style;
        }
    }
    order = ids;
    return MB_OK;
}

void DescribeBox(WindowInfo& window)
{
    std::vector<int> buttons;
    RECT iconRect{};
    bool hasIcon = false;
    for (const ControlInfo& control : window.controls) {
        if (control.id == kMessageBoxTextId)
            window.boxText = control.text;
        else if ((control.style & SS_TYPEMASK) == SS_ICON && SameClass(control.className, L"Static")
                 && (control.style & WS_VISIBLE)) {
            iconRect = control.rect;
            hasIcon = true;
        } else if (SameClass(control.className, L"Button") && (control.style & WS_VISIBLE))
            buttons.push_back(control.id);
    }
    std::vector<int> order;
    UINT style = BoxButtons(buttons, order);
    const int defaultId = DefaultButton(window.hwnd);
    const auto position = std::find(order.begin(), order.end(), defaultId);
    if (position != order.end())
        style |= static_cast<UINT>(position - order.begin()) << 8;
    if (hasIcon)
        style |= BoxIconStyle(iconRect);
    window.boxStyle = style;
}

BOOL CALLBACK AddControl(HWND hwnd, LPARAM param)
{
    auto& controls = *reinterpret_cast<std::vector<ControlInfo>*>(param);
    ControlInfo control{hwnd, ::GetAncestor(hwnd, GA_PARENT), ::GetDlgCtrlID(hwnd), ClassName(hwnd), WindowText(hwnd),
                        static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE)), ::IsWindowVisible(hwnd) != FALSE, {},
                        nullptr};
    ::GetWindowRect(hwnd, &control.rect);
    DWORD_PTR buddy = 0;
    if (SameClass(control.className, UPDOWN_CLASSW)
        && ::SendMessageTimeoutW(hwnd, UDM_GETBUDDY, 0, 0, SMTO_ABORTIFHUNG, 1000, &buddy))
        control.buddy = reinterpret_cast<HWND>(buddy);
    controls.push_back(std::move(control));
    return TRUE;
}

BOOL CALLBACK AddWindow(HWND hwnd, LPARAM param)
{
    auto& windows = *reinterpret_cast<std::vector<WindowInfo>*>(param);
    if (!::IsWindowVisible(hwnd))
        return TRUE;
    WindowInfo window{};
    window.hwnd = hwnd;
    ::GetWindowThreadProcessId(hwnd, &window.pid);
    window.className = ClassName(hwnd);
    window.title = WindowText(hwnd);
    window.style = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE));
    window.exStyle = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_EXSTYLE));
    ::GetWindowRect(hwnd, &window.rect);
    // The virtual desktop's own invisible-in-effect helper windows have neither title nor size;
    // the device's navigation bar is the system's, no program's window.
    if ((window.title.empty() && window.rect.right - window.rect.left <= 1) || SameClass(window.className, kNavBarClass))
        return TRUE;
    // Every descendant, each after its parent.
    ::EnumChildWindows(hwnd, AddControl, reinterpret_cast<LPARAM>(&window.controls));
    window.isBox = IsMessageBoxShape(hwnd);
    if (window.isBox)
        DescribeBox(window);
    windows.push_back(std::move(window));
    return TRUE;
}

}  // namespace

std::vector<WindowInfo> ListWindows()
{
    std::vector<WindowInfo> windows;
    ::EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

const WindowInfo* FindWindowInfo(const std::vector<WindowInfo>& windows, const std::wstring& text, bool boxOnly)
{
    const std::wstring wanted = Lower(text);
    for (const WindowInfo& window : windows) {
        if (boxOnly && !window.isBox)
            continue;
        if (wanted.empty() || Lower(window.title).find(wanted) != std::wstring::npos
            || Lower(window.className).find(wanted) != std::wstring::npos)
            return &window;
    }
    return nullptr;
}

const ControlInfo* FindControl(const WindowInfo& window, int id, const std::wstring& text,
                               const std::wstring& className)
{
    const ControlInfo* hidden = nullptr;
    for (const ControlInfo& control : window.controls) {
        const bool matches = text.empty() ? id == kAnyId || control.id == id : SameText(control.text, text);
        if (!matches || (!className.empty() && !SameClass(control.className, className.c_str())))
            continue;
        if (control.visible)
            return &control;
        if (!hidden)
            hidden = &control;
    }
    return hidden;
}

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return Lower(WithoutAmpersands(a)) == Lower(WithoutAmpersands(b));
}

int DefaultButton(HWND box)
{
    // The button drawn as the default is what the user sees and Enter presses; Wine's
    // DM_GETDEFID answers the template's first button even when the box made another one
    // the default.
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if ((style & WS_VISIBLE) && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && SameClass(ClassName(child), L"Button"))
            return ::GetDlgCtrlID(child);
    }
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(box, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 1000, &result)
        || HIWORD(result) != DC_HASDEFID)
        return 0;
    return LOWORD(result);
}

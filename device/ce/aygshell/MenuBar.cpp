// aygshell's menu bar (SHCreateMenuBar): the bar across the bottom of a frame or a sheet, drawn
// as the device draws it.
//
// The bar is a child window of the parent with the id 0xE800, across the bottom of the
// parent's client area: 26 pixels high on a QVGA screen, 52 on a VGA one (the shorter side of
// the screen 480 or more), a one-pixel line (two on VGA) of the shadow colour along its top. Its
// buttons are child windows of the bar, left to right below that line:
// - a menu's title (Tahoma 12 pixels, 24 on VGA, with 8 pixels, 16 on VGA, either side): a
//   button with the title's text; a tap opens its menu upward from the bar's top edge and the
//   command chosen there is posted to the parent as WM_COMMAND;
// - a picture button, square: a button with the button's command as its id, showing its
//   picture cut from the bitmap strip (magenta is the button face), sunken while pressed; a
//   tap sends the parent WM_COMMAND(command, BN_CLICKED) from the button.
// The bar lays its buttons out whenever its size changes; the parent moves the bar when its
// own size changes.
#include <windows.h>
#include <commctrl.h>
#include <new>
#include <vector>
#include "CeStandIn.h"
#include "framework/AygShell.h"

namespace {

// The bar's id in its parent and the first id of the menu titles.
constexpr UINT kBarId = 0xE800;
constexpr UINT kFirstTitleId = 0xE801;
constexpr int kMaxTitles = 16;
// The bar's height on a QVGA screen, a title's space beside its text, the font's height.
constexpr int kQvgaHeight = 26;
constexpr int kTitlePadding = 8;
constexpr int kFontHeight = 12;
// A SHMENUBAR resource's button without a picture, and without a sub-menu.
constexpr WORD kNoImage = 0xFFFE;
constexpr WORD kNoSubMenu = 0xFFFF;
// The strip's colour that lets the button face show through.
constexpr COLORREF kTransparent = RGB(0xFF, 0x00, 0xFF);
const wchar_t kBarClass[] = L"menu_worker";

HINSTANCE g_module = nullptr;

struct Button {
    HWND hwnd = nullptr;
    // A title shows its text and opens the bar's menu's sub-menu subMenu (-1: none, its command
    // goes to the parent); a picture button shows its picture.
    bool title = false;
    int subMenu = -1;
    HBITMAP picture = nullptr;
};

struct Bar {
    HWND hwnd = nullptr;
    HWND parent = nullptr;
    // Pixels per pixel of a QVGA screen.
    int scale = 1;
    HFONT font = nullptr;
    HMENU menu = nullptr;
    std::vector<Button> buttons;
};

// The screen's scale against QVGA: 2 on the VGA screens, 1 on the others.
int ScreenScale()
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    return (width < height ? width : height) >= 480 ? 2 : 1;
}

Bar* BarOf(HWND hwnd)
{
    return reinterpret_cast<Bar*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Button* ButtonOf(Bar& bar, HWND hwnd)
{
    for (Button& button : bar.buttons) {
        if (button.hwnd == hwnd)
            return &button;
    }
    return nullptr;
}

// Picture index of the strip, on the button face, as a bitmap of its own.
HBITMAP CutPicture(HBITMAP strip, int index, int width, int height)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP picture = ::CreateCompatibleBitmap(screen, width, height);
    HDC source = ::CreateCompatibleDC(screen);
    HDC target = ::CreateCompatibleDC(screen);
    if (picture && source && target) {
        HGDIOBJ oldSource = ::SelectObject(source, strip);
        HGDIOBJ oldTarget = ::SelectObject(target, picture);
        RECT all{0, 0, width, height};
        ::FillRect(target, &all, ::GetSysColorBrush(COLOR_BTNFACE));
        // gdi32's own, which msimg32's TransparentBlt hands on to: no DLL more at the start.
        ::GdiTransparentBlt(target, 0, 0, width, height, source, index * width, 0, width, height, kTransparent);
        ::SelectObject(source, oldSource);
        ::SelectObject(target, oldTarget);
    }
    if (target)
        ::DeleteDC(target);
    if (source)
        ::DeleteDC(source);
    ::ReleaseDC(nullptr, screen);
    return picture;
}

bool AddButton(Bar& bar, const Button& button, UINT id, const wchar_t* text)
{
    // Shown by the layout, with its first move.
    Button added = button;
    added.hwnd = ::CreateWindowExW(0, L"BUTTON", text, WS_CHILD | BS_OWNERDRAW, 0, 0, 0, 0, bar.hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_module, nullptr);
    if (!added.hwnd) {
        if (added.picture)
            ::DeleteObject(added.picture);
        return false;
    }
    bar.buttons.push_back(added);
    return true;
}

// Each pop-up menu of the menu resource as its title.
bool AddMenuTitles(Bar& bar, HINSTANCE instance, UINT menuId)
{
    bar.menu = ::LoadMenuW(instance, MAKEINTRESOURCEW(menuId));
    if (!bar.menu)
        return false;
    const int count = ::GetMenuItemCount(bar.menu);
    for (int i = 0; i < count && i < kMaxTitles; ++i) {
        wchar_t text[64] = L"";
        ::GetMenuStringW(bar.menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        Button title;
        title.title = true;
        title.subMenu = i;
        if (!AddButton(bar, title, kFirstTitleId + static_cast<UINT>(i), text))
            return false;
    }
    return true;
}

WORD ReadWord(const BYTE* data, size_t index)
{
    return static_cast<WORD>(data[2 * index] | (data[2 * index + 1] << 8));
}

// The buttons of a SHMENUBAR resource (RCDATA): the menu's id, the number of buttons, then
// per button its picture's index in the strip (kNoImage: none), command, state, style, string
// id, 0 and sub-menu index (kNoSubMenu: none). A button with a picture shows it; one without
// shows its string as a title, which opens the sub-menu of the menu when it has one.
// Separators take no place.
bool AddToolBarButtons(Bar& bar, HINSTANCE instance, UINT toolBarId, int bitmapId, int images)
{
    HRSRC info = ::FindResourceW(instance, MAKEINTRESOURCEW(toolBarId), RT_RCDATA);
    HGLOBAL loaded = info ? ::LoadResource(instance, info) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    const size_t words = data ? ::SizeofResource(instance, info) / 2 : 0;
    if (!data)
        return false;
    if (words < 2 || words - 2 < static_cast<size_t>(ReadWord(data, 1)) * 7) {
        ::SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    const WORD menuId = ReadWord(data, 0);
    const size_t count = ReadWord(data, 1);
    HBITMAP strip = nullptr;
    BITMAP stripInfo{};
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 2 + 7 * i;
        const WORD image = ReadWord(data, at);
        const WORD command = ReadWord(data, at + 1);
        const WORD style = ReadWord(data, at + 3);
        const WORD stringId = ReadWord(data, at + 4);
        const WORD subMenu = ReadWord(data, at + 6);
        if (style & TBSTYLE_SEP)
            continue;
        Button button;
        wchar_t text[64] = L"";
        if (image != kNoImage) {
            if (!strip) {
                strip = static_cast<HBITMAP>(::LoadImageW(instance, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0,
                                                          LR_DEFAULTCOLOR));
                if (!strip || !::GetObjectW(strip, sizeof stripInfo, &stripInfo) || images <= 0) {
                    if (strip)
                        ::DeleteObject(strip);
                    if (images <= 0)
                        ::SetLastError(ERROR_INVALID_PARAMETER);
                    return false;
                }
            }
            const int width = stripInfo.bmWidth / images;
            if (image >= images) {
                ::DeleteObject(strip);
                ::SetLastError(ERROR_INVALID_DATA);
                return false;
            }
            button.picture = CutPicture(strip, image, width, stripInfo.bmHeight);
        } else {
            button.title = true;
            ::LoadStringW(instance, stringId, text, 64);
            if (subMenu != kNoSubMenu) {
                if (!bar.menu)
                    bar.menu = ::LoadMenuW(instance, MAKEINTRESOURCEW(menuId));
                button.subMenu = bar.menu ? subMenu : -1;
            }
        }
        if (!AddButton(bar, button, command, text)) {
            if (strip)
                ::DeleteObject(strip);
            return false;
        }
    }
    if (strip)
        ::DeleteObject(strip);
    return true;
}

// The titles and the buttons left to right below the line along the bar's top.
void Layout(Bar& bar)
{
    RECT client{};
    ::GetClientRect(bar.hwnd, &client);
    const int top = bar.scale;
    const int height = client.bottom - top;
    if (height <= 0 || bar.buttons.empty())
        return;
    // Measured on a memory DC, which the system makes without asking the window system for the
    // bar's visible region as a window's DC needs.
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = dc ? ::SelectObject(dc, bar.font) : nullptr;
    int left = 0;
    for (const Button& button : bar.buttons) {
        int width = height;
        if (button.title) {
            wchar_t text[64] = L"";
            const int length = ::GetWindowTextW(button.hwnd, text, 64);
            SIZE extent{};
            if (dc)
                ::GetTextExtentPoint32W(dc, text, length, &extent);
            width = extent.cx + 2 * kTitlePadding * bar.scale;
        }
        ::SetWindowPos(button.hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        left += width;
    }
    if (dc) {
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
    }
}

// Opens the title's sub-menu upward from the bar's top edge, as the device opens a menu bar's
// menu, and posts the command chosen in it to the parent.
void OpenMenu(Bar& bar, const Button& title)
{
    HMENU popup = bar.menu ? ::GetSubMenu(bar.menu, title.subMenu) : nullptr;
    if (!popup)
        return;
    RECT place{};
    ::GetWindowRect(title.hwnd, &place);
    RECT barRect{};
    ::GetWindowRect(bar.hwnd, &barRect);
    const UINT command = ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                                            place.left, barRect.top, bar.hwnd, nullptr);
    if (command)
        ::PostMessageW(bar.parent, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void DrawTitle(const Bar& bar, const DRAWITEMSTRUCT& item)
{
    RECT rect = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &rect, ::GetSysColorBrush(pressed ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(pressed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    HGDIOBJ old = ::SelectObject(item.hDC, bar.font);
    wchar_t text[64] = L"";
    ::GetWindowTextW(item.hwndItem, text, 64);
    ::DrawTextW(item.hDC, text, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(item.hDC, old);
}

// The button face, sunken while pressed, with the picture centred on it, enlarged by the
// largest whole factor that fits so that its pixels stay sharp.
void DrawPicture(const Button& button, const DRAWITEMSTRUCT& item)
{
    RECT rect = item.rcItem;
    ::FillRect(item.hDC, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    if (item.itemState & ODS_SELECTED)
        ::DrawEdge(item.hDC, &rect, BDR_SUNKENOUTER, BF_RECT);
    BITMAP size{};
    if (!button.picture || !::GetObjectW(button.picture, sizeof size, &size) || size.bmWidth <= 0 || size.bmHeight <= 0)
        return;
    HDC memory = ::CreateCompatibleDC(item.hDC);
    if (!memory)
        return;
    HGDIOBJ old = ::SelectObject(memory, button.picture);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int factor = width / size.bmWidth < height / size.bmHeight ? width / size.bmWidth : height / size.bmHeight;
    if (factor < 1)
        factor = 1;
    const int drawnWidth = size.bmWidth * factor;
    const int drawnHeight = size.bmHeight * factor;
    ::StretchBlt(item.hDC, rect.left + (width - drawnWidth) / 2, rect.top + (height - drawnHeight) / 2, drawnWidth,
                 drawnHeight, memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

void Paint(const Bar& bar)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(bar.hwnd, &ps);
    RECT client{};
    ::GetClientRect(bar.hwnd, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    RECT line{client.left, client.top, client.right, client.top + bar.scale};
    ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_BTNSHADOW));
    ::EndPaint(bar.hwnd, &ps);
}

void Destroy(Bar* bar)
{
    for (Button& button : bar->buttons) {
        if (button.picture)
            ::DeleteObject(button.picture);
    }
    if (bar->menu)
        ::DestroyMenu(bar->menu);
    if (bar->font)
        ::DeleteObject(bar->font);
    delete bar;
}

LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Bar* bar = BarOf(hwnd);
    if (!bar)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        Paint(*bar);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        Layout(*bar);
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const Button* button = ButtonOf(*bar, item.hwndItem);
        if (!button)
            break;
        if (button->title)
            DrawTitle(*bar, item);
        else
            DrawPicture(*button, item);
        return TRUE;
    }
    case WM_COMMAND: {
        const HWND control = reinterpret_cast<HWND>(lParam);
        const Button* button = control ? ButtonOf(*bar, control) : nullptr;
        if (button && button->title && button->subMenu >= 0) {
            if (HIWORD(wParam) == BN_CLICKED)
                OpenMenu(*bar, *button);
            return 0;
        }
        // A button's command is the parent's, as if the button were its own.
        return ::SendMessageW(bar->parent, WM_COMMAND, wParam, lParam);
    }
    case SHCMBM_GETMENU:
        return reinterpret_cast<LRESULT>(bar->menu);
    case SHCMBM_GETSUBMENU: {
        const Button* button = ButtonOf(*bar, ::GetDlgItem(hwnd, static_cast<int>(lParam)));
        return reinterpret_cast<LRESULT>(button && button->subMenu >= 0 && bar->menu
                                             ? ::GetSubMenu(bar->menu, button->subMenu)
                                             : nullptr);
    }
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        Destroy(bar);
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterBarClass()
{
    WNDCLASSW cls{};
    if (::GetClassInfoW(g_module, kBarClass, &cls))
        return true;
    cls.lpfnWndProc = BarProc;
    cls.hInstance = g_module;
    cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    cls.lpszClassName = kBarClass;
    return ::RegisterClassW(&cls) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

extern "C" {

BOOL WINAPI CE(SHCreateMenuBar)(SHMENUBARINFO* info)
{
    if (!info || info->cbSize < offsetof(SHMENUBARINFO, clrBk)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hwndMB = nullptr;
    if (!info->hwndParent || !::IsWindow(info->hwndParent)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!RegisterBarClass())
        return FALSE;
    auto* bar = new (std::nothrow) Bar;
    if (!bar) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    bar->parent = info->hwndParent;
    bar->scale = ScreenScale();
    bar->font = ::CreateFontW(-kFontHeight * bar->scale, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Tahoma");
    RECT client{};
    ::GetClientRect(info->hwndParent, &client);
    const int height = kQvgaHeight * bar->scale;
    bar->hwnd = ::CreateWindowExW(0, kBarClass, L"", WS_CHILD | WS_CLIPCHILDREN, 0, client.bottom - height,
                                  client.right, height, info->hwndParent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBarId)), g_module, nullptr);
    if (!bar->hwnd) {
        Destroy(bar);
        return FALSE;
    }
    ::SetWindowLongPtrW(bar->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bar));
    bool filled = true;
    if (!(info->dwFlags & SHCMBF_EMPTYBAR)) {
        filled = info->dwFlags & SHCMBF_HMENU
                     ? AddMenuTitles(*bar, info->hInstRes, info->nToolBarId)
                     : AddToolBarButtons(*bar, info->hInstRes, info->nToolBarId, info->nBmpId, info->cBmpImages);
    }
    if (!filled) {
        const DWORD error = ::GetLastError();
        ::DestroyWindow(bar->hwnd);
        ::SetLastError(error ? error : ERROR_RESOURCE_NAME_NOT_FOUND);
        return FALSE;
    }
    Layout(*bar);
    if (!(info->dwFlags & SHCMBF_HIDDEN))
        ::ShowWindow(bar->hwnd, SW_SHOWNA);
    info->hwndMB = bar->hwnd;
    return TRUE;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

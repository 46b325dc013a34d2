#include "platform/CommandBar.h"
#include <algorithm>
#include <cstdint>
#include <string>
#include "framework/StandardIds.h"

namespace {

// The first child id of the menu titles; the picture buttons' ids are their commands.
constexpr UINT kFirstTitleId = 0xE801;
constexpr int kMaxTitles = 16;
// Space beside a menu title's text on a QVGA screen.
constexpr int kTitlePadding = 8;

// The screen's scale against QVGA: 2 on the VGA screens, 1 on the others.
int ScreenScale()
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    return (width < height ? width : height) >= 480 ? 2 : 1;
}

// A menu's title in the bar: its text on the bar, shown inverted while it is pressed.
class CMenuTitle : public CBitmapButton {
public:
    explicit CMenuTitle(HFONT font) : m_font(font) {}

protected:
    void DrawItem(const DRAWITEMSTRUCT& item) override
    {
        RECT rect = item.rcItem;
        const bool pressed = (item.itemState & ODS_SELECTED) != 0;
        ::FillRect(item.hDC, &rect, ::GetSysColorBrush(pressed ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        ::SetBkMode(item.hDC, TRANSPARENT);
        ::SetTextColor(item.hDC, ::GetSysColor(pressed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
        HGDIOBJ old = ::SelectObject(item.hDC, m_font);
        const std::wstring text = GetWindowText();
        ::DrawTextW(item.hDC, text.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(item.hDC, old);
    }

private:
    HFONT m_font;
};

// A command bar button: the button face, sunken while pressed, with the picture on it.
class CCommandButton : public CBitmapButton {
protected:
    void DrawItem(const DRAWITEMSTRUCT& item) override
    {
        RECT rect = item.rcItem;
        ::FillRect(item.hDC, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
        if (item.itemState & ODS_SELECTED)
            ::DrawEdge(item.hDC, &rect, BDR_SUNKENOUTER, BF_RECT);
        CBitmapButton::DrawItem(item);
    }
};

WORD ReadWord(const uint8_t* data, size_t index)
{
    return static_cast<WORD>(data[2 * index] | (data[2 * index + 1] << 8));
}

// The strip's colour that lets the button face show through.
constexpr COLORREF kTransparent = RGB(0xFF, 0x00, 0xFF);

// Picture number index of the strip, on the button face, as a bitmap of its own.
CBitmapHandle CutPicture(HBITMAP strip, int index, int width, int height)
{
    HDC screen = ::GetDC(nullptr);
    CBitmapHandle picture(::CreateCompatibleBitmap(screen, width, height));
    HDC source = ::CreateCompatibleDC(screen);
    HDC target = ::CreateCompatibleDC(screen);
    if (picture && source && target) {
        HGDIOBJ oldSource = ::SelectObject(source, strip);
        HGDIOBJ oldTarget = ::SelectObject(target, picture.Get());
        RECT all{0, 0, width, height};
        ::FillRect(target, &all, ::GetSysColorBrush(COLOR_BTNFACE));
        ::TransparentBlt(target, 0, 0, width, height, source, index * width, 0, width, height, kTransparent);
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

}  // namespace

int CCommandBar::GetHeight()
{
    return kQvgaHeight * ScreenScale();
}

bool CCommandBar::Create(HWND parent)
{
    if (!parent || !::IsWindow(parent))
        return false;
    Destroy();
    m_scale = ScreenScale();
    m_font.Reset(::CreateFontW(-12 * m_scale, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Tahoma"));
    return CreateEx(0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, PlaceIn(parent, kQvgaHeight * m_scale), parent,
                    ID_COMMAND_BAR);
}

RECT CCommandBar::PlaceIn(HWND parent, int height)
{
    const RECT client = CWindow(parent).GetClientRect();
    return RECT{0, client.bottom - height, client.right, client.bottom};
}

bool CCommandBar::AddButton(std::unique_ptr<CBitmapButton> button, UINT id, const wchar_t* text)
{
    // Shown by Place, with its first move.
    HWND hwnd = ::CreateWindowExW(0, L"BUTTON", text, WS_CHILD | BS_OWNERDRAW, 0, 0, 0, 0, m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                  nullptr);
    if (!hwnd || !button->SubclassWindow(hwnd)) {
        if (hwnd)
            ::DestroyWindow(hwnd);
        return false;
    }
    m_buttons.push_back(std::move(button));
    return true;
}

bool CCommandBar::InsertMenuBar(UINT menuId)
{
    if (!m_hWnd)
        return false;
    CMenuHandle menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId)));
    if (!menu)
        return false;
    const int count = std::min(::GetMenuItemCount(menu.Get()), kMaxTitles);
    for (int i = 0; i < count; ++i) {
        wchar_t text[64] = L"";
        ::GetMenuStringW(menu.Get(), static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        // The titles go before any picture button.
        auto title = std::make_unique<CMenuTitle>(m_font.Get());
        if (!AddButton(std::move(title), kFirstTitleId + static_cast<UINT>(i), text))
            return false;
        std::rotate(m_buttons.begin() + m_menuTitles, m_buttons.end() - 1, m_buttons.end());
        ++m_menuTitles;
    }
    m_menu = std::move(menu);
    Place();
    return true;
}

bool CCommandBar::AddButtons(UINT toolBarId)
{
    if (!m_hWnd)
        return false;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(instance, MAKEINTRESOURCEW(toolBarId), MAKEINTRESOURCEW(kToolBarResourceType));
    HGLOBAL loaded = info ? ::LoadResource(instance, info) : nullptr;
    const auto* data = static_cast<const uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
    const size_t words = data ? ::SizeofResource(instance, info) / 2 : 0;
    if (words < 4 || ReadWord(data, 0) != 1 || words - 4 < ReadWord(data, 3))
        return false;
    const int width = ReadWord(data, 1);
    const int height = ReadWord(data, 2);
    const size_t count = ReadWord(data, 3);
    CBitmapHandle strip(static_cast<HBITMAP>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(toolBarId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    BITMAP stripInfo{};
    if (!strip || !::GetObjectW(strip.Get(), sizeof stripInfo, &stripInfo) || stripInfo.bmHeight < height
        || stripInfo.bmWidth < static_cast<LONG>(count) * width)
        return false;
    for (size_t i = 0; i < count; ++i) {
        const WORD command = ReadWord(data, 4 + i);
        if (command == 0)
            continue;
        auto button = std::make_unique<CCommandButton>();
        button->SetBitmap(CutPicture(strip.Get(), static_cast<int>(i), width, height));
        if (!AddButton(std::move(button), command, L""))
            return false;
    }
    Place();
    return true;
}

void CCommandBar::Place()
{
    if (!m_hWnd)
        return;
    const int height = kQvgaHeight * m_scale;
    const RECT place = PlaceIn(GetParent(), height);
    // Each move is a trip to the window system: a bar in its place stays.
    if (const RECT now = GetRectInParent(); !::EqualRect(&now, &place))
        MoveWindow(place);
    if (m_buttons.empty())
        return;
    // A line above the bar, as the device draws it, then the titles and the buttons.
    int left = 0;
    const int top = m_scale;
    // Measured on a memory DC, which the system makes without asking the window system for the
    // bar's visible region as a window's DC needs.
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, m_font.Get());
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
        CBitmapButton& button = *m_buttons[static_cast<size_t>(i)];
        int width = height - top;
        if (i < m_menuTitles) {
            const std::wstring text = button.GetWindowText();
            SIZE extent{};
            ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            width = extent.cx + 2 * kTitlePadding * m_scale;
        }
        ::SetWindowPos(button.GetSafeHwnd(), nullptr, left, top, width, height - top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        left += width;
    }
    if (dc) {
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
    }
}

bool CCommandBar::OpenMenu(int index)
{
    HMENU popup = m_menu ? ::GetSubMenu(m_menu.Get(), index) : nullptr;
    if (!popup || index < 0 || index >= m_menuTitles)
        return false;
    RECT title{};
    ::GetWindowRect(*m_buttons[static_cast<size_t>(index)], &title);
    RECT bar{};
    ::GetWindowRect(m_hWnd, &bar);
    // Upward from the bar's top edge, as the device opens a command bar's menu.
    const UINT command = ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                                            title.left, bar.top, m_hWnd, nullptr);
    if (command)
        GetParent().PostMessage(WM_COMMAND, MAKEWPARAM(command, 0));
    return true;
}

bool CCommandBar::OnCommand(UINT id, UINT code, HWND control)
{
    if (id >= kFirstTitleId && id < kFirstTitleId + static_cast<UINT>(m_menuTitles)) {
        if (code == BN_CLICKED)
            OpenMenu(static_cast<int>(id - kFirstTitleId));
        return true;
    }
    // A picture button's command is the parent's, as if the button were its own.
    GetParent().SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    return true;
}

LRESULT CCommandBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        const RECT client = GetClientRect();
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        RECT line{client.left, client.top, client.right, client.top + m_scale};
        ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_BTNSHADOW));
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CCommandBar::Destroy()
{
    for (auto& button : m_buttons) {
        const HWND hwnd = button->GetSafeHwnd();
        button.reset();
        if (hwnd && ::IsWindow(hwnd))
            ::DestroyWindow(hwnd);
    }
    m_buttons.clear();
    m_menuTitles = 0;
    m_menu.Reset();
    DestroyWindow();
}

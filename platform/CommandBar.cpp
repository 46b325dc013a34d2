#include "platform/CommandBar.h"
#include <cstdint>

namespace {

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

bool CCommandBar::Create(HWND parent)
{
    if (!parent || !::IsWindow(parent))
        return false;
    Destroy();
    m_parent = parent;
    return true;
}

bool CCommandBar::InsertMenuBar(UINT menuId)
{
    if (!m_parent)
        return false;
    CMenuHandle menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId)));
    if (!menu || !::SetMenu(m_parent, menu.Get()))
        return false;
    m_menu = std::move(menu);
    ::DrawMenuBar(m_parent);
    return true;
}

bool CCommandBar::AddButtons(UINT toolBarId)
{
    if (!m_parent)
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
        HWND hwnd = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, width, height,
                                      m_parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(command)), instance,
                                      nullptr);
        auto button = std::make_unique<CCommandButton>();
        if (!hwnd || !button->SubclassWindow(hwnd)) {
            if (hwnd)
                ::DestroyWindow(hwnd);
            return false;
        }
        button->SetBitmap(CutPicture(strip.Get(), static_cast<int>(i), width, height));
        m_buttons.push_back(std::move(button));
    }
    return true;
}

void CCommandBar::PlaceButtons(const RECT& band) const
{
    const int size = band.bottom - band.top;
    int left = band.left;
    for (const auto& button : m_buttons) {
        button->MoveWindow(RECT{left, band.top, left + size, band.bottom});
        left += size;
    }
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
    if (m_menu && ::IsWindow(m_parent) && ::GetMenu(m_parent) == m_menu.Get())
        ::SetMenu(m_parent, nullptr);
    else if (m_menu && !::IsWindow(m_parent))
        m_menu.Detach();  // destroyed with its window
    m_menu.Reset();
    m_parent = nullptr;
}

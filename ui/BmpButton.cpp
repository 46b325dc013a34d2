#include "ui/BmpButton.h"

namespace {

constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

CBmpButton::CBmpButton() : m_bkColor(::GetSysColor(COLOR_BTNFACE)) {}

void CBmpButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    const RECT client = GetClientRect();
    {
        CBrushHandle background(::CreateSolidBrush(m_bkColor));
        if (background)
            ::FillRect(item.hDC, &client, background.Get());
    }
    CBitmapButton::DrawItem(item);

    // Top and left edge with the first pen, right and bottom with the second: grey over black
    // looks raised, black over grey pushed in.
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    CPenHandle first(::CreatePen(PS_SOLID, 1, pressed ? kBlack : kGrey));
    CPenHandle second(::CreatePen(PS_SOLID, 1, pressed ? kGrey : kBlack));
    if (!first || !second)
        return;
    const int right = client.right - 1;
    const int bottom = client.bottom - 1;
    HGDIOBJ old = ::SelectObject(item.hDC, first.Get());
    ::MoveToEx(item.hDC, 0, bottom, nullptr);
    ::LineTo(item.hDC, 0, 0);
    ::LineTo(item.hDC, right, 0);
    ::SelectObject(item.hDC, second.Get());
    ::LineTo(item.hDC, right, bottom);
    ::LineTo(item.hDC, 0, bottom);
    ::SelectObject(item.hDC, old);
}

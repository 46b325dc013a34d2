#include "framework/BitmapButton.h"
#include <algorithm>

namespace {

CBitmapHandle LoadBitmapResource(UINT id)
{
    if (id == 0)
        return CBitmapHandle();
    return CBitmapHandle(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

// The size of a bitmap resource as its header gives it, without loading the picture; false
// when the resource is missing or too short for its header.
bool ResourceBitmapSize(UINT id, SIZE& size)
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HRSRC info = id != 0 ? ::FindResourceW(instance, MAKEINTRESOURCEW(id), RT_BITMAP) : nullptr;
    HGLOBAL loaded = info ? ::LoadResource(instance, info) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    const DWORD length = data ? ::SizeofResource(instance, info) : 0;
    const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(data);
    if (length >= sizeof(BITMAPCOREHEADER) && core->bcSize == sizeof(BITMAPCOREHEADER)) {
        size = SIZE{core->bcWidth, core->bcHeight};
        return true;
    }
    if (length < sizeof(BITMAPINFOHEADER))
        return false;
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    size = SIZE{header->biWidth, header->biHeight < 0 ? -header->biHeight : header->biHeight};
    return true;
}

}  // namespace

bool CBitmapButton::LoadBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled)
{
    SIZE size{};
    if (!ResourceBitmapSize(normal, size))
        return false;
    const UINT ids[kCount] = {normal, selected, focus, disabled};
    for (int i = 0; i < kCount; ++i) {
        m_bitmaps[i].Reset();
        m_pending[i] = ids[i];
    }
    Redraw();
    return true;
}

void CBitmapButton::LoadPendingBitmaps()
{
    for (int i = 0; i < kCount; ++i) {
        if (m_pending[i] != 0)
            m_bitmaps[i] = LoadBitmapResource(m_pending[i]);
        m_pending[i] = 0;
    }
}

void CBitmapButton::SetBitmap(CBitmapHandle normal)
{
    for (int i = 0; i < kCount; ++i) {
        m_bitmaps[i].Reset();
        m_pending[i] = 0;
    }
    m_bitmaps[kNormal] = std::move(normal);
    Redraw();
}

bool CBitmapButton::GetContentSize(SIZE& size) const
{
    if (m_bitmaps[kNormal]) {
        size = BitmapSize(m_bitmaps[kNormal].Get());
        return true;
    }
    return ResourceBitmapSize(m_pending[kNormal], size);
}

void CBitmapButton::Redraw() const
{
    // A button not on the screen yet is drawn when it shows; asking for it now costs a trip
    // to the window system per button while a window of them is being built.
    if (m_hWnd && ::IsWindowVisible(m_hWnd))
        Invalidate();
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    LoadPendingBitmaps();
    HBITMAP bitmap = m_bitmaps[kNormal].Get();
    if ((item.itemState & ODS_DISABLED) && m_bitmaps[kDisabled])
        bitmap = m_bitmaps[kDisabled].Get();
    else if ((item.itemState & ODS_SELECTED) && m_bitmaps[kSelected])
        bitmap = m_bitmaps[kSelected].Get();
    else if ((item.itemState & ODS_FOCUS) && m_bitmaps[kFocus])
        bitmap = m_bitmaps[kFocus].Get();
    if (!bitmap)
        return;
    HDC memory = ::CreateCompatibleDC(item.hDC);
    if (!memory)
        return;
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    // A button made larger than its picture (by the layout scaler) shows the picture enlarged
    // by the largest whole factor that fits, so that its pixels stay sharp, and centred.
    const SIZE size = BitmapSize(bitmap);
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int factor = size.cx > 0 && size.cy > 0 ? std::max(1L, std::min(width / size.cx, height / size.cy)) : 1;
    const int drawnWidth = size.cx * factor;
    const int drawnHeight = size.cy * factor;
    ::StretchBlt(item.hDC, item.rcItem.left + (width - drawnWidth) / 2, item.rcItem.top + (height - drawnHeight) / 2,
                 drawnWidth, drawnHeight, memory, 0, 0, size.cx, size.cy, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

bool CBitmapButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (message != WM_DRAWITEM)
        return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

#include "platform/CommandBar.h"

bool CCommandBar::Create(SHMENUBARINFO& info)
{
    Destroy();
    info.cbSize = sizeof info;
    info.hInstRes = ::GetModuleHandleW(nullptr);
    if (!info.hwndParent || !::SHCreateMenuBar(&info))
        return false;
    m_hWnd = info.hwndMB;
    return m_hWnd != nullptr;
}

bool CCommandBar::CreateMenuBar(HWND parent, UINT menuId)
{
    SHMENUBARINFO info{};
    info.hwndParent = parent;
    info.dwFlags = SHCMBF_HMENU;
    info.nToolBarId = menuId;
    return Create(info);
}

bool CCommandBar::CreateButtonBar(HWND parent, UINT barId, int pictures)
{
    SHMENUBARINFO info{};
    info.hwndParent = parent;
    info.nToolBarId = barId;
    info.nBmpId = static_cast<int>(barId);
    info.cBmpImages = pictures;
    return Create(info);
}

int CCommandBar::GetHeight() const
{
    RECT rect{};
    if (!m_hWnd || !::GetWindowRect(m_hWnd, &rect))
        return 0;
    return rect.bottom - rect.top;
}

HMENU CCommandBar::GetMenu() const
{
    return m_hWnd ? reinterpret_cast<HMENU>(::SendMessageW(m_hWnd, SHCMBM_GETMENU, 0, 0)) : nullptr;
}

void CCommandBar::Place()
{
    const HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    RECT client{};
    if (!parent || !::GetClientRect(parent, &client))
        return;
    const int height = GetHeight();
    RECT now{};
    ::GetWindowRect(m_hWnd, &now);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
    const RECT place{0, client.bottom - height, client.right, client.bottom};
    // Each move is a trip to the window system: a bar in its place stays.
    if (!::EqualRect(&now, &place))
        ::MoveWindow(m_hWnd, place.left, place.top, place.right - place.left, height, TRUE);
}

void CCommandBar::Destroy()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

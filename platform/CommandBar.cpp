#include "platform/CommandBar.h"

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

void CCommandBar::Destroy()
{
    if (m_menu && ::IsWindow(m_parent) && ::GetMenu(m_parent) == m_menu.Get())
        ::SetMenu(m_parent, nullptr);
    else if (m_menu && !::IsWindow(m_parent))
        m_menu.Detach();  // destroyed with its window
    m_menu.Reset();
    m_parent = nullptr;
}

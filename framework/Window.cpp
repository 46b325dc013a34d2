#include "framework/Window.h"

std::wstring CWindow::GetWindowText() const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(m_hWnd, text.data(), length + 1)));
    return text;
}

std::wstring CWindow::GetClassName() const
{
    wchar_t name[256] = L"";
    return std::wstring(name, static_cast<size_t>(::GetClassNameW(m_hWnd, name, 256)));
}

RECT CWindow::GetClientRect() const
{
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

RECT CWindow::GetRectInParent() const
{
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> CWindow::GetChildren() const
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

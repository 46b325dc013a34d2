#pragma once
// Non-owning views of a window or control: a window handle with the calls the program makes
// on it. Copying a view copies the handle only; nothing is destroyed when a view goes away.
#include <windows.h>
#include <string>
#include <vector>

class CWindow {
public:
    CWindow(HWND hwnd = nullptr) noexcept : m_hWnd(hwnd) {}

    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    operator HWND() const noexcept { return m_hWnd; }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam) != FALSE;
    }

    CWindow GetDlgItem(int id) const { return CWindow(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWindow GetParent() const { return CWindow(::GetParent(m_hWnd)); }
    std::wstring GetWindowText() const;
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetClassName() const;
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }

    RECT GetClientRect() const;
    // The window's rectangle in the client coordinates of its parent.
    RECT GetRectInParent() const;
    void MoveWindow(const RECT& rect, bool repaint = true) const
    {
        ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
    }
    void SetFont(HFONT font, bool redraw = true) const
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void ShowWindow(int show) const { ::ShowWindow(m_hWnd, show); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }
    void Invalidate() const { ::InvalidateRect(m_hWnd, nullptr, TRUE); }

    // The direct child windows in the system's child order, collected before the caller
    // moves or destroys any of them.
    std::vector<HWND> GetChildren() const;

protected:
    HWND m_hWnd;
};

class CButton : public CWindow {
public:
    using CWindow::CWindow;
    // Presses the button as a tap does: the parent gets its BN_CLICKED.
    void Click() const { SendMessage(BM_CLICK); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
};

class CStatic : public CWindow {
public:
    using CWindow::CWindow;
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
};

#include "framework/Dialog.h"
#include "framework/MainWindow.h"

HWND CDialog::Owner() const
{
    // A dialog opened from a control of another dialog is owned, and disabled while it runs,
    // by that dialog's top-level window.
    HWND owner = m_owner ? m_owner : GetMainWindow();
    while (owner && (CWindow(owner).GetStyle() & WS_CHILD))
        owner = ::GetParent(owner);
    return owner;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd)
        return -1;
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), Owner(), &CWnd::DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialog::DoModalIndirect(const DLGTEMPLATE* dialogTemplate)
{
    if (m_hWnd)
        return -1;
    return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate, Owner(), &CWnd::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result)
{
    ::EndDialog(m_hWnd, result);
}

bool CDialog::OnInitDialog()
{
    return true;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(UINT id, UINT, HWND)
{
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

void CDialog::DropCaption() const
{
    const DWORD style = GetStyle();
    if (!(style & WS_CAPTION) || (style & WS_CHILD))
        return;
    const RECT client = GetClientRect();
    const DWORD bare = style & ~(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(bare));
    // The client area keeps its size: the window loses the caption's height.
    RECT frame = client;
    ::AdjustWindowRectEx(&frame, bare, FALSE, static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        DropCaption();
        return OnInitDialog() ? TRUE : FALSE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

#include "framework/Dialog.h"
#include "framework/MainWindow.h"

HWND CDialog::Owner() const
{
    // A dialog opened from a control of another dialog is owned, and disabled while it runs,
    // by that dialog's top-level window.
    const HWND owner = m_owner ? m_owner : GetMainWindow();
    return owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
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

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog() ? TRUE : FALSE;
    return CWnd::WindowProc(message, wParam, lParam);
}

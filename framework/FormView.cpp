#include "framework/FormView.h"

bool CFormView::Create(HWND frame, UINT id)
{
    if (m_hWnd)
        return false;
    HWND view = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), frame,
                                     &CWnd::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!view)
        return false;
    ::SetWindowLongPtrW(view, GWLP_ID, static_cast<LONG_PTR>(id));
    // A view is shown with its frame whatever its template says; a hidden view would leave
    // the frame empty while its controls still exist.
    ::ShowWindow(view, SW_SHOWNA);
    return true;
}

void CFormView::OnInitialUpdate() {}

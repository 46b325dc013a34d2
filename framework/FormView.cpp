#include "framework/FormView.h"

bool CFormView::Create(HWND frame, UINT id)
{
    if (m_hWnd)
        return false;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const DLGTEMPLATE* unsized =
        m_bPlacesControls && m_template.Load(instance, m_templateId) ? m_template.Get() : nullptr;
    // Made without a dialog procedure, for the dialog manager then does not look for a first
    // control to focus: a view takes no focus from its creation, and the search asks the
    // window system about every control, twice while they are hidden. The object takes the
    // view over as soon as it exists.
    HWND view = unsized ? ::CreateDialogIndirectParamW(instance, unsized, frame, nullptr, 0)
                        : ::CreateDialogParamW(instance, MAKEINTRESOURCEW(m_templateId), frame, nullptr, 0);
    if (!view)
        return false;
    AttachDialog(view);
    ::SetWindowLongPtrW(view, GWLP_ID, static_cast<LONG_PTR>(id));
    // A view is shown with its frame whatever its template says; a hidden view would leave
    // the frame empty while its controls still exist.
    ::ShowWindow(view, SW_SHOWNA);
    return true;
}

void CFormView::OnInitialUpdate() {}

RECT CFormView::GetTemplateRect(UINT controlId) const
{
    RECT units{};
    if (!m_template.GetItemRect(controlId, units))
        return GetDlgItem(static_cast<int>(controlId)).GetRectInParent();
    // Position and size each mapped on its own, as the dialog manager maps them.
    RECT mapped{units.left, units.top, units.right - units.left, units.bottom - units.top};
    ::MapDialogRect(m_hWnd, &mapped);
    return RECT{mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

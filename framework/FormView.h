#pragma once
// A view whose face is a dialog template: a child window of its frame holding the template's
// controls, which send their notifications to the view.
#include "framework/DialogTemplate.h"
#include "framework/Wnd.h"

class CFormView : public CWnd {
public:
    // placesControls: the view sizes and places every control of its template itself, in
    // OnInitialUpdate, before the frame is shown; view and controls are then created with no
    // size (CUnsizedDialogTemplate), so that this placement is the only one.
    explicit CFormView(UINT templateId, bool placesControls = false)
        : m_templateId(templateId), m_bPlacesControls(placesControls)
    {
    }

    // Creates the view from its template (which must have the child style) as a child of the
    // frame, with the given control id, visible. False when the system refused it.
    bool Create(HWND frame, UINT id);
    // Called once by the frame when frame and view exist; the base does nothing.
    virtual void OnInitialUpdate();

protected:
    // The control's rectangle as its template gives it, in pixels of the view (empty when
    // there is no such control): where a view that places its controls starts from.
    RECT GetTemplateRect(UINT controlId) const;

private:
    UINT m_templateId;
    bool m_bPlacesControls;
    CUnsizedDialogTemplate m_template;
};

#pragma once
// A view whose face is a dialog template: a child window of its frame holding the template's
// controls, which send their notifications to the view.
#include "framework/Wnd.h"

class CFormView : public CWnd {
public:
    explicit CFormView(UINT templateId) : m_templateId(templateId) {}

    // Creates the view from its template (which must have the child style) as a child of the
    // frame, with the given control id, visible. False when the system refused it.
    bool Create(HWND frame, UINT id);
    // Called once by the frame when frame and view exist; the base does nothing.
    virtual void OnInitialUpdate();

private:
    UINT m_templateId;
};

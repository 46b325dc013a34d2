#pragma once
// The program's top-level frame: a window titled with the application's title and carrying
// the icon of its resource id, with its command bar (the child ID_COMMAND_BAR, if it has one)
// across the bottom and one view filling the rest of its client area. Commands go to the view
// first, then to the frame, then to the application object.
#include "framework/FormView.h"
#include "framework/Wnd.h"

class CFrameWnd : public CWnd {
public:
    // Creates the frame over the screen's work area, as the device shows every program, without
    // a caption (the device's navigation bar shows the title), with the application title
    // (string 57344) and the icon resourceId, set once the message loop runs; the view made in
    // OnCreate then gets its initial update. False when creation failed (the object has no
    // window).
    bool LoadFrame(UINT resourceId);
    CFormView* GetActiveView() const { return m_pActiveView; }

protected:
    // WM_CREATE. Returns false to make the creation fail; the base returns true.
    virtual bool OnCreate();
    // WM_DESTROY, while the window and its children still exist; the base does nothing. The
    // main window's destruction then ends the message loop.
    virtual void OnDestroy();
    // WM_SETFOCUS; the base passes the focus to the view.
    virtual void OnSetFocus();
    // The view that gets commands first and fills the client area (not owned); null for none.
    void SetActiveView(CFormView* view) { m_pActiveView = view; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Lays the command bar across the bottom (at the height it has) and the view above it.
    void RecalcLayout();

private:

    CFormView* m_pActiveView = nullptr;
};

#pragma once
// The program's top-level frame: a window titled with the application's title and carrying
// the icon of its resource id, with one view filling its client area. Commands go to the
// view first, then to the frame, then to the application object.
#include "framework/FormView.h"
#include "framework/Wnd.h"

class CFrameWnd : public CWnd {
public:
    // Creates the frame over the screen's work area, as the device shows every program, with
    // the application title (string 57344) and the icon resourceId; the view made in OnCreate
    // then gets its initial update. False when creation failed (the object has no window).
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

private:
    void RecalcLayout();

    CFormView* m_pActiveView = nullptr;
};

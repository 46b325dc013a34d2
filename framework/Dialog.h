#pragma once
// A modal dialog from a dialog template. Derived dialogs override the hooks below; the
// framework calls them from the dialog's own message handling. The dialog shows without the
// template's caption, as the device shows its dialogs: the title (the window's text) is what
// the device's navigation bar shows.
#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    // Owner null: the program's main window, if there is one.
    explicit CDialog(UINT templateId, HWND owner = nullptr) : m_templateId(templateId), m_owner(owner) {}

    // Shows the dialog and returns when it has ended: the code given to EndDialog (IDOK,
    // IDCANCEL...), or -1 when the dialog could not be created.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);

protected:
    // Called once the controls exist, before the dialog is shown. Return true to have the
    // system put the focus on the first control; false when the override set the focus
    // itself. The base does nothing and returns true.
    virtual bool OnInitDialog();
    // OK (or Enter). The base ends the dialog with IDOK; an override that finds the input
    // invalid returns without calling it, and the dialog stays open.
    virtual void OnOK();
    // Cancel (or Escape, or the close box). The base ends the dialog with IDCANCEL.
    virtual void OnCancel();
    // Every WM_COMMAND. Returns true when handled. The base sends IDOK to OnOK and IDCANCEL
    // to OnCancel; overrides call it for the commands they do not handle.
    bool OnCommand(UINT id, UINT code, HWND control) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // DoModal for a template built in memory.
    INT_PTR DoModalIndirect(const DLGTEMPLATE* dialogTemplate);

private:
    HWND Owner() const;
    // Takes the caption (and the system menu and sizing border) off a top-level dialog, keeping
    // its client area's size.
    void DropCaption() const;

    UINT m_templateId;
    HWND m_owner;
};

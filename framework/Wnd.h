#pragma once
// The owning base of every window the program creates or takes over: one object per window,
// found by the window procedure through the window's GWLP_USERDATA. A window of the
// framework's own class is created for the object; an existing control (from a dialog
// template) is subclassed, keeping its own behaviour behind Default; a dialog or form view
// runs DialogProc. Parents hand owner-draw and colour requests back to the control's object.
//
// Handlers never let an exception out: a window procedure is called by the system, which
// cannot unwind through it; an escaping exception ends the program (std::terminate).
#include <windows.h>
#include "framework/Window.h"

class CWnd : public CWindow {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    // A subclassed control is handed back to its own procedure (its parent destroys it); a
    // window of our own is destroyed, without calling this object's handlers any more.
    virtual ~CWnd();

    // The object behind a window that this framework created or subclassed; null otherwise.
    static CWnd* FromHandle(HWND hwnd);

    // Creates a window of the framework's own class for this object; false when the system
    // refused it (the object then has no window).
    bool CreateEx(DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect, HWND parent,
                  UINT_PTR menuOrId);
    // Routes the control's messages through this object first; false (nothing changed) when
    // there is no such control or it already belongs to an object.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }
    // Destroys the window through the system, so that the object's handlers see it go.
    void DestroyWindow();

    // A WM_COMMAND that reached this window: a menu item (code 0), an accelerator (code 1) or
    // a child control's notification. Returns true when it was handled; the base handles
    // nothing.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    // A WM_NOTIFY from a child control. Returns true when handled, with result the answer to
    // the control; the base handles nothing.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result);

protected:
    // Every message of the window. The base passes WM_COMMAND to OnCommand, WM_NOTIFY to
    // OnNotify and everything else (and what they leave unhandled) to Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What the window would do without this object: the control's own procedure, the system's
    // default procedure, or for a dialog "not handled".
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // A request about this control that its parent received (WM_DRAWITEM, WM_CTLCOLOR...).
    // Returns true when handled, with result the parent's answer; the base handles nothing.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The dialog procedure of dialogs and form views; the creation parameter is the object.
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // Takes over a dialog that was created without a dialog procedure: from now on its
    // messages run DialogProc for this object (it sees no WM_INITDIALOG).
    void AttachDialog(HWND hwnd);

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static CWnd* FromUserData(HWND hwnd);
    static bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Attach(HWND hwnd);
    void Detach();
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_superProc = nullptr;
    bool m_bDialog = false;
    bool m_bDefaulted = false;
};

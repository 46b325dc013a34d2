#pragma once
// The application object: the program's one instance of a class derived from CWinApp runs
// its start-up in InitInstance and then the message loop, the program's main loop. It owns
// the main window once start-up has made one.
#include <windows.h>
#include <memory>
#include <string>
#include "framework/Wnd.h"

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Per-instance start-up, with m_hInstance, m_strCmdLine and m_nCmdShow set. Returns false
    // to end the program; true to go on to the message loop, which runs only when a main
    // window was made (SetMainWnd). The base does nothing and returns true.
    virtual bool InitInstance();
    // A command that no window handled (menu items of the application such as About and
    // Exit). Returns true when handled; the base handles the standard exit (57665) by closing
    // the main window.
    virtual bool OnCommand(UINT id);

    // The entry's work: InitInstance, then the message loop when there is a main window.
    // Returns the process's exit code (0 without a window, else the quit message's code).
    int WinMain(HINSTANCE instance, const wchar_t* commandLine, int showCommand);
    // Dispatches messages until the thread's quit message; returns its exit code.
    int Run();

    // Takes the window as the main window, owned from now on, and registers it
    // (SetMainWindow) so that the rest of the program can tell it apart.
    void SetMainWnd(std::unique_ptr<CWnd> window);
    CWnd* GetMainWnd() const { return m_pMainWnd.get(); }

    HINSTANCE m_hInstance = nullptr;
    std::wstring m_strCmdLine;
    int m_nCmdShow = SW_SHOWNORMAL;

private:
    std::unique_ptr<CWnd> m_pMainWnd;
};

// The application object while one exists; null otherwise (as in most tests).
CWinApp* GetApp();

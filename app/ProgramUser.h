#pragma once
// The user of the program's switches: the one at the main window, or the one who started the
// program from its command line. A profile's message and a failure the switch goes on after
// are shown to them in message boxes; only the window's user wants other programs ended when
// they hold a file the switch replaces.
#include <windows.h>
#include "state/SwitchSession.h"

class CProgramUser : public CSwitchUser {
public:
    // window: the main window the boxes belong to; null from the command line.
    explicit CProgramUser(HWND window) : m_window(window) {}

    void Tell(const std::wstring& text) override;
    void Warn(const error& failure) override;
    void FreeHeldFiles() override;

private:
    HWND m_window;
};

// Makes user the session's user while it lives, and nobody again after.
class CSessionUser {
public:
    CSessionUser(CSwitchSession& session, CSwitchUser* user) : m_session(session) { m_session.SetUser(user); }
    ~CSessionUser() { m_session.SetUser(nullptr); }
    CSessionUser(const CSessionUser&) = delete;
    CSessionUser& operator=(const CSessionUser&) = delete;

private:
    CSwitchSession& m_session;
};

#pragma once
// Ending other running programs so that files they hold open can be replaced, and the soft
// reset that brings the display driver up in a newly written mode.
#include <windows.h>

class CTaskManager {
public:
    CTaskManager() = default;
    CTaskManager(const CTaskManager&) = delete;
    CTaskManager& operator=(const CTaskManager&) = delete;
    virtual ~CTaskManager() = default;

    // Terminates the process behind every ordinary application window: visible, top-level,
    // neither owned nor a tool window, with a title. Nothing is closed while the program has
    // no main window, and never the program's own process. The terminations are not waited
    // for. Always true.
    bool CloseRunningApplications();

    // Terminates the process with exit code 0; true when the system accepted that. A process
    // that cannot be opened is reported in a message box with the system's text and gives
    // false.
    bool KillProcess(DWORD processId);

private:
    static BOOL CALLBACK EnumWindowProc(HWND window, LPARAM param);
    void CloseApplicationOf(HWND window);
};

// Restarts the device at once, without shutting programs down. Returns (false) only when the
// platform refused the request; nothing of the program runs after a successful one.
bool SoftReset();

#pragma once
// Ending other running programs so that files they hold open can be replaced, and the soft
// reset that brings the display driver up in a newly written mode.
#include <windows.h>
#include <vector>
#include "framework/Handle.h"

class CTaskManager {
public:
    CTaskManager() = default;
    CTaskManager(const CTaskManager&) = delete;
    CTaskManager& operator=(const CTaskManager&) = delete;
    virtual ~CTaskManager() = default;

    // Terminates the process behind every ordinary application window: visible, top-level,
    // neither owned nor a tool window, with a title; never the program's own process. Only
    // the window's user wants this: from the command line nothing is closed. Termination is
    // asynchronous, so
    // this returns once every terminated process has ended (or kTerminationWaitMs have
    // passed), when the files they held are free. Always true.
    bool CloseRunningApplications();

    // Terminates the process with exit code 0; true when the system accepted that, false with
    // the system's reason as the last error when the process cannot be opened or ended. The
    // end of the process is not waited for.
    bool KillProcess(DWORD processId);

    // How long CloseRunningApplications waits for the terminated processes, all together.
    static constexpr DWORD kTerminationWaitMs = 5000;

private:
    static BOOL CALLBACK EnumWindowProc(HWND window, LPARAM param);
    void CloseApplicationOf(HWND window);
    // KillProcess, keeping the process handle when the termination was accepted.
    CKernelHandle Terminate(DWORD processId);

    std::vector<CKernelHandle> m_terminated;
};

// Restarts the device at once, without shutting programs down: nothing of the program runs
// after it. Throws error, naming the system's reason, when the system refused it.
void SoftReset();

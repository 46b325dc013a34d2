#pragma once
// The application: brings the installation up to date, carries out an action named on the
// command line (install, uninstall, the profile test, a profile's check, "KEEP" after a switch,
// or a video mode) without a window, and otherwise checks the device and opens the main window.
#include <string>
#include "core/ModeSwitch.h"
#include "framework/WinApp.h"

class CDorixApp : public CWinApp {
public:
    // Always true: without a main window the program then ends.
    bool InitInstance() override;
    // The About box; the rest as the base.
    bool OnCommand(UINT id) override;

    // Carries out the action the command line names, its switches in modeSwitch. True when
    // start-up must end without a window.
    static bool ProcessCommandLine(const std::wstring& commandLine, CModeSwitch& modeSwitch);

private:
    // The switch session of this run of the program, handed to the window or the command
    // line's action.
    CModeSwitch m_modeSwitch;
};

#pragma once
// The application: brings the installation up to date, carries out an action named on the
// command line (install, uninstall, the profile test, "KEEP" after a switch, or a video mode)
// without a window, and otherwise checks the device and opens the main window.
#include <string>
#include "framework/WinApp.h"

class CDorixApp : public CWinApp {
public:
    // Always true: without a main window the program then ends.
    bool InitInstance() override;
    // The About box; the rest as the base.
    bool OnCommand(UINT id) override;

    // Whether keyword stands on the prepared command line as a word of its own, bare or with
    // "/" or "-" in front, in any letter case.
    static bool HasSwitch(const std::wstring& commandLine, const std::wstring& keyword);
    // Prepares commandLine in place (upper case, one space around it) and carries out the
    // action it names. True when start-up must end without a window.
    static bool ProcessCommandLine(std::wstring& commandLine);
    // True with "Y" on the line or when the user confirms the soft reset.
    static bool ConfirmReset(const std::wstring& commandLine);
};

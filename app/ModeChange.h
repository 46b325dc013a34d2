#pragma once
// One switch as the user asked for it, from the main window, the command line, a program run
// or the way back of the keep-mode question: the questions first, then the switch with or
// without the safety net, a pending program run taken down, and the soft reset (or, with
// "NoReset" from the window, the program's end).
#include <windows.h>
#include "state/VideoMode.h"

class CModeSwitch;

class CModeChange {
public:
    // The switch runs in modeSwitch, the session of the program's run.
    CModeChange(CModeSwitch& modeSwitch, const CVideoMode& target) : m_modeSwitch(modeSwitch), m_target(target) {}

    // Ask before the reset (not with "Y", nor from the window with "NoResetWarning").
    bool m_bAsk = true;
    // The window the questions belong to; null from the command line.
    HWND m_owner = nullptr;
    // The left-handed VGA mode's warning first (from the window, unless "NoVGA3Warning").
    bool m_bWarnVga3 = false;
    // The safety net (not with "Y", "NoReset" or on a way back).
    bool m_bSafetyNet = true;
    // Nobody is there to answer the profiles' messages (a way back after the count ran out).
    bool m_bUnattended = false;
    // A soft reset ends it; otherwise the program ends and the mode takes effect at the next one.
    bool m_bReset = true;

    // The questions; false when the user cancelled, and nothing has changed.
    bool Confirm() const;
    // The switch, with the net when asked for. Raises the switch's error, its changes rolled
    // back.
    void Switch() const;
    // After a switch: the soft reset, or the program's end. Raises the error of a reset the
    // system refused.
    void Finish() const;
    // All of it: the questions, the switch, a pending program run taken down (the user chose
    // another mode) and the end. False when the user cancelled. Raises the errors of Switch
    // and Finish.
    bool Run() const;

    const CVideoMode& GetTarget() const { return m_target; }
    CModeSwitch& GetModeSwitch() const { return m_modeSwitch; }

private:
    CModeSwitch& m_modeSwitch;
    CVideoMode m_target;
};

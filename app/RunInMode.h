#pragma once
// A program run in a video mode of its own from a shortcut's command line ("RUN"), and the
// "RESUME" run after the reset that carries it out.
#include "app/ModeChange.h"
#include "core/ProgramRun.h"

class CRunInMode {
public:
    // The shortcut tapped: in the target mode already, the program starts at once. Otherwise,
    // after the confirmation (none with yes), the run is recorded with its Startup shortcut,
    // the device switches and resets; a switch that fails takes record and shortcut down
    // again. With the safety net on, the run's shortcut carries the net's question too.
    // change is the switch as the command line asked for it. Reports failures and ends the
    // program with exit code 1.
    static void Start(const CModeChange& change, CProgramRun run);

    // After the reset: the net's question first ("Back" cancels the run and goes back), then
    // the recorded program starts. Without "RETURN" record and shortcut go at once; with it,
    // the program is waited for and the device switches back, takes record and shortcut
    // down and resets. A reset while the program ran counts as its end; a program that
    // cannot be started is reported and goes back as if it had ended; a record that a switch
    // made meanwhile took away leaves the device in its mode. Raises the errors of a
    // damaged record (deleted first), of a program that cannot be started without
    // "RETURN", and of the switch back (record and shortcut stay for the next boot).
    static void Resume(CModeSwitch& modeSwitch);

private:
    static void GoBack(CModeSwitch& modeSwitch, const CVideoMode& mode);
};

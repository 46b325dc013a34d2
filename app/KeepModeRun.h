#pragma once
// The "KEEP" run after the reset that a switch with the safety net ends in.

class CKeepModeRun {
public:
    // The "KEEP" run after the reset. Without a record it only deletes a stale shortcut. With
    // one it asks; "Keep" deletes record and shortcut; "Back" or the count's end deletes them
    // first, so that nothing can start over at the next boot, together with whatever
    // alsoOnBack takes down, then switches to the recorded mode and resets. A record naming
    // no mode is deleted and its error raised; so are the errors of the switch back. True
    // when the device stays in its mode.
    static bool Run(void (*alsoOnBack)() = nullptr);
};

#pragma once
// The "KEEP" run after the reset that a switch with the safety net ends in.

class CModeSwitch;

class CKeepModeRun {
public:
    // The "KEEP" run after the reset. Without a record it only deletes a stale shortcut. With
    // one it asks; "Keep" deletes record and shortcut; "Back" or the count's end switches to
    // the recorded mode first, then deletes them, together with a pending program run (going
    // back is choosing another mode), and resets. The way back after the count's end skips
    // the profiles' messages: nobody is there to answer them. A record naming no mode is
    // deleted and its error raised; an error of the switch back is raised with the net left
    // up, so that the next boot asks again. True when the device stays in its mode.
    static bool Run(CModeSwitch& modeSwitch);
};

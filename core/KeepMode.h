#pragma once
// The safety net of a new video mode. With "KeepModeSeconds" on, a switch that goes on to the
// soft reset first records the mode the device runs in (settings sub-key "Pending", values
// "VGA" 0 or 1 and "Orientation" 0 to 3) and puts a shortcut into the Startup folder that
// starts the program with "KEEP" at the next boot. That run asks whether to keep the new mode;
// "Back", or no answer in time, switches back to the recorded mode.
#include <string>
#include "framework/Error.h"
#include "state/VideoMode.h"

class CModeSwitch;

class CKeepMode {
public:
    // A record that names no video mode.
    class CRecordException : public error {
    public:
        using error::error;
    };

    static constexpr int kDefaultSeconds = 15;
    // A stored count outside this range counts as the default.
    static constexpr int kMaxSeconds = 3600;

    // Whether "KeepModeSeconds" is nonzero; missing means off.
    static bool IsOn();
    // How long the question waits for an answer: the stored count, or the default when the
    // stored one is out of range.
    static int GetSeconds();

    // The shortcut's path, "Dorix Keep Mode.lnk" in the Startup folder; it starts the program
    // with "KEEP".
    static std::wstring GetShortcutPath();

    // The switch to target with the net: when it is on and target differs from the mode to
    // go back to (the device's mode, or the mode an earlier net still open names), the
    // record and the shortcut are written first and deleted again if the switch fails; a
    // switch to the mode an open net names takes that net down. Raises what SwitchTo raises;
    // when the net cannot be put up, a CRegistry::CWriteException (the record) or a
    // CFileException (the shortcut), and nothing has been switched then.
    static void SwitchTo(CModeSwitch& modeSwitch, const CVideoMode& target);

    // The mode recorded before the last switch; false when there is no record. Raises
    // CRecordException when the record names no video mode.
    static bool ReadRecord(CVideoMode& mode);
    static void WriteRecord(const CVideoMode& mode);
    // Deletes the record and the shortcut, whichever exist. Raises CRegistry::CWriteException
    // or CFileException when either stays.
    static void Remove();
};

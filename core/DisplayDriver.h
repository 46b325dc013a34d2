#pragma once
// What the display driver is started with at boot: its hardware table file, the resolution
// (HKEY_CURRENT_USER "ControlPanel\DisplayMode" "VGAMode", 1 for VGA) and the rotation
// (HKEY_LOCAL_MACHINE "System\GDI\Rotation" "Angle", in degrees). The switch writes them;
// uninstalling puts back the factory mode.
#include "state/VideoMode.h"

class CModeSwitch;

inline constexpr wchar_t kDriverTableFile[] = L"\\Windows\\atihwtbl0.txt";
inline constexpr wchar_t kDisplayModeKey[] = L"ControlPanel\\DisplayMode";
inline constexpr wchar_t kVgaModeValue[] = L"VGAMode";
inline constexpr wchar_t kRotationKey[] = L"System\\GDI\\Rotation";
inline constexpr wchar_t kAngleValue[] = L"Angle";

class CDisplayDriver {
public:
    // The mode the driver's settings name now: "VGAMode" and the panel section's "Rotation".
    // The program asks its switch session, which keeps the first answer of the run.
    static CVideoMode ReadCurrentMode();

    // Writes the driver table file and the driver's registry values for target, then rotates
    // the touch calibration from the session's current orientation to target's (and, with
    // "SwitchCalibrationData" on, keeps the current mode's copy and puts target's in place).
    // Raises CVideoModeException for clock values out of range or a live calibration that
    // cannot be read or rotated, CIniFile::CIniFileException for a missing section or key
    // and CFileException for an unreadable or unwritable table file; in each of these cases
    // neither the file, the registry nor the calibration has been changed.
    static void WriteSettings(CModeSwitch& session, const CVideoMode& target);
};

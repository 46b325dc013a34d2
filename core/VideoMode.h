#pragma once
// A video mode: QVGA or VGA in one of four orientations, with the clock values the display
// driver is started with. Its names key every per-mode setting of the program.
#include <cstdint>
#include <string>
#include "framework/Error.h"

class CVideoModeException : public error {
public:
    using error::error;
};

// What the display driver is started with at boot: its hardware table file, the resolution
// (HKEY_CURRENT_USER "ControlPanel\DisplayMode" "VGAMode", 1 for VGA) and the rotation
// (HKEY_LOCAL_MACHINE "System\GDI\Rotation" "Angle", in degrees). The switch writes them;
// uninstalling puts back the factory mode.
inline constexpr wchar_t kDriverTableFile[] = L"\\Windows\\atihwtbl0.txt";
inline constexpr wchar_t kDisplayModeKey[] = L"ControlPanel\\DisplayMode";
inline constexpr wchar_t kVgaModeValue[] = L"VGAMode";
inline constexpr wchar_t kRotationKey[] = L"System\\GDI\\Rotation";
inline constexpr wchar_t kAngleValue[] = L"Angle";
// The touch driver's calibration, HKEY_LOCAL_MACHINE "HARDWARE\DEVICEMAP\TOUCH"
// "CalibrationData": five points as text.
inline constexpr wchar_t kTouchKey[] = L"HARDWARE\\DEVICEMAP\\TOUCH";
inline constexpr wchar_t kTouchCalibrationValue[] = L"CalibrationData";

class CVideoMode {
public:
    // Orientation: 0 portrait, 1 landscape right-handed, 2 portrait upside down, 3 landscape
    // left-handed. The clock values are 0 (invalid) until loaded.
    CVideoMode(bool vga = false, int16_t orientation = 0) : m_bVGA(vga), m_nOrientation(orientation) {}

    // Equal when resolution and orientation are; clocks and name are ignored.
    bool operator==(const CVideoMode& other) const
    {
        return m_bVGA == other.m_bVGA && m_nOrientation == other.m_nOrientation;
    }
    bool operator!=(const CVideoMode& other) const { return !(*this == other); }

    bool IsLandscape() const { return (m_nOrientation & 1) != 0; }
    std::wstring GetResolutionName() const;
    // "QVGA.portrait", "VGA.landscape"...: formatted into m_strName and returned.
    std::wstring GetGroupName();
    // "QVGA.0" ... "VGA.3": formatted into m_strName and returned.
    std::wstring GetModeName();
    // Steps to the next mode to try when something is missing for this one; false (and
    // unchanged) at QVGA portrait standard.
    bool NextFallback();
    // The degrees written as "Angle": ((4 - orientation) x 90) modulo 360.
    int GetAngle() const { return ((4 - m_nOrientation) * 90) % 360; }

    static std::wstring FormatDwordText(int number);
    // The mode the driver's settings name now: "VGAMode" and the panel section's "Rotation".
    // The program asks the mode switch, which keeps the first answer of the run.
    static CVideoMode ReadCurrentMode();

    // Writes the driver table file and the driver's registry values for this mode, then
    // rotates the touch calibration from the device's current orientation to this one (and,
    // with "SwitchCalibrationData" on, keeps the current mode's copy and puts this mode's in
    // place). Raises CVideoModeException for clock values out of range or a live calibration
    // that cannot be read or rotated, CIniFile::CIniFileException for a missing section or
    // key and CFileException for an unreadable or unwritable table file; in each of these
    // cases neither the file, the registry nor the calibration has been changed.
    void WriteDriverSettings();

    // Built-in clock value and divider of this mode; "Video Mode not supported" for an
    // orientation outside 0..3.
    int32_t GetDefaultClock() const;
    int32_t GetDefaultDivider() const;
    // The stored overrides of the mode's group ("ClkFreq.N", "ClkDivider.N"), else the defaults.
    void LoadClocks();
    // Stores both values as overrides; a value equal to its default removes the override.
    // Raises CRegistry::CWriteException when the registry refuses a write.
    void SaveClocks();

    // Re-orders the live calibration's ring of four points from one orientation to another;
    // nothing is read when they are equal. "Cannot read CalibrationData" when the live value
    // is empty or missing, "Cannot rotate touchscreen data" when it does not hold five points;
    // the live value is unchanged then.
    static void RotateCalibration(int from, int to);
    // Copies the live calibration text, even an empty one, into this mode's saved copy.
    void SaveCalibration();
    // Puts this mode's saved copy in place of the live calibration, if there is a copy.
    void RestoreCalibration();

    bool m_bVGA;
    int16_t m_nOrientation;
    int32_t m_nClock = 0;
    int32_t m_nDivider = 0;
    std::wstring m_strName;

private:
    // The live calibration re-ordered from one orientation to another, as the text to write;
    // raises the calibration errors of RotateCalibration.
    static std::wstring RotatedCalibration(int from, int to);
    static void WriteLiveCalibration(const std::wstring& text);
};

#pragma once
// A video mode: QVGA or VGA in one of four orientations, with the clock values the display
// driver is started with. A plain value: its names key every per-mode setting of the program;
// what the display driver and the touch calibration do with a mode is core/DisplayDriver's
// and core/TouchCalibration's.
#include <cstdint>
#include <string>
#include "framework/Error.h"

class CVideoModeException : public error {
public:
    using error::error;
};

class CVideoMode {
public:
    // Orientation: 0 portrait, 1 landscape right-handed, 2 portrait upside down, 3 landscape
    // left-handed. The clock values are 0 (invalid) until loaded.
    CVideoMode(bool vga = false, int16_t orientation = 0) : m_bVGA(vga), m_nOrientation(orientation) {}

    // Equal when resolution and orientation are; the clocks are ignored.
    bool operator==(const CVideoMode& other) const
    {
        return m_bVGA == other.m_bVGA && m_nOrientation == other.m_nOrientation;
    }
    bool operator!=(const CVideoMode& other) const { return !(*this == other); }

    bool IsLandscape() const { return (m_nOrientation & 1) != 0; }
    std::wstring GetResolutionName() const;
    // "QVGA.portrait", "VGA.landscape"...
    std::wstring GetGroupName() const;
    // "QVGA.0" ... "VGA.3".
    std::wstring GetModeName() const;
    // Steps to the next mode to try when something is missing for this one; false (and
    // unchanged) at QVGA portrait standard.
    bool NextFallback();
    // The degrees written as "Angle": ((4 - orientation) x 90) modulo 360.
    int GetAngle() const { return ((4 - m_nOrientation) * 90) % 360; }

    // "dword:N", as the driver table file writes a number.
    static std::wstring FormatDwordText(int number);

    // Built-in clock value and divider of this mode; "Video Mode not supported" for an
    // orientation outside 0..3.
    int32_t GetDefaultClock() const;
    int32_t GetDefaultDivider() const;
    // The stored overrides of the mode's group ("ClkFreq.N", "ClkDivider.N"), else the defaults.
    void LoadClocks();
    // Stores both values as overrides; a value equal to its default removes the override.
    // Raises CRegistry::CWriteException when the registry refuses a write.
    void SaveClocks();

    bool m_bVGA;
    int16_t m_nOrientation;
    int32_t m_nClock = 0;
    int32_t m_nDivider = 0;
};

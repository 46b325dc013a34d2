#pragma once
// The scrollbar sizes and menu fonts the system is to use in one group of video modes
// (resolution and portrait/landscape). Kept in the settings registry under the group name and
// written into the window manager's settings, which the system reads when it restarts.
#include <cstdint>
#include <string>
#include "core/VideoMode.h"

class CRegistry;

// A menu font as the window manager stores it: "Nm", "Ht", "Wt", "It".
struct CMenuFont {
    std::wstring m_strFaceName = L"Tahoma";
    // Negative: character height in pixels.
    int32_t m_nHeight = -11;
    int32_t m_nWeight = FW_NORMAL;
    bool m_bItalic = false;

    // Reads the four values under subKey; a missing face name reads as "Tahoma", the other
    // values keep what the record holds.
    void Load(CRegistry& registry, const std::wstring& subKey);
    // Writes "Nm", "Ht", "Wt", "It" under subKey, in that order; "It" as 0 or 1.
    void Save(CRegistry& registry, const std::wstring& subKey) const;
};

class CModeProp {
public:
    // Defaults for the mode's resolution: scrollbars 13 pixels thick in QVGA and 18 in VGA,
    // arrow buttons 20 long, both menu fonts Tahoma -11 normal.
    explicit CModeProp(const CVideoMode& mode);

    // Reads the record of the mode's group from the settings registry; what was never stored
    // keeps its present value.
    void Load();
    void Save();
    // Writes all twelve values into HKEY_LOCAL_MACHINE "SYSTEM\GWE": the four sizes, then
    // the bar font's and the pop-up font's four values each.
    void ApplyToSystem();

    CMenuFont m_barFont;
    CMenuFont m_popFont;
    int32_t m_nHorzScrollWidth;
    int32_t m_nHorzScrollHeight;
    int32_t m_nVertScrollWidth;
    int32_t m_nVertScrollHeight;
    CVideoMode m_mode;
};

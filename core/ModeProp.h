#pragma once
// The scrollbar sizes and menu fonts the system is to use in one group of video modes
// (resolution and portrait/landscape). Kept in the settings registry under the group name and
// written into the window manager's settings, which the system reads when it restarts.
#include <cstdint>
#include <string>
#include "state/VideoMode.h"

class CRegistry;
class CSwitchSession;

// A menu font as the window manager stores it: "Nm", "Ht", "Wt", "It".
struct CMenuFont {
    // The largest size the font chooser takes, in points: twice its largest listed size, beyond
    // what a menu bar on this screen can show. A stored height beyond it (-400 pixels is 300
    // points) comes from a damaged or hand-edited store, never from the chooser.
    static constexpr int kMaxPoints = 72;

    std::wstring m_strFaceName = L"Tahoma";
    // Negative: character height in pixels.
    int32_t m_nHeight = -11;
    int32_t m_nWeight = FW_NORMAL;
    bool m_bItalic = false;

    // Reads the four values under subKey; a missing face name reads as "Tahoma", the other
    // values keep what the record holds.
    void Load(CRegistry& registry, const std::wstring& subKey);
    // Writes "Nm", "Ht", "Wt", "It" under subKey, in that order; "It" as 0 or 1. Raises
    // CRegistry::CWriteException when the registry refuses a write.
    void Save(CRegistry& registry, const std::wstring& subKey) const;
    // The same four values into the system's menu font; a height the font chooser cannot
    // store leaves the system's height as it is.
    void ApplyToSystem(CRegistry& system, const std::wstring& subKey) const;
    // Whether the font chooser stores this height: 1 to kMaxPoints points at the screen's
    // pixels per inch.
    static bool IsChooserHeight(int32_t height);
};

class CModeProp {
public:
    // The scrollbar sizes the settings take, in pixels.
    static constexpr int kMinScrollSize = 5;
    static constexpr int kMaxScrollSize = 50;

    // Defaults for the mode's resolution: scrollbars 13 pixels thick in QVGA and 18 in VGA,
    // arrow buttons 20 long, both menu fonts Tahoma -11 normal.
    explicit CModeProp(const CVideoMode& mode);

    // Reads the record of the mode's group from the settings registry; what was never stored
    // keeps its present value.
    void Load();
    // Raises CRegistry::CWriteException when the registry refuses a write.
    void Save();
    // Writes all twelve values into HKEY_LOCAL_MACHINE "SYSTEM\GWE": the four sizes, then
    // the bar font's and the pop-up font's four values each. A stored size outside
    // kMinScrollSize..kMaxScrollSize, or a font height the chooser cannot store, came from no
    // settings page: the system keeps its own value for it.
    void ApplyToSystem(const CSwitchSession& session);

    CMenuFont m_barFont;
    CMenuFont m_popFont;
    int32_t m_nHorzScrollWidth;
    int32_t m_nHorzScrollHeight;
    int32_t m_nVertScrollWidth;
    int32_t m_nVertScrollHeight;
    CVideoMode m_mode;
};

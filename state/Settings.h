#pragma once
// The user's lists and switching options, kept under HKEY_CURRENT_USER "Software\Dorix": the
// registry values and files that follow the video mode, the profiles found beside the program
// with their checked flags, and whether the Today theme and the touch calibration follow it.
#include <string>
#include <vector>
#include "profiles/Profile.h"
#include "state/ColArray.h"
#include "state/FileEntry.h"
#include "state/RegEntry.h"
#include "state/VideoMode.h"

class CSwitchSession;

class CSettings {
public:
    CSettings() = default;
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // Fills the object from the registry and the profile files on disk; missing values read
    // as their defaults, so it never fails.
    void Load();
    // Writes the whole object back; lists that shrank leave no stale items behind.
    void Save();
    // The non-empty texts "0" .. "Count - 1" of a list sub-key.
    static std::vector<std::wstring> ReadList(const wchar_t* subKey);

    // The stored-state part of a switch: files, registry entries, checked profiles, then the
    // Today theme, in the session. The first error ends it and reaches the caller.
    void SwitchAll(CSwitchSession& session, CVideoMode from, CVideoMode to);

    CTypedColArray<CRegEntry> m_regEntries;
    CTypedColArray<CFileEntry> m_fileEntries;
    CTypedColArray<CProfile> m_profiles;
    bool m_bSwitchTodayTheme = false;
    bool m_bSwitchCalibration = false;
};

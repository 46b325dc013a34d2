#pragma once
// Remembers the Today theme per mode and brings it back: a theme file is installed again with
// the system's cabinet installer, the standard theme by resetting the Today settings.
#include <string>
#include "framework/Error.h"

class CSwitchSession;
class CVideoMode;

class CTodayThemeManager {
public:
    class CTodayThemeException : public error {
    public:
        using error::error;
    };

    static const wchar_t kStandardTheme[];

    // Remembers the active theme for from and installs the one remembered for to, if any. A
    // theme that cannot be installed is reported to the session's user and the switch goes on.
    void Switch(const CSwitchSession& session, CVideoMode from, CVideoMode to);
    // "Windows Standard" or the full path of a theme file, in the session (a preview records
    // what it would do). Raises CTodayThemeException ("Cannot install theme "%1". File not
    // found." or "Cannot install theme "%1".").
    void Install(const CSwitchSession& session, const std::wstring& theme);
    void ResetToStandard(const CSwitchSession& session);
};

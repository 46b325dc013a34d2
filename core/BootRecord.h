#pragma once
// What the program leaves for itself across a reset: a sub-key of the settings, which may hold
// a video mode as "VGA" (0 or 1) and "Orientation" (0 to 3), and a shortcut in the Startup
// folder that starts the program with a keyword at the next boot to act on it. The keep-mode
// safety net and a program's run each have one.
#include <functional>
#include <string>
#include "state/VideoMode.h"

class CBootRecord {
public:
    // key: the sub-key of the settings; shortcutName: the shortcut's file name; keyword: what
    // the shortcut starts the program with.
    CBootRecord(const wchar_t* key, const wchar_t* shortcutName, const wchar_t* keyword)
        : m_pszKey(key), m_pszShortcutName(shortcutName), m_pszKeyword(keyword)
    {
    }

    const wchar_t* GetKey() const { return m_pszKey; }
    std::wstring GetShortcutPath() const;
    // Whether the record's key exists.
    bool Exists() const;

    // Whether the key holds either value of a mode.
    bool HasMode() const;
    // The mode recorded; false when either value is missing, no number or out of range.
    bool ReadMode(CVideoMode& mode) const;
    // Records mode. Raises CRegistry::CWriteException when the registry refuses it.
    void WriteMode(const CVideoMode& mode) const;

    // Writes the record (write) and then puts the shortcut up. When either fails, what was
    // written is taken down again, unless keepOnFailure (a record that was up before must
    // stay), and the failure reaches the caller: a CRegistry::CWriteException for the record,
    // a CFileException for the shortcut.
    void Arm(const std::function<void()>& write, bool keepOnFailure = false) const;
    // Deletes the record and the shortcut, whichever exist. Raises CRegistry::CWriteException
    // or CFileException when either stays.
    void Remove() const;

private:
    const wchar_t* m_pszKey;
    const wchar_t* m_pszShortcutName;
    const wchar_t* m_pszKeyword;
};

// The path of the shortcut name in the Startup folder.
std::wstring GetStartupShortcutPath(const wchar_t* name);

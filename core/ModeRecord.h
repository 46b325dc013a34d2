#pragma once
// What the program leaves for itself across a reset: a sub-key of the settings holding a video
// mode as "VGA" (0 or 1) and "Orientation" (0 to 3), and a shortcut in the Startup folder that
// starts the program with a keyword at the next boot to act on it.
#include <string>
#include "core/VideoMode.h"

// Whether key holds either value of a mode.
bool HasRecordedMode(const wchar_t* key);
// The mode recorded under key; false when either value is missing, no number or out of range.
bool ReadRecordedMode(const wchar_t* key, CVideoMode& mode);
// Records mode under key. Raises CRegistry::CWriteException when the registry refuses it.
void WriteRecordedMode(const wchar_t* key, const CVideoMode& mode);

// The path of the shortcut name in the Startup folder.
std::wstring GetStartupShortcutPath(const wchar_t* name);
// Puts the shortcut name into the Startup folder, starting this program with keyword. Raises
// CFileException when it cannot be written.
void CreateBootShortcut(const wchar_t* name, const wchar_t* keyword);

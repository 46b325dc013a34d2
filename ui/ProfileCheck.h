#pragma once
// A profile's check as the user asks for it, from the command line or the "Profiles" page:
// the checker's report written to "\My Documents\Dorix Check.txt", and shown.
#include <windows.h>
#include <cstddef>
#include <string>

class CProfile;

// Where the report goes: "Dorix Check.txt" in the device's My Documents.
std::wstring GetCheckReportPath();

// Checks the profile and writes the report, replacing the last one; with show, then tells how
// many problems were found in a box and lists the report in a window when there are any.
// Returns the number of problems. A profile that cannot be checked (missing, not a zip, not
// text) raises its error after writing its message as the report; a report that cannot be
// written raises CFileException.
size_t CheckProfile(CProfile& profile, bool show, HWND owner = nullptr);

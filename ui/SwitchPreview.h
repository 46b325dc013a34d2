#pragma once
// A switch's preview as the user asks for it, from the command line or the Tools menu: what a
// switch from the device's mode to a target would do, with nothing done, written to
// "\My Documents\Dorix Preview.txt" and shown.
#include <windows.h>
#include <cstddef>
#include <string>
#include <vector>
#include "state/VideoMode.h"

class CModeSwitch;

// Where the report goes: "Dorix Preview.txt" in the device's My Documents.
std::wstring GetPreviewReportPath();

// The report of a preview in modeSwitch: a title naming both modes, what the switch would do
// step by step (steps that would do nothing left out), and the count of changes and of what
// would make the switch fail, which failures is set to.
std::vector<std::wstring> PreviewReport(CModeSwitch& modeSwitch, const CVideoMode& target, size_t& failures);

// Previews the switch and writes the report, replacing the last one; with show, then lists it
// in a window. Returns the number of problems that would make the switch fail. Raises the
// error of a current mode that cannot be read, and CFileException when the report cannot be
// written.
size_t PreviewSwitch(CModeSwitch& modeSwitch, const CVideoMode& target, bool show, HWND owner = nullptr);

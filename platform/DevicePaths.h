#pragma once
// The device's paths have no drive letters: "\" is the root of its object store.
#include <string>

namespace platform {

// The folder for temporary files, "\Temp\".
std::wstring GetTempFolder();

// The Pocket PC special folder of a CSIDL number, as the shell gives it, without a trailing
// backslash; empty for a number the device does not know.
std::wstring GetSpecialFolderPath(int csidl);

// A file of that name in the user's documents folder ("\My Documents" on the device).
std::wstring GetDocumentPath(const std::wstring& name);

}  // namespace platform

#pragma once
// The device's paths have no drive letters: "\" is the root of its object store. On this
// platform the device's file system is the drive that is current when the program starts;
// these functions translate between the two forms and give the device's fixed folders.
#include <string>

namespace platform {

// "X:" of the device's file system, taken from the current directory at first use.
std::wstring DeviceDrive();

// A Win32 path on the device drive loses its drive letter ("D:\Windows" -> "\Windows"); any
// other path is returned unchanged.
std::wstring ToDevicePath(const std::wstring& win32Path);

// The folder for temporary files, "\Temp\".
std::wstring GetTempFolder();

// The Pocket PC special folder of a CSIDL number, without a trailing backslash; empty for a
// number the device does not know.
std::wstring GetSpecialFolderPath(int csidl);

}  // namespace platform

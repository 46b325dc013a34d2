#pragma once
// Whole-file reads and writes for the device's helper programs, through Win32 so that drive-less
// device paths ("\Windows\x") resolve against the current drive (the C++ streams of this
// toolchain do not open them).
#include <string>

// The file's bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// Creates or truncates the file (or appends to it) and writes the bytes; false on failure.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes, bool append = false);

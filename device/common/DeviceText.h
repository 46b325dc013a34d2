#pragma once
// Text conversions and the command line for the device's helper programs.
#include <windows.h>
#include <string>
#include <vector>

std::wstring Widen(const std::string& bytes, UINT codePage);
std::string Narrow(const std::wstring& text, UINT codePage);

// The process's command line split into words as the C runtime splits it; the first word is
// the program when the caller put it there.
std::vector<std::wstring> CommandLineWords();

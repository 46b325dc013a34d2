#pragma once
// Shortcut files in the device's own format. A device shortcut is a small 8-bit text file:
// the number of characters of the command line, "#", then the command line, in which the
// program's path stands in double quotes when it holds a blank, followed by the arguments
// after one blank. For example a shortcut to "\Windows\WTM.exe" holds 16#\Windows\WTM.exe.
#include <string>

namespace platform {

// The command line that starts target with the arguments: target in double quotes when it
// holds a blank, then the arguments after one blank (none when empty).
std::wstring CommandLineText(const std::wstring& target, const std::wstring& arguments = std::wstring());

// The text of a shortcut that starts target with the arguments (none when empty).
std::wstring ShortcutText(const std::wstring& target, const std::wstring& arguments = std::wstring());

// Has the shell write the shortcut file (created or replaced) that starts target with the
// arguments. False, with the system's reason as the last error, when it cannot be written.
bool CreateShortcut(const std::wstring& shortcutPath, const std::wstring& target,
                    const std::wstring& arguments = std::wstring());

// Deletes the shortcut file; false when there was none or it cannot be deleted.
bool DeleteShortcut(const std::wstring& shortcutPath);

}  // namespace platform

#include "platform/Shortcut.h"
#include <windows.h>

namespace platform {

std::wstring CommandLineText(const std::wstring& target, const std::wstring& arguments)
{
    std::wstring commandLine = target.find(L' ') == std::wstring::npos ? target : L"\"" + target + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    return commandLine;
}

std::wstring ShortcutText(const std::wstring& target, const std::wstring& arguments)
{
    const std::wstring commandLine = CommandLineText(target, arguments);
    return std::to_wstring(commandLine.size()) + L"#" + commandLine;
}

bool CreateShortcut(const std::wstring& shortcutPath, const std::wstring& target, const std::wstring& arguments)
{
    // The shell writes a shortcut only under a free name; this one replaces what is there.
    if (!::DeleteFileW(shortcutPath.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    std::wstring path = shortcutPath;
    std::wstring commandLine = CommandLineText(target, arguments);
    return ::SHCreateShortcut(path.data(), commandLine.data()) != FALSE;
}

bool DeleteShortcut(const std::wstring& shortcutPath)
{
    return ::DeleteFileW(shortcutPath.c_str()) != FALSE;
}

}  // namespace platform

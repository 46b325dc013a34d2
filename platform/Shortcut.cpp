#include "platform/Shortcut.h"
#include <windows.h>
#include "framework/Handle.h"

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
    // The device keeps shortcut files in its ANSI code page.
    const std::wstring text = ShortcutText(target, arguments);
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);

    CFileHandle file(::CreateFileW(shortcutPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    const bool complete = ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
                          && written == bytes.size();
    file.Reset();
    // A shortcut cut short would start a wrong path at the next boot.
    if (!complete)
        ::DeleteFileW(shortcutPath.c_str());
    return complete;
}

bool DeleteShortcut(const std::wstring& shortcutPath)
{
    return ::DeleteFileW(shortcutPath.c_str()) != FALSE;
}

}  // namespace platform

#include "platform/DevicePaths.h"
#include <windows.h>
#include <cwctype>

namespace platform {

std::wstring DeviceDrive()
{
    static const std::wstring drive = [] {
        wchar_t dir[MAX_PATH] = L"";
        const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, dir);
        if (n >= 2 && n < MAX_PATH && dir[1] == L':')
            return std::wstring{static_cast<wchar_t>(std::towupper(dir[0])), L':'};
        return std::wstring();
    }();
    return drive;
}

std::wstring ToDevicePath(const std::wstring& win32Path)
{
    const std::wstring drive = DeviceDrive();
    if (!drive.empty() && win32Path.size() >= 3 && win32Path[1] == L':' && win32Path[2] == L'\\'
        && std::towupper(win32Path[0]) == drive[0])
        return win32Path.substr(2);
    return win32Path;
}

std::wstring GetTempFolder()
{
    return L"\\Temp\\";
}

std::wstring GetSpecialFolderPath(int csidl)
{
    switch (csidl) {
    case 2: return L"\\Windows\\Start Menu\\Programs";
    case 5: return L"\\My Documents";
    case 6: return L"\\Windows\\Favorites";
    case 7: return L"\\Windows\\StartUp";
    case 8: return L"\\Windows\\Recent";
    case 20: return L"\\Windows\\Fonts";
    case 36: return L"\\Windows";
    case 38: return L"\\Program Files";
    default: return std::wstring();
    }
}

}  // namespace platform

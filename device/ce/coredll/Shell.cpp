// coredll's shell functions: the device's shortcut files and the Pocket PC's special folders.
#include <windows.h>
#include <string>
#include "CeStandIn.h"

namespace {

// The longest target a shortcut takes, in characters (the documented buffer of 256).
constexpr size_t kMaxTarget = 256;

// The folder of a CSIDL number on a Pocket PC, without a drive and without a trailing
// backslash; null for a number the device does not know.
const wchar_t* SpecialFolder(int csidl)
{
    switch (csidl) {
    case 2: return L"\\Windows\\Start Menu\\Programs";  // CSIDL_PROGRAMS
    case 5: return L"\\My Documents";                   // CSIDL_PERSONAL
    case 6: return L"\\Windows\\Favorites";             // CSIDL_FAVORITES
    case 7: return L"\\Windows\\StartUp";               // CSIDL_STARTUP
    case 8: return L"\\Windows\\Recent";                // CSIDL_RECENT
    case 20: return L"\\Windows\\Fonts";                // CSIDL_FONTS
    case 36: return L"\\Windows";                       // CSIDL_WINDOWS
    case 38: return L"\\Program Files";                 // CSIDL_PROGRAM_FILES
    default: return nullptr;
    }
}

// Creates the folder and the folders above it that are missing.
bool CreateFolders(const std::wstring& folder)
{
    for (size_t slash = folder.find(L'\\', 1);; slash = folder.find(L'\\', slash + 1)) {
        const std::wstring part = folder.substr(0, slash);
        if (!::CreateDirectoryW(part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        if (slash == std::wstring::npos)
            return true;
    }
}

}  // namespace

extern "C" {

// Writes the shortcut file: the number of characters of the target, "#", the target as given
// (a caller quotes a program path that holds a blank), in the device's ANSI code page. As on
// the device, an existing file is not replaced: FALSE then. A character the code page has no
// exact form for is refused (ERROR_NO_UNICODE_TRANSLATION); a file cut short is deleted.
BOOL WINAPI CE(SHCreateShortcut)(LPWSTR shortcut, LPWSTR target)
{
    if (!shortcut || !target || ::lstrlenW(target) == 0 || static_cast<size_t>(::lstrlenW(target)) > kMaxTarget) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (ce::RefuseDrivePath(shortcut) || ce::RefuseDrivePath(target[0] == L'"' ? target + 1 : target))
        return FALSE;
    const std::wstring text = std::to_wstring(::lstrlenW(target)) + L"#" + target;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    BOOL inexact = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &bytes[0], size,
                          nullptr, &inexact);
    if (size <= 0 || inexact) {
        ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return FALSE;
    }
    HANDLE file = ::CreateFileW(shortcut, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD written = 0;
    const bool complete = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
                          && written == bytes.size();
    const DWORD error = complete ? ERROR_SUCCESS : (::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT);
    ::CloseHandle(file);
    if (!complete) {
        // A shortcut cut short would start a wrong path.
        ::DeleteFileW(shortcut);
        ::SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

// The Pocket PC folder of the CSIDL number into path (MAX_PATH characters), created with the
// folders above it when create is set; FALSE for a number the device does not know.
BOOL WINAPI CE(SHGetSpecialFolderPath)(HWND, LPWSTR path, int csidl, BOOL create)
{
    const wchar_t* folder = SpecialFolder(csidl);
    if (!path || !folder) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (create && !CreateFolders(folder))
        return FALSE;
    ::lstrcpynW(path, folder, MAX_PATH);
    return TRUE;
}

}  // extern "C"

// coredll's file functions: the device's paths have no drive letters ("\" is the root of its
// object store). A path with the device's drive letter is refused with ERROR_INVALID_NAME, as
// the device refuses a name it cannot take; the paths the system gives out have none.
// Drive-less paths are handed on as they are: the device's programs run with the device's file
// system as their current drive, so that "\Windows" is the device's. A path on another drive
// is a folder of the host's, which only the test harness has (its programs run from the
// build's folders), and is handed on as it is.
#include <windows.h>
#include <shellapi.h>
#include "CeStandIn.h"

namespace ce {

namespace {

wchar_t DriveLetter(wchar_t letter)
{
    return letter >= L'a' && letter <= L'z' ? static_cast<wchar_t>(letter - L'a' + L'A') : letter;
}

// The letter of the drive that is current when the program starts, in upper case, or 0.
wchar_t DeviceDrive()
{
    static const wchar_t drive = [] {
        wchar_t folder[MAX_PATH] = L"";
        const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, folder);
        return n >= 2 && n < MAX_PATH && folder[1] == L':' ? DriveLetter(folder[0]) : L'\0';
    }();
    return drive;
}

bool OnDeviceDrive(LPCWSTR path)
{
    return path && path[0] && path[1] == L':' && DriveLetter(path[0]) == DeviceDrive();
}

}  // namespace

bool RefuseDrivePath(LPCWSTR path)
{
    if (!OnDeviceDrive(path))
        return false;
    ::SetLastError(ERROR_INVALID_NAME);
    return true;
}

DWORD StripDrive(LPWSTR path, DWORD length)
{
    if (length < 2 || !OnDeviceDrive(path))
        return length;
    ::MoveMemory(path, path + 2, (length - 2 + 1) * sizeof(wchar_t));
    return length - 2;
}

}  // namespace ce

using ce::RefuseDrivePath;

extern "C" {

HANDLE WINAPI CE(CreateFileW)(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (RefuseDrivePath(name))
        return INVALID_HANDLE_VALUE;
    return ::CreateFileW(name, access, share, security, disposition, flags, templateFile);
}

HANDLE WINAPI CE(FindFirstFileW)(LPCWSTR name, LPWIN32_FIND_DATAW data)
{
    if (RefuseDrivePath(name))
        return INVALID_HANDLE_VALUE;
    return ::FindFirstFileW(name, data);
}

BOOL WINAPI CE(DeleteFileW)(LPCWSTR name)
{
    return !RefuseDrivePath(name) && ::DeleteFileW(name);
}

BOOL WINAPI CE(MoveFileW)(LPCWSTR from, LPCWSTR to)
{
    return !RefuseDrivePath(from) && !RefuseDrivePath(to) && ::MoveFileW(from, to);
}

BOOL WINAPI CE(CopyFileW)(LPCWSTR from, LPCWSTR to, BOOL failIfExists)
{
    return !RefuseDrivePath(from) && !RefuseDrivePath(to) && ::CopyFileW(from, to, failIfExists);
}

BOOL WINAPI CE(CreateDirectoryW)(LPCWSTR name, LPSECURITY_ATTRIBUTES security)
{
    return !RefuseDrivePath(name) && ::CreateDirectoryW(name, security);
}

BOOL WINAPI CE(RemoveDirectoryW)(LPCWSTR name)
{
    return !RefuseDrivePath(name) && ::RemoveDirectoryW(name);
}

DWORD WINAPI CE(GetFileAttributesW)(LPCWSTR name)
{
    if (RefuseDrivePath(name))
        return INVALID_FILE_ATTRIBUTES;
    return ::GetFileAttributesW(name);
}

BOOL WINAPI CE(SetFileAttributesW)(LPCWSTR name, DWORD attributes)
{
    return !RefuseDrivePath(name) && ::SetFileAttributesW(name, attributes);
}

UINT WINAPI CE(GetTempFileNameW)(LPCWSTR folder, LPCWSTR prefix, UINT unique, LPWSTR name)
{
    if (RefuseDrivePath(folder))
        return 0;
    return ::GetTempFileNameW(folder, prefix, unique, name);
}

// The device's folder for temporary files.
DWORD WINAPI CE(GetTempPathW)(DWORD size, LPWSTR buffer)
{
    static const wchar_t kTemp[] = L"\\Temp\\";
    constexpr DWORD kLength = sizeof kTemp / sizeof kTemp[0] - 1;
    if (!buffer || size <= kLength)
        return kLength + 1;
    ::CopyMemory(buffer, kTemp, sizeof kTemp);
    return kLength;
}

// A module's path as the device gives it, without a drive letter.
DWORD WINAPI CE(GetModuleFileNameW)(HMODULE module, LPWSTR buffer, DWORD size)
{
    const DWORD length = ::GetModuleFileNameW(module, buffer, size);
    if (length == 0 || length >= size)
        return length;
    return ce::StripDrive(buffer, length);
}

HANDLE WINAPI CE(LoadImageW)(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags)
{
    if ((flags & LR_LOADFROMFILE) && !IS_INTRESOURCE(name) && RefuseDrivePath(name))
        return nullptr;
    return ::LoadImageW(instance, name, type, width, height, flags);
}

DWORD_PTR WINAPI CE(SHGetFileInfo)(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT size, UINT flags)
{
    if (!(flags & SHGFI_PIDL) && RefuseDrivePath(path))
        return 0;
    return ::SHGetFileInfoW(path, attributes, info, size, flags);
}

}  // extern "C"

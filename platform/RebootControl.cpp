#include "platform/RebootControl.h"
#include <windows.h>
#include <string>
#include "framework/Handle.h"

namespace platform {

namespace {

std::wstring RequestPath()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD n = ::GetEnvironmentVariableW(L"DORIX_DEVICE_RESET", path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

bool RequestGone(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES
        && ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

[[noreturn]] void WaitForReset()
{
    // The host ends this process; nothing of the program may run on after an accepted reset.
    for (;;)
        ::Sleep(INFINITE);
}

}  // namespace

bool RequestSoftReset()
{
    const std::wstring path = RequestPath();
    if (path.empty())
        return false;
    {
        // CREATE_NEW: a request that is still pending belongs to someone else.
        CFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
        if (!file)
            return false;
        const std::string pid = std::to_string(::GetCurrentProcessId()) + "\n";
        DWORD written = 0;
        if (!::WriteFile(file.Get(), pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr)
            || written != pid.size()) {
            file.Reset();
            ::DeleteFileW(path.c_str());
            return false;
        }
    }
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kResetAcceptWaitMs) {
        if (RequestGone(path))
            WaitForReset();
        ::Sleep(50);
    }
    // Withdrawing and accepting race for the one file: whoever removes it first wins.
    if (::DeleteFileW(path.c_str()))
        return false;
    if (::GetLastError() == ERROR_FILE_NOT_FOUND)
        WaitForReset();
    return false;
}

}  // namespace platform

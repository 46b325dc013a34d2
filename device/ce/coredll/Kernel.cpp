// coredll's kernel functions that CE has its own way: the HAL's I/O control (the soft reset),
// processes (CE's pseudo-handle of the current process, the owner process, CreateProcessW
// with CE's parameters).
#include <windows.h>
#include <string>
#include "CeStandIn.h"

namespace {

// The HAL's soft reset (pkfuncs.h); the simulator's other I/O controls are not supported.
constexpr DWORD kIoctlHalReboot = 0x0101003C;
// How long a reset request waits for the device host before it is withdrawn.
constexpr DWORD kResetAcceptWaitMs = 3000;
// CE's pseudo-handle of the calling process (kfuncs.h: SH_CURPROC + SYS_HANDLE_BASE).
const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x42));

// The request file the device host watches: the file named by DORIX_DEVICE_RESET, which the host
// sets for every program of the device. Empty without a host.
std::wstring ResetRequestPath()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD n = ::GetEnvironmentVariableW(L"DORIX_DEVICE_RESET", path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

bool RequestGone(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

[[noreturn]] void WaitForReset()
{
    // The host ends this process; nothing of the program may run on after an accepted reset.
    for (;;)
        ::Sleep(INFINITE);
}

// The soft reset on the simulated device. A request is the file, created new (a request that
// is still pending is someone else's: ERROR_BUSY) and holding the requester's process id. The
// host accepts it by renaming the file away, then ends every program of the device and boots
// again, so an accepted request never returns. A request nobody accepts within 3 s is
// withdrawn (ERROR_TIMEOUT); without a host there is nobody to ask (ERROR_NOT_SUPPORTED).
BOOL SoftReset()
{
    const std::wstring path = ResetRequestPath();
    if (path.empty()) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        ::SetLastError(error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? ERROR_BUSY : error);
        return FALSE;
    }
    const std::string pid = std::to_string(::GetCurrentProcessId()) + "\n";
    DWORD written = 0;
    const BOOL complete = ::WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr)
                          && written == pid.size();
    const DWORD writeError = ::GetLastError();
    ::CloseHandle(file);
    if (!complete) {
        ::DeleteFileW(path.c_str());
        ::SetLastError(writeError ? writeError : ERROR_WRITE_FAULT);
        return FALSE;
    }
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kResetAcceptWaitMs) {
        if (RequestGone(path))
            WaitForReset();
        ::Sleep(50);
    }
    // Withdrawing and accepting race for the one file: whoever removes it first wins.
    if (::DeleteFileW(path.c_str())) {
        ::SetLastError(ERROR_TIMEOUT);
        return FALSE;
    }
    if (::GetLastError() == ERROR_FILE_NOT_FOUND)
        WaitForReset();
    ::SetLastError(ERROR_TIMEOUT);
    return FALSE;
}

bool HasExtension(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    return dot != std::wstring::npos && name.find(L'\\', dot) == std::wstring::npos;
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The program a CE image name means: ".exe" added where the name has no extension; a name
// without a folder is looked for in "\Windows", then in the root, as the device looks.
std::wstring ResolveImage(const std::wstring& image)
{
    std::wstring name = image;
    if (!HasExtension(name))
        name += L".exe";
    if (name.find(L'\\') != std::wstring::npos)
        return name;
    for (const wchar_t* folder : {L"\\Windows\\", L"\\"}) {
        if (IsFile(folder + name))
            return folder + name;
    }
    return L"\\Windows\\" + name;
}

}  // namespace

extern "C" {

BOOL WINAPI CE(KernelIoControl)(DWORD code, LPVOID, DWORD, LPVOID, DWORD, LPDWORD returned)
{
    if (returned)
        *returned = 0;
    if (code == kIoctlHalReboot)
        return SoftReset();
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

// The process that owns the calling thread: on the simulated device, the calling process.
DWORD WINAPI CE(GetOwnerProcess)()
{
    return ::GetCurrentProcessId();
}

BOOL WINAPI CE(TerminateProcess)(HANDLE process, UINT exitCode)
{
    return ::TerminateProcess(process == kCurrentProcess ? ::GetCurrentProcess() : process, exitCode);
}

// CE's CreateProcessW: the image name is required and the command line holds only the
// program's arguments; CE has no security attributes, handle inheritance, environment, current
// directory or start-up information, and refuses a call that passes any of them.
BOOL WINAPI CE(CreateProcessW)(LPCWSTR image, LPWSTR arguments, LPSECURITY_ATTRIBUTES processAttributes,
                               LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD flags,
                               LPVOID environment, LPWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                               LPPROCESS_INFORMATION info)
{
    if (!image || !image[0] || processAttributes || threadAttributes || inheritHandles || environment
        || currentDirectory || startupInfo) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (ce::RefuseDrivePath(image))
        return FALSE;
    const std::wstring program = ResolveImage(image);
    std::wstring commandLine = L"\"" + program + L"\"";
    if (arguments && arguments[0])
        commandLine += L" " + std::wstring(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                          &startup, &started))
        return FALSE;
    if (info) {
        *info = started;
    } else {
        ::CloseHandle(started.hThread);
        ::CloseHandle(started.hProcess);
    }
    return TRUE;
}

}  // extern "C"

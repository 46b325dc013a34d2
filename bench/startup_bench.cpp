// The time from starting the Dorix program to its main window being shown, against the start
// of a program that does nothing but show a window, in the same run. Each start is a new
// process; the window counts as shown when it is visible among the top-level windows, and the
// bench then closes it and waits for the program to end with exit code 0.
//
// Dorix is started on a supported device (the OEM text of an e805) that is already installed,
// so that neither the device warning nor an installation happens during the timing. Starts
// that do install (the installation record removed before each) are measured separately.
#include <windows.h>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchHelpers.h"
#include "framework/Error.h"
#include "framework/Handle.h"
#include "state/FileHelpers.h"

namespace {

using bench::HostPath;
using bench::Median;

// A single start varies by about a tenth, mostly in the system's own loading before either
// program runs; with 75 starts of each the ratio's sampling error is about 0.016 (0.028 with 25).
const int kRounds = 75;
const DWORD kTimeoutMs = 20000;
const wchar_t kOemKey[] = L"Platform";
const wchar_t kOemValue[] = L"OEMInfo";
const wchar_t kOemText[] = L"TOSHIBA e805";
const wchar_t kInstallKey[] = L"Software\\Dorix\\Uninstall";
const wchar_t kInstallValue[] = L"Version";

struct Program {
    std::wstring path;
    std::wstring arguments;
    const wchar_t* title;  // of the main window
};

struct Search {
    DWORD processId;
    const wchar_t* title;
    HWND found;
};

// The program's main window once it is shown: visible, top-level, unowned and titled; a
// message box of the program (class "#32770", which carries the same title) does not count.
BOOL CALLBACK FindShownWindow(HWND window, LPARAM param)
{
    Search& search = *reinterpret_cast<Search*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search.processId || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != nullptr)
        return TRUE;
    wchar_t text[64] = L"";
    ::GetWindowTextW(window, text, 64);
    wchar_t className[64] = L"";
    ::GetClassNameW(window, className, 64);
    if (std::wstring(text) != search.title || std::wstring(className) == L"#32770")
        return TRUE;
    search.found = window;
    return FALSE;
}

DWORD WaitForEnd(HANDLE process, const Program& program)
{
    if (::WaitForSingleObject(process, kTimeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process, 99);
        throw error(program.path + L" did not end");
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process, &exitCode);
    return exitCode;
}

CKernelHandle Start(const Program& program)
{
    // As the device starts a program: by its image, the arguments alone, no startup info.
    std::wstring arguments = program.arguments;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program.path.c_str(), arguments.empty() ? nullptr : arguments.data(), nullptr, nullptr,
                          FALSE, 0, nullptr, nullptr, nullptr, &info))
        throw error(L"cannot start " + program.path + L": " + LastErrorText());
    const CKernelHandle thread(info.hThread);
    return CKernelHandle(info.hProcess);
}

// Seconds from the start of the process to its main window being visible.
double StartUntilShown(const Program& program)
{
    const auto start = std::chrono::steady_clock::now();
    CKernelHandle process = Start(program);
    Search search{::GetProcessId(process.Get()), program.title, nullptr};
    for (;;) {
        ::EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            break;
        // Waiting on the process is the pause between two looks, and sees an early end.
        if (::WaitForSingleObject(process.Get(), 1) == WAIT_OBJECT_0)
            throw error(program.path + L" ended without showing its window");
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kTimeoutMs)) {
            ::TerminateProcess(process.Get(), 99);
            throw error(program.path + L" showed no window");
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::PostMessageW(search.found, WM_CLOSE, 0, 0);
    const DWORD exitCode = WaitForEnd(process.Get(), program);
    if (exitCode != 0)
        throw error(program.path + L" ended with exit code " + std::to_wstring(exitCode));
    return seconds;
}

bool IsInstalled()
{
    DWORD version = 0, size = sizeof version;
    return ::RegGetValueW(HKEY_CURRENT_USER, kInstallKey, kInstallValue, RRF_RT_REG_DWORD, nullptr, &version, &size)
               == ERROR_SUCCESS
           && version != 0;
}

void ForgetInstallation()
{
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kInstallKey, kInstallValue);
}

// The OEM text of a supported device for the time of the bench; the earlier value, if any,
// is put back at the end.
class COemInfo {
public:
    COemInfo()
    {
        DWORD size = sizeof m_previous;
        m_bHadValue = ::RegGetValueW(HKEY_LOCAL_MACHINE, kOemKey, kOemValue, RRF_RT_REG_SZ, nullptr, m_previous,
                                     &size) == ERROR_SUCCESS;
        Set(kOemText);
    }
    COemInfo(const COemInfo&) = delete;
    COemInfo& operator=(const COemInfo&) = delete;
    ~COemInfo()
    {
        if (m_bHadValue)
            Set(m_previous);
        else
            ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kOemKey, kOemValue);
    }

private:
    static void Set(const wchar_t* text)
    {
        ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kOemKey, kOemValue, REG_SZ, text,
                          static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    }

    wchar_t m_previous[128] = L"";
    bool m_bHadValue = false;
};

}  // namespace

int main()
{
    if (!bench::IsDeviceDriveCurrent())
        return 1;
    CreatePath(L"\\Windows");
    CreatePath(L"\\Temp");
    const Program empty{HostPath(EMPTY_WINDOW_EXE_W), L"", L"Empty Window"};
    const Program dorix{HostPath(DORIX_EXE_W), L"", L"Dorix"};
    const Program install{dorix.path, L" INSTALL Y", L""};
    const Program uninstall{dorix.path, L" UNINSTALL Y", L""};
    int status = 0;
    try {
        COemInfo oem;
        // Installed once, outside the timing; each program started once, so that the first
        // loading of its image is not counted.
        {
            CKernelHandle process = Start(install);
            if (WaitForEnd(process.Get(), install) != 0 || !IsInstalled())
                throw error(L"the installation failed");
        }
        StartUntilShown(empty);
        StartUntilShown(dorix);

        std::vector<double> emptyTimes, dorixTimes, installTimes;
        for (int round = 0; round < kRounds; ++round) {
            // Rotating the order keeps either program from always following the other.
            for (int k = 0; k < 3; ++k) {
                const int side = (round + k) % 3;
                if (side == 0) {
                    emptyTimes.push_back(StartUntilShown(empty));
                } else if (side == 1) {
                    if (!IsInstalled())
                        throw error(L"the installation record is missing before a start");
                    dorixTimes.push_back(StartUntilShown(dorix));
                } else {
                    ForgetInstallation();
                    installTimes.push_back(StartUntilShown(dorix));
                    if (!IsInstalled())
                        throw error(L"the start did not install");
                }
            }
        }
        const double emptyMedian = Median(emptyTimes);
        const double dorixMedian = Median(dorixTimes);
        const double installMedian = Median(installTimes);
        std::printf("start until the main window is shown, %d starts each\n", kRounds);
        std::printf("empty Win32 program        median %8.1f ms\n", emptyMedian * 1000);
        std::printf("Dorix, installed           median %8.1f ms\n", dorixMedian * 1000);
        std::printf("ratio Dorix/empty                 %8.2f (goal <= 1.10)\n", dorixMedian / emptyMedian);
        std::printf("Dorix, installing first    median %8.1f ms\n", installMedian * 1000);
        std::printf("ratio installing/empty            %8.2f (goal <= 1.25)\n", installMedian / emptyMedian);
        // The device as it was before: the stubs and the installation record removed again.
        CKernelHandle process = Start(uninstall);
        WaitForEnd(process.Get(), uninstall);
    } catch (const error& e) {
        std::fprintf(stderr, "start-up bench failed: %ls\n", e.GetMessage().c_str());
        status = 1;
    }
    return status;
}

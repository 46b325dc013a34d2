#pragma once
// Starts the lockholder helper as another running application and waits until its window
// exists. The process is ended when the object goes, should the test not have ended it.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "DeviceFixture.h"
#include "framework/Handle.h"

class CLockHolder {
public:
    // kind: "titled", "untitled", "tool", "owned" or "hidden"; file: held open, unshared.
    CLockHolder(const std::wstring& kind, const std::wstring& title, const std::wstring& file = std::wstring())
    {
        static int started = 0;
        const std::wstring eventName =
            L"DorixLockHolder." + std::to_wstring(::GetCurrentProcessId()) + L"." + std::to_wstring(++started);
        CKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
        wchar_t self[MAX_PATH] = L"";
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring exe = self;
        exe = exe.substr(0, exe.rfind(L'\\') + 1) + L"lockholder.exe";
        std::wstring arguments = eventName + L" " + kind + L" \"" + title + L"\"";
        if (!file.empty())
            arguments += L" \"" + file + L"\"";
        PROCESS_INFORMATION info = {};
        if (!StartProgram(exe, arguments, info)) {
            ADD_FAILURE() << "cannot start " << ::testing::PrintToString(exe) << ", error " << ::GetLastError();
            return;
        }
        ::CloseHandle(info.hThread);
        m_process.Reset(info.hProcess);
        m_processId = info.dwProcessId;
        const HANDLE waits[] = {ready.Get(), m_process.Get()};
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForMultipleObjects(2, waits, FALSE, 20000))
            << "lockholder " << ::testing::PrintToString(kind) << " did not get ready (exit code " << ExitCode()
            << ")";
    }
    CLockHolder(const CLockHolder&) = delete;
    CLockHolder& operator=(const CLockHolder&) = delete;
    ~CLockHolder()
    {
        if (m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process.Get(), 9);
            ::WaitForSingleObject(m_process.Get(), 5000);
        }
    }

    DWORD ProcessId() const { return m_processId; }
    // Whether the process ends within the time; it is then gone for good.
    bool Ends(DWORD milliseconds) const
    {
        return ::WaitForSingleObject(m_process.Get(), milliseconds) == WAIT_OBJECT_0;
    }
    // STILL_ACTIVE while it runs.
    DWORD ExitCode() const
    {
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.Get(), &code);
        return code;
    }

private:
    CKernelHandle m_process;
    DWORD m_processId = 0;
};

#include "DeviceFixture.h"
#include "LockHolder.h"
#include "core/TaskManager.h"
#include "state/FileHelpers.h"

namespace {

class TaskManagerTest : public DeviceTest {
protected:
    // A visible, titled, unowned window of the test's own process.
    HWND OwnWindow(const wchar_t* title)
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"DorixTaskManagerTest";
        ::RegisterClassW(&windowClass);
        HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                        nullptr, nullptr, windowClass.hInstance, nullptr);
        EXPECT_NE(nullptr, window) << "error " << ::GetLastError();
        ::ShowWindow(window, SW_SHOWNORMAL);
        m_windows.push_back(window);
        return window;
    }
    void TearDown() override
    {
        for (HWND window : m_windows)
            ::DestroyWindow(window);
        DeviceTest::TearDown();
    }
    std::vector<HWND> m_windows;
};

TEST_F(TaskManagerTest, ClosesOnlyTitledVisibleUnownedWindowsOfOtherPrograms)
{
    OwnWindow(L"Dorix");
    CLockHolder titled(L"titled", L"Notes");
    CLockHolder untitled(L"untitled", L"");
    CLockHolder tool(L"tool", L"Tool");
    CLockHolder owned(L"owned", L"Owned");
    CLockHolder hidden(L"hidden", L"Hidden");

    EXPECT_TRUE(CTaskManager().CloseRunningApplications());

    // It returns once what it terminated has ended, so whatever still runs was spared.
    EXPECT_TRUE(titled.Ends(0)) << "returned while the terminated program still ran";
    EXPECT_EQ(0u, titled.ExitCode());
    for (const CLockHolder* survivor : {&untitled, &tool, &owned, &hidden})
        EXPECT_EQ(STILL_ACTIVE, survivor->ExitCode()) << "process " << survivor->ProcessId();
}

// A process that terminates itself ends with the code given, 0, which reads as a passed test;
// so the test runs itself again as a child that reports surviving by a code of its own.
TEST_F(TaskManagerTest, NeverClosesTheProgramItself)
{
    const DWORD kSurvived = 7;
    if (::GetEnvironmentVariableW(L"DORIX_TASKMANAGER_CHILD", nullptr, 0) != 0) {
        OwnWindow(L"Dorix");
        OwnWindow(L"Unowned second window of the program");
        CTaskManager().CloseRunningApplications();
        ::ExitProcess(kSurvived);
    }
    wchar_t self[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::SetEnvironmentVariableW(L"DORIX_TASKMANAGER_CHILD", L"1");
    PROCESS_INFORMATION info = {};
    const bool started = StartProgram(self, L"--gtest_filter=TaskManagerTest.NeverClosesTheProgramItself", info);
    ::SetEnvironmentVariableW(L"DORIX_TASKMANAGER_CHILD", nullptr);
    ASSERT_TRUE(started) << "error " << ::GetLastError();
    CKernelHandle process(info.hProcess), thread(info.hThread);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.Get(), 20000));
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    EXPECT_EQ(kSurvived, code);
}

TEST_F(TaskManagerTest, KillProcessTerminatesOrGivesTheSystemError)
{
    CLockHolder titled(L"untitled", L"");
    EXPECT_TRUE(CTaskManager().KillProcess(titled.ProcessId()));
    EXPECT_TRUE(titled.Ends(5000));
    EXPECT_EQ(0u, titled.ExitCode());

    const DWORD noProcess = 0xFFFFFFF0;
    ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, noProcess);
    const DWORD expected = ::GetLastError();
    ::SetLastError(0);
    EXPECT_FALSE(CTaskManager().KillProcess(noProcess));
    EXPECT_EQ(expected, ::GetLastError());
    EXPECT_EQ(0u, m_boxes.size()) << "the caller reports";
}

}  // namespace

#include "core/TaskManager.h"
#include "framework/CeApi.h"
#include "framework/Error.h"
#include "framework/ResourceString.h"
#include "framework/StandardIds.h"
#include "platform/RebootControl.h"
#include "resources/resource.h"

namespace {

// All access rights as the device's system defines them; later desktop systems widened the
// mask, and the device refuses bits it does not know.
const DWORD kProcessAllAccess = 0x1F0FFF;

// Whether the window is one a user would call a running application. The order of the tests
// matters only for speed: each one alone excludes the window.
bool IsApplicationWindow(HWND window)
{
    if (window == ::GetDesktopWindow())
        return false;
    if (!::IsWindowVisible(window))
        return false;
    if (::GetParent(window) != nullptr)
        return false;
    if (::GetWindow(window, GW_OWNER) != nullptr)
        return false;
    if ((::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0)
        return false;
    if ((::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0)
        return false;
    return ::GetWindowTextLengthW(window) > 0;
}

}  // namespace

bool CTaskManager::CloseRunningApplications()
{
    m_terminated.clear();
    ::EnumWindows(&CTaskManager::EnumWindowProc, reinterpret_cast<LPARAM>(this));
    const DWORD start = ::GetTickCount();
    for (const CKernelHandle& process : m_terminated) {
        const DWORD waited = ::GetTickCount() - start;
        ::WaitForSingleObject(process.Get(), waited < kTerminationWaitMs ? kTerminationWaitMs - waited : 0);
    }
    m_terminated.clear();
    return true;
}

BOOL CALLBACK CTaskManager::EnumWindowProc(HWND window, LPARAM param)
{
    reinterpret_cast<CTaskManager*>(param)->CloseApplicationOf(window);
    return TRUE;
}

void CTaskManager::CloseApplicationOf(HWND window)
{
    if (!IsApplicationWindow(window))
        return;
    DWORD processId = 0;
    if (::GetWindowThreadProcessId(window, &processId) == 0 || processId == 0)
        return;
    // A second window of the program itself (an unowned dialog, say) must not end the
    // program in the middle of a switch, before its changes can be rolled back.
    if (processId == ::GetOwnerProcess())
        return;
    if (CKernelHandle process = Terminate(processId))
        m_terminated.push_back(std::move(process));
}

bool CTaskManager::KillProcess(DWORD processId)
{
    return Terminate(processId).IsValid();
}

CKernelHandle CTaskManager::Terminate(DWORD processId)
{
    CKernelHandle process(::OpenProcess(kProcessAllAccess, FALSE, processId));
    if (!process)
        return CKernelHandle();
    if (!::TerminateProcess(process.Get(), 0))
        return CKernelHandle();
    return process;
}

void SoftReset()
{
    if (!platform::RequestSoftReset())
        throw error(FormatResourceString(IDS_RESET_REFUSED, {LastErrorText()}));
}

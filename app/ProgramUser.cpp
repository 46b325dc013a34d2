#include "app/ProgramUser.h"
#include "core/TaskManager.h"
#include "framework/Error.h"
#include "framework/MessageBox.h"

void CProgramUser::Tell(const std::wstring& text)
{
    ShowProgramMessage(m_window, text, MB_OK | MB_ICONINFORMATION);
}

void CProgramUser::Warn(const error& failure)
{
    ReportError(failure, m_window);
}

void CProgramUser::FreeHeldFiles()
{
    // From the command line, ending other programs is never wanted.
    if (m_window)
        CTaskManager().CloseRunningApplications();
}

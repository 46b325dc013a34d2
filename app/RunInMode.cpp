#include "app/RunInMode.h"
#include "app/DorixApp.h"
#include "app/KeepModeRun.h"
#include "core/KeepMode.h"
#include "core/ModeSwitch.h"
#include "core/TaskManager.h"
#include "framework/Error.h"
#include "framework/ProgramEnd.h"
#include "platform/Shortcut.h"

void CRunInMode::Start(const CVideoMode& target, CProgramRun run, const std::wstring& commandLine)
{
    const bool yes = CDorixApp::HasSwitch(commandLine, L"Y");
    try {
        const CVideoMode current = GetModeSwitch().GetCurrentMode();
        if (current == target) {
            run.Start();
            return;
        }
        if (!CDorixApp::ConfirmReset(commandLine))
            return;
        if (run.m_bReturn)
            run.m_returnMode = current;
        run.Arm();
        try {
            // "Y" stands for callers that want no questions, after the reset neither.
            if (yes)
                GetModeSwitch().SwitchTo(target);
            else
                CKeepMode::SwitchTo(target);
        } catch (...) {
            CProgramRun::Remove();
            throw;
        }
        // One shortcut of the program's at the next boot: the run's asks the net's question.
        platform::DeleteShortcut(CKeepMode::GetShortcutPath());
        SoftReset();
    } catch (...) {
        ReportCurrentException();
        EndProgram(1);
    }
}

void CRunInMode::GoBack(const CVideoMode& mode)
{
    GetModeSwitch().SwitchTo(mode);
    CProgramRun::Remove();
    SoftReset();
}

void CRunInMode::Resume()
{
    if (!CKeepModeRun::Run(&CProgramRun::Remove))
        return;
    CProgramRun run;
    try {
        if (!CProgramRun::ReadRecord(run)) {
            CProgramRun::Remove();
            return;
        }
    } catch (...) {
        // Deleted, so that no later boot runs into it again.
        CProgramRun::Remove();
        throw;
    }
    if (run.m_bStarted) {
        GoBack(run.m_returnMode);
        return;
    }
    if (!run.m_bReturn) {
        CProgramRun::Remove();
        run.Start();
        return;
    }
    // Before the start: a reset from here on ends the program, and the next boot goes back.
    CProgramRun::MarkStarted();
    CKernelHandle process;
    try {
        process = run.Start();
    } catch (const error& e) {
        ReportError(e);
        GoBack(run.m_returnMode);
        return;
    }
    ::WaitForSingleObject(process.Get(), INFINITE);
    CProgramRun still;
    if (CProgramRun::ReadRecord(still))
        GoBack(run.m_returnMode);
}

#include "app/RunInMode.h"
#include "app/KeepModeRun.h"
#include "core/KeepMode.h"
#include "core/ModeSwitch.h"
#include "framework/Error.h"
#include "framework/ProgramEnd.h"
#include "platform/Shortcut.h"

void CRunInMode::Start(const CModeChange& change, CProgramRun run)
{
    try {
        const CVideoMode current = change.GetModeSwitch().GetCurrentMode();
        if (current == change.GetTarget()) {
            run.Start();
            return;
        }
        if (!change.Confirm())
            return;
        if (run.m_bReturn)
            run.m_returnMode = current;
        run.Arm();
        try {
            change.Switch();
        } catch (...) {
            UndoQuietly(&CProgramRun::Remove);
            throw;
        }
        // One shortcut of the program's at the next boot: the run's asks the net's question.
        platform::DeleteShortcut(CKeepMode::GetShortcutPath());
        change.Finish();
    } catch (...) {
        ReportCurrentException();
        EndProgram(1);
    }
}

void CRunInMode::GoBack(CModeSwitch& modeSwitch, const CVideoMode& mode)
{
    CModeChange back(modeSwitch, mode);
    back.m_bSafetyNet = false;
    back.Switch();
    CProgramRun::Remove();
    back.Finish();
}

void CRunInMode::Resume(CModeSwitch& modeSwitch)
{
    if (!CKeepModeRun::Run(modeSwitch))
        return;
    CProgramRun run;
    try {
        if (!CProgramRun::ReadRecord(run)) {
            CProgramRun::Remove();
            return;
        }
    } catch (...) {
        // Deleted, so that no later boot runs into it again.
        UndoQuietly(&CProgramRun::Remove);
        throw;
    }
    if (run.m_bStarted) {
        GoBack(modeSwitch, run.m_returnMode);
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
        GoBack(modeSwitch, run.m_returnMode);
        return;
    }
    ::WaitForSingleObject(process.Get(), INFINITE);
    CProgramRun still;
    if (CProgramRun::ReadRecord(still))
        GoBack(modeSwitch, run.m_returnMode);
}

#include "app/KeepModeRun.h"
#include "core/KeepMode.h"
#include "core/ModeSwitch.h"
#include "core/TaskManager.h"
#include "profiles/ProfileCommand.h"
#include "ui/KeepModeDlg.h"

bool CKeepModeRun::Run(void (*alsoOnBack)())
{
    CVideoMode previous;
    INT_PTR answer = IDOK;
    try {
        // A device already back in the recorded mode has nothing to ask; this also ends
        // the net when its record could not be deleted last time.
        if (CKeepMode::ReadRecord(previous) && GetModeSwitch().GetCurrentMode() != previous)
            answer = CKeepModeDlg(GetModeSwitch().GetCurrentMode(), CKeepMode::GetSeconds()).DoModal();
    } catch (...) {
        CKeepMode::Remove();
        throw;
    }
    if (answer != IDOK) {
        // The net stays up until the way back has succeeded: a switch back that fails leaves
        // it for the next boot to ask again.
        const CShowMessageCommand::CUnattended unattended(answer == IDTIMEOUT);
        GetModeSwitch().SwitchTo(previous);
    }
    CKeepMode::Remove();
    if (answer == IDOK)
        return true;
    if (alsoOnBack)
        alsoOnBack();
    SoftReset();
    return false;
}

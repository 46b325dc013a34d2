#include "app/KeepModeRun.h"
#include "app/ModeChange.h"
#include "core/KeepMode.h"
#include "core/ModeSwitch.h"
#include "core/ProgramRun.h"
#include "framework/Error.h"
#include "ui/KeepModeDlg.h"

bool CKeepModeRun::Run(CModeSwitch& modeSwitch)
{
    CVideoMode previous;
    INT_PTR answer = IDOK;
    try {
        // A device already back in the recorded mode has nothing to ask; this also ends
        // the net when its record could not be deleted last time.
        if (CKeepMode::ReadRecord(previous) && modeSwitch.GetCurrentMode() != previous)
            answer = CKeepModeDlg(modeSwitch.GetCurrentMode(), CKeepMode::GetSeconds()).DoModal();
    } catch (...) {
        UndoQuietly(&CKeepMode::Remove);
        throw;
    }
    if (answer == IDOK) {
        CKeepMode::Remove();
        return true;
    }
    CModeChange back(modeSwitch, previous);
    back.m_bSafetyNet = false;
    back.m_bUnattended = answer == IDTIMEOUT;
    // The net stays up until the way back has succeeded: a switch back that fails leaves it
    // for the next boot to ask again.
    back.Switch();
    CKeepMode::Remove();
    CProgramRun::Remove();
    back.Finish();
    return false;
}

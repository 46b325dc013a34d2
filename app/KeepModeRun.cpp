#include "app/KeepModeRun.h"
#include "core/KeepMode.h"
#include "core/ModeSwitch.h"
#include "core/TaskManager.h"
#include "ui/KeepModeDlg.h"

bool CKeepModeRun::Run(void (*alsoOnBack)())
{
    CVideoMode previous;
    bool back = false;
    try {
        if (CKeepMode::ReadRecord(previous)) {
            const CVideoMode current = GetModeSwitch().GetCurrentMode();
            // A device already back in the recorded mode has nothing to ask; this also ends
            // the net when its record could not be deleted last time.
            back = current != previous
                   && CKeepModeDlg(current, CKeepMode::GetSeconds()).DoModal() != IDOK;
        }
    } catch (...) {
        CKeepMode::Remove();
        throw;
    }
    CKeepMode::Remove();
    if (!back)
        return true;
    if (alsoOnBack)
        alsoOnBack();
    GetModeSwitch().SwitchTo(previous);
    SoftReset();
    return false;
}

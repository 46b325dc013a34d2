#pragma once
// The mode switch: knows the mode the device runs in, owns every CModeProp created during the
// run and the undo buffer of the last switch. There is one for the whole program.
#include <memory>
#include "core/ModeProp.h"
#include "core/UndoBuffer.h"
#include "core/VideoMode.h"
#include "state/ColArray.h"

class CSettings;

class CModeSwitch {
public:
    CModeSwitch();
    CModeSwitch(const CModeSwitch&) = delete;
    CModeSwitch& operator=(const CModeSwitch&) = delete;
    virtual ~CModeSwitch();

    // The mode the device runs in. Read once, at the first call of the run, and kept: the
    // driver's settings take effect only at the next restart, so whatever a switch writes
    // later must not change the answer.
    CVideoMode GetCurrentMode();
    // The mode the driver's settings name now, read every time; after a switch without a
    // restart this is that switch's target.
    CVideoMode ReadCurrentMode();

    // A new CModeProp for the mode, with the defaults and not yet loaded. The mode switch
    // keeps it until the program ends; callers never delete it.
    CModeProp& CreateModeProp(const CVideoMode& mode);

    // The switch: carries the per-mode data from the mode the driver's settings name now over
    // to target (only when they differ), then applies target's metrics, clocks and driver
    // settings. On any failure the registry values recorded in the undo buffer are put back
    // and the same failure reaches the caller.
    void SwitchTo(CVideoMode target);

    CSettings& GetSettings() { return *m_pSettings; }
    CUndoBuffer& GetUndoBuffer() { return m_undo; }

    // Whether every mode keeps its own copy of the touch calibration (settings value
    // "SwitchCalibrationData", default off).
    bool IsCalibrationSwitched();

private:
    bool m_bCurrentKnown = false;
    CVideoMode m_current;
    std::unique_ptr<CSettings> m_pSettings;
    CTypedColArray<CModeProp> m_modeProps;
    CUndoBuffer m_undo;
};

// The program's one mode switch, created at first use.
CModeSwitch& GetModeSwitch();
// Replaces the mode switch by a fresh one, as a new run of the program would have it: the
// current mode is read again at the next GetCurrentMode. References handed out by the old
// one are no longer valid.
void ResetModeSwitch();

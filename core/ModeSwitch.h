#pragma once
// The mode switch: the switch session of the program's core. It reads the mode the device runs
// in from the display driver's settings, owns every CModeProp created through it, and carries
// out a switch. The program's top makes one and hands it down; there is no global one.
#include "core/ModeProp.h"
#include "state/ColArray.h"
#include "state/SwitchSession.h"
#include "state/VideoMode.h"

class CModeSwitch : public CSwitchSession {
public:
    // The current mode is read from the driver's settings at the first GetCurrentMode.
    CModeSwitch();
    // current: the mode the device runs in, known already.
    explicit CModeSwitch(const CVideoMode& current);
    ~CModeSwitch() override;

    // The driver's settings (CDisplayDriver::ReadCurrentMode).
    CVideoMode ReadCurrentMode() const override;

    // A new CModeProp for the mode, with the defaults and not yet loaded. The mode switch
    // keeps it until it goes; callers never delete it.
    CModeProp& CreateModeProp(const CVideoMode& mode);

    // The switch: carries the per-mode data from the mode the driver's settings name now over
    // to target (only when they differ), then applies target's metrics, clocks and driver
    // settings. On any failure the registry values recorded in the undo buffer are put back
    // and the same failure reaches the caller.
    void SwitchTo(CVideoMode target);
    // What SwitchTo(target) would do, into record, with nothing written, copied, shown or
    // started: the same switch, with the record as its sink. A failure the switch would end on
    // is the record's last line; what is not an `error` reaches the caller.
    void Preview(CVideoMode target, CSwitchRecord& record);

    // Whether every mode keeps its own copy of the touch calibration (settings value
    // "SwitchCalibrationData", default off).
    bool IsCalibrationSwitched() const;

private:
    CTypedColArray<CModeProp> m_modeProps;
};

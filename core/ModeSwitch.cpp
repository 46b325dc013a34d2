#include "core/ModeSwitch.h"
#include <memory>
#include "core/DisplayDriver.h"
#include "framework/ResourceString.h"
#include "resources/resource.h"
#include "state/Registry.h"
#include "state/Settings.h"
#include "state/SettingsRegistry.h"

CModeSwitch::CModeSwitch() : m_modeProps(true) {}

CModeSwitch::CModeSwitch(const CVideoMode& current) : CSwitchSession(current), m_modeProps(true) {}

CModeSwitch::~CModeSwitch() = default;

void CModeSwitch::SwitchTo(CVideoMode target)
{
    m_undo.RemoveAll();
    try {
        // The keys are closed before a roll-back.
        const CKeysOpen keys(*this);
        const CVideoMode current = ReadCurrentMode();
        if (current != target) {
            m_pSettings->Load();
            m_pSettings->SwitchAll(*this, current, target);
        }
        Record(CSwitchRecord::Kind::heading, IDS_PREVIEW_STEP_METRICS);
        CModeProp& metrics = CreateModeProp(target);
        metrics.Load();
        metrics.ApplyToSystem(*this);
        Record(CSwitchRecord::Kind::heading, IDS_PREVIEW_STEP_DRIVER);
        target.LoadClocks();
        CDisplayDriver::WriteSettings(*this, target);
    } catch (...) {
        // A preview has written nothing to take back.
        if (!IsPreview())
            m_undo.UndoAll(true);
        throw;
    }
}

void CModeSwitch::Preview(CVideoMode target, CSwitchRecord& record)
{
    struct CRecording {
        CModeSwitch& modeSwitch;
        ~CRecording()
        {
            modeSwitch.SetRecord(nullptr);
            modeSwitch.m_undo.RemoveAll();
        }
    };
    SetRecord(&record);
    const CRecording recording{*this};
    try {
        if (ReadCurrentMode() == target)
            record.Add(CSwitchRecord::Kind::note, LoadResourceString(IDS_PREVIEW_SAME_MODE));
        SwitchTo(target);
    } catch (const error& e) {
        record.Add(CSwitchRecord::Kind::failure, FormatResourceString(IDS_PREVIEW_FAILS, {e.GetMessage()}));
    }
}

CVideoMode CModeSwitch::ReadCurrentMode() const
{
    return CDisplayDriver::ReadCurrentMode();
}

CModeProp& CModeSwitch::CreateModeProp(const CVideoMode& mode)
{
    const size_t index = m_modeProps.Add(std::make_unique<CModeProp>(mode));
    return *m_modeProps.GetAt(index);
}

bool CModeSwitch::IsCalibrationSwitched() const
{
    return SettingsRegistry().ReadDWord(nullptr, kSwitchCalibrationSetting, 0) != 0;
}

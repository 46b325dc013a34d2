#include "core/ModeSwitch.h"
#include <memory>
#include "core/DisplayDriver.h"
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
        CModeProp& metrics = CreateModeProp(target);
        metrics.Load();
        metrics.ApplyToSystem();
        target.LoadClocks();
        CDisplayDriver::WriteSettings(*this, target);
    } catch (...) {
        m_undo.UndoAll(true);
        throw;
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
    return GetSettingsRegistry().ReadDWord(nullptr, kSwitchCalibrationSetting, 0) != 0;
}

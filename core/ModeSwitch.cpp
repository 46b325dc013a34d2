#include "core/ModeSwitch.h"
#include <memory>
#include "state/Registry.h"
#include "state/Settings.h"
#include "state/SettingsRegistry.h"

namespace {
std::unique_ptr<CModeSwitch>& Instance()
{
    static std::unique_ptr<CModeSwitch> instance;
    return instance;
}
}  // namespace

CModeSwitch::CModeSwitch() : m_current(false, 0), m_pSettings(std::make_unique<CSettings>()), m_modeProps(true) {}

CModeSwitch::~CModeSwitch()
{
    m_pSettings.reset();
    m_undo.RemoveAll();
    m_modeProps.RemoveAll();
}

void CModeSwitch::SwitchTo(CVideoMode target)
{
    m_undo.RemoveAll();
    try {
        // Every entry reads and writes the same few keys: each is opened once. The keys are
        // closed before a roll-back.
        const CRegistry::CKeyCache keys;
        const CVideoMode current = ReadCurrentMode();
        if (current != target) {
            m_pSettings->Load();
            m_pSettings->SwitchAll(current, target);
        }
        CModeProp& metrics = CreateModeProp(target);
        metrics.Load();
        metrics.ApplyToSystem();
        target.LoadClocks();
        target.WriteDriverSettings();
    } catch (...) {
        m_undo.UndoAll(true);
        throw;
    }
}

CVideoMode CModeSwitch::GetCurrentMode()
{
    if (!m_bCurrentKnown) {
        m_current = ReadCurrentMode();
        m_bCurrentKnown = true;
    }
    return m_current;
}

CVideoMode CModeSwitch::ReadCurrentMode()
{
    return CVideoMode::ReadCurrentMode();
}

CModeProp& CModeSwitch::CreateModeProp(const CVideoMode& mode)
{
    const size_t index = m_modeProps.Add(std::make_unique<CModeProp>(mode));
    return *m_modeProps.GetAt(index);
}

bool CModeSwitch::IsCalibrationSwitched()
{
    return GetSettingsRegistry().ReadDWord(nullptr, kSwitchCalibrationSetting, 0) != 0;
}

CModeSwitch& GetModeSwitch()
{
    std::unique_ptr<CModeSwitch>& instance = Instance();
    if (!instance)
        instance = std::make_unique<CModeSwitch>();
    return *instance;
}

void ResetModeSwitch()
{
    Instance() = std::make_unique<CModeSwitch>();
}

// The display controller's clock value and pixel clock divider per video mode: built-in
// defaults, overridden per mode in the settings registry under the mode's group.
#include "state/VideoMode.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/Registry.h"
#include "state/SettingsRegistry.h"

namespace {

struct ClockPair {
    int32_t clock;
    int32_t divider;
};

// By orientation; QVGA is the same in all four.
const ClockPair kQvgaClocks = {100, 14};
const ClockPair kVgaClocks[4] = {{75, 2}, {120, 23}, {75, 2}, {140, 14}};

ClockPair DefaultClocks(const CVideoMode& mode)
{
    if (mode.m_nOrientation < 0 || mode.m_nOrientation > 3)
        throw CVideoModeException(LoadResourceString(IDS_MODE_NOT_SUPPORTED));
    return mode.m_bVGA ? kVgaClocks[mode.m_nOrientation] : kQvgaClocks;
}

std::wstring ClockValueName(const wchar_t* prefix, int orientation)
{
    return prefix + std::to_wstring(orientation);
}

// An override equal to the default is removed, so that the built-in value applies.
void SaveOverride(const std::wstring& group, const std::wstring& name, int32_t value, int32_t defaultValue)
{
    CRegistry& settings = GetSettingsRegistry();
    if (value == defaultValue)
        settings.DeleteValue(group.c_str(), name.c_str());
    else
        settings.WriteDWord(group.c_str(), name.c_str(), value);
}

}  // namespace

int32_t CVideoMode::GetDefaultClock() const
{
    return DefaultClocks(*this).clock;
}

int32_t CVideoMode::GetDefaultDivider() const
{
    return DefaultClocks(*this).divider;
}

void CVideoMode::LoadClocks()
{
    const std::wstring group = GetGroupName();
    CRegistry& settings = GetSettingsRegistry();
    m_nClock = settings.ReadDWord(group.c_str(), ClockValueName(L"ClkFreq.", m_nOrientation).c_str(),
                                  GetDefaultClock());
    m_nDivider = settings.ReadDWord(group.c_str(), ClockValueName(L"ClkDivider.", m_nOrientation).c_str(),
                                    GetDefaultDivider());
}

void CVideoMode::SaveClocks()
{
    const std::wstring group = GetGroupName();
    SaveOverride(group, ClockValueName(L"ClkFreq.", m_nOrientation), m_nClock, GetDefaultClock());
    SaveOverride(group, ClockValueName(L"ClkDivider.", m_nOrientation), m_nDivider, GetDefaultDivider());
}

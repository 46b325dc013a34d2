#include "core/VideoMode.h"
#include "core/ModeSwitch.h"
#include "framework/NoCaseCompare.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/IniFile.h"
#include "state/Registry.h"

namespace {

const wchar_t* ControllerSection(bool vga) { return vga ? L"ASIC1" : L"ASIC0"; }
const wchar_t* PanelSection(bool vga) { return vga ? L"LCD1" : L"LCD0"; }

}  // namespace

std::wstring CVideoMode::GetResolutionName() const
{
    return m_bVGA ? L"VGA" : L"QVGA";
}

std::wstring CVideoMode::GetGroupName()
{
    m_strName = GetResolutionName() + L"." + (IsLandscape() ? L"landscape" : L"portrait");
    return m_strName;
}

std::wstring CVideoMode::GetModeName()
{
    m_strName = GetResolutionName() + L"." + std::to_wstring(m_nOrientation);
    return m_strName;
}

bool CVideoMode::NextFallback()
{
    if (m_nOrientation != 0) {
        m_nOrientation = static_cast<int16_t>(m_nOrientation - 2 < 0 ? 0 : m_nOrientation - 2);
        return true;
    }
    if (m_bVGA) {
        m_bVGA = false;
        return true;
    }
    return false;
}

std::wstring CVideoMode::FormatDwordText(int number)
{
    return L"dword:" + std::to_wstring(number);
}

CVideoMode CVideoMode::ReadCurrentMode()
{
    CRegistry registry(CRegistry::kCurrentUser, kDisplayModeKey);
    const bool vga = registry.ReadDWord(nullptr, kVgaModeValue, 0) == 1;
    const CIniFile table(kDriverTableFile);
    const std::wstring rotation = table.ReadString(PanelSection(vga), L"Rotation");
    int16_t orientation = 0;
    for (int16_t i = 0; i < 4; ++i) {
        if (EqualsNoCase(rotation, FormatDwordText(i))) {
            orientation = i;
            break;
        }
    }
    return CVideoMode(vga, orientation);
}

void CVideoMode::WriteDriverSettings()
{
    if (!(0 < m_nClock && m_nClock < 200 && 0 < m_nDivider && m_nDivider < 200))
        throw CVideoModeException(LoadResourceString(IDS_INVALID_CLOCK_SETTINGS));

    // The mode the device really runs in, read before anything below is written.
    CModeSwitch& modeSwitch = GetModeSwitch();
    CVideoMode current = modeSwitch.GetCurrentMode();
    // The calibration is read and rotated before the first write, so that a live value that
    // cannot be rotated fails the switch with nothing written rather than half-way through.
    const bool rotate = current.m_nOrientation != m_nOrientation;
    const std::wstring rotated = rotate ? RotatedCalibration(current.m_nOrientation, m_nOrientation) : std::wstring();

    CIniFile table(kDriverTableFile);
    const std::wstring controller = ControllerSection(m_bVGA);
    const std::wstring panel = PanelSection(m_bVGA);
    struct Write {
        const std::wstring& section;
        const wchar_t* key;
        int value;
    };
    const bool autoPower = !m_bVGA && !IsLandscape();
    const Write writes[] = {
        {controller, L"FastClkFreq", m_nClock},
        {panel, L"PixClkPostDivider", m_nDivider},
        {panel, L"Rotation", m_nOrientation},
        {controller, L"AutoPwr", autoPower ? 1 : 0},
    };
    // Every key is checked before the first change, so that a table file lacking one is left
    // as it was rather than half-written.
    for (const Write& w : writes)
        if (!table.HasKey(w.section, w.key))
            throw CIniFile::CIniFileException(L"CIniFile::WriteString failed: Key not found");
    for (const Write& w : writes)
        table.WriteString(w.section, w.key, FormatDwordText(w.value));
    // The file goes to disk before the registry changes, so a failed write-back leaves both
    // as they were.
    table.Close();

    CRegistry(CRegistry::kCurrentUser, kDisplayModeKey).WriteDWord(nullptr, kVgaModeValue, m_bVGA ? 1 : 0);
    CRegistry(CRegistry::kLocalMachine, kRotationKey).WriteDWord(nullptr, kAngleValue, GetAngle());

    const bool perMode = modeSwitch.IsCalibrationSwitched();
    if (perMode)
        current.SaveCalibration();
    if (rotate)
        WriteLiveCalibration(rotated);
    if (perMode)
        RestoreCalibration();
}

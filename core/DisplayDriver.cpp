#include "core/DisplayDriver.h"
#include "core/ModeSwitch.h"
#include "core/TouchCalibration.h"
#include "framework/NoCaseCompare.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/IniFile.h"
#include "state/Registry.h"
#include "state/SwitchSession.h"

namespace {

const wchar_t* ControllerSection(bool vga) { return vga ? L"ASIC1" : L"ASIC0"; }
const wchar_t* PanelSection(bool vga) { return vga ? L"LCD1" : L"LCD0"; }

}  // namespace

CVideoMode CDisplayDriver::ReadCurrentMode()
{
    CRegistry registry(CRegistry::kCurrentUser, kDisplayModeKey);
    const bool vga = registry.ReadDWord(nullptr, kVgaModeValue, 0) == 1;
    const CIniFile table(kDriverTableFile);
    const std::wstring rotation = table.ReadString(PanelSection(vga), L"Rotation");
    int16_t orientation = 0;
    for (int16_t i = 0; i < 4; ++i) {
        if (EqualsNoCase(rotation, CVideoMode::FormatDwordText(i))) {
            orientation = i;
            break;
        }
    }
    return CVideoMode(vga, orientation);
}

void CDisplayDriver::WriteSettings(CModeSwitch& session, const CVideoMode& target)
{
    const int32_t clock = target.m_nClock;
    const int32_t divider = target.m_nDivider;
    if (!(0 < clock && clock < 200 && 0 < divider && divider < 200))
        throw CVideoModeException(LoadResourceString(IDS_INVALID_CLOCK_SETTINGS));

    // The mode the device really runs in, read before anything below was written.
    const CVideoMode current = session.GetCurrentMode();
    const int16_t orientation = target.m_nOrientation;
    // The calibration is read and rotated before the first write, so that a live value that
    // cannot be rotated fails the switch with nothing written rather than half-way through.
    const bool rotate = current.m_nOrientation != orientation;
    const std::wstring rotated =
        rotate ? CTouchCalibration::Rotated(session, current.m_nOrientation, orientation) : std::wstring();

    CIniFile table(kDriverTableFile);
    const std::wstring controller = ControllerSection(target.m_bVGA);
    const std::wstring panel = PanelSection(target.m_bVGA);
    struct Write {
        const std::wstring& section;
        const wchar_t* key;
        int value;
    };
    const bool autoPower = !target.m_bVGA && !target.IsLandscape();
    const Write writes[] = {
        {controller, L"FastClkFreq", clock},
        {panel, L"PixClkPostDivider", divider},
        {panel, L"Rotation", orientation},
        {controller, L"AutoPwr", autoPower ? 1 : 0},
    };
    // Every key is checked before the first change, so that a table file lacking one is left
    // as it was rather than half-written.
    for (const Write& w : writes)
        if (!table.HasKey(w.section, w.key))
            throw CIniFile::CIniFileException(L"CIniFile::WriteString failed: Key not found");
    for (const Write& w : writes) {
        const std::wstring text = CVideoMode::FormatDwordText(w.value);
        const std::wstring now = table.ReadString(w.section, w.key);
        if (now != text)
            session.Record(CSwitchRecord::Kind::change, IDS_PREVIEW_DRIVER_TABLE,
                           {kDriverTableFile, w.section, w.key, now, text});
        // A preview leaves the table as it is: a changed one is written back when it goes.
        if (!session.IsPreview())
            table.WriteString(w.section, w.key, text);
    }
    // The file goes to disk before the registry changes, so a failed write-back leaves both
    // as they were.
    table.Close();

    session.Registry(CRegistry::kCurrentUser, kDisplayModeKey)
        .WriteDWord(nullptr, kVgaModeValue, target.m_bVGA ? 1 : 0);
    session.Registry(CRegistry::kLocalMachine, kRotationKey).WriteDWord(nullptr, kAngleValue, target.GetAngle());

    const bool perMode = session.IsCalibrationSwitched();
    if (perMode)
        CTouchCalibration::Save(session, current);
    if (rotate)
        CTouchCalibration::WriteLive(session, rotated);
    if (perMode)
        CTouchCalibration::Restore(session, target);
}

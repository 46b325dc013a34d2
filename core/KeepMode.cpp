#include "core/KeepMode.h"
#include "core/ModeSwitch.h"
#include "core/TaskManager.h"
#include "framework/File.h"
#include "framework/ResourceString.h"
#include "platform/DevicePaths.h"
#include "platform/Shortcut.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"

const wchar_t CKeepMode::kSecondsSetting[] = L"KeepModeSeconds";
const wchar_t CKeepMode::kKeyword[] = L"KEEP";

namespace {

const wchar_t kRecordKey[] = L"Pending";
const wchar_t kVgaValue[] = L"VGA";
const wchar_t kOrientationValue[] = L"Orientation";
const wchar_t kShortcutName[] = L"Dorix Keep Mode.lnk";
const int kStartupFolder = 7;

// One value of the record: a number within 0..max, or -1.
int ReadRecordValue(const wchar_t* name, int max)
{
    CRegistry& settings = GetSettingsRegistry();
    if (settings.GetValueKind(kRecordKey, name) != CRegistry::kindDWord)
        return -1;
    const int32_t value = settings.ReadDWord(kRecordKey, name, -1);
    return 0 <= value && value <= max ? value : -1;
}

}  // namespace

bool CKeepMode::IsOn()
{
    return GetSettingsRegistry().ReadDWord(nullptr, kSecondsSetting, 0) != 0;
}

int CKeepMode::GetSeconds()
{
    const int32_t seconds = GetSettingsRegistry().ReadDWord(nullptr, kSecondsSetting, 0);
    return 0 < seconds && seconds <= kMaxSeconds ? seconds : kDefaultSeconds;
}

std::wstring CKeepMode::GetShortcutPath()
{
    return platform::GetSpecialFolderPath(kStartupFolder) + L"\\" + kShortcutName;
}

bool CKeepMode::ReadRecord(CVideoMode& mode)
{
    if (!GetSettingsRegistry().KeyExists(kRecordKey))
        return false;
    const int vga = ReadRecordValue(kVgaValue, 1);
    const int orientation = ReadRecordValue(kOrientationValue, 3);
    if (vga < 0 || orientation < 0)
        throw CRecordException(LoadResourceString(IDS_KEEP_MODE_BAD_RECORD));
    mode = CVideoMode(vga == 1, static_cast<int16_t>(orientation));
    return true;
}

void CKeepMode::WriteRecord(const CVideoMode& mode)
{
    CRegistry& settings = GetSettingsRegistry();
    settings.StoreDWord(kRecordKey, kVgaValue, mode.m_bVGA ? 1 : 0);
    settings.StoreDWord(kRecordKey, kOrientationValue, mode.m_nOrientation);
}

void CKeepMode::Remove()
{
    GetSettingsRegistry().DeleteKey(kRecordKey);
    platform::DeleteShortcut(GetShortcutPath());
}

void CKeepMode::Arm(const CVideoMode& confirmed, bool pending)
{
    try {
        // A net without its record would not hold.
        WriteRecord(confirmed);
    } catch (const error&) {
        if (!pending)
            Remove();
        throw;
    }
    const std::wstring shortcut = GetShortcutPath();
    if (!platform::CreateShortcut(shortcut, GetProgramPath(), kKeyword)) {
        const DWORD code = ::GetLastError();
        if (!pending)
            Remove();
        throw CFileException(shortcut, code);
    }
}

void CKeepMode::SwitchTo(const CVideoMode& target)
{
    if (!IsOn()) {
        GetModeSwitch().SwitchTo(target);
        return;
    }
    // While the question of an earlier switch is still open (its box, or the boot that asks
    // it, is yet to come), its record names the last mode the user confirmed: going back
    // must lead there, not to the mode nobody has confirmed yet.
    CVideoMode confirmed;
    bool pending = false;
    try {
        pending = ReadRecord(confirmed);
    } catch (const CRecordException&) {
    }
    if (!pending)
        confirmed = GetModeSwitch().GetCurrentMode();
    const bool ask = confirmed != target;
    if (ask)
        Arm(confirmed, pending);
    try {
        GetModeSwitch().SwitchTo(target);
    } catch (...) {
        // No reset follows a failed switch: the device stays in its mode, and so does a net
        // that was up before.
        if (ask && !pending)
            Remove();
        throw;
    }
    if (!ask && pending)
        Remove();
}

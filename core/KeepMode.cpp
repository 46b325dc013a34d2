#include "core/KeepMode.h"
#include "core/CommandLine.h"
#include "core/ModeRecord.h"
#include "core/ModeSwitch.h"
#include "framework/Error.h"
#include "framework/ResourceString.h"
#include "platform/Shortcut.h"
#include "resources/resource.h"
#include "state/SettingsRegistry.h"

namespace {

const wchar_t kRecordKey[] = L"Pending";
const wchar_t kShortcutName[] = L"Dorix Keep Mode.lnk";

}  // namespace

bool CKeepMode::IsOn()
{
    return GetSettingsRegistry().ReadDWord(nullptr, kKeepModeSecondsSetting, 0) != 0;
}

int CKeepMode::GetSeconds()
{
    const int32_t seconds = GetSettingsRegistry().ReadDWord(nullptr, kKeepModeSecondsSetting, 0);
    return 0 < seconds && seconds <= kMaxSeconds ? seconds : kDefaultSeconds;
}

std::wstring CKeepMode::GetShortcutPath()
{
    return GetStartupShortcutPath(kShortcutName);
}

bool CKeepMode::ReadRecord(CVideoMode& mode)
{
    if (!GetSettingsRegistry().KeyExists(kRecordKey))
        return false;
    if (!ReadRecordedMode(kRecordKey, mode))
        throw CRecordException(LoadResourceString(IDS_KEEP_MODE_BAD_RECORD));
    return true;
}

void CKeepMode::WriteRecord(const CVideoMode& mode)
{
    WriteRecordedMode(kRecordKey, mode);
}

void CKeepMode::Remove()
{
    GetSettingsRegistry().DeleteKey(kRecordKey);
    platform::DeleteShortcut(GetShortcutPath());
}

void CKeepMode::Arm(const CVideoMode& confirmed, bool pending)
{
    try {
        WriteRecord(confirmed);
        CreateBootShortcut(kShortcutName, CCommandLine::kKeep);
    } catch (...) {
        if (!pending)
            UndoQuietly(&Remove);
        throw;
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
            UndoQuietly(&Remove);
        throw;
    }
    if (!ask && pending)
        Remove();
}

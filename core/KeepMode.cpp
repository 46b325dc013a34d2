#include "core/KeepMode.h"
#include "core/BootRecord.h"
#include "core/CommandLine.h"
#include "core/ModeSwitch.h"
#include "framework/Error.h"
#include "framework/ResourceString.h"
#include "resources/resource.h"
#include "state/SettingsRegistry.h"

namespace {

const CBootRecord kRecord(L"Pending", L"Dorix Keep Mode.lnk", CCommandLine::kKeep);

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
    return kRecord.GetShortcutPath();
}

bool CKeepMode::ReadRecord(CVideoMode& mode)
{
    if (!kRecord.Exists())
        return false;
    if (!kRecord.ReadMode(mode))
        throw CRecordException(LoadResourceString(IDS_KEEP_MODE_BAD_RECORD));
    return true;
}

void CKeepMode::WriteRecord(const CVideoMode& mode)
{
    kRecord.WriteMode(mode);
}

void CKeepMode::Remove()
{
    kRecord.Remove();
}

void CKeepMode::SwitchTo(CModeSwitch& modeSwitch, const CVideoMode& target)
{
    if (!IsOn()) {
        modeSwitch.SwitchTo(target);
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
        confirmed = modeSwitch.GetCurrentMode();
    const bool ask = confirmed != target;
    if (ask)
        kRecord.Arm([&confirmed] { WriteRecord(confirmed); }, pending);
    try {
        modeSwitch.SwitchTo(target);
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

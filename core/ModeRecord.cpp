#include "core/ModeRecord.h"
#include <windows.h>
#include "framework/File.h"
#include "platform/DevicePaths.h"
#include "platform/Shortcut.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"

namespace {

const wchar_t kVgaValue[] = L"VGA";
const wchar_t kOrientationValue[] = L"Orientation";
const int kStartupFolder = 7;

// One value of a record: a number within 0..max, or -1.
int ReadRecordValue(const wchar_t* key, const wchar_t* name, int max)
{
    CRegistry& settings = GetSettingsRegistry();
    if (settings.GetValueKind(key, name) != CRegistry::kindDWord)
        return -1;
    const int32_t value = settings.ReadDWord(key, name, -1);
    return 0 <= value && value <= max ? value : -1;
}

}  // namespace

bool HasRecordedMode(const wchar_t* key)
{
    CRegistry& settings = GetSettingsRegistry();
    return settings.GetValueKind(key, kVgaValue) != CRegistry::kindMissing
           || settings.GetValueKind(key, kOrientationValue) != CRegistry::kindMissing;
}

bool ReadRecordedMode(const wchar_t* key, CVideoMode& mode)
{
    const int vga = ReadRecordValue(key, kVgaValue, 1);
    const int orientation = ReadRecordValue(key, kOrientationValue, 3);
    if (vga < 0 || orientation < 0)
        return false;
    mode = CVideoMode(vga == 1, static_cast<int16_t>(orientation));
    return true;
}

void WriteRecordedMode(const wchar_t* key, const CVideoMode& mode)
{
    CRegistry& settings = GetSettingsRegistry();
    settings.WriteDWord(key, kVgaValue, mode.m_bVGA ? 1 : 0);
    settings.WriteDWord(key, kOrientationValue, mode.m_nOrientation);
}

std::wstring GetStartupShortcutPath(const wchar_t* name)
{
    return platform::GetSpecialFolderPath(kStartupFolder) + L"\\" + name;
}

void CreateBootShortcut(const wchar_t* name, const wchar_t* keyword)
{
    const std::wstring shortcut = GetStartupShortcutPath(name);
    if (!platform::CreateShortcut(shortcut, GetProgramPath(), keyword))
        throw CFileException(shortcut, ::GetLastError());
}

#include "core/BootRecord.h"
#include <windows.h>
#include "framework/Error.h"
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

std::wstring GetStartupShortcutPath(const wchar_t* name)
{
    return platform::GetSpecialFolderPath(kStartupFolder) + L"\\" + name;
}

std::wstring CBootRecord::GetShortcutPath() const
{
    return GetStartupShortcutPath(m_pszShortcutName);
}

bool CBootRecord::Exists() const
{
    return GetSettingsRegistry().KeyExists(m_pszKey);
}

bool CBootRecord::HasMode() const
{
    CRegistry& settings = GetSettingsRegistry();
    return settings.GetValueKind(m_pszKey, kVgaValue) != CRegistry::kindMissing
           || settings.GetValueKind(m_pszKey, kOrientationValue) != CRegistry::kindMissing;
}

bool CBootRecord::ReadMode(CVideoMode& mode) const
{
    const int vga = ReadRecordValue(m_pszKey, kVgaValue, 1);
    const int orientation = ReadRecordValue(m_pszKey, kOrientationValue, 3);
    if (vga < 0 || orientation < 0)
        return false;
    mode = CVideoMode(vga == 1, static_cast<int16_t>(orientation));
    return true;
}

void CBootRecord::WriteMode(const CVideoMode& mode) const
{
    CRegistry& settings = GetSettingsRegistry();
    settings.WriteDWord(m_pszKey, kVgaValue, mode.m_bVGA ? 1 : 0);
    settings.WriteDWord(m_pszKey, kOrientationValue, mode.m_nOrientation);
}

void CBootRecord::Arm(const std::function<void()>& write, bool keepOnFailure) const
{
    try {
        write();
        const std::wstring shortcut = GetShortcutPath();
        if (!platform::CreateShortcut(shortcut, GetProgramPath(), m_pszKeyword))
            throw CFileException(shortcut, ::GetLastError());
    } catch (...) {
        if (!keepOnFailure)
            UndoQuietly([this] { Remove(); });
        throw;
    }
}

void CBootRecord::Remove() const
{
    GetSettingsRegistry().DeleteKey(m_pszKey);
    const std::wstring shortcut = GetShortcutPath();
    if (platform::DeleteShortcut(shortcut))
        return;
    // Left behind, the shortcut would start the program at every boot.
    const DWORD code = ::GetLastError();
    if (::Exists(shortcut))
        throw CFileException(shortcut, code);
}

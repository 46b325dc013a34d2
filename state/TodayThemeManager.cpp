#include "state/TodayThemeManager.h"
#include "framework/CeApi.h"
#include "framework/Error.h"
#include "framework/Handle.h"
#include "framework/NoCaseCompare.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/Registry.h"
#include "state/SettingsRegistry.h"
#include "state/SwitchSession.h"
#include "state/VideoMode.h"

const wchar_t CTodayThemeManager::kStandardTheme[] = L"Windows Standard";

namespace {

const wchar_t kTodayKey[] = L"Software\\Microsoft\\Today";
const wchar_t kColorKey[] = L"Software\\Microsoft\\Color";
const wchar_t kInstaller[] = L"\\Windows\\wceload.exe";
const DWORD kInstallTimeout = 10000;

CRegistry Today(const CSwitchSession& session)
{
    return session.Registry(CRegistry::kCurrentUser, kTodayKey);
}

void DeleteThemeFile(const CSwitchSession& session, const wchar_t* path)
{
    if (!session.IsPreview())
        ::DeleteFileW(path);
    else if (Exists(path))
        session.Record(CSwitchRecord::Kind::change, IDS_PREVIEW_DELETE_FILE, {path});
}

void ClearWallpaper(CRegistry& today)
{
    for (const wchar_t* name : {L"WallFile", L"Wall", L"Wallpaper"})
        today.WriteString(nullptr, name, L"");
}

}  // namespace

void CTodayThemeManager::Switch(const CSwitchSession& session, CVideoMode from, CVideoMode to)
{
    std::wstring active = Today(session).ReadString(nullptr, L"Skin");
    if (active.empty())
        active = kStandardTheme;
    CRegistry settings = session.SettingsRegistry();
    settings.WriteString(from.GetGroupName().c_str(), L"TodayTheme", active.c_str());
    const std::wstring remembered = settings.ReadString(to.GetGroupName().c_str(), L"TodayTheme");
    if (remembered.empty())
        return;
    try {
        Install(session, remembered);
    } catch (const CTodayThemeException& e) {
        session.Warn(e);
    }
}

void CTodayThemeManager::Install(const CSwitchSession& session, const std::wstring& theme)
{
    if (EqualsNoCase(theme, kStandardTheme)) {
        ResetToStandard(session);
        return;
    }
    if (!Exists(theme))
        throw CTodayThemeException(FormatResourceString(IDS_THEME_NOT_FOUND, {theme}));

    CRegistry today = Today(session);
    today.DeleteValue(nullptr, L"UseStartImage");
    ClearWallpaper(today);
    today.DeleteValue(nullptr, L"Watermark");
    if (session.IsPreview()) {
        session.Record(CSwitchRecord::Kind::change, IDS_PREVIEW_THEME, {theme});
        today.WriteString(nullptr, L"Skin", theme.c_str());
        return;
    }

    // The system hands the installer its arguments alone; it knows its own name.
    std::wstring arguments = L"/safe /noui /nouninstall /delete 0 \"" + theme + L"\"";
    PROCESS_INFORMATION info{};
    // An installer that cannot be started would leave the Today screen cleared with no word
    // to the user; it is reported like one that does not finish.
    if (!::CreateProcessW(kInstaller, arguments.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info))
        throw CTodayThemeException(FormatResourceString(IDS_THEME_CANNOT_INSTALL, {theme}));
    CKernelHandle process(info.hProcess);
    CKernelHandle thread(info.hThread);
    if (::WaitForSingleObject(process.Get(), kInstallTimeout) != WAIT_OBJECT_0)
        throw CTodayThemeException(FormatResourceString(IDS_THEME_CANNOT_INSTALL, {theme}));
    today.WriteString(nullptr, L"Skin", theme.c_str());
    // A hung window must not hold up the switch: the reload request is sent with a time limit.
    DWORD_PTR result = 0;
    ::SendMessageTimeout(HWND_BROADCAST, WM_WININICHANGE, 0xF2, 0, SMTO_ABORTIFHUNG, 1000, &result);
}

void CTodayThemeManager::ResetToStandard(const CSwitchSession& session)
{
    DeleteThemeFile(session, L"\\Windows\\stwater.gif");
    DeleteThemeFile(session, L"\\Windows\\tdywater.gif");
    CRegistry today = Today(session);
    ClearWallpaper(today);
    today.DeleteValue(nullptr, L"Watermark");
    today.WriteString(nullptr, L"Skin", L"");
    today.WriteDWord(nullptr, L"UseStartImage", 1);
    CRegistry colors = session.Registry(CRegistry::kLocalMachine, kColorKey);
    for (int i = 0; i < 50; ++i)
        colors.DeleteValue(nullptr, std::to_wstring(i).c_str());
}

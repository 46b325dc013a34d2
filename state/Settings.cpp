#include "state/Settings.h"
#include <algorithm>
#include <set>
#include "framework/NoCaseCompare.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"
#include "state/SwitchSession.h"
#include "state/TodayThemeManager.h"

namespace {

// Value names as the registry compares them: without regard to letter case.
struct CNameLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const
    {
        return CompareNoCase(a, b) < 0;
    }
};

// The index a list item's value name stands for: its decimal digits as "%d" writes them; -1
// for any other name.
int32_t ItemIndex(const std::wstring& name)
{
    if (name.empty() || name.size() > 10 || (name[0] == L'0' && name.size() > 1))
        return -1;
    int64_t index = 0;
    for (wchar_t c : name) {
        if (c < L'0' || c > L'9')
            return -1;
        index = index * 10 + (c - L'0');
    }
    return index <= INT32_MAX ? static_cast<int32_t>(index) : -1;
}

// Writes the items and the new "Count" before anything of the old list goes: a save cut
// short leaves the old list or the new one, never none. Then the old items past the new
// count go, silently: past "Count" nobody reads them.
void WriteList(const wchar_t* subKey, const std::vector<std::wstring>& items)
{
    CRegistry& registry = GetSettingsRegistry();
    for (size_t i = 0; i < items.size(); ++i)
        registry.WriteString(subKey, std::to_wstring(i).c_str(), items[i].c_str());
    registry.WriteDWord(subKey, L"Count", static_cast<int32_t>(items.size()));
    const CRegistry::CKey key = CRegistry::CKey::Open(registry.GetRoot(), registry.GetFullPath(subKey));
    for (const std::wstring& name : key.GetValueNames())
        if (ItemIndex(name) >= static_cast<int64_t>(items.size()))
            key.DeleteValue(name.c_str());
}

}  // namespace

std::vector<std::wstring> CSettings::ReadList(const wchar_t* subKey)
{
    // The items the key holds, in index order, up to "Count": read from the key's own list
    // of values, so that a "Count" far beyond them costs nothing.
    CRegistry& registry = GetSettingsRegistry();
    const CRegistry::CKey key = CRegistry::CKey::Open(registry.GetRoot(), registry.GetFullPath(subKey));
    const int32_t count = key.ReadDWord(L"Count", 0);
    std::vector<std::pair<int32_t, std::wstring>> found;
    for (auto& [name, text] : key.GetValueTexts()) {
        const int32_t index = ItemIndex(name);
        if (index >= 0 && index < count && !text.empty())
            found.emplace_back(index, std::move(text));
    }
    std::sort(found.begin(), found.end());
    std::vector<std::wstring> items;
    for (auto& [index, text] : found)
        items.push_back(std::move(text));
    return items;
}

void CSettings::Load()
{
    m_regEntries.RemoveAll();
    for (const std::wstring& text : ReadList(kRegistryListKey)) {
        auto entry = std::make_unique<CRegEntry>();
        entry->FromString(text);
        m_regEntries.Add(std::move(entry));
    }
    m_fileEntries.RemoveAll();
    for (const std::wstring& path : ReadList(kFileListKey))
        m_fileEntries.Add(std::make_unique<CFileEntry>(path));

    m_profiles.RemoveAll();
    const std::wstring folder = GetProgramFolder();
    std::vector<std::wstring> found;
    for (const wchar_t* pattern : {L"*.dorix", L"*.zdorix"}) {
        FindFiles(folder, pattern, true, found);
        FindFiles(folder + L"profiles\\", pattern, true, found);
    }
    CRegistry& registry = GetSettingsRegistry();
    const CRegistry::CKey flags = CRegistry::CKey::Open(registry.GetRoot(), registry.GetFullPath(kProfilesKey));
    for (const std::wstring& path : found) {
        if (IsDirectory(path))
            continue;
        auto profile = std::make_unique<CProfile>(path);
        profile->SetChecked(flags.ReadDWord(profile->GetName().c_str(), 0) != 0);
        m_profiles.Add(std::move(profile));
    }
    m_bSwitchTodayTheme = registry.ReadDWord(nullptr, kSwitchTodayThemeSetting, 0) != 0;
    m_bSwitchCalibration = registry.ReadDWord(nullptr, kSwitchCalibrationSetting, 0) != 0;
}

void CSettings::Save()
{
    std::vector<std::wstring> items;
    m_regEntries.ForEach([&](const CRegEntry& entry) { items.push_back(entry.ToString()); });
    WriteList(kRegistryListKey, items);
    items.clear();
    m_fileEntries.ForEach([&](const CFileEntry& entry) { items.push_back(entry.GetPath()); });
    WriteList(kFileListKey, items);

    // Profiles of one name (one beside the program, one in "profiles") share one flag, on
    // when either is checked. Every flag is written before the flags of profiles no longer
    // found go.
    std::set<std::wstring, CNameLess> checked, names;
    m_profiles.ForEach([&](const CProfile& profile) {
        names.insert(profile.GetName());
        if (profile.IsChecked())
            checked.insert(profile.GetName());
    });
    CRegistry& registry = GetSettingsRegistry();
    for (const std::wstring& name : names)
        registry.WriteDWord(kProfilesKey, name.c_str(), checked.count(name) ? 1 : 0);
    const CRegistry::CKey key = CRegistry::CKey::Open(registry.GetRoot(), registry.GetFullPath(kProfilesKey));
    for (const std::wstring& name : key.GetValueNames())
        if (!names.count(name))
            key.DeleteValue(name.c_str());
    registry.WriteDWord(nullptr, kSwitchTodayThemeSetting, m_bSwitchTodayTheme ? 1 : 0);
    registry.WriteDWord(nullptr, kSwitchCalibrationSetting, m_bSwitchCalibration ? 1 : 0);
}

void CSettings::SwitchAll(CSwitchSession& session, CVideoMode from, CVideoMode to)
{
    session.Record(CSwitchRecord::Kind::heading, IDS_PREVIEW_STEP_FILES);
    for (size_t i = 0; i < m_fileEntries.GetSize(); ++i)
        m_fileEntries[i]->Switch(session, from, to);
    session.Record(CSwitchRecord::Kind::heading, IDS_PREVIEW_STEP_REGISTRY);
    for (size_t i = 0; i < m_regEntries.GetSize(); ++i)
        m_regEntries[i]->Switch(session, from, to);
    session.Record(CSwitchRecord::Kind::heading, IDS_PREVIEW_STEP_PROFILES);
    for (size_t i = 0; i < m_profiles.GetSize(); ++i)
        if (m_profiles[i]->IsChecked())
            m_profiles[i]->Run(session, from, to);
    session.Record(CSwitchRecord::Kind::heading, IDS_PREVIEW_STEP_THEME);
    if (m_bSwitchTodayTheme)
        CTodayThemeManager().Switch(session, from, to);
}

#include "state/Settings.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"
#include "state/TodayThemeManager.h"

namespace {

void WriteList(const wchar_t* subKey, const std::vector<std::wstring>& items)
{
    CRegistry& registry = GetSettingsRegistry();
    registry.DeleteKey(subKey);
    for (size_t i = 0; i < items.size(); ++i)
        registry.WriteString(subKey, std::to_wstring(i).c_str(), items[i].c_str());
    registry.WriteDWord(subKey, L"Count", static_cast<int32_t>(items.size()));
}

}  // namespace

std::vector<std::wstring> CSettings::ReadList(const wchar_t* subKey)
{
    // One read of the list: its key is opened once, not once for every item.
    CRegistry& registry = GetSettingsRegistry();
    const CRegistry::CKey key = CRegistry::CKey::Open(registry.GetRoot(), registry.GetFullPath(subKey));
    std::vector<std::wstring> items;
    const int32_t count = key.ReadDWord(L"Count", 0);
    for (int32_t i = 0; i < count; ++i) {
        std::wstring item = key.ReadString(std::to_wstring(i).c_str());
        if (!item.empty())
            items.push_back(std::move(item));
    }
    return items;
}

void CSettings::Load()
{
    m_regEntries.RemoveAll();
    for (const std::wstring& text : ReadList(L"Registry")) {
        auto entry = std::make_unique<CRegEntry>();
        entry->FromString(text);
        m_regEntries.Add(std::move(entry));
    }
    m_fileEntries.RemoveAll();
    for (const std::wstring& path : ReadList(L"Files"))
        m_fileEntries.Add(std::make_unique<CFileEntry>(path));

    m_profiles.RemoveAll();
    const std::wstring folder = GetProgramFolder();
    std::vector<std::wstring> found;
    for (const wchar_t* pattern : {L"*.dorix", L"*.zdorix"}) {
        FindFiles(folder, pattern, true, found);
        FindFiles(folder + L"profiles\\", pattern, true, found);
    }
    CRegistry& registry = GetSettingsRegistry();
    for (const std::wstring& path : found) {
        if (IsDirectory(path))
            continue;
        auto profile = std::make_unique<CProfile>(path);
        profile->SetChecked(registry.ReadDWord(L"Profiles", profile->GetName().c_str(), 0) != 0);
        m_profiles.Add(std::move(profile));
    }
    m_bSwitchTodayTheme = registry.ReadDWord(nullptr, L"SwitchTodayTheme", 0) != 0;
    m_bSwitchCalibration = registry.ReadDWord(nullptr, L"SwitchCalibrationData", 0) != 0;
}

void CSettings::Save()
{
    std::vector<std::wstring> items;
    m_regEntries.ForEach([&](const CRegEntry& entry) { items.push_back(entry.ToString()); });
    WriteList(L"Registry", items);
    items.clear();
    m_fileEntries.ForEach([&](const CFileEntry& entry) { items.push_back(entry.GetPath()); });
    WriteList(L"Files", items);

    CRegistry& registry = GetSettingsRegistry();
    registry.DeleteKey(L"Profiles");
    m_profiles.ForEach([&](const CProfile& profile) {
        registry.WriteDWord(L"Profiles", profile.GetName().c_str(), profile.IsChecked() ? 1 : 0);
    });
    registry.WriteDWord(nullptr, L"SwitchTodayTheme", m_bSwitchTodayTheme ? 1 : 0);
    registry.WriteDWord(nullptr, L"SwitchCalibrationData", m_bSwitchCalibration ? 1 : 0);
}

void CSettings::SwitchAll(CVideoMode from, CVideoMode to)
{
    for (size_t i = 0; i < m_fileEntries.GetSize(); ++i)
        m_fileEntries[i]->Switch(from, to);
    for (size_t i = 0; i < m_regEntries.GetSize(); ++i)
        m_regEntries[i]->Switch(from, to);
    for (size_t i = 0; i < m_profiles.GetSize(); ++i)
        if (m_profiles[i]->IsChecked())
            m_profiles[i]->Run(from, to);
    if (m_bSwitchTodayTheme)
        CTodayThemeManager().Switch(from, to);
}

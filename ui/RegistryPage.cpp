#include "ui/RegistryPage.h"
#include "resources/resource.h"
#include "ui/RegistryEntryPage.h"
#include "ui/TabbedDialog.h"

CRegistryPage::CRegistryPage(CSwitchSession& session)
    : CEntryListPage(IDD_REGISTRY, {IDC_REGISTRY_LIST, IDC_REGISTRY_ADD, IDC_REGISTRY_EDIT, IDC_REGISTRY_DELETE},
                     {{IDS_COLUMN_KEY, 200}, {IDS_COLUMN_VALUE, 100}}),
      m_session(session)
{
}

std::vector<CEntryListPage::CRow> CRegistryPage::ReadEntries() const
{
    std::vector<CRow> rows;
    GetData().m_regEntries.ForEach(
        [&](const CRegEntry& entry) { rows.push_back({entry.GetKeyPath(), entry.GetValueName()}); });
    return rows;
}

CEntryListPage::CRow CRegistryPage::DefaultRow() const
{
    return {L"HKCU\\Software\\", L""};
}

bool CRegistryPage::EditEntry(CRow& row)
{
    CRegEntry entry(row[0], row[1]);
    if (CTabbedDialog::RunPage<CRegistryEntryPage>(IDS_EDIT_REGISTRY_ENTRY, m_hWnd, &entry, m_session) != IDOK)
        return false;
    row = {entry.GetKeyPath(), entry.GetValueName()};
    return true;
}

void CRegistryPage::WriteEntries(const std::vector<CRow>& rows)
{
    auto& entries = GetData().m_regEntries;
    entries.RemoveAll();
    for (const CRow& row : rows)
        entries.Add(std::make_unique<CRegEntry>(row[0], row[1]));
}

#include "ui/FilePage.h"
#include "resources/resource.h"
#include "ui/FileEntryPage.h"
#include "ui/TabbedDialog.h"

CFilePage::CFilePage()
    : CEntryListPage(IDD_FILES, {IDC_FILE_LIST, IDC_FILE_ADD, IDC_FILE_EDIT, IDC_FILE_DELETE},
                     {{IDS_COLUMN_FILENAME, 210}})
{
}

std::vector<CEntryListPage::CRow> CFilePage::ReadEntries() const
{
    std::vector<CRow> rows;
    GetData().m_fileEntries.ForEach(
        [&](const CFileEntry& entry) { rows.push_back({entry.GetPath()}); });
    return rows;
}

CEntryListPage::CRow CFilePage::DefaultRow() const
{
    return {L"\\"};
}

bool CFilePage::EditEntry(CRow& row)
{
    CFileEntry entry(row[0]);
    if (CTabbedDialog::RunPage<CFileEntryPage>(IDS_EDIT_FILE_ENTRY, m_hWnd, &entry) != IDOK)
        return false;
    row = {entry.GetPath()};
    return true;
}

void CFilePage::WriteEntries(const std::vector<CRow>& rows)
{
    auto& entries = GetData().m_fileEntries;
    entries.RemoveAll();
    for (const CRow& row : rows)
        entries.Add(std::make_unique<CFileEntry>(row[0]));
}

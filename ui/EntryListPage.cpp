#include "ui/EntryListPage.h"
#include "state/FileHelpers.h"

CEntryListPage::CEntryListPage(UINT templateId, CControls controls, std::vector<CColumn> columns)
    : CTabbedPageOf(templateId), m_controls(controls), m_columns(std::move(columns))
{
}

bool CEntryListPage::OnInitDialog()
{
    CTabbedPage::OnInitDialog();
    const CListView list = GetList();
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (size_t i = 0; i < m_columns.size(); ++i)
        list.InsertColumn(static_cast<int>(i), LoadResourceString(m_columns[i].textId), ScaleX(m_columns[i].designWidth));
    for (const CRow& row : ReadEntries())
        InsertRow(row);
    return true;
}

std::vector<CEntryListPage::CRow> CEntryListPage::GetRows() const
{
    std::vector<CRow> rows;
    for (int i = 0; i < GetList().GetItemCount(); ++i)
        rows.push_back(GetRow(i));
    return rows;
}

CEntryListPage::CRow CEntryListPage::GetRow(int index) const
{
    CRow row;
    for (size_t column = 0; column < m_columns.size(); ++column)
        row.push_back(GetList().GetItemText(index, static_cast<int>(column)));
    return row;
}

int CEntryListPage::InsertRow(const CRow& row) const
{
    const CListView list = GetList();
    const int index = list.InsertItem(list.GetItemCount(), row[0]);
    for (size_t column = 1; index >= 0 && column < row.size(); ++column)
        list.SetItemText(index, static_cast<int>(column), row[column]);
    return index;
}

void CEntryListPage::InsertSelected(const CRow& row) const
{
    const int index = InsertRow(row);
    if (index >= 0)
        GetList().Select(index);
}

void CEntryListPage::Add()
{
    const int selected = GetList().GetSelectedItem();
    CRow row = selected >= 0 ? GetRow(selected) : DefaultRow();
    if (EditEntry(row))
        InsertSelected(row);
}

void CEntryListPage::Edit()
{
    const int selected = GetList().GetSelectedItem();
    if (selected < 0)
        return;
    CRow row = GetRow(selected);
    if (!EditEntry(row))
        return;
    // The list keeps its order only for rows it inserts: an edited row is inserted anew so
    // that it moves to its sorted place, and the store is written in order.
    GetList().DeleteItem(selected);
    InsertSelected(row);
}

bool CEntryListPage::OnButtonClicked(UINT id)
{
    if (static_cast<int>(id) == m_controls.add) {
        Add();
    } else if (static_cast<int>(id) == m_controls.edit) {
        Edit();
    } else if (static_cast<int>(id) == m_controls.remove) {
        const int selected = GetList().GetSelectedItem();
        if (selected >= 0)
            GetList().DeleteItem(selected);
    } else {
        return false;
    }
    return true;
}

void CEntryListPage::OnApply()
{
    WriteEntries(GetRows());
}

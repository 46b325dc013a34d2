#pragma once
// The base of the "Registry" and "Files" pages: one row per entry of a list of the settings
// store, kept in ascending order of the first column, with Add, Edit and Delete. Add and Edit
// open the entry's own sheet; the store's list is rebuilt from the rows only when the state
// settings sheet closes with OK.
#include <string>
#include <vector>
#include "framework/CommonControls.h"
#include "state/Settings.h"
#include "ui/TabbedPage.h"

class CEntryListPage : public CTabbedPageOf<CSettings> {
public:
    // The texts of one row, column by column.
    using CRow = std::vector<std::wstring>;

    // The rows in the order they are shown.
    std::vector<CRow> GetRows() const;

protected:
    struct CColumn {
        UINT textId;
        int designWidth;
    };
    struct CControls {
        int list;
        int add;
        int edit;
        int remove;
    };

    CEntryListPage(UINT templateId, CControls controls, std::vector<CColumn> columns);

    // The store's entries as rows, in the store's order.
    virtual std::vector<CRow> ReadEntries() const = 0;
    // The row Add proposes when no row is selected.
    virtual CRow DefaultRow() const = 0;
    // Opens the entry's sheet on the row's texts; true when it ended with OK, the row then
    // holding the entry's new texts.
    virtual bool EditEntry(CRow& row) = 0;
    // Replaces the store's list by one entry per row, in row order.
    virtual void WriteEntries(const std::vector<CRow>& rows) = 0;

    bool OnInitDialog() override;
    bool OnButtonClicked(UINT id) override;
    void OnApply() override;

private:
    CListView GetList() const { return CListView(GetDlgItem(m_controls.list)); }
    CRow GetRow(int index) const;
    // Inserts the row at its sorted place; its index, -1 when it could not be inserted.
    int InsertRow(const CRow& row) const;
    // The same, and the row becomes the selection.
    void InsertSelected(const CRow& row) const;
    void Add();
    void Edit();

    CControls m_controls;
    std::vector<CColumn> m_columns;
};

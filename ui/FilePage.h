#pragma once
// "Files" of the state settings: the files that are replaced by their version for the new
// video mode on every switch. Edits the settings store handed over by the sheet.
#include "ui/EntryListPage.h"

class CFilePage : public CEntryListPage {
public:
    CFilePage();

protected:
    std::vector<CRow> ReadEntries() const override;
    CRow DefaultRow() const override;
    bool EditEntry(CRow& row) override;
    void WriteEntries(const std::vector<CRow>& rows) override;
};

#pragma once
// "Registry" of the state settings: the registry values of which every video mode keeps its
// own copy. Edits the settings store handed over by the sheet.
#include "ui/EntryListPage.h"

class CRegistryPage : public CEntryListPage {
public:
    CRegistryPage();

protected:
    std::vector<CRow> ReadEntries() const override;
    CRow DefaultRow() const override;
    bool EditEntry(CRow& row) override;
    void WriteEntries(const std::vector<CRow>& rows) override;
};

#pragma once
// "Registry" of the state settings: the registry values of which every video mode keeps its
// own copy. Edits the settings store handed over by the sheet.
#include "ui/EntryListPage.h"

class CSwitchSession;

class CRegistryPage : public CEntryListPage {
public:
    // session: the mode the device runs in, for an entry's stored data.
    explicit CRegistryPage(CSwitchSession& session);

protected:
    std::vector<CRow> ReadEntries() const override;
    CRow DefaultRow() const override;
    bool EditEntry(CRow& row) override;
    void WriteEntries(const std::vector<CRow>& rows) override;

private:
    CSwitchSession& m_session;
};

#pragma once
// "Registry's Entry": the key and the value name of one registry value that follows the video
// mode, and the way to its stored data per resolution class. Edits the CRegEntry handed over
// by the sheet. A key path with a comma is refused (the stored form splits there); otherwise
// the texts are not checked here, an entry only holds them.
#include <string>
#include "state/RegEntry.h"
#include "ui/TabbedPage.h"

class CSwitchSession;

class CRegistryEntryPage : public CTabbedPageOf<CRegEntry> {
public:
    // session: the mode the device runs in, for the entry's stored data.
    explicit CRegistryEntryPage(CSwitchSession& session);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnButtonClicked(UINT id) override;
    void OnApply() override;

private:
    CSwitchSession& m_session;
    std::wstring m_strKey;
    std::wstring m_strValue;
};

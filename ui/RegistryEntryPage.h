#pragma once
// "Registry's Entry": the key and the value name of one registry value that follows the video
// mode, and the way to its stored data per resolution class. Edits the CRegEntry handed over
// by the sheet; neither text is checked here, an entry only holds them.
#include <string>
#include "state/RegEntry.h"
#include "ui/TabbedPage.h"

class CRegistryEntryPage : public CTabbedPageOf<CRegEntry> {
public:
    CRegistryEntryPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnButtonClicked(UINT id) override;
    void OnApply() override;

private:
    std::wstring m_strKey;
    std::wstring m_strValue;
};

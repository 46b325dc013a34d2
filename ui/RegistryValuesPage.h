#pragma once
// "Stored Data": the data an entry's registry value has in each resolution class, shown and
// edited as text: the live value for the class the device runs in, the stored copy for the
// others. OK writes at once, whatever the sheets around it do later, and only the classes whose
// text the user changed; a number takes any whole number its 32 bits hold. Edits the registry
// through the CRegEntry handed over by the sheet.
#include <string>
#include "state/RegEntry.h"
#include "state/VideoMode.h"
#include "ui/ColorStatic.h"
#include "ui/TabbedPage.h"

class CSwitchSession;

class CRegistryValuesPage : public CTabbedPageOf<CRegEntry> {
public:
    // The classes in the order of the page: QVGA portrait, QVGA landscape, VGA portrait, VGA
    // landscape.
    static constexpr int kClasses = 4;

    // session: the mode the device runs in, whose value is the live one.
    explicit CRegistryValuesPage(CSwitchSession& session);

protected:
    // Refuses a value that is missing or neither text nor number: tells why, and the sheet
    // ends as cancelled before it shows.
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnApply() override;

private:
    // The mode whose value stands for class i: the device's own mode for its class, whose
    // orientation may be upside down or left-handed, else the class's first mode.
    static CVideoMode ClassMode(int i, const CVideoMode& current);
    bool ReadValues();
    void Refuse(UINT messageId);

    CSwitchSession& m_session;
    CVideoMode m_current;
    CVideoMode m_modes[kClasses];
    std::wstring m_strText[kClasses];
    std::wstring m_strRead[kClasses];
    CColorStatic m_label;
};

#pragma once
// "Profile": a profile's description and its author's name, home page and e-mail address.
// Shows the CProfile handed over by the sheet, whose information is loaded; changes nothing.
#include <string>
#include "profiles/Profile.h"
#include "ui/ColorStatic.h"
#include "ui/TabbedPage.h"

class CProfileInfoPage : public CTabbedPageOf<CProfile> {
public:
    CProfileInfoPage();

    // The description, an empty line, then each of author, home page and e-mail address that
    // is given, on a line of its own.
    static std::wstring InfoText(const CProfile& profile);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    std::wstring m_strText;
    CColorStatic m_label;
};

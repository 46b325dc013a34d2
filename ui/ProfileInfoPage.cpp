#include "ui/ProfileInfoPage.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {

// The information text is read-only; this only bounds what the box is told to hold.
constexpr size_t kMaxText = 0x7FFF;

}  // namespace

CProfileInfoPage::CProfileInfoPage() : CTabbedPageOf(IDD_PROFILE_INFO) {}

std::wstring CProfileInfoPage::InfoText(const CProfile& profile)
{
    std::wstring text = profile.GetDescription() + L"\r\n\r\n";
    const std::pair<UINT, const std::wstring*> lines[] = {{IDS_PROFILE_AUTHOR, &profile.GetAuthor()},
                                                          {IDS_PROFILE_HOMEPAGE, &profile.GetHomepage()},
                                                          {IDS_PROFILE_EMAIL, &profile.GetEMail()}};
    for (const auto& [label, value] : lines) {
        if (!value->empty())
            text += LoadResourceString(label) + *value + L"\r\n";
    }
    return text;
}

bool CProfileInfoPage::OnInitDialog()
{
    const CProfile& profile = GetData();
    m_strText = InfoText(profile);
    CTabbedPage::OnInitDialog();
    ShowHeading(m_label, IDC_PROFILE_INFO_LABEL, {profile.GetName()});
    return true;
}

void CProfileInfoPage::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_PROFILE_INFO_TEXT, m_strText, kMaxText);
}

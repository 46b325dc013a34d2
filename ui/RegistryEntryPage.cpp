#include "ui/RegistryEntryPage.h"
#include "resources/resource.h"
#include "ui/RegistryValuesPage.h"
#include "ui/TabbedDialog.h"

namespace {

// As long as the edit boxes take: the texts are not limited here.
constexpr size_t kUnlimited = 0x7FFF;

}  // namespace

CRegistryEntryPage::CRegistryEntryPage(CSwitchSession& session) : CTabbedPageOf(IDD_REGISTRY_ENTRY), m_session(session) {}

bool CRegistryEntryPage::OnInitDialog()
{
    const CRegEntry& entry = GetData();
    m_strKey = entry.GetKeyPath();
    m_strValue = entry.GetValueName();
    return CTabbedPage::OnInitDialog();
}

void CRegistryEntryPage::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_REGISTRY_ENTRY_KEY, m_strKey, kUnlimited);
    // The stored form splits at the first comma: a key path with one would come back as
    // another key and value.
    if (dx.IsReading() && dx.Succeeded()
        && GetDlgItem(IDC_REGISTRY_ENTRY_KEY).GetWindowText().find(L',') != std::wstring::npos)
        dx.Fail(IDC_REGISTRY_ENTRY_KEY, IDS_REG_KEY_HAS_COMMA);
    dx.Text(IDC_REGISTRY_ENTRY_VALUE, m_strValue, kUnlimited);
}

bool CRegistryEntryPage::OnButtonClicked(UINT id)
{
    if (id != IDC_REGISTRY_ENTRY_DATA)
        return false;
    // The texts as they stand now, applied or not.
    CRegEntry entry(GetDlgItem(IDC_REGISTRY_ENTRY_KEY).GetWindowText(),
                    GetDlgItem(IDC_REGISTRY_ENTRY_VALUE).GetWindowText());
    CTabbedDialog::RunPage<CRegistryValuesPage>(IDS_REGISTRY_DATA, m_hWnd, &entry, m_session);
    return true;
}

void CRegistryEntryPage::OnApply()
{
    GetData() = CRegEntry(m_strKey, m_strValue);
}

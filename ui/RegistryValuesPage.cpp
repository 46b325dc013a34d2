#include "ui/RegistryValuesPage.h"
#include "core/ModeSwitch.h"
#include "framework/File.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {

// A registry text may be as long as an edit box takes.
constexpr size_t kMaxText = 0x7FFF;

}  // namespace

CRegistryValuesPage::CRegistryValuesPage() : CTabbedPageOf(IDD_REGISTRY_VALUES) {}

CVideoMode CRegistryValuesPage::ClassMode(int i)
{
    const CVideoMode first(i >= 2, static_cast<int16_t>(i % 2));
    const CVideoMode current = GetModeSwitch().GetCurrentMode();
    return current.m_bVGA == first.m_bVGA && current.IsLandscape() == first.IsLandscape() ? current : first;
}

void CRegistryValuesPage::Refuse(UINT messageId)
{
    ShowMessageBox(m_hWnd, LoadResourceString(messageId), LoadResourceString(IDS_APP_TITLE), MB_OK | MB_ICONEXCLAMATION);
    GetSheet()->EndDialog(IDCANCEL);
}

bool CRegistryValuesPage::ReadValues()
{
    const CRegEntry& entry = GetData();
    try {
        for (int i = 0; i < kClasses; ++i) {
            m_modes[i] = ClassMode(i);
            m_bExisted[i] = entry.HasValue(m_modes[i]);
            m_strRead[i] = m_strText[i] = entry.GetValueText(m_modes[i]);
        }
        return true;
    } catch (const error& e) {
        ReportError(e, m_hWnd);
    } catch (const CFileException& e) {
        ReportError(e, m_hWnd);
    }
    GetSheet()->EndDialog(IDCANCEL);
    return false;
}

bool CRegistryValuesPage::OnInitDialog()
{
    const CRegEntry& entry = GetData();
    // A missing value is told apart first: to the type check it is just another
    // unsupported kind.
    switch (entry.GetKind()) {
    case CRegistry::kindMissing:
        Refuse(IDS_REG_VALUE_NOT_FOUND);
        return false;
    case CRegistry::kindString:
    case CRegistry::kindDWord:
        break;
    default:
        Refuse(IDS_REG_VALUE_TYPE);
        return false;
    }
    if (!ReadValues())
        return false;
    CTabbedPage::OnInitDialog();
    ShowHeading(m_label, IDC_STORED_DATA_LABEL, {entry.GetKeyPath(), entry.GetValueName()});
    return true;
}

void CRegistryValuesPage::DoDataExchange(CDataExchange& dx)
{
    for (int i = 0; i < kClasses; ++i)
        dx.Text(IDC_STORED_DATA_FIRST + i, m_strText[i], kMaxText);
}

void CRegistryValuesPage::OnApply()
{
    const CRegEntry& entry = GetData();
    try {
        for (int i = 0; i < kClasses; ++i) {
            // A copy nobody stored and nobody typed stays missing: written empty, it would
            // wipe the live value at the next switch into its class.
            if (!m_bExisted[i] && m_strText[i] == m_strRead[i])
                continue;
            entry.SetValueText(m_modes[i], m_strText[i]);
        }
    } catch (const error& e) {
        ReportError(e, m_hWnd);
    } catch (const CFileException& e) {
        ReportError(e, m_hWnd);
    }
}

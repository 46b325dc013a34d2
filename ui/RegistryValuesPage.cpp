#include "ui/RegistryValuesPage.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SwitchSession.h"

namespace {

// A registry text may be as long as an edit box takes.
constexpr size_t kMaxText = 0x7FFF;

}  // namespace

CRegistryValuesPage::CRegistryValuesPage(CSwitchSession& session)
    : CTabbedPageOf(IDD_REGISTRY_VALUES), m_session(session)
{
}

CVideoMode CRegistryValuesPage::ClassMode(int i, const CVideoMode& current)
{
    const CVideoMode first(i >= 2, static_cast<int16_t>(i % 2));
    return current.m_bVGA == first.m_bVGA && current.IsLandscape() == first.IsLandscape() ? current : first;
}

void CRegistryValuesPage::Refuse(UINT messageId)
{
    ShowProgramMessage(m_hWnd, LoadResourceString(messageId), MB_OK | MB_ICONEXCLAMATION);
    GetSheet()->EndDialog(IDCANCEL);
}

bool CRegistryValuesPage::ReadValues()
{
    const CRegEntry& entry = GetData();
    try {
        m_current = m_session.GetCurrentMode();
        for (int i = 0; i < kClasses; ++i) {
            m_modes[i] = ClassMode(i, m_current);
            m_strRead[i] = m_strText[i] = entry.GetValueText(m_modes[i], m_current);
        }
        return true;
    } catch (const error& e) {
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
    static const UINT classNames[kClasses] = {IDS_MODE_QVGA_PORTRAIT, IDS_MODE_QVGA_LANDSCAPE, IDS_MODE_VGA_PORTRAIT,
                                              IDS_MODE_VGA_LANDSCAPE};
    const bool number = dx.IsReading() && GetData().GetKind() == CRegistry::kindDWord;
    for (int i = 0; i < kClasses && dx.Succeeded(); ++i) {
        const int id = IDC_STORED_DATA_FIRST + i;
        dx.Text(id, m_strText[i], kMaxText);
        uint32_t bits = 0;
        if (number && dx.Succeeded()) {
            const std::wstring typed = GetDlgItem(id).GetWindowText();
            if (typed != m_strRead[i] && !CRegEntry::ParseNumber(typed, bits))
                dx.Fail(id, IDS_REG_DATA_NOT_NUMBER, LoadResourceString(classNames[i]));
        }
    }
}

void CRegistryValuesPage::OnApply()
{
    const CRegEntry& entry = GetData();
    // Only what the user changed: a copy nobody typed into stays as it is, missing or of
    // another type.
    for (int i = 0; i < kClasses; ++i) {
        if (m_strText[i] != m_strRead[i])
            entry.SetValueText(m_modes[i], m_current, m_strText[i]);
    }
}

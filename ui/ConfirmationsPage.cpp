#include "ui/ConfirmationsPage.h"
#include "core/KeepMode.h"
#include "resources/resource.h"
#include "state/SettingsRegistry.h"

const CConfirmationsPage::Confirmation CConfirmationsPage::kConfirmations[3] = {
    {IDC_CONFIRM_RESET, kNoResetWarningSetting},
    {IDC_CONFIRM_VGA3, kNoVga3WarningSetting},
    {IDC_CONFIRM_CLOCK, kNoClockWarningSetting},
};

CConfirmationsPage::CConfirmationsPage() : CTabbedPage(IDD_CONFIRMATIONS) {}

bool CConfirmationsPage::OnInitDialog()
{
    for (size_t i = 0; i < std::size(kConfirmations); ++i)
        m_bAsk[i] = GetSettingsRegistry().ReadDWord(nullptr, kConfirmations[i].setting, 0) == 0;
    m_bKeepMode = CKeepMode::IsOn();
    return CTabbedPage::OnInitDialog();
}

void CConfirmationsPage::DoDataExchange(CDataExchange& dx)
{
    for (size_t i = 0; i < std::size(kConfirmations); ++i)
        dx.Check(kConfirmations[i].id, m_bAsk[i]);
    dx.Check(IDC_CONFIRM_KEEP_MODE, m_bKeepMode);
}

void CConfirmationsPage::OnApply()
{
    CRegistry& settings = GetSettingsRegistry();
    for (size_t i = 0; i < std::size(kConfirmations); ++i)
        settings.WriteDWord(nullptr, kConfirmations[i].setting, m_bAsk[i] ? 0 : 1);
    // A count set by hand stays while the box stays ticked.
    const int32_t stored = settings.ReadDWord(nullptr, kKeepModeSecondsSetting, 0);
    const int32_t seconds = !m_bKeepMode ? 0 : stored != 0 ? stored : CKeepMode::kDefaultSeconds;
    settings.WriteDWord(nullptr, kKeepModeSecondsSetting, seconds);
}

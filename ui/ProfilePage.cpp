#include "ui/ProfilePage.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "ui/ProfileCheck.h"
#include "ui/ProfileInfoPage.h"
#include "ui/TabbedDialog.h"

CProfilePage::CProfilePage() : CTabbedPageOf(IDD_PROFILES) {}

bool CProfilePage::OnInitDialog()
{
    CTabbedPage::OnInitDialog();
    m_list.Attach(IDC_PROFILE_LIST, m_hWnd);
    const CListView list = m_list.GetList();
    list.InsertColumn(0, LoadResourceString(IDS_COLUMN_PROFILE), ScaleX(200));
    GetData().m_profiles.ForEach([&](CProfile& profile) {
        const int index = list.InsertItem(list.GetItemCount(), profile.GetName(), reinterpret_cast<LPARAM>(&profile));
        if (index >= 0)
            m_list.SetChecked(index, profile.IsChecked());
    });
    return true;
}

bool CProfilePage::OnButtonClicked(UINT id)
{
    switch (id) {
    case IDC_PROFILE_INFO:
        ShowInfo();
        return true;
    case IDC_PROFILE_CHECK:
        Check();
        return true;
    default:
        return false;
    }
}

CProfile* CProfilePage::GetSelected() const
{
    const CListView list = m_list.GetList();
    const int selected = list.GetSelectedItem();
    return selected < 0 ? nullptr : reinterpret_cast<CProfile*>(list.GetItemData(selected));
}

void CProfilePage::Check()
{
    CProfile* profile = GetSelected();
    if (!profile)
        return;
    try {
        CheckProfile(*profile, true, m_hWnd);
    } catch (const error& e) {
        ReportError(e, m_hWnd);
    }
}

void CProfilePage::ShowInfo()
{
    CProfile* selected = GetSelected();
    if (!selected)
        return;
    CProfile& profile = *selected;
    try {
        profile.LoadInfo();
    } catch (const error& e) {
        // A profile removed since the list was read, among others.
        ReportError(e, m_hWnd);
        return;
    }
    CTabbedDialog::RunPage<CProfileInfoPage>(IDS_PROFILE, m_hWnd, &profile);
}

void CProfilePage::OnApply()
{
    const CListView list = m_list.GetList();
    for (int i = 0; i < list.GetItemCount(); ++i)
        reinterpret_cast<CProfile*>(list.GetItemData(i))->SetChecked(m_list.IsChecked(i));
}

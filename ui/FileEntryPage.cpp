#include "ui/FileEntryPage.h"
#include "resources/resource.h"
#include "ui/FileChooser.h"

CFileEntryPage::CFileEntryPage() : CTabbedPageOf(IDD_FILE_ENTRY) {}

bool CFileEntryPage::OnInitDialog()
{
    m_strPath = GetData().GetPath();
    return CTabbedPage::OnInitDialog();
}

void CFileEntryPage::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_FILE_ENTRY_PATH, m_strPath, kMaxPath);
}

bool CFileEntryPage::OnButtonClicked(UINT id)
{
    if (id != IDC_FILE_ENTRY_BROWSE)
        return false;
    const CWindow path = GetDlgItem(IDC_FILE_ENTRY_PATH);
    CFileChooser chooser(path.GetWindowText(), m_hWnd);
    if (chooser.Run() == IDOK)
        path.SetWindowText(chooser.GetPath());
    return true;
}

void CFileEntryPage::OnApply()
{
    GetData().SetPath(m_strPath);
}

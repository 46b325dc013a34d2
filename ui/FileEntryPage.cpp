#include "ui/FileEntryPage.h"
#include "resources/resource.h"
#include "state/FileEntry.h"
#include "ui/FileChooser.h"

CFileEntryPage::CFileEntryPage() : CTabbedPage(IDD_FILE_ENTRY) {}

bool CFileEntryPage::OnInitDialog()
{
    m_strPath = static_cast<const CFileEntry*>(m_pData)->GetPath();
    return CTabbedPage::OnInitDialog();
}

void CFileEntryPage::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_FILE_ENTRY_PATH, m_strPath, kMaxPath);
}

bool CFileEntryPage::OnCommand(UINT id, UINT code, HWND control)
{
    if (id != IDC_FILE_ENTRY_BROWSE || code != BN_CLICKED)
        return CTabbedPage::OnCommand(id, code, control);
    const CWindow path = GetDlgItem(IDC_FILE_ENTRY_PATH);
    CFileChooser chooser(path.GetWindowText(), m_hWnd);
    if (chooser.Run() == IDOK)
        path.SetWindowText(chooser.GetPath());
    return true;
}

void CFileEntryPage::OnApply()
{
    static_cast<CFileEntry*>(m_pData)->SetPath(m_strPath);
}

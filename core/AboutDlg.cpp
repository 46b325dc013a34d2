#include "core/AboutDlg.h"
#include "resources/resource.h"

CAboutDlg::CAboutDlg(HWND owner) : CDialog(IDD_ABOUTBOX, owner) {}

bool CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_scaler.Apply(m_hWnd, kDesignWidth, kDesignHeight);
    return true;
}

#include "app/AboutDlg.h"
#include "resources/resource.h"

CAboutDlg::CAboutDlg(HWND owner) : CDialog(IDD_ABOUTBOX, owner) {}

bool CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_scaler.Apply(m_hWnd, kDesignWidth, kDesignHeight);
    // Its contents grew with the screen; without the box they would run past its edges.
    m_scaler.FitWindow();
    return true;
}

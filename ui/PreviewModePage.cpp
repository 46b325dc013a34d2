#include "ui/PreviewModePage.h"
#include "resources/resource.h"
#include "ui/ModeCombo.h"

CPreviewModePage::CPreviewModePage() : CTabbedPageOf(IDD_PREVIEW_MODE) {}

bool CPreviewModePage::OnInitDialog()
{
    CModeCombo(GetDlgItem(IDC_PREVIEW_MODE)).Fill(GetData());
    return CTabbedPage::OnInitDialog();
}

void CPreviewModePage::OnApply()
{
    CModeCombo(GetDlgItem(IDC_PREVIEW_MODE)).GetSelected(GetData());
}

LRESULT CPreviewModePage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE)
        CModeCombo(GetDlgItem(IDC_PREVIEW_MODE)).Widen(LOWORD(lParam));
    return CTabbedPage::WindowProc(message, wParam, lParam);
}

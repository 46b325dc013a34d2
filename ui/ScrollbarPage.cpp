#include "ui/ScrollbarPage.h"
#include "resources/resource.h"

CScrollbarPage::CScrollbarPage() : CTabbedPageOf(IDD_SCROLLBARS) {}

bool CScrollbarPage::OnInitDialog()
{
    CTabbedPage::OnInitDialog();
    const int spins[] = {IDC_VSCROLL_WIDTH_SPIN, IDC_VSCROLL_HEIGHT_SPIN, IDC_HSCROLL_HEIGHT_SPIN,
                         IDC_HSCROLL_WIDTH_SPIN};
    CUpDownCtrl::AttachAll(m_spins, spins, m_hWnd, kMinimum, kMaximum);
    return true;
}

void CScrollbarPage::DoDataExchange(CDataExchange& dx)
{
    CModeProp& prop = GetData();
    dx.Int(IDC_VSCROLL_WIDTH, prop.m_nVertScrollWidth, kMinimum, kMaximum);
    dx.Int(IDC_VSCROLL_HEIGHT, prop.m_nVertScrollHeight, kMinimum, kMaximum);
    dx.Int(IDC_HSCROLL_HEIGHT, prop.m_nHorzScrollHeight, kMinimum, kMaximum);
    dx.Int(IDC_HSCROLL_WIDTH, prop.m_nHorzScrollWidth, kMinimum, kMaximum);
}

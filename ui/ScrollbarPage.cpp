#include "ui/ScrollbarPage.h"
#include "core/ModeProp.h"
#include "resources/resource.h"

CScrollbarPage::CScrollbarPage() : CTabbedPage(IDD_SCROLLBARS) {}

bool CScrollbarPage::OnInitDialog()
{
    const auto& prop = *static_cast<const CModeProp*>(m_pData);
    m_nVertWidth = prop.m_nVertScrollWidth;
    m_nVertHeight = prop.m_nVertScrollHeight;
    m_nHorzHeight = prop.m_nHorzScrollHeight;
    m_nHorzWidth = prop.m_nHorzScrollWidth;
    CTabbedPage::OnInitDialog();
    const int spins[] = {IDC_VSCROLL_WIDTH_SPIN, IDC_VSCROLL_HEIGHT_SPIN, IDC_HSCROLL_HEIGHT_SPIN,
                         IDC_HSCROLL_WIDTH_SPIN};
    CUpDownCtrl::AttachAll(m_spins, spins, m_hWnd, kMinimum, kMaximum);
    return true;
}

void CScrollbarPage::DoDataExchange(CDataExchange& dx)
{
    dx.Int(IDC_VSCROLL_WIDTH, m_nVertWidth, kMinimum, kMaximum);
    dx.Int(IDC_VSCROLL_HEIGHT, m_nVertHeight, kMinimum, kMaximum);
    dx.Int(IDC_HSCROLL_HEIGHT, m_nHorzHeight, kMinimum, kMaximum);
    dx.Int(IDC_HSCROLL_WIDTH, m_nHorzWidth, kMinimum, kMaximum);
}

void CScrollbarPage::OnApply()
{
    auto& prop = *static_cast<CModeProp*>(m_pData);
    prop.m_nVertScrollWidth = m_nVertWidth;
    prop.m_nVertScrollHeight = m_nVertHeight;
    prop.m_nHorzScrollHeight = m_nHorzHeight;
    prop.m_nHorzScrollWidth = m_nHorzWidth;
}

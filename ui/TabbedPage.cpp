#include "ui/TabbedPage.h"

int CTabbedPage::ScaleX(int value) const
{
    return static_cast<int>(static_cast<double>(value) * m_scaler.GetScale());
}

int CTabbedPage::ScaleY(int value) const
{
    return ScaleX(value);
}

bool CTabbedPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    const SIZE design = GetDesignSize();
    m_scaler.Apply(m_hWnd, design.cx, design.cy);
    return true;
}

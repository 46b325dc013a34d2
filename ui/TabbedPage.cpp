#include "ui/TabbedPage.h"
#include "state/FileHelpers.h"

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

void CTabbedPage::ShowHeading(CColorStatic& label, int id, const std::vector<std::wstring>& args)
{
    label.SubclassDlgItem(id, m_hWnd);
    // The label takes a character height; the page's font is made from its cell height.
    TEXTMETRICW metrics{};
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, m_scaler.GetFont());
    const bool measured = ::GetTextMetricsW(dc, &metrics) != FALSE;
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    label.SetFontSize(measured ? metrics.tmHeight - metrics.tmInternalLeading : m_scaler.GetFontHeight());
    label.SetBold(true);
    label.SetWindowText(FormatText(label.GetWindowText(), args));
}

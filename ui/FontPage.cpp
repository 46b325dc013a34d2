#include "ui/FontPage.h"
#include "resources/resource.h"
#include "ui/ChooseFontPage.h"
#include "ui/TabbedDialog.h"

CFontPage::CFontPage() : CTabbedPageOf(IDD_FONTS) {}

void CFontPage::ShowPreview(CColorStatic& label, const CMenuFont& font)
{
    label.SetBkColor(RGB(0xFF, 0xFF, 0xFF));
    label.SetFaceName(font.m_strFaceName);
    label.SetFontSize(-font.m_nHeight);
    label.SetBold(font.m_nWeight == FW_BOLD);
    label.SetItalic(font.m_bItalic);
    label.SetWindowText(font.m_strFaceName);
}

INT_PTR CFontPage::ChooseFont(HWND owner, CMenuFont& font)
{
    CChooseFontPage page;
    LOGFONTW& lf = page.m_lf;
    lf = LOGFONTW{};
    CChooseFontPage::SetFaceName(lf, font.m_strFaceName);
    lf.lfHeight = font.m_nHeight;
    lf.lfWeight = font.m_nWeight;
    lf.lfItalic = font.m_bItalic ? TRUE : FALSE;
    lf.lfPitchAndFamily = FF_SWISS;
    const INT_PTR result = CTabbedDialog::Run(IDS_CHOOSE_FONT, owner, {&page}, nullptr);
    if (result == IDOK) {
        font.m_strFaceName = lf.lfFaceName;
        font.m_nWeight = lf.lfWeight;
        font.m_nHeight = lf.lfHeight;
        font.m_bItalic = lf.lfItalic != 0;
    }
    return result;
}

bool CFontPage::OnInitDialog()
{
    CTabbedPage::OnInitDialog();
    const CModeProp& prop = GetData();
    m_barFont = prop.m_barFont;
    m_popFont = prop.m_popFont;
    m_barPreview.SubclassDlgItem(IDC_BAR_FONT_PREVIEW, m_hWnd);
    m_popPreview.SubclassDlgItem(IDC_POP_FONT_PREVIEW, m_hWnd);
    ShowPreview(m_barPreview, m_barFont);
    ShowPreview(m_popPreview, m_popFont);
    return true;
}

bool CFontPage::OnButtonClicked(UINT id)
{
    if (id != IDC_BAR_FONT_CHANGE && id != IDC_POP_FONT_CHANGE)
        return false;
    const bool bar = id == IDC_BAR_FONT_CHANGE;
    CMenuFont& font = bar ? m_barFont : m_popFont;
    if (ChooseFont(m_hWnd, font) == IDOK)
        ShowPreview(bar ? m_barPreview : m_popPreview, font);
    return true;
}

void CFontPage::OnApply()
{
    CModeProp& prop = GetData();
    prop.m_barFont = m_barFont;
    prop.m_popFont = m_popFont;
}

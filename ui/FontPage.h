#pragma once
// "Fonts": the menu bar font and the font of submenus and pop-up menus of one mode group, each
// shown in its own face and changed through the font chooser. Edits the CModeProp handed over
// by the sheet; its working copies reach it only when the sheet closes with OK.
#include "core/ModeProp.h"
#include "ui/ColorStatic.h"
#include "ui/TabbedPage.h"

class CFontPage : public CTabbedPageOf<CModeProp> {
public:
    CFontPage();

    const CMenuFont& GetBarFont() const { return m_barFont; }
    const CMenuFont& GetPopFont() const { return m_popFont; }

    // Shows the font in the label: its face name, in that face, at its size and style, on
    // white.
    static void ShowPreview(CColorStatic& label, const CMenuFont& font);
    // Runs the font chooser over the font, parented by owner; the font changes only when the
    // chooser ends with OK. Returns its result.
    static INT_PTR ChooseFont(HWND owner, CMenuFont& font);

protected:
    bool OnInitDialog() override;
    bool OnButtonClicked(UINT id) override;
    void OnApply() override;

private:
    CMenuFont m_barFont;
    CMenuFont m_popFont;
    CColorStatic m_barPreview;
    CColorStatic m_popPreview;
};

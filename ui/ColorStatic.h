#pragma once
// A label with a font and a background of its own: the font previews and the headings of the
// data pages. The label keeps its own font even when its dialog hands every child another one.
#include <string>
#include "framework/Handle.h"
#include "framework/Wnd.h"

class CColorStatic : public CWnd {
public:
    // Normal 10-pixel Tahoma on the button face, in the window text colour.
    CColorStatic();

    // Each stores the attribute, builds the font anew and redraws the label.
    void SetBold(bool bold);
    void SetItalic(bool italic);
    void SetUnderline(bool underline);
    void SetFontSize(int pixels);
    void SetFaceName(const std::wstring& faceName);
    void SetBkColor(COLORREF color);

    HFONT GetOwnFont() const { return m_font.Get(); }
    COLORREF GetBkColor() const { return m_bkColor; }

protected:
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RebuildFont();

    bool m_bBold = false;
    bool m_bUnderline = false;
    bool m_bItalic = false;
    int m_nSize = 10;
    std::wstring m_strFaceName = L"Tahoma";
    COLORREF m_textColor;
    COLORREF m_bkColor;
    CBrushHandle m_background;
    CFontHandle m_font;
};

#pragma once
// "Font", the font chooser's one page: face and size, bold, italic and underline, with a
// preview. The caller fills m_lf before the chooser opens and reads it back after OK; the page
// has no apply step of its own.
#include <string>
#include "core/ModeProp.h"
#include "framework/Handle.h"
#include "framework/PropertySheet.h"
#include "ui/LayoutScaler.h"

class CChooseFontPage : public CPropertyPage {
public:
    // The sizes offered, in points.
    static const wchar_t* const kSizes[11];
    // Typed sizes outside this range leave the height as it was.
    static constexpr int kMaxSize = CMenuFont::kMaxPoints;

    CChooseFontPage();

    // Copies as much of the face name as the font description holds.
    static void SetFaceName(LOGFONTW& lf, const std::wstring& faceName);

    LOGFONTW m_lf{};

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnButtonClicked(UINT id) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FillFaces() const;
    void SelectSize() const;
    void SetSizeText(const std::wstring& text);
    void RebuildPreview();
    void DrawLabelRules(HDC dc) const;

    int m_nPixelsPerInch = 96;
    CFontHandle m_labelFont;
    CFontHandle m_previewFont;
    CLayoutScaler m_scaler;
};

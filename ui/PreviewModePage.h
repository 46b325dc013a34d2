#pragma once
// "Preview", the one page of the sheet that the Tools menu's "Preview switch..." opens: the
// mode to preview a switch to. Edits the CVideoMode handed over by the sheet.
#include "state/VideoMode.h"
#include "ui/TabbedPage.h"

class CPreviewModePage : public CTabbedPageOf<CVideoMode> {
public:
    CPreviewModePage();

protected:
    bool OnInitDialog() override;
    void OnApply() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

#pragma once
// The base of the settings pages: the object the page edits, handed over by its sheet, and the
// layout of the page's controls, drawn for a 240x320 screen, fitted to the real one. A page
// that edits an object derives from CTabbedPageOf, which knows the object's type.
#include <string>
#include <vector>
#include "framework/PropertySheet.h"
#include "ui/ColorStatic.h"
#include "ui/LayoutScaler.h"

class CTabbedPage : public CPropertyPage {
public:
    explicit CTabbedPage(UINT templateId) : CPropertyPage(templateId) {}

    // The size the page's template was drawn for on a 240x320 screen.
    virtual SIZE GetDesignSize() const { return SIZE{240, 222}; }
    // Design pixels to screen pixels (list column widths and the like).
    int ScaleX(int value) const;
    int ScaleY(int value) const;

    // What the page edits (not owned); null until the sheet hands it over.
    void* m_pData = nullptr;

protected:
    // The values to the controls, then the layout. Pages that keep members fill them from the
    // object they edit before they call it, and set their spin ranges after it.
    bool OnInitDialog() override;
    // Takes the label id over as the page's heading, in bold at the size of the page's text,
    // its template text formatted with args ("%1"...). After the layout.
    void ShowHeading(CColorStatic& label, int id, const std::vector<std::wstring>& args);

    CLayoutScaler m_scaler;
};

template <typename TData>
class CTabbedPageOf : public CTabbedPage {
public:
    using CTabbedPage::CTabbedPage;

protected:
    // The object the sheet handed over, as the type the page edits.
    TData& GetData() const { return *static_cast<TData*>(m_pData); }
};

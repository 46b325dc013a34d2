#pragma once
// Every settings dialog of the program: a sheet of tabbed pages with its caption from the
// string table and a command bar at the bottom whose two picture buttons close it as OK
// (validation included) and Cancel do.
#include "framework/PropertySheet.h"
#include "platform/CommandBar.h"
#include "ui/LayoutScaler.h"

class CTabbedDialog : public CPropertySheet {
public:
    // The caption is string captionId; the parent is the window the sheet was opened from.
    CTabbedDialog(UINT captionId, HWND parent);

    // Hands the object the pages edit to every page added so far (CTabbedPage), and this
    // sheet as their dialog. Callers add all pages first, then call this, then DoModal.
    void SetData(void* data);

    // Runs a sheet of one page of type Page over data and returns how it ended (IDOK...).
    template <typename Page>
    static INT_PTR RunPage(UINT captionId, HWND parent, void* data)
    {
        CTabbedDialog sheet(captionId, parent);
        Page page;
        sheet.AddPage(&page);
        sheet.SetData(data);
        return sheet.DoModal();
    }

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    int GetReservedBottom() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PlaceCommandBar();

    CCommandBar m_commandBar;
    // The tabs' font follows the pages' scale.
    CLayoutScaler m_scaler;
};

#pragma once
// Every settings dialog of the program: a sheet of tabbed pages with its caption from the
// string table and a command bar at the bottom whose two picture buttons close it as OK
// (validation included) and Cancel do.
#include <functional>
#include <initializer_list>
#include <utility>
#include "framework/PropertySheet.h"
#include "platform/CommandBar.h"
#include "ui/LayoutScaler.h"

class CTabbedDialog : public CPropertySheet {
public:
    // The caption is string captionId; the parent is the window the sheet was opened from.
    CTabbedDialog(UINT captionId, HWND parent);

    // Hands the object the pages edit to every page added so far (CTabbedPage). Callers add
    // all pages first, then call this, then DoModal.
    void SetData(void* data);
    // What OK stores after the pages' apply steps (a settings object's Save, say); a refused
    // write it raises is reported and keeps the sheet open.
    void SetStore(std::function<void()> store) { m_store = std::move(store); }

    // Runs a sheet of the pages, in tab order, over data and returns how it ended (IDOK...).
    // store, if given, is what OK stores after the pages' apply steps (SetStore).
    static INT_PTR Run(UINT captionId, HWND parent, std::initializer_list<CPropertyPage*> pages, void* data,
                       std::function<void()> store = {});
    // The same for a sheet of one page of type Page, made from args.
    template <typename Page, typename... Args>
    static INT_PTR RunPage(UINT captionId, HWND parent, void* data, Args&&... args)
    {
        Page page(std::forward<Args>(args)...);
        return Run(captionId, parent, {&page}, data);
    }

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnStore() override;
    int GetReservedBottom() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PlaceCommandBar();

    std::function<void()> m_store;
    CCommandBar m_commandBar;
    // The tabs' font follows the pages' scale.
    CLayoutScaler m_scaler;
};

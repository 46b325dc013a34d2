#pragma once
// "Shortcut", the one page of the "New shortcut" sheet: a Start-menu shortcut that runs a
// program in a video mode of its own. Edits the CRunShortcut handed over by the sheet. The
// name follows the program and the mode until the user types one of their own. Leaving the
// page with OK refuses an empty program or an unusable name, and asks before a shortcut of
// the same name is replaced.
#include <string>
#include "core/RunShortcut.h"
#include "ui/TabbedPage.h"

class CRunShortcutPage : public CTabbedPageOf<CRunShortcut> {
public:
    // The longest program path, arguments and name the page accepts.
    static constexpr size_t kMaxPath = 260;
    static constexpr size_t kMaxName = 64;

    CRunShortcutPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnButtonClicked(UINT id) override;
    bool OnKillActive() override;
    void OnApply() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Puts the name made from the program and the mode into its box, unless the user typed one.
    void ProposeName();
    bool Refuse(int id, UINT messageId);

    bool m_bNameTyped = false;
    bool m_bProposing = false;
};

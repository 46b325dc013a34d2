#pragma once
// "Shortcut", the one page of the "New shortcut" sheet: a Start-menu shortcut that runs a
// program in a video mode of its own. Edits the CRunShortcut handed over by the sheet. The
// name follows the program and the mode until the user types one of their own. Leaving the
// page with OK refuses an empty program or an unusable name, and asks before a shortcut of
// the same name is replaced.
#include <string>
#include "ui/TabbedPage.h"

class CRunShortcutPage : public CTabbedPage {
public:
    // The longest program path, arguments and name the page accepts.
    static constexpr size_t kMaxPath = 260;
    static constexpr size_t kMaxName = 64;

    CRunShortcutPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnKillActive() override;
    void OnApply() override;

private:
    // Puts the name made from the program and the mode into its box, unless the user typed one.
    void ProposeName();
    bool Refuse(int id, UINT messageId);

    int m_nMode = 0;
    std::wstring m_strProgram;
    std::wstring m_strArguments;
    bool m_bReturn = false;
    bool m_bYes = false;
    std::wstring m_strName;
    bool m_bNameTyped = false;
    bool m_bProposing = false;
};

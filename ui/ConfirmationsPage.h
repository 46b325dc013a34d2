#pragma once
// "Confirmations", the program settings' one page: the questions and warnings the program
// asks before a switch, before left-handed VGA and on the clock page. It reads and writes its
// switches itself ("NoResetWarning", "NoVGA3Warning", "NoClockWarning": a ticked box is a
// switch of 0, so every question is on by default). A fourth box turns on the question after
// a switch whether to keep the new mode ("KeepModeSeconds", off by default).
#include "ui/TabbedPage.h"

class CConfirmationsPage : public CTabbedPage {
public:
    CConfirmationsPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnApply() override;

private:
    struct Confirmation {
        int id;
        const wchar_t* setting;
    };
    static const Confirmation kConfirmations[3];

    bool m_bAsk[3] = {};
    bool m_bKeepMode = false;
};

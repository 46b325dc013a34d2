#pragma once
// "Keep this video mode?", asked at the first start in a new mode: the mode's name, the
// question, "Keep" and "Back", and the seconds left until the old mode comes back by itself.
// The box and its contents are fitted to the screen.
#include <string>
#include "framework/Dialog.h"
#include "state/VideoMode.h"
#include "ui/LayoutScaler.h"

class CKeepModeDlg : public CDialog {
public:
    // The dialog's timer, one tick a second.
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTickMs = 1000;
    // The design size of the box on a 240x320 screen.
    static constexpr int kDesignWidth = 240;
    static constexpr int kDesignHeight = 150;

    // DoModal gives IDOK for "Keep" and IDCANCEL for "Back", which Escape and the close box
    // give as well; the end of the count gives IDTIMEOUT.
    CKeepModeDlg(const CVideoMode& mode, int seconds, HWND owner = nullptr);

    // The name the box shows for a mode, e.g. "640x480 - Landscape (Left-handed)".
    static std::wstring GetModeTitle(const CVideoMode& mode);

    int GetSecondsLeft() const { return m_nSecondsLeft; }
    const CLayoutScaler& GetScaler() const { return m_scaler; }

protected:
    // Fills in the texts, starts the count, fits the box to the screen and puts the focus on
    // "Back", so that Enter cannot keep a mode nobody can see. Returns false (focus set).
    bool OnInitDialog() override;
    // The timer's tick; the rest as the base.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // One second less; at none the box ends with IDTIMEOUT.
    void OnTick();

private:
    void ShowSecondsLeft();

    CVideoMode m_mode;
    int m_nSecondsLeft;
    CLayoutScaler m_scaler;
};

#pragma once
// A report shown whole: a window over the work area, titled by the caller, with the report's
// lines in a read-only box that wraps them to its width and scrolls, and OK below it. Fitted to
// the screen.
#include <string>
#include <vector>
#include "framework/Dialog.h"
#include "ui/LayoutScaler.h"

class CReportDlg : public CDialog {
public:
    // The design size of the window on a 240x320 screen: the work area below the navigation
    // bar.
    static constexpr int kDesignWidth = 240;
    static constexpr int kDesignHeight = 294;

    // DoModal gives IDOK for OK and IDCANCEL for Escape.
    CReportDlg(std::wstring title, std::vector<std::wstring> lines, HWND owner = nullptr);

    const CLayoutScaler& GetScaler() const { return m_scaler; }

protected:
    // Fills the box, then fills the work area and places the box and OK in it.
    bool OnInitDialog() override;

private:
    void LayOut() const;

    std::wstring m_strTitle;
    std::vector<std::wstring> m_lines;
    CLayoutScaler m_scaler;
};

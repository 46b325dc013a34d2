#pragma once
// The About box: the program's icon, name and version, fitted to the screen.
#include "framework/Dialog.h"
#include "ui/LayoutScaler.h"

class CAboutDlg : public CDialog {
public:
    // The design size of the box on a 240x320 screen.
    static constexpr int kDesignWidth = 240;
    static constexpr int kDesignHeight = 244;

    explicit CAboutDlg(HWND owner = nullptr);

    const CLayoutScaler& GetScaler() const { return m_scaler; }

protected:
    bool OnInitDialog() override;

private:
    CLayoutScaler m_scaler;
};

#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include "ModalDriver.h"
#include "framework/Window.h"
#include "resources/resource.h"
#include "ui/KeepModeDlg.h"

// The modal driver on the keep-mode box.
class CKeepBoxDriver : public CModalDriver {
public:
    CKeepBoxDriver() : CModalDriver(&IsBox) {}

    // The box's own timer stops, so that only the test's ticks count.
    CKeepBoxDriver& StopTheClock()
    {
        Then([](CWindow box) {
            EXPECT_TRUE(::KillTimer(box, CKeepModeDlg::kTimerId)) << "the box counts with a timer of its own";
        });
        return *this;
    }
    CKeepBoxDriver& Ticks(int count)
    {
        Then([count](CWindow box) {
            for (int i = 0; i < count && box.IsWindow(); ++i)
                box.SendMessage(WM_TIMER, CKeepModeDlg::kTimerId);
        });
        return *this;
    }
    CKeepBoxDriver& Press(int id)
    {
        Then([id](CWindow box) { CButton(box.GetDlgItem(id)).Click(); });
        return *this;
    }

private:
    static bool IsBox(HWND hwnd) { return ::GetDlgItem(hwnd, IDC_KEEP_MODE_SECONDS) != nullptr; }
};

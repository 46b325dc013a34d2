#pragma once
#include <windows.h>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include "framework/Window.h"
#include "resources/resource.h"
#include "ui/KeepModeDlg.h"

// Answers the keep-mode box from inside its own modal loop: each step runs on a tick of a
// thread timer with the box shown at that moment. A box left open when the steps have run out
// is recorded and sent Escape, so that a test never hangs.
class CKeepBoxDriver {
public:
    using Step = std::function<void(CWindow box)>;

    CKeepBoxDriver() { s_current = this; m_timer = ::SetTimer(nullptr, 0, 1, &Tick); }
    ~CKeepBoxDriver()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    CKeepBoxDriver(const CKeepBoxDriver&) = delete;
    CKeepBoxDriver& operator=(const CKeepBoxDriver&) = delete;

    CKeepBoxDriver& Then(Step step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }
    // The box's own timer stops, so that only the test's ticks count.
    CKeepBoxDriver& StopTheClock()
    {
        return Then([](CWindow box) {
            EXPECT_TRUE(::KillTimer(box, CKeepModeDlg::kTimerId)) << "the box counts with a timer of its own";
        });
    }
    CKeepBoxDriver& Ticks(int count)
    {
        return Then([count](CWindow box) {
            for (int i = 0; i < count && box.IsWindow(); ++i)
                box.SendMessage(WM_TIMER, CKeepModeDlg::kTimerId);
        });
    }
    CKeepBoxDriver& Press(int id)
    {
        return Then([id](CWindow box) { CButton(box.GetDlgItem(id)).Click(); });
    }
    size_t StepsLeft() const { return m_steps.size(); }
    int Abandoned() const { return m_abandoned; }
    int Shown() const { return m_shown; }

private:
    static BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) noexcept
    {
        if (::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, IDC_KEEP_MODE_SECONDS)) {
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept
    {
        CKeepBoxDriver* driver = s_current;
        HWND box = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
        if (!driver || !box || driver->m_busy)
            return;
        driver->m_busy = true;
        if (box != driver->m_last) {
            driver->m_last = box;
            ++driver->m_shown;
        }
        if (driver->m_steps.empty()) {
            ++driver->m_abandoned;
            CWindow(box).SendMessage(WM_COMMAND, IDCANCEL);
        } else {
            Step step = std::move(driver->m_steps.front());
            driver->m_steps.pop_front();
            step(CWindow(box));
        }
        driver->m_busy = false;
    }

    static inline CKeepBoxDriver* s_current = nullptr;
    std::deque<Step> m_steps;
    UINT_PTR m_timer = 0;
    HWND m_last = nullptr;
    int m_shown = 0;
    int m_abandoned = 0;
    bool m_busy = false;
};

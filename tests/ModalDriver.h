#pragma once
// Drives the program's modal windows (the settings sheets, the keep-mode box) from inside their
// own message loops, as a user would: each step runs on a tick of a thread timer, with the
// window that takes input at that moment (the innermost one when a window opened another). A
// step that opens a modal window returns only when that window has ended, so the next steps act
// on it meanwhile. When the steps run out while a window is still open, the driver cancels it
// and records its title, so that a test never hangs.
#include <windows.h>
#include <deque>
#include <functional>
#include <string>
#include "framework/Window.h"

class CModalDriver {
public:
    using Step = std::function<void(CWindow)>;
    // Which of the thread's visible, enabled top-level windows the steps act on.
    using Finder = bool (*)(HWND);

    explicit CModalDriver(Finder finder) : m_finder(finder)
    {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 1, &Tick);
    }
    ~CModalDriver()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    CModalDriver(const CModalDriver&) = delete;
    CModalDriver& operator=(const CModalDriver&) = delete;

    CModalDriver& Then(Step step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }
    size_t StepsLeft() const { return m_steps.size(); }
    // The titles of the windows cancelled for want of a step, each followed by ";".
    const std::wstring& Abandoned() const { return m_abandoned; }
    // How many windows the steps were offered: a window counts again after another one.
    int Shown() const { return m_shown; }

    // The window the finder accepts that takes input now; null when there is none.
    static HWND Find(Finder finder)
    {
        Search search{finder, nullptr};
        ::EnumThreadWindows(::GetCurrentThreadId(), &Accept, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    struct Search {
        Finder finder;
        HWND found;
    };
    static BOOL CALLBACK Accept(HWND hwnd, LPARAM param) noexcept
    {
        auto& search = *reinterpret_cast<Search*>(param);
        if (!::IsWindowVisible(hwnd) || !::IsWindowEnabled(hwnd) || !search.finder(hwnd))
            return TRUE;
        search.found = hwnd;
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept
    {
        CModalDriver* self = s_current;
        if (!self)
            return;
        const CWindow window(Find(self->m_finder));
        if (!window.GetSafeHwnd())
            return;
        if (window.GetSafeHwnd() != self->m_last) {
            self->m_last = window.GetSafeHwnd();
            ++self->m_shown;
        }
        if (self->m_steps.empty()) {
            self->m_abandoned += window.GetWindowText() + L";";
            window.SendMessage(WM_COMMAND, IDCANCEL);
            return;
        }
        Step step = std::move(self->m_steps.front());
        self->m_steps.pop_front();
        step(window);
    }

    static inline CModalDriver* s_current = nullptr;
    Finder m_finder;
    UINT_PTR m_timer = 0;
    std::deque<Step> m_steps;
    std::wstring m_abandoned;
    HWND m_last = nullptr;
    int m_shown = 0;
};

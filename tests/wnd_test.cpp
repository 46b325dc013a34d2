// The framework's windows as CE creates and destroys them: a window's first message is
// WM_CREATE and its last WM_DESTROY; CE sends no WM_NCCREATE or WM_NCDESTROY.
#include <windows.h>
#include <vector>
#include "DeviceFixture.h"
#include "framework/Wnd.h"

namespace {

class CRecordingWnd : public CWnd {
public:
    std::vector<UINT> m_messages;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        m_messages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

using WndTest = DeviceTest;

TEST_F(WndTest, ObjectSeesWmCreateFirstAndLetsGoOnWmDestroy)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, L"w", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
    const HWND hwnd = wnd.GetSafeHwnd();
    ASSERT_FALSE(wnd.m_messages.empty()) << "the object was never attached";
    EXPECT_EQ(static_cast<UINT>(WM_CREATE), wnd.m_messages.front()) << "first message 0x" << std::hex
                                                                     << wnd.m_messages.front();
    EXPECT_EQ(&wnd, CWnd::FromHandle(hwnd));

    wnd.DestroyWindow();
    EXPECT_EQ(static_cast<UINT>(WM_DESTROY), wnd.m_messages.back()) << "last message 0x" << std::hex
                                                                      << wnd.m_messages.back();
    EXPECT_EQ(nullptr, wnd.GetSafeHwnd()) << "the object still holds its window";
    EXPECT_FALSE(::IsWindow(hwnd));
}

}  // namespace

#include <windows.h>
#include <string>
#include "DeviceFixture.h"
#include "framework/Window.h"
#include "resources/resource.h"
#include "ui/LayoutScaler.h"

namespace {

// Every settings page's template: its controls lie within the part of the page that every
// screen shows (160 x 100 dialog units), apart from each other, and each text fits its
// control at the font the page gets on each of the device's screens.
const UINT kPages[] = {IDD_SCROLLBARS,    IDD_FONTS,       IDD_CHOOSE_FONT, IDD_CLOCK,       IDD_STATE_OPTIONS,
                       IDD_CONFIRMATIONS, IDD_PROFILES,    IDD_PROFILE_INFO, IDD_REGISTRY,   IDD_FILES,
                       IDD_REGISTRY_ENTRY, IDD_FILE_ENTRY, IDD_REGISTRY_VALUES, IDD_SELECT_FILE, IDD_RUN_SHORTCUT};
const SIZE kScreens[] = {{240, 320}, {320, 240}, {480, 640}, {640, 480}};
// Room a check box or radio button keeps for its box, and a push button for its edges.
constexpr int kBoxRoom = 16;
constexpr int kButtonRoom = 4;

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM) noexcept
{
    return message == WM_INITDIALOG;
}

std::string Name(UINT page, HWND control)
{
    const CWindow child(control);
    std::string text;
    for (wchar_t c : child.GetWindowText())
        text += c < 128 ? static_cast<char>(c) : '?';
    return "page " + std::to_string(page) + " control " + std::to_string(child.GetDlgCtrlID()) + " \"" + text + "\"";
}

bool IsVisible(HWND control)
{
    return (CWindow(control).GetStyle() & WS_VISIBLE) != 0;
}

bool IsGroupBox(HWND control)
{
    const CWindow child(control);
    return child.GetClassName() == L"Button" && (child.GetStyle() & BS_TYPEMASK) == BS_GROUPBOX;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
           && inner.bottom <= outer.bottom;
}

// The size the control's text needs at the control's font: within width when it may wrap.
SIZE TextSize(HWND control, int width, bool wrap)
{
    const CWindow child(control);
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, child.GetFont());
    RECT rect{0, 0, width, 0};
    const std::wstring text = child.GetWindowText();
    ::DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return SIZE{rect.right, rect.bottom};
}

std::string Fault(SIZE need, SIZE room)
{
    if (need.cx <= room.cx && need.cy <= room.cy)
        return std::string();
    return "needs " + std::to_string(need.cx) + "x" + std::to_string(need.cy) + " in " + std::to_string(room.cx) + "x"
           + std::to_string(room.cy);
}

// What keeps the control's text from being shown whole; empty when it is, or when the control
// has no text of its own.
std::string TextFault(HWND control)
{
    const CWindow child(control);
    const RECT client = child.GetClientRect();
    const std::wstring cls = child.GetClassName();
    const DWORD style = child.GetStyle();
    if (child.GetWindowText().empty())
        return std::string();
    if (cls == L"Static")
        return Fault(TextSize(control, client.right, (style & SS_CENTERIMAGE) == 0), SIZE{client.right, client.bottom});
    if (cls != L"Button")
        return std::string();
    const DWORD type = style & BS_TYPEMASK;
    const bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON
                     || type == BS_AUTORADIOBUTTON || type == BS_GROUPBOX;
    const int width = client.right - (box ? kBoxRoom : kButtonRoom);
    SIZE need = TextSize(control, width, (style & BS_MULTILINE) != 0);
    // A group box's title runs along its top edge, whatever the box's height.
    if (type == BS_GROUPBOX)
        need.cy = 0;
    return Fault(need, SIZE{width, client.bottom});
}

class PageLayoutTest : public DeviceTest {
protected:
    HWND CreatePage(UINT id) const
    {
        return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), m_host, &PageProc, 0);
    }
    void SetUp() override
    {
        DeviceTest::SetUp();
        m_host = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 800, 800, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_host);
    }
    void TearDown() override
    {
        ::DestroyWindow(m_host);
        DeviceTest::TearDown();
    }

    HWND m_host = nullptr;
};

}  // namespace

TEST_F(PageLayoutTest, ControlsStayInTheSharedAreaApartFromEachOther)
{
    for (UINT id : kPages) {
        const HWND page = CreatePage(id);
        ASSERT_TRUE(page) << "page " << id;
        RECT area{0, 0, 160, 100};
        ::MapDialogRect(page, &area);
        const auto children = CWindow(page).GetChildren();
        for (HWND child : children) {
            if (!IsVisible(child))
                continue;
            const RECT rect = CWindow(child).GetRectInParent();
            EXPECT_TRUE(Inside(rect, area)) << Name(id, child);
            for (HWND other : children) {
                const RECT otherRect = CWindow(other).GetRectInParent();
                RECT common{};
                if (other == child || !IsVisible(other) || !::IntersectRect(&common, &rect, &otherRect))
                    continue;
                // Group boxes hold what they touch; any other pair must not meet.
                if (IsGroupBox(other))
                    EXPECT_TRUE(Inside(rect, otherRect)) << Name(id, child) << " in " << Name(id, other);
                else if (!IsGroupBox(child))
                    ADD_FAILURE() << Name(id, child) << " overlaps " << Name(id, other);
            }
        }
        ::DestroyWindow(page);
    }
}

TEST_F(PageLayoutTest, EveryTextFitsItsControlOnEveryScreen)
{
    for (const SIZE& screen : kScreens) {
        for (UINT id : kPages) {
            const HWND page = CreatePage(id);
            ASSERT_TRUE(page) << "page " << id;
            CLayoutScaler scaler;
            scaler.Apply(page, 240, 222, screen);
            for (HWND child : CWindow(page).GetChildren()) {
                if (IsVisible(child)) {
                    EXPECT_EQ("", TextFault(child)) << Name(id, child) << " on " << screen.cx << "x" << screen.cy;
                }
            }
            ::DestroyWindow(page);
        }
    }
}

#include <windows.h>
#include <commctrl.h>
#include <string>
#include "DeviceFixture.h"
#include "framework/CommonControls.h"
#include "framework/Window.h"
#include "ui/LayoutScaler.h"

namespace {

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ","
        + std::to_string(r.bottom) + ")";
}

#define EXPECT_RECT(expected, actual) EXPECT_EQ(Describe(expected), Describe(actual))

// A page drawn for 240x320 with one control of every kind the scaler treats apart.
class LayoutScalerTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        LoadCommonControls();
        m_page = ::CreateWindowExW(0, L"Static", L"page", WS_POPUP, 0, 0, 240, 222, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_page);
        m_label = Child(L"Static", 0, 10, 20, 100, 16);
        m_edit = Child(L"Edit", ES_AUTOHSCROLL, 10, 50, 100, 10);
        m_notes = Child(L"Edit", ES_MULTILINE, 10, 70, 100, 40);
        m_spin = Child(UPDOWN_CLASSW, 0, 120, 50, 15, 25);
        m_combo = Child(L"ComboBox", CBS_SIMPLE, 10, 120, 100, 60);
        ::SendMessageW(m_page, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(SYSTEM_FONT)), FALSE);
    }
    void TearDown() override
    {
        ::DestroyWindow(m_page);
        DeviceTest::TearDown();
    }

    HWND Child(const wchar_t* cls, DWORD style, int x, int y, int cx, int cy)
    {
        HWND child = ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, m_page, nullptr,
                                       nullptr, nullptr);
        EXPECT_TRUE(child) << "cannot create " << ::testing::PrintToString(std::wstring(cls));
        return child;
    }
    static RECT Rect(HWND child) { return CWindow(child).GetRectInParent(); }
    // The height the combo box was given: a simple combo box shows its list all the time,
    // so its window is as high as the box and the list together.
    int DroppedHeight() const
    {
        const RECT box = Rect(m_combo);
        return box.bottom - box.top;
    }
    void ExpectFont(const CLayoutScaler& scaler, int cellHeight, int weight) const
    {
        LOGFONTW font{};
        ASSERT_TRUE(scaler.GetFont());
        ASSERT_EQ(static_cast<int>(sizeof font), ::GetObjectW(scaler.GetFont(), sizeof font, &font));
        EXPECT_EQ(cellHeight, font.lfHeight);
        EXPECT_EQ(weight, font.lfWeight);
        EXPECT_EQ(std::wstring(L"Tahoma"), std::wstring(font.lfFaceName));
        EXPECT_EQ(FF_SWISS, font.lfPitchAndFamily);
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
        // The up-down control takes the font but has no text to show it in.
        for (HWND child : {m_label, m_edit, m_notes, m_combo})
            EXPECT_EQ(scaler.GetFont(), CWindow(child).GetFont()) << "child " << CWindow(child).GetClassName();
    }

    HWND m_page = nullptr;
    HWND m_label = nullptr, m_edit = nullptr, m_notes = nullptr, m_spin = nullptr, m_combo = nullptr;
};

}  // namespace

TEST(LayoutScale, FollowsTheScreenAndTheDesignSize)
{
    EXPECT_FLOAT_EQ(1.0f, CLayoutScaler::ComputeScale({240, 320}, 240, 222));
    EXPECT_FLOAT_EQ(2.0f, CLayoutScaler::ComputeScale({480, 640}, 240, 222)) << "width ratio below height ratio";
    EXPECT_FLOAT_EQ(382.0f / 222.0f, CLayoutScaler::ComputeScale({640, 480}, 240, 222)) << "height ratio";
    EXPECT_FLOAT_EQ(1.0f, CLayoutScaler::ComputeScale({320, 240}, 240, 222)) << "lower than 320 stays unscaled";
    EXPECT_FLOAT_EQ(2.0f, CLayoutScaler::ComputeScale({480, 640}, 240, 268)) << "main view";
    EXPECT_FLOAT_EQ(428.0f / 268.0f, CLayoutScaler::ComputeScale({640, 480}, 240, 268)) << "main view landscape";
}

TEST_F(LayoutScalerTest, DesignScreenKeepsPlacesButFitsBoxesToTheFont)
{
    CLayoutScaler scaler;
    scaler.Apply(m_page, 240, 222, SIZE{240, 320});
    EXPECT_FLOAT_EQ(1.0f, scaler.GetScale());
    EXPECT_EQ(10, scaler.GetFontHeight());
    EXPECT_RECT((RECT{10, 20, 110, 36}), Rect(m_label));
    EXPECT_RECT((RECT{10, 45, 110, 65}), Rect(m_edit)) << "20 high around the old centre";
    EXPECT_EQ(52, Rect(m_spin).top) << "25 high: the top moves down by 2 (truncated)";
    EXPECT_EQ(72, Rect(m_spin).bottom);
    EXPECT_RECT((RECT{10, 70, 110, 110}), Rect(m_notes)) << "a multi-line box keeps its height";
    EXPECT_EQ(100, DroppedHeight());
    ExpectFont(scaler, 13, FW_NORMAL);
    EXPECT_RECT((RECT{0, 0, 240, 222}), CWindow(m_page).GetClientRect()) << "the window itself is not resized";
    EXPECT_EQ(::GetStockObject(SYSTEM_FONT), CWindow(m_page).GetFont()) << "nor given the font";
}

TEST_F(LayoutScalerTest, VgaScreenDoublesEverything)
{
    CLayoutScaler scaler;
    scaler.Apply(m_page, 240, 222, SIZE{480, 640});
    EXPECT_FLOAT_EQ(2.0f, scaler.GetScale());
    EXPECT_EQ(20, scaler.GetFontHeight());
    EXPECT_RECT((RECT{20, 40, 220, 72}), Rect(m_label));
    EXPECT_RECT((RECT{20, 95, 220, 125}), Rect(m_edit)) << "30 high around the doubled centre";
    EXPECT_RECT((RECT{20, 140, 220, 220}), Rect(m_notes));
    EXPECT_EQ(200, DroppedHeight());
    ExpectFont(scaler, 23, FW_BOLD);
}

TEST_F(LayoutScalerTest, FractionalScaleTruncatesEveryEdge)
{
    CLayoutScaler scaler;
    scaler.Apply(m_page, 240, 222, SIZE{640, 480});
    const float s = 382.0f / 222.0f;
    EXPECT_EQ(static_cast<int>(s * 10), scaler.GetFontHeight());
    EXPECT_RECT((RECT{static_cast<int>(10 * s), static_cast<int>(20 * s), static_cast<int>(110 * s),
                      static_cast<int>(36 * s)}),
                Rect(m_label));
}

TEST_F(LayoutScalerTest, ApplyingTwiceStartsFromTheCurrentLayout)
{
    // The scaler runs once per window; a second run works on what the first left, and its
    // font replaces the first (which the children no longer use).
    CLayoutScaler scaler;
    scaler.Apply(m_page, 240, 222, SIZE{480, 640});
    scaler.Apply(m_page, 240, 222, SIZE{240, 320});
    EXPECT_RECT((RECT{20, 40, 220, 72}), Rect(m_label));
    ExpectFont(scaler, 13, FW_NORMAL);
}

TEST_F(LayoutScalerTest, FitWindowGrowsABoxOfItsOwnAndCentresIt)
{
    CLayoutScaler scaler;
    scaler.Apply(m_page, 240, 222, SIZE{480, 640});
    scaler.FitWindow();
    RECT box{};
    ::GetWindowRect(m_page, &box);
    EXPECT_RECT((RECT{0, 98, 480, 542}), box) << "twice 240x222, centred on 480x640";
    scaler.Apply(m_page, 480, 444, SIZE{240, 320});
    scaler.FitWindow();
    ::GetWindowRect(m_page, &box);
    EXPECT_RECT((RECT{0, 49, 240, 271}), box) << "a box drawn twice as wide as the screen shrinks to it";
}

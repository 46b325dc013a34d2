#include <windows.h>
#include <iomanip>
#include <sstream>
#include <string>
#include "DeviceFixture.h"
#include "framework/Wnd.h"
#include "resources/resource.h"
#include "ui/BmpButton.h"

namespace {

std::string Hex(COLORREF color)
{
    std::ostringstream out;
    out << "0x" << std::hex << std::setw(6) << std::setfill('0') << color;
    return out.str();
}

constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(0xFF, 0, 0);
constexpr int kButtonId = 1027;

// An owner-drawn button in a window of our own, which hands the draw requests back to the
// button; drawing goes into a memory surface the test reads back.
class BmpButtonTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, L"parent", WS_POPUP, RECT{0, 0, 400, 300}, nullptr, 0));
        HWND button = ::CreateWindowExW(0, L"Button", L"Portrait (Standard)", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10,
                                        10, 20, 20, m_parent, reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
        ASSERT_TRUE(m_button.SubclassDlgItem(kButtonId, m_parent));
        ASSERT_EQ(button, m_button.GetSafeHwnd());
        ASSERT_TRUE(m_button.LoadBitmaps(IDB_MODE_FIRST));
        // Sized as the view sizes it: to the picture the button reports before loading it.
        SIZE picture{-1, -1};
        ASSERT_TRUE(m_button.GetContentSize(picture));
        m_button.MoveWindow(RECT{10, 10, 10 + picture.cx, 10 + picture.cy});
    }
    void TearDown() override
    {
        if (m_surface)
            ::DeleteDC(m_surface);
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
        DeviceTest::TearDown();
    }

    // Asks the parent to draw the button in the given state, as the system does.
    void Draw(UINT state)
    {
        const RECT client = m_button.GetClientRect();
        m_surface = ::CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(m_surface, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_TRUE(m_bitmap);
        ::SelectObject(m_surface, m_bitmap);
        DRAWITEMSTRUCT item{ODT_BUTTON, kButtonId, 0, ODA_DRAWENTIRE, state, m_button, m_surface, client, 0};
        EXPECT_EQ(TRUE, m_parent.SendMessage(WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&item)));
    }
    COLORREF Pixel(int x, int y) const { return ::GetPixel(m_surface, x, y); }
    static COLORREF PicturePixel(int x, int y)
    {
        HBITMAP picture = static_cast<HBITMAP>(
            ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_MODE_FIRST), IMAGE_BITMAP, 0, 0, 0));
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, picture);
        const COLORREF color = ::GetPixel(dc, x, y);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::DeleteObject(picture);
        return color;
    }
    // The colours of the four edges, each taken at its middle: left, top, right, bottom.
    std::string Edges() const
    {
        const RECT r = m_button.GetClientRect();
        return Hex(Pixel(0, r.bottom / 2)) + " " + Hex(Pixel(r.right / 2, 0)) + " "
            + Hex(Pixel(r.right - 1, r.bottom / 2)) + " " + Hex(Pixel(r.right / 2, r.bottom - 1));
    }

    CWnd m_parent;
    CBmpButton m_button;
    HDC m_surface = nullptr;
    HBITMAP m_bitmap = nullptr;
};

}  // namespace

TEST_F(BmpButtonTest, TakesTheSizeOfItsPicture)
{
    const RECT client = m_button.GetClientRect();
    EXPECT_EQ(100, client.right);
    EXPECT_EQ(58, client.bottom);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), m_button.GetBkColor()) << "background before the view sets it";
}

TEST_F(BmpButtonTest, ReleasedLooksRaised)
{
    Draw(0);
    EXPECT_EQ(Hex(kGrey) + " " + Hex(kGrey) + " " + Hex(kBlack) + " " + Hex(kBlack), Edges())
        << "left and top grey, right and bottom black";
    EXPECT_EQ(Hex(PicturePixel(50, 29)), Hex(Pixel(50, 29))) << "the picture inside the frame";
}

TEST_F(BmpButtonTest, PressedLooksPushedIn)
{
    Draw(ODS_SELECTED);
    EXPECT_EQ(Hex(kBlack) + " " + Hex(kBlack) + " " + Hex(kGrey) + " " + Hex(kGrey), Edges())
        << "left and top black, right and bottom grey";
}

TEST_F(BmpButtonTest, LargerButtonShowsTheBackgroundAroundTheEnlargedPicture)
{
    // 2 x 100 + 20 wide, 2 x 58 + 10 high: the picture is drawn twice as large, centred.
    ::SetWindowPos(m_button, nullptr, 0, 0, 220, 126, SWP_NOMOVE | SWP_NOZORDER);
    m_button.SetBkColor(kRed);
    Draw(0);
    EXPECT_EQ(Hex(kRed), Hex(Pixel(5, 60))) << "left margin";
    EXPECT_EQ(Hex(kRed), Hex(Pixel(110, 2))) << "top margin";
    EXPECT_EQ(Hex(PicturePixel(0, 0)), Hex(Pixel(10, 5))) << "picture's corner";
    EXPECT_EQ(Hex(PicturePixel(50, 29)), Hex(Pixel(10 + 100, 5 + 58))) << "picture's middle";
    EXPECT_EQ(Hex(PicturePixel(50, 29)), Hex(Pixel(10 + 101, 5 + 59))) << "each picture pixel covers 2x2";
}

#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include "ModeFixture.h"
#include "SheetDriver.h"
#include "app/MainFrame.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/Settings.h"
#include "state/SettingsRegistry.h"
#include "ui/StateOptionsPage.h"
#include "ui/TabbedDialog.h"

namespace {

const uint32_t kUser = CRegistry::kCurrentUser;
const wchar_t kQvgaPortrait[] = L"Software\\Dorix\\QVGA.portrait";
const wchar_t kQvgaLandscape[] = L"Software\\Dorix\\QVGA.landscape";

// The settings sheets opened from the main window's Tools menu, driven step by step.
class SettingsSheetTest : public RunningDeviceTest {
protected:
    void SetUp() override
    {
        RunningDeviceTest::SetUp();
        m_frame = std::make_unique<CMainFrame>(Session());
        ASSERT_TRUE(m_frame->Create()) << "last error " << ::GetLastError();
    }
    void TearDown() override
    {
        m_frame.reset();
        RunningDeviceTest::TearDown();
    }
    // Sends the menu command; returns when the sheet it opened has ended.
    void Open(UINT command)
    {
        m_frame->SendMessage(WM_COMMAND, command);
        EXPECT_EQ(0u, m_driver.StepsLeft()) << "the sheet ended before every step ran";
        EXPECT_EQ(L"", m_driver.Abandoned()) << "sheets left open";
    }
    void ExpectBox(size_t index, const std::wstring& text) const
    {
        ASSERT_LT(index, m_boxes.size()) << "boxes shown: " << m_boxes.size();
        EXPECT_EQ(text, m_boxes[index].text) << "box " << index;
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), m_boxes[index].style) << "box " << index;
    }
    static bool Ticked(CPropertySheet& sheet, int id)
    {
        return CSheetDriver::Control(sheet, id).SendMessage(BM_GETCHECK) == BST_CHECKED;
    }

    std::unique_ptr<CMainFrame> m_frame;
    CSheetDriver m_driver;
};

std::wstring ComboText(const CWindow& combo, int index)
{
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(0, combo.SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)))), L'\0');
    combo.SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return text;
}

std::wstring MenuText(HMENU menu, int position)
{
    wchar_t text[64] = L"";
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return text;
}

}  // namespace

TEST_F(SettingsSheetTest, ToolsMenuOpensModeStateAndProgramSettingsAboutAndExit)
{
    HMENU tools = ::GetSubMenu(m_frame->GetCommandBar().GetMenu(), 0);
    ASSERT_EQ(7, ::GetMenuItemCount(tools));
    EXPECT_EQ(L"Mode settings", MenuText(tools, 0));
    const UINT ids[] = {static_cast<UINT>(-1), ID_STATE_SETTINGS, ID_PROGRAM_SETTINGS, ID_NEW_SHORTCUT,
                        ID_PREVIEW_SWITCH,         ID_APP_ABOUT,      ID_APP_EXIT};
    const wchar_t* texts[] = {L"Mode settings",     L"State settings...", L"Program settings...", L"New shortcut...",
                              L"Preview switch...", L"About...",          L"Exit"};
    for (int i = 1; i < 7; ++i) {
        EXPECT_EQ(ids[i], ::GetMenuItemID(tools, i)) << "item " << i;
        EXPECT_EQ(texts[i], MenuText(tools, i)) << "item " << i;
    }
    HMENU modes = ::GetSubMenu(tools, 0);
    ASSERT_EQ(5, ::GetMenuItemCount(modes));
    const UINT modeIds[] = {ID_MODE_QVGA_PORTRAIT, ID_MODE_QVGA_LANDSCAPE, 0, ID_MODE_VGA_PORTRAIT, ID_MODE_VGA_LANDSCAPE};
    const wchar_t* modeTexts[] = {L"240x320 - Portrait...", L"320x240 - Landscape...", L"", L"480x640 - Portrait...",
                                  L"640x480 - Landscape..."};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(modeIds[i], ::GetMenuItemID(modes, i)) << "item " << i;
        EXPECT_EQ(modeTexts[i], MenuText(modes, i)) << "item " << i;
    }
}

TEST_F(SettingsSheetTest, CancelStoresNothingWhateverThePagesHold)
{
    AnswerNextBox(IDOK);  // the clock warning
    m_driver
        .Then([](CPropertySheet& sheet) {
            EXPECT_EQ(L"240x320 - Portrait", sheet.GetWindowText());
            ASSERT_EQ(3, sheet.GetPageCount());
            EXPECT_EQ(L"Fonts", sheet.GetPage(0)->GetTitle());
            EXPECT_EQ(L"Scrollbars", sheet.GetPage(1)->GetTitle());
            EXPECT_EQ(L"GPU-Clock", sheet.GetPage(2)->GetTitle());
            CSheetDriver::TapTab(sheet, 1);
            EXPECT_EQ(1, sheet.GetActiveIndex()) << "a tap on the tab selects its page";
            CSheetDriver::Type(sheet, IDC_VSCROLL_WIDTH, L"30");
            CSheetDriver::TapTab(sheet, 2);
            CSheetDriver::Type(sheet, IDC_CLOCK_FIRST, L"90");
        })
        .Then([](CPropertySheet& sheet) { CSheetDriver::Press(sheet, ID_SHEET_CANCEL); });
    Open(ID_MODE_QVGA_PORTRAIT);
    ExpectBox(0, LoadResourceString(IDS_CLOCK_WARNING));
    EXPECT_FALSE(CRegistry(kUser, kQvgaPortrait).KeyExists(nullptr)) << "nothing of the group stored";
}

TEST_F(SettingsSheetTest, OkAfterTheFirstTabOnlyLeavesTheOtherPagesAlone)
{
    CRegistry group(kUser, kQvgaPortrait);
    group.WriteDWord(nullptr, L"VertScrollWidth", 7);
    group.WriteDWord(nullptr, L"ClkFreq.0", 90);
    m_driver.Then([](CPropertySheet& sheet) { CSheetDriver::Press(sheet, ID_SHEET_OK); });
    Open(ID_MODE_QVGA_PORTRAIT);
    EXPECT_TRUE(m_boxes.empty()) << "the clock page was never opened, so it never warned";
    EXPECT_EQ(RawDWord(7), RawValue(kUser, kQvgaPortrait, L"VertScrollWidth"));
    EXPECT_EQ(RawDWord(90), RawValue(kUser, kQvgaPortrait, L"ClkFreq.0"));
    EXPECT_EQ("<missing>", RawValue(kUser, kQvgaPortrait, L"ClkDivider.0"));
    EXPECT_EQ(RawSz(L"Tahoma"), RawValue(kUser, std::wstring(kQvgaPortrait) + L"\\BarFnt", L"Nm"));
}

TEST_F(SettingsSheetTest, ScrollbarSizeOutOfRangeKeepsTheSheetOnItsPage)
{
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    m_driver
        .Then([](CPropertySheet& sheet) {
            CSheetDriver::TapTab(sheet, 1);
            CSheetDriver::Type(sheet, IDC_HSCROLL_WIDTH, L"60");
            CSheetDriver::Press(sheet, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& sheet) {
            EXPECT_EQ(1, sheet.GetActiveIndex());
            EXPECT_EQ(CSheetDriver::Control(sheet, IDC_HSCROLL_WIDTH).GetSafeHwnd(), ::GetFocus())
                << "the focus goes to the value";
            CSheetDriver::TapTab(sheet, 0);
            EXPECT_EQ(1, sheet.GetActiveIndex()) << "another tab waits until the value is right";
            // A value of its own in every box, so that each box is seen to store its own.
            CSheetDriver::Type(sheet, IDC_HSCROLL_WIDTH, L"50");
            CSheetDriver::Type(sheet, IDC_VSCROLL_HEIGHT, L"5");
            CSheetDriver::Type(sheet, IDC_VSCROLL_WIDTH, L"21");
            CSheetDriver::Type(sheet, IDC_HSCROLL_HEIGHT, L"34");
            CSheetDriver::Press(sheet, ID_SHEET_OK);
        });
    Open(ID_MODE_QVGA_PORTRAIT);
    ASSERT_EQ(2u, m_boxes.size());
    ExpectBox(0, L"Please enter an integer between 5 and 50.");
    ExpectBox(1, L"Please enter an integer between 5 and 50.");
    EXPECT_EQ(RawDWord(50), RawValue(kUser, kQvgaPortrait, L"HorzScrollWidth"));
    EXPECT_EQ(RawDWord(5), RawValue(kUser, kQvgaPortrait, L"VertScrollHeight"));
    EXPECT_EQ(RawDWord(21), RawValue(kUser, kQvgaPortrait, L"VertScrollWidth"));
    EXPECT_EQ(RawDWord(34), RawValue(kUser, kQvgaPortrait, L"HorzScrollHeight"));
}

TEST_F(SettingsSheetTest, LandscapeClockPageEditsRightAndLeftHandedWithinOneTo199)
{
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    m_driver
        .Then([](CPropertySheet& sheet) {
            EXPECT_EQ(L"320x240 - Landscape", sheet.GetWindowText());
            CSheetDriver::TapTab(sheet, 2);
        })
        .Then([](CPropertySheet& sheet) {
            EXPECT_EQ(L"Right-handed", CSheetDriver::Text(sheet, IDC_CLOCK_GROUP_FIRST));
            EXPECT_EQ(L"Left-handed", CSheetDriver::Text(sheet, IDC_CLOCK_GROUP_SECOND));
            EXPECT_EQ(L"100", CSheetDriver::Text(sheet, IDC_CLOCK_FIRST));
            EXPECT_EQ(L"14", CSheetDriver::Text(sheet, IDC_DIVIDER_SECOND));
            // 200 would make every later switch into the mode fail.
            CSheetDriver::Type(sheet, IDC_CLOCK_FIRST, L"200");
            CSheetDriver::Press(sheet, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& sheet) {
            CSheetDriver::Type(sheet, IDC_CLOCK_FIRST, L"199");
            CSheetDriver::Type(sheet, IDC_CLOCK_SECOND, L"1");
            CSheetDriver::Press(sheet, ID_SHEET_OK);
        });
    Open(ID_MODE_QVGA_LANDSCAPE);
    ASSERT_EQ(2u, m_boxes.size());
    ExpectBox(0, LoadResourceString(IDS_CLOCK_WARNING));
    ExpectBox(1, L"Please enter an integer between 1 and 199.");
    EXPECT_EQ(RawDWord(199), RawValue(kUser, kQvgaLandscape, L"ClkFreq.1"));
    EXPECT_EQ(RawDWord(1), RawValue(kUser, kQvgaLandscape, L"ClkFreq.3"));
    EXPECT_EQ("<missing>", RawValue(kUser, kQvgaLandscape, L"ClkDivider.1")) << "a default is not stored";
}

TEST_F(SettingsSheetTest, FontChooserShowsPointsAndStoresTheChosenSize)
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    if (dpi != 96)
        GTEST_SKIP() << "the sizes below are for 96 pixels per inch; this screen has " << dpi;
    CRegistry(kUser, std::wstring(kQvgaPortrait) + L"\\BarFnt").WriteDWord(nullptr, L"Ht", -12);
    m_driver
        .Then([](CPropertySheet& sheet) {
            const CWindow preview = CSheetDriver::Control(sheet, IDC_BAR_FONT_PREVIEW);
            EXPECT_EQ(L"Tahoma", preview.GetWindowText());
            EXPECT_NE(CSheetDriver::Control(sheet, IDC_BAR_FONT_CHANGE).GetFont(), preview.GetFont())
                << "the preview keeps its own font after the layout";
            CSheetDriver::Press(sheet, IDC_BAR_FONT_CHANGE);
        })
        .Then([](CPropertySheet& chooser) {
            EXPECT_EQ(L"Choose Font", chooser.GetWindowText());
            EXPECT_EQ(L"9", CSheetDriver::Text(chooser, IDC_FONT_SIZE));
            EXPECT_EQ(L"Tahoma", CSheetDriver::Text(chooser, IDC_FONT_FACE));
            CSheetDriver::Pick(chooser, IDC_FONT_SIZE, 4);  // "12"
            CSheetDriver::Press(chooser, IDC_FONT_BOLD);
            CSheetDriver::Press(chooser, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& sheet) {
            LOGFONTW shown{};
            ::GetObjectW(CSheetDriver::Control(sheet, IDC_BAR_FONT_PREVIEW).GetFont(), sizeof shown, &shown);
            EXPECT_EQ(-16, shown.lfHeight) << "the preview shows the new size";
            EXPECT_EQ(FW_BOLD, shown.lfWeight);
            CSheetDriver::Press(sheet, ID_SHEET_OK);
        });
    Open(ID_MODE_QVGA_PORTRAIT);
    const std::wstring bar = std::wstring(kQvgaPortrait) + L"\\BarFnt";
    EXPECT_EQ(RawDWord(static_cast<uint32_t>(-16)), RawValue(kUser, bar, L"Ht"));
    EXPECT_EQ(RawDWord(FW_BOLD), RawValue(kUser, bar, L"Wt"));
    EXPECT_EQ(RawDWord(static_cast<uint32_t>(-11)),
              RawValue(kUser, std::wstring(kQvgaPortrait) + L"\\PopFnt", L"Ht"));
}

TEST_F(SettingsSheetTest, FontChooserKeepsLongFacesAndWildSizesInBounds)
{
    const std::wstring bar = std::wstring(kQvgaPortrait) + L"\\BarFnt";
    CRegistry(kUser, bar).WriteString(nullptr, L"Nm", std::wstring(40, L'F').c_str());
    CRegistry(kUser, bar).WriteDWord(nullptr, L"Ht", -1);
    m_driver.Then([](CPropertySheet& sheet) { CSheetDriver::Press(sheet, IDC_BAR_FONT_CHANGE); })
        .Then([](CPropertySheet& chooser) {
            EXPECT_EQ(std::wstring(31, L'F'), CSheetDriver::Text(chooser, IDC_FONT_FACE));
            EXPECT_EQ(L"1", CSheetDriver::Text(chooser, IDC_FONT_SIZE)) << "size 1 is not the entry 10";
            EXPECT_EQ(CB_ERR, CSheetDriver::Control(chooser, IDC_FONT_SIZE).SendMessage(CB_GETCURSEL));
            CSheetDriver::TypeInCombo(chooser, IDC_FONT_SIZE, L"99999999");
            CSheetDriver::Press(chooser, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& sheet) { CSheetDriver::Press(sheet, ID_SHEET_OK); });
    Open(ID_MODE_QVGA_PORTRAIT);
    EXPECT_EQ(RawSz(std::wstring(31, L'F')), RawValue(kUser, bar, L"Nm"));
    EXPECT_EQ(RawDWord(static_cast<uint32_t>(-1)), RawValue(kUser, bar, L"Ht")) << "an oversized size is ignored";
}

TEST_F(SettingsSheetTest, ConfirmationsPageTicksWhatIsAskedAndStoresTheOpposite)
{
    GetSettingsRegistry().WriteDWord(nullptr, L"NoClockWarning", 1);
    m_driver.Then([](CPropertySheet& sheet) {
        EXPECT_EQ(L"Program Settings", sheet.GetWindowText());
        EXPECT_EQ(L"Confirmations", sheet.GetPage(0)->GetTitle());
        EXPECT_TRUE(Ticked(sheet, IDC_CONFIRM_RESET));
        EXPECT_TRUE(Ticked(sheet, IDC_CONFIRM_VGA3));
        EXPECT_FALSE(Ticked(sheet, IDC_CONFIRM_CLOCK));
        CSheetDriver::Press(sheet, IDC_CONFIRM_RESET);
        CSheetDriver::Press(sheet, IDC_CONFIRM_CLOCK);
        CSheetDriver::Press(sheet, ID_SHEET_OK);
    });
    Open(ID_PROGRAM_SETTINGS);
    EXPECT_EQ(RawDWord(1), RawValue(kUser, L"Software\\Dorix", L"NoResetWarning"));
    EXPECT_EQ(RawDWord(0), RawValue(kUser, L"Software\\Dorix", L"NoVGA3Warning"));
    EXPECT_EQ(RawDWord(0), RawValue(kUser, L"Software\\Dorix", L"NoClockWarning"));
}

TEST_F(SettingsSheetTest, StateOptionsPageEditsTheStoresSwitches)
{
    CSettings settings;
    settings.m_bSwitchTodayTheme = true;
    CTabbedDialog sheet(IDS_STATE_SETTINGS, nullptr);
    CStateOptionsPage options;
    sheet.AddPage(&options);
    sheet.SetData(&settings);
    m_driver.Then([](CPropertySheet& shown) {
        EXPECT_TRUE(Ticked(shown, IDC_SWITCH_TODAY_THEME));
        EXPECT_FALSE(Ticked(shown, IDC_SWITCH_CALIBRATION));
        CSheetDriver::Press(shown, IDC_SWITCH_TODAY_THEME);
        CSheetDriver::Press(shown, IDC_SWITCH_CALIBRATION);
        CSheetDriver::Press(shown, ID_SHEET_OK);
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(settings.m_bSwitchTodayTheme);
    EXPECT_TRUE(settings.m_bSwitchCalibration);
}

TEST_F(SettingsSheetTest, SpinControlsDriveTheirOwnEditBoxWithinTheirPagesRange)
{
    struct Spin {
        int spin;
        int edit;
    };
    const auto expectSpins = [](CPropertySheet& sheet, std::initializer_list<Spin> spins, int lower, int upper) {
        for (const Spin& s : spins) {
            const CWindow spin = CSheetDriver::Control(sheet, s.spin);
            int low = -1, high = -1;
            spin.SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
            EXPECT_EQ(lower, low) << "spin " << s.spin;
            EXPECT_EQ(upper, high) << "spin " << s.spin;
            EXPECT_EQ(CSheetDriver::Control(sheet, s.edit).GetSafeHwnd(), reinterpret_cast<HWND>(spin.SendMessage(UDM_GETBUDDY)))
                << "spin " << s.spin << " drives " << ::GetDlgCtrlID(reinterpret_cast<HWND>(spin.SendMessage(UDM_GETBUDDY)));
        }
    };
    AnswerNextBox(IDOK);  // the clock warning
    m_driver
        .Then([&](CPropertySheet& sheet) {
            CSheetDriver::TapTab(sheet, 1);
            expectSpins(sheet,
                        {{IDC_VSCROLL_WIDTH_SPIN, IDC_VSCROLL_WIDTH}, {IDC_VSCROLL_HEIGHT_SPIN, IDC_VSCROLL_HEIGHT},
                         {IDC_HSCROLL_HEIGHT_SPIN, IDC_HSCROLL_HEIGHT}, {IDC_HSCROLL_WIDTH_SPIN, IDC_HSCROLL_WIDTH}},
                        5, 50);
            CSheetDriver::TapTab(sheet, 2);
        })
        .Then([&](CPropertySheet& sheet) {
            expectSpins(sheet,
                        {{IDC_CLOCK_FIRST_SPIN, IDC_CLOCK_FIRST}, {IDC_DIVIDER_FIRST_SPIN, IDC_DIVIDER_FIRST},
                         {IDC_CLOCK_SECOND_SPIN, IDC_CLOCK_SECOND}, {IDC_DIVIDER_SECOND_SPIN, IDC_DIVIDER_SECOND}},
                        1, 199);
            CSheetDriver::Press(sheet, ID_SHEET_CANCEL);
        });
    Open(ID_MODE_QVGA_PORTRAIT);
}

TEST_F(SettingsSheetTest, ClockWarningShowsOncePerSheetUnlessSwitchedOff)
{
    const auto clockTabTwice = [this] {
        m_driver.Then([](CPropertySheet& sheet) { CSheetDriver::TapTab(sheet, 2); })
            .Then([](CPropertySheet& sheet) {
                CSheetDriver::TapTab(sheet, 0);
                CSheetDriver::TapTab(sheet, 2);
            })
            .Then([](CPropertySheet& sheet) { CSheetDriver::Press(sheet, ID_SHEET_CANCEL); });
    };
    GetSettingsRegistry().WriteDWord(nullptr, L"NoClockWarning", 1);
    clockTabTwice();
    Open(ID_MODE_QVGA_PORTRAIT);
    EXPECT_TRUE(m_boxes.empty()) << "switched off, yet warned: " << ::testing::PrintToString(m_boxes[0].text);
    GetSettingsRegistry().WriteDWord(nullptr, L"NoClockWarning", 0);
    AnswerNextBox(IDOK);
    clockTabTwice();
    Open(ID_MODE_VGA_LANDSCAPE);
    ASSERT_EQ(1u, m_boxes.size());
    ExpectBox(0, LoadResourceString(IDS_CLOCK_WARNING));
}

TEST_F(SettingsSheetTest, FontChooserTakesItalicAndAFaceFromTheListAndCancelKeepsTheFont)
{
    std::wstring picked;
    m_driver.Then([](CPropertySheet& sheet) { CSheetDriver::Press(sheet, IDC_BAR_FONT_CHANGE); })
        .Then([&](CPropertySheet& chooser) {
            const CWindow faces = CSheetDriver::Control(chooser, IDC_FONT_FACE);
            ASSERT_GE(faces.SendMessage(CB_GETCOUNT), 2) << "the screen has fewer than two faces";
            const int index = ComboText(faces, 0) == L"Tahoma" ? 1 : 0;
            picked = ComboText(faces, index);
            CSheetDriver::Pick(chooser, IDC_FONT_FACE, index);
            CSheetDriver::Press(chooser, IDC_FONT_ITALIC);
            CSheetDriver::Press(chooser, ID_SHEET_OK);
        })
        .Then([&](CPropertySheet& sheet) {
            const CWindow preview = CSheetDriver::Control(sheet, IDC_BAR_FONT_PREVIEW);
            EXPECT_EQ(picked, preview.GetWindowText());
            LOGFONTW shown{};
            ::GetObjectW(preview.GetFont(), sizeof shown, &shown);
            EXPECT_TRUE(shown.lfItalic) << "the preview shows italic";
            CSheetDriver::Press(sheet, IDC_POP_FONT_CHANGE);
        })
        .Then([](CPropertySheet& chooser) {
            CSheetDriver::Pick(chooser, IDC_FONT_FACE, 0);
            CSheetDriver::Press(chooser, IDC_FONT_ITALIC);
            CSheetDriver::Press(chooser, IDC_FONT_BOLD);
            CSheetDriver::Press(chooser, ID_SHEET_CANCEL);
        })
        .Then([](CPropertySheet& sheet) {
            const CWindow preview = CSheetDriver::Control(sheet, IDC_POP_FONT_PREVIEW);
            EXPECT_EQ(L"Tahoma", preview.GetWindowText());
            LOGFONTW shown{};
            ::GetObjectW(preview.GetFont(), sizeof shown, &shown);
            EXPECT_FALSE(shown.lfItalic) << "Cancel in the chooser";
            CSheetDriver::Press(sheet, ID_SHEET_OK);
        });
    Open(ID_MODE_QVGA_PORTRAIT);
    const std::wstring bar = std::wstring(kQvgaPortrait) + L"\\BarFnt";
    const std::wstring pop = std::wstring(kQvgaPortrait) + L"\\PopFnt";
    EXPECT_EQ(RawSz(picked), RawValue(kUser, bar, L"Nm"));
    EXPECT_EQ(RawDWord(1), RawValue(kUser, bar, L"It"));
    EXPECT_EQ(RawSz(L"Tahoma"), RawValue(kUser, pop, L"Nm"));
    EXPECT_EQ(RawDWord(0), RawValue(kUser, pop, L"It"));
    EXPECT_EQ(RawDWord(FW_NORMAL), RawValue(kUser, pop, L"Wt"));
}

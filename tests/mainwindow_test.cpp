#include <windows.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>
#include "ModeFixture.h"
#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "framework/Handle.h"
#include "framework/MainWindow.h"
#include "framework/ProgramEnd.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"

namespace {

struct ChangeNotificationTraits {
    using type = HANDLE;
    static type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(type h) noexcept { ::FindCloseChangeNotification(h); }
};
using CChangeHandle = CHandle<ChangeNotificationTraits>;

// The main window on a running device.
class MainWindowTest : public RunningDeviceTest {
protected:
    void SetUp() override
    {
        RunningDeviceTest::SetUp();
        TakeQuit();
        m_frame = std::make_unique<CMainFrame>(Session());
        ASSERT_TRUE(m_frame->Create()) << "last error " << ::GetLastError();
        ASSERT_TRUE(m_frame->GetView());
    }
    void TearDown() override
    {
        m_frame.reset();
        TakeQuit();
        RunningDeviceTest::TearDown();
    }

    void Tap(UINT id) const { CButton(m_frame->GetView()->GetDlgItem(static_cast<int>(id))).Click(); }
    static void Set(const wchar_t* setting) { GetSettingsRegistry().WriteDWord(nullptr, setting, 1); }
    // Whether a quit message waits in the thread's queue; takes it.
    static bool TakeQuit()
    {
        MSG msg;
        return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }
    void ExpectBox(size_t index, UINT textId, UINT style) const
    {
        ASSERT_LT(index, m_boxes.size()) << "boxes shown: " << m_boxes.size();
        EXPECT_EQ(LoadResourceString(textId), m_boxes[index].text) << "box " << index;
        EXPECT_EQ(L"Dorix", m_boxes[index].caption) << "box " << index;
        EXPECT_EQ(style, m_boxes[index].style) << "box " << index;
    }
    void ExpectNothingChanged()
    {
        EXPECT_EQ("QVGA.0", DriverMode());
        EXPECT_FALSE(TakeQuit()) << "the program must go on";
        EXPECT_TRUE(m_exitCodes.empty()) << "ended with " << (m_exitCodes.empty() ? 0 : m_exitCodes[0]);
    }

    std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace

TEST_F(MainWindowTest, FrameCarriesTitleCommandBarWithToolsAndTheViewAboveIt)
{
    EXPECT_EQ(L"Dorix", m_frame->GetWindowText());
    EXPECT_FALSE(m_frame->GetStyle() & WS_CAPTION) << "the device's navigation bar shows the title";
    EXPECT_FALSE(::GetMenu(*m_frame)) << "no desktop menu bar";
    HMENU menu = m_frame->GetCommandBar().GetMenu();
    ASSERT_TRUE(menu);
    ASSERT_EQ(1, ::GetMenuItemCount(menu));
    EXPECT_TRUE(::GetSubMenu(menu, 0)) << "its items are the settings sheets' test's";

    const CWindow bar = m_frame->GetDlgItem(ID_COMMAND_BAR);
    ASSERT_TRUE(bar.IsWindow());
    const CWindow tools(::GetWindow(bar, GW_CHILD));
    EXPECT_EQ(L"Tools", tools.GetWindowText()) << "the menu's title in the bar";
    const CWindow view = m_frame->GetDlgItem(ID_VIEW_PANE);
    EXPECT_EQ(m_frame->GetView()->GetSafeHwnd(), view.GetSafeHwnd());
    const RECT frame = m_frame->GetClientRect(), pane = view.GetRectInParent(), band = bar.GetRectInParent();
    const int height = m_frame->GetCommandBar().GetHeight();
    EXPECT_GT(height, 0);
    const RECT bottom{frame.left, frame.bottom - height, frame.right, frame.bottom};
    const RECT above{frame.left, frame.top, frame.right, band.top};
    EXPECT_TRUE(::EqualRect(&band, &bottom)) << "the bar across the bottom";
    EXPECT_TRUE(::EqualRect(&pane, &above)) << "the view above it";
}

TEST_F(MainWindowTest, ButtonsArePicturesInTheirPlacesFittedToTheScreen)
{
    const wchar_t* texts[] = {L"Portrait (Standard)", L"Landscape (Right-Handed)", L"Portrait (Upside down)",
                              L"Landscape (Left-Handed)"};
    const POINT places[] = {{6, 3}, {80, 3}, {6, 43}, {80, 43}, {6, 83}, {80, 83}, {6, 123}, {80, 123}};
    const CMainView& view = *m_frame->GetView();
    const float scale = view.GetScaler().GetScale();
    EXPECT_FLOAT_EQ(CLayoutScaler::ComputeScale({::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)},
                                                240, 268),
                    scale);
    for (int n = 0; n < 8; ++n) {
        const CWindow button = view.GetDlgItem(static_cast<int>(CMainView::kButtons[n].id));
        ASSERT_TRUE(button.IsWindow()) << "button " << n;
        EXPECT_EQ(texts[n % 4], button.GetWindowText()) << "button " << n;
        EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & BS_TYPEMASK) << "button " << n;
        // Placed by the template, sized to its 100x58 picture, then scaled.
        RECT place{places[n].x, places[n].y, 0, 0};
        ::MapDialogRect(view, &place);
        const RECT expected{static_cast<int>(place.left * scale), static_cast<int>(place.top * scale),
                            static_cast<int>((place.left + 100) * scale), static_cast<int>((place.top + 58) * scale)};
        const RECT actual = button.GetRectInParent();
        EXPECT_TRUE(::EqualRect(&expected, &actual))
            << "button " << n << " at " << actual.left << "," << actual.top << "-" << actual.right << ","
            << actual.bottom << ", expected " << expected.left << "," << expected.top << "-" << expected.right << ","
            << expected.bottom;
        EXPECT_EQ(view.GetScaler().GetFont(), button.GetFont()) << "button " << n;
    }
}

TEST_F(MainWindowTest, EachButtonSwitchesToItsMode)
{
    Set(L"NoResetWarning");
    Set(L"NoVGA3Warning");
    Set(L"NoReset");
    for (const CMainView::ModeButton& button : CMainView::kButtons) {
        Tap(button.id);
        EXPECT_EQ(::testing::PrintToString(CVideoMode(button.vga, button.orientation)), DriverMode()) << "button " << button.id;
        EXPECT_TRUE(TakeQuit()) << "NoReset ends the program after button " << button.id;
    }
    EXPECT_TRUE(m_boxes.empty()) << "no question with both warnings off";
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(MainWindowTest, CancelledResetConfirmationChangesNothing)
{
    AnswerNextBox(IDCANCEL);
    Tap(IDC_VGA_PORTRAIT);
    ASSERT_EQ(1u, m_boxes.size());
    ExpectBox(0, IDS_CONFIRM_RESET, 0x31);
    ExpectNothingChanged();
}

TEST_F(MainWindowTest, LeftHandedVgaWarnsFirstAndCancelStopsThere)
{
    AnswerNextBox(IDCANCEL);
    Tap(IDC_VGA_LANDSCAPE_LEFT);
    ASSERT_EQ(1u, m_boxes.size()) << "no reset question after the warning was cancelled";
    ExpectBox(0, IDS_CONFIRM_VGA3, 0x31);
    ExpectNothingChanged();
}

TEST_F(MainWindowTest, LeftHandedVgaAsksTwiceThenSwitches)
{
    Set(L"NoReset");
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    Tap(IDC_VGA_LANDSCAPE_LEFT);
    ASSERT_EQ(2u, m_boxes.size());
    ExpectBox(0, IDS_CONFIRM_VGA3, 0x31);
    ExpectBox(1, IDS_CONFIRM_RESET, 0x31);
    EXPECT_EQ("VGA.3", DriverMode());
    EXPECT_TRUE(TakeQuit());
}

TEST_F(MainWindowTest, NoResetWarningSkipsOnlyTheResetQuestion)
{
    Set(L"NoResetWarning");
    Set(L"NoReset");
    AnswerNextBox(IDOK);
    Tap(IDC_VGA_LANDSCAPE_LEFT);
    ASSERT_EQ(1u, m_boxes.size());
    ExpectBox(0, IDS_CONFIRM_VGA3, 0x31);
    EXPECT_EQ("VGA.3", DriverMode());
    EXPECT_TRUE(TakeQuit());
}

TEST_F(MainWindowTest, WithoutNoResetTheSwitchAsksTheSystemForTheSoftResetAndReportsARefusal)
{
    // The device host would accept the request and end the program; here nobody does, so the
    // system withdraws the request after a while and refuses. A second thread sees the request
    // while it stands: woken by each change in the folder, it reads the request as soon as its
    // writer has closed it.
    const platform::SoftResetHandler recorded = platform::SetSoftResetHandler({});
    const std::wstring request = L"\\Temp\\reset-request";
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", request.c_str());
    CChangeHandle changes(::FindFirstChangeNotificationW(
        L"\\Temp", FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
    ASSERT_TRUE(changes) << "error " << ::GetLastError();
    std::string seen;
    std::thread watcher([&] {
        const DWORD start = ::GetTickCount();
        while (seen.empty() && ::GetTickCount() - start < 10000) {
            if (::WaitForSingleObject(changes.Get(), 1000) == WAIT_OBJECT_0)
                ::FindNextChangeNotification(changes.Get());
            // The request is written under an exclusive open: until its writer has closed
            // it, a read fails or sees it empty.
            const std::string bytes = ReadFileBytes(request);
            if (bytes != "<missing>")
                seen = bytes;
        }
    });
    Set(L"NoResetWarning");
    AnswerNextBox(IDOK);
    Tap(IDC_VGA_PORTRAIT);
    watcher.join();
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", nullptr);
    platform::SetSoftResetHandler(recorded);
    EXPECT_EQ(std::to_string(::GetCurrentProcessId()) + "\n", seen) << "the reset request of this program";
    EXPECT_EQ("VGA.0", DriverMode());
    ASSERT_EQ(1u, m_boxes.size()) << "the refusal is reported";
    EXPECT_NE(std::wstring::npos, m_boxes[0].text.find(L"refused the soft reset")) << m_boxes[0].text;
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
}

TEST_F(MainWindowTest, FailedSwitchIsReportedAndEndsWithCodeOne)
{
    Set(L"NoResetWarning");
    Set(L"NoReset");
    GetSettingsRegistry().WriteDWord(L"VGA.portrait", L"ClkFreq.0", 0);
    AnswerNextBox(IDOK);
    Tap(IDC_VGA_PORTRAIT);
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Invalid clock settings", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_EQ("QVGA.0", DriverMode());
    EXPECT_FALSE(TakeQuit()) << "no normal end after a failure";
}

TEST_F(MainWindowTest, UnreadableDriverTableIsReportedNotLost)
{
    Set(L"NoResetWarning");
    ASSERT_TRUE(::DeleteFileW(kDriverTable));
    AnswerNextBox(IDOK);
    Tap(IDC_VGA_PORTRAIT);
    ASSERT_EQ(1u, m_boxes.size()) << "the failure must be shown";
    EXPECT_NE(std::wstring::npos, m_boxes[0].text.find(L"atihwtbl0.txt")) << ::testing::PrintToString(m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
}

TEST_F(MainWindowTest, ExitClosesTheMainWindowAndEndsTheLoop)
{
    CWinApp app;
    CMainFrame* frame = m_frame.get();
    const HWND window = frame->GetSafeHwnd();
    app.SetMainWnd(std::move(m_frame));
    EXPECT_EQ(window, GetMainWindow());
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(nullptr, GetMainWindow());
    EXPECT_TRUE(TakeQuit());
}

namespace {

// The About box as shown, closed again from its initialisation.
class ShownAboutDlg : public CAboutDlg {
public:
    std::wstring caption, name, version;
    HICON icon = nullptr;
    HFONT versionFont = nullptr;
    RECT client{}, ok{};

protected:
    bool OnInitDialog() override
    {
        const bool result = CAboutDlg::OnInitDialog();
        caption = GetWindowText();
        name = GetDlgItem(IDC_ABOUT_NAME).GetWindowText();
        version = GetDlgItem(IDC_ABOUT_VERSION).GetWindowText();
        icon = CStatic(GetDlgItem(IDC_ABOUT_ICON)).GetIcon();
        versionFont = GetDlgItem(IDC_ABOUT_VERSION).GetFont();
        client = GetClientRect();
        ok = GetDlgItem(IDOK).GetRectInParent();
        PostMessage(WM_COMMAND, IDOK);
        return result;
    }
};

}  // namespace

TEST_F(MainWindowTest, AboutBoxShowsNameVersionAndIconFittedToTheScreen)
{
    ShownAboutDlg about;
    EXPECT_EQ(IDOK, about.DoModal());
    EXPECT_EQ(L"About Dorix...", about.caption);
    EXPECT_EQ(L"Dorix", about.name);
    EXPECT_EQ(L"Version 1.4.0", about.version);
    EXPECT_TRUE(about.icon) << "the program's icon";
    EXPECT_EQ(about.GetScaler().GetFont(), about.versionFont);
    RECT inside{};
    EXPECT_TRUE(::IntersectRect(&inside, &about.client, &about.ok) && ::EqualRect(&inside, &about.ok))
        << "OK at " << about.ok.left << "," << about.ok.top << "-" << about.ok.right << "," << about.ok.bottom
        << " in a box of " << about.client.right << "x" << about.client.bottom;
    EXPECT_FALSE(about.IsWindow()) << "closed by OK";
}

TEST_F(MainWindowTest, ViewAndButtonsShowWithTheFrame)
{
    const CWindow view = m_frame->GetDlgItem(ID_VIEW_PANE);
    EXPECT_NE(0u, view.GetStyle() & WS_VISIBLE) << "view style 0x" << std::hex << view.GetStyle();
    ::ShowWindow(*m_frame, SW_SHOWNA);
    for (const CMainView::ModeButton& button : CMainView::kButtons)
        EXPECT_TRUE(::IsWindowVisible(view.GetDlgItem(static_cast<int>(button.id)))) << "button " << button.id;
    ::ShowWindow(*m_frame, SW_HIDE);
}

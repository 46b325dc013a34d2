#include <windows.h>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "KeepBoxDriver.h"
#include "ModeFixture.h"
#include "SheetDriver.h"
#include "app/DorixApp.h"
#include "app/MainFrame.h"
#include "core/KeepMode.h"
#include "framework/ProgramEnd.h"
#include "platform/Shortcut.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"
#include "ui/KeepModeDlg.h"

namespace {

const wchar_t kShortcut[] = L"\\Windows\\StartUp\\Dorix Keep Mode.lnk";
const wchar_t kRecord[] = L"Software\\Dorix\\Pending";
const uint32_t kUser = CRegistry::kCurrentUser;

// A running device with its Startup folder and the safety net on.
class KeepModeTest : public RunningDeviceTest {
protected:
    void SetUp() override
    {
        RunningDeviceTest::SetUp();
        ASSERT_TRUE(::CreateDirectoryW(L"\\Windows\\StartUp", nullptr));
        TurnOn();
    }

    static void TurnOn() { GetSettingsRegistry().WriteDWord(nullptr, L"KeepModeSeconds", 15); }
    static void Record(const std::vector<BYTE>& vga, const std::vector<BYTE>& orientation)
    {
        SetRawValue(kUser, kRecord, L"VGA", REG_DWORD, vga);
        SetRawValue(kUser, kRecord, L"Orientation", REG_DWORD, orientation);
    }
    // The net as a switch from QVGA portrait leaves it: the record and the shortcut.
    static void ArmFromQvgaPortrait()
    {
        Record(DWordBytes(0), DWordBytes(0));
        WriteFileBytes(kShortcut, "stale");
    }
    static bool RecordExists()
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRecord, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }
    void ExpectNetGone() const
    {
        EXPECT_FALSE(RecordExists()) << "the record stays";
        EXPECT_FALSE(FileExists(kShortcut)) << "the shortcut stays: " << ReadFileBytes(kShortcut);
    }
};

// A checked profile that shows "switching back" on the way into QVGA, for as long as it lives.
class ScopedMessageProfile {
public:
    ScopedMessageProfile()
    {
        WriteFileBytes(m_path, "[Profile]\r\nVersion=1.4.0\r\n[QVGA]\r\n0=ShowMessage,switching back\r\n");
        GetSettingsRegistry().WriteDWord(L"Profiles", L"keepmode-watch", 1);
    }
    ~ScopedMessageProfile() { ::DeleteFileW(m_path.c_str()); }
    ScopedMessageProfile(const ScopedMessageProfile&) = delete;
    ScopedMessageProfile& operator=(const ScopedMessageProfile&) = delete;

private:
    const std::wstring m_path = GetProgramFolder() + L"keepmode-watch.dorix";
};

// The shortcut that starts this program with "KEEP", in the format the test below pins.
// "N#path KEEP", N the characters of the line: the tests' program path holds no blank, so it
// stands without quotes.
std::string ExpectedShortcut()
{
    const std::wstring program = GetProgramPath();
    const std::string line = std::string(program.begin(), program.end()) + " KEEP";
    return std::to_string(line.size()) + "#" + line;
}

}  // namespace

TEST_F(KeepModeTest, ShortcutTextQuotesABlankPathBeforeItsArguments)
{
    EXPECT_EQ(L"37#\"\\Program Files\\Dorix\\dorix.exe\" KEEP",
              platform::ShortcutText(L"\\Program Files\\Dorix\\dorix.exe", L"KEEP"));
    EXPECT_EQ(L"23#\\Windows\\dorix.exe KEEP", platform::ShortcutText(L"\\Windows\\dorix.exe", L"KEEP"));
}

TEST_F(KeepModeTest, SwitchWithoutYRecordsTheOldModeAndStartsKeepAtTheNextBoot)
{
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA LL"));
    ASSERT_EQ(1u, m_boxes.size()) << "only the reset question";
    EXPECT_EQ("VGA.3", DriverMode());
    EXPECT_EQ(RawDWord(0), RawValue(kUser, kRecord, L"VGA"));
    EXPECT_EQ(RawDWord(0), RawValue(kUser, kRecord, L"Orientation"));
    EXPECT_EQ(ExpectedShortcut(), ReadFileBytes(kShortcut));
    EXPECT_TRUE(m_exitCodes.empty());

    // A device in VGA portrait upside down, the question answered, records that.
    NewRun();
    CKeepMode::Remove();
    BootInto(true, 2);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"QVGA"));
    EXPECT_EQ(RawDWord(1), RawValue(kUser, kRecord, L"VGA"));
    EXPECT_EQ(RawDWord(2), RawValue(kUser, kRecord, L"Orientation"));
}

TEST_F(KeepModeTest, ButtonSwitchRecordsButNotWithNoResetNorToTheSameMode)
{
    GetSettingsRegistry().WriteDWord(nullptr, L"NoResetWarning", 1);
    auto frame = std::make_unique<CMainFrame>(Session());
    ASSERT_TRUE(frame->Create()) << "last error " << ::GetLastError();
    CButton(frame->GetView()->GetDlgItem(IDC_QVGA_PORTRAIT)).Click();
    EXPECT_FALSE(RecordExists()) << "the mode the device runs in is nothing new";
    EXPECT_FALSE(FileExists(kShortcut));
    CButton(frame->GetView()->GetDlgItem(IDC_VGA_PORTRAIT)).Click();
    EXPECT_EQ(RawDWord(0), RawValue(kUser, kRecord, L"VGA"));
    EXPECT_EQ(ExpectedShortcut(), ReadFileBytes(kShortcut));

    CKeepMode::Remove();
    GetSettingsRegistry().WriteDWord(nullptr, L"NoReset", 1);
    CButton(frame->GetView()->GetDlgItem(IDC_VGA_LANDSCAPE_RIGHT)).Click();
    MSG quit;
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "NoReset ends the program";
    EXPECT_EQ("VGA.1", DriverMode());
    ExpectNetGone();
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(m_exitCodes.empty());
}

// With the setting off, or with "Y", everything is as it was before the net existed.
TEST_F(KeepModeTest, OffOrYSwitchesWithoutAnyNet)
{
    for (const wchar_t* setting : {L"missing", L"0"}) {
        if (std::wstring(setting) == L"0")
            GetSettingsRegistry().WriteDWord(nullptr, L"KeepModeSeconds", 0);
        else
            GetSettingsRegistry().DeleteValue(nullptr, L"KeepModeSeconds");
        NewRun();
        BootInto(false, 0);
        AnswerNextBox(IDOK);
        EXPECT_TRUE(Process(L"VGA"));
        EXPECT_EQ("VGA.0", DriverMode()) << "setting " << setting;
        GetSettingsRegistry().WriteDWord(nullptr, L"NoResetWarning", 1);
        auto frame = std::make_unique<CMainFrame>(Session());
        ASSERT_TRUE(frame->Create()) << "last error " << ::GetLastError();
        CButton(frame->GetView()->GetDlgItem(IDC_QVGA_LANDSCAPE_LEFT)).Click();
        EXPECT_EQ("QVGA.3", DriverMode()) << "setting " << setting;
        ExpectNetGone();
    }
    TurnOn();
    NewRun();
    BootInto(false, 0);
    EXPECT_TRUE(Process(L"VGA L Y"));
    EXPECT_EQ("VGA.3", DriverMode());
    ExpectNetGone();
    EXPECT_EQ(2u, m_boxes.size()) << "the two reset questions without Y, none with it";
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(KeepModeTest, FailedSwitchTakesTheNetDownAgain)
{
    GetSettingsRegistry().WriteDWord(L"VGA.landscape", L"ClkFreq.3", 500);
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA LL"));
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_EQ(L"Invalid clock settings", m_boxes[1].text);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_EQ("QVGA.0", DriverMode());
    ExpectNetGone();
}

// A second switch while the question of the first is still open (its box shows, the main
// window behind it): going back must still lead to the mode the user confirmed last.
TEST_F(KeepModeTest, OpenNetKeepsTheConfirmedModeUntilASwitchGoesThere)
{
    BootInto(true, 3);
    ArmFromQvgaPortrait();
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA R"));
    EXPECT_EQ("VGA.1", DriverMode());
    EXPECT_EQ(RawDWord(0), RawValue(kUser, kRecord, L"VGA"));
    EXPECT_EQ(RawDWord(0), RawValue(kUser, kRecord, L"Orientation"));
    EXPECT_EQ(ExpectedShortcut(), ReadFileBytes(kShortcut));

    NewRun();
    GetSettingsRegistry().WriteDWord(L"VGA.portrait", L"ClkFreq.2", 0);
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA UD"));
    EXPECT_EQ(L"Invalid clock settings", m_boxes.back().text);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_EQ(RawDWord(0), RawValue(kUser, kRecord, L"VGA")) << "a failed switch leaves an open net up";
    EXPECT_TRUE(FileExists(kShortcut));

    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"QVGA"));
    EXPECT_EQ("QVGA.0", DriverMode());
    ExpectNetGone();
}

TEST_F(KeepModeTest, NetThatCannotBePutUpStopsTheSwitch)
{
    ASSERT_TRUE(::RemoveDirectoryW(L"\\Windows\\StartUp"));
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA"));
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_NE(std::wstring::npos, m_boxes[1].text.find(kShortcut)) << ::testing::PrintToString(m_boxes[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[1].style);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_EQ("QVGA.0", DriverMode()) << "not switched";
    EXPECT_FALSE(RecordExists());

    // A record the registry refuses stops it as well, and leaves no shortcut.
    ASSERT_TRUE(::CreateDirectoryW(L"\\Windows\\StartUp", nullptr));
    m_boxes.clear();
    m_exitCodes.clear();
    const CRefusedWrites refused(kUser, kRecord);
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA"));
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_EQ(L"Cannot write registry data", m_boxes[1].text);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_EQ("QVGA.0", DriverMode()) << "not switched";
    EXPECT_FALSE(FileExists(kShortcut));
}

TEST_F(KeepModeTest, KeepWithoutRecordOnlyDeletesAStaleShortcut)
{
    WriteFileBytes(kShortcut, "stale");
    CKeepBoxDriver driver;
    EXPECT_TRUE(Process(L"KEEP"));
    EXPECT_EQ(0, driver.Shown());
    EXPECT_FALSE(FileExists(kShortcut));
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(KeepModeTest, ShortcutThatCannotBeDeletedIsReported)
{
    WriteFileBytes(kShortcut, "held");
    ASSERT_TRUE(::SetFileAttributesW(kShortcut, FILE_ATTRIBUTE_READONLY));
    const std::wstring error = ErrorOf([] { CKeepMode::Remove(); });
    EXPECT_NE(std::wstring::npos, error.find(L"Dorix Keep Mode.lnk")) << "got " << ::testing::PrintToString(error);
    EXPECT_TRUE(FileExists(kShortcut));
    ::SetFileAttributesW(kShortcut, FILE_ATTRIBUTE_NORMAL);
}

TEST_F(KeepModeTest, RecordNamingNoModeIsDeletedAndReported)
{
    const struct {
        const char* what;
        std::function<void()> write;
    } cases[] = {
        {"resolution 2", [] { Record(DWordBytes(2), DWordBytes(0)); }},
        {"orientation 4", [] { Record(DWordBytes(0), DWordBytes(4)); }},
        {"orientation -1", [] { Record(DWordBytes(1), DWordBytes(0xFFFFFFFF)); }},
        {"orientation missing", [] { SetRawValue(kUser, kRecord, L"VGA", REG_DWORD, DWordBytes(1)); }},
        {"resolution as text",
         [] {
             SetRawValue(kUser, kRecord, L"VGA", REG_SZ, SzBytes(L"1"));
             SetRawValue(kUser, kRecord, L"Orientation", REG_DWORD, DWordBytes(0));
         }},
        {"empty record", [] { SetRawValue(kUser, kRecord, L"Other", REG_DWORD, DWordBytes(0)); }},
    };
    BootInto(true, 3);
    CKeepBoxDriver driver;
    for (const auto& c : cases) {
        NewRun();
        m_boxes.clear();
        m_exitCodes.clear();
        c.write();
        WriteFileBytes(kShortcut, "stale");
        AnswerNextBox(IDOK);
        EXPECT_TRUE(Process(L"KEEP")) << c.what;
        ASSERT_EQ(1u, m_boxes.size()) << c.what;
        EXPECT_EQ(LoadResourceString(IDS_KEEP_MODE_BAD_RECORD), m_boxes[0].text) << c.what;
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style) << c.what;
        EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes) << c.what;
        EXPECT_EQ("VGA.3", DriverMode()) << c.what;
        ExpectNetGone();
    }
    EXPECT_EQ(0, driver.Shown()) << "no question without a mode to go back to";
}

TEST_F(KeepModeTest, RecordOfTheModeTheDeviceRunsInEndsTheNetWithoutAsking)
{
    ArmFromQvgaPortrait();
    CKeepBoxDriver driver;
    EXPECT_TRUE(Process(L"KEEP"));
    EXPECT_EQ(0, driver.Shown());
    ExpectNetGone();
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(KeepModeTest, KeepAsksWithTheNewModeAndKeepsIt)
{
    BootInto(true, 3);
    ArmFromQvgaPortrait();
    CKeepBoxDriver driver;
    driver.StopTheClock().Then([](CWindow box) {
        EXPECT_EQ(L"Dorix", box.GetWindowText());
        EXPECT_EQ(L"640x480 - Landscape (Left-handed)", box.GetDlgItem(IDC_KEEP_MODE_NAME).GetWindowText());
        EXPECT_EQ(L"Keep this video mode?", box.GetDlgItem(IDC_KEEP_MODE_QUESTION).GetWindowText());
        EXPECT_EQ(L"Seconds left: 15", box.GetDlgItem(IDC_KEEP_MODE_SECONDS).GetWindowText());
        EXPECT_EQ(L"Keep", box.GetDlgItem(IDOK).GetWindowText());
        EXPECT_EQ(L"Back", box.GetDlgItem(IDCANCEL).GetWindowText());
        EXPECT_EQ(box.GetDlgItem(IDCANCEL).GetSafeHwnd(), ::GetFocus()) << "Enter must not keep the mode";
        EXPECT_NE(0u, ::GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) << "above the program started after it";
        // Grown with the screen, the box still holds its buttons.
        RECT client = box.GetClientRect(), back = box.GetDlgItem(IDCANCEL).GetRectInParent(), inside{};
        EXPECT_TRUE(::IntersectRect(&inside, &client, &back) && ::EqualRect(&inside, &back))
            << "Back at " << back.left << "," << back.top << "-" << back.right << "," << back.bottom << " in "
            << client.right << "x" << client.bottom;
        EXPECT_NE(box.GetFont(), box.GetDlgItem(IDOK).GetFont()) << "the texts get the scaler's font";
    });
    driver.Ticks(14).Then([](CWindow box) {
        EXPECT_EQ(L"Seconds left: 1", box.GetDlgItem(IDC_KEEP_MODE_SECONDS).GetWindowText());
        box.SendMessage(WM_TIMER, CKeepModeDlg::kTimerId + 1);
        EXPECT_TRUE(box.IsWindow()) << "another timer's tick does not count";
    });
    driver.Press(IDOK);
    EXPECT_TRUE(Process(L"KEEP"));
    EXPECT_EQ(0u, driver.StepsLeft());
    EXPECT_EQ(L"", driver.Abandoned());
    EXPECT_EQ("VGA.3", DriverMode());
    ExpectNetGone();
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(m_exitCodes.empty());
}

// A checked profile shows a message while the switch back carries the per-mode data: the net
// is still up then, and goes only once the way back has succeeded.
TEST_F(KeepModeTest, BackSwitchesFirstThenTakesTheNetDown)
{
    const ScopedMessageProfile profile;
    BootInto(true, 3);
    ArmFromQvgaPortrait();
    bool recordDuringSwitch = true, shortcutDuringSwitch = true;
    MessageBoxHandler fixture = SetMessageBoxHandler([&](const MessageBoxRequest& box) {
        m_boxes.push_back(box);
        recordDuringSwitch = RecordExists();
        shortcutDuringSwitch = FileExists(kShortcut);
        return IDOK;
    });
    CKeepBoxDriver driver;
    driver.Press(IDCANCEL);
    EXPECT_TRUE(Process(L"KEEP"));
    SetMessageBoxHandler(std::move(fixture));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"switching back", m_boxes[0].text);
    EXPECT_TRUE(recordDuringSwitch);
    EXPECT_TRUE(shortcutDuringSwitch);
    EXPECT_EQ("QVGA.0", DriverMode());
    ExpectNetGone();
    EXPECT_TRUE(m_exitCodes.empty());
}

// Nobody is there to answer a profile's message either: the way back shows none.
TEST_F(KeepModeTest, CountsDownAndGoesBackWhenNobodyAnswers)
{
    const ScopedMessageProfile profile;
    GetSettingsRegistry().WriteDWord(nullptr, L"KeepModeSeconds", 3);
    BootInto(true, 1);
    Record(DWordBytes(1), DWordBytes(0));
    WriteFileBytes(kShortcut, "stale");
    CKeepBoxDriver driver;
    driver.StopTheClock().Ticks(2).Then([](CWindow box) {
        EXPECT_EQ(L"Seconds left: 1", box.GetDlgItem(IDC_KEEP_MODE_SECONDS).GetWindowText());
    });
    driver.Ticks(1);
    EXPECT_TRUE(Process(L"KEEP"));
    EXPECT_EQ(0u, driver.StepsLeft());
    EXPECT_EQ(L"", driver.Abandoned());
    EXPECT_EQ("VGA.0", DriverMode());
    ExpectNetGone();
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(KeepModeTest, FailedSwitchBackIsReportedAndLeavesTheNetForTheNextBoot)
{
    GetSettingsRegistry().WriteDWord(L"QVGA.portrait", L"ClkFreq.0", 0);
    BootInto(true, 3);
    ArmFromQvgaPortrait();
    CKeepBoxDriver driver;
    driver.Press(IDCANCEL);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"KEEP"));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Invalid clock settings", m_boxes[0].text);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_EQ("VGA.3", DriverMode());
    EXPECT_TRUE(RecordExists());
    EXPECT_TRUE(FileExists(kShortcut));
}

TEST_F(KeepModeTest, SecondsOutOfRangeCountAsFifteen)
{
    for (int32_t stored : {-5, 0, 3601}) {
        GetSettingsRegistry().WriteDWord(nullptr, L"KeepModeSeconds", stored);
        EXPECT_EQ(15, CKeepMode::GetSeconds()) << stored;
    }
    GetSettingsRegistry().WriteDWord(nullptr, L"KeepModeSeconds", 30);
    EXPECT_EQ(30, CKeepMode::GetSeconds());
}

TEST_F(KeepModeTest, ConfirmationsPageTurnsTheNetOnAndOff)
{
    GetSettingsRegistry().DeleteValue(nullptr, L"KeepModeSeconds");
    auto frame = std::make_unique<CMainFrame>(Session());
    ASSERT_TRUE(frame->Create()) << "last error " << ::GetLastError();
    const auto ticked = [](CPropertySheet& sheet) {
        return CSheetDriver::Control(sheet, IDC_CONFIRM_KEEP_MODE).SendMessage(BM_GETCHECK) == BST_CHECKED;
    };
    const auto open = [&] {
        frame->SendMessage(WM_COMMAND, ID_PROGRAM_SETTINGS);
        return RawValue(kUser, L"Software\\Dorix", L"KeepModeSeconds");
    };
    CSheetDriver driver;
    driver.Then([&](CPropertySheet& sheet) {
        EXPECT_EQ(L"Ask to keep a new video mode (back to the old one after 15 seconds)",
                  CSheetDriver::Text(sheet, IDC_CONFIRM_KEEP_MODE));
        EXPECT_FALSE(ticked(sheet)) << "missing is off";
        CSheetDriver::Press(sheet, ID_SHEET_OK);
    });
    EXPECT_EQ(RawDWord(0), open());
    driver.Then([](CPropertySheet& sheet) {
        CSheetDriver::Press(sheet, IDC_CONFIRM_KEEP_MODE);
        CSheetDriver::Press(sheet, ID_SHEET_OK);
    });
    EXPECT_EQ(RawDWord(15), open());
    GetSettingsRegistry().WriteDWord(nullptr, L"KeepModeSeconds", 7);
    driver.Then([&](CPropertySheet& sheet) {
        EXPECT_TRUE(ticked(sheet)) << "any count is on";
        CSheetDriver::Press(sheet, ID_SHEET_OK);
    });
    EXPECT_EQ(RawDWord(7), open()) << "a count set by hand stays while the box stays ticked";
    driver.Then([&](CPropertySheet& sheet) {
        CSheetDriver::Press(sheet, IDC_CONFIRM_KEEP_MODE);
        CSheetDriver::Press(sheet, ID_SHEET_OK);
    });
    EXPECT_EQ(RawDWord(0), open());
    EXPECT_EQ(0u, driver.StepsLeft());
    EXPECT_EQ(L"", driver.Abandoned());
}

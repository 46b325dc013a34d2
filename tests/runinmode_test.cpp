#include <windows.h>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>
#include "KeepBoxDriver.h"
#include "ModeFixture.h"
#include "SheetDriver.h"
#include "app/DorixApp.h"
#include "app/MainFrame.h"
#include "core/CommandLine.h"
#include "core/ProgramRun.h"
#include "framework/Handle.h"
#include "platform/Shortcut.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"

namespace {

const wchar_t kShortcut[] = L"\\Windows\\StartUp\\Dorix Run.lnk";
const wchar_t kKeepShortcut[] = L"\\Windows\\StartUp\\Dorix Keep Mode.lnk";
const wchar_t kRecord[] = L"Software\\Dorix\\Run";
const wchar_t kProbeOutput[] = L"\\runprobe.txt";
const uint32_t kUser = CRegistry::kCurrentUser;

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// The device host's part in a reset, for a program started by the test: the host accepts the
// request (takes its file away) and ends the program that asked, whose process id the request
// holds; the program waits for that and never returns from its request.
class CResetHost {
public:
    CResetHost()
    {
        ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", kRequest);
        m_thread = std::thread([this] {
            for (DWORD start = ::GetTickCount(); !m_stop && ::GetTickCount() - start < 20000; ::Sleep(20)) {
                const std::string pid = ReadFileBytes(kRequest);
                if (pid == "<missing>" || pid.empty() || pid.back() != '\n'
                    || !::MoveFileW(kRequest, L"\\Temp\\reset-accepted"))
                    continue;
                CKernelHandle program(::OpenProcess(PROCESS_TERMINATE, FALSE, std::stoul(pid)));
                if (program)
                    ::TerminateProcess(program.Get(), 0);
                return;
            }
        });
    }
    ~CResetHost()
    {
        m_stop = true;
        m_thread.join();
        ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", nullptr);
    }

private:
    static constexpr const wchar_t* kRequest = L"\\Temp\\reset-request";
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// A running device with its Startup folder; the probe program tells when it has run.
class RunInModeTest : public RunningDeviceTest {
protected:
    void SetUp() override
    {
        RunningDeviceTest::SetUp();
        ASSERT_TRUE(::CreateDirectoryW(L"\\Windows\\StartUp", nullptr));
        m_ran.Reset(::CreateEventW(nullptr, TRUE, FALSE, L"DorixRunProbe"));
    }

    static std::wstring Probe() { return GetProgramFolder() + L"runprobe.exe"; }
    // The probe's arguments once it has run; "<not run>" when it does not within a while. The
    // runs that go back wait for their program, so that one that did not run never will.
    std::string ProbeRan() const
    {
        if (::WaitForSingleObject(m_ran.Get(), 20000) != WAIT_OBJECT_0)
            return "<not run>";
        const std::string bytes = ReadFileBytes(kProbeOutput);
        std::wstring text(bytes.size() / 2, L'\0');
        ::memcpy(text.data(), bytes.data(), text.size() * 2);
        return Narrow(text);
    }
    // A run recorded as a tap from QVGA portrait leaves it, with its shortcut.
    static void Record(const std::wstring& program, bool back, bool started = false)
    {
        SetRawValue(kUser, kRecord, L"Program", REG_SZ, SzBytes(program));
        SetRawValue(kUser, kRecord, L"Arguments", REG_SZ, SzBytes(L"one two"));
        if (back) {
            SetRawValue(kUser, kRecord, L"VGA", REG_DWORD, DWordBytes(0));
            SetRawValue(kUser, kRecord, L"Orientation", REG_DWORD, DWordBytes(0));
        }
        if (started)
            SetRawValue(kUser, kRecord, L"Started", REG_DWORD, DWordBytes(1));
        WriteFileBytes(kShortcut, "stale");
    }
    static bool RecordExists() { return GetSettingsRegistry().KeyExists(L"Run"); }
    void ExpectRunGone() const
    {
        EXPECT_FALSE(RecordExists()) << "the record stays";
        EXPECT_FALSE(FileExists(kShortcut)) << "the shortcut stays: " << ReadFileBytes(kShortcut);
    }

    CKernelHandle m_ran;
};

// What the shortcut holds that starts this program with arguments.
std::string ShortcutTo(const std::wstring& arguments)
{
    return Narrow(platform::ShortcutText(GetProgramPath(), arguments));
}

}  // namespace

TEST_F(RunInModeTest, KeywordsStandOnlyBeforeRun)
{
    const struct {
        const wchar_t* line;
        CVideoMode mode;
        const wchar_t* program;
        const wchar_t* arguments;
    } cases[] = {
        {L"VGA L RUN \"\\Program Files\\VGA Game.exe\" -L VGA", CVideoMode(true, 3), L"\\Program Files\\VGA Game.exe",
         L"-L VGA"},
        {L"q /run \\Windows\\LL.exe", CVideoMode(false, 0), L"\\Windows\\LL.exe", L""},
        {L"q -Run \\x.exe  two  blanks", CVideoMode(false, 0), L"\\x.exe", L" two  blanks"},
    };
    for (const auto& c : cases) {
        const CCommandLine line = CCommandLine::Parse(c.line);
        EXPECT_EQ(CCommandLine::Action::switchMode, line.m_action) << Narrow(c.line);
        EXPECT_TRUE(line.m_bRun) << Narrow(c.line);
        EXPECT_EQ(c.mode, line.m_mode) << Narrow(c.line);
        EXPECT_EQ(c.program, line.m_strProgram) << Narrow(c.line);
        EXPECT_EQ(c.arguments, line.m_strArguments) << Narrow(c.line);
    }
    for (const wchar_t* noProgram : {L"VGA RUN", L"VGA RUN \"\\unclosed quote"})
        EXPECT_EQ(CCommandLine::Action::incorrect, CCommandLine::Parse(noProgram).m_action) << Narrow(noProgram);
    EXPECT_FALSE(CCommandLine::Parse(L"VGA RUNNER Y").m_bRun);

    // Without a program or a resolution before RUN the line is incorrect, whatever follows.
    for (const wchar_t* incorrect : {L"VGA RUN", L"LANDSCAPE RUN \\Windows\\VGA.exe"}) {
        AnswerNextBox(IDOK);
        EXPECT_FALSE(Process(incorrect)) << Narrow(incorrect);
        ASSERT_EQ(1u, m_boxes.size()) << Narrow(incorrect);
        EXPECT_EQ(L"Command line incorrect.", m_boxes[0].text);
        m_boxes.clear();
    }
    EXPECT_EQ("QVGA.0", DriverMode());
}

TEST_F(RunInModeTest, InTheModeAlreadyTheProgramStartsAtOnce)
{
    EXPECT_TRUE(Process(L"QVGA PORTRAIT RETURN RUN " + Probe() + L" VGA L"));
    EXPECT_EQ("VGA L", ProbeRan());
    EXPECT_TRUE(m_boxes.empty()) << "no question: nothing switches";
    EXPECT_EQ("QVGA.0", DriverMode());
    ExpectRunGone();
}

TEST_F(RunInModeTest, SwitchRecordsTheRunAndTheShortcutThatResumesIt)
{
    EXPECT_TRUE(Process(L"VGA LANDSCAPE RETURN Y RUN \"\\Program Files\\Game.exe\" -level 2"));
    EXPECT_TRUE(m_boxes.empty()) << "Y asks nothing";
    EXPECT_EQ("VGA.1", DriverMode());
    EXPECT_EQ(RawSz(L"\\Program Files\\Game.exe"), RawValue(kUser, kRecord, L"Program"));
    EXPECT_EQ(RawSz(L"-level 2"), RawValue(kUser, kRecord, L"Arguments"));
    EXPECT_EQ(RawDWord(0), RawValue(kUser, kRecord, L"VGA"));
    EXPECT_EQ(RawDWord(0), RawValue(kUser, kRecord, L"Orientation"));
    EXPECT_EQ("<missing>", RawValue(kUser, kRecord, L"Started"));
    EXPECT_EQ(ShortcutTo(L"RESUME"), ReadFileBytes(kShortcut));

    // Without RETURN nothing is recorded to go back to, nor left of the run before.
    NewRun();
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"QVGA UD RUN \\Windows\\game.exe"));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION), m_boxes[0].style) << "the reset question";
    EXPECT_EQ("QVGA.2", DriverMode());
    EXPECT_EQ(RawSz(L""), RawValue(kUser, kRecord, L"Arguments"));
    EXPECT_EQ("<missing>", RawValue(kUser, kRecord, L"VGA"));
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(RunInModeTest, FailedSwitchTakesRecordAndShortcutAway)
{
    GetSettingsRegistry().WriteDWord(L"VGA.landscape", L"ClkFreq.1", 500);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA LANDSCAPE RETURN Y RUN " + Probe()));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Invalid clock settings", m_boxes[0].text);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_EQ("QVGA.0", DriverMode());
    ExpectRunGone();
}

TEST_F(RunInModeTest, ResumeWithoutReturnStartsTheProgramAndStaysInTheMode)
{
    BootInto(true, 1);
    Record(Probe(), false);
    EXPECT_TRUE(Process(L"RESUME"));
    EXPECT_EQ("one two", ProbeRan());
    ExpectRunGone();
    EXPECT_EQ("VGA.1", DriverMode());
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(RunInModeTest, ResumeWithReturnWaitsForTheProgramThenGoesBack)
{
    BootInto(true, 1);
    Record(Probe(), true);
    EXPECT_TRUE(Process(L"RESUME"));
    EXPECT_EQ("one two", ProbeRan());
    EXPECT_EQ("QVGA.0", DriverMode());
    ExpectRunGone();
    EXPECT_TRUE(m_boxes.empty()) << "the shortcut asked for the way back";
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(RunInModeTest, ResetWhileTheProgramRanCountsAsItsEnd)
{
    BootInto(true, 1);
    Record(Probe(), true, true);
    EXPECT_TRUE(Process(L"RESUME"));
    EXPECT_FALSE(FileExists(kProbeOutput)) << "not started again";
    EXPECT_EQ("QVGA.0", DriverMode());
    ExpectRunGone();
}

// A way back that fails is reported, and leaves record and shortcut for the next boot.
TEST_F(RunInModeTest, FailedWayBackKeepsTheRunForTheNextBoot)
{
    BootInto(true, 1);
    Record(Probe(), true, true);
    GetSettingsRegistry().WriteDWord(L"QVGA.portrait", L"ClkFreq.0", 500);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"RESUME"));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Invalid clock settings", m_boxes[0].text);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_EQ("VGA.1", DriverMode());
    EXPECT_EQ(RawDWord(1), RawValue(kUser, kRecord, L"Started"));
    EXPECT_EQ("stale", ReadFileBytes(kShortcut));
    EXPECT_EQ(0, m_resets);
}

// The user picks another mode while the program runs (here the program itself does it, as
// the program's own window would): the way back is off.
TEST_F(RunInModeTest, SwitchWhileTheProgramRunsCancelsTheReturn)
{
    BootInto(true, 1);
    Record(BuildFile(L"dorix.exe"), true);
    SetRawValue(kUser, kRecord, L"Arguments", REG_SZ, SzBytes(L"QVGA LL Y"));
    const CResetHost host;
    EXPECT_TRUE(Process(L"RESUME"));
    EXPECT_EQ("QVGA.3", DriverMode());
    ExpectRunGone();
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(RunInModeTest, ProgramThatCannotStartIsReportedByNameAndGoesBack)
{
    const std::wstring missing = L"\\Windows\\No Such Game.exe";
    BootInto(true, 1);
    Record(missing, true);
    AnswerNextBox(IDOK);
    // The run is marked started before the start is tried: a reset while the program runs
    // must find it so, and go back. The box reports the start that failed.
    std::string startedAtTheStart = "<no box>";
    MessageBoxHandler fixture;
    fixture = SetMessageBoxHandler([&](const MessageBoxRequest& box) {
        startedAtTheStart = RawValue(kUser, kRecord, L"Started");
        return fixture(box);
    });
    EXPECT_TRUE(Process(L"RESUME"));
    SetMessageBoxHandler(std::move(fixture));
    EXPECT_EQ(RawDWord(1), startedAtTheStart);
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_NE(std::wstring::npos, m_boxes[0].text.find(L"\"" + missing + L"\"")) << Narrow(m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
    EXPECT_EQ("QVGA.0", DriverMode());
    ExpectRunGone();
    EXPECT_TRUE(m_exitCodes.empty());

    // Without the way back the device stays, and the run ends reported.
    NewRun();
    BootInto(true, 1);
    Record(missing, false);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"RESUME"));
    EXPECT_EQ(2u, m_boxes.size());
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_EQ("VGA.1", DriverMode());
    ExpectRunGone();
}

TEST_F(RunInModeTest, DamagedRecordIsDeletedAndReportedOnce)
{
    const struct {
        const char* what;
        std::function<void()> write;
    } cases[] = {
        {"no program", [] { SetRawValue(kUser, kRecord, L"Arguments", REG_SZ, SzBytes(L"x")); }},
        {"program as number", [] { SetRawValue(kUser, kRecord, L"Program", REG_DWORD, DWordBytes(1)); }},
        {"resolution 2",
         [] {
             Record(Probe(), true);
             SetRawValue(kUser, kRecord, L"VGA", REG_DWORD, DWordBytes(2));
         }},
        {"orientation missing",
         [] {
             Record(Probe(), false);
             SetRawValue(kUser, kRecord, L"VGA", REG_DWORD, DWordBytes(0));
         }},
    };
    BootInto(true, 1);
    for (const auto& c : cases) {
        m_boxes.clear();
        m_exitCodes.clear();
        c.write();
        WriteFileBytes(kShortcut, "stale");
        AnswerNextBox(IDOK);
        EXPECT_TRUE(Process(L"RESUME")) << c.what;
        ASSERT_EQ(1u, m_boxes.size()) << c.what;
        EXPECT_EQ(LoadResourceString(IDS_RUN_BAD_RECORD), m_boxes[0].text) << c.what;
        EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes) << c.what;
        ExpectRunGone();
        EXPECT_TRUE(Process(L"RESUME")) << c.what;
        EXPECT_EQ(1u, m_boxes.size()) << c.what << ": nothing left to try again";
    }
    EXPECT_EQ("VGA.1", DriverMode());
    EXPECT_FALSE(FileExists(kProbeOutput));
}

// With the safety net on, the run's shortcut is the one that asks; "Keep" goes on with the
// program, "Back" cancels the run and goes back.
TEST_F(RunInModeTest, KeepQuestionComesFirst)
{
    GetSettingsRegistry().WriteDWord(nullptr, L"KeepModeSeconds", 15);
    for (const int answer : {IDOK, IDCANCEL}) {
        NewRun();
        BootInto(false, 0);
        AnswerNextBox(IDOK);
        EXPECT_TRUE(Process(L"VGA LANDSCAPE RETURN RUN " + Probe()));
        EXPECT_EQ(ShortcutTo(L"RESUME"), ReadFileBytes(kShortcut));
        EXPECT_FALSE(FileExists(kKeepShortcut)) << "one shortcut of the program's at the next boot";
        EXPECT_EQ(RawDWord(0), RawValue(kUser, L"Software\\Dorix\\Pending", L"VGA"));

        NewRun();
        BootInto(true, 1);
        CKeepBoxDriver driver;
        driver.Press(answer);
        EXPECT_TRUE(Process(L"RESUME"));
        EXPECT_EQ(1, driver.Shown());
        if (answer == IDOK)
            EXPECT_EQ("", ProbeRan());
        else
            EXPECT_FALSE(FileExists(kProbeOutput));
        EXPECT_EQ("QVGA.0", DriverMode()) << answer;
        ExpectRunGone();
        EXPECT_FALSE(GetSettingsRegistry().KeyExists(L"Pending"));
        ::DeleteFileW(kProbeOutput);
    }
    EXPECT_EQ(2u, m_boxes.size()) << "the two reset questions";
}

TEST_F(RunInModeTest, UserSwitchAndUninstallTakeThePendingRunDown)
{
    BootInto(true, 1);
    Record(Probe(), true, true);
    EXPECT_TRUE(Process(L"VGA UD Y"));
    EXPECT_EQ("VGA.2", DriverMode());
    ExpectRunGone();

    Record(Probe(), true);
    EXPECT_TRUE(Process(L"U Y"));
    ExpectRunGone();
}

TEST_F(RunInModeTest, NewShortcutSheetWritesTheStartMenuShortcut)
{
    ASSERT_TRUE(CreatePath(L"\\Windows\\Start Menu\\Programs"));
    const std::wstring taken = L"\\Windows\\Start Menu\\Programs\\Taken.lnk";
    WriteFileBytes(taken, "earlier");
    auto frame = std::make_unique<CMainFrame>(Session());
    ASSERT_TRUE(frame->Create()) << "last error " << ::GetLastError();
    CSheetDriver driver;
    driver.Then([](CPropertySheet& sheet) {
        EXPECT_EQ(L"New shortcut", sheet.GetCaption());
        const CWindow modes = CSheetDriver::Control(sheet, IDC_RUN_MODE);
        EXPECT_EQ(8, modes.SendMessage(CB_GETCOUNT));
        EXPECT_EQ(0, modes.SendMessage(CB_GETCURSEL)) << "the device's mode";
        CSheetDriver::Pick(sheet, IDC_RUN_MODE, 5);
        CSheetDriver::Type(sheet, IDC_RUN_PROGRAM, L"\\Program Files\\Games\\Sample.exe");
        EXPECT_EQ(L"Sample in 640x480 - Landscape (Right-handed)", CSheetDriver::Text(sheet, IDC_RUN_NAME));
        CSheetDriver::Press(sheet, IDC_RUN_RETURN);
        CSheetDriver::Type(sheet, IDC_RUN_ARGUMENTS, L"-fast");
        CSheetDriver::Type(sheet, IDC_RUN_NAME, L"Taken");
        CSheetDriver::Type(sheet, IDC_RUN_PROGRAM, L"\\Program Files\\Games\\Other.exe");
        EXPECT_EQ(L"Taken", CSheetDriver::Text(sheet, IDC_RUN_NAME)) << "a typed name stays";
        CSheetDriver::Press(sheet, ID_SHEET_OK);
    });
    driver.Then([](CPropertySheet& sheet) {
        EXPECT_TRUE(sheet.IsWindow()) << "No to replacing keeps the sheet open";
        CSheetDriver::Type(sheet, IDC_RUN_NAME, L"a/b");
        CSheetDriver::Press(sheet, ID_SHEET_OK);
    });
    driver.Then([](CPropertySheet& sheet) {
        CSheetDriver::Type(sheet, IDC_RUN_NAME, L"Taken");
        CSheetDriver::Type(sheet, IDC_RUN_PROGRAM, L"  ");
        CSheetDriver::Press(sheet, ID_SHEET_OK);
    });
    driver.Then([](CPropertySheet& sheet) {
        CSheetDriver::Type(sheet, IDC_RUN_PROGRAM, L"\\Program Files\\Games\\Sample.exe");
        CSheetDriver::Press(sheet, ID_SHEET_OK);
    });
    AnswerNextBox(IDNO);
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    AnswerNextBox(IDYES);
    frame->SendMessage(WM_COMMAND, ID_NEW_SHORTCUT);
    EXPECT_EQ(0u, driver.StepsLeft());
    EXPECT_EQ(L"", driver.Abandoned());
    ASSERT_EQ(4u, m_boxes.size());
    EXPECT_EQ(L"A shortcut named \"Taken\" exists already. Replace it?", m_boxes[0].text);
    EXPECT_EQ(LoadResourceString(IDS_RUN_SHORTCUT_BAD_NAME), m_boxes[1].text);
    EXPECT_EQ(L"Enter the program to start.", m_boxes[2].text);
    EXPECT_EQ(ShortcutTo(L"VGA LANDSCAPE RETURN RUN \"\\Program Files\\Games\\Sample.exe\" -fast"),
              ReadFileBytes(taken));
}

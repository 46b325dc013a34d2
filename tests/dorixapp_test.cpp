#include <stdexcept>
#include "ModeFixture.h"
#include "core/CommandLine.h"
#include "app/DorixApp.h"
#include "app/Installation.h"
#include "framework/ProgramEnd.h"
#include "profiles/ProfileCommand.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"

namespace {

// The command line on a running device.
class DorixAppTest : public RunningDeviceTest {
protected:
    static bool VgaWritten()
    {
        return CRegistry(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode").ReadDWord(nullptr, L"VGAMode", 0) == 1;
    }
    static std::wstring Rotation(const wchar_t* section)
    {
        return CIniFile(kDriverTable).ReadString(section, L"Rotation");
    }
};

TEST_F(DorixAppTest, KeywordsAreWholeWordsWithOrWithoutPrefix)
{
    const CCommandLine line = CCommandLine::Parse(L"qvga /Landscape -Y");
    EXPECT_EQ(CCommandLine::Action::switchMode, line.m_action);
    EXPECT_EQ(CVideoMode(false, 1), line.m_mode);
    EXPECT_TRUE(line.m_bYes);
    EXPECT_EQ(CCommandLine::Action::incorrect, CCommandLine::Parse(L"XVGA LAND").m_action)
        << "no keyword inside a longer word";
    EXPECT_EQ(CCommandLine::Action::incorrect, CCommandLine::Parse(L"//VGA").m_action) << "one prefix at most";
}

TEST_F(DorixAppTest, EmptyLineOpensTheWindow)
{
    EXPECT_FALSE(Process(L""));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(DorixAppTest, IncompleteModeSaysSoAndOpensTheWindow)
{
    for (const wchar_t* line : {L"LEFT", L"Y", L"QVGAX", L"xvga"}) {
        AnswerNextBox(IDOK);
        EXPECT_FALSE(Process(line)) << ::testing::PrintToString(std::wstring(line));
    }
    ASSERT_EQ(4u, m_boxes.size());
    EXPECT_EQ(L"Command line incorrect.", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
    EXPECT_FALSE(VgaWritten());
}

TEST_F(DorixAppTest, ModeKeywordGroupsInTheirOrder)
{
    const struct {
        const wchar_t* line;
        bool vga;
        const wchar_t* rotation;
    } cases[] = {
        {L"vga y", true, L"dword:0"},
        {L"/VGA LANDSCAPE LEFT Y", true, L"dword:1"},
        {L"V LANDSCAPE-LEFT -Y", true, L"dword:3"},
        {L"PORTRAIT LEFT VGA Y", true, L"dword:0"},
        {L"Q UD Y", false, L"dword:2"},
        {L"QV upsidedown Y", false, L"dword:2"},
    };
    for (const auto& c : cases) {
        NewRun();
        BootInto(false, 0);
        SetLiveCalibration(L"100,200 300,400 500,600 700,800 900,1000 ");
        EXPECT_TRUE(Process(c.line)) << ::testing::PrintToString(std::wstring(c.line));
        EXPECT_EQ(c.vga, VgaWritten()) << ::testing::PrintToString(std::wstring(c.line));
        EXPECT_EQ(c.rotation, Rotation(c.vga ? L"LCD1" : L"LCD0")) << ::testing::PrintToString(std::wstring(c.line));
    }
    EXPECT_TRUE(m_boxes.empty()) << "Y answers every question";
    EXPECT_TRUE(m_exitCodes.empty());
}

// Every keyword of each group, each with a resolution keyword of its own group.
TEST_F(DorixAppTest, EveryKeywordAliasBelongsToItsGroup)
{
    const struct {
        std::vector<const wchar_t*> keywords;
        const wchar_t* rotation;
    } orientations[] = {
        {{L"PORTRAIT", L"P"}, L"dword:0"},
        {{L"LANDSCAPE", L"LANDSCAPE-RIGHT", L"LR", L"RIGHT", L"R"}, L"dword:1"},
        {{L"PORTRAIT-UPSIDEDOWN", L"PU", L"PUD", L"UPSIDEDOWN", L"UD"}, L"dword:2"},
        {{L"LANDSCAPE-LEFT", L"LL", L"LEFT", L"L"}, L"dword:3"},
    };
    const std::pair<const wchar_t*, bool> resolutions[] = {
        {L"QVGA", false}, {L"Q", false}, {L"QV", false}, {L"VGA", true}, {L"V", true}};
    size_t n = 0;
    for (const auto& group : orientations) {
        for (const wchar_t* keyword : group.keywords) {
            const auto& [resolution, vga] = resolutions[n++ % std::size(resolutions)];
            const std::wstring line = std::wstring(keyword) + L" " + resolution + L" Y";
            NewRun();
            BootInto(false, 0);
            SetLiveCalibration(L"100,200 300,400 500,600 700,800 900,1000 ");
            EXPECT_TRUE(Process(line)) << ::testing::PrintToString(line);
            EXPECT_EQ(vga, VgaWritten()) << ::testing::PrintToString(line);
            EXPECT_EQ(group.rotation, Rotation(vga ? L"LCD1" : L"LCD0")) << ::testing::PrintToString(line);
        }
    }
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(DorixAppTest, SwitchAsksFirstAndCancelChangesNothing)
{
    AnswerNextBox(IDCANCEL);
    EXPECT_TRUE(Process(L"VGA"));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(LoadResourceString(IDS_CONFIRM_RESET), m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION), m_boxes[0].style);
    EXPECT_FALSE(VgaWritten());
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA"));
    EXPECT_TRUE(VgaWritten());
}

TEST_F(DorixAppTest, FailedSwitchIsReportedAndEndsWithCodeOne)
{
    GetSettingsRegistry().WriteDWord(L"VGA.landscape", L"ClkFreq.1", 500);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA LANDSCAPE Y"));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Invalid clock settings", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
}

TEST_F(DorixAppTest, MissingDriverTableIsReportedByNameAndEndsWithCodeOne)
{
    ::DeleteFileW(kDriverTable);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA Y"));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_NE(std::wstring::npos, m_boxes[0].text.find(L"\\Windows\\atihwtbl0.txt")) << m_boxes[0].text;
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
}

TEST_F(DorixAppTest, AnyOtherFailureIsReportedAsUnknownErrorAndEndsWithCodeOne)
{
    // A profile command that fails with something that is not one of the program's errors.
    class CFailingCommand : public CProfileCommand {
    public:
        void Parse(const std::wstring&) override {}
        void Execute(CSwitchSession&, CVideoMode, CVideoMode) override { throw std::runtime_error("not an error"); }
    };
    static bool registered = false;
    if (!registered)
        RegisterCommand(L"DorixAppTestFail", [] { return std::unique_ptr<CProfileCommand>(new CFailingCommand); });
    registered = true;
    const std::wstring profile = GetProgramFolder() + L"dorixapp-failing.dorix";
    WriteFileBytes(profile, "[Profile]\r\nVersion=1.4.0\r\n[VGA]\r\n0=DorixAppTestFail,now\r\n");
    GetSettingsRegistry().WriteDWord(L"Profiles", L"dorixapp-failing", 1);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA Y"));
    ::DeleteFileW(profile.c_str());
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Unknown error", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_FALSE(VgaWritten());
}

TEST_F(DorixAppTest, InstallWinsOverEverythingElse)
{
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"VGA UNINSTALL INSTALL"));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"The program was installed successfully.", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), m_boxes[0].style);
    EXPECT_EQ(static_cast<int32_t>(PROGRAM_VERSION), GetSettingsRegistry().ReadDWord(L"Uninstall", L"Version", 0));
    EXPECT_FALSE(VgaWritten());
    EXPECT_TRUE(Process(L"i y"));
    EXPECT_EQ(1u, m_boxes.size()) << "no message with Y";
}

TEST_F(DorixAppTest, UninstallAsksUnlessY)
{
    Install();
    AnswerNextBox(IDNO);
    EXPECT_TRUE(Process(L"U"));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION), m_boxes[0].style);
    EXPECT_NE(0, GetSettingsRegistry().ReadDWord(L"Uninstall", L"Version", 0)) << "No keeps the installation";
    AnswerNextBox(IDYES);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"-UNINSTALL"));
    ASSERT_EQ(3u, m_boxes.size());
    EXPECT_EQ(LoadResourceString(IDS_UNINSTALLED), m_boxes[2].text);
    EXPECT_EQ(0, GetSettingsRegistry().ReadDWord(L"Uninstall", L"Version", 0));
    Install();
    EXPECT_TRUE(Process(L"UNINSTALL Y"));
    EXPECT_EQ(3u, m_boxes.size()) << "Y: no question, no message";
    EXPECT_EQ(0, GetSettingsRegistry().ReadDWord(L"Uninstall", L"Version", 0));
}

TEST_F(DorixAppTest, UDIsUpsideDownButUIsUninstall)
{
    Install();
    AnswerNextBox(IDOK);
    EXPECT_FALSE(Process(L"UD")) << "no resolution";
    EXPECT_NE(0, GetSettingsRegistry().ReadDWord(L"Uninstall", L"Version", 0));
}

// Start-up as a whole, through the application object.
class DorixStartTest : public DorixAppTest {
protected:
    void TearDown() override
    {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Platform");
        DorixAppTest::TearDown();
    }
    static void SetOemInfo(const wchar_t* text)
    {
        CRegistry(CRegistry::kLocalMachine, L"Platform").WriteString(nullptr, L"OEMInfo", text);
    }
    // Runs start-up with the command line; whether it left a main window.
    static bool Start(const wchar_t* commandLine)
    {
        CDorixApp app;
        app.m_strCmdLine = commandLine;
        EXPECT_TRUE(app.InitInstance());
        return app.GetMainWnd() != nullptr;
    }
};

TEST_F(DorixStartTest, FirstStartWithUInstallsThenUninstalls)
{
    WriteFileBytes(L"\\Windows\\detect.exe", "the device's own tool");
    SetOemInfo(L"TOSHIBA e805");
    AnswerNextBox(IDYES);
    AnswerNextBox(IDOK);
    EXPECT_FALSE(Start(L"U"));
    ASSERT_EQ(2u, m_boxes.size()) << "installation says nothing";
    EXPECT_EQ(LoadResourceString(IDS_CONFIRM_UNINSTALL), m_boxes[0].text);
    EXPECT_EQ(LoadResourceString(IDS_UNINSTALLED), m_boxes[1].text);
    // Only an installation puts the stub there, and only the stub is deleted again.
    EXPECT_FALSE(FileExists(L"\\Windows\\detect.exe"));
    EXPECT_EQ(-1, GetSettingsRegistry().ReadDWord(L"Uninstall", L"Version", -1));
}

TEST_F(DorixStartTest, UnsupportedDeviceIsWarnedAboutOnlyBeforeTheWindow)
{
    SetOemInfo(L"HP iPAQ h5550");
    AnswerNextBox(IDCANCEL);
    EXPECT_FALSE(Start(L"")) << "Cancel ends the program";
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(LoadResourceString(IDS_UNSUPPORTED_DEVICE), m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2), m_boxes[0].style);

    AnswerNextBox(IDOK);
    EXPECT_TRUE(Start(L"")) << "OK goes on to the window";
    EXPECT_EQ(2u, m_boxes.size());

    EXPECT_FALSE(Start(L"VGA Y"));
    EXPECT_EQ(2u, m_boxes.size()) << "no warning before a command-line action";
    EXPECT_TRUE(VgaWritten());
}

TEST_F(DorixAppTest, TestProfileRunsWithoutSwitching)
{
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"testprofile VGA Y"));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Cannot open file \"\\Pocket Informant 4.6.zdorix\".", m_boxes[0].text);
    EXPECT_FALSE(VgaWritten());
}

}  // namespace

#include <algorithm>
#include "ModalDriver.h"
#include "ModeFixture.h"
#include "ReportLines.h"
#include "core/CommandLine.h"
#include "framework/CommonControls.h"
#include "framework/PropertySheet.h"
#include "profiles/Profile.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/Settings.h"
#include "ui/ProfileCheck.h"
#include "ui/ProfilePage.h"
#include "ui/ReportDlg.h"
#include "ui/TabbedDialog.h"

namespace {

const wchar_t kFaulty[] = L"\\My Documents\\Faulty.dorix";
const wchar_t kClean[] = L"\\My Documents\\Clean.dorix";
const std::wstring kReport = L"\\My Documents\\Dorix Check.txt";

// A profile's check from the command line and the "Profiles" page, on a device with one
// profile of two problems and one of none.
class ProfileCheckTest : public RunningDeviceTest {
protected:
    void SetUp() override
    {
        RunningDeviceTest::SetUp();
        ASSERT_TRUE(CreatePath(L"\\My Documents"));
        WriteFileBytes(kFaulty, "[Profile]\r\nVersion=1.4.0\r\n[QVGA]\r\n0=ShowMesage,hello\r\n2=ShowMessage,late\r\n");
        WriteFileBytes(kClean, "[Profile]\r\nVersion=1.4.0\r\n[QVGA]\r\n0=ShowMessage,hello\r\n");
    }

    static std::vector<std::wstring> ReportLines() { return ReadReportLines(kReport); }
    static std::vector<std::wstring> FaultyReport()
    {
        return {L"Check of \"\\My Documents\\Faulty.dorix\"", L"QVGA, line 4: Unknown profile command: ShowMesage.",
                L"QVGA, line 5: Command 2 follows a gap in the numbering: it never runs.", L"2 problems found."};
    }
    // Every file on the device, for a check that writes nothing but its report.
    static std::vector<std::wstring> DeviceFiles()
    {
        std::vector<std::wstring> files, folders{L""};
        while (!folders.empty()) {
            const std::wstring folder = folders.back();
            folders.pop_back();
            std::vector<std::wstring> names;
            FindFiles(folder.empty() ? L"\\" : folder, L"*", false, names);
            for (const std::wstring& name : names) {
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring path = folder + L"\\" + name;
                (IsDirectory(path) ? folders : files).push_back(path);
            }
        }
        std::sort(files.begin(), files.end());
        return files;
    }
};

// The windows a check shows: the report, over a settings sheet when it was opened there.
bool IsCheckWindow(HWND hwnd)
{
    CWnd* window = CWnd::FromHandle(hwnd);
    return dynamic_cast<CReportDlg*>(window) || dynamic_cast<CPropertySheet*>(window);
}

TEST_F(ProfileCheckTest, EverythingAfterCheckIsThePath)
{
    const struct {
        const wchar_t* line;
        CCommandLine::Action action;
        const wchar_t* profile;
    } cases[] = {
        {L"CHECK \\My Documents\\VGA Y.dorix", CCommandLine::Action::check, L"\\My Documents\\VGA Y.dorix"},
        {L"y /check \"\\a b.zdorix\"", CCommandLine::Action::check, L"\\a b.zdorix"},
        {L"CHECK \\x RUN y", CCommandLine::Action::check, L"\\x RUN y"},
        {L"CHECK", CCommandLine::Action::incorrect, L""},
        {L"VGA RUN \\p.exe CHECK \\x", CCommandLine::Action::switchMode, L""},
        {L"TESTPROFILE CHECK \\x", CCommandLine::Action::testProfile, L"\\x"},
        {L"KEEP CHECK \\x", CCommandLine::Action::check, L"\\x"},
    };
    for (const auto& c : cases) {
        const CCommandLine line = CCommandLine::Parse(c.line);
        EXPECT_EQ(c.action, line.m_action) << ::testing::PrintToString(std::wstring(c.line));
        EXPECT_EQ(c.profile, line.m_strProfile) << ::testing::PrintToString(std::wstring(c.line));
    }
    EXPECT_TRUE(CCommandLine::Parse(L"Y CHECK \\x").m_bYes);
    EXPECT_FALSE(CCommandLine::Parse(L"CHECK \\x Y").m_bYes);
}

TEST_F(ProfileCheckTest, WithYOnlyTheReportIsWrittenAndProblemsEndWithCodeOne)
{
    EXPECT_TRUE(Process(L"Y CHECK \\My Documents\\Faulty.dorix"));
    EXPECT_EQ(FaultyReport(), ReportLines());
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    EXPECT_TRUE(Process(L"Y CHECK \\My Documents\\Clean.dorix"));
    EXPECT_EQ((std::vector<std::wstring>{L"Check of \"\\My Documents\\Clean.dorix\"", L"No problems found."}),
              ReportLines());
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes) << "no problems: exit code 0";
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(0, m_resets);
}

TEST_F(ProfileCheckTest, WithoutYABoxTellsTheCountAndAWindowListsTheReport)
{
    CModalDriver driver(&IsCheckWindow);
    driver.Then([](CWindow report) {
        EXPECT_EQ(L"Profile check", report.GetWindowText());
        EXPECT_EQ(FaultyReport(), ListedLines(report));
        report.GetDlgItem(IDOK).SendMessage(BM_CLICK);
    });
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    EXPECT_TRUE(Process(L"CHECK \\My Documents\\Faulty.dorix"));
    EXPECT_TRUE(Process(L"CHECK \\My Documents\\Clean.dorix"));
    EXPECT_EQ(0u, driver.StepsLeft());
    EXPECT_EQ(L"", driver.Abandoned()) << "a clean profile shows no list";
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_EQ(L"2 problems found.", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), m_boxes[0].style);
    EXPECT_EQ(L"No problems found.", m_boxes[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), m_boxes[1].style);
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
}

TEST_F(ProfileCheckTest, BadInputIsReportedEndsWithCodeOneAndWritesOnlyTheReport)
{
    WriteFileBytes(L"\\My Documents\\text.zdorix", "[Profile]\r\nVersion=1.4.0\r\n");
    WriteFileBytes(L"\\My Documents\\unicode.dorix", std::string("\xFF\xFE[\0P\0r\0", 8));
    const std::vector<std::wstring> before = DeviceFiles();
    const struct {
        const wchar_t* path;
        std::wstring message;
    } cases[] = {
        {L"\\My Documents\\none.dorix", L"The profile \"\\My Documents\\none.dorix\" does not exist."},
        {L"\\My Documents\\text.zdorix",
         L"Cannot read file \"\\My Documents\\text.zdorix\", invalid file format."},
        {L"\\My Documents\\unicode.dorix", FormatResourceString(IDS_CHECK_NOT_TEXT, {L"\\My Documents\\unicode.dorix"})},
    };
    for (const auto& c : cases) {
        AnswerNextBox(IDOK);
        EXPECT_TRUE(Process(std::wstring(L"Y CHECK ") + c.path));
        ASSERT_FALSE(m_boxes.empty());
        EXPECT_EQ(c.message, m_boxes.back().text);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes.back().style);
        EXPECT_EQ((std::vector<std::wstring>{L"Check of \"" + std::wstring(c.path) + L"\"", c.message}), ReportLines());
    }
    EXPECT_EQ((std::vector<UINT>{1, 1, 1}), m_exitCodes);
    std::vector<std::wstring> after = DeviceFiles();
    after.erase(std::remove(after.begin(), after.end(), kReport), after.end());
    EXPECT_EQ(before, after);
}

TEST_F(ProfileCheckTest, ProfilesPageChecksTheSelectedProfile)
{
    CSettings settings;
    settings.m_profiles.Add(std::make_unique<CProfile>(kFaulty));
    settings.m_profiles.Add(std::make_unique<CProfile>(L"\\My Documents\\Gone.dorix"));
    CModalDriver driver(&IsCheckWindow);
    driver
        .Then([](CWindow sheet) {
            CPropertyPage* page = static_cast<CPropertySheet*>(CWnd::FromHandle(sheet))->GetActivePage();
            const CButton check(page->GetDlgItem(IDC_PROFILE_CHECK));
            const CListView list(page->GetDlgItem(IDC_PROFILE_LIST));
            check.Click();
            list.Select(1);
            check.Click();
            // The report's window opens, and the next step runs on it, before the click returns.
            list.Select(0);
            check.Click();
        })
        .Then([](CWindow report) {
            EXPECT_EQ(FaultyReport(), ListedLines(report));
            report.GetDlgItem(IDOK).SendMessage(BM_CLICK);
        })
        .Then([](CWindow sheet) { sheet.SendMessage(WM_COMMAND, IDCANCEL); });
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    EXPECT_EQ(IDCANCEL, CTabbedDialog::RunPage<CProfilePage>(IDS_STATE_SETTINGS, nullptr, &settings));
    EXPECT_EQ(0u, driver.StepsLeft());
    EXPECT_EQ(L"", driver.Abandoned());
    ASSERT_EQ(2u, m_boxes.size()) << "nothing selected: nothing checked";
    EXPECT_EQ(L"The profile \"\\My Documents\\Gone.dorix\" does not exist.", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
    EXPECT_EQ(L"2 problems found.", m_boxes[1].text);
    EXPECT_EQ(FaultyReport(), ReportLines());
}

}  // namespace

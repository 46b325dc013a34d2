#include <set>
#include "DeviceSnapshot.h"
#include "ModalDriver.h"
#include "ModeFixture.h"
#include "ReportLines.h"
#include "SheetDriver.h"
#include "app/MainFrame.h"
#include "core/CommandLine.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"
#include "state/SwitchRecord.h"
#include "ui/ReportDlg.h"

namespace {

const CVideoMode kVgaLandscape(true, 1);
const wchar_t kReport[] = L"\\My Documents\\Dorix Preview.txt";

// A device whose switch to VGA landscape carries a per-mode registry value and file, runs a
// checked profile that writes, copies and shows, and rotates the calibration.
class PreviewTest : public RunningDeviceTest {
protected:
    void SetUp() override
    {
        RunningDeviceTest::SetUp();
        CRegistry& settings = GetSettingsRegistry();
        settings.WriteString(L"Registry", L"0", L"HKLM\\Software\\DorixTest,Value");
        settings.WriteDWord(L"Registry", L"Count", 1);
        settings.WriteString(L"Files", L"0", L"\\Windows\\lib.dll");
        settings.WriteDWord(L"Files", L"Count", 1);
        SetRawValue(CRegistry::kLocalMachine, L"Software\\DorixTest", L"Value", REG_SZ, SzBytes(L"qvga"));
        SetRawValue(CRegistry::kCurrentUser, L"Software\\Dorix\\Saved Registry Data",
                    L"HKLM\\Software\\DorixTest\\Value\\VGA.landscape", REG_SZ, SzBytes(L"vga"));
        WriteFileBytes(L"\\Windows\\lib.dll", "qvga");
        WriteFileBytes(L"\\Windows\\lib.dll.VGA", "vga");
        WriteFileBytes(L"\\src.txt", "copied");
        WriteFileBytes(m_profile, "[Profile]\r\nVersion=1.4.0\r\n[VGA]\r\n"
                                  "0=RegWriteDWord,HKLM\\Software\\DorixTest,Number,7\r\n"
                                  "1=CopyFile,\\src.txt,\\Windows\\copied.txt\r\n"
                                  "2=ShowMessage,Hello\r\n");
        settings.WriteDWord(L"Profiles", L"preview-test", 1);
        ASSERT_TRUE(CreatePath(L"\\My Documents"));
    }
    void TearDown() override
    {
        ::DeleteFileW(m_profile.c_str());
        RunningDeviceTest::TearDown();
    }
    static Snapshot Files()
    {
        Snapshot files;
        SnapshotFiles(L"", files);
        return files;
    }
    // What a record names as changed: values as "ROOT\PATH|NAME", files by their paths, both
    // upper case as the snapshots have them.
    static std::set<std::wstring> Named(const CSwitchRecord& record)
    {
        std::set<std::wstring> named;
        for (const CSwitchRecord::CLine& line : record.GetLines()) {
            std::wstring text = line.text.substr(line.text.find_first_not_of(L' '));
            if (text.rfind(L"Registry ", 0) == 0) {
                const size_t comma = text.find(L", \"");
                const size_t end = text.find(L"\":", comma);
                named.insert(Upper(text.substr(9, comma - 9) + L"|" + text.substr(comma + 3, end - comma - 3)));
            } else if (text.rfind(L"File ", 0) == 0) {
                named.insert(Upper(text.substr(5, text.find(L" would be") - 5)));
            } else if (text.rfind(L"Driver table ", 0) == 0) {
                named.insert(Upper(text.substr(13, text.find(L',') - 13)));
            }
        }
        return named;
    }
    // The values and files (not folders) whose state differs between two snapshots.
    static void Differences(const Snapshot& before, const Snapshot& after, bool values, std::set<std::wstring>& found)
    {
        std::set<std::wstring> names;
        for (const auto& [name, state] : before)
            names.insert(name);
        for (const auto& [name, state] : after)
            names.insert(name);
        for (const std::wstring& name : names) {
            const auto a = before.find(name), b = after.find(name);
            const std::string was = a == before.end() ? "<none>" : a->second;
            const std::string is = b == after.end() ? "<none>" : b->second;
            const bool value = name.find(L'|') != std::wstring::npos;
            const bool folder = (was != "<none>" && was.find(':') == std::string::npos && !value)
                                || (is != "<none>" && is.find(':') == std::string::npos && !value);
            if (was != is && (values ? value : !folder))
                found.insert(name);
        }
    }

    const std::wstring m_profile = GetProgramFolder() + L"preview-test.dorix";
};

TEST_F(PreviewTest, NamesExactlyWhatTheSwitchChangesAndChangesNothing)
{
    const Snapshot files = Files();
    const Snapshot keys = SnapshotRegistry();
    CSwitchRecord record;
    Session().Preview(kVgaLandscape, record);
    EXPECT_EQ(0u, record.CountOf(CSwitchRecord::Kind::failure)) << ::testing::PrintToString(record.GetText());
    EXPECT_TRUE(Files() == files) << "the preview changed a file";
    EXPECT_TRUE(SnapshotRegistry() == keys) << "the preview changed the registry";
    EXPECT_TRUE(m_boxes.empty()) << "the profile's message was shown";

    NewRun();
    AnswerNextBox(IDOK);
    Session().SwitchTo(kVgaLandscape);
    std::set<std::wstring> changed;
    Differences(keys, SnapshotRegistry(), true, changed);
    Differences(files, Files(), false, changed);
    EXPECT_EQ(changed, Named(record)) << ::testing::PrintToString(record.GetText());
    // Each kind of change is among them.
    for (const wchar_t* name : {L"\\WINDOWS\\LIB.DLL", L"\\WINDOWS\\COPIED.TXT", L"\\WINDOWS\\ATIHWTBL0.TXT",
                                L"HKLM\\SOFTWARE\\DORIXTEST|VALUE", L"HKLM\\SOFTWARE\\DORIXTEST|NUMBER",
                                L"HKLM\\SYSTEM\\GDI\\ROTATION|ANGLE", L"HKLM\\HARDWARE\\DEVICEMAP\\TOUCH|CALIBRATIONDATA"})
        EXPECT_EQ(1u, changed.count(name)) << ::testing::PrintToString(std::wstring(name));
}

TEST_F(PreviewTest, EndsWithTheFailureTheSwitchWouldEndOn)
{
    GetSettingsRegistry().WriteDWord(L"VGA.landscape", L"ClkFreq.1", 0);
    CSwitchRecord record;
    Session().Preview(kVgaLandscape, record);
    ASSERT_FALSE(record.GetLines().empty());
    EXPECT_EQ(CSwitchRecord::Kind::failure, record.GetLines().back().kind);
    EXPECT_EQ(L"THE SWITCH WOULD FAIL HERE: Invalid clock settings", record.GetLines().back().text);
    EXPECT_EQ(1u, record.CountOf(CSwitchRecord::Kind::failure));
}

TEST_F(PreviewTest, PreviewIsAKeywordThatNeedsAMode)
{
    const struct {
        const wchar_t* line;
        CCommandLine::Action action;
    } cases[] = {
        {L"VGA LANDSCAPE PREVIEW", CCommandLine::Action::preview},
        {L"-preview q", CCommandLine::Action::preview},
        {L"VGA PREVIEW RUN", CCommandLine::Action::preview},
        {L"VGA RUN \\p.exe PREVIEW", CCommandLine::Action::switchMode},
        {L"PREVIEW", CCommandLine::Action::incorrect},
        {L"KEEP VGA PREVIEW", CCommandLine::Action::keep},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.action, CCommandLine::Parse(c.line).m_action) << ::testing::PrintToString(std::wstring(c.line));
}

TEST_F(PreviewTest, CommandLineWritesTheReportAndShowsItUnlessY)
{
    EXPECT_TRUE(Process(L"VGA LANDSCAPE PREVIEW Y"));
    const std::vector<std::wstring> report = ReadReportLines(kReport);
    ASSERT_GE(report.size(), 3u);
    EXPECT_EQ(L"A switch from 240x320 - Portrait (Standard) to 640x480 - Landscape (Right-handed) would make these "
              L"changes:",
              report.front());
    EXPECT_EQ(L"Per-mode files:", report[1]);
    EXPECT_EQ(L"File \\Windows\\lib.dll would be replaced by \\Windows\\lib.dll.VGA", report[2]);
    EXPECT_TRUE(m_exitCodes.empty());
    EXPECT_EQ("\xff\xfe", ReadFileBytes(kReport).substr(0, 2));
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(0, m_resets);
    EXPECT_EQ("qvga", ReadFileBytes(L"\\Windows\\lib.dll"));

    CModalDriver driver([](HWND hwnd) { return dynamic_cast<CReportDlg*>(CWnd::FromHandle(hwnd)) != nullptr; });
    driver.Then([&](CWindow window) {
        EXPECT_EQ(L"Switch preview", window.GetWindowText());
        EXPECT_EQ(report, ListedLines(window));
        window.GetDlgItem(IDOK).SendMessage(BM_CLICK);
    });
    EXPECT_TRUE(Process(L"VGA LANDSCAPE PREVIEW"));
    EXPECT_EQ(0u, driver.StepsLeft());
}

TEST_F(PreviewTest, WhatWouldFailEndsWithCodeOne)
{
    GetSettingsRegistry().WriteDWord(L"VGA.landscape", L"ClkFreq.1", 0);
    EXPECT_TRUE(Process(L"VGA LANDSCAPE PREVIEW Y"));
    EXPECT_EQ(std::vector<UINT>{1}, m_exitCodes);
    const std::vector<std::wstring> report = ReadReportLines(kReport);
    ASSERT_GE(report.size(), 2u);
    EXPECT_EQ(L"THE SWITCH WOULD FAIL HERE: Invalid clock settings", report[report.size() - 2]);
}

TEST_F(PreviewTest, ToolsMenuAsksForTheModeAndShowsTheReport)
{
    CMainFrame frame(Session());
    ASSERT_TRUE(frame.Create());
    CModalDriver driver([](HWND hwnd) {
        CWnd* window = CWnd::FromHandle(hwnd);
        return dynamic_cast<CReportDlg*>(window) != nullptr || dynamic_cast<CPropertySheet*>(window) != nullptr;
    });
    driver
        .Then([](CWindow window) {
            auto& sheet = *static_cast<CPropertySheet*>(CWnd::FromHandle(window));
            EXPECT_EQ(L"Preview", sheet.GetWindowText());
            CSheetDriver::Pick(sheet, IDC_PREVIEW_MODE, 5);
            CSheetDriver::Press(sheet, ID_SHEET_OK);
        })
        .Then([](CWindow report) {
            EXPECT_EQ(ReadReportLines(kReport), ListedLines(report));
            report.GetDlgItem(IDOK).SendMessage(BM_CLICK);
        });
    frame.SendMessage(WM_COMMAND, ID_PREVIEW_SWITCH);
    EXPECT_EQ(0u, driver.StepsLeft());
    const std::vector<std::wstring> report = ReadReportLines(kReport);
    ASSERT_GE(report.size(), 3u);
    EXPECT_EQ(L"File \\Windows\\lib.dll would be replaced by \\Windows\\lib.dll.VGA", report[2]) << "the mode picked";
    EXPECT_TRUE(m_exitCodes.empty());
}

}  // namespace

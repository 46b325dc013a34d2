#include "SessionFixture.h"
#include "state/FileHelpers.h"
#include "state/Registry.h"
#include "state/TodayThemeManager.h"
#include "state/VideoMode.h"

namespace {

const wchar_t kToday[] = L"Software\\Microsoft\\Today";

class TodayThemeTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        wchar_t self[MAX_PATH];
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::wstring installer = FolderOf(self) + L"fakewceload.exe";
        ASSERT_TRUE(::CopyFileW(installer.c_str(), L"\\Windows\\wceload.exe", FALSE)) << "no stand-in installer";
        ASSERT_TRUE(::CreateDirectoryW(L"\\My Documents", nullptr));
        WriteFileBytes(L"\\My Documents\\blue.tsk", "theme");
    }
    void TearDown() override
    {
        // A hanging stand-in must not outlive the test that started it.
        ::WinExec("taskkill /f /im wceload.exe", SW_HIDE);
        SessionTest::TearDown();
    }
    CRegistry today{CRegistry::kCurrentUser, kToday};
    CRegistry settings{CRegistry::kCurrentUser, L"Software\\Dorix"};
    CTodayThemeManager manager;
};

std::wstring Remembered(CRegistry& settings, CVideoMode mode)
{
    return settings.ReadString(mode.GetGroupName().c_str(), L"TodayTheme", L"<none>");
}

TEST_F(TodayThemeTest, InstallRunsTheInstallerAndRecordsTheSkin)
{
    today.WriteDWord(nullptr, L"UseStartImage", 1);
    today.WriteString(nullptr, L"Watermark", L"w.gif");
    today.WriteString(nullptr, L"WallFile", L"old.jpg");
    manager.Install(Session(), L"\\My Documents\\blue.tsk");
    EXPECT_EQ(L"\\My Documents\\blue.tsk", today.ReadString(nullptr, L"Skin"));
    EXPECT_EQ(CRegistry::kindMissing, today.GetValueKind(nullptr, L"UseStartImage"));
    EXPECT_EQ(CRegistry::kindMissing, today.GetValueKind(nullptr, L"Watermark"));
    EXPECT_EQ(L"", today.ReadString(nullptr, L"WallFile", L"<none>"));
    EXPECT_EQ(L"", today.ReadString(nullptr, L"Wallpaper", L"<none>"));
    // The installer's command line under Wine: its own name, then its arguments, once.
    const std::string log = ReadFileBytes(L"\\Temp\\wceload.log");
    const size_t name = log.find("wceload.exe\" ");
    ASSERT_NE(std::string::npos, name) << log;
    const size_t arguments = name + 13;
    EXPECT_EQ("/safe /noui /nouninstall /delete 0 \"\\My Documents\\blue.tsk\"",
              log.substr(arguments, log.find_first_of("\r\n") - arguments))
        << log;
}

TEST_F(TodayThemeTest, MissingThemeFileChangesNothing)
{
    today.WriteString(nullptr, L"Skin", L"\\old.tsk");
    today.WriteString(nullptr, L"WallFile", L"keep.jpg");
    try {
        manager.Install(Session(), L"\\My Documents\\gone.tsk");
        ADD_FAILURE() << "no exception";
    } catch (const CTodayThemeManager::CTodayThemeException& e) {
        EXPECT_EQ(L"Cannot install theme \"\\My Documents\\gone.tsk\". File not found.", e.GetMessage());
    }
    EXPECT_EQ(L"\\old.tsk", today.ReadString(nullptr, L"Skin"));
    EXPECT_EQ(L"keep.jpg", today.ReadString(nullptr, L"WallFile"));
    EXPECT_EQ("<missing>", ReadFileBytes(L"\\Temp\\wceload.log"));
}

TEST_F(TodayThemeTest, InstallerThatDoesNotFinishIsReported)
{
    WriteFileBytes(L"\\My Documents\\slow.tsk", "hang");
    today.WriteString(nullptr, L"Skin", L"\\old.tsk");
    try {
        manager.Install(Session(), L"\\My Documents\\slow.tsk");
        ADD_FAILURE() << "no exception";
    } catch (const CTodayThemeManager::CTodayThemeException& e) {
        EXPECT_EQ(L"Cannot install theme \"\\My Documents\\slow.tsk\".", e.GetMessage());
    }
    EXPECT_EQ(L"\\old.tsk", today.ReadString(nullptr, L"Skin")) << "Skin is not written";
}

TEST_F(TodayThemeTest, InstallerThatCannotStartIsReported)
{
    ASSERT_TRUE(::DeleteFileW(L"\\Windows\\wceload.exe"));
    today.WriteString(nullptr, L"Skin", L"\\old.tsk");
    EXPECT_THROW(manager.Install(Session(), L"\\My Documents\\blue.tsk"), CTodayThemeManager::CTodayThemeException);
    EXPECT_EQ(L"\\old.tsk", today.ReadString(nullptr, L"Skin"));
}

TEST_F(TodayThemeTest, ResetToStandardClearsEverything)
{
    WriteFileBytes(L"\\Windows\\stwater.gif", "g");
    WriteFileBytes(L"\\Windows\\tdywater.gif", "g");
    CRegistry colors(CRegistry::kLocalMachine, L"Software\\Microsoft\\Color");
    for (int i = 0; i < 50; ++i)
        colors.WriteDWord(nullptr, std::to_wstring(i).c_str(), i);
    colors.WriteDWord(nullptr, L"50", 50);
    today.WriteString(nullptr, L"Skin", L"\\x.tsk");
    today.WriteString(nullptr, L"Watermark", L"w");
    manager.Install(Session(), L"windows standard");
    EXPECT_FALSE(FileExists(L"\\Windows\\stwater.gif"));
    EXPECT_FALSE(FileExists(L"\\Windows\\tdywater.gif"));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(CRegistry::kindMissing, colors.GetValueKind(nullptr, std::to_wstring(i).c_str())) << i;
    EXPECT_EQ(50, colors.ReadDWord(nullptr, L"50", -1)) << "only 0 to 49 belong to the theme";
    EXPECT_EQ(L"", today.ReadString(nullptr, L"Skin", L"<none>"));
    EXPECT_EQ(1, today.ReadDWord(nullptr, L"UseStartImage", -1));
    EXPECT_EQ(CRegistry::kindMissing, today.GetValueKind(nullptr, L"Watermark"));
    EXPECT_EQ("<missing>", ReadFileBytes(L"\\Temp\\wceload.log")) << "no installer for the standard theme";
}

TEST_F(TodayThemeTest, FirstSwitchRemembersAndKeepsTheTheme)
{
    today.WriteString(nullptr, L"Skin", L"\\My Documents\\blue.tsk");
    manager.Switch(Session(), CVideoMode(false, 0), CVideoMode(true, 1));
    EXPECT_EQ(L"\\My Documents\\blue.tsk", Remembered(settings, CVideoMode(false, 0)));
    EXPECT_EQ(L"<none>", Remembered(settings, CVideoMode(true, 1)));
    EXPECT_EQ("<missing>", ReadFileBytes(L"\\Temp\\wceload.log"));
}

TEST_F(TodayThemeTest, SwitchInstallsTheRememberedTheme)
{
    settings.WriteString(L"VGA.landscape", L"TodayTheme", L"\\My Documents\\blue.tsk");
    manager.Switch(Session(), CVideoMode(false, 0), CVideoMode(true, 3));
    EXPECT_EQ(L"Windows Standard", Remembered(settings, CVideoMode(false, 2))) << "no Skin: the standard theme";
    EXPECT_EQ(L"\\My Documents\\blue.tsk", today.ReadString(nullptr, L"Skin"));
}

TEST_F(TodayThemeTest, SwitchReportsAMissingThemeAndGoesOn)
{
    settings.WriteString(L"VGA.portrait", L"TodayTheme", L"\\gone.tsk");
    AnswerNextBox(IDOK);
    EXPECT_NO_THROW(manager.Switch(Session(), CVideoMode(false, 0), CVideoMode(true, 0)));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Cannot install theme \"\\gone.tsk\". File not found.", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
}

TEST_F(TodayThemeTest, SwitchWithinOneStorageNameReinstallsTheActiveTheme)
{
    today.WriteString(nullptr, L"Skin", L"\\My Documents\\blue.tsk");
    manager.Switch(Session(), CVideoMode(true, 0), CVideoMode(true, 2));
    EXPECT_NE(std::string::npos, ReadFileBytes(L"\\Temp\\wceload.log").find("blue.tsk"));
    EXPECT_EQ(L"\\My Documents\\blue.tsk", today.ReadString(nullptr, L"Skin"));
}

}  // namespace

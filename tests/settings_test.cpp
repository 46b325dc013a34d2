#include "ProfileFixture.h"
#include "state/Registry.h"
#include "state/Settings.h"
#include "state/SettingsRegistry.h"

namespace {

// Profiles are found beside the running program, which for the tests is the test executable's
// host folder in the build tree: the profiles written there and in its "profiles" folder are
// removed before and after every test, and nothing else of the build tree is touched.
class SettingsTest : public ProfileTest {
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        RemoveProfiles();
        ASSERT_TRUE(CreatePath(ProgramFolder() + L"profiles"));
    }
    void TearDown() override
    {
        RemoveProfiles();
        ProfileTest::TearDown();
    }
    static std::wstring ProgramFolder()
    {
        wchar_t self[MAX_PATH];
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        return FolderOf(self);
    }
    static void RemoveProfiles()
    {
        const std::wstring profiles = ProgramFolder() + L"profiles";
        for (const std::wstring& folder : {ProgramFolder(), profiles}) {
            std::vector<std::wstring> names;
            for (const wchar_t* pattern : {L"*.dorix", L"*.zdorix"})
                FindFiles(folder, pattern, true, names);
            for (const std::wstring& name : names) {
                if (IsDirectory(name))
                    DeleteTree(name);
                else
                    ::DeleteFileW(name.c_str());
            }
        }
        // The folder is the tests' own; it goes only when nothing else is in it.
        ::RemoveDirectoryW(profiles.c_str());
    }
    static std::vector<std::wstring> ProfileNames(const CSettings& settings)
    {
        std::vector<std::wstring> names;
        settings.m_profiles.ForEach([&](const CProfile& p) { names.push_back(p.GetName() + (p.IsChecked() ? L"+" : L"")); });
        return names;
    }
    CRegistry& registry = GetSettingsRegistry();
};

TEST_F(SettingsTest, NothingStoredGivesEmptyListsAndUncheckedProfiles)
{
    WriteFileBytes(ProgramFolder() + L"found.dorix", Text(""));
    CSettings settings;
    settings.m_bSwitchTodayTheme = true;
    settings.Load();
    EXPECT_EQ(0u, settings.m_regEntries.GetSize());
    EXPECT_EQ(0u, settings.m_fileEntries.GetSize());
    EXPECT_EQ(std::vector<std::wstring>{L"found"}, ProfileNames(settings));
    EXPECT_FALSE(settings.m_bSwitchTodayTheme);
    EXPECT_FALSE(settings.m_bSwitchCalibration);
}

TEST_F(SettingsTest, ProfilesAreFoundInFixedOrderAndFoldersAreSkipped)
{
    ASSERT_TRUE(CreatePath(ProgramFolder() + L"profiles\\folder.dorix"));
    WriteFileBytes(ProgramFolder() + L"b.zdorix", "");
    WriteFileBytes(ProgramFolder() + L"profiles\\c.zdorix", "");
    WriteFileBytes(ProgramFolder() + L"profiles\\A.dorix", "");
    WriteFileBytes(ProgramFolder() + L"A.dorix", "");
    registry.WriteDWord(L"Profiles", L"A", 1);
    registry.WriteDWord(L"Profiles", L"c", 0);
    CSettings settings;
    settings.Load();
    EXPECT_EQ((std::vector<std::wstring>{L"A+", L"A+", L"b", L"c"}), ProfileNames(settings));
    EXPECT_EQ(ProgramFolder() + L"profiles\\A.dorix", settings.m_profiles[1]->GetPath());
}

TEST_F(SettingsTest, SaveThenLoadReproducesTheLists)
{
    WriteFileBytes(ProgramFolder() + L"A.dorix", "");
    WriteFileBytes(ProgramFolder() + L"profiles\\A.dorix", "");
    CSettings settings;
    settings.Load();
    for (int i = 0; i < 3; ++i)
        settings.m_regEntries.Add(std::make_unique<CRegEntry>(L"HKLM\\Software\\E" + std::to_wstring(i), L"v"));
    settings.m_fileEntries.Add(std::make_unique<CFileEntry>(L"\\Windows\\one.dll"));
    settings.m_fileEntries.Add(std::make_unique<CFileEntry>(L"\\Windows\\two.dll"));
    settings.m_profiles[1]->SetChecked(true);
    settings.m_bSwitchCalibration = true;
    settings.Save();

    CSettings again;
    again.Load();
    ASSERT_EQ(3u, again.m_regEntries.GetSize());
    EXPECT_EQ(L"HKLM\\Software\\E2,v", again.m_regEntries[2]->ToString());
    ASSERT_EQ(2u, again.m_fileEntries.GetSize());
    EXPECT_EQ(L"\\Windows\\two.dll", again.m_fileEntries[1]->GetPath());
    EXPECT_EQ((std::vector<std::wstring>{L"A+", L"A+"}), ProfileNames(again)) << "one flag by name";
    EXPECT_TRUE(again.m_bSwitchCalibration);
    EXPECT_FALSE(again.m_bSwitchTodayTheme);

    again.m_regEntries.RemoveAll();
    again.m_regEntries.Add(std::make_unique<CRegEntry>(L"HKLM\\Software\\Only", L"v"));
    again.Save();
    EXPECT_EQ(1, registry.ReadDWord(L"Registry", L"Count", -1));
    EXPECT_EQ(CRegistry::kindMissing, registry.GetValueKind(L"Registry", L"1")) << "no stale item";
}

TEST_F(SettingsTest, ReadListSkipsMissingAndEmptyItems)
{
    registry.WriteDWord(L"Files", L"Count", 4);
    registry.WriteString(L"Files", L"0", L"\\a");
    registry.WriteString(L"Files", L"2", L"\\c");
    registry.WriteString(L"Files", L"3", L"");
    registry.WriteString(L"Files", L"4", L"\\beyond count");
    EXPECT_EQ((std::vector<std::wstring>{L"\\a", L"\\c"}), CSettings::ReadList(L"Files"));
    // A count no list reaches reads the items there are, and no more than that.
    registry.WriteDWord(L"Files", L"Count", INT32_MAX);
    registry.WriteString(L"Files", L"10", L"\\ten");
    registry.WriteString(L"Files", L"010", L"\\not an index");
    EXPECT_EQ((std::vector<std::wstring>{L"\\a", L"\\c", L"\\beyond count", L"\\ten"}), CSettings::ReadList(L"Files"));
}

// A save cut short leaves the old lists, and says so; the next one that gets through leaves
// the new lists and nothing of the old.
TEST_F(SettingsTest, RefusedSaveKeepsTheOldListsAndRaises)
{
    WriteFileBytes(ProgramFolder() + L"kept.dorix", "");
    CSettings settings;
    settings.Load();
    for (const wchar_t* name : {L"\\one", L"\\two", L"\\three"})
        settings.m_fileEntries.Add(std::make_unique<CFileEntry>(name));
    settings.m_profiles[0]->SetChecked(true);
    settings.Save();
    registry.WriteDWord(L"Profiles", L"gone", 1);

    settings.m_fileEntries.RemoveAll();
    settings.m_fileEntries.Add(std::make_unique<CFileEntry>(L"\\three"));
    // The program opens keys with full access, so it reads the lists once they are writable again.
    {
        const CRefusedWrites refused(CRegistry::kCurrentUser, L"Software\\Dorix\\Files");
        EXPECT_THROW(settings.Save(), CRegistry::CWriteException);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"\\one", L"\\two", L"\\three"}), CSettings::ReadList(L"Files"));
    {
        const CRefusedWrites refused(CRegistry::kCurrentUser, L"Software\\Dorix\\Profiles");
        EXPECT_THROW(settings.Save(), CRegistry::CWriteException);
    }
    EXPECT_EQ(1, registry.ReadDWord(L"Profiles", L"kept", 0));
    settings.Save();
    EXPECT_EQ((std::vector<std::wstring>{L"\\three"}), CSettings::ReadList(L"Files"));
    EXPECT_EQ(CRegistry::kindMissing, registry.GetValueKind(L"Files", L"1")) << "no stale item";
    EXPECT_EQ(1, registry.ReadDWord(L"Profiles", L"kept", 0));
    EXPECT_EQ(CRegistry::kindMissing, registry.GetValueKind(L"Profiles", L"gone")) << "a profile no longer found";
}

TEST_F(SettingsTest, SwitchAllRunsCheckedProfilesAfterTheRegistryList)
{
    CRegistry live(CRegistry::kLocalMachine, L"Software\\DorixTest");
    live.WriteDWord(nullptr, L"v", 1);
    CRegistry saved(CRegistry::kCurrentUser, L"Software\\Dorix\\Saved Registry Data");
    saved.WriteDWord(nullptr, L"HKLM\\Software\\DorixTest\\v\\VGA.portrait", 2);
    WriteFileBytes(ProgramFolder() + L"on.dorix",
                   Text("[VGA]\r\n0=RegSwap,HKLM\\Software\\DorixTest,v\r\n"
                        "1=RegWriteDWord,HKLM\\Software\\DorixTest,ran,1\r\n"));
    WriteFileBytes(ProgramFolder() + L"off.dorix", Text("[VGA]\r\n0=RegWriteDWord,HKLM\\Software\\DorixTest,off,1\r\n"));
    registry.WriteDWord(L"Profiles", L"on", 1);
    registry.WriteDWord(L"Registry", L"Count", 1);
    registry.WriteString(L"Registry", L"0", L"HKLM\\Software\\DorixTest,v");
    CSettings settings;
    settings.Load();
    settings.SwitchAll(Session(), CVideoMode(false, 0), CVideoMode(true, 0));
    EXPECT_EQ(2, live.ReadDWord(nullptr, L"v", 0)) << "switched once, by the list";
    EXPECT_EQ(1, saved.ReadDWord(nullptr, L"HKLM\\Software\\DorixTest\\v\\QVGA.portrait", 0));
    EXPECT_EQ(1, live.ReadDWord(nullptr, L"ran", 0));
    EXPECT_EQ(0, live.ReadDWord(nullptr, L"off", 0)) << "an unchecked profile does not run";
    EXPECT_EQ(1u, Session().GetUndoBuffer().GetSize());
}

TEST_F(SettingsTest, FailingProfileStopsTheSwitchBeforeTheTheme)
{
    WriteFileBytes(ProgramFolder() + L"bad.dorix", Text("[QVGA]\r\n0=Nonsense,x\r\n"));
    registry.WriteDWord(L"Profiles", L"bad", 1);
    registry.WriteDWord(nullptr, L"SwitchTodayTheme", 1);
    CRegistry(CRegistry::kCurrentUser, L"Software\\Microsoft\\Today").WriteString(nullptr, L"Skin", L"\\t.tsk");
    CSettings settings;
    settings.Load();
    EXPECT_THROW(settings.SwitchAll(Session(), CVideoMode(true, 0), CVideoMode(false, 0)), CProfileException);
    EXPECT_EQ(L"<none>", registry.ReadString(L"VGA.portrait", L"TodayTheme", L"<none>")) << "theme step not reached";
}

}  // namespace

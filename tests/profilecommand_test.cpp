#include "ProfileFixture.h"
#include <algorithm>
#include "profiles/Profile.h"
#include "profiles/ProfileCommand.h"
#include "profiles/ZipFile.h"
#include "resources/resource.h"
#include "state/FileReplace.h"
#include "state/Registry.h"

namespace {

CRegistry Scratch()
{
    return CRegistry(CRegistry::kLocalMachine, L"Software\\DorixTest");
}

class ProfileCommandTest : public ProfileTest {
protected:
    // Runs one command line of a plain profile at \profiles\a.dorix.
    void RunPlain(const std::string& line)
    {
        WritePlain(L"\\profiles\\a.dorix", Text("[QVGA]\r\n0=" + line + "\r\n"));
        CProfile(L"\\profiles\\a.dorix").Run(Session(), CVideoMode(), CVideoMode());
    }
    // Runs one command line of a packed profile at \profiles\p.zdorix holding the payload.
    void RunPacked(const std::string& line, std::vector<ZipEntryDef> payload)
    {
        payload.insert(payload.begin(), ZipEntryDef("profile.dorix", Text("[QVGA]\r\n0=" + line + "\r\n")));
        WritePacked(L"\\profiles\\p.zdorix", payload);
        CProfile(L"\\profiles\\p.zdorix").Run(Session(), CVideoMode(), CVideoMode());
    }
    static std::vector<std::wstring> Folder(const std::wstring& folder)
    {
        std::vector<std::wstring> names;
        FindFiles(folder, L"*", false, names);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ProfileCommandTest, RegWriteDWordReadsTheLeadingNumber)
{
    const std::pair<const char*, int32_t> cases[] = {{"0x10", 0}, {"-1", -1}, {"42abc", 42}, {" 17", 17},
                                                     {"+5", 5},   {"abc", 0}, {"4294967297", 1}};
    for (const auto& c : cases) {
        Scratch().WriteDWord(nullptr, L"n", 12345);
        RunPlain(std::string("RegWriteDWord,HKLM\\Software\\DorixTest,n,") + c.first);
        EXPECT_EQ(c.second, Scratch().ReadDWord(nullptr, L"n", 12345)) << c.first;
    }
}

TEST_F(ProfileCommandTest, RegWriteStringTakesTheThirdField)
{
    RunPlain("RegWriteString,hklm\\Software\\DorixTest\\New,s,first,second");
    EXPECT_EQ(L"first", CRegistry(CRegistry::kLocalMachine, L"Software\\DorixTest\\New").ReadString(nullptr, L"s"));
    EXPECT_EQ(CRegistry::kindString, CRegistry(CRegistry::kLocalMachine, L"Software\\DorixTest\\New").GetValueKind(nullptr, L"s"));
}

TEST_F(ProfileCommandTest, RegWriteArgumentErrors)
{
    for (const char* args : {"HKLM\\Software\\DorixTest,s,", "HKLM,s,x", "HKXX\\Software,s,x", ",s,x",
                             "HKLM\\Software\\DorixTest,,x"}) {
        try {
            RunPlain(std::string("RegWriteString,") + args);
            ADD_FAILURE() << "accepted " << args;
        } catch (const CProfileCommand::CArgumentException& e) {
            const std::string a(args);
            EXPECT_EQ(L"Profile command has invalid list of arguments: " + std::wstring(a.begin(), a.end()) + L".",
                      e.GetMessage());
        }
    }
}

TEST_F(ProfileCommandTest, RegSwapWithoutCommaDoesNothing)
{
    Scratch().WriteDWord(nullptr, L"v", 3);
    RunPlain("RegSwap,HKLM\\Software\\DorixTest");
    EXPECT_EQ(3, Scratch().ReadDWord(nullptr, L"v", 0));
    EXPECT_EQ(0u, Session().GetUndoBuffer().GetSize());
}

TEST_F(ProfileCommandTest, RegSwapRecordsItsUndo)
{
    Scratch().WriteDWord(nullptr, L"v", 3);
    CRegistry(CRegistry::kCurrentUser, L"Software\\Dorix\\Saved Registry Data")
        .WriteDWord(nullptr, L"HKLM\\Software\\DorixTest\\v\\VGA.landscape", 8);
    WritePlain(L"\\profiles\\swap.dorix", Text("[VGA]\r\n0=RegSwap,HKLM\\Software\\DorixTest,v\r\n"));
    CProfile(L"\\profiles\\swap.dorix").Run(Session(), CVideoMode(false, 0), CVideoMode(true, 1));
    EXPECT_EQ(8, Scratch().ReadDWord(nullptr, L"v", 0));
    EXPECT_EQ(1u, Session().GetUndoBuffer().GetSize());
    Session().GetUndoBuffer().UndoAll(false);
    EXPECT_EQ(3, Scratch().ReadDWord(nullptr, L"v", 0));
}

TEST_F(ProfileCommandTest, PlainCopyFileResolvesRelativePathsBesideTheProfile)
{
    ASSERT_TRUE(CreatePath(L"\\profiles\\x"));
    WriteFileBytes(L"\\profiles\\x\\y.txt", "new");
    WriteFileBytes(L"\\profiles\\target.txt", "old");
    RunPlain("CopyFile,x\\y.txt,target.txt");
    EXPECT_EQ("new", ReadFileBytes(L"\\profiles\\target.txt"));
    WriteFileBytes(L"\\abs.txt", "abs");
    RunPlain("CopyFile,\\abs.txt,\\Windows\\abs.txt");
    EXPECT_EQ("abs", ReadFileBytes(L"\\Windows\\abs.txt"));
}

TEST_F(ProfileCommandTest, PlainCopyDirectoryReplacesTheTargetWhole)
{
    ASSERT_TRUE(CreatePath(L"\\profiles\\skins\\deep"));
    WriteFileBytes(L"\\profiles\\skins\\a.skn", "a");
    WriteFileBytes(L"\\profiles\\skins\\deep\\b.skn", "b");
    ASSERT_TRUE(CreatePath(L"\\Program Files\\App\\Skins"));
    WriteFileBytes(L"\\Program Files\\App\\Skins\\stale.skn", "stale");
    RunPlain("CopyDirectory,skins,%PROGRAM_FILES%\\App\\Skins");
    EXPECT_EQ((std::vector<std::wstring>{L"a.skn", L"deep"}), Folder(L"\\Program Files\\App\\Skins"));
    EXPECT_EQ("b", ReadFileBytes(L"\\Program Files\\App\\Skins\\deep\\b.skn"));
}

TEST_F(ProfileCommandTest, PackedCopyFileTakesTheEntryFromTheArchive)
{
    WriteFileBytes(L"\\profiles\\Skins", "not the source");
    ASSERT_TRUE(CreatePath(L"\\Program Files"));
    RunPacked("CopyFile,Skins\\vga.skn,%PROGRAM_FILES%\\vga.skn", {{"SKINS/VGA.SKN", "vga skin"}});
    EXPECT_EQ("vga skin", ReadFileBytes(L"\\Program Files\\vga.skn"));
    RunPacked("CopyFile,Skins\\vga.skn,rel.skn", {{"Skins/vga.skn", "beside"}});
    EXPECT_EQ("beside", ReadFileBytes(L"\\profiles\\rel.skn")) << "a relative target lies beside the profile";
    WriteFileBytes(L"\\device.skn", "from device");
    RunPacked("CopyFile,\\device.skn,\\Windows\\d.skn", {});
    EXPECT_EQ("from device", ReadFileBytes(L"\\Windows\\d.skn"));
}

TEST_F(ProfileCommandTest, PackedCopyFileOfAMissingEntryKeepsTheTarget)
{
    WriteFileBytes(L"\\Windows\\keep.skn", "old content");
    try {
        RunPacked("CopyFile,Skins\\none.skn,\\Windows\\keep.skn", {{"Skins/vga.skn", "x"}});
        ADD_FAILURE() << "no exception";
    } catch (const error& e) {
        EXPECT_EQ(L"File \"Skins\\none.skn\" not found within zip-archive \"\\profiles\\p.zdorix\".", e.GetMessage());
    }
    EXPECT_EQ("old content", ReadFileBytes(L"\\Windows\\keep.skn"));
    EXPECT_EQ(std::vector<std::wstring>{L"keep.skn"}, Folder(L"\\Windows")) << "no temporary names left";
}

TEST_F(ProfileCommandTest, PackedCopyDirectoryExtractsTheFolderAndBelow)
{
    ASSERT_TRUE(CreatePath(L"\\Target"));
    WriteFileBytes(L"\\Target\\old.skn", "old");
    const std::vector<ZipEntryDef> payload = {{"Skins/", "", 0, 0x10},
                                               {"Skins/vga.skn", "v"},
                                               {"skins/old/a.skn", "a"},
                                               {"Skins/Skins/x.skn", "x"},
                                               {"Skinsother/no.skn", "n"},
                                               {"Skin/no.skn", "n"}};
    RunPacked("CopyDirectory,SKINS,\\Target", payload);
    EXPECT_EQ((std::vector<std::wstring>{L"Skins", L"old", L"vga.skn"}), Folder(L"\\Target"));
    EXPECT_EQ("a", ReadFileBytes(L"\\Target\\old\\a.skn"));
    EXPECT_EQ("x", ReadFileBytes(L"\\Target\\Skins\\x.skn"));
    RunPacked("CopyDirectory,Skin\\,\\Target", payload);
    EXPECT_EQ((std::vector<std::wstring>{L"no.skn"}), Folder(L"\\Target"));
}

TEST_F(ProfileCommandTest, PackedCopyDirectoryNeverWritesOutsideItsTarget)
{
    ASSERT_TRUE(CreatePath(L"\\Target"));
    WriteFileBytes(L"\\Target\\keep.skn", "keep");
    for (const char* evil : {"Skins/../../Windows/evil.exe", "Skins/sub/../../Windows/evil.exe", "Skins/..\\evil.exe",
                             "Skins/C:/evil.exe", "Skins//evil.exe"}) {
        try {
            RunPacked("CopyDirectory,Skins,\\Target", {{"Skins/fine.skn", "f"}, {evil, "evil"}});
            ADD_FAILURE() << "accepted " << evil;
        } catch (const CZipFile::CZipException& e) {
            EXPECT_EQ(L"Cannot read file \"\\profiles\\p.zdorix\", invalid file format.", e.GetMessage()) << evil;
        }
        EXPECT_EQ(std::vector<std::wstring>{L"keep.skn"}, Folder(L"\\Target")) << evil;
        EXPECT_EQ(std::vector<std::wstring>{}, Folder(L"\\Windows")) << evil;
        EXPECT_FALSE(FileExists(L"\\evil.exe")) << evil;
    }
}

TEST_F(ProfileCommandTest, PackedCopyDirectoryWithoutEntriesCannotReplaceItsTarget)
{
    ASSERT_TRUE(CreatePath(L"\\Target"));
    WriteFileBytes(L"\\Target\\keep.skn", "keep");
    try {
        RunPacked("CopyDirectory,Skins,\\Target", {{"Skins/", "", 0, 0x10}, {"Other/a.skn", "a"}});
        ADD_FAILURE() << "no exception";
    } catch (const CFileReplace::CReplaceException& e) {
        EXPECT_EQ(FormatResourceString(IDS_CANNOT_REPLACE_FILE, {L"\\Target"}), e.GetMessage());
    }
    EXPECT_EQ(std::vector<std::wstring>{L"keep.skn"}, Folder(L"\\Target"));
    EXPECT_EQ((std::vector<std::wstring>{L"Target", L"Temp", L"Windows", L"profiles"}), Folder(L"\\"))
        << "no temporary name left";
}

TEST_F(ProfileCommandTest, PackedCopyDirectoryRefusesEntriesDifferingOnlyInCase)
{
    ASSERT_TRUE(CreatePath(L"\\Target"));
    WriteFileBytes(L"\\Target\\keep.skn", "keep");
    try {
        RunPacked("CopyDirectory,Skins,\\Target", {{"Skins/a.skn", "a"}, {"Skins/A.SKN", "A"}});
        ADD_FAILURE() << "no exception";
    } catch (const CFileReplace::CReplaceException& e) {
        const std::wstring message = e.GetMessage();
        const std::wstring expected = FormatResourceString(IDS_EXTRACT_FILE_EXISTS, {L"\x01"});
        const std::wstring head = expected.substr(0, expected.find(L"\x01"));
        const std::wstring tail = L"\\A.SKN" + expected.substr(expected.find(L"\x01") + 1);
        EXPECT_EQ(0u, message.find(head)) << ::testing::PrintToString(message);
        EXPECT_EQ(message.size() - tail.size(), message.rfind(tail)) << ::testing::PrintToString(message);
    }
    EXPECT_EQ(std::vector<std::wstring>{L"keep.skn"}, Folder(L"\\Target"));
    EXPECT_EQ((std::vector<std::wstring>{L"Target", L"Temp", L"Windows", L"profiles"}), Folder(L"\\"))
        << "no temporary name left";
}

TEST_F(ProfileCommandTest, CopyArgumentErrorsStopBeforeAnythingRuns)
{
    for (const char* line : {"CopyFile,single", "CopyFile,,target", "CopyDirectory,source,"}) {
        WritePlain(L"\\profiles\\a.dorix", Text("[QVGA]\r\n0=RegWriteDWord,HKLM\\Software\\DorixTest,ran,1\r\n1="
                                                 + std::string(line) + "\r\n"));
        try {
            CProfile(L"\\profiles\\a.dorix").Run(Session(), CVideoMode(), CVideoMode());
            ADD_FAILURE() << "accepted " << line;
        } catch (const CProfileCommand::CArgumentException&) {
        }
        EXPECT_EQ(CRegistry::kindMissing, Scratch().GetValueKind(nullptr, L"ran")) << "the command before " << line;
    }
}

TEST_F(ProfileCommandTest, ShowMessageShowsEverythingAfterTheName)
{
    AnswerNextBox(IDOK);
    RunPlain("ShowMessage,Hello, world, in %WINDOWS%");
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Hello, world, in \\Windows", m_boxes[0].text);
}

}  // namespace

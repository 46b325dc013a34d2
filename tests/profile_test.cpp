#include "ProfileFixture.h"
#include "app/DorixApp.h"
#include "profiles/Profile.h"
#include "profiles/ProfileScript.h"
#include "profiles/ZipFile.h"
#include "resources/resource.h"
#include "state/IniFile.h"
#include "state/Registry.h"

namespace {

CRegistry Scratch()
{
    return CRegistry(CRegistry::kLocalMachine, L"Software\\DorixTest");
}

// A section that records its own name when it runs.
std::string Marks(const std::vector<std::string>& sections)
{
    std::string text;
    for (const std::string& s : sections)
        text += "[" + s + "]\r\n0=RegWriteString,HKLM\\Software\\DorixTest,ran," + s + "\r\n";
    return text;
}

std::wstring RunAndSeeSection(CSwitchSession& session, const std::wstring& path, CVideoMode to)
{
    CProfile profile(path);
    profile.Run(session, CVideoMode(false, 0), to);
    return Scratch().ReadString(nullptr, L"ran", L"<none>");
}

TEST_F(ProfileTest, NameAndForm)
{
    EXPECT_EQ(L"Big Fonts", CProfile(L"\\profiles\\Big Fonts.dorix").GetName());
    EXPECT_EQ(L"", CProfile(L"\\My.Folder\\profile").GetName());
    EXPECT_EQ(L"bare.dorix", CProfile(L"bare.dorix").GetName());
    EXPECT_TRUE(CProfile(L"\\a.ZDORIX").IsPacked());
    EXPECT_TRUE(CProfile(L"\\a.zDorix").IsPacked());
    EXPECT_FALSE(CProfile(L"\\a.zdorix.bak").IsPacked());
    EXPECT_FALSE(CProfile(L"\\a.dorix").IsPacked());
    EXPECT_FALSE(CProfile(L"dorix").IsPacked());
}

TEST_F(ProfileTest, InfoIsReadOnceWithLineBreaks)
{
    WritePlain(L"\\profiles\\p.dorix", "[Profile]\r\nVersion= 1.4.0 \r\nAuthor=Ann\r\nEMail=a@b.c\r\nHomepage=www.example.org\r\n"
                                      "Description=One.\\nTwo.\r\n");
    CProfile profile(L"\\profiles\\p.dorix");
    EXPECT_EQ(L"", profile.GetAuthor()) << "nothing read before LoadInfo";
    profile.LoadInfo();
    EXPECT_EQ(L"1.4.0", profile.GetVersion());
    EXPECT_EQ(L"Ann", profile.GetAuthor());
    EXPECT_EQ(L"a@b.c", profile.GetEMail());
    EXPECT_EQ(L"www.example.org", profile.GetHomepage());
    EXPECT_EQ(L"One.\r\nTwo.", profile.GetDescription());
    WritePlain(L"\\profiles\\p.dorix", "[Profile]\r\nAuthor=Changed\r\n");
    profile.LoadInfo();
    EXPECT_EQ(L"Ann", profile.GetAuthor()) << "read once per object";
}

TEST_F(ProfileTest, UnreadableInfoIsReadAgainLater)
{
    CProfile profile(L"\\profiles\\later.dorix");
    EXPECT_THROW(profile.LoadInfo(), CFileException);
    WritePlain(L"\\profiles\\later.dorix", Text(""));
    profile.LoadInfo();
    EXPECT_EQ(L"Tester", profile.GetAuthor());
}

TEST_F(ProfileTest, VersionRule)
{
    struct Case {
        const char* version;
        UINT message;
    } cases[] = {{"1.4", IDS_PROFILE_INCOMPATIBLE}, {"1.4.0.0", IDS_PROFILE_INCOMPATIBLE},
                 {"v1.4.0", IDS_PROFILE_INCOMPATIBLE}, {"", IDS_PROFILE_NO_VERSION}};
    for (const Case& c : cases) {
        WritePlain(L"\\profiles\\v.dorix", Text(Marks({"QVGA"}), c.version));
        CProfile profile(L"\\profiles\\v.dorix");
        try {
            profile.Run(Session(), CVideoMode(false, 0), CVideoMode(false, 0));
            ADD_FAILURE() << "version " << c.version << " ran";
        } catch (const CProfileException& e) {
            EXPECT_EQ(FormatResourceString(c.message, {L"\\profiles\\v.dorix"}), e.GetMessage()) << c.version;
        }
    }
    EXPECT_EQ(L"<none>", Scratch().ReadString(nullptr, L"ran", L"<none>"));
    WritePlain(L"\\profiles\\v.dorix", "[Profile]\r\nAuthor=x\r\n" + Marks({"QVGA"}));
    EXPECT_THROW(CProfile(L"\\profiles\\v.dorix").Run(Session(), CVideoMode(), CVideoMode()), CProfileException) << "no Version key";
}

TEST_F(ProfileTest, SectionLookupOrder)
{
    const std::wstring path = L"\\profiles\\s.dorix";
    WritePlain(path, Text(Marks({"QVGA.portrait", "QVGA.landscape", "VGA.portrait", "VGA.landscape", "QVGA", "VGA"})));
    EXPECT_EQ(L"VGA.landscape", RunAndSeeSection(Session(), path, CVideoMode(true, 3)));
    WritePlain(path, Text(Marks({"QVGA.portrait", "VGA.portrait", "QVGA", "VGA"})));
    EXPECT_EQ(L"VGA", RunAndSeeSection(Session(), path, CVideoMode(true, 1))) << "the class's section before the portrait one";
    WritePlain(path, Text(Marks({"QVGA.portrait", "VGA.portrait", "QVGA"})));
    EXPECT_EQ(L"VGA.portrait", RunAndSeeSection(Session(), path, CVideoMode(true, 3)));
    WritePlain(path, Text(Marks({"QVGA.landscape", "QVGA"})));
    EXPECT_EQ(L"QVGA", RunAndSeeSection(Session(), path, CVideoMode(true, 1))) << "never QVGA.landscape for VGA";
    EXPECT_EQ(L"QVGA.landscape", RunAndSeeSection(Session(), path, CVideoMode(false, 3)));
    WritePlain(path, Text(Marks({"QVGA.portrait"})));
    EXPECT_EQ(L"QVGA.portrait", RunAndSeeSection(Session(), path, CVideoMode(false, 1)));
}

TEST_F(ProfileTest, NoSectionForTheTarget)
{
    WritePlain(L"\\profiles\\left.dorix", Text(Marks({"QVGA.landscape"})));
    try {
        RunAndSeeSection(Session(), L"\\profiles\\left.dorix", CVideoMode(true, 3));
        ADD_FAILURE() << "no exception";
    } catch (const CProfileException& e) {
        EXPECT_EQ(L"Profile \"left\" does not contain any sections for video-modes.", e.GetMessage());
    }
}

TEST_F(ProfileTest, CommandListEndsAtTheFirstGapOrEmptyValue)
{
    WritePlain(L"\\profiles\\gap.dorix", Text("[QVGA]\r\n0=RegWriteDWord,HKLM\\Software\\DorixTest,a,1\r\n"
                                              "1=RegWriteDWord,HKLM\\Software\\DorixTest,b,1\r\n"
                                              "3=RegWriteDWord,HKLM\\Software\\DorixTest,d,1\r\n"));
    CProfile(L"\\profiles\\gap.dorix").Run(Session(), CVideoMode(), CVideoMode(false, 0));
    EXPECT_EQ(1, Scratch().ReadDWord(nullptr, L"b", 0));
    EXPECT_EQ(0, Scratch().ReadDWord(nullptr, L"d", 0)) << "the missing key 2 ends the list";
    WritePlain(L"\\profiles\\empty.dorix", Text("[VGA]\r\n0=RegWriteDWord,HKLM\\Software\\DorixTest,a,2\r\n1=\r\n"
                                                "2=RegWriteDWord,HKLM\\Software\\DorixTest,c,2\r\n"));
    CProfile(L"\\profiles\\empty.dorix").Run(Session(), CVideoMode(), CVideoMode(true, 0));
    EXPECT_EQ(2, Scratch().ReadDWord(nullptr, L"a", 0));
    EXPECT_EQ(0, Scratch().ReadDWord(nullptr, L"c", 0)) << "an empty value ends the list";
}

TEST_F(ProfileTest, KeysAreSearchedPastTheNextSection)
{
    WritePlain(L"\\profiles\\past.dorix", Text("[QVGA]\r\n0=RegWriteDWord,HKLM\\Software\\DorixTest,a,1\r\n"
                                               "[Other]\r\n1=RegWriteDWord,HKLM\\Software\\DorixTest,b,1\r\n"));
    CProfile(L"\\profiles\\past.dorix").Run(Session(), CVideoMode(), CVideoMode());
    EXPECT_EQ(1, Scratch().ReadDWord(nullptr, L"b", 0));
}

TEST_F(ProfileTest, EverythingIsParsedBeforeAnythingRuns)
{
    const struct {
        const char* line;
        std::wstring message;
    } cases[] = {
        {"ShowMessage", L"Error in command #5."},
        {"CopyFile ,a,b", L"Unknown profile command: CopyFile ."},
        {"CopyFile,onlyone", L"Profile command has invalid list of arguments: onlyone."},
        {"RegWriteDWord,HKXX\\Software,a,1", L"Profile command has invalid list of arguments: HKXX\\Software,a,1."},
    };
    for (const auto& c : cases) {
        std::string section = "[QVGA]\r\n";
        for (int i = 0; i < 5; ++i)
            section += std::to_string(i) + "=RegWriteDWord,HKLM\\Software\\DorixTest,n" + std::to_string(i) + ",1\r\n";
        section += std::string("5=") + c.line + "\r\n";
        WritePlain(L"\\profiles\\bad.dorix", Text(section));
        try {
            CProfile(L"\\profiles\\bad.dorix").Run(Session(), CVideoMode(), CVideoMode());
            ADD_FAILURE() << "no exception for " << c.line;
        } catch (const error& e) {
            EXPECT_EQ(c.message, e.GetMessage()) << c.line;
        }
        EXPECT_EQ(0, Scratch().ReadDWord(nullptr, L"n0", 0)) << "command 0 ran before the bad line " << c.line;
    }
}

TEST_F(ProfileTest, CommandNamesIgnoreCaseAndEmptyArgumentsAreValid)
{
    WritePlain(L"\\profiles\\case.dorix", Text("[QVGA]\r\n0=regwritedword,HKLM\\Software\\DorixTest,a,7\r\n"
                                               "1=SHOWMESSAGE,\r\n"));
    AnswerNextBox(IDOK);
    CProfile(L"\\profiles\\case.dorix").Run(Session(), CVideoMode(), CVideoMode());
    EXPECT_EQ(7, Scratch().ReadDWord(nullptr, L"a", 0));
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), m_boxes[0].style);
}

TEST_F(ProfileTest, ConstantsExpandInArgumentsOnly)
{
    WritePlain(L"\\profiles\\%FONTS%.dorix", "");
    CProfile fonts(L"\\profiles\\%FONTS%.dorix");
    CProfileScript script(&fonts);
    std::wstring text = L"%WINDOWS%|%WINDOWS%|%windows%|%PROFILE_NAME%|%PROFILE_FILENAME%|%PROGRAM_FILES%|%STARTUP%|"
                        L"%PROGRAMS%|%PERSONAL%|%FAVORITES%|%RECENT%";
    script.ExpandConstants(text);
    EXPECT_EQ(L"\\Windows|\\Windows|%windows%|\\Windows\\Fonts|\\profiles\\\\Windows\\Fonts.dorix|\\Program Files|"
              L"\\Windows\\StartUp|\\Windows\\Start Menu\\Programs|\\My Documents|\\Windows\\Favorites|\\Windows\\Recent",
              text);
    WritePlain(L"\\profiles\\n.dorix", Text("[QVGA]\r\n0=%PROFILE_NAME%,x\r\n"));
    EXPECT_THROW(CProfile(L"\\profiles\\n.dorix").Run(Session(), CVideoMode(), CVideoMode()), CProfileException)
        << "constants in a command name stay as written";
}

TEST_F(ProfileTest, PackedProfileRunsFromItsArchiveAndLeavesNoTemporaryFile)
{
    WritePacked(L"\\profiles\\Skin Switch.zdorix",
                {{"PROFILE.DORIX", Text("[VGA]\r\n0=RegWriteDWord,HKLM\\Software\\DorixTest,skin,2\r\n")}});
    CProfile profile(L"\\profiles\\Skin Switch.zdorix");
    profile.Run(Session(), CVideoMode(), CVideoMode(true, 1));
    EXPECT_EQ(2, Scratch().ReadDWord(nullptr, L"skin", 0));
    EXPECT_EQ(L"Tester", profile.GetAuthor());
    EXPECT_TRUE(TempFiles().empty()) << TempFiles().size() << " temporary file(s) left";
}

TEST_F(ProfileTest, PackedProfileNeedsTopLevelConfiguration)
{
    WritePacked(L"\\profiles\\deep.zdorix", {{"sub/profile.dorix", Text("")}});
    try {
        CProfile(L"\\profiles\\deep.zdorix").LoadInfo();
        ADD_FAILURE() << "no exception";
    } catch (const CProfileException& e) {
        EXPECT_EQ(L"Packed profile file \"\\profiles\\deep.zdorix\" does not contain configuration file "
                  L"\"profile.dorix\".",
                  e.GetMessage());
    }
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(ProfileTest, FailedExtractionOfTheConfigurationLeavesNoTemporaryFile)
{
    WritePacked(L"\\profiles\\deflated.zdorix", {{"profile.dorix", Text(""), 8}});
    CProfile profile(L"\\profiles\\deflated.zdorix");
    try {
        profile.LoadInfo();
        ADD_FAILURE() << "no exception";
    } catch (const CZipFile::CZipException& e) {
        EXPECT_EQ(L"Unsupported compression method. Only method \"Store\" is supported.", e.GetMessage());
    }
    EXPECT_TRUE(TempFiles().empty()) << TempFiles().size() << " temporary file(s) left";
}

// Whether the archive fails while its text is taken out or the text itself is refused, the
// copy taken out goes.
TEST_F(ProfileTest, PackedProfileWhoseLoadFailsLeavesNoTemporaryFile)
{
    ZipImage cut = BuildZip({{"profile.dorix", Text("")}});
    cut.Set("central[0].compressedSize", 100000);
    cut.Set("central[0].size", 100000);
    cut.Set("local[0].compressedSize", 100000);
    cut.Set("local[0].size", 100000);
    WriteFileBytes(L"\\profiles\\cut.zdorix", cut.bytes);
    EXPECT_ANY_THROW(CProfile(L"\\profiles\\cut.zdorix").LoadInfo()) << "data beyond the archive's end";
    EXPECT_TRUE(TempFiles().empty()) << TempFiles().size() << " temporary file(s) left";
    WritePacked(L"\\profiles\\old.zdorix", {{"profile.dorix", Text("[VGA]\r\n", "1.3.0")}});
    EXPECT_THROW(CProfile(L"\\profiles\\old.zdorix").Run(Session(), CVideoMode(), CVideoMode(true, 0)), CProfileException);
    EXPECT_TRUE(TempFiles().empty()) << TempFiles().size() << " temporary file(s) left";
}

TEST_F(ProfileTest, TestRunReportsAMissingProfile)
{
    AnswerNextBox(IDOK);
    CDorixApp::ProcessCommandLine(L"TESTPROFILE", Session());
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Cannot open file \"\\Pocket Informant 4.6.zdorix\".", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
}

// Whatever ends the test run, an error or anything else, the swap it recorded is undone.
TEST_F(ProfileTest, TestRunUndoesWhatItRecorded)
{
    CRegistry live(CRegistry::kLocalMachine, L"Software\\DorixTest");
    const struct {
        const char* failing;
        std::wstring box;
        UINT style;
    } cases[] = {
        {"CopyFile,missing.txt,\\x.txt",
         L"File \"missing.txt\" not found within zip-archive \"\\Pocket Informant 4.6.zdorix\".", MB_OK | MB_ICONSTOP},
        {"ShowMessage,no error", L"Unknown error", MB_OK},
    };
    for (const auto& c : cases) {
        m_boxes.clear();
        live.WriteDWord(nullptr, L"swapped", 5);
        CRegistry(CRegistry::kCurrentUser, L"Software\\Dorix\\Saved Registry Data")
            .WriteDWord(nullptr, L"HKLM\\Software\\DorixTest\\swapped\\VGA.portrait", 9);
        WritePacked(L"\\Pocket Informant 4.6.zdorix",
                    {{"profile.dorix", Text(std::string("[VGA]\r\n0=RegSwap,HKLM\\Software\\DorixTest,swapped\r\n1=")
                                            + c.failing + "\r\n")}});
        // A box that raises what is no `error` stands for any such failure within the run.
        MessageBoxHandler fixture;
        fixture = SetMessageBoxHandler([&](const MessageBoxRequest& box) {
            if (box.text == L"no error")
                throw 1;
            return fixture(box);
        });
        AnswerNextBox(IDOK);
        CDorixApp::ProcessCommandLine(L"TESTPROFILE", Session());
        SetMessageBoxHandler(std::move(fixture));
        ASSERT_EQ(1u, m_boxes.size()) << c.failing;
        EXPECT_EQ(c.box, m_boxes[0].text) << c.failing;
        EXPECT_EQ(c.style, m_boxes[0].style) << c.failing;
        EXPECT_EQ(5, live.ReadDWord(nullptr, L"swapped", 0)) << c.failing << ": the swap was undone";
    }
}

}  // namespace

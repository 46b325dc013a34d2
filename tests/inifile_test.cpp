#include "DeviceFixture.h"
#include "framework/File.h"
#include "state/IniFile.h"

namespace {

const wchar_t kPath[] = L"\\Windows\\test.ini";

class IniFileTest : public DeviceTest {};

std::wstring ReadValue(const std::string& content, const wchar_t* section, const wchar_t* key)
{
    WriteFileBytes(kPath, content);
    CIniFile ini(kPath);
    return ini.ReadString(section, key, L"<default>");
}

// Writes the value through a fresh object and returns the file's bytes afterwards.
std::string WriteValue(const std::string& content, const wchar_t* section, const wchar_t* key,
                       const wchar_t* value)
{
    WriteFileBytes(kPath, content);
    CIniFile ini(kPath);
    ini.WriteString(section, key, value);
    ini.Close();
    return ReadFileBytes(kPath);
}

TEST_F(IniFileTest, SectionOnFirstLineIsFound)
{
    WriteFileBytes(kPath, "[LCD0]\nRotation=dword:1\n");
    CIniFile ini(kPath);
    EXPECT_TRUE(ini.HasSection(L"LCD0"));
    EXPECT_FALSE(ini.HasSection(L"lcd0")) << "names match with case";
    EXPECT_FALSE(ini.HasSection(L"LCD"));
}

TEST_F(IniFileTest, ValueIsTrimmedAndEndsBeforeComment)
{
    EXPECT_EQ(L"dword:1", ReadValue("[LCD0]\nRotation=dword:1\n", L"LCD0", L"Rotation"));
    EXPECT_EQ(L"dword:1", ReadValue("[LCD0]\nRotation=dword:1 // note\n", L"LCD0", L"Rotation"));
    EXPECT_EQ(L"dword:1", ReadValue("[LCD0]\r\nRotation=  dword:1\t\r\n", L"LCD0", L"Rotation"));
    EXPECT_EQ(L"\"quoted\"", ReadValue("[S]\nK=\"quoted\"\n", L"S", L"K")) << "quotes stay";
    EXPECT_EQ(L"", ReadValue("[S]\nK=\n", L"S", L"K")) << "empty value";
}

TEST_F(IniFileTest, OnlyExactKeyLinesMatch)
{
    EXPECT_EQ(L"<default>", ReadValue("[LCD0]\nRotation = dword:1\n", L"LCD0", L"Rotation")) << "blank before =";
    EXPECT_EQ(L"<default>", ReadValue("[LCD0]\n Rotation=dword:1\n", L"LCD0", L"Rotation")) << "blank before key";
    EXPECT_EQ(L"<default>", ReadValue("[S]\n//Name=value\n", L"S", L"Name")) << "commented out";
    EXPECT_EQ(L"<default>", ReadValue("[S]\nname=value\n", L"S", L"Name")) << "case differs";
    EXPECT_EQ(L"value", ReadValue("[S]\n\"Name\"=value\n", L"S", L"Name")) << "quoted form";
    EXPECT_EQ(L"<default>", ReadValue("[T]\nName=value\n", L"S", L"Name")) << "missing section";
}

TEST_F(IniFileTest, QuotedMatchAnywhereWinsOverBareMatch)
{
    EXPECT_EQ(L"quoted", ReadValue("[S]\nK=bare\n[T]\n\"K\"=quoted\n", L"S", L"K"));
}

TEST_F(IniFileTest, SearchRunsPastTheNextSection)
{
    EXPECT_EQ(L"later", ReadValue("[A]\nOther=1\n[B]\nKey=later\n", L"A", L"Key"));
}

// One object answers lookups in several sections, and keys that hold the characters around
// a key name, as a search of the text would.
TEST_F(IniFileTest, ManyLookupsAnswerAsTheTextSearch)
{
    WriteFileBytes(kPath, "[A]\nJ=a\nJ=again\na=b=c\n\"q=r\"=quoted\n[B]\nJ=b\nK=b\n\"K\"=last\n");
    CIniFile ini(kPath);
    EXPECT_EQ(L"b", ini.ReadString(L"B", L"J")) << "the first line after the header";
    EXPECT_EQ(L"a", ini.ReadString(L"A", L"J"));
    EXPECT_EQ(L"last", ini.ReadString(L"A", L"K")) << "a quoted line anywhere below wins";
    EXPECT_EQ(L"c", ini.ReadString(L"A", L"a=b"));
    EXPECT_EQ(L"quoted", ini.ReadString(L"A", L"q=r"));
    EXPECT_EQ(L"last", ini.ReadString(L"B", L"K", L"<default>"));
    EXPECT_EQ(L"<default>", ini.ReadString(L"B", L"a", L"<default>")) << "keys above the header are not read";
}

TEST_F(IniFileTest, ValueOnLastLineWithoutLineEndIsNotFound)
{
    EXPECT_EQ(L"<default>", ReadValue("[S]\nK=v", L"S", L"K"));
    WriteFileBytes(kPath, "[S]\nK=v");
    CIniFile ini(kPath);
    EXPECT_THROW(ini.WriteString(L"S", L"K", L"w"), CIniFile::CIniFileException);
}

TEST_F(IniFileTest, WriteReplacesOnlyTheValueAndKeepsLineEnds)
{
    const std::string before = "// head\r\n[LCD0]\r\n\"Rotation\"=dword:0 // note\r\nX=1\r\n[LCD1]\r\nRotation=dword:0\r\n";
    EXPECT_EQ(std::string("// head\r\n[LCD0]\r\n\"Rotation\"=dword:3// note\r\nX=1\r\n[LCD1]\r\nRotation=dword:0\r\n") + '\0',
              WriteValue(before, L"LCD0", L"Rotation", L"dword:3"));
    CIniFile again(kPath);
    EXPECT_EQ(L"dword:3", again.ReadString(L"LCD0", L"Rotation"));
    EXPECT_EQ(L"1", again.ReadString(L"LCD0", L"X"));
}

TEST_F(IniFileTest, MissingKeyRaisesAndChangesNothing)
{
    WriteFileBytes(kPath, "[S]\nK=v\n");
    {
        CIniFile ini(kPath);
        try {
            ini.WriteString(L"S", L"Missing", L"x");
            ADD_FAILURE() << "no exception";
        } catch (const error& e) {
            EXPECT_EQ(L"CIniFile::WriteString failed: Key not found", e.GetMessage());
        }
        EXPECT_THROW(ini.WriteString(L"Nope", L"K", L"x"), CIniFile::CIniFileException);
        EXPECT_FALSE(ini.IsModified());
    }
    EXPECT_EQ("[S]\nK=v\n", ReadFileBytes(kPath));
}

TEST_F(IniFileTest, UnchangedFileIsNotRewritten)
{
    WriteFileBytes(kPath, "[S]\nK=v\n");
    // Another reader that lets nobody write: any write-back would fail and be reported.
    CFileHandle reader(::CreateFileW(kPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader) << "error " << ::GetLastError();
    CIniFile ini(kPath);
    EXPECT_EQ(L"v", ini.ReadString(L"S", L"K"));
    EXPECT_NO_THROW(ini.Close());
    EXPECT_EQ("[S]\nK=v\n", ReadFileBytes(kPath));
    EXPECT_FALSE(FileExists(L"\\Windows\\test.ini.tmp"));
}

TEST_F(IniFileTest, DestructorWritesBackWhenNotClosed)
{
    WriteFileBytes(kPath, "[S]\nK=v\n");
    {
        CIniFile ini(kPath);
        ini.WriteString(L"S", L"K", L"w");
    }
    EXPECT_EQ(std::string("[S]\nK=w\n") + '\0', ReadFileBytes(kPath));
    EXPECT_FALSE(FileExists(L"\\Windows\\test.ini.tmp"));
}

TEST_F(IniFileTest, ReadOnlyHiddenTargetIsRewrittenAndKeepsAttributes)
{
    WriteFileBytes(kPath, "[S]\nK=v\n");
    ASSERT_TRUE(::SetFileAttributesW(kPath, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    WriteFileBytes(L"\\Windows\\test.ini.tmp", "stale");
    {
        CIniFile ini(kPath);
        ini.WriteString(L"S", L"K", L"w");
        ini.Close();
    }
    EXPECT_EQ(std::string("[S]\nK=w\n") + '\0', ReadFileBytes(kPath));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              ::GetFileAttributesW(kPath) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(FileExists(L"\\Windows\\test.ini.tmp"));
    ::SetFileAttributesW(kPath, FILE_ATTRIBUTE_NORMAL);
}

TEST_F(IniFileTest, FailedWriteBackIsReportedByCloseAndLeavesTargetAlone)
{
    WriteFileBytes(kPath, "[S]\nK=v\n");
    {
        CIniFile ini(kPath);
        ini.WriteString(L"S", L"K", L"w");
        // A folder in the temporary file's place: the write-back cannot create it.
        ASSERT_TRUE(::CreateDirectoryW(L"\\Windows\\test.ini.tmp", nullptr));
        EXPECT_THROW(ini.Close(), CFileException);
        EXPECT_EQ("[S]\nK=v\n", ReadFileBytes(kPath));
        // Once reported, the change is given up: neither a second Close nor the destructor
        // writes it behind the caller's back, even when the way is clear again.
        ASSERT_TRUE(::RemoveDirectoryW(L"\\Windows\\test.ini.tmp"));
        EXPECT_NO_THROW(ini.Close());
        EXPECT_FALSE(ini.IsModified());
    }
    EXPECT_EQ("[S]\nK=v\n", ReadFileBytes(kPath));
}

TEST_F(IniFileTest, DestructorSwallowsFailedWriteBack)
{
    WriteFileBytes(kPath, "[S]\nK=v\n");
    ASSERT_TRUE(::CreateDirectoryW(L"\\Windows\\test.ini.tmp", nullptr));
    EXPECT_NO_THROW({
        CIniFile ini(kPath);
        ini.WriteString(L"S", L"K", L"w");
    });
    EXPECT_EQ("[S]\nK=v\n", ReadFileBytes(kPath));
}

TEST_F(IniFileTest, MissingFileRaisesFileError)
{
    try {
        CIniFile ini(L"\\Windows\\absent.ini");
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(L"\\Windows\\absent.ini", e.GetFileName());
        EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), e.GetSystemError());
        EXPECT_NE(std::wstring::npos, e.GetMessage().find(L"\\Windows\\absent.ini")) << e.GetMessage();
    }
}

TEST_F(IniFileTest, ZeroByteEndsTheTextAndWhatFollowsIsKept)
{
    const std::string tail("\0junk\0more", 10);
    WriteFileBytes(kPath, "[S]\nK=v\n" + tail + "[T]\nK2=hidden\n");
    {
        CIniFile ini(kPath);
        EXPECT_FALSE(ini.HasSection(L"T")) << "text after a zero byte is not read";
        ini.WriteString(L"S", L"K", L"w");
        ini.Close();
    }
    EXPECT_EQ("[S]\nK=w\n" + tail + "[T]\nK2=hidden\n", ReadFileBytes(kPath));

    // The same where text and tail are each longer than the blocks the file is read in.
    const std::string text = "[S]\nF=" + std::string(70000, 'x') + "\nK=v\n";
    const std::string longTail = tail + std::string(140000, 'y') + "\n[T]\nK2=hidden\n";
    WriteFileBytes(kPath, text + longTail);
    {
        CIniFile ini(kPath);
        EXPECT_FALSE(ini.HasSection(L"T"));
        ini.WriteString(L"S", L"K", L"w");
        ini.Close();
    }
    EXPECT_EQ("[S]\nF=" + std::string(70000, 'x') + "\nK=w\n" + longTail, ReadFileBytes(kPath));
}

TEST_F(IniFileTest, AnsiCodePageIsConvertedBothWays)
{
    // 0xE9 is e-acute in the Western code pages the devices use.
    if (::GetACP() != 1252)
        GTEST_SKIP() << "the test prefix's ANSI code page is " << ::GetACP() << ", not 1252";
    WriteFileBytes(kPath, "[S]\nK=caf\xE9\n");
    CIniFile ini(kPath);
    EXPECT_EQ(L"caf\u00E9", ini.ReadString(L"S", L"K"));
    ini.WriteString(L"S", L"K", L"na\u00EFve");
    ini.Close();
    EXPECT_EQ(std::string("[S]\nK=na\xEFve\n") + '\0', ReadFileBytes(kPath));
}

TEST_F(IniFileTest, NameTheCodePageLacksMatchesNothing)
{
    // The system writes U+4E00 as "?" in a Western code page; the text's own "?" is no match.
    if (::GetACP() != 1252)
        GTEST_SKIP() << "the test prefix's ANSI code page is " << ::GetACP() << ", not 1252";
    WriteFileBytes(kPath, "[S?]\nK?=v\n[S]\nK?=w\n");
    CIniFile ini(kPath);
    EXPECT_FALSE(ini.HasSection(L"S\u4E00"));
    EXPECT_FALSE(ini.HasKey(L"S", L"K\u4E00"));
    EXPECT_EQ(L"<default>", ini.ReadString(L"S\u4E00", L"K?", L"<default>"));
    EXPECT_THROW(ini.WriteString(L"S", L"K\u4E00", L"x"), CIniFile::CIniFileException);
    EXPECT_EQ(L"w", ini.ReadString(L"S", L"K?"));
    EXPECT_FALSE(ini.IsModified());
}

TEST_F(IniFileTest, LargeFilesAndLongLines)
{
    std::string content = "[S]\n";
    const std::string longLine(100000, 'x');
    for (int i = 0; i < 100; ++i)
        content += "Filler" + std::to_string(i) + "=" + longLine + "\n";
    content += "Key=found\n";
    ASSERT_GT(content.size(), 10000000u);
    WriteFileBytes(kPath, content);
    CIniFile ini(kPath);
    EXPECT_EQ(L"found", ini.ReadString(L"S", L"Key"));
    EXPECT_EQ(100000u, ini.ReadString(L"S", L"Filler99").size());
    ini.WriteString(L"S", L"Key", L"changed");
    ini.Close();
    const std::string after = ReadFileBytes(kPath);
    EXPECT_EQ(content.size() + 2 + 1, after.size());
    EXPECT_EQ("Key=changed\n", after.substr(after.size() - 13, 12));
}

TEST_F(IniFileTest, RewrittenDriverTableReadsBackTheSame)
{
    InstallSampleDriverTable();
    const std::string original = SampleDriverTable();
    {
        CIniFile ini(L"\\Windows\\atihwtbl0.txt");
        ini.WriteString(L"LCD1", L"Rotation", L"dword:0");
        ini.Close();
    }
    const std::string after = ReadFileBytes(L"\\Windows\\atihwtbl0.txt");
    EXPECT_EQ(original + '\0', after) << "same value written: only the zero byte is added";
}

}  // namespace

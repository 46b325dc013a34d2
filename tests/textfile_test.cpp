#include "DeviceFixture.h"
#include "framework/File.h"
#include "framework/TextFile.h"
#include "state/FileHelpers.h"

namespace {

using TextFileTest = DeviceTest;

TEST_F(TextFileTest, LinesAreUtf16BehindAMarkEachEndedByCrLfAndReplaceTheFile)
{
    WriteTextFile(L"\\Temp\\report.txt", {L"a longer first report", L"", L"second line"});
    WriteTextFile(L"\\Temp\\report.txt", {L"A", L"\x00e9\x20ac"});
    EXPECT_EQ(std::string("\xFF\xFE" "A\0\r\0\n\0" "\xE9\0\xAC\x20\r\0\n\0", 16), ReadFileBytes(L"\\Temp\\report.txt"));
    WriteTextFile(L"\\Temp\\empty.txt", {});
    EXPECT_EQ("\xFF\xFE", ReadFileBytes(L"\\Temp\\empty.txt"));
}

TEST_F(TextFileTest, RefusedWriteRaisesTheSystemsCode)
{
    // A folder where the file would go, and a folder that is not there.
    ASSERT_TRUE(::CreateDirectoryW(L"\\Temp\\report.txt", nullptr));
    const struct {
        const wchar_t* path;
        DWORD code;
    } cases[] = {{L"\\Temp\\report.txt", ERROR_ACCESS_DENIED}, {L"\\No Such Folder\\report.txt", ERROR_PATH_NOT_FOUND}};
    for (const auto& c : cases) {
        try {
            WriteTextFile(c.path, {L"x"});
            ADD_FAILURE() << "no error";
        } catch (const CFileException& e) {
            EXPECT_EQ(c.code, e.GetSystemError());
            EXPECT_EQ(c.path, e.GetFileName());
        }
    }
    EXPECT_TRUE(IsDirectory(L"\\Temp\\report.txt"));
}

}  // namespace

#include "SessionFixture.h"
#include "state/FileEntry.h"
#include "state/VideoMode.h"

namespace {

class FileEntryTest : public SessionTest {};

const wchar_t kLive[] = L"\\Windows\\PIResources.dll";

TEST_F(FileEntryTest, SearchFollowsSuffixesAndFallbacks)
{
    const std::vector<std::wstring> chain = {L"VGA.landscape", L"VGA", L"VGA.portrait", L"QVGA.portrait", L"QVGA"};
    for (const std::wstring& suffix : chain)
        WriteFileBytes(kLive + (L"." + suffix), "x");
    const CFileEntry entry(kLive);
    for (const std::wstring& suffix : chain) {
        EXPECT_EQ(kLive + (L"." + suffix), entry.FindVersion(CVideoMode(true, 3)));
        ::DeleteFileW((kLive + (L"." + suffix)).c_str());
    }
    EXPECT_EQ(L"", entry.FindVersion(CVideoMode(true, 3)));

    WriteFileBytes(kLive + std::wstring(L".vga"), "x");
    EXPECT_EQ(L"", entry.FindVersion(CVideoMode(false, 1))) << "QVGA never falls back to VGA";
    EXPECT_EQ(kLive + std::wstring(L".VGA"), entry.FindVersion(CVideoMode(true, 2))) << "names match in any case";
}

TEST_F(FileEntryTest, SwitchCopiesTheBestVersionOverTheLiveFile)
{
    WriteFileBytes(kLive + std::wstring(L".VGA.landscape"), "landscape");
    WriteFileBytes(kLive + std::wstring(L".vga"), "vga");
    CFileEntry entry(kLive);

    entry.Switch(Session(), CVideoMode(true, 0), CVideoMode(false, 0));
    EXPECT_EQ("<missing>", ReadFileBytes(kLive)) << "no version for QVGA: untouched";
    entry.Switch(Session(), CVideoMode(false, 0), CVideoMode(true, 1));
    EXPECT_EQ("landscape", ReadFileBytes(kLive)) << "created from the version";
    entry.Switch(Session(), CVideoMode(true, 1), CVideoMode(true, 2));
    EXPECT_EQ("vga", ReadFileBytes(kLive));
}

}  // namespace

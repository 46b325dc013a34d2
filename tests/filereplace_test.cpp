#include <algorithm>
#include <functional>
#include "SessionFixture.h"
#include "LockHolder.h"
#include "app/ProgramUser.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/FileReplace.h"

namespace {

class FileReplaceTest : public SessionTest {
protected:
    void TearDown() override
    {
        if (m_window != nullptr)
            ::DestroyWindow(m_window);
        SessionTest::TearDown();
    }
    // What the folder holds, sorted: a temporary name left behind shows up here.
    static std::vector<std::wstring> Listing(const std::wstring& folder)
    {
        std::vector<std::wstring> names;
        FindFiles(folder, L"*", false, names);
        names.erase(std::remove_if(names.begin(), names.end(),
                                   [](const std::wstring& n) { return n == L"." || n == L".."; }),
                    names.end());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::wstring ReplaceError(const std::function<void()>& replace)
    {
        try {
            replace();
        } catch (const CFileReplace::CReplaceException& e) {
            return e.GetMessage();
        }
        return L"<no error>";
    }
    HWND m_window = nullptr;
};

using Names = std::vector<std::wstring>;
const wchar_t kCannotReplace[] =
    L"Cannot replace file \"\\Windows\\lib.dll\". Close all running applications and try again.";

TEST_F(FileReplaceTest, ReplacesFileEvenReadOnlyAndLeavesNoTemporaryName)
{
    WriteFileBytes(L"\\Windows\\lib.dll", "old");
    ::SetFileAttributesW(L"\\Windows\\lib.dll", FILE_ATTRIBUTE_READONLY);
    WriteFileBytes(L"\\Windows\\lib.dll.vga", "new");
    CFileReplace(L"\\Windows\\lib.dll.vga", L"\\Windows\\lib.dll").Replace(Session());
    EXPECT_EQ("new", ReadFileBytes(L"\\Windows\\lib.dll"));
    EXPECT_EQ((Names{L"lib.dll", L"lib.dll.vga"}), Listing(L"\\Windows"));
}

// Counts the folder copies a swap makes: one when its first attempt succeeds.
class CCountingReplace : public CFileReplace {
public:
    using CFileReplace::CFileReplace;
    int m_nCopies = 0;

protected:
    bool CopySourceDirectory(const std::wstring& destination) override
    {
        ++m_nCopies;
        return CFileReplace::CopySourceDirectory(destination);
    }
};

TEST_F(FileReplaceTest, ReplacesFolderAsWholeTree)
{
    for (const wchar_t* folder : {L"\\Skin", L"\\Skin\\sub", L"\\Skin.VGA", L"\\Skin.VGA\\deep"})
        ASSERT_TRUE(::CreateDirectoryW(folder, nullptr));
    WriteFileBytes(L"\\Skin\\a", "old a");
    WriteFileBytes(L"\\Skin\\sub\\b", "old b");
    WriteFileBytes(L"\\Skin.VGA\\c", "c");
    WriteFileBytes(L"\\Skin.VGA\\deep\\d", "d");
    // A folder is moved aside under the swap's second name, the first ending in ".old". A file
    // that holds that name already is left alone: the names follow a counter, so the next one
    // is known.
    const std::wstring last = FindFreeTempName(L"\\");
    const size_t digits = last.find(L"drx") + 3;
    const UINT next = (std::wcstoul(last.substr(digits, last.rfind(L'.') - digits).c_str(), nullptr, 16) + 1) & 0xFFFF;
    wchar_t taken[MAX_PATH] = L"";
    ASSERT_NE(0u, next) << last;
    ASSERT_NE(0u, ::GetTempFileNameW(L"\\", L"drx", next, taken));
    const std::wstring old = std::wstring(taken).substr(0, wcslen(taken) - 4) + L".old";
    WriteFileBytes(old, "someone's");
    CCountingReplace replace(L"\\Skin.VGA", L"\\Skin");
    replace.Replace(Session());
    EXPECT_EQ(1, replace.m_nCopies) << "the first attempt swaps";
    EXPECT_EQ((Names{L"c", L"deep"}), Listing(L"\\Skin"));
    EXPECT_EQ("d", ReadFileBytes(L"\\Skin\\deep\\d"));
    EXPECT_EQ("someone's", ReadFileBytes(old));
    ::DeleteFileW(old.c_str());
    EXPECT_EQ((Names{L"Skin", L"Skin.VGA", L"Temp", L"Windows"}), Listing(L"\\"));
}

// Fails in the middle of an attempt: the copy, or the moves after it.
class CFailingReplace : public CFileReplace {
public:
    explicit CFailingReplace(bool writePart)
        : CFileReplace(L"\\Windows\\lib.dll.vga", L"\\Windows\\lib.dll"), m_bWritePart(writePart) {}
    int m_nCalls = 0;
    bool m_bLiveWasAside = false;

protected:
    // Either leaves a partial copy and reports failure, or reports success without a copy,
    // so the moves into the live path fail, the second after the live file was moved aside.
    bool CopySourceFile(const std::wstring& destination) override
    {
        ++m_nCalls;
        m_bLiveWasAside = !FileExists(L"\\Windows\\lib.dll");
        if (m_bWritePart)
            WriteFileBytes(destination, "ne");
        return !m_bWritePart;
    }
    bool m_bWritePart;
};

TEST_F(FileReplaceTest, FailedAttemptsPutTheLiveFileBackAndReport)
{
    for (bool writePart : {true, false}) {
        WriteFileBytes(L"\\Windows\\lib.dll", "old");
        WriteFileBytes(L"\\Windows\\lib.dll.vga", "new");
        CFailingReplace replace(writePart);
        EXPECT_EQ(kCannotReplace, ReplaceError([&] { replace.Replace(Session()); }));
        EXPECT_EQ(2, replace.m_nCalls) << "one retry";
        EXPECT_FALSE(replace.m_bLiveWasAside) << "the live file stays in place while the copy is made";
        EXPECT_EQ("old", ReadFileBytes(L"\\Windows\\lib.dll")) << "writePart " << writePart;
        EXPECT_EQ((Names{L"lib.dll", L"lib.dll.vga"}), Listing(L"\\Windows")) << "writePart " << writePart;
    }
}

TEST_F(FileReplaceTest, RetriesAfterClosingTheProgramThatHoldsTheFile)
{
    WriteFileBytes(L"\\Windows\\lib.dll", "old");
    WriteFileBytes(L"\\Windows\\lib.dll.vga", "new");
    CLockHolder holder(L"titled", L"Holder", L"\\Windows\\lib.dll");
    ASSERT_FALSE(::MoveFileW(L"\\Windows\\lib.dll", L"\\Windows\\x")) << "the file is not held";

    const auto replace = [&] { CFileReplace(L"\\Windows\\lib.dll.vga", L"\\Windows\\lib.dll").Replace(Session()); };
    EXPECT_EQ(kCannotReplace, ReplaceError(replace)) << "with nobody there nothing is closed";
    EXPECT_EQ((Names{L"lib.dll", L"lib.dll.vga"}), Listing(L"\\Windows")) << "held file stays in place";
    EXPECT_EQ(STILL_ACTIVE, holder.ExitCode());

    m_window = ::CreateWindowExW(0, L"STATIC", L"Dorix", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    CProgramUser commandLine(nullptr);
    Session().SetUser(&commandLine);
    EXPECT_EQ(kCannotReplace, ReplaceError(replace)) << "from the command line nothing is closed";
    EXPECT_EQ(STILL_ACTIVE, holder.ExitCode());

    CProgramUser window(m_window);
    Session().SetUser(&window);
    replace();
    EXPECT_TRUE(holder.Ends(5000)) << "exit code " << holder.ExitCode();
    EXPECT_EQ("new", ReadFileBytes(L"\\Windows\\lib.dll"));
    EXPECT_EQ((Names{L"lib.dll", L"lib.dll.vga"}), Listing(L"\\Windows"));
}

}  // namespace

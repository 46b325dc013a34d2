#include "DeviceFixture.h"
#include "framework/File.h"
#include "framework/Handle.h"
#include "platform/DevicePaths.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include <algorithm>

namespace {

class FileHelpersTest : public DeviceTest {};

std::vector<std::wstring> List(const std::wstring& folder, const std::wstring& pattern, bool withFolder)
{
    std::vector<std::wstring> names;
    FindFiles(folder, pattern, withFolder, names);
    std::sort(names.begin(), names.end());
    return names;
}

// How deep into the stack run reaches, on a thread of its own whose free stack is painted
// first: the bytes of the deepest frame are the lowest ones changed.
size_t StackUsedBy(const std::function<void()>& run)
{
    struct Job {
        const std::function<void()>* run;
        size_t used;
        size_t painted;
    } job{&run, 0, 0};
    const auto measure = [](void* param) -> DWORD {
        Job& j = *static_cast<Job*>(param);
        volatile char here = 0;
        auto* low = static_cast<char*>(reinterpret_cast<NT_TIB*>(::NtCurrentTeb())->StackLimit);
        // What this frame's own calls need stays unpainted.
        char* top = const_cast<char*>(&here) - 4096;
        j.painted = static_cast<size_t>(top - low);
        ::memset(low, 0xA5, j.painted);
        (*j.run)();
        const char* p = low;
        while (p < top && static_cast<unsigned char>(*p) == 0xA5)
            ++p;
        j.used = static_cast<size_t>(const_cast<char*>(&here) - p);
        return 0;
    };
    const CKernelHandle thread(::CreateThread(nullptr, 0, measure, &job, 0, nullptr));
    EXPECT_TRUE(thread.IsValid());
    ::WaitForSingleObject(thread.Get(), INFINITE);
    EXPECT_GE(job.painted, 256u << 10) << "too little of the stack is committed to measure";
    return job.used;
}

TEST_F(FileHelpersTest, ExistsAndIsDirectory)
{
    WriteFileBytes(L"\\Windows\\file.txt", "x");
    EXPECT_TRUE(Exists(L"\\Windows"));
    EXPECT_TRUE(Exists(L"\\Windows\\file.txt"));
    EXPECT_TRUE(IsDirectory(L"\\Windows"));
    EXPECT_FALSE(IsDirectory(L"\\Windows\\file.txt"));
    EXPECT_FALSE(Exists(L"\\Windows\\missing"));
    EXPECT_FALSE(IsDirectory(L"\\Windows\\missing"));
    EXPECT_TRUE(Exists(L"\\Windows\\*.txt")) << "wildcards are allowed";
    EXPECT_TRUE(IsDirectory(L"\\Windows\\")) << "trailing backslash";
    EXPECT_FALSE(IsDirectory(L"\\Windows\\file.txt\\"));
}

TEST_F(FileHelpersTest, CopyOneFileCopiesBytesTimeAndReadOnlyAttributeOverAnOldCopyOrOnlyToANewName)
{
    // Larger than one block of the copy, and not a whole number of blocks.
    std::string bytes(700000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 4096);
    WriteFileBytes(L"\\Windows\\big.bin", bytes);
    const FILETIME written{0x12345678, 0x01D00000};
    {
        const CFileHandle file(::CreateFileW(L"\\Windows\\big.bin", FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                                             nullptr));
        ASSERT_TRUE(::SetFileTime(file.Get(), nullptr, nullptr, &written));
    }
    WriteFileBytes(L"\\Windows\\copy.bin", "an older copy, longer than nothing");
    ASSERT_TRUE(CopyOneFile(L"\\Windows\\big.bin", L"\\Windows\\copy.bin"));
    EXPECT_EQ(bytes, ReadFileBytes(L"\\Windows\\copy.bin"));
    WIN32_FIND_DATAW copy;
    ASSERT_TRUE(FindFile(L"\\Windows\\copy.bin", copy));
    EXPECT_EQ(0, ::CompareFileTime(&written, &copy.ftLastWriteTime));

    ::SetFileAttributesW(L"\\Windows\\big.bin", FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CopyOneFile(L"\\Windows\\big.bin", L"\\Windows\\new.bin"));
    EXPECT_EQ(bytes, ReadFileBytes(L"\\Windows\\new.bin"));
    EXPECT_NE(0u, ::GetFileAttributesW(L"\\Windows\\new.bin") & FILE_ATTRIBUTE_READONLY);

    WriteFileBytes(L"\\Windows\\taken.bin", "someone's");
    EXPECT_FALSE(CopyOneFile(L"\\Windows\\big.bin", L"\\Windows\\taken.bin", true)) << "only a new file is made";
    EXPECT_EQ("someone's", ReadFileBytes(L"\\Windows\\taken.bin"));

    EXPECT_FALSE(CopyOneFile(L"\\Windows\\missing.bin", L"\\Windows\\other.bin"));
    EXPECT_FALSE(CopyOneFile(L"\\Windows", L"\\Windows\\other.bin")) << "a folder is no file";
    EXPECT_FALSE(Exists(L"\\Windows\\other.bin"));
}

TEST_F(FileHelpersTest, CopyTreeCopiesEverythingAndRefusesExistingDestination)
{
    ASSERT_TRUE(CreatePath(L"\\Src\\Sub\\Deeper"));
    WriteFileBytes(L"\\Src\\a.txt", "a");
    WriteFileBytes(L"\\Src\\Sub\\b.txt", "bb");
    WriteFileBytes(L"\\Src\\Sub\\Deeper\\c.txt", "ccc");
    ::CreateDirectoryW(L"\\Src\\Empty", nullptr);
    ASSERT_TRUE(CopyTree(L"\\Src", L"\\Dst"));
    EXPECT_EQ("a", ReadFileBytes(L"\\Dst\\a.txt"));
    EXPECT_EQ("bb", ReadFileBytes(L"\\Dst\\Sub\\b.txt"));
    EXPECT_EQ("ccc", ReadFileBytes(L"\\Dst\\Sub\\Deeper\\c.txt"));
    EXPECT_TRUE(IsDirectory(L"\\Dst\\Empty"));

    ASSERT_TRUE(::CreateDirectoryW(L"\\Existing", nullptr));
    EXPECT_FALSE(CopyTree(L"\\Src", L"\\Existing"));
    EXPECT_EQ(std::vector<std::wstring>{}, List(L"\\Existing", L"*", false)) << "nothing copied";
    EXPECT_FALSE(CopyTree(L"\\Src", L"\\NoParent\\Dst"));
}

TEST_F(FileHelpersTest, CopyTreeOfEmptyOrMissingSourceSucceeds)
{
    ::CreateDirectoryW(L"\\Empty", nullptr);
    EXPECT_TRUE(CopyTree(L"\\Empty", L"\\Copy1"));
    EXPECT_TRUE(CopyTree(L"\\Missing", L"\\Copy2"));
    EXPECT_TRUE(IsDirectory(L"\\Copy2"));
}

TEST_F(FileHelpersTest, DeleteTreeGoesOnPastAReadOnlyFile)
{
    ASSERT_TRUE(CreatePath(L"\\Tree\\Sub"));
    WriteFileBytes(L"\\Tree\\a.txt", "a");
    WriteFileBytes(L"\\Tree\\locked.txt", "l");
    WriteFileBytes(L"\\Tree\\Sub\\b.txt", "b");
    ASSERT_TRUE(::SetFileAttributesW(L"\\Tree\\locked.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DeleteTree(L"\\Tree"));
    EXPECT_EQ(std::vector<std::wstring>{L"locked.txt"}, List(L"\\Tree", L"*", false));
    ::SetFileAttributesW(L"\\Tree\\locked.txt", FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(DeleteTree(L"\\Tree"));
    EXPECT_FALSE(Exists(L"\\Tree"));
}

TEST_F(FileHelpersTest, CreatePathCreatesEveryLevel)
{
    EXPECT_TRUE(CreatePath(L"\\A\\B\\C"));
    EXPECT_TRUE(IsDirectory(L"\\A\\B\\C"));
    EXPECT_TRUE(CreatePath(L"\\A\\B\\C")) << "existing path";
    EXPECT_TRUE(CreatePath(L"\\A\\B\\D\\")) << "trailing backslash";
    EXPECT_TRUE(IsDirectory(L"\\A\\B\\D"));
    WriteFileBytes(L"\\A\\file", "x");
    EXPECT_FALSE(CreatePath(L"\\A\\file\\Sub")) << "a file in the way";
}

TEST_F(FileHelpersTest, MakeTempNameReservesDistinctNames)
{
    const std::wstring a = MakeTempName(L"\\Windows\\");
    const std::wstring b = MakeTempName(L"\\Windows");
    EXPECT_EQ(0u, a.find(L"\\Windows\\drx")) << a;
    EXPECT_EQ(0u, b.find(L"\\Windows\\drx")) << b;
    EXPECT_NE(a, b);
    EXPECT_TRUE(FileExists(a)) << "the name is reserved by an empty file";
    EXPECT_EQ("", ReadFileBytes(a));
    const std::wstring t = MakeTempName();
    EXPECT_EQ(0u, t.find(L"\\Temp\\drx")) << t;
    EXPECT_EQ(L"", MakeTempName(L"\\NoSuchFolder"));
}

TEST_F(FileHelpersTest, FindFreeTempNameGivesFreeNames)
{
    const std::wstring a = FindFreeTempName(L"\\Windows\\");
    ASSERT_EQ(0u, a.find(L"\\Windows\\drx")) << a;
    EXPECT_EQ(a.size() - 4, a.rfind(L".tmp")) << a;
    EXPECT_FALSE(FileExists(a)) << "nothing is created";
    // A name taken is passed over.
    WriteFileBytes(a, "");
    const std::wstring b = FindFreeTempName(L"\\Windows");
    EXPECT_NE(a, b);
    EXPECT_FALSE(FileExists(b)) << b;
    EXPECT_EQ(0u, FindFreeTempName().find(L"\\Temp\\drx"));
    EXPECT_EQ(L"", FindFreeTempName(L"\\NoSuchFolder"));
    EXPECT_EQ(L"", FindFreeTempName(L"\\" + std::wstring(300, L'y'))) << "a folder too long for any name";
}

TEST_F(FileHelpersTest, FindFilesListsMatchesWithOrWithoutFolder)
{
    ASSERT_TRUE(CreatePath(L"\\Program Files\\X\\sub.dorix"));
    WriteFileBytes(L"\\Program Files\\X\\one.dorix", "");
    WriteFileBytes(L"\\Program Files\\X\\two.DORIX", "");
    WriteFileBytes(L"\\Program Files\\X\\other.txt", "");
    EXPECT_EQ((std::vector<std::wstring>{L"\\Program Files\\X\\one.dorix", L"\\Program Files\\X\\sub.dorix",
                                         L"\\Program Files\\X\\two.DORIX"}),
              List(L"\\Program Files\\X", L"*.dorix", true));
    EXPECT_EQ((std::vector<std::wstring>{L"one.dorix", L"other.txt", L"sub.dorix", L"two.DORIX"}),
              List(L"\\Program Files\\X\\", L"*", false))
        << "no . or .. entries";
    EXPECT_EQ(std::vector<std::wstring>{}, List(L"\\Missing", L"*", true));
}

TEST_F(FileHelpersTest, GetTokenSplitsAtSeparator)
{
    EXPECT_EQ(L"a", GetToken(L"a,b,,c", L",", 0));
    EXPECT_EQ(L"b", GetToken(L"a,b,,c", L",", 1));
    EXPECT_EQ(L"", GetToken(L"a,b,,c", L",", 2));
    EXPECT_EQ(L"c", GetToken(L"a,b,,c", L",", 3));
    EXPECT_EQ(L"", GetToken(L"a,b,,c", L",", 4));
    EXPECT_EQ(L"abc", GetToken(L"abc", L",", 0));
    EXPECT_EQ(L" x ", GetToken(L"a, x ,b", L",", 1)) << "blanks stay";
    EXPECT_EQ(L"2", GetToken(L"1::2", L"::", 1));
}

TEST_F(FileHelpersTest, PathSplitting)
{
    EXPECT_EQ(L"\\Windows\\", FolderOf(L"\\Windows\\PIResources.dll"));
    EXPECT_EQ(L"", FolderOf(L"PIResources.dll"));
    EXPECT_EQ(L"\\Temp\\", RemoveBackslash(L"\\Temp\\\\"));
    EXPECT_EQ(L"\\Temp", RemoveBackslash(L"\\Temp"));
    EXPECT_EQ(L"\\Temp\\", AddBackslash(L"\\Temp"));
    EXPECT_EQ(L"\\Temp\\", AddBackslash(L"\\Temp\\"));
    EXPECT_EQ(L"\\", AddBackslash(L""));
}

TEST_F(FileHelpersTest, DevicePathsHaveNoDriveLetter)
{
    EXPECT_EQ(L"\\Windows\\StartUp", platform::GetSpecialFolderPath(7));
    EXPECT_EQ(L"\\Program Files", platform::GetSpecialFolderPath(38));
    EXPECT_EQ(L"", platform::GetSpecialFolderPath(9999));
    const std::wstring folder = GetProgramFolder();
    EXPECT_EQ(L'\\', folder.back()) << folder;
}

TEST_F(FileHelpersTest, ProgramOnDeviceDriveHasDrivelessFolder)
{
    wchar_t self[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    ASSERT_TRUE(CreatePath(L"\\Program Files\\Dorix"));
    ASSERT_TRUE(::CopyFileW(self, L"\\Program Files\\Dorix\\probe.exe", FALSE));
    PROCESS_INFORMATION pi{};
    // The child would wipe the device in its fixture: it runs only the printing test below,
    // which writes its answer to a file.
    ::SetEnvironmentVariableW(L"DORIX_PROGRAM_FOLDER_CHILD", L"1");
    const bool started = StartProgram(L"\\Program Files\\Dorix\\probe.exe",
                                      L"--gtest_filter=FileHelpersChild.PrintProgramFolder", pi);
    ::SetEnvironmentVariableW(L"DORIX_PROGRAM_FOLDER_CHILD", nullptr);
    ASSERT_TRUE(started);
    ::WaitForSingleObject(pi.hProcess, 30000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    EXPECT_EQ("\\Program Files\\Dorix\\", ReadFileBytes(L"\\Temp\\program-folder.txt"));
}

// Not a test of its own: run in a child process by the test above, which marks it so.
TEST(FileHelpersChild, PrintProgramFolder)
{
    if (::GetEnvironmentVariableW(L"DORIX_PROGRAM_FOLDER_CHILD", nullptr, 0) == 0)
        GTEST_SKIP() << "runs only as the child of ProgramOnDeviceDriveHasDrivelessFolder";
    const std::wstring folder = GetProgramFolder();
    WriteFileBytes(L"\\Temp\\program-folder.txt", std::string(folder.begin(), folder.end()));
}

TEST_F(FileHelpersTest, FormatResourceStringInsertsArguments)
{
    EXPECT_EQ(L"Cannot replace file \"\\Windows\\a.dll\". Close all running applications and try again.",
              FormatResourceString(IDS_CANNOT_REPLACE_FILE, {L"\\Windows\\a.dll"}));
    EXPECT_EQ(L"File \"x\" not found within zip-archive \"%1 y\".",
              FormatResourceString(IDS_ZIP_ENTRY_NOT_FOUND, {L"x", L"%1 y"}))
        << "arguments are not formatted again";
    EXPECT_EQ(L"b-a", FormatText(L"%2-%1", {L"a", L"b"}));
    EXPECT_THROW(FormatResourceString(12345), CResourceException);
    const std::wstring longText = LoadResourceString(IDS_UNSUPPORTED_DEVICE);
    EXPECT_GT(longText.size(), 256u);
    EXPECT_EQ(L"AT YOUR OWN RISK.", longText.substr(longText.size() - 17)) << "whole";
}

// Every failure of the program is an `error`, reported in one stop box under the program's
// title; a damaged program says so rather than "Unknown error".
TEST_F(FileHelpersTest, EveryFailureIsReportedAsAnErrorUnderTheTitle)
{
    const auto report = [](auto thrown) {
        try {
            throw thrown;
        } catch (...) {
            ReportCurrentException();
        }
    };
    for (int i = 0; i < 3; ++i)
        AnswerNextBox(IDOK);
    report(CResourceException(12345));
    report(CFileException(L"\\Windows\\gone.txt", ERROR_FILE_NOT_FOUND));
    report(42);
    ASSERT_EQ(3u, m_boxes.size());
    EXPECT_EQ(LoadResourceString(IDS_RESOURCE_ERROR), m_boxes[0].text);
    EXPECT_NE(std::wstring::npos, m_boxes[1].text.find(L"\\Windows\\gone.txt")) << ::testing::PrintToString(m_boxes[1].text);
    EXPECT_EQ(L"Unknown error", m_boxes[2].text);
    for (const MessageBoxRequest& box : m_boxes) {
        EXPECT_EQ(L"Dorix", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), box.style);
    }
}

TEST_F(FileHelpersTest, LastErrorTextNamesTheErrorOrItsNumber)
{
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    const std::wstring text = LastErrorText();
    EXPECT_FALSE(text.empty());
    EXPECT_NE(L'\n', text.empty() ? L'\n' : text.back()) << "no line end: " << ::testing::PrintToString(text);
    // A code of the applications' own range, which no system has a message for.
    EXPECT_EQ(L"error 536870913", SystemErrorText(0x20000001));
    EXPECT_EQ(L"Cannot access file \"\\x.txt\". error 536870913",
              CFileException(L"\\x.txt", 0x20000001).GetMessage());
}

// A CE thread has 64 KB of stack for everything it calls.
TEST_F(FileHelpersTest, ReadAllReadsTheRestOfTheFileOnLittleStack)
{
    std::string bytes(300000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 13 + i / 1000);
    WriteFileBytes(L"\\Temp\\all.bin", bytes);
    std::vector<char> rest{'s', 'e', 'n', 't', 'i', 'n', 'e', 'l'};
    const size_t used = StackUsedBy([&] {
        CFile file(L"\\Temp\\all.bin", CFile::modeRead);
        file.Seek(1000, FILE_BEGIN);
        rest = file.ReadAll();
    });
    EXPECT_EQ(bytes.substr(1000), std::string(rest.begin(), rest.end()));
    EXPECT_LT(used, 16u << 10) << "bytes of stack";
}

TEST_F(FileHelpersTest, ExtractResourceWritesItsBytes)
{
    // The string table block of strings 57344..57359 is a resource of type RT_STRING.
    const UINT block = IDS_APP_TITLE / 16 + 1;
    EXPECT_TRUE(ExtractResource(nullptr, block, RT_STRING, L"\\Temp\\block.bin"));
    const std::string bytes = ReadFileBytes(L"\\Temp\\block.bin");
    EXPECT_EQ(5, bytes[0]) << "length of \"Dorix\"";
    EXPECT_FALSE(ExtractResource(nullptr, 4242, RT_RCDATA, L"\\Temp\\none.bin"));
    EXPECT_FALSE(FileExists(L"\\Temp\\none.bin"));
}

TEST_F(FileHelpersTest, PumpMessagesDispatchesPending)
{
    static int received = 0;
    received = 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_APP)
            ++received;
        return ::DefWindowProcW(h, m, w, l);
    };
    wc.lpszClassName = L"DorixPumpTest";
    wc.hInstance = ::GetModuleHandleW(nullptr);
    ::RegisterClassW(&wc);
    HWND window = ::CreateWindowW(L"DorixPumpTest", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, window);
    ::PostMessageW(window, WM_APP, 0, 0);
    ::PostMessageW(window, WM_APP, 0, 0);
    PumpMessages();
    EXPECT_EQ(2, received);
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ::DestroyWindow(window);
}

}  // namespace

// The rules of the device's own DLLs where the desktop is more lenient, as the simulated
// device's stand-ins of coredll.dll, commctrl.dll and aygshell.dll (device/ce) enforce them,
// and the functions only CE has. The functions only CE has are called through the import
// libraries made from the project's lists (cmake/ce); the CE forms of the desktop's names
// through GetProcAddress on the stand-in, as this test's own desktop calls go to the desktop.
//
// The program itself also serves as the child the process tests start ("child MODE FILE").
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include "framework/AygShell.h"

// The functions only CE has, from the stand-ins through the import libraries.
extern "C" {
__declspec(dllimport) BOOL WINAPI KernelIoControl(DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD);
__declspec(dllimport) BOOL WINAPI SHCreateShortcut(LPWSTR, LPWSTR);
}

namespace {

constexpr DWORD kIoctlHalReboot = 0x0101003C;
constexpr UINT kSpiGetOemInfo = 258;
constexpr DWORD kShcmbfHmenu = 0x0010;
constexpr UINT kShcmbmGetMenu = WM_USER + 402;
constexpr UINT kShcmbmGetSubMenu = WM_USER + 401;
const HANDLE kCeCurrentProcess = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x42));
// cerules_test.rc
constexpr UINT kMenuId = 200;
constexpr UINT kBarId = 201;
constexpr int kStripId = 202;

HMODULE Dll(const wchar_t* name)
{
    HMODULE module = ::LoadLibraryW(name);
    EXPECT_TRUE(module) << "the stand-in cannot be loaded, error " << ::GetLastError();
    return module;
}

// The module's export name as a function of type F.
template <typename F>
F* Proc(HMODULE module, const char* name)
{
    return reinterpret_cast<F*>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// coredll's export name, as the function of the desktop's type F.
template <typename F>
F* Ce(const char* name)
{
    F* function = Proc<F>(Dll(L"coredll.dll"), name);
    EXPECT_TRUE(function) << "coredll exports no " << name;
    return function;
}

// The names of a list of the project's, cmake/ce/<dll>.def.
std::vector<std::string> ListedNames(const std::wstring& dll)
{
    std::ifstream in(CERULES_LIST_DIR + std::string("/") + std::string(dll.begin(), dll.end()) + ".def");
    std::vector<std::string> names;
    bool exports = false;
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find(';'));
        std::istringstream words(line);
        std::string word;
        if (!(words >> word))
            continue;
        if (word == "EXPORTS")
            exports = true;
        else if (exports)
            names.push_back(word);
    }
    return names;
}

std::string ReadFile(const wchar_t* path)
{
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(none)";
    char buffer[1024];
    DWORD read = 0;
    ::ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    ::CloseHandle(file);
    return std::string(buffer, read);
}

void WriteFile(const wchar_t* path, const std::string& text)
{
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

// Files and keys of the tests, removed before and after each.
class CeRules : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        ::CreateDirectoryW(L"\\Temp", nullptr);
        ::CreateDirectoryW(L"\\Windows", nullptr);
        for (const wchar_t* file : {L"\\Temp\\cerules.txt", L"\\Temp\\cerules.lnk", L"\\Temp\\cerules-moved.txt",
                                    L"\\Temp\\cerules-child.exe", L"\\Temp\\cerules-child.txt", L"\\Temp\\reset"})
            ::DeleteFileW(file);
        ::RemoveDirectoryW(L"\\Temp\\cerules");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\DorixTest\\CeRules");
    }
};

// ----- the exports -----

TEST(CeExports, EveryListedNameIsExportedByItsStandIn)
{
    for (const wchar_t* dll : {L"coredll", L"commctrl", L"aygshell"}) {
        HMODULE module = Dll((std::wstring(dll) + L".dll").c_str());
        ASSERT_TRUE(module);
        const std::vector<std::string> names = ListedNames(dll);
        EXPECT_FALSE(names.empty()) << "cannot read the list of " << dll;
        // GetProcAddress follows a forwarder to the desktop DLL: a forward to a function Wine
        // lacks fails here.
        for (const std::string& name : names)
            EXPECT_TRUE(::GetProcAddress(module, name.c_str())) << name << " of " << dll;
    }
}

TEST(CeExports, CoredllHasNoEnvironmentAndNoCurrentDirectory)
{
    HMODULE coredll = Dll(L"coredll.dll");
    for (const char* name : {"GetEnvironmentVariableW", "SetEnvironmentVariableW", "GetCurrentDirectoryW",
                             "SetCurrentDirectoryW", "GetFullPathNameW"})
        EXPECT_FALSE(::GetProcAddress(coredll, name)) << name;
}

TEST(CeExports, WindowLongsArePointerWide)
{
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    auto* set = Ce<decltype(::SetWindowLongPtrW)>("SetWindowLongW");
    auto* get = Ce<decltype(::GetWindowLongPtrW)>("GetWindowLongW");
    const LONG_PTR wide = static_cast<LONG_PTR>(0x123456789ABCLL);
    set(window, GWLP_USERDATA, wide);
    EXPECT_EQ(wide, get(window, GWLP_USERDATA));
    ::DestroyWindow(window);
}

TEST(CeExports, NamesWithoutTheWAreTheUnicodeFunctions)
{
    using LoadImageList = HIMAGELIST WINAPI(HINSTANCE, LPCWSTR, int, int, COLORREF, UINT, UINT);
    auto* load = Ce<LoadImageList>("ImageList_LoadImage");
    ASSERT_TRUE(load);
    HIMAGELIST list = load(::GetModuleHandleW(nullptr), L"CERULESSTRIP", 8, 0, CLR_NONE, IMAGE_BITMAP, 0);
    ASSERT_TRUE(list) << "the resource's name is wide text";
    EXPECT_EQ(3, ::ImageList_GetImageCount(list));
    ::ImageList_Destroy(list);
}

// ----- the soft reset -----

TEST_F(CeRules, KernelIoControlWithoutAHostFails)
{
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", nullptr);
    ::SetLastError(0);
    EXPECT_FALSE(KernelIoControl(kIoctlHalReboot, nullptr, 0, nullptr, 0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_SUPPORTED), ::GetLastError());
}

TEST_F(CeRules, KernelIoControlKnowsOnlyTheReboot)
{
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", L"\\Temp\\reset");
    EXPECT_FALSE(KernelIoControl(0x01010054, nullptr, 0, nullptr, 0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_SUPPORTED), ::GetLastError());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(L"\\Temp\\reset")) << "no request for another code";
}

TEST_F(CeRules, ARequestPendingAlreadyIsRefused)
{
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", L"\\Temp\\reset");
    WriteFile(L"\\Temp\\reset", "1\n");
    EXPECT_FALSE(KernelIoControl(kIoctlHalReboot, nullptr, 0, nullptr, 0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_BUSY), ::GetLastError());
    EXPECT_EQ("1\n", ReadFile(L"\\Temp\\reset")) << "someone else's request stays";
}

TEST_F(CeRules, ARequestNobodyAcceptsIsWithdrawnAfterThreeSeconds)
{
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", L"\\Temp\\reset");
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(KernelIoControl(kIoctlHalReboot, nullptr, 0, nullptr, 0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_TIMEOUT), ::GetLastError());
    EXPECT_GE(::GetTickCount() - start, 2900u);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(L"\\Temp\\reset"));
}

TEST_F(CeRules, AnAcceptedRequestNeverReturns)
{
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", L"\\Temp\\reset");
    static volatile LONG returned = 0;
    std::thread caller([] {
        KernelIoControl(kIoctlHalReboot, nullptr, 0, nullptr, 0, nullptr);
        ::InterlockedExchange(&returned, 1);
    });
    // The host: takes the request by renaming it away.
    std::string request;
    for (int i = 0; i < 100 && !::MoveFileW(L"\\Temp\\reset", L"\\Temp\\cerules.txt"); ++i)
        ::Sleep(20);
    request = ReadFile(L"\\Temp\\cerules.txt");
    EXPECT_EQ(std::to_string(::GetCurrentProcessId()) + "\n", request) << "the request names the requester";
    ::Sleep(3500);
    EXPECT_EQ(0, returned) << "the host ends the process; the call must not come back";
    // The process ends with the caller still waiting.
    caller.detach();
}

// ----- processes -----

std::wstring SelfPath()
{
    wchar_t self[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

// This program as "\Temp\cerules-child.exe", for CE's CreateProcessW to start.
void CopyChild()
{
    ASSERT_TRUE(::CopyFileW(SelfPath().c_str(), L"\\Temp\\cerules-child.exe", FALSE));
}

DWORD RunToEnd(const PROCESS_INFORMATION& info)
{
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(info.hProcess, 30000));
    DWORD code = 0;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return code;
}

using CreateProcessType = decltype(::CreateProcessW);

TEST_F(CeRules, CreateProcessRefusesWhatCeHasNot)
{
    auto* create = Ce<CreateProcessType>("CreateProcessW");
    ASSERT_TRUE(create);
    PROCESS_INFORMATION info{};
    wchar_t arguments[] = L"child exit \\Temp\\cerules-child.txt";
    const wchar_t* image = L"\\Temp\\cerules-child.exe";
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, FALSE};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    wchar_t folder[] = L"\\Temp";
    wchar_t environment[] = L"A=1\0";
    struct Case {
        const char* what;
        BOOL result;
    };
    const Case cases[] = {
        {"no image name", create(nullptr, arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info)},
        {"process attributes", create(image, arguments, &security, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info)},
        {"thread attributes", create(image, arguments, nullptr, &security, FALSE, 0, nullptr, nullptr, nullptr, &info)},
        {"inherited handles", create(image, arguments, nullptr, nullptr, TRUE, 0, nullptr, nullptr, nullptr, &info)},
        {"an environment",
         create(image, arguments, nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, environment, nullptr, nullptr, &info)},
        {"a current directory", create(image, arguments, nullptr, nullptr, FALSE, 0, nullptr, folder, nullptr, &info)},
        {"start-up information", create(image, arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.result) << c.what;
    }
    ::SetLastError(0);
    EXPECT_FALSE(create(image, arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), ::GetLastError());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(L"\\Temp\\cerules-child.txt")) << "nothing ran";
}

// The arguments are the command line after the image, which gets ".exe" when it has none.
TEST_F(CeRules, CreateProcessTakesTheArgumentsAfterTheImageAndRefusesADrive)
{
    CopyChild();
    auto* create = Ce<CreateProcessType>("CreateProcessW");
    ASSERT_TRUE(create);
    PROCESS_INFORMATION info{};
    wchar_t arguments[] = L"child record \\Temp\\cerules-child.txt";
    ASSERT_TRUE(create(L"\\Temp\\cerules-child", arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(0u, RunToEnd(info));
    EXPECT_EQ("\"\\Temp\\cerules-child.exe\" child record \\Temp\\cerules-child.txt",
              ReadFile(L"\\Temp\\cerules-child.txt"));
    EXPECT_FALSE(create(L"D:\\Temp\\cerules-child.exe", arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        nullptr, &info));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), ::GetLastError());
}

TEST_F(CeRules, TerminateProcessTakesCesPseudoHandleOfTheCurrentProcess)
{
    CopyChild();
    auto* create = Ce<CreateProcessType>("CreateProcessW");
    ASSERT_TRUE(create);
    PROCESS_INFORMATION info{};
    wchar_t arguments[] = L"child terminate \\Temp\\cerules-child.txt";
    ASSERT_TRUE(create(L"\\Temp\\cerules-child.exe", arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                       &info));
    EXPECT_EQ(7u, RunToEnd(info)) << "the child ended itself through 0x42 with exit code 7";
}

TEST_F(CeRules, TerminateProcessTakesOtherHandlesAsTheyAre)
{
    CopyChild();
    auto* create = Ce<CreateProcessType>("CreateProcessW");
    auto* terminate = Ce<decltype(::TerminateProcess)>("TerminateProcess");
    ASSERT_TRUE(create && terminate);
    PROCESS_INFORMATION info{};
    wchar_t arguments[] = L"child wait \\Temp\\cerules-child.txt";
    ASSERT_TRUE(create(L"\\Temp\\cerules-child.exe", arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                       &info));
    EXPECT_TRUE(terminate(info.hProcess, 9));
    EXPECT_EQ(9u, RunToEnd(info));
}

TEST_F(CeRules, GetOwnerProcessIsTheCallingProcess)
{
    auto* owner = Proc<DWORD WINAPI()>(Dll(L"coredll.dll"), "GetOwnerProcess");
    ASSERT_TRUE(owner);
    EXPECT_EQ(::GetCurrentProcessId(), owner());
}

// ----- paths -----

TEST_F(CeRules, FileFunctionsRefuseADriveLetter)
{
    WriteFile(L"\\Temp\\cerules.txt", "x");
    auto refused = [](const char* what, bool failed) {
        EXPECT_TRUE(failed) << what << " took a drive letter";
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), ::GetLastError()) << what;
    };
    WIN32_FIND_DATAW found{};
    wchar_t name[MAX_PATH] = L"";
    SHFILEINFOW shell{};
    refused("CreateFileW", Ce<decltype(::CreateFileW)>("CreateFileW")(L"D:\\Temp\\cerules.txt", GENERIC_READ, 0, nullptr,
                                                                      OPEN_EXISTING, 0, nullptr) == INVALID_HANDLE_VALUE);
    refused("FindFirstFileW",
            Ce<decltype(::FindFirstFileW)>("FindFirstFileW")(L"D:\\Temp\\*", &found) == INVALID_HANDLE_VALUE);
    refused("DeleteFileW", !Ce<decltype(::DeleteFileW)>("DeleteFileW")(L"D:\\Temp\\cerules.txt"));
    refused("MoveFileW", !Ce<decltype(::MoveFileW)>("MoveFileW")(L"\\Temp\\cerules.txt", L"D:\\Temp\\cerules-moved.txt"));
    refused("CopyFileW",
            !Ce<decltype(::CopyFileW)>("CopyFileW")(L"D:\\Temp\\cerules.txt", L"\\Temp\\cerules-moved.txt", FALSE));
    refused("CreateDirectoryW", !Ce<decltype(::CreateDirectoryW)>("CreateDirectoryW")(L"D:\\Temp\\cerules", nullptr));
    refused("RemoveDirectoryW", !Ce<decltype(::RemoveDirectoryW)>("RemoveDirectoryW")(L"D:\\Temp"));
    refused("GetFileAttributesW", Ce<decltype(::GetFileAttributesW)>("GetFileAttributesW")(L"D:\\Temp\\cerules.txt")
                                      == INVALID_FILE_ATTRIBUTES);
    refused("SetFileAttributesW",
            !Ce<decltype(::SetFileAttributesW)>("SetFileAttributesW")(L"D:\\Temp\\cerules.txt", FILE_ATTRIBUTE_NORMAL));
    refused("GetTempFileNameW", !Ce<decltype(::GetTempFileNameW)>("GetTempFileNameW")(L"D:\\Temp", L"ce", 0, name));
    refused("SHGetFileInfo", !Ce<decltype(::SHGetFileInfoW)>("SHGetFileInfo")(L"D:\\Temp\\cerules.txt", 0, &shell,
                                                                             sizeof shell, SHGFI_ATTRIBUTES));
    refused("LoadImageW", !Ce<decltype(::LoadImageW)>("LoadImageW")(nullptr, L"D:\\Temp\\cerules.bmp", IMAGE_BITMAP, 0,
                                                                     0, LR_LOADFROMFILE));
    EXPECT_EQ("x", ReadFile(L"\\Temp\\cerules.txt")) << "nothing was changed";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(L"\\Temp\\cerules-moved.txt"));
}

TEST_F(CeRules, FileFunctionsTakeDeviceForms)
{
    WriteFile(L"\\Temp\\cerules.txt", "x");
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, Ce<decltype(::GetFileAttributesW)>("GetFileAttributesW")(L"\\Temp\\cerules.txt"));
    EXPECT_TRUE(Ce<decltype(::MoveFileW)>("MoveFileW")(L"\\Temp\\cerules.txt", L"\\Temp\\cerules-moved.txt"));
    EXPECT_TRUE(Ce<decltype(::CreateDirectoryW)>("CreateDirectoryW")(L"\\Temp\\cerules", nullptr));
    EXPECT_TRUE(Ce<decltype(::RemoveDirectoryW)>("RemoveDirectoryW")(L"\\Temp\\cerules"));
    EXPECT_TRUE(Ce<decltype(::DeleteFileW)>("DeleteFileW")(L"\\Temp\\cerules-moved.txt"));
}

TEST_F(CeRules, PathsTheSystemGivesHaveNoDrive)
{
    // A module on the device: a copy of commctrl's stand-in, loaded from "\Temp".
    wchar_t standIn[MAX_PATH] = L"";
    ASSERT_TRUE(::GetModuleFileNameW(Dll(L"commctrl.dll"), standIn, MAX_PATH));
    ASSERT_TRUE(::CopyFileW(standIn, L"\\Temp\\cerules-module.dll", FALSE));
    const HMODULE copy = ::LoadLibraryW(L"\\Temp\\cerules-module.dll");
    ASSERT_TRUE(copy) << "error " << ::GetLastError();
    wchar_t path[MAX_PATH] = L"sentinel";
    const auto moduleName = Ce<decltype(::GetModuleFileNameW)>("GetModuleFileNameW");
    const DWORD length = moduleName(copy, path, MAX_PATH);
    EXPECT_EQ(L"\\Temp\\cerules-module.dll", std::wstring(path, length)) << "the module's path has no drive";
    ::FreeLibrary(copy);
    // The test programs themselves run from the build's folders on the host's drive, which
    // the device has not: their paths are given as they are.
    EXPECT_EQ(SelfPath(), std::wstring(path, moduleName(nullptr, path, MAX_PATH)));

    auto* temp = Proc<DWORD WINAPI(DWORD, LPWSTR)>(Dll(L"coredll.dll"), "GetTempPathW");
    ASSERT_TRUE(temp);
    EXPECT_EQ(6u, temp(MAX_PATH, path));
    EXPECT_STREQ(L"\\Temp\\", path);
    EXPECT_EQ(7u, temp(3, path)) << "a short buffer is told the size it needs";
}

// ----- the shell's functions -----

TEST_F(CeRules, ShortcutIsTheTargetsLengthAndTextInTheCodePage)
{
    wchar_t shortcut[] = L"\\Temp\\cerules.lnk";
    wchar_t target[] = L"\"\\Program Files\\Dorix\\dorix.exe\" KEEP";
    ASSERT_TRUE(SHCreateShortcut(shortcut, target)) << ::GetLastError();
    EXPECT_EQ("37#\"\\Program Files\\Dorix\\dorix.exe\" KEEP", ReadFile(shortcut));
}

TEST_F(CeRules, ShortcutDoesNotReplaceAFile)
{
    wchar_t shortcut[] = L"\\Temp\\cerules.lnk";
    wchar_t target[] = L"\\Windows\\pixels.exe";
    WriteFile(shortcut, "old");
    EXPECT_FALSE(SHCreateShortcut(shortcut, target));
    EXPECT_EQ("old", ReadFile(shortcut));
}

TEST_F(CeRules, ShortcutRefusesWhatTheCodePageCannotHoldAndADrive)
{
    wchar_t shortcut[] = L"\\Temp\\cerules.lnk";
    if (::GetACP() == CP_UTF8)
        GTEST_SKIP() << "the code page holds every character";
    wchar_t target[] = L"\\Windows\\\x4E00.exe";
    EXPECT_FALSE(SHCreateShortcut(shortcut, target));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), ::GetLastError());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(shortcut));
    wchar_t driveShortcut[] = L"D:\\Temp\\cerules.lnk";
    wchar_t plain[] = L"\\Windows\\pixels.exe";
    EXPECT_FALSE(SHCreateShortcut(driveShortcut, plain));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), ::GetLastError());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(shortcut));
}

TEST_F(CeRules, SpecialFoldersAreThePocketPcsWithoutADrive)
{
    auto* folder = Ce<BOOL WINAPI(HWND, LPWSTR, int, BOOL)>("SHGetSpecialFolderPath");
    ASSERT_TRUE(folder);
    const std::pair<int, const wchar_t*> table[] = {
        {36, L"\\Windows"}, {38, L"\\Program Files"}, {7, L"\\Windows\\StartUp"},
        {2, L"\\Windows\\Start Menu\\Programs"}, {5, L"\\My Documents"}, {6, L"\\Windows\\Favorites"},
        {20, L"\\Windows\\Fonts"}, {8, L"\\Windows\\Recent"}};
    for (const auto& [csidl, expected] : table) {
        wchar_t path[MAX_PATH] = L"";
        EXPECT_TRUE(folder(nullptr, path, csidl, FALSE)) << csidl;
        EXPECT_STREQ(expected, path) << csidl;
    }
    wchar_t path[MAX_PATH] = L"";
    ::SetLastError(0);
    EXPECT_FALSE(folder(nullptr, path, 26, FALSE)) << "CSIDL_APPDATA is none of the device's";
    EXPECT_NE(0u, ::GetLastError());
}

TEST_F(CeRules, SpecialFolderIsCreatedWhenAsked)
{
    auto* folder = Ce<BOOL WINAPI(HWND, LPWSTR, int, BOOL)>("SHGetSpecialFolderPath");
    ASSERT_TRUE(folder);
    ::RemoveDirectoryW(L"\\Windows\\Start Menu\\Programs");
    ::RemoveDirectoryW(L"\\Windows\\Start Menu");
    wchar_t path[MAX_PATH] = L"";
    ASSERT_TRUE(folder(nullptr, path, 2, FALSE));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(path)) << "not created unasked";
    ASSERT_TRUE(folder(nullptr, path, 2, TRUE));
    EXPECT_TRUE(::GetFileAttributesW(path) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(path));
    ::RemoveDirectoryW(L"\\Windows\\Start Menu\\Programs");
    ::RemoveDirectoryW(L"\\Windows\\Start Menu");
}

// ----- system parameters and the registry -----

class OemInfo : public CeRules {
protected:
    void SetUp() override
    {
        CeRules::SetUp();
        HKEY key = nullptr;
        m_existed = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Platform", 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (key)
            ::RegCloseKey(key);
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Platform", 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, &key, nullptr));
        DWORD size = sizeof m_saved;
        m_hadValue = ::RegQueryValueExW(key, L"OEMInfo", nullptr, nullptr, reinterpret_cast<BYTE*>(m_saved), &size)
                     == ERROR_SUCCESS;
        const wchar_t text[] = L"TOSHIBA e805";
        ::RegSetValueExW(key, L"OEMInfo", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
        ::RegCloseKey(key);
    }
    void TearDown() override
    {
        if (!m_existed) {
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Platform");
        } else {
            HKEY key = nullptr;
            ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Platform", 0, KEY_ALL_ACCESS, &key);
            if (m_hadValue)
                ::RegSetValueExW(key, L"OEMInfo", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_saved),
                                 static_cast<DWORD>((::lstrlenW(m_saved) + 1) * sizeof(wchar_t)));
            else
                ::RegDeleteValueW(key, L"OEMInfo");
            ::RegCloseKey(key);
        }
        CeRules::TearDown();
    }
    bool m_existed = false;
    bool m_hadValue = false;
    wchar_t m_saved[256] = L"";
};

TEST_F(OemInfo, OemTextComesFromThePlatformKeyInABufferOfBytes)
{
    auto* spi = Ce<decltype(::SystemParametersInfoW)>("SystemParametersInfoW");
    ASSERT_TRUE(spi);
    wchar_t text[64] = L"";
    const UINT needed = sizeof L"TOSHIBA e805";
    ASSERT_TRUE(spi(kSpiGetOemInfo, needed, text, 0));
    EXPECT_STREQ(L"TOSHIBA e805", text);
    wchar_t small[64] = L"untouched";
    ::SetLastError(0);
    EXPECT_FALSE(spi(kSpiGetOemInfo, needed - 1, small, 0)) << "the size is in bytes, the zero included";
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), ::GetLastError());
    EXPECT_STREQ(L"untouched", small);
}

TEST_F(OemInfo, ALongOemTextIsGivenWholeOrNotAtAll)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Platform", 0, KEY_SET_VALUE, &key));
    const std::wstring text(300, L'x');
    ::RegSetValueExW(key, L"OEMInfo", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    auto* spi = Ce<decltype(::SystemParametersInfoW)>("SystemParametersInfoW");
    ASSERT_TRUE(spi);
    wchar_t small[128] = L"";
    EXPECT_FALSE(spi(kSpiGetOemInfo, sizeof small, small, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), ::GetLastError());
    wchar_t whole[301] = L"";
    ASSERT_TRUE(spi(kSpiGetOemInfo, sizeof whole, whole, 0));
    EXPECT_EQ(text, whole);
}

TEST_F(CeRules, OtherSystemParametersAreTheDesktops)
{
    auto* spi = Ce<decltype(::SystemParametersInfoW)>("SystemParametersInfoW");
    ASSERT_TRUE(spi);
    RECT ce{}, desktop{};
    ASSERT_TRUE(spi(SPI_GETWORKAREA, 0, &ce, 0));
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0));
    EXPECT_TRUE(::EqualRect(&ce, &desktop));
}

TEST_F(CeRules, RegDeleteKeyDeletesTheKeyWithAllItsSubkeys)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\DorixTest\\CeRules\\a\\b", 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const DWORD one = 1;
    ::RegSetValueExW(key, L"v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    ::RegCloseKey(key);
    auto* remove = Ce<decltype(::RegDeleteKeyW)>("RegDeleteKeyW");
    ASSERT_TRUE(remove);
    EXPECT_EQ(ERROR_SUCCESS, remove(HKEY_CURRENT_USER, L"Software\\DorixTest\\CeRules"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\DorixTest\\CeRules", 0, KEY_READ, &key));
    EXPECT_NE(ERROR_SUCCESS, remove(HKEY_CURRENT_USER, L"Software\\DorixTest\\CeRules")) << "gone already";
}

// ----- window classes -----

std::vector<UINT> g_messages;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_messages.push_back(message);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(CeRules, AWindowOfACeClassSeesWmCreateFirstAndNoNonClientCreationOrDestruction)
{
    auto* registerClass = Ce<decltype(::RegisterClassW)>("RegisterClassW");
    ASSERT_TRUE(registerClass);
    WNDCLASSW cls{};
    cls.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    cls.lpfnWndProc = RecordingProc;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.lpszClassName = L"CeRulesWindow";
    ASSERT_TRUE(registerClass(&cls)) << ::GetLastError();
    g_messages.clear();
    HWND window = ::CreateWindowExW(0, L"CeRulesWindow", L"ce", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                    cls.hInstance, nullptr);
    ASSERT_TRUE(window);
    ASSERT_FALSE(g_messages.empty());
    EXPECT_EQ(static_cast<UINT>(WM_CREATE), g_messages.front()) << "the first message is WM_CREATE";
    ::ShowWindow(window, SW_SHOW);
    ::SetWindowPos(window, nullptr, 0, 0, 120, 120, SWP_NOZORDER);
    ::DestroyWindow(window);
    const std::set<UINT> seen(g_messages.begin(), g_messages.end());
    EXPECT_TRUE(seen.count(WM_DESTROY));
    EXPECT_TRUE(seen.count(WM_SIZE)) << "the window's own messages arrive";
    EXPECT_FALSE(seen.count(WM_NCCREATE));
    EXPECT_FALSE(seen.count(WM_NCDESTROY));
    ::UnregisterClassW(L"CeRulesWindow", cls.hInstance);
}

TEST_F(CeRules, RegisterClassTakesOnlyCesStylesAndNoMenu)
{
    auto* registerClass = Ce<decltype(::RegisterClassW)>("RegisterClassW");
    ASSERT_TRUE(registerClass);
    WNDCLASSW cls{};
    cls.lpfnWndProc = RecordingProc;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.lpszClassName = L"CeRulesRefused";
    cls.style = CS_OWNDC;
    EXPECT_FALSE(registerClass(&cls));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), ::GetLastError());
    cls.style = 0;
    cls.lpszMenuName = L"Menu";
    EXPECT_FALSE(registerClass(&cls));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), ::GetLastError());
}

// ----- the menu bar -----

std::vector<std::pair<WPARAM, LPARAM>> g_commands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        g_commands.emplace_back(wParam, lParam);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

class MenuBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW cls{};
        cls.lpfnWndProc = ParentProc;
        cls.hInstance = ::GetModuleHandleW(nullptr);
        cls.lpszClassName = L"CeRulesParent";
        ::RegisterClassW(&cls);
        m_parent = ::CreateWindowExW(0, cls.lpszClassName, L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 294, nullptr,
                                     nullptr, cls.hInstance, nullptr);
        ASSERT_TRUE(m_parent);
        g_commands.clear();
    }
    void TearDown() override { ::DestroyWindow(m_parent); }

    SHMENUBARINFO Info(DWORD flags, UINT id) const
    {
        SHMENUBARINFO info{};
        info.cbSize = sizeof info;
        info.hwndParent = m_parent;
        info.dwFlags = flags;
        info.nToolBarId = id;
        info.hInstRes = ::GetModuleHandleW(nullptr);
        info.nBmpId = kStripId;
        info.cBmpImages = 3;
        return info;
    }
    static int Height()
    {
        const int shorter = std::min(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        return shorter >= 480 ? 52 : 26;
    }
    static RECT RectIn(HWND hwnd, HWND parent)
    {
        RECT rect{};
        ::GetWindowRect(hwnd, &rect);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    static std::wstring Text(HWND hwnd)
    {
        wchar_t text[64] = L"";
        ::GetWindowTextW(hwnd, text, 64);
        return text;
    }
    HWND m_parent = nullptr;
};

TEST_F(MenuBar, MenuTitlesAreButtonsOfTheBarAcrossTheParentsBottom)
{
    SHMENUBARINFO info = Info(kShcmbfHmenu, kMenuId);
    ASSERT_TRUE(SHCreateMenuBar(&info)) << ::GetLastError();
    const HWND bar = info.hwndMB;
    ASSERT_TRUE(bar);
    EXPECT_EQ(m_parent, ::GetParent(bar));
    EXPECT_EQ(bar, ::GetDlgItem(m_parent, 0xE800));
    EXPECT_TRUE(::GetWindowLongW(bar, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(::IsWindowVisible(bar));
    EXPECT_EQ(L"", Text(bar));
    RECT client{};
    ::GetClientRect(m_parent, &client);
    const RECT place = RectIn(bar, m_parent);
    const RECT bottom{0, client.bottom - Height(), client.right, client.bottom};
    EXPECT_TRUE(::EqualRect(&place, &bottom)) << "full width at the bottom, " << Height() << " high";

    const HWND tools = ::GetDlgItem(bar, 0xE801);
    const HWND view = ::GetDlgItem(bar, 0xE802);
    ASSERT_TRUE(tools && view);
    EXPECT_EQ(L"Tools", Text(tools));
    EXPECT_EQ(L"View", Text(view));
    EXPECT_EQ(tools, ::GetWindow(bar, GW_CHILD)) << "the first title is the bar's first child";
    EXPECT_TRUE(::IsWindowVisible(tools));
    const RECT first = RectIn(tools, bar), second = RectIn(view, bar);
    EXPECT_EQ(0, first.left);
    EXPECT_EQ(first.right, second.left) << "left to right";
    EXPECT_EQ(Height() / 26, first.top) << "below the line along the bar's top";
    EXPECT_EQ(Height(), first.bottom);

    const HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(bar, kShcmbmGetMenu, 0, 0));
    ASSERT_TRUE(menu);
    EXPECT_EQ(2, ::GetMenuItemCount(menu));
    EXPECT_EQ(::GetSubMenu(menu, 1), reinterpret_cast<HMENU>(::SendMessageW(bar, kShcmbmGetSubMenu, 0, 0xE802)));
}

TEST_F(MenuBar, PictureButtonsCarryTheirCommandsAndATapSendsItToTheParent)
{
    SHMENUBARINFO info = Info(0, kBarId);
    ASSERT_TRUE(SHCreateMenuBar(&info)) << ::GetLastError();
    const HWND bar = info.hwndMB;
    const HWND first = ::GetDlgItem(bar, 2001), second = ::GetDlgItem(bar, 2003), text = ::GetDlgItem(bar, 2004);
    ASSERT_TRUE(first && second && text);
    EXPECT_FALSE(::GetDlgItem(bar, 0)) << "a separator is no button";
    const RECT a = RectIn(first, bar), b = RectIn(second, bar), c = RectIn(text, bar);
    EXPECT_EQ(a.bottom - a.top, a.right - a.left) << "a picture button is square";
    EXPECT_EQ(a.right, b.left);
    EXPECT_EQ(b.right, c.left);
    EXPECT_EQ(L"Menu", Text(text)) << "a button without a picture shows its string";

    ::SendMessageW(second, BM_CLICK, 0, 0);
    ASSERT_EQ(1u, g_commands.size());
    EXPECT_EQ(MAKEWPARAM(2003, BN_CLICKED), g_commands[0].first);
    EXPECT_EQ(reinterpret_cast<LPARAM>(second), g_commands[0].second);
}

TEST_F(MenuBar, TheBarLaysItsButtonsOutWhenItsSizeChanges)
{
    SHMENUBARINFO info = Info(kShcmbfHmenu, kMenuId);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    const HWND bar = info.hwndMB;
    ::MoveWindow(bar, 0, 0, 320, 2 * Height(), FALSE);
    const RECT title = RectIn(::GetDlgItem(bar, 0xE801), bar);
    EXPECT_EQ(2 * Height(), title.bottom) << "the buttons fill the bar's new height";
    RECT own{};
    ::GetWindowRect(bar, &own);
    EXPECT_EQ(2 * Height(), own.bottom - own.top) << "the bar's height is its window's";
}

TEST_F(MenuBar, TheBarIs26HighOnAQvgaScreen)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    if (std::min(width, height) >= 480)
        GTEST_SKIP() << "Wine's null graphics driver gives the tests a screen of " << width << "x" << height
                     << ", whose bar is 52 high (tested above); the device's end-to-end tests see the QVGA bar";
    SHMENUBARINFO info = Info(kShcmbfHmenu, kMenuId);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    RECT own{};
    ::GetWindowRect(info.hwndMB, &own);
    EXPECT_EQ(26, own.bottom - own.top);
}

TEST_F(MenuBar, ABadParentOrAMissingResourceIsRefused)
{
    SHMENUBARINFO info = Info(kShcmbfHmenu, kMenuId);
    info.hwndParent = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0xDEAD));
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), ::GetLastError());
    EXPECT_FALSE(info.hwndMB);

    info = Info(kShcmbfHmenu, 999);
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_NE(0u, ::GetLastError());
    info = Info(0, 999);
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_NE(0u, ::GetLastError());
    EXPECT_FALSE(::GetDlgItem(m_parent, 0xE800)) << "no bar is left behind";
}

// ----- the child the process tests start: "child MODE FILE" -----

int RunChild(const std::wstring& mode, const std::wstring& file)
{
    if (mode == L"record") {
        const std::wstring line = ::GetCommandLineW();
        WriteFile(file.c_str(), std::string(line.begin(), line.end()));
        return 0;
    }
    if (mode == L"terminate") {
        auto* terminate = Ce<decltype(::TerminateProcess)>("TerminateProcess");
        if (terminate)
            terminate(kCeCurrentProcess, 7);
        return 1;
    }
    if (mode == L"wait") {
        ::Sleep(30000);
        return 0;
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (count == 4 && std::wstring(words[1]) == L"child")
        return RunChild(words[2], words[3]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

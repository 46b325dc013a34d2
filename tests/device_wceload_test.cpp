// The device's "\Windows\wceload.exe" stand-in, started as the Today-theme installation starts
// it: the command line, the theme file's settings, the time-out a theme can provoke.
#include <windows.h>
#include "DeviceFixture.h"
#include "framework/Handle.h"
#include "state/Registry.h"

namespace {

class DeviceWceloadTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        // The build puts the device's programs in <build>/device; this test runs from <build>/tests.
        wchar_t self[MAX_PATH] = L"";
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring built(self);
        built = built.substr(0, built.find_last_of(L'\\'));
        built = built.substr(0, built.find_last_of(L'\\')) + L"\\device\\wceload.exe";
        ASSERT_TRUE(::CopyFileW(built.c_str(), L"\\Windows\\wceload.exe", FALSE)) << "wceload.exe not built beside the tests";
    }

    // Starts the installer for the theme as the device's theme switch does; the exit code, or
    // STILL_ACTIVE when it did not end within waitMs.
    DWORD Install(const std::wstring& theme, DWORD waitMs = 10000, const std::wstring& options = L"/delete 0")
    {
        PROCESS_INFORMATION info{};
        if (!StartProgram(L"\\Windows\\wceload.exe", L"/safe /noui /nouninstall " + options + L" \"" + theme + L"\"",
                          info))
            return 0xDEAD;
        CKernelHandle process(info.hProcess);
        CKernelHandle thread(info.hThread);
        if (::WaitForSingleObject(process.Get(), waitMs) != WAIT_OBJECT_0) {
            ::TerminateProcess(process.Get(), 0);
            return STILL_ACTIVE;
        }
        DWORD code = 0xBEEF;
        ::GetExitCodeProcess(process.Get(), &code);
        return code;
    }

    static DWORD Colour(const std::wstring& name)
    {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!GetRawValue(CRegistry::kLocalMachine, L"Software\\Microsoft\\Color", name, type, data)
            || type != REG_DWORD || data.size() != 4)
            return 0xFFFFFFFF;
        return *reinterpret_cast<const DWORD*>(data.data());
    }

    static std::wstring Wall()
    {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!GetRawValue(CRegistry::kCurrentUser, L"Software\\Microsoft\\Today", L"Wall", type, data)
            || type != REG_SZ)
            return L"<missing>";
        return std::wstring(reinterpret_cast<const wchar_t*>(data.data()));
    }
};

TEST_F(DeviceWceloadTest, AppliesColoursAndWallpaperAndKeepsTheFile)
{
    ASSERT_TRUE(::CreateDirectoryW(L"\\My Documents", nullptr));
    WriteFileBytes(L"\\My Documents\\sea.tsk", "; sea\r\nColor0=0x00FF8000\r\ncolor49 = 255\r\n\r\n"
                                               "Wallpaper=\\My Documents\\sea.jpg\r\n");
    EXPECT_EQ(0u, Install(L"\\My Documents\\sea.tsk"));
    EXPECT_EQ(0x00FF8000u, Colour(L"0"));
    EXPECT_EQ(255u, Colour(L"49"));
    EXPECT_EQ(0xFFFFFFFFu, Colour(L"1"));
    EXPECT_EQ(L"\\My Documents\\sea.jpg", Wall());
    EXPECT_TRUE(FileExists(L"\\My Documents\\sea.tsk"));
}

TEST_F(DeviceWceloadTest, DeleteOneRemovesTheInstalledFile)
{
    WriteFileBytes(L"\\Temp\\t.tsk", "Color3=3\n");
    EXPECT_EQ(0u, Install(L"\\Temp\\t.tsk", 10000, L"/delete 1"));
    EXPECT_EQ(3u, Colour(L"3"));
    EXPECT_FALSE(FileExists(L"\\Temp\\t.tsk"));
}

TEST_F(DeviceWceloadTest, MalformedThemesWriteNothing)
{
    for (const char* text : {"Color0=1\nColor50=2\n", "Color0=1\nColour1=2\n", "Color0=-1\n", "Color0=1\nSleep=x\n",
                             "Color0=1\njust text\n", "Color0=0x100000000\n", "Sleep=600001\n"}) {
        WriteFileBytes(L"\\Temp\\bad.tsk", text);
        EXPECT_EQ(3u, Install(L"\\Temp\\bad.tsk")) << text;
        EXPECT_EQ(0xFFFFFFFFu, Colour(L"0")) << text;
    }
}

TEST_F(DeviceWceloadTest, MissingFileAndBadCommandLine)
{
    EXPECT_EQ(2u, Install(L"\\Temp\\none.tsk"));
    WriteFileBytes(L"\\Temp\\t.tsk", "Color0=1\n");
    EXPECT_EQ(1u, Install(L"\\Temp\\t.tsk", 10000, L"/bogus"));
    EXPECT_EQ(0xFFFFFFFFu, Colour(L"0"));
}

TEST_F(DeviceWceloadTest, SleepOutlastsTheCallersWait)
{
    WriteFileBytes(L"\\Temp\\slow.tsk", "Sleep=3000\nColor0=1\n");
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), Install(L"\\Temp\\slow.tsk", 500));
    EXPECT_EQ(0xFFFFFFFFu, Colour(L"0")) << "nothing applied before the work is done";
}

}  // namespace

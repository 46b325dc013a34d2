#include "DeviceFixture.h"
#include "app/Installation.h"
#include "core/KeepMode.h"
#include "core/TouchCalibration.h"
#include "framework/Error.h"
#include "framework/Handle.h"
#include "platform/Shortcut.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/Registry.h"
#include "state/SettingsRegistry.h"
#include "state/VideoMode.h"

namespace {

const wchar_t kFactoryCalibration[] = L"522,509 910,884 905,140 140,133 146,880 ";
const wchar_t kRotatedCalibration[] = L"522,509 146,880 910,884 905,140 140,133 ";
const wchar_t kWiFiShortcut[] = L"\\Windows\\StartUp\\WiFi-Monitor.lnk";
const wchar_t kBluetoothShortcut[] = L"\\Windows\\StartUp\\BT-Monitor.lnk";

std::wstring ReadString(uint32_t root, const wchar_t* key, const wchar_t* name)
{
    return CRegistry(root, key).ReadString(nullptr, name, L"<missing>");
}

int32_t ReadDWord(uint32_t root, const wchar_t* key, const wchar_t* name)
{
    return CRegistry(root, key).ReadDWord(nullptr, name, -1);
}

// A device in its factory state: the ROM files and registry values that installation touches,
// on a Toshiba e805 with Bluetooth.
class InstallationTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        ASSERT_TRUE(::CreateDirectoryW(L"\\Windows\\StartUp", nullptr));
        for (const std::string name : {"detect.exe", "vq-select.exe", "keylock.exe", "tapadm.exe", "WTM.exe", "BPU.exe"})
            WriteFileBytes(L"\\Windows\\" + std::wstring(name.begin(), name.end()), "ROM file " + name.substr(0, 3));
        InstallSampleDriverTable();
        SetOemInfo(L"TOSHIBA e805");
        CRegistry(CRegistry::kLocalMachine, L"Software\\TOSHIBA\\Bluetooth\\BTSETUP").WriteString(nullptr, L"Version", L"1.2");
        CRegistry(CRegistry::kLocalMachine, L"init").WriteString(nullptr, L"Launch90", L"tapadm.exe");
        CRegistry(CRegistry::kLocalMachine, kTouchKey).WriteString(nullptr, L"CalibrationData", kFactoryCalibration);
        CRegistry(CRegistry::kLocalMachine, L"System\\GDI\\Rotation").WriteDWord(nullptr, L"Angle", 0);
        CRegistry(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode").WriteDWord(nullptr, L"VGAMode", 0);
    }

    void TearDown() override
    {
        // A read-only file would keep the next test's fresh device from being emptied.
        ::SetFileAttributesW(L"\\Windows\\atihwtbl0.txt", FILE_ATTRIBUTE_NORMAL);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Platform");
        DeviceTest::TearDown();
    }

    // The OEM text is the device image's; the fixture does not reset this key by itself.
    static void SetOemInfo(const wchar_t* text)
    {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Platform");
        if (text)
            CRegistry(CRegistry::kLocalMachine, L"Platform").WriteString(nullptr, L"OEMInfo", text);
    }

    static void WriteSized(const std::wstring& path, size_t size) { WriteFileBytes(path, std::string(size, 'k')); }

    static int32_t StoredVersion() { return GetSettingsRegistry().ReadDWord(L"Uninstall", L"Version", -1); }
};

TEST_F(InstallationTest, InstallPreparesTheFactoryDeviceAndRecordsItself)
{
    ASSERT_TRUE(::DeleteFileW(L"\\Windows\\vq-select.exe"));
    GetSettingsRegistry().WriteDWord(nullptr, L"Installed", 1);
    GetSettingsRegistry().WriteDWord(nullptr, L"NoReset", 1);
    ASSERT_TRUE(ExtractResource(nullptr, IDR_STUB_EXE, L"EXE", L"\\Temp\\stub.exe"));
    const std::string stub = ReadFileBytes(L"\\Temp\\stub.exe");

    Install();

    EXPECT_EQ(stub, ReadFileBytes(L"\\Windows\\detect.exe")) << "detect.exe";
    EXPECT_EQ(stub, ReadFileBytes(L"\\Windows\\vq-select.exe")) << "a missing vq-select.exe is created";
    EXPECT_FALSE(FileExists(L"\\Windows\\stub.tmp")) << "temporary file left behind";
    EXPECT_EQ("16#\\Windows\\WTM.exe", ReadFileBytes(kWiFiShortcut));
    EXPECT_EQ("16#\\Windows\\BPU.exe", ReadFileBytes(kBluetoothShortcut));
    EXPECT_EQ(L" ", ReadString(CRegistry::kLocalMachine, L"init", L"Launch90"));
    EXPECT_EQ(0x00010400, StoredVersion());
    EXPECT_EQ(CRegistry::kindMissing, GetSettingsRegistry().GetValueKind(nullptr, L"Installed"));
    EXPECT_EQ(1, GetSettingsRegistry().ReadDWord(nullptr, L"NoReset", -1)) << "other settings stay";
    EXPECT_EQ(kFactoryCalibration, GetSettingsRegistry().ReadString(L"Uninstall", L"CalibrationData"));
}

TEST_F(InstallationTest, LaterInstallKeepsTheFirstCalibrationCopy)
{
    Install();
    CRegistry(CRegistry::kLocalMachine, kTouchKey).WriteString(nullptr, L"CalibrationData", kRotatedCalibration);

    Install();

    EXPECT_EQ(kFactoryCalibration, GetSettingsRegistry().ReadString(L"Uninstall", L"CalibrationData"));
}

TEST_F(InstallationTest, OnlyAKeylockOfTheStubsSizeIsDeleted)
{
    WriteSized(L"\\Windows\\keylock.exe", 3000);
    Install();
    EXPECT_EQ(3000u, ReadFileBytes(L"\\Windows\\keylock.exe").size()) << "after Install";
    Uninstall();
    EXPECT_EQ(3000u, ReadFileBytes(L"\\Windows\\keylock.exe").size()) << "after Uninstall";

    WriteSized(L"\\Windows\\keylock.exe", kStubSize);
    Install();
    EXPECT_FALSE(FileExists(L"\\Windows\\keylock.exe")) << "stub-sized keylock.exe survived Install";
}

TEST_F(InstallationTest, DeleteIfStubLooksAtTheWholeSize)
{
    // 4 GiB plus the stub's size: the low 32 bits alone would match. Sparse on the host.
    {
        CFileHandle file(::CreateFileW(L"\\Windows\\big.dat", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.IsValid());
        LARGE_INTEGER end;
        end.QuadPart = (1LL << 32) + kStubSize;
        if (!::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) || !::SetEndOfFile(file.Get()))
            GTEST_SKIP() << "the host cannot hold a 4 GiB file, error " << ::GetLastError();
    }
    ASSERT_TRUE(::CreateDirectoryW(L"\\Windows\\folder.exe", nullptr));

    DeleteIfStub(L"\\Windows\\big.dat");
    DeleteIfStub(L"\\Windows\\folder.exe");
    DeleteIfStub(L"\\Windows\\absent.exe");

    EXPECT_TRUE(FileExists(L"\\Windows\\big.dat"));
    EXPECT_TRUE(IsDirectory(L"\\Windows\\folder.exe"));
    ::DeleteFileW(L"\\Windows\\big.dat");
}

TEST_F(InstallationTest, NoShortcutWithoutItsProgramOrBluetoothSetup)
{
    ASSERT_TRUE(::DeleteFileW(L"\\Windows\\WTM.exe"));
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\TOSHIBA\\Bluetooth\\BTSETUP");

    Install();

    EXPECT_FALSE(FileExists(kWiFiShortcut)) << "no WTM.exe";
    EXPECT_FALSE(FileExists(kBluetoothShortcut)) << "BPU.exe present, but no BTSETUP";
}

TEST_F(InstallationTest, ShortcutQuotesAProgramPathWithABlankAndRefusesOneTheCodePageCannotCarry)
{
    EXPECT_EQ(L"32#\"\\Program Files\\Dorix\\Dorix.exe\"", platform::ShortcutText(L"\\Program Files\\Dorix\\Dorix.exe"));
    EXPECT_EQ(L"16#\\Windows\\WTM.exe", platform::ShortcutText(L"\\Windows\\WTM.exe"));
    if (::GetACP() == CP_UTF8)
        GTEST_SKIP() << "this code page carries every character";
    ::SetLastError(0);
    EXPECT_FALSE(platform::CreateShortcut(L"\\Temp\\x.lnk", L"\\Program Files\\\u4E2D\\x.exe"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), ::GetLastError());
    EXPECT_FALSE(FileExists(L"\\Temp\\x.lnk")) << ReadFileBytes(L"\\Temp\\x.lnk");
}

TEST_F(InstallationTest, UninstallRestoresTheFactorySettings)
{
    WriteSized(L"\\Windows\\keylock.exe", 3000);
    Install();
    // What a VGA landscape switch leaves behind.
    CRegistry(CRegistry::kLocalMachine, kTouchKey).WriteString(nullptr, L"CalibrationData", kRotatedCalibration);
    CRegistry(CRegistry::kLocalMachine, L"System\\GDI\\Rotation").WriteDWord(nullptr, L"Angle", 90);
    CRegistry(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode").WriteDWord(nullptr, L"VGAMode", 1);
    ASSERT_TRUE(::SetFileAttributesW(L"\\Windows\\atihwtbl0.txt", FILE_ATTRIBUTE_READONLY));
    GetSettingsRegistry().WriteDWord(nullptr, L"NoReset", 1);
    // A keep-mode net still up would start the program, and a new installation, at the next boot.
    CKeepMode::WriteRecord(CVideoMode(false, 0));
    ASSERT_TRUE(platform::CreateShortcut(CKeepMode::GetShortcutPath(), L"\\Windows\\dorix.exe", L"KEEP"));

    Uninstall();

    EXPECT_FALSE(GetSettingsRegistry().KeyExists(L"Pending"));
    EXPECT_FALSE(FileExists(CKeepMode::GetShortcutPath()));
    EXPECT_FALSE(FileExists(L"\\Windows\\detect.exe"));
    EXPECT_FALSE(FileExists(L"\\Windows\\vq-select.exe"));
    EXPECT_EQ(3000u, ReadFileBytes(L"\\Windows\\keylock.exe").size());
    EXPECT_EQ("ROM file tap", ReadFileBytes(L"\\Windows\\tapadm.exe")) << "other files survive";
    EXPECT_EQ("ROM file WTM", ReadFileBytes(L"\\Windows\\WTM.exe")) << "other files survive";
    EXPECT_FALSE(FileExists(L"\\Windows\\atihwtbl0.txt")) << "read-only driver table";
    EXPECT_FALSE(FileExists(kWiFiShortcut));
    EXPECT_FALSE(FileExists(kBluetoothShortcut));
    EXPECT_EQ(L"tapadm.exe", ReadString(CRegistry::kLocalMachine, L"init", L"Launch90"));
    EXPECT_EQ(kFactoryCalibration, ReadString(CRegistry::kLocalMachine, kTouchKey, L"CalibrationData"));
    EXPECT_EQ(kFactoryCalibration, GetSettingsRegistry().ReadString(L"Uninstall", L"CalibrationData"))
        << "the copy stays";
    EXPECT_EQ(0, ReadDWord(CRegistry::kLocalMachine, L"System\\GDI\\Rotation", L"Angle"));
    EXPECT_EQ(0, ReadDWord(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode", L"VGAMode"));
    EXPECT_EQ(-1, StoredVersion()) << "the next start must install again";
    EXPECT_EQ(1, GetSettingsRegistry().ReadDWord(nullptr, L"NoReset", -1)) << "other settings stay";
}

TEST_F(InstallationTest, UninstallWithoutACalibrationCopyLeavesTheLiveCalibration)
{
    Install();
    GetSettingsRegistry().DeleteValue(L"Uninstall", L"CalibrationData");
    CRegistry(CRegistry::kLocalMachine, kTouchKey).WriteString(nullptr, L"CalibrationData", kRotatedCalibration);
    Uninstall();
    EXPECT_EQ(kRotatedCalibration, ReadString(CRegistry::kLocalMachine, kTouchKey, L"CalibrationData"));
    EXPECT_EQ(0, ReadDWord(CRegistry::kLocalMachine, L"System\\GDI\\Rotation", L"Angle")) << "the rest is done";
}

TEST_F(InstallationTest, InstallIfOutdatedInstallsOnlyBelowThisVersion)
{
    struct Case {
        bool stored;
        uint32_t version;
        bool installs;
    };
    // The last one is compared as an unsigned number.
    const Case cases[] = {{false, 0, true},         {true, 0x00010300, true},  {true, 0x00010400, false},
                          {true, 0x00010500, false}, {true, 0x80000000, false}};
    for (const Case& c : cases) {
        WriteFileBytes(L"\\Windows\\detect.exe", "ROM file det");
        GetSettingsRegistry().DeleteKey(L"Uninstall");
        if (c.stored)
            GetSettingsRegistry().WriteDWord(L"Uninstall", L"Version", static_cast<int32_t>(c.version));

        InstallIfOutdated();

        const bool installed = ReadFileBytes(L"\\Windows\\detect.exe").size() == kStubSize;
        EXPECT_EQ(c.installs, installed) << "stored " << c.stored << " version " << std::hex << c.version;
        EXPECT_EQ(c.installs ? 0x00010400 : static_cast<int32_t>(c.version), StoredVersion())
            << "stored " << c.stored << " version " << std::hex << c.version;
    }
}

TEST_F(InstallationTest, UnwritableTemporaryFileFailsAsAnErrorNamingIt)
{
    // A folder in the temporary file's place cannot be opened as a file.
    ASSERT_TRUE(::CreateDirectoryW(L"\\Windows\\stub.tmp", nullptr));
    std::wstring message = L"<no error>";

    try {
        Install();
    } catch (const error& e) {
        message = e.GetMessage();
    }

    EXPECT_NE(std::wstring::npos, message.find(L"\"\\Windows\\stub.tmp\"")) << ::testing::PrintToString(message);
    EXPECT_EQ("ROM file det", ReadFileBytes(L"\\Windows\\detect.exe")) << "nothing replaced";
    EXPECT_EQ(-1, StoredVersion()) << "not recorded as installed";
    EXPECT_TRUE(IsDirectory(L"\\Windows\\stub.tmp")) << "the folder in the way is not removed";
}

TEST_F(InstallationTest, SupportedDevicesAreTheTwoToshibasExactly)
{
    struct Case {
        const wchar_t* oem;
        bool supported;
    };
    const Case cases[] = {
        {L"TOSHIBA e800", true},  {L"TOSHIBA e805", true},  {L"TOSHIBA e800 ", false},
        {L"toshiba e805", false}, {L"TOSHIBA e80", false},   {L"TOSHIBA e830", false},
        {L"", false},             {nullptr, false},
    };
    for (const Case& c : cases) {
        SetOemInfo(c.oem);
        EXPECT_EQ(c.supported, IsSupportedDevice()) << ::testing::PrintToString(c.oem ? c.oem : L"<none>");
        EXPECT_EQ(c.supported, HasToshibaBluetooth()) << "with BTSETUP";
    }
}

}  // namespace

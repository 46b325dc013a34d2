// The platform layer as the simulated device provides it: the reboot control asks the device
// host, and the OEM information text comes from the device image's registry.
#include <windows.h>
#include "DeviceFixture.h"
#include "platform/OemInfo.h"
#include "platform/RebootControl.h"
#include "state/Registry.h"

namespace {

// How long the device host has to accept a reset before the request is withdrawn.
constexpr DWORD kResetAcceptWaitMs = 3000;

class DevicePlatformTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Platform");
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", nullptr);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Platform");
        DeviceTest::TearDown();
    }
    void SetOemInfo(const std::wstring& text)
    {
        SetRawValue(CRegistry::kLocalMachine, L"Platform", L"OEMInfo", REG_SZ,
                    std::vector<BYTE>(reinterpret_cast<const BYTE*>(text.c_str()),
                                      reinterpret_cast<const BYTE*>(text.c_str() + text.size() + 1)));
    }
};

TEST_F(DevicePlatformTest, ResetWithoutDeviceHostFails)
{
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", nullptr);
    EXPECT_FALSE(platform::RequestSoftReset());
}

TEST_F(DevicePlatformTest, ResetNobodyAcceptsIsWithdrawnAndFails)
{
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", L"\\Temp\\reset-request");
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(platform::RequestSoftReset());
    const DWORD waited = ::GetTickCount() - start;
    EXPECT_GE(waited, kResetAcceptWaitMs - 100) << "waited " << waited << " ms";
    EXPECT_FALSE(FileExists(L"\\Temp\\reset-request")) << "the request was not withdrawn";
}

TEST_F(DevicePlatformTest, ResetWhileAnotherRequestIsPendingFailsAndKeepsIt)
{
    WriteFileBytes(L"\\Temp\\reset-request", "17\n");
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", L"\\Temp\\reset-request");
    EXPECT_FALSE(platform::RequestSoftReset());
    EXPECT_EQ("17\n", ReadFileBytes(L"\\Temp\\reset-request"));
}

TEST_F(DevicePlatformTest, ResetIntoMissingFolderFails)
{
    ::SetEnvironmentVariableW(L"DORIX_DEVICE_RESET", L"\\NoSuchFolder\\reset-request");
    EXPECT_FALSE(platform::RequestSoftReset());
}

TEST_F(DevicePlatformTest, OemInfoComesFromTheImage)
{
    EXPECT_EQ(L"", platform::GetOemInfo());
    SetOemInfo(L"TOSHIBA e805");
    EXPECT_EQ(L"TOSHIBA e805", platform::GetOemInfo());
}

TEST_F(DevicePlatformTest, OemInfoFillsTheQueryBufferOrIsNone)
{
    SetOemInfo(std::wstring(127, L'x'));
    EXPECT_EQ(std::wstring(127, L'x'), platform::GetOemInfo());
    // The system refuses a buffer too small for the whole text.
    SetOemInfo(std::wstring(128, L'x'));
    EXPECT_EQ(L"", platform::GetOemInfo());
}

TEST_F(DevicePlatformTest, OemInfoOfAnotherTypeIsNone)
{
    SetRawValue(CRegistry::kLocalMachine, L"Platform", L"OEMInfo", REG_DWORD, {1, 0, 0, 0});
    EXPECT_EQ(L"", platform::GetOemInfo());
}

}  // namespace

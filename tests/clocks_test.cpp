#include "ModeFixture.h"

namespace {

class ClocksTest : public ModeTest {};

const wchar_t kVgaPortrait[] = L"Software\\Dorix\\VGA.portrait";

TEST_F(ClocksTest, DefaultsPerMode)
{
    const int32_t expected[8][2] = {{100, 14}, {100, 14}, {100, 14}, {100, 14},
                                    {75, 2},   {120, 23}, {75, 2},   {140, 14}};
    for (int i = 0; i < 8; ++i) {
        CVideoMode mode(i >= 4, static_cast<int16_t>(i % 4));
        mode.LoadClocks();
        EXPECT_EQ(expected[i][0], mode.m_nClock) << i;
        EXPECT_EQ(expected[i][1], mode.m_nDivider) << i;
    }
    for (int16_t orientation : {int16_t(-1), int16_t(4)}) {
        const CVideoMode corrupt(true, orientation);
        EXPECT_EQ(L"Video Mode not supported", ErrorOf([&] { corrupt.GetDefaultClock(); })) << orientation;
        EXPECT_EQ(L"Video Mode not supported", ErrorOf([&] { corrupt.GetDefaultDivider(); })) << orientation;
    }
}

TEST_F(ClocksTest, OverridesAreStoredPerOrientationAndDefaultsRemoved)
{
    SetRawValue(CRegistry::kCurrentUser, kVgaPortrait, L"ClkDivider.0", REG_DWORD, DWordBytes(5));
    SetRawValue(CRegistry::kCurrentUser, kVgaPortrait, L"ClkFreq.2", REG_DWORD, DWordBytes(60));
    CVideoMode vga0(true, 0);
    vga0.m_nClock = 80;
    vga0.m_nDivider = 2;
    vga0.SaveClocks();
    EXPECT_EQ(RawDWord(80), RawValue(CRegistry::kCurrentUser, kVgaPortrait, L"ClkFreq.0"));
    EXPECT_EQ("<missing>", RawValue(CRegistry::kCurrentUser, kVgaPortrait, L"ClkDivider.0"));
    EXPECT_EQ(RawDWord(60), RawValue(CRegistry::kCurrentUser, kVgaPortrait, L"ClkFreq.2"));

    CVideoMode vga2(true, 2);
    vga2.LoadClocks();
    EXPECT_EQ(60, vga2.m_nClock);
    EXPECT_EQ(2, vga2.m_nDivider);

    CVideoMode qvga1(false, 1);
    qvga1.m_nClock = 100;
    qvga1.m_nDivider = 14;
    qvga1.SaveClocks();
    EXPECT_TRUE(CRegistry(CRegistry::kCurrentUser, L"Software\\Dorix").KeyExists(L"QVGA.landscape"));
}

TEST_F(ClocksTest, SwitchWritesTheLoadedClocksAndRefusesAStoredZero)
{
    BootInto(true, 0);
    SetRawValue(CRegistry::kCurrentUser, kVgaPortrait, L"ClkFreq.0", REG_DWORD, DWordBytes(130));
    CVideoMode target(true, 0);
    target.LoadClocks();
    CDisplayDriver::WriteSettings(Session(), target);
    CIniFile table(kDriverTable);
    EXPECT_EQ(L"dword:130", table.ReadString(L"ASIC1", L"FastClkFreq"));
    EXPECT_EQ(L"dword:2", table.ReadString(L"LCD1", L"PixClkPostDivider"));

    SetRawValue(CRegistry::kCurrentUser, kVgaPortrait, L"ClkFreq.0", REG_DWORD, DWordBytes(0));
    const std::string before = ReadFileBytes(kDriverTable);
    target.LoadClocks();
    EXPECT_EQ(L"Invalid clock settings", ErrorOf([&] { CDisplayDriver::WriteSettings(Session(), target); }));
    EXPECT_EQ(before, ReadFileBytes(kDriverTable));
}

}  // namespace

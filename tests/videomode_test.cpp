#include "ModeFixture.h"
#include "framework/File.h"
#include "state/IniFile.h"
#include "state/Registry.h"
#include "state/VideoMode.h"

namespace {

class VideoModeTest : public ModeTest {
protected:
    void SetUp() override
    {
        ModeTest::SetUp();
        InstallSampleDriverTable();
        // A change of orientation rotates the touch calibration, which must be readable then.
        SetLiveCalibration(L"1,1 2,2 3,3 4,4 5,5 ");
    }
    static void SetVgaMode(DWORD value)
    {
        SetRawValue(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode", L"VGAMode", REG_DWORD,
                    {static_cast<BYTE>(value), 0, 0, 0});
    }
    static void SetRotation(const wchar_t* section, const wchar_t* text)
    {
        CIniFile table(kDriverTableFile);
        table.WriteString(section, L"Rotation", text);
        table.Close();
    }
    static int32_t Dword(uint32_t root, const wchar_t* key, const wchar_t* name)
    {
        return CRegistry(root, key).ReadDWord(nullptr, name, -12345);
    }
    static std::wstring Table(const wchar_t* section, const wchar_t* key)
    {
        return CIniFile(kDriverTableFile).ReadString(section, key, L"<missing>");
    }
};

CVideoMode Mode(bool vga, int orientation, int clock = 100, int divider = 14)
{
    CVideoMode mode(vga, static_cast<int16_t>(orientation));
    mode.m_nClock = clock;
    mode.m_nDivider = divider;
    return mode;
}

TEST_F(VideoModeTest, NamesOfAllEightModes)
{
    const wchar_t* groups[] = {L"QVGA.portrait", L"QVGA.landscape", L"QVGA.portrait", L"QVGA.landscape",
                               L"VGA.portrait",  L"VGA.landscape",  L"VGA.portrait",  L"VGA.landscape"};
    const wchar_t* modes[] = {L"QVGA.0", L"QVGA.1", L"QVGA.2", L"QVGA.3", L"VGA.0", L"VGA.1", L"VGA.2", L"VGA.3"};
    const int angles[] = {0, 270, 180, 90};
    for (int i = 0; i < 8; ++i) {
        CVideoMode mode(i >= 4, static_cast<int16_t>(i % 4));
        EXPECT_EQ(groups[i], mode.GetGroupName()) << i;
        EXPECT_EQ(modes[i], mode.GetModeName()) << i;
        EXPECT_EQ(angles[i % 4], mode.GetAngle()) << i;
    }
    EXPECT_EQ(L"VGA", CVideoMode(true, 0).GetResolutionName());
    EXPECT_EQ(L"QVGA", CVideoMode(false, 0).GetResolutionName());
}

TEST_F(VideoModeTest, EqualityIgnoresClocksAndName)
{
    CVideoMode a = Mode(false, 1, 100), b = Mode(false, 1, 50);
    a.GetModeName();
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(Mode(false, 1) == Mode(true, 1));
    EXPECT_FALSE(Mode(false, 1) == Mode(false, 3));
}

TEST_F(VideoModeTest, FallbackChains)
{
    auto chain = [](bool vga, int orientation) {
        CVideoMode mode = Mode(vga, orientation, 77, 7);
        std::wstring steps = mode.GetModeName();
        while (mode.NextFallback())
            steps += L" " + mode.GetModeName();
        EXPECT_EQ(77, mode.m_nClock) << "clocks untouched";
        return steps;
    };
    EXPECT_EQ(L"VGA.3 VGA.1 VGA.0 QVGA.0", chain(true, 3));
    EXPECT_EQ(L"VGA.2 VGA.0 QVGA.0", chain(true, 2));
    EXPECT_EQ(L"QVGA.3 QVGA.1 QVGA.0", chain(false, 3));
    EXPECT_EQ(L"QVGA.2 QVGA.0", chain(false, 2));
    CVideoMode last(false, 0);
    EXPECT_FALSE(last.NextFallback());
    EXPECT_EQ(CVideoMode(false, 0), last);
}

TEST_F(VideoModeTest, FormatDwordText)
{
    EXPECT_EQ(L"dword:0", CVideoMode::FormatDwordText(0));
    EXPECT_EQ(L"dword:140", CVideoMode::FormatDwordText(140));
    EXPECT_EQ(L"dword:-1", CVideoMode::FormatDwordText(-1));
}

TEST_F(VideoModeTest, OnlyVgaModeOneReadsAsVga)
{
    SetRotation(L"LCD1", L"dword:1");
    SetRotation(L"LCD0", L"dword:3");
    EXPECT_EQ(Mode(false, 3), CDisplayDriver::ReadCurrentMode()) << "VGAMode missing";
    for (DWORD value : {0u, 2u}) {
        SetVgaMode(value);
        EXPECT_EQ(Mode(false, 3), CDisplayDriver::ReadCurrentMode()) << "VGAMode " << value;
    }
    SetVgaMode(1);
    const CVideoMode current = CDisplayDriver::ReadCurrentMode();
    EXPECT_TRUE(current.m_bVGA);
    EXPECT_EQ(1, current.m_nOrientation);
}

TEST_F(VideoModeTest, RotationTextsAndTheirOrientation)
{
    struct Case {
        const wchar_t* text;
        int orientation;
    } cases[] = {{L"dword:2", 2}, {L"DWORD:2", 2}, {L"dword:3", 3}, {L"dword:4", 0},
                 {L"dword: 1", 0}, {L"", 0},      {L"  dword:1  ", 1}};
    for (const Case& c : cases) {
        SetRotation(L"LCD0", c.text);
        EXPECT_EQ(c.orientation, CDisplayDriver::ReadCurrentMode().m_nOrientation) << ::testing::PrintToString(c.text);
    }
}

TEST_F(VideoModeTest, ReadingTheModeLeavesTheFileAlone)
{
    WriteFileBytes(kDriverTableFile, "[LCD0]\nPixClkPostDivider=dword:14\n");
    EXPECT_EQ(0, CDisplayDriver::ReadCurrentMode().m_nOrientation) << "missing Rotation key";
    EXPECT_EQ("[LCD0]\nPixClkPostDivider=dword:14\n", ReadFileBytes(kDriverTableFile));
}

TEST_F(VideoModeTest, MissingTableFileIsAFileError)
{
    ::DeleteFileW(kDriverTableFile);
    EXPECT_THROW(CDisplayDriver::ReadCurrentMode(), CFileException);
    CVideoMode mode = Mode(true, 1, 120, 23);
    EXPECT_THROW(CDisplayDriver::WriteSettings(Session(), mode), CFileException);
    EXPECT_EQ(-12345, Dword(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode", L"VGAMode"));
}

TEST_F(VideoModeTest, WritingVgaLandscapeTouchesOnlyVgaSections)
{
    CVideoMode mode = Mode(true, 1, 120, 23);
    CDisplayDriver::WriteSettings(Session(), mode);
    EXPECT_EQ(L"dword:120", Table(L"ASIC1", L"FastClkFreq"));
    EXPECT_EQ(L"dword:23", Table(L"LCD1", L"PixClkPostDivider"));
    EXPECT_EQ(L"dword:1", Table(L"LCD1", L"Rotation"));
    EXPECT_EQ(L"dword:0", Table(L"ASIC1", L"AutoPwr"));
    EXPECT_EQ(L"dword:100", Table(L"ASIC0", L"FastClkFreq")) << "QVGA sections unchanged";
    EXPECT_EQ(L"dword:14", Table(L"LCD0", L"PixClkPostDivider"));
    EXPECT_EQ(L"dword:0", Table(L"LCD0", L"Rotation"));
    EXPECT_EQ(L"dword:1", Table(L"ASIC0", L"AutoPwr"));
    EXPECT_EQ(1, Dword(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode", L"VGAMode"));
    EXPECT_EQ(270, Dword(CRegistry::kLocalMachine, L"System\\GDI\\Rotation", L"Angle"));
    EXPECT_EQ(mode, CDisplayDriver::ReadCurrentMode());
}

TEST_F(VideoModeTest, AutoPowerOnlyForQvgaPortrait)
{
    const struct {
        bool vga;
        int orientation;
        const wchar_t* autoPwr;
        int angle;
    } cases[] = {{false, 0, L"dword:1", 0}, {false, 1, L"dword:0", 270}, {false, 2, L"dword:1", 180},
                 {false, 3, L"dword:0", 90}, {true, 0, L"dword:0", 0},   {true, 2, L"dword:0", 180},
                 {true, 3, L"dword:0", 90}};
    for (const auto& c : cases) {
        CVideoMode mode = Mode(c.vga, c.orientation);
        CDisplayDriver::WriteSettings(Session(), mode);
        EXPECT_EQ(c.autoPwr, Table(c.vga ? L"ASIC1" : L"ASIC0", L"AutoPwr")) << mode.GetModeName();
        EXPECT_EQ(c.angle, Dword(CRegistry::kLocalMachine, L"System\\GDI\\Rotation", L"Angle")) << mode.GetModeName();
        EXPECT_EQ(c.vga ? 1 : 0, Dword(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode", L"VGAMode"));
        EXPECT_EQ(mode, CDisplayDriver::ReadCurrentMode()) << mode.GetModeName();
    }
}

TEST_F(VideoModeTest, InvalidClocksWriteNothing)
{
    const std::string before = ReadFileBytes(kDriverTableFile);
    for (auto clocks : {std::pair<int, int>{200, 14}, {0, 14}, {100, 0}, {100, 200}, {-1, 5}}) {
        CVideoMode mode = Mode(true, 1, clocks.first, clocks.second);
        try {
            CDisplayDriver::WriteSettings(Session(), mode);
            ADD_FAILURE() << "no exception for " << clocks.first << "/" << clocks.second;
        } catch (const CVideoModeException& e) {
            EXPECT_EQ(L"Invalid clock settings", e.GetMessage());
        }
    }
    EXPECT_EQ(before, ReadFileBytes(kDriverTableFile));
    EXPECT_EQ(-12345, Dword(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode", L"VGAMode"));
    EXPECT_EQ(-12345, Dword(CRegistry::kLocalMachine, L"System\\GDI\\Rotation", L"Angle"));
    CVideoMode edge = Mode(false, 0, 199, 1);
    EXPECT_NO_THROW(CDisplayDriver::WriteSettings(Session(), edge));
}

TEST_F(VideoModeTest, MissingKeyLeavesFileAndRegistryUntouched)
{
    // "AutoPwr", the last key written, is missing from the controller section.
    const std::string table = "[ASIC1]\r\nFastClkFreq=dword:75\r\n[LCD1]\r\nPixClkPostDivider=dword:2\r\nRotation=dword:0\r\n";
    WriteFileBytes(kDriverTableFile, table);
    CVideoMode mode = Mode(true, 1, 120, 23);
    try {
        CDisplayDriver::WriteSettings(Session(), mode);
        ADD_FAILURE() << "no exception";
    } catch (const CIniFile::CIniFileException& e) {
        EXPECT_EQ(L"CIniFile::WriteString failed: Key not found", e.GetMessage());
    }
    EXPECT_EQ(table, ReadFileBytes(kDriverTableFile));
    EXPECT_EQ(-12345, Dword(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode", L"VGAMode"));
    EXPECT_EQ(-12345, Dword(CRegistry::kLocalMachine, L"System\\GDI\\Rotation", L"Angle"));
}

TEST_F(VideoModeTest, ReadOnlyTableFileIsRewrittenAndStaysReadOnly)
{
    ASSERT_TRUE(::SetFileAttributesW(kDriverTableFile, FILE_ATTRIBUTE_READONLY));
    CVideoMode mode = Mode(false, 2);
    CDisplayDriver::WriteSettings(Session(), mode);
    EXPECT_EQ(L"dword:2", Table(L"LCD0", L"Rotation"));
    EXPECT_TRUE(::GetFileAttributesW(kDriverTableFile) & FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(kDriverTableFile, FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

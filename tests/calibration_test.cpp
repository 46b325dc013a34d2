#include "ModeFixture.h"

namespace {

class CalibrationTest : public ModeTest {
protected:
    void WriteSettingsFor(bool vga, int orientation)
    {
        CVideoMode target(vga, static_cast<int16_t>(orientation));
        target.LoadClocks();
        CDisplayDriver::WriteSettings(Session(), target);
    }
    std::wstring Rotated(const std::wstring& live, int from, int to)
    {
        SetLiveCalibration(live);
        CTouchCalibration::Rotate(Session(), from, to);
        return LiveCalibration();
    }
};

const wchar_t kCentreFirst[] = L"500,500 100,100 100,900 900,900 900,100 ";
const wchar_t kOneStep[] = L"500,500 900,100 100,100 100,900 900,900 ";  // a quarter turn forward
const wchar_t kSavedKey[] = L"Software\\Dorix\\CalibrationData";

TEST_F(CalibrationTest, RingTurnsByTheDifferenceOfOrientations)
{
    EXPECT_EQ(kOneStep, Rotated(kCentreFirst, 0, 1));
    EXPECT_EQ(kCentreFirst, Rotated(kOneStep, 1, 0));
    EXPECT_EQ(L"500,500 900,900 900,100 100,100 100,900 ", Rotated(kCentreFirst, 1, 3)) << "two steps";
    EXPECT_EQ(kOneStep, Rotated(kCentreFirst, 3, 0)) << "wraps around";
    // Lenient spellings, written back in canonical form; a sixth point is dropped.
    EXPECT_EQ(kOneStep, Rotated(L"500,500  100,100 100,900  900,900 900,100", 0, 1));
    EXPECT_EQ(kOneStep, Rotated(L"500,500 100,100 100,900 900,900 900,100 7,7 ", 0, 1));
    EXPECT_EQ(L"12,0 0,0 0,1 -2,2 0,3 ", Rotated(L"12abc,x 0,1 -2,+2 +0,3 0,", 0, 1));
    ::RegDeleteKeyValueW(Root(CRegistry::kLocalMachine), kTouchKey, L"CalibrationData");
    CTouchCalibration::Rotate(Session(), 2, 2);
    EXPECT_EQ(L"<missing>", LiveCalibration()) << "equal orientations read nothing";
}

TEST_F(CalibrationTest, UnusableLiveValueRaisesAndStaysAsItWas)
{
    const struct {
        const wchar_t* live;
        const wchar_t* message;
    } cases[] = {
        {L"500,500   100,100 100,900 900,900 900,100 ", L"Cannot rotate touchscreen data"},
        {L"500,500 100,100 100,900 900,900 ", L"Cannot rotate touchscreen data"},
        {L"500,500 100,100 100;900 900,900 900,100 ", L"Cannot rotate touchscreen data"},
        {L"", L"Cannot read CalibrationData"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.message, ErrorOf([&] { Rotated(c.live, 0, 1); })) << ::testing::PrintToString(c.live);
        EXPECT_EQ(c.live, LiveCalibration());
    }
}

TEST_F(CalibrationTest, SwitchRotatesFromTheOrientationTheDeviceRunsIn)
{
    BootInto(false, 0);
    SetLiveCalibration(kCentreFirst);
    WriteSettingsFor(true, 1);
    EXPECT_EQ(kOneStep, LiveCalibration());
    // Again without a restart: the settings now name VGA 1, but the device still runs in
    // QVGA 0, so the calibration is rotated from there.
    SetLiveCalibration(kCentreFirst);
    WriteSettingsFor(false, 1);
    EXPECT_EQ(kOneStep, LiveCalibration());
    EXPECT_EQ("<missing>", RawValue(CRegistry::kCurrentUser, kSavedKey, L"QVGA.0")) << "copies only when on";
}

TEST_F(CalibrationTest, PortraitToPortraitOfTheOtherResolutionLeavesTheCalibration)
{
    // Not even read: a value that could not be rotated does not stop the switch.
    const wchar_t kUnrotatable[] = L"500,500 100,100 ";
    for (const bool vga : {false, true}) {
        NewRun();
        BootInto(vga, 0);
        SetLiveCalibration(kUnrotatable);
        EXPECT_EQ(L"<no error>", ErrorOf([&] { Session().SwitchTo(CVideoMode(!vga, 0)); })) << (vga ? "VGA" : "QVGA");
        EXPECT_EQ(kUnrotatable, LiveCalibration()) << (vga ? "VGA" : "QVGA");
    }
}

TEST_F(CalibrationTest, PerModeCopyIsSavedAndReplacesTheRotatedCalibration)
{
    CRegistry(CRegistry::kCurrentUser, L"Software\\Dorix").WriteDWord(nullptr, L"SwitchCalibrationData", 1);
    BootInto(false, 0);
    SetLiveCalibration(kCentreFirst);
    WriteSettingsFor(false, 1);
    EXPECT_EQ(kOneStep, LiveCalibration()) << "no copy of the target yet";
    EXPECT_EQ(RawSz(kCentreFirst), RawValue(CRegistry::kCurrentUser, kSavedKey, L"QVGA.0"));

    NewRun();
    BootInto(false, 1);
    SetRawValue(CRegistry::kCurrentUser, kSavedKey, L"VGA.3", REG_SZ, SzBytes(L"1,1 2,2 3,3 4,4 5,5 "));
    WriteSettingsFor(true, 3);
    EXPECT_EQ(L"1,1 2,2 3,3 4,4 5,5 ", LiveCalibration());
    EXPECT_EQ(RawSz(kOneStep), RawValue(CRegistry::kCurrentUser, kSavedKey, L"QVGA.1"));
}

TEST_F(CalibrationTest, UnusableCalibrationFailsTheSwitchWithNothingWritten)
{
    CRegistry(CRegistry::kCurrentUser, L"Software\\Dorix").WriteDWord(nullptr, L"SwitchCalibrationData", 1);
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"500,500   100,100 100,900 900,900 900,100 ", L"Cannot rotate touchscreen data"},
        {L"", L"Cannot read CalibrationData"},
    };
    for (const auto& [live, message] : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(live)));
        NewRun();
        BootInto(false, 0);
        SetLiveCalibration(live);
        const std::string table = ReadFileBytes(kDriverTable);

        EXPECT_EQ(message, ErrorOf([&] { WriteSettingsFor(true, 1); }));

        EXPECT_EQ(table, ReadFileBytes(kDriverTable));
        EXPECT_EQ(RawDWord(0), RawValue(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode", L"VGAMode"));
        EXPECT_EQ("<missing>", RawValue(CRegistry::kLocalMachine, L"System\\GDI\\Rotation", L"Angle"));
        EXPECT_EQ("<missing>", RawValue(CRegistry::kCurrentUser, kSavedKey, L"QVGA.0"));
        EXPECT_EQ(live, LiveCalibration());
    }
}

}  // namespace

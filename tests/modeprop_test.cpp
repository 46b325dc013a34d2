#include "ModeFixture.h"
#include "core/ModeProp.h"
#include "framework/Font.h"

namespace {

class ModePropTest : public ModeTest {};

std::string Sizes(const CModeProp& p)
{
    return std::to_string(p.m_nHorzScrollWidth) + "," + std::to_string(p.m_nHorzScrollHeight) + ","
           + std::to_string(p.m_nVertScrollWidth) + "," + std::to_string(p.m_nVertScrollHeight);
}

std::string Font(const CMenuFont& f)
{
    return ::testing::PrintToString(f.m_strFaceName) + " " + std::to_string(f.m_nHeight) + " "
           + std::to_string(f.m_nWeight) + (f.m_bItalic ? " italic" : " upright");
}

TEST_F(ModePropTest, NeverSavedGroupLoadsAsTheResolutionDefaults)
{
    CModeProp& vga = Session().CreateModeProp(CVideoMode(true, 2));
    vga.Load();
    EXPECT_EQ("20,18,18,20", Sizes(vga));
    EXPECT_EQ("L\"Tahoma\" -11 400 upright", Font(vga.m_barFont));
    EXPECT_EQ("L\"Tahoma\" -11 400 upright", Font(vga.m_popFont));
    CModeProp& qvga = Session().CreateModeProp(CVideoMode(false, 3));
    qvga.Load();
    EXPECT_EQ("20,13,13,20", Sizes(qvga));
}

TEST_F(ModePropTest, SavedRecordIsSharedByTheGroup)
{
    CModeProp saved(CVideoMode(false, 0));
    saved.m_nHorzScrollWidth = 21;
    saved.m_nVertScrollHeight = 22;
    saved.m_barFont = CMenuFont{L"Courier New", -13, 700, true};
    saved.m_popFont = CMenuFont{L"Arial", 12, 300, false};
    saved.Save();
    EXPECT_EQ(RawDWord(0xFFFFFFF3), RawValue(CRegistry::kCurrentUser, L"Software\\Dorix\\QVGA.portrait\\BarFnt", L"Ht"));

    CModeProp upsideDown(CVideoMode(false, 2));
    upsideDown.Load();
    EXPECT_EQ("21,13,13,22", Sizes(upsideDown));
    EXPECT_EQ("L\"Courier New\" -13 700 italic", Font(upsideDown.m_barFont));
    EXPECT_EQ("L\"Arial\" 12 300 upright", Font(upsideDown.m_popFont));
    CModeProp landscape(CVideoMode(false, 1));
    landscape.Load();
    EXPECT_EQ("L\"Tahoma\" -11 400 upright", Font(landscape.m_barFont));
}

TEST_F(ModePropTest, ApplyWritesAllTwelveSystemValues)
{
    CModeProp prop(CVideoMode(true, 3));
    // Four different sizes: the defaults are pairwise equal and would not show a mix-up.
    prop.m_nHorzScrollWidth = 21;
    prop.m_nHorzScrollHeight = 22;
    prop.m_nVertScrollWidth = 23;
    prop.m_nVertScrollHeight = 24;
    prop.m_popFont = CMenuFont{L"Arial", -12, 700, true};
    prop.ApplyToSystem(Session());
    const std::pair<const wchar_t*, std::string> sizes[] = {
        {L"cxHScr", RawDWord(21)}, {L"cyHScr", RawDWord(22)}, {L"cxVScr", RawDWord(23)}, {L"cyVScr", RawDWord(24)}};
    for (const auto& [name, raw] : sizes)
        EXPECT_EQ(raw, RawValue(CRegistry::kLocalMachine, L"SYSTEM\\GWE", name)) << name;
    const std::tuple<const wchar_t*, const wchar_t*, std::string> fonts[] = {
        {L"BarFnt", L"Nm", RawSz(L"Tahoma")}, {L"BarFnt", L"Ht", RawDWord(0xFFFFFFF5)},
        {L"BarFnt", L"Wt", RawDWord(400)},    {L"BarFnt", L"It", RawDWord(0)},
        {L"PopFnt", L"Nm", RawSz(L"Arial")},  {L"PopFnt", L"Ht", RawDWord(0xFFFFFFF4)},
        {L"PopFnt", L"Wt", RawDWord(700)},    {L"PopFnt", L"It", RawDWord(1)}};
    for (const auto& [key, name, raw] : fonts)
        EXPECT_EQ(raw, RawValue(CRegistry::kLocalMachine, std::wstring(L"SYSTEM\\GWE\\Menu\\") + key, name))
            << key << " " << name;
}

// Values no settings page produces (a damaged or hand-edited store) never reach the system:
// it keeps its own for each of them.
TEST_F(ModePropTest, ApplyLeavesTheSystemsValueForSizesAndHeightsNoPageStores)
{
    CRegistry system(CRegistry::kLocalMachine, L"SYSTEM\\GWE");
    for (const wchar_t* name : {L"cxHScr", L"cyHScr", L"cxVScr", L"cyVScr"})
        system.WriteDWord(nullptr, name, 16);
    system.WriteDWord(L"Menu\\BarFnt", L"Ht", -11);
    system.WriteDWord(L"Menu\\PopFnt", L"Ht", -12);
    CModeProp prop(CVideoMode(false, 0));
    prop.m_nHorzScrollWidth = -1;
    prop.m_nHorzScrollHeight = 51;
    prop.m_nVertScrollWidth = 4;
    prop.m_nVertScrollHeight = 50;
    prop.m_barFont = CMenuFont{L"Arial", -400, 700, false};
    prop.m_popFont = CMenuFont{L"Arial", 12, 700, false};
    prop.ApplyToSystem(Session());
    const std::pair<const wchar_t*, std::string> sizes[] = {
        {L"cxHScr", RawDWord(16)}, {L"cyHScr", RawDWord(16)}, {L"cxVScr", RawDWord(16)}, {L"cyVScr", RawDWord(50)}};
    for (const auto& [name, raw] : sizes)
        EXPECT_EQ(raw, RawValue(CRegistry::kLocalMachine, L"SYSTEM\\GWE", name)) << name;
    EXPECT_EQ(RawDWord(0xFFFFFFF5), RawValue(CRegistry::kLocalMachine, L"SYSTEM\\GWE\\Menu\\BarFnt", L"Ht"));
    EXPECT_EQ(RawDWord(0xFFFFFFF4), RawValue(CRegistry::kLocalMachine, L"SYSTEM\\GWE\\Menu\\PopFnt", L"Ht"));
    EXPECT_EQ(RawSz(L"Arial"), RawValue(CRegistry::kLocalMachine, L"SYSTEM\\GWE\\Menu\\BarFnt", L"Nm"))
        << "the rest of the font is applied";
    EXPECT_TRUE(CMenuFont::IsChooserHeight(-11));
}

TEST(FontSizeTest, PointsBecomeHeightsAndBackAsTheChooserShowsThem)
{
    EXPECT_EQ(-12, HeightFromPoints(9, 96));
    EXPECT_EQ(-2, HeightFromPoints(1, 108)) << "1.5 pixels round away from zero";
    EXPECT_EQ(8, PointsFromHeight(-11, 96));
    EXPECT_EQ(2, PointsFromHeight(-2, 96)) << "1.5 points round up";
    EXPECT_EQ(-9, PointsFromHeight(13, 96)) << "a cell height truncates";
    for (int perInch : {72, 96, 131, 192})
        for (int points = 1; points <= CMenuFont::kMaxPoints; ++points)
            EXPECT_EQ(points, PointsFromHeight(HeightFromPoints(points, perInch), perInch)) << points << " at " << perInch;
}

}  // namespace

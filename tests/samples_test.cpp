#include "ProfileFixture.h"
#include "profiles/Profile.h"
#include "state/Registry.h"

namespace {

// The sample profiles as the build leaves them, the packed one made by the project's packer.
class SampleProfileTest : public ProfileTest {
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        ASSERT_TRUE(CreatePath(L"\\Program Files\\Dorix\\profiles"));
        for (const wchar_t* name : {L"Big Fonts.dorix", L"Skin Switch.zdorix"})
            ASSERT_TRUE(::CopyFileW(BuildFile(std::wstring(L"profiles/") + name).c_str(),
                                    (std::wstring(L"\\Program Files\\Dorix\\profiles\\") + name).c_str(), FALSE))
                << "sample not built: " << ::testing::PrintToString(std::wstring(name));
        ASSERT_TRUE(CreatePath(L"\\Program Files\\Skinnable"));
    }
};

TEST_F(SampleProfileTest, PackedSampleInstallsTheSkinOfEachResolution)
{
    CProfile profile(L"\\Program Files\\Dorix\\profiles\\Skin Switch.zdorix");
    profile.Run(Session(), CVideoMode(false, 0), CVideoMode(true, 1));
    EXPECT_EQ("skin for 480x640\r\n", ReadFileBytes(L"\\Program Files\\Skinnable\\current.skn"));
    CRegistry settings(CRegistry::kLocalMachine, L"Software\\Skinnable\\Settings");
    EXPECT_EQ(2, settings.ReadDWord(nullptr, L"Scale", 0));
    profile.Run(Session(), CVideoMode(true, 1), CVideoMode(false, 2));
    EXPECT_EQ("skin for 240x320\r\n", ReadFileBytes(L"\\Program Files\\Skinnable\\current.skn"));
    EXPECT_EQ(1, settings.ReadDWord(nullptr, L"Scale", 0));
    EXPECT_EQ(L"Installs the skin that fits the screen.\r\nVGA and QVGA each have their own.", profile.GetDescription());
    EXPECT_TRUE(TempFiles().empty());
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Skinnable");
}

TEST_F(SampleProfileTest, PlainSampleSetsFontSizes)
{
    CProfile profile(L"\\Program Files\\Dorix\\profiles\\Big Fonts.dorix");
    profile.Run(Session(), CVideoMode(false, 0), CVideoMode(true, 0));
    CRegistry inbox(CRegistry::kCurrentUser, L"Software\\Microsoft\\Inbox\\Settings");
    EXPECT_EQ(12, inbox.ReadDWord(nullptr, L"FontSize", 0));
    profile.Run(Session(), CVideoMode(true, 0), CVideoMode(false, 0));
    EXPECT_EQ(8, inbox.ReadDWord(nullptr, L"FontSize", 0));
    EXPECT_EQ(L"Big Fonts", profile.GetName());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Notes");
}

}  // namespace

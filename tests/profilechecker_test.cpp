#include "ModeFixture.h"
#include "ProfileFixture.h"
#include "profiles/Profile.h"
#include "profiles/ProfileChecker.h"
#include "resources/resource.h"

namespace {

using Problem = CProfileChecker::CProblem;

std::string Describe(const std::vector<Problem>& problems)
{
    std::wstring text;
    for (const Problem& p : problems)
        text += p.section + L"|" + std::to_wstring(p.line) + L"|" + p.message + L"\n";
    return ::testing::PrintToString(text);
}

std::vector<Problem> CheckOf(const std::wstring& path)
{
    CProfile profile(path);
    return CProfileChecker(profile).Check();
}

// Every kind of problem, each found in its section at its line: the profile's first three
// lines are the info section's (ProfileTest::Text), and QVGA serves every mode.
TEST_F(ProfileTest, EachProblemIsFoundInItsSectionAtItsLine)
{
    const std::wstring plain = L"\\profiles\\p.dorix";
    const std::wstring packed = L"\\profiles\\p.zdorix";
    const auto text = [](const std::string& commands) { return Text("[QVGA]\r\n" + commands); };
    const struct Case {
        std::string profile;
        bool packed;
        std::vector<Problem> expected;
    } cases[] = {
        {Text("[QVGA]\r\n", "1.4"), false,
         {{L"Profile", 2, FormatResourceString(IDS_PROFILE_INCOMPATIBLE, {plain})}}},
        {"// no version\r\n[Profile]\r\nAuthor=A\r\n[QVGA]\r\n", false,
         {{L"Profile", 2, FormatResourceString(IDS_PROFILE_NO_VERSION, {plain})}}},
        {text("0=ShowMessage,a\r\n1=ShowMessage,b\r\n3=ShowMessage,c\r\n4=ShowMessage,d\r\n"), false,
         {{L"QVGA", 7, FormatResourceString(IDS_CHECK_AFTER_GAP, {L"3"})},
          {L"QVGA", 8, FormatResourceString(IDS_CHECK_AFTER_GAP, {L"4"})}}},
        {text("0=ShowMessage,a\r\n1=\r\n2=ShowMessage,b\r\n"), false,
         {{L"QVGA", 7, FormatResourceString(IDS_CHECK_AFTER_GAP, {L"2"})}}},
        {text("0=ShowMessage,a\r\n1=ShowMesage,b\r\n"), false,
         {{L"QVGA", 6, FormatResourceString(IDS_PROFILE_UNKNOWN_COMMAND, {L"ShowMesage"})}}},
        {text("0=ShowMessage\r\n"), false, {{L"QVGA", 5, L"Error in command #0."}}},
        {text("0=RegWriteString,HKLM\\Software\\X,,text\r\n1=RegWriteDWord,HKXX\\Software\\X,v,1\r\n"
              "2=RegWriteString,HKLM,v,x\r\n3=CopyFile,a.txt\r\n"),
         false,
         {{L"QVGA", 5, FormatResourceString(IDS_PROFILE_BAD_ARGUMENTS, {L"HKLM\\Software\\X,,text"})},
          {L"QVGA", 6, FormatResourceString(IDS_PROFILE_BAD_ARGUMENTS, {L"HKXX\\Software\\X,v,1"})},
          {L"QVGA", 7, FormatResourceString(IDS_PROFILE_BAD_ARGUMENTS, {L"HKLM,v,x"})},
          {L"QVGA", 8, FormatResourceString(IDS_PROFILE_BAD_ARGUMENTS, {L"a.txt"})}}},
        {text("0=RegWriteDWord,HKLM\\Software\\X,v,0x10\r\n1=RegWriteDWord,HKLM\\Software\\X,v, -7\r\n"
              "2=RegWriteDWord,HKLM\\Software\\X,v,ten\r\n"),
         false, {{L"QVGA", 7, FormatResourceString(IDS_CHECK_NOT_A_NUMBER, {L"ten"})}}},
        {text("0=ShowMessage,%WINDOWS% %windows% %NOSUCH% 50% 100%\r\n"), false,
         {{L"QVGA", 5, FormatResourceString(IDS_CHECK_UNKNOWN_NAME, {L"%windows%"})},
          {L"QVGA", 5, FormatResourceString(IDS_CHECK_UNKNOWN_NAME, {L"%NOSUCH%"})}}},
        {text("0=CopyFile,there.txt,\\t.txt\r\n1=CopyFile,missing.txt,\\t.txt\r\n2=CopyDirectory,\\nowhere,\\t\r\n"),
         false,
         {{L"QVGA", 6, FormatResourceString(IDS_CHECK_NO_SOURCE, {L"\\profiles\\missing.txt"})},
          {L"QVGA", 7, FormatResourceString(IDS_CHECK_NO_SOURCE, {L"\\nowhere"})}}},
        {text("0=CopyFile,Skins\\vga.skn,\\t\r\n1=CopyDirectory,skins,\\t\r\n2=CopyFile,Skins\\none.skn,\\t\r\n"
              "3=CopyDirectory,Skin,\\t\r\n4=CopyFile,\\profiles\\there.txt,\\t\r\n"),
         true,
         {{L"QVGA", 7, FormatResourceString(IDS_CHECK_NO_ENTRY, {L"Skins\\none.skn"})},
          {L"QVGA", 8, FormatResourceString(IDS_CHECK_NO_ENTRY, {L"Skin"})}}},
        {Text("[VGA.Portrait]\r\n0=ShowMessage,a\r\n[QVGA]\r\n0=ShowMessage,b\r\n[QVGA]\r\n[Profile]\r\n"), false,
         {{L"VGA.Portrait", 4, FormatResourceString(IDS_CHECK_UNUSED_SECTION, {L"VGA.Portrait"})},
          {L"QVGA", 8, FormatResourceString(IDS_CHECK_REPEATED_SECTION, {L"QVGA"})},
          {L"Profile", 9, FormatResourceString(IDS_CHECK_REPEATED_SECTION, {L"Profile"})}}},
        // QVGA is never reached once both of its orientations have sections of their own.
        {Text("[QVGA.portrait]\r\n0=ShowMessage,a\r\n[QVGA.landscape]\r\n0=ShowMessage,b\r\n[QVGA]\r\n"), false,
         {{L"QVGA", 8, FormatResourceString(IDS_CHECK_UNUSED_SECTION, {L"QVGA"})}}},
        {Text("[VGA]\r\n0=ShowMessage,a\r\n[VGA.landscape]\r\n0=ShowMessage,b\r\n1=ShowMessage,c\r\n"), false,
         {{L"VGA", 8, FormatResourceString(IDS_CHECK_KEY_BELOW, {L"1"})},
          {L"", 0, FormatResourceString(IDS_CHECK_NO_SECTION, {L"QVGA.portrait"})},
          {L"", 0, FormatResourceString(IDS_CHECK_NO_SECTION, {L"QVGA.landscape"})}}},
    };
    WritePlain(L"\\profiles\\there.txt", "x");
    for (const Case& c : cases) {
        const std::wstring path = c.packed ? packed : plain;
        if (c.packed)
            WritePacked(path, {{"profile.dorix", c.profile}, {"Skins/vga.skn", "v"}, {"Skins/", "", 0, 0x10}});
        else
            WritePlain(path, c.profile);
        EXPECT_EQ(Describe(c.expected), Describe(CheckOf(path))) << c.profile;
    }
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(ProfileTest, SampleProfilesHaveNoProblems)
{
    ASSERT_TRUE(CreatePath(L"\\Program Files\\Dorix\\profiles"));
    for (const wchar_t* name : {L"Big Fonts.dorix", L"Skin Switch.zdorix"}) {
        const std::wstring path = std::wstring(L"\\Program Files\\Dorix\\profiles\\") + name;
        ASSERT_TRUE(::CopyFileW(BuildFile(std::wstring(L"profiles/") + name).c_str(), path.c_str(), FALSE));
        const std::vector<Problem> problems = CheckOf(path);
        EXPECT_TRUE(problems.empty()) << Describe(problems);
        CProfile profile(path);
        EXPECT_EQ((std::vector<std::wstring>{L"Check of \"" + path + L"\"", L"No problems found."}),
                  CProfileChecker::Report(profile, problems));
    }
}

TEST_F(ProfileTest, WhatCannotBeCheckedIsAnError)
{
    WritePlain(L"\\profiles\\unicode.dorix", std::string("\xFF\xFE[\0P\0", 6));
    WritePlain(L"\\profiles\\written back.dorix", Text("[QVGA]\r\n") + std::string(1, '\0'));
    WritePlain(L"\\profiles\\text.zdorix", Text("[QVGA]\r\n"));
    const struct {
        const wchar_t* path;
        std::wstring message;
    } cases[] = {
        {L"\\profiles\\none.dorix", L"The profile \"\\profiles\\none.dorix\" does not exist."},
        {L"\\profiles\\unicode.dorix", FormatResourceString(IDS_CHECK_NOT_TEXT, {L"\\profiles\\unicode.dorix"})},
        {L"\\profiles\\text.zdorix", FormatResourceString(IDS_ZIP_INVALID_FORMAT, {L"\\profiles\\text.zdorix"})},
        {L"\\profiles\\written back.dorix", L"<no error>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.message, ErrorOf([&] { CheckOf(c.path); })) << ::testing::PrintToString(std::wstring(c.path));
}

}  // namespace

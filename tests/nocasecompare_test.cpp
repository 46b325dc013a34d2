#include <gtest/gtest.h>
#include "framework/NoCaseCompare.h"

namespace {

std::string Show(std::wstring_view text)
{
    return ::testing::PrintToString(std::wstring(text));
}

// Letters beyond ASCII have their upper-case forms too, but no rules of a language apply.
TEST(NoCaseCompare, EveryLetterEqualsItsUpperCaseFormAndNothingElse)
{
    const struct {
        std::wstring_view a;
        std::wstring_view b;
        bool equal;
    } cases[] = {
        {L"Theme.ZDORIX", L"theme.zdorix", true},
        {L"caf\u00e9 \u0101\u03b1\u0436", L"CAF\u00c9 \u0100\u0391\u0416", true},
        {L"stra\u00dfe", L"STRASSE", false},
        {L"\u0131", L"I", false},
        {L"abc", L"abcd", false},
        {L"", L"", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.equal, EqualsNoCase(c.a, c.b)) << Show(c.a) << " " << Show(c.b);
        EXPECT_EQ(c.equal, CompareNoCase(c.b, c.a) == 0) << Show(c.b) << " " << Show(c.a);
    }
}

// Upper-case forms are compared unit by unit: "_" (after "Z") sorts after every letter, where a
// comparison of lower-case forms would put it first.
TEST(NoCaseCompare, OrderIsThatOfTheUpperCaseUnits)
{
    const struct {
        std::wstring_view a;
        std::wstring_view b;
    } ascending[] = {
        {L"aZ", L"a_"},
        {L"ab", L"ABC"},
        {L"Z", L"\u00e9"},
        {L"\u00e9", L"\u00c9x"},
    };
    for (const auto& c : ascending) {
        EXPECT_LT(CompareNoCase(c.a, c.b), 0) << Show(c.a) << " " << Show(c.b);
        EXPECT_GT(CompareNoCase(c.b, c.a), 0) << Show(c.b) << " " << Show(c.a);
    }
}

}  // namespace

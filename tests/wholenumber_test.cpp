#include <climits>
#include <gtest/gtest.h>
#include "framework/WholeNumber.h"

namespace {

constexpr long long kUntouched = 777;

struct Case {
    const wchar_t* text;
    long long minimum;
    long long maximum;
    unsigned rules;
    bool taken;
    long long value;  // kUntouched when refused
};

template <size_t N>
void Expect(const Case (&cases)[N])
{
    for (const Case& c : cases) {
        long long value = kUntouched;
        EXPECT_EQ(c.taken, ParseWholeNumber(c.text, c.minimum, c.maximum, value, c.rules))
            << ::testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(c.value, value) << ::testing::PrintToString(std::wstring(c.text));
    }
}

TEST(WholeNumber, BlanksStandOnlyBeforeTheSignAndAfterTheDigits)
{
    const Case cases[] = {
        {L" \t+42 \r\n", -100, 100, wholeNumberAlone, true, 42},
        {L"-0", -100, 100, wholeNumberAlone, true, 0},
        {L"- 5", -100, 100, wholeNumberAlone, false, kUntouched},
        {L"4 2", -100, 100, wholeNumberAlone, false, kUntouched},
        {L"42x", -100, 100, wholeNumberAlone, false, kUntouched},
        {L"0x10", -100, 100, wholeNumberAlone, false, kUntouched},
        {L"--5", -100, 100, wholeNumberAlone, false, kUntouched},
        {L"+", -100, 100, wholeNumberAlone, false, kUntouched},
        {L"  ", -100, 100, wholeNumberAlone, false, kUntouched},
        {L"", -100, 100, wholeNumberAlone, false, kUntouched},
    };
    Expect(cases);
}

TEST(WholeNumber, LeadingNumberIsTheOneTheTextStartsWith)
{
    const Case cases[] = {
        {L"  -12xyz", -100, 100, wholeNumberLeading, true, -12},
        {L"7 8", -100, 100, wholeNumberLeading, true, 7},
        {L"0x10", -100, 100, wholeNumberLeading, true, 0},
        {L"x7", -100, 100, wholeNumberLeading, false, kUntouched},
        {L"-", -100, 100, wholeNumberLeading, false, kUntouched},
    };
    Expect(cases);
}

// However many digits a number has, it never wraps around into the range.
TEST(WholeNumber, RangeHoldsBothBoundsAndNothingBeyond)
{
    const Case cases[] = {
        {L"-2147483648", INT32_MIN, UINT32_MAX, wholeNumberAlone, true, INT32_MIN},
        {L"4294967295", INT32_MIN, UINT32_MAX, wholeNumberAlone, true, UINT32_MAX},
        {L"-2147483649", INT32_MIN, UINT32_MAX, wholeNumberAlone, false, kUntouched},
        {L"4294967296", INT32_MIN, UINT32_MAX, wholeNumberLeading, false, kUntouched},
        {L"18446744073709551617", INT32_MIN, UINT32_MAX, wholeNumberAlone, false, kUntouched},
        {L"9223372036854775807", LLONG_MIN, LLONG_MAX, wholeNumberAlone, true, LLONG_MAX},
        {L"-9223372036854775808", LLONG_MIN, LLONG_MAX, wholeNumberAlone, true, LLONG_MIN},
        {L"9223372036854775808", LLONG_MIN, LLONG_MAX, wholeNumberAlone, false, kUntouched},
        {L"-9223372036854775809", LLONG_MIN, LLONG_MAX, wholeNumberAlone, false, kUntouched},
    };
    Expect(cases);
}

TEST(WholeNumber, ClampedNumberOutOfRangeIsTheNearerBound)
{
    const unsigned clamped = wholeNumberLeading | wholeNumberClamped;
    const Case cases[] = {
        {L"99999999999999999999999,1", INT32_MIN, INT32_MAX, clamped, true, INT32_MAX},
        {L"-2147483649", INT32_MIN, INT32_MAX, clamped, true, INT32_MIN},
        {L"-5", 1, 10, wholeNumberClamped, true, 1},
        {L"abc", INT32_MIN, INT32_MAX, clamped, false, kUntouched},
    };
    Expect(cases);
}

}  // namespace

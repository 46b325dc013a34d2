#include "framework/WholeNumber.h"
#include <climits>
#include <cwctype>

namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

const wchar_t* SkipBlanks(const wchar_t* p)
{
    while (*p && std::iswspace(*p))
        ++p;
    return p;
}

}  // namespace

bool ParseWholeNumber(const std::wstring& text, long long minimum, long long maximum, long long& value,
                      unsigned rules)
{
    const wchar_t* p = SkipBlanks(text.c_str());
    const bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    if (!IsDigit(*p))
        return false;
    // Past 2^63 the magnitude stops growing: every long long of either sign lies below it, so
    // more digits only keep the number out of range, where they would otherwise wrap around.
    constexpr unsigned long long kBeyond = (1ull << 63) + 1;
    unsigned long long magnitude = 0;
    for (; IsDigit(*p); ++p) {
        const unsigned digit = static_cast<unsigned>(*p - L'0');
        magnitude = magnitude > (kBeyond - digit) / 10 ? kBeyond : magnitude * 10 + digit;
    }
    if (!(rules & wholeNumberLeading) && *SkipBlanks(p))
        return false;

    bool below = negative && magnitude > (1ull << 63);
    bool above = !negative && magnitude > static_cast<unsigned long long>(LLONG_MAX);
    long long number = 0;
    if (!below && !above) {
        number = !negative                 ? static_cast<long long>(magnitude)
                 : magnitude == 1ull << 63 ? LLONG_MIN
                                           : -static_cast<long long>(magnitude);
        below = number < minimum;
        above = number > maximum;
    }
    if (below || above) {
        if (!(rules & wholeNumberClamped))
            return false;
        number = below ? minimum : maximum;
    }
    value = number;
    return true;
}

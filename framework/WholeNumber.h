#pragma once
// Whole numbers written as decimal text: typed into a box, stored in the registry or in a
// driver's settings.
#include <string>

// How ParseWholeNumber takes a text; combined with |.
enum WholeNumberRules : unsigned {
    // Only blanks may follow the digits, and a number out of range is refused.
    wholeNumberAlone = 0x0,
    // Any text may follow the digits: the number is the one the text starts with.
    wholeNumberLeading = 0x1,
    // A number out of range, however many digits it has, is taken as the nearer bound.
    wholeNumberClamped = 0x2,
};

// Reads blanks, an optional sign ('+' or '-') right before the decimal digits, the digits, and
// then what the rules allow. False, with value untouched, for a text without digits there, with
// something other than blanks after them (unless wholeNumberLeading) or with a number outside
// minimum..maximum (unless wholeNumberClamped). The text ends at its first null character.
bool ParseWholeNumber(const std::wstring& text, long long minimum, long long maximum, long long& value,
                      unsigned rules = wholeNumberAlone);

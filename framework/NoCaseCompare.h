#pragma once
// Names compared as the system compares the names of files, registry keys and values: one
// UTF-16 unit after the other, each lower-case letter taken as its upper-case form, with no
// rules of a language.
#include <string_view>

// Below zero, zero or above zero as a sorts before, with or after b; a name that is the start
// of the other sorts first.
int CompareNoCase(std::wstring_view a, std::wstring_view b);

inline bool EqualsNoCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

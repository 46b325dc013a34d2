#include "framework/NoCaseCompare.h"
#include <windows.h>
#include <algorithm>

namespace {

// The system's upper-case form of c. The C runtime's towupper maps only a to z in its default
// locale, where the system maps every letter that has an upper-case form ("é" to "É").
// Plain ASCII, most of what is compared, is mapped here without a call.
wchar_t Upper(wchar_t c)
{
    if (c < 0x80)
        return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    ::CharUpperBuffW(&c, 1);
    return c;
}

}  // namespace

int CompareNoCase(std::wstring_view a, std::wstring_view b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        if (a[i] == b[i])
            continue;
        const wchar_t x = Upper(a[i]);
        const wchar_t y = Upper(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

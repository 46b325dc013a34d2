#include "platform/OemInfo.h"
#include <windows.h>
#include <vector>
#include "framework/Handle.h"

namespace platform {

std::wstring GetOemInfo()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Platform", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::wstring();
    const CRegKey owner(key);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, L"OEMInfo", nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return std::wstring();
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key, L"OEMInfo", nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size)
            != ERROR_SUCCESS
        || type != REG_SZ)
        return std::wstring();
    // The stored text need not end with a zero; the extra element above always does.
    std::wstring result(text.data());
    constexpr size_t kQueryChars = 256 / sizeof(wchar_t) - 1;
    if (result.size() > kQueryChars)
        result.resize(kQueryChars);
    return result;
}

}  // namespace platform

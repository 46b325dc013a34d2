// coredll's system parameters and registry where CE differs from the desktop: the OEM
// information text, and RegDeleteKeyW, which on CE deletes a key with all its subkeys.
#include <windows.h>
#include <vector>
#include "CeStandIn.h"

namespace {

// SystemParametersInfoW's queries that only CE has.
constexpr UINT kSpiGetPlatformType = 257;
constexpr UINT kSpiGetOemInfo = 258;

// Copies text with its terminating zero into the buffer of size bytes; FALSE with
// ERROR_INSUFFICIENT_BUFFER when it does not fit, as the device's HAL answers.
BOOL CopyText(const wchar_t* text, UINT size, void* buffer)
{
    const UINT needed = static_cast<UINT>((::lstrlenW(text) + 1) * sizeof(wchar_t));
    if (!buffer || size < needed) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    ::CopyMemory(buffer, text, needed);
    return TRUE;
}

// The device's OEM text: the image's REG_SZ HKLM\Platform "OEMInfo", whole. FALSE, with the
// reason as the last error, when the device has none.
BOOL GetOemInfo(UINT size, void* buffer)
{
    HKEY key = nullptr;
    LONG result = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Platform", 0, KEY_QUERY_VALUE, &key);
    DWORD type = 0;
    DWORD bytes = 0;
    if (result == ERROR_SUCCESS)
        result = ::RegQueryValueExW(key, L"OEMInfo", nullptr, &type, nullptr, &bytes);
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    if (result == ERROR_SUCCESS && type == REG_SZ)
        result = ::RegQueryValueExW(key, L"OEMInfo", nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes);
    if (key)
        ::RegCloseKey(key);
    if (result == ERROR_SUCCESS && type != REG_SZ)
        result = ERROR_NOT_SUPPORTED;
    if (result != ERROR_SUCCESS) {
        ::SetLastError(static_cast<DWORD>(result));
        return FALSE;
    }
    // The stored text need not end with a zero; the extra element above always does.
    return CopyText(text.data(), size, buffer);
}

}  // namespace

extern "C" {

// SPI_GETOEMINFO (258) and SPI_GETPLATFORMTYPE (257) as the device answers them: uiParam is the
// buffer's size in bytes. Every other action is the desktop's.
BOOL WINAPI CE(SystemParametersInfoW)(UINT action, UINT uiParam, PVOID pvParam, UINT winIni)
{
    if (action == kSpiGetOemInfo)
        return GetOemInfo(uiParam, pvParam);
    if (action == kSpiGetPlatformType)
        return CopyText(L"PocketPC", uiParam, pvParam);
    return ::SystemParametersInfoW(action, uiParam, pvParam, winIni);
}

// CE's RegDeleteKeyW deletes the key with its values and all its subkeys.
LONG WINAPI CE(RegDeleteKeyW)(HKEY key, LPCWSTR subKey)
{
    if (!subKey || !subKey[0])
        return ERROR_INVALID_PARAMETER;
    return ::RegDeleteTreeW(key, subKey);
}

}  // extern "C"

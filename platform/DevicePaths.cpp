#include "platform/DevicePaths.h"
#include <windows.h>

namespace platform {

namespace {

// The shell's folder of the user's documents (CSIDL_PERSONAL).
constexpr int kPersonalFolder = 5;

}  // namespace

std::wstring GetTempFolder()
{
    return L"\\Temp\\";
}

std::wstring GetSpecialFolderPath(int csidl)
{
    wchar_t path[MAX_PATH] = L"";
    if (!::SHGetSpecialFolderPath(nullptr, path, csidl, FALSE))
        return std::wstring();
    std::wstring result(path);
    if (result.size() > 1 && result.back() == L'\\')
        result.pop_back();
    return result;
}

std::wstring GetDocumentPath(const std::wstring& name)
{
    return GetSpecialFolderPath(kPersonalFolder) + L"\\" + name;
}

}  // namespace platform

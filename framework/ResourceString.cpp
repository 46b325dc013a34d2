#include "framework/ResourceString.h"
#include "framework/StandardIds.h"

namespace {

// The resource's text as it stands; empty when it is missing. The device's system only copies
// a string into a buffer (a zero size there hands out no pointer to the resource): a text that
// fills the buffer may have been cut, and is read again into one twice the size.
std::wstring ReadString(UINT id)
{
    std::wstring text(256, L'\0');
    for (;;) {
        const int n = ::LoadStringW(::GetModuleHandleW(nullptr), id, text.data(), static_cast<int>(text.size()));
        if (n <= 0)
            return std::wstring();
        if (static_cast<size_t>(n) + 1 < text.size() || text.size() > 0xFFFF) {
            text.resize(static_cast<size_t>(n));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

std::wstring Format(const wchar_t* format, const std::vector<std::wstring>& args, UINT id)
{
    std::vector<DWORD_PTR> pointers;
    for (const auto& a : args)
        pointers.push_back(reinterpret_cast<DWORD_PTR>(a.c_str()));
    wchar_t* buffer = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
        format, 0, 0, reinterpret_cast<wchar_t*>(&buffer), 0,
        reinterpret_cast<va_list*>(pointers.empty() ? nullptr : pointers.data()));
    if (n == 0 || buffer == nullptr)
        throw CResourceException(id);
    std::wstring text(buffer, n);
    ::LocalFree(buffer);
    return text;
}

// A table that lacks even this text still names the missing string by its number.
std::wstring ResourceErrorText(UINT id)
{
    const std::wstring text = ReadString(IDS_RESOURCE_ERROR);
    return text.empty() ? std::to_wstring(id) : text;
}

}  // namespace

CResourceException::CResourceException(UINT id) : error(ResourceErrorText(id)), m_id(id) {}

std::wstring LoadResourceString(UINT id)
{
    std::wstring text = ReadString(id);
    if (text.empty())
        throw CResourceException(id);
    return text;
}

std::wstring FormatResourceString(UINT id, const std::vector<std::wstring>& args)
{
    return Format(LoadResourceString(id).c_str(), args, id);
}

std::wstring FormatText(const std::wstring& format, const std::vector<std::wstring>& args)
{
    return Format(format.c_str(), args, 0);
}

std::wstring LastErrorText()
{
    return SystemErrorText(::GetLastError());
}

std::wstring SystemErrorText(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT),
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (n != 0 && buffer != nullptr) {
        text.assign(buffer, n);
        ::LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    // A Pocket PC often carries no message texts of its own; the reason is then the number.
    return text.empty() ? L"error " + std::to_wstring(code) : text;
}

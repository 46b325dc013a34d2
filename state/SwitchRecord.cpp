#include "state/SwitchRecord.h"
#include "framework/ResourceString.h"
#include "resources/resource.h"

void CSwitchRecord::Add(Kind kind, const std::wstring& text)
{
    m_lines.push_back({kind, std::wstring(static_cast<size_t>(m_nDepth) * 4, L' ') + text});
}

void CSwitchRecord::AddRegistryChange(const CRegistry::CKeyCache::CChange& change)
{
    const std::wstring key = RootName(change.root) + L"\\" + change.path;
    const std::wstring name = change.valueName.empty() ? LoadResourceString(IDS_PREVIEW_DEFAULT_VALUE)
                                                       : L"\"" + change.valueName + L"\"";
    const std::wstring line =
        FormatResourceString(IDS_PREVIEW_REGISTRY, {key, name, DataText(change.existed, change.oldType, change.oldData),
                                                    DataText(change.exists, change.type, change.data)});
    if (change.refusal == ERROR_SUCCESS) {
        Add(Kind::change, line);
        return;
    }
    Add(Kind::failure, FormatResourceString(IDS_PREVIEW_REFUSED, {line, SystemErrorText(change.refusal)}));
}

size_t CSwitchRecord::CountOf(Kind kind) const
{
    size_t count = 0;
    for (const CLine& line : m_lines)
        count += line.kind == kind ? 1 : 0;
    return count;
}

std::vector<std::wstring> CSwitchRecord::GetText() const
{
    std::vector<std::wstring> text;
    text.reserve(m_lines.size());
    for (size_t i = 0; i < m_lines.size(); ++i) {
        // A step that would do nothing is left out.
        const bool empty = i + 1 == m_lines.size() || m_lines[i + 1].kind == Kind::heading;
        if (m_lines[i].kind != Kind::heading || !empty)
            text.push_back(m_lines[i].text);
    }
    return text;
}

std::wstring CSwitchRecord::DataText(bool exists, DWORD type, const std::vector<BYTE>& data)
{
    if (!exists)
        return LoadResourceString(IDS_PREVIEW_NO_VALUE);
    if (type == REG_DWORD && data.size() == 4) {
        const uint32_t bits = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
        return std::to_wstring(static_cast<int32_t>(bits));
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(data.size() / sizeof(wchar_t), L'\0');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
        return L"\"" + text.substr(0, text.find(L'\0')) + L"\"";
    }
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring bytes = L"hex:";
    for (size_t i = 0; i < data.size(); ++i) {
        if (i > 0)
            bytes += L',';
        bytes += digits[data[i] >> 4];
        bytes += digits[data[i] & 15];
    }
    return bytes;
}

std::wstring CSwitchRecord::RootName(uint32_t root)
{
    switch (root) {
    case CRegistry::kClassesRoot:
        return L"HKCR";
    case CRegistry::kCurrentUser:
        return L"HKCU";
    case CRegistry::kLocalMachine:
        return L"HKLM";
    case CRegistry::kUsers:
        return L"HKU";
    default:
        return L"?";
    }
}

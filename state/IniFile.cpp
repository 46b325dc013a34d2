#include "state/IniFile.h"
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>
#include "framework/File.h"
#include "state/FileHelpers.h"

namespace {

// The text in the system's code page, characters it lacks as the system writes them.
std::string ToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                          nullptr);
    return bytes;
}

std::wstring ToWide(const char* bytes, size_t count)
{
    if (count == 0)
        return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count), nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(count), text.data(), n);
    return text;
}

// The bytes a name has in the text, or false for a name with a character the code page lacks,
// which no text in it can hold.
bool ToTextBytes(const std::wstring& name, std::string& bytes)
{
    bytes = ToAnsi(name);
    return ToWide(bytes.data(), bytes.size()) == name;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// FNV-1a over the name's bytes.
size_t HashName(const char* name, size_t length)
{
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < length; ++i) {
        hash ^= static_cast<unsigned char>(name[i]);
        hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

}  // namespace

CIniFile::CIniFile(const std::wstring& path) : m_strPath(path), m_strContent("\n")
{
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    // Read block by block straight behind the text: a buffer of the whole file would be as
    // much new memory again as its text.
    m_strContent.reserve(static_cast<size_t>(file.GetLength()) + 1);
    std::vector<char> block(64u << 10);
    for (size_t got; (got = file.Read(block.data(), block.size())) != 0;)
        AddBytes(block.data(), got);
}

CIniFile::CIniFile(const std::wstring& path, const std::vector<char>& bytes) : m_strPath(path), m_strContent("\n")
{
    AddBytes(bytes.data(), bytes.size());
}

void CIniFile::AddBytes(const char* bytes, size_t count)
{
    if (m_bTextEnded) {
        m_tail.append(bytes, count);
        return;
    }
    const char* zero = count == 0 ? nullptr : static_cast<const char*>(std::memchr(bytes, 0, count));
    const size_t textLength = zero ? static_cast<size_t>(zero - bytes) : count;
    if (zero) {
        m_bTextEnded = true;
        m_tail.assign(zero + 1, bytes + count);
    }
    const size_t start = m_strContent.size();
    m_strContent.append(bytes, textLength);
    m_bQuotedKeys = m_bQuotedKeys || m_strContent.find("\n\"", start - 1) != std::string::npos;
}

CIniFile::~CIniFile()
{
    try {
        Close();
    } catch (...) {
        // Best effort only: the caller that needed to know has called Close itself.
    }
}

bool CIniFile::HasSection(const std::wstring& section) const
{
    std::string name;
    return ToTextBytes(section, name) && m_strContent.find("\n[" + name + "]") != std::string::npos;
}

bool CIniFile::HasKey(const std::wstring& section, const std::wstring& key) const
{
    size_t first, last;
    return FindValue(section, key, first, last);
}

bool CIniFile::FindValue(const std::wstring& section, const std::wstring& key, size_t& first, size_t& last) const
{
    std::string name, keyBytes;
    if (!ToTextBytes(key, keyBytes))
        return false;
    size_t header = std::string::npos;
    if (m_index.section == section && m_index.from != std::string::npos)
        header = m_index.from;
    else if (ToTextBytes(section, name))
        header = m_strContent.find("\n[" + name + "]");
    if (header == std::string::npos)
        return false;
    size_t start = 0;
    if (FindKeyLine(header, keyBytes, start) == std::string::npos)
        return false;
    if (m_index.from == header)
        m_index.section = section;
    // The value ends at the first line feed, carriage return or "//"; only the value's own
    // line is searched, not the rest of the text.
    const size_t lineFeed = m_strContent.find('\n', start);
    const auto line = m_strContent.begin() + static_cast<std::ptrdiff_t>(start);
    const auto lineEnd = lineFeed == std::string::npos ? m_strContent.end()
                                                       : m_strContent.begin() + static_cast<std::ptrdiff_t>(lineFeed);
    const char comment[] = "//";
    const auto stop = std::min(std::find(line, lineEnd, '\r'), std::search(line, lineEnd, comment, comment + 2));
    if (stop == m_strContent.end())
        return false;
    const size_t end = static_cast<size_t>(stop - m_strContent.begin());
    first = start;
    last = end;
    return true;
}

size_t CIniFile::FindKeyLine(size_t header, const std::string& key, size_t& start) const
{
    // The key search runs from the header to the end of the content, past later headers; a
    // quoted match anywhere wins over a bare one. The patterns are line feed, quote, key,
    // quote, "=" and line feed, key, "=".
    const size_t quotedLength = key.size() + 4;
    const size_t bareLength = key.size() + 2;
    size_t quoted, bare;
    // A key holding a character that ends a key name in the index is searched for directly,
    // as is any key of a text too long for the index's 32-bit line positions.
    if (key.find_first_of("=\"\n") != std::string::npos || m_strContent.size() >= UINT32_MAX) {
        quoted = m_bQuotedKeys ? m_strContent.find("\n\"" + key + "\"=", header) : std::string::npos;
        bare = m_strContent.find("\n" + key + "=", header);
    } else {
        const CKeyIndex& index = IndexFrom(header);
        const auto lineOf = [&](const std::vector<CKeySlot>& table, NameOf name) {
            const uint32_t line = table.empty() ? 0 : table[Slot(table, name, key.data(), key.size())].line;
            return line == 0 ? std::string::npos : size_t{line} - 1;
        };
        quoted = lineOf(index.quoted, &CIniFile::QuotedName);
        bare = lineOf(index.bare, &CIniFile::BareName);
    }
    if (quoted != std::string::npos) {
        start = quoted + quotedLength;
        return quoted;
    }
    if (bare != std::string::npos)
        start = bare + bareLength;
    return bare;
}

const CIniFile::CKeyIndex& CIniFile::IndexFrom(size_t header) const
{
    if (m_index.from == header)
        return m_index;
    m_index = CKeyIndex();
    m_index.from = header;
    // Every line after the header, as the searches meet them; the first line of each name is
    // the one a search finds. At most two thirds of the slots are taken: with the hashes in
    // the slots probing stays short, and a large section's table stays small.
    const size_t lines = static_cast<size_t>(std::count(m_strContent.begin() + static_cast<std::ptrdiff_t>(header),
                                                        m_strContent.end(), '\n'));
    size_t slots = 16;
    while (2 * slots < 3 * lines)
        slots *= 2;
    m_index.bare.assign(slots, CKeySlot());
    // Without a line that starts with a quote there is no quoted name to index.
    if (m_bQuotedKeys)
        m_index.quoted.assign(slots, CKeySlot());
    const auto add = [&](std::vector<CKeySlot>& table, NameOf name, size_t line) {
        size_t first, last;
        if (table.empty() || !(this->*name)(line, first, last))
            return;
        const char* const key = m_strContent.data() + first;
        CKeySlot& slot = table[Slot(table, name, key, last - first)];
        if (slot.line == 0)
            slot = CKeySlot{static_cast<uint32_t>(line + 1), static_cast<uint32_t>(HashName(key, last - first))};
    };
    for (size_t line = header; line != std::string::npos; line = m_strContent.find('\n', line + 1)) {
        add(m_index.bare, &CIniFile::BareName, line);
        add(m_index.quoted, &CIniFile::QuotedName, line);
    }
    return m_index;
}

// A bare name runs from the line's start to its first "=".
bool CIniFile::BareName(size_t line, size_t& first, size_t& last) const
{
    const char* const text = m_strContent.data();
    const char* const lineEnd = text + std::min(m_strContent.find('\n', line + 1), m_strContent.size());
    const char* const equals = std::find(text + line + 1, lineEnd, '=');
    if (equals == lineEnd)
        return false;
    first = line + 1;
    last = static_cast<size_t>(equals - text);
    return true;
}

// A quoted name stands between the line's first two quotes, the second followed by "=".
bool CIniFile::QuotedName(size_t line, size_t& first, size_t& last) const
{
    const char* const text = m_strContent.data();
    const char* const lineEnd = text + std::min(m_strContent.find('\n', line + 1), m_strContent.size());
    if (text + line + 1 >= lineEnd || text[line + 1] != '"')
        return false;
    const char* const close = std::find(text + line + 2, lineEnd, '"');
    if (close + 1 >= lineEnd || close[1] != '=')
        return false;
    first = line + 2;
    last = static_cast<size_t>(close - text);
    return true;
}

size_t CIniFile::Slot(const std::vector<CKeySlot>& table, NameOf name, const char* key, size_t length) const
{
    const size_t hash = HashName(key, length);
    const size_t mask = table.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const CKeySlot& entry = table[slot];
        size_t first, last;
        if (entry.line == 0
            || (entry.hash == static_cast<uint32_t>(hash) && (this->*name)(entry.line - 1, first, last)
                && last - first == length && std::equal(key, key + length, m_strContent.data() + first)))
            return slot;
    }
}

std::wstring CIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& defaultValue) const
{
    size_t first, last;
    if (!FindValue(section, key, first, last))
        return defaultValue;
    while (first < last && IsBlank(m_strContent[first]))
        ++first;
    while (last > first && IsBlank(m_strContent[last - 1]))
        --last;
    return ToWide(m_strContent.data() + first, last - first);
}

int CIniFile::LineAt(size_t position) const
{
    // The content starts with the line feed that reading added, so the line feeds before a
    // position count its line.
    return static_cast<int>(
        std::count(m_strContent.begin(), m_strContent.begin() + static_cast<std::ptrdiff_t>(position), '\n'));
}

std::vector<CIniFile::CLine> CIniFile::GetSections() const
{
    std::vector<CLine> sections;
    for (size_t header = m_strContent.find("\n["); header != std::string::npos;
         header = m_strContent.find("\n[", header + 1)) {
        const size_t close = m_strContent.find_first_of("]\n", header + 2);
        if (close != std::string::npos && m_strContent[close] == ']')
            sections.push_back({ToWide(m_strContent.data() + header + 2, close - header - 2), LineAt(header + 1)});
    }
    return sections;
}

std::vector<CIniFile::CLine> CIniFile::GetKeys(const std::wstring& section) const
{
    std::vector<CLine> keys;
    std::string name;
    if (!ToTextBytes(section, name))
        return keys;
    const size_t header = m_strContent.find("\n[" + name + "]");
    if (header == std::string::npos)
        return keys;
    for (size_t line = m_strContent.find('\n', header + 1);
         line != std::string::npos && m_strContent.compare(line + 1, 1, "[") != 0;
         line = m_strContent.find('\n', line + 1)) {
        size_t first, last;
        if (QuotedName(line, first, last) || BareName(line, first, last))
            keys.push_back({ToWide(m_strContent.data() + first, last - first), LineAt(line + 1)});
    }
    return keys;
}

int CIniFile::GetLine(const std::wstring& section, const std::wstring& key) const
{
    size_t first, last;
    return FindValue(section, key, first, last) ? LineAt(first) : 0;
}

void CIniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    size_t first, last;
    if (!FindValue(section, key, first, last))
        throw CIniFileException(L"CIniFile::WriteString failed: Key not found");
    // As the write-back has always written a value: characters the code page lacks as the
    // system writes them.
    m_strContent.replace(first, last - first, ToAnsi(value));
    m_index = CKeyIndex();
    m_bQuotedKeys = m_strContent.find("\n\"") != std::string::npos;
    m_bModified = true;
}

void CIniFile::Close()
{
    if (!m_bModified)
        return;
    // Cleared first: a failed write-back is reported once, not again by the destructor.
    m_bModified = false;
    WriteBack();
}

void CIniFile::WriteBack()
{
    const std::wstring temp = m_strPath + L".tmp";
    // The text without the line feed that reading added, then one zero byte; bytes that
    // followed a zero byte in the original file come after it unchanged.
    std::string bytes = m_strContent.substr(1);
    bytes.push_back('\0');
    bytes += m_tail;

    ::DeleteFileW(temp.c_str());
    {
        CFile file(temp, CFile::modeWrite | CFile::modeCreate | CFile::shareExclusive);
        try {
            file.Write(bytes.data(), bytes.size());
        } catch (...) {
            file.Close();
            ::DeleteFileW(temp.c_str());
            throw;
        }
    }
    // Only attributes that refuse an overwrite are taken off for the copy; the target's own
    // are put back wherever the copy left others. Each change of attributes costs about as
    // much as writing a small file.
    const DWORD attributes = ::GetFileAttributesW(m_strPath.c_str());
    const DWORD refusing = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const bool unlocked = attributes != INVALID_FILE_ATTRIBUTES && (attributes & refusing) != 0
                          && ::SetFileAttributesW(m_strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    const bool copied = CopyOneFile(temp, m_strPath);
    const DWORD copyError = ::GetLastError();
    const bool changed = copied && ::GetFileAttributesW(m_strPath.c_str()) != attributes;
    if (attributes != INVALID_FILE_ATTRIBUTES && (unlocked || changed))
        ::SetFileAttributesW(m_strPath.c_str(), attributes);
    ::DeleteFileW(temp.c_str());
    if (!copied)
        throw CFileException(m_strPath, copyError);
}

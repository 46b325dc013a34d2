#include "framework/TextFile.h"
#include "framework/File.h"

namespace {

void Append(std::vector<char>& bytes, wchar_t c)
{
    const auto unit = static_cast<uint16_t>(c);
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
}

}  // namespace

void WriteTextFile(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    std::vector<char> bytes;
    Append(bytes, L'\xFEFF');
    for (const std::wstring& line : lines) {
        for (wchar_t c : line)
            Append(bytes, c);
        Append(bytes, L'\r');
        Append(bytes, L'\n');
    }
    CFile file(path, CFile::modeWrite | CFile::modeCreate | CFile::shareExclusive);
    try {
        file.Write(bytes.data(), bytes.size());
    } catch (const CFileException&) {
        file.Close();
        ::DeleteFileW(path.c_str());
        throw;
    }
}

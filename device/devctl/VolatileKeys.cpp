#include "VolatileKeys.h"
#include <windows.h>
#include <sstream>
#include "common/DeviceFile.h"
#include "common/DeviceText.h"
#include "framework/Handle.h"

namespace {

// "HKLM\a\b" -> root and "a\b"; false for any other root.
bool SplitKey(const std::wstring& key, HKEY& root, std::wstring& path)
{
    const size_t slash = key.find(L'\\');
    const std::wstring rootName = key.substr(0, slash);
    if (slash == std::wstring::npos || slash + 1 >= key.size())
        return false;
    if (rootName == L"HKLM" || rootName == L"HKEY_LOCAL_MACHINE")
        root = HKEY_LOCAL_MACHINE;
    else if (rootName == L"HKCU" || rootName == L"HKEY_CURRENT_USER")
        root = HKEY_CURRENT_USER;
    else
        return false;
    path = key.substr(slash + 1);
    return true;
}

std::string Hex(const std::vector<BYTE>& data)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (BYTE b : data) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 15]);
    }
    return text;
}

bool FromHex(const std::string& text, std::vector<BYTE>& data)
{
    if (text.size() % 2)
        return false;
    data.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        const std::string pair = text.substr(i, 2);
        if (pair.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return false;
        data.push_back(static_cast<BYTE>(std::stoul(pair, nullptr, 16)));
    }
    return true;
}

// Every level is created volatile: below a volatile key nothing else may be created.
bool CreateVolatile(HKEY root, const std::wstring& path, CRegKey& key)
{
    size_t end = 0;
    CRegKey level;
    do {
        end = path.find(L'\\', end + 1);
        HKEY h = nullptr;
        const std::wstring part = path.substr(0, end);
        if (::RegCreateKeyExW(root, part.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &h,
                              nullptr)
            != ERROR_SUCCESS)
            return false;
        level.Reset(h);
    } while (end != std::wstring::npos);
    key = std::move(level);
    return true;
}

}  // namespace

bool SaveKeys(const std::wstring& file, const std::vector<std::wstring>& keys, std::wstring& message)
{
    std::ostringstream out;
    for (const std::wstring& name : keys) {
        HKEY root = nullptr;
        std::wstring path;
        if (!SplitKey(name, root, path)) {
            message = L"not a key: " + name;
            return false;
        }
        out << "key\t" << Narrow(name, CP_UTF8) << "\n";
        HKEY h = nullptr;
        if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            continue;
        const CRegKey key(h);
        for (DWORD index = 0;; ++index) {
            wchar_t valueName[16384];
            DWORD nameLength = 16384;
            DWORD type = 0;
            DWORD size = 0;
            if (::RegEnumValueW(h, index, valueName, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
                break;
            std::vector<BYTE> data(size);
            nameLength = 16384;
            if (::RegEnumValueW(h, index, valueName, &nameLength, nullptr, &type, data.data(), &size)
                != ERROR_SUCCESS)
                break;
            data.resize(size);
            out << "value\t" << Narrow(std::wstring(valueName, nameLength), CP_UTF8) << "\t" << type << "\t" << Hex(data)
                << "\n";
        }
    }
    if (!WriteWholeFile(file, out.str())) {
        message = L"cannot write " + file;
        return false;
    }
    return true;
}

bool LoadKeysVolatile(const std::wstring& file, std::wstring& message)
{
    std::string bytes;
    if (!ReadWholeFile(file, bytes)) {
        message = L"cannot read " + file;
        return false;
    }
    std::istringstream stream(bytes);
    CRegKey key;
    std::string line;
    for (int number = 1; std::getline(stream, line); ++number) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        const std::wstring where = file + L" line " + std::to_wstring(number);
        if (fields.empty())
            continue;
        if (fields[0] == "key" && fields.size() == 2) {
            HKEY root = nullptr;
            std::wstring path;
            if (!SplitKey(Widen(fields[1], CP_UTF8), root, path) || !CreateVolatile(root, path, key)) {
                message = where + L": cannot create the key";
                return false;
            }
        } else if (fields[0] == "value" && (fields.size() == 4 || fields.size() == 3) && key) {
            std::vector<BYTE> data;
            const std::string type = fields[2];
            if (type.empty() || type.find_first_not_of("0123456789") != std::string::npos || type.size() > 9
                || !FromHex(fields.size() == 4 ? fields[3] : std::string(), data)) {
                message = where + L": malformed value";
                return false;
            }
            const std::wstring name = Widen(fields[1], CP_UTF8);
            if (::RegSetValueExW(key.Get(), name.c_str(), 0, std::stoul(type), data.data(),
                                 static_cast<DWORD>(data.size()))
                != ERROR_SUCCESS) {
                message = where + L": cannot set the value";
                return false;
            }
        } else {
            message = where + L": malformed line";
            return false;
        }
    }
    return true;
}

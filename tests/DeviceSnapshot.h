#pragma once
// What the device holds, to compare before and after: files with their stamps, registry values
// with their data.
#include <windows.h>
#include <algorithm>
#include <cwctype>
#include <map>
#include <string>
#include <vector>
#include "framework/Handle.h"

inline std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

using Snapshot = std::map<std::wstring, std::string>;  // upper-case path -> state

inline void SnapshotFiles(const std::wstring& folder, Snapshot& files)
{
    WIN32_FIND_DATAW data;
    CFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        // A folder's stamp changes with its entries, which are compared themselves.
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        std::string& state = files[Upper(path)];
        state = std::to_string(data.dwFileAttributes);
        if (!isFolder)
            state += ":" + std::to_string(data.nFileSizeLow) + ":" + std::to_string(data.ftLastWriteTime.dwLowDateTime) +
                     ":" + std::to_string(data.ftLastWriteTime.dwHighDateTime);
        else
            SnapshotFiles(path, files);
    } while (::FindNextFileW(find.Get(), &data));
}

struct WatchedKey {
    HKEY root;
    const wchar_t* rootName;
    const wchar_t* path;  // empty: the root itself
    bool deep;            // the whole tree, or only its values and the names of its sub-keys
};

// The roots and Software keys, where a damaged key path may create a key, and the keys of the
// program and the device, whose whole trees must stay as they were.
inline const WatchedKey kWatched[] = {
    {HKEY_CURRENT_USER, L"HKCU", L"", false},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"", false},
    {HKEY_CURRENT_USER, L"HKCU", L"Software", false},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"Software", false},
    {HKEY_CURRENT_USER, L"HKCU", L"Software\\Dorix", true},
    {HKEY_CURRENT_USER, L"HKCU", L"Software\\DorixTest", true},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\DorixTest", true},
    {HKEY_CURRENT_USER, L"HKCU", L"ControlPanel", true},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"System\\GDI", true},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"SYSTEM\\GWE", true},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"init", true},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"HARDWARE\\DEVICEMAP\\TOUCH", true},
};

inline std::wstring Join(const std::wstring& path, const std::wstring& name)
{
    return path.empty() ? name : path + L"\\" + name;
}

// Keys as "ROOT\PATH", values as "ROOT\PATH|NAME". The tree of the key named shallow (a path
// under HKCU, or none) is only seen to exist.
inline void SnapshotKey(HKEY root, const std::wstring& rootName, const std::wstring& path, bool deep,
                        const wchar_t* shallow, Snapshot& keys)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return;
    const CRegKey key(opened);
    const std::wstring prefix = Upper(rootName + L"\\" + path);
    keys[prefix] = "key";
    std::vector<BYTE> data(1024);
    std::vector<wchar_t> name(16384);
    for (DWORD i = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size()), type = 0, size = static_cast<DWORD>(data.size());
        const LONG result =
            ::RegEnumValueW(key.Get(), i, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (result == ERROR_MORE_DATA) {
            data.resize(std::max<size_t>(data.size() * 2, size));
            continue;
        }
        if (result != ERROR_SUCCESS)
            break;
        keys[prefix + L"|" + Upper(name.data())] =
            std::to_string(type) + ":" + std::string(data.begin(), data.begin() + size);
        ++i;
    }
    std::vector<std::wstring> subKeys;
    for (DWORD i = 0;; ++i) {
        wchar_t subKey[256];
        DWORD subKeyLength = 256;
        if (::RegEnumKeyExW(key.Get(), i, subKey, &subKeyLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subKeys.push_back(subKey);
    }
    for (const std::wstring& sub : subKeys) {
        if (deep && !(shallow && Upper(Join(path, sub)) == Upper(shallow)))
            SnapshotKey(root, rootName, Join(path, sub), true, shallow, keys);
        else
            keys[Upper(rootName + L"\\" + Join(path, sub))] = "key";
    }
}

inline Snapshot SnapshotRegistry(const wchar_t* shallow = nullptr)
{
    Snapshot keys;
    for (const WatchedKey& watched : kWatched)
        SnapshotKey(watched.root, watched.rootName, watched.path, watched.deep, shallow, keys);
    return keys;
}

#include "state/Registry.h"
#include <cstring>
#include "framework/NoCaseCompare.h"
#include "framework/ResourceString.h"
#include "resources/resource.h"

namespace {

// The device accepts one leading and one trailing backslash on a key path; the desktop
// registry does not, so they are dropped before every call.
std::wstring KeyName(const std::wstring& path)
{
    size_t begin = (!path.empty() && path.front() == L'\\') ? 1 : 0;
    size_t end = path.size();
    if (end > begin && path[end - 1] == L'\\')
        --end;
    return path.substr(begin, end - begin);
}

// No root names no key: the system's answer to a handle that is none.
CRegKey OpenKey(uint32_t root, const std::wstring& path, LONG& result)
{
    HKEY h = nullptr;
    result = root == 0 ? ERROR_INVALID_HANDLE
                       : ::RegOpenKeyExW(CRegistry::RootKey(root), KeyName(path).c_str(), 0, KEY_ALL_ACCESS, &h);
    return result == ERROR_SUCCESS ? CRegKey(h) : CRegKey();
}

CRegKey CreateKey(uint32_t root, const std::wstring& path, LONG& result)
{
    HKEY h = nullptr;
    result = root == 0 ? ERROR_INVALID_HANDLE
                       : ::RegCreateKeyExW(CRegistry::RootKey(root), KeyName(path).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    return result == ERROR_SUCCESS ? CRegKey(h) : CRegKey();
}

bool IsMissing(LONG result)
{
    return result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND;
}

}  // namespace

HKEY CRegistry::RootKey(uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<int32_t>(root))));
}

CRegistry::CRegistry(uint32_t root, const std::wstring& path, CKeyCache* keys) : m_pKeys(keys)
{
    SetRoot(root);
    SetPath(path);
}

void CRegistry::SetPath(const std::wstring& path)
{
    m_path = path;
    if (m_path.empty() || m_path.back() != L'\\')
        m_path += L'\\';
}

std::wstring CRegistry::GetFullPath(const wchar_t* subKey) const
{
    return subKey ? m_path + subKey : m_path;
}

int32_t CRegistry::ReadDWord(const wchar_t* subKey, const wchar_t* valueName, int32_t defaultValue)
{
    return CKey::Open(m_root, GetFullPath(subKey), m_pKeys).ReadDWord(valueName, defaultValue);
}

CRegistry::CWriteException::CWriteException(LONG systemError)
    : error(LoadResourceString(IDS_REG_CANNOT_WRITE)),
      m_systemError(systemError),
      m_systemText(SystemErrorText(static_cast<DWORD>(systemError)))
{
}

void CRegistry::WriteDWord(const wchar_t* subKey, const wchar_t* valueName, int32_t value)
{
    const DWORD data = static_cast<DWORD>(value);
    CKey::Create(m_root, GetFullPath(subKey), m_pKeys).Set(valueName, REG_DWORD, &data, sizeof data);
}

void CRegistry::WriteString(const wchar_t* subKey, const wchar_t* valueName, const wchar_t* text)
{
    const std::wstring value = text ? text : L"";
    CKey::Create(m_root, GetFullPath(subKey), m_pKeys)
        .Set(valueName, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::wstring CRegistry::ReadString(const wchar_t* subKey, const wchar_t* valueName, const wchar_t* defaultValue)
{
    return CKey::Open(m_root, GetFullPath(subKey), m_pKeys).ReadString(valueName, defaultValue);
}

CRegistry::ValueKind CRegistry::GetValueKind(const wchar_t* subKey, const wchar_t* valueName)
{
    const CKey key = CKey::Open(m_root, GetFullPath(subKey), m_pKeys);
    DWORD type = 0;
    if (key.m_pKeeper) {
        std::vector<BYTE> data;
        if (!key.Query(valueName, type, data))
            return kindMissing;
    } else if (!key.IsOpen()
               || ::RegQueryValueExW(key.m_key, valueName, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) {
        return kindMissing;
    }
    if (type == REG_DWORD)
        return kindDWord;
    if (type == REG_SZ)
        return kindString;
    return kindUnsupported;
}

void CRegistry::DeleteValue(const wchar_t* subKey, const wchar_t* valueName)
{
    CKey::Create(m_root, GetFullPath(subKey), m_pKeys).DeleteValue(valueName);
}

void CRegistry::DeleteKey(const wchar_t* subKey)
{
    const std::wstring name = KeyName(GetFullPath(subKey));
    // An empty path names the root itself: deleting everything below a root is never meant. A
    // preview deletes nothing.
    if (m_root == 0 || name.empty() || (m_pKeys && m_pKeys->KeepsWrites()))
        return;
    if (m_pKeys)
        m_pKeys->Clear();
    // The device's RegDeleteKey takes the key's subkeys with it.
    const LONG result = ::RegDeleteKeyW(RootKey(m_root), name.c_str());
    if (result != ERROR_SUCCESS && !IsMissing(result))
        throw CWriteException(result);
}

bool CRegistry::KeyExists(const wchar_t* subKey)
{
    return CKey::Open(m_root, GetFullPath(subKey), m_pKeys).IsOpen();
}

CRegistry::CKey CRegistry::CKey::Open(uint32_t root, const std::wstring& path, CKeyCache* keys)
{
    return Get(root, path, OpenKey, keys);
}

CRegistry::CKey CRegistry::CKey::Create(uint32_t root, const std::wstring& path, CKeyCache* keys)
{
    return Get(root, path, CreateKey, keys);
}

bool CRegistry::CKeyCache::CKeptLess::operator()(const KeptName& a, const KeptName& b) const
{
    if (std::get<0>(a) != std::get<0>(b))
        return std::get<0>(a) < std::get<0>(b);
    if (const int path = CompareNoCase(std::get<1>(a), std::get<1>(b)))
        return path < 0;
    return CompareNoCase(std::get<2>(a), std::get<2>(b)) < 0;
}

void CRegistry::CKeyCache::KeepWrites(std::function<void(const CChange&)> listener)
{
    m_listener = std::move(listener);
}

const CRegistry::CKeyCache::CKept* CRegistry::CKeyCache::FindKept(uint32_t root, const std::wstring& path,
                                                                  const wchar_t* valueName) const
{
    const auto found = m_kept.find(KeptName(root, path, valueName ? valueName : L""));
    return found == m_kept.end() ? nullptr : &found->second;
}

CRegistry::CKey CRegistry::CKey::Get(uint32_t root, const std::wstring& path,
                                     CRegKey (*open)(uint32_t, const std::wstring&, LONG&), CKeyCache* cache)
{
    CKey key;
    if (cache && cache->KeepsWrites()) {
        // A preview creates no key: one that is missing reads as empty and takes kept writes.
        open = OpenKey;
        key.m_pKeeper = cache;
        key.m_root = root;
        key.m_path = KeyName(path);
    }
    if (!cache) {
        key.m_owned = open(root, path, key.m_openError);
        key.m_key = key.m_owned.Get();
        return key;
    }
    // A key that could not be opened is not remembered: a later operation may create it.
    auto name = std::make_pair(root, KeyName(path));
    auto found = cache->m_keys.find(name);
    if (found == cache->m_keys.end()) {
        CRegKey opened = open(root, path, key.m_openError);
        if (!opened)
            return key;
        found = cache->m_keys.emplace(std::move(name), std::move(opened)).first;
    }
    key.m_key = found->second.Get();
    return key;
}

bool CRegistry::CKey::Query(const wchar_t* valueName, DWORD& type, std::vector<BYTE>& data) const
{
    if (m_pKeeper) {
        if (const CKeyCache::CKept* kept = m_pKeeper->FindKept(m_root, m_path, valueName)) {
            type = kept->type;
            data = kept->data;
            return kept->exists;
        }
    }
    if (!m_key)
        return false;
    data.resize(1024);
    DWORD size = static_cast<DWORD>(data.size());
    LONG result;
    while ((result = ::RegQueryValueExW(m_key, valueName, nullptr, &type, data.data(), &size)) == ERROR_MORE_DATA) {
        data.resize(size);
    }
    if (result != ERROR_SUCCESS)
        return false;
    data.resize(size);
    return true;
}

int32_t CRegistry::CKey::ReadDWord(const wchar_t* valueName, int32_t defaultValue) const
{
    if (m_pKeeper && m_pKeeper->FindKept(m_root, m_path, valueName)) {
        // As the registry reads it: at most four bytes, the missing ones zero.
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!Query(valueName, type, data) || data.size() > 4)
            return defaultValue;
        data.resize(4, 0);
        return static_cast<int32_t>(data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24));
    }
    if (!m_key)
        return defaultValue;
    unsigned char data[4] = {0, 0, 0, 0};
    DWORD size = sizeof data;
    if (::RegQueryValueExW(m_key, valueName, nullptr, nullptr, data, &size) != ERROR_SUCCESS)
        return defaultValue;
    return static_cast<int32_t>(data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24));
}

std::wstring CRegistry::CKey::ReadString(const wchar_t* valueName, const wchar_t* defaultValue) const
{
    const std::wstring fallback = defaultValue ? defaultValue : L"";
    if (m_pKeeper && m_pKeeper->FindKept(m_root, m_path, valueName)) {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!Query(valueName, type, data))
            return fallback;
        data.resize(data.size() + sizeof(wchar_t), 0);
        std::vector<wchar_t> text(data.size() / sizeof(wchar_t) + 1, L'\0');
        std::memcpy(text.data(), data.data(), data.size() / sizeof(wchar_t) * sizeof(wchar_t));
        return std::wstring(text.data());
    }
    if (!m_key)
        return fallback;
    // One query for the usual short text; a longer one is asked for again with the size the
    // system names. The buffer holds one zero character more than the bytes read, and the
    // text ends at its first zero character.
    std::vector<wchar_t> buffer(129, L'\0');
    DWORD bytes = 128 * sizeof(wchar_t);
    LONG result;
    while ((result = ::RegQueryValueExW(m_key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                                        &bytes))
           == ERROR_MORE_DATA) {
        buffer.assign(bytes / sizeof(wchar_t) + 2, L'\0');
    }
    if (result != ERROR_SUCCESS)
        return fallback;
    return std::wstring(buffer.data());
}

void CRegistry::CKey::Set(const wchar_t* valueName, DWORD type, const std::vector<BYTE>& data) const
{
    Set(valueName, type, data.data(), static_cast<DWORD>(data.size()));
}

void CRegistry::CKey::Set(const wchar_t* valueName, DWORD type, const void* data, DWORD size) const
{
    if (m_pKeeper) {
        const BYTE* bytes = static_cast<const BYTE*>(data);
        Keep(valueName, true, type, std::vector<BYTE>(bytes, bytes + size));
        return;
    }
    if (!m_key)
        throw CWriteException(m_openError);
    const LONG result = ::RegSetValueExW(m_key, valueName, 0, type, static_cast<const BYTE*>(data), size);
    if (result != ERROR_SUCCESS)
        throw CWriteException(result);
}

void CRegistry::CKey::Keep(const wchar_t* valueName, bool exists, DWORD type, const std::vector<BYTE>& data) const
{
    CKeyCache::CChange change{m_root, m_path, valueName ? valueName : L"", false, 0, {}, exists, type, data,
                              ERROR_SUCCESS};
    change.existed = Query(valueName, change.oldType, change.oldData);
    if (change.existed == exists && (!exists || (change.oldType == type && change.oldData == data)))
        return;
    // A key that exists was opened for writing; one that cannot be opened for another reason
    // than its absence would refuse the write.
    if (!m_key && !IsMissing(m_openError))
        change.refusal = m_openError;
    m_pKeeper->m_kept[CKeyCache::KeptName(m_root, m_path, change.valueName)] = CKeyCache::CKept{exists, type, data};
    m_pKeeper->m_listener(change);
}

void CRegistry::CKey::DeleteValue(const wchar_t* valueName) const
{
    if (m_pKeeper) {
        Keep(valueName, false, REG_NONE, {});
        return;
    }
    if (!m_key) {
        if (!IsMissing(m_openError))
            throw CWriteException(m_openError);
        return;
    }
    const LONG result = ::RegDeleteValueW(m_key, valueName);
    if (result != ERROR_SUCCESS && !IsMissing(result))
        throw CWriteException(result);
}

bool CRegistry::CKey::IsEmpty() const
{
    DWORD subKeys = 0, values = 0;
    return m_key
           && ::RegQueryInfoKeyW(m_key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                                 nullptr, nullptr, nullptr)
                  == ERROR_SUCCESS
           && subKeys == 0 && values == 0;
}

std::vector<std::wstring> CRegistry::CKey::GetValueNames() const
{
    std::vector<std::wstring> names;
    if (!m_key)
        return names;
    // The longest value name the registry allows, and its terminating zero.
    std::vector<wchar_t> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (::RegEnumValueW(m_key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return names;
        names.emplace_back(name.data(), length);
    }
}

std::vector<std::pair<std::wstring, std::wstring>> CRegistry::CKey::GetValueTexts() const
{
    std::vector<std::pair<std::wstring, std::wstring>> values;
    if (!m_key)
        return values;
    std::vector<wchar_t> name(16384);
    // As ReadString: one zero character more than the bytes read, the text up to its first zero.
    std::vector<wchar_t> data(129, L'\0');
    for (DWORD i = 0;;) {
        DWORD length = static_cast<DWORD>(name.size());
        DWORD bytes = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
        const LONG result = ::RegEnumValueW(m_key, i, name.data(), &length, nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(data.data()), &bytes);
        if (result == ERROR_MORE_DATA) {
            data.assign(bytes / sizeof(wchar_t) + 2, L'\0');
            continue;
        }
        if (result != ERROR_SUCCESS)
            return values;
        data[bytes / sizeof(wchar_t)] = L'\0';
        values.emplace_back(std::wstring(name.data(), length), std::wstring(data.data()));
        ++i;
    }
}

void CRegistry::CopyValue(uint32_t sourceRoot, const std::wstring& sourcePath, const wchar_t* sourceName,
                          uint32_t destRoot, const std::wstring& destPath, const wchar_t* destName)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (CKey::Open(sourceRoot, sourcePath).Query(sourceName, type, data))
        CKey::Create(destRoot, destPath).Set(destName, type, data);
}

std::wstring CRegistry::FirstMissingKey(uint32_t root, const std::wstring& path)
{
    const std::wstring name = KeyName(path);
    for (size_t end = name.find(L'\\');; end = name.find(L'\\', end + 1)) {
        const std::wstring part = name.substr(0, end);
        LONG result;
        if (!OpenKey(root, part, result))
            return part;
        if (end == std::wstring::npos)
            return std::wstring();
    }
}

void CRegistry::RemoveEmptyKeys(uint32_t root, const std::wstring& path, const std::wstring& top, CKeyCache* keys)
{
    if (root == 0 || top.empty())
        return;
    for (std::wstring name = KeyName(path); name.size() >= top.size(); name.resize(name.rfind(L'\\'))) {
        if (!CKey::Open(root, name).IsEmpty())
            return;
        if (keys)
            keys->Clear();
        if (::RegDeleteKeyW(RootKey(root), name.c_str()) != ERROR_SUCCESS)
            return;
        if (name.rfind(L'\\') == std::wstring::npos)
            return;
    }
}

uint32_t CRegistry::ParseRootName(const std::wstring& name)
{
    struct Root {
        const wchar_t* names[3];
        uint32_t handle;
    };
    static const Root roots[] = {
        {{L"HKCU", L"HCU", L"HKEY_CURRENT_USER"}, kCurrentUser},
        {{L"HKLM", L"HLM", L"HKEY_LOCAL_MACHINE"}, kLocalMachine},
        {{L"HKU", L"HU", L"HKEY_USERS"}, kUsers},
        {{L"HKCR", L"HCR", L"HKEY_CLASSES_ROOT"}, kClassesRoot},
    };
    for (const Root& root : roots)
        for (const wchar_t* candidate : root.names)
            if (EqualsNoCase(name, candidate))
                return root.handle;
    return 0;
}

bool CRegistry::ParseKeyPath(const std::wstring& path, uint32_t& root, std::wstring& rootName, std::wstring& subPath)
{
    const size_t slash = path.find(L'\\');
    if (slash == std::wstring::npos)
        return false;
    const std::wstring name = path.substr(0, slash);
    const uint32_t handle = ParseRootName(name);
    if (handle == 0)
        return false;
    root = handle;
    rootName = name;
    subPath = path.substr(slash + 1);
    return true;
}

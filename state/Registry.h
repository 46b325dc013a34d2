#pragma once
// The one wrapper through which the program reads and writes the registry. An instance names a
// root and a base path; every operation appends its sub-key to the base path. Reads fall back
// to the caller's default; a write or deletion the registry refuses raises CWriteException
// (deleting what is not there is no failure). Key handles never outlive the operation that
// opened them, or the key cache (below) that a run of operations keeps them in.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <map>
#include <tuple>
#include <string>
#include <utility>
#include <vector>
#include "framework/Error.h"
#include "framework/Handle.h"

class CRegistry {
public:
    // The predefined roots, as the 32-bit values the program stores.
    static constexpr uint32_t kClassesRoot = 0x80000000;
    static constexpr uint32_t kCurrentUser = 0x80000001;
    static constexpr uint32_t kLocalMachine = 0x80000002;
    static constexpr uint32_t kUsers = 0x80000003;

    enum ValueKind { kindString = 0, kindDWord = 1, kindUnsupported = 2, kindMissing = 3 };

    class CKeyCache;

    // A write the registry refused: "Cannot write registry data", with the system's reason.
    class CWriteException : public error {
    public:
        explicit CWriteException(LONG systemError);
        LONG GetSystemError() const { return m_systemError; }
        const std::wstring& GetSystemText() const { return m_systemText; }

    private:
        LONG m_systemError;
        std::wstring m_systemText;
    };

    // One key held open through an operation that touches several of its values, such as one
    // registry entry's switch; closed when the object goes. Paths are full paths under the
    // root. A key that could not be opened reads as empty; a write to it raises
    // CWriteException with the reason it could not be opened.
    class CKey {
    public:
        // The existing key only; kept in keys, when given, and taken from there next time.
        static CKey Open(uint32_t root, const std::wstring& path, CKeyCache* keys = nullptr);
        // The key, created with every missing key on its path; kept as Open keeps it.
        static CKey Create(uint32_t root, const std::wstring& path, CKeyCache* keys = nullptr);

        bool IsOpen() const { return m_key != nullptr; }
        // Type and exact bytes of a value; false when it is missing.
        bool Query(const wchar_t* valueName, DWORD& type, std::vector<BYTE>& data) const;
        // As CRegistry's reads of the same names, with the key already open.
        int32_t ReadDWord(const wchar_t* valueName, int32_t defaultValue) const;
        std::wstring ReadString(const wchar_t* valueName, const wchar_t* defaultValue = nullptr) const;
        void Set(const wchar_t* valueName, DWORD type, const std::vector<BYTE>& data) const;
        void Set(const wchar_t* valueName, DWORD type, const void* data, DWORD size) const;
        // A missing key or value is left as it is.
        void DeleteValue(const wchar_t* valueName) const;
        // Whether the key holds neither values nor sub-keys.
        bool IsEmpty() const;
        // The names of the key's values, in the registry's order.
        std::vector<std::wstring> GetValueNames() const;
        // Each value's name and its data read as ReadString reads it, in the registry's
        // order: one pass where names and then reads would ask the registry twice per value.
        std::vector<std::pair<std::wstring, std::wstring>> GetValueTexts() const;

    private:
        friend class CRegistry;
        friend class CKeyCache;
        static CKey Get(uint32_t root, const std::wstring& path, CRegKey (*open)(uint32_t, const std::wstring&, LONG&),
                        CKeyCache* keys);
        // Set by a value's change as the preview keeps it.
        void Keep(const wchar_t* valueName, bool exists, DWORD type, const std::vector<BYTE>& data) const;

        CRegKey m_owned;
        // The open key: m_owned's, or one a key cache holds.
        HKEY m_key = nullptr;
        // Why the key could not be opened.
        LONG m_openError = ERROR_SUCCESS;
        // A preview's cache, which keeps this key's writes, and the key's name there.
        CKeyCache* m_pKeeper = nullptr;
        uint32_t m_root = 0;
        std::wstring m_path;
    };

    // The keys a run of operations meets over and over (a mode switch: the key of the saved
    // copies for every entry), each opened once and kept open until Clear or the cache's end.
    // Operations given a cache use it; deleting a key through them clears it, so that no
    // handle outlives its key.
    class CKeyCache {
    public:
        CKeyCache() = default;
        CKeyCache(const CKeyCache&) = delete;
        CKeyCache& operator=(const CKeyCache&) = delete;

        // Closes every key.
        void Clear() { m_keys.clear(); }

        // One value's change as a preview keeps it: where, the data before (as the registry
        // and the changes kept before it have it) and after, and why the registry would
        // refuse it (ERROR_SUCCESS when it would not be known to).
        struct CChange {
            uint32_t root;
            std::wstring path;
            std::wstring valueName;
            bool existed;
            DWORD oldType;
            std::vector<BYTE> oldData;
            bool exists;
            DWORD type;
            std::vector<BYTE> data;
            LONG refusal;
        };
        // Makes this a preview's cache: from now on no write or deletion through it reaches
        // the registry, no key is created and none deleted; each is kept here instead, reads
        // through the cache see it, and listener is told of each one that changes a value.
        void KeepWrites(std::function<void(const CChange&)> listener);
        bool KeepsWrites() const { return static_cast<bool>(m_listener); }

    private:
        friend class CRegistry;
        struct CKept {
            bool exists;
            DWORD type;
            std::vector<BYTE> data;
        };
        // Root, key path as the system names it, value name; the names without regard to case.
        using KeptName = std::tuple<uint32_t, std::wstring, std::wstring>;
        struct CKeptLess {
            bool operator()(const KeptName& a, const KeptName& b) const;
        };
        const CKept* FindKept(uint32_t root, const std::wstring& path, const wchar_t* valueName) const;

        // Keys by root and path as the system is given it; a path written in another letter
        // case is opened again, which costs only the open.
        std::map<std::pair<uint32_t, std::wstring>, CRegKey> m_keys;
        // A preview's changes.
        std::map<KeptName, CKept, CKeptLess> m_kept;
        std::function<void(const CChange&)> m_listener;
    };

    // keys: the cache the operations keep their keys in; none when null. Not owned.
    explicit CRegistry(uint32_t root = 0, const std::wstring& path = std::wstring(), CKeyCache* keys = nullptr);
    CRegistry(const CRegistry&) = default;
    CRegistry& operator=(const CRegistry&) = default;
    virtual ~CRegistry() = default;

    void SetRoot(uint32_t root) { m_root = root; }
    uint32_t GetRoot() const { return m_root; }
    // Stores the path with exactly one trailing backslash guaranteed ("" becomes "\").
    void SetPath(const std::wstring& path);
    const std::wstring& GetPath() const { return m_path; }
    // The base path followed directly by the sub-key (the base path ends with "\").
    std::wstring GetFullPath(const wchar_t* subKey) const;

    int32_t ReadDWord(const wchar_t* subKey, const wchar_t* valueName, int32_t defaultValue);
    void WriteDWord(const wchar_t* subKey, const wchar_t* valueName, int32_t value);
    std::wstring ReadString(const wchar_t* subKey, const wchar_t* valueName,
                            const wchar_t* defaultValue = nullptr);
    void WriteString(const wchar_t* subKey, const wchar_t* valueName, const wchar_t* text);
    ValueKind GetValueKind(const wchar_t* subKey, const wchar_t* valueName);
    void DeleteValue(const wchar_t* subKey, const wchar_t* valueName);
    void DeleteKey(const wchar_t* subKey);
    bool KeyExists(const wchar_t* subKey);

    // Copies one value of any type with its exact bytes; the paths are full paths under the
    // roots. A missing source leaves the destination as it was.
    static void CopyValue(uint32_t sourceRoot, const std::wstring& sourcePath, const wchar_t* sourceName,
                          uint32_t destRoot, const std::wstring& destPath, const wchar_t* destName);
    // The shortest leading part of a full path that names no existing key, as the system
    // names it (no leading or trailing backslash); empty when the whole path exists.
    static std::wstring FirstMissingKey(uint32_t root, const std::wstring& path);
    // Deletes the key at path and then each key above it, as long as the key is empty and
    // lies at or below the key named `top` (a leading part of path, as FirstMissingKey gives
    // it). Keys that hold anything stay, and so does everything above them. Reports nothing:
    // a key left behind holds nothing. Clears keys, when given, before a deletion.
    static void RemoveEmptyKeys(uint32_t root, const std::wstring& path, const std::wstring& top,
                                CKeyCache* keys = nullptr);
    static uint32_t ParseRootName(const std::wstring& name);
    // Splits "ROOT\sub\path" at its first backslash; false without one or for an unknown root.
    static bool ParseKeyPath(const std::wstring& path, uint32_t& root, std::wstring& rootName,
                             std::wstring& subPath);

    // The predefined key of a stored root value (sign-extended, as the system defines them).
    static HKEY RootKey(uint32_t root);

private:
    uint32_t m_root = 0;
    std::wstring m_path;
    CKeyCache* m_pKeys = nullptr;
};

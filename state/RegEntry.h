#pragma once
// A registry value that follows the video mode: every storage name (QVGA.portrait ...) keeps
// its own copy of it under the settings sub-key "Saved Registry Data", and a mode switch puts
// the live value away as the old mode's copy and brings in the new mode's copy. Each value a
// switch changes is recorded in the switch session's undo buffer.
#include <cstdint>
#include <string>
#include "state/Registry.h"
#include "state/Undo.h"
#include "state/VideoMode.h"

class CSwitchSession;
class CUndoBuffer;

class CRegEntry {
public:
    // Copies a saved copy back over the live value, or removes the live value again when the
    // switch found none: a roll-back must not leave a mode's copy behind in its place, nor
    // the keys the switch created for it (createdKey: the first key of the live sub-path that
    // did not exist, as CRegistry::FirstMissingKey names it; empty when the key existed).
    class CUndo : public ::CUndo {
    public:
        CUndo(uint32_t liveRoot, std::wstring liveSubPath, std::wstring liveValueName, uint32_t savedRoot,
              std::wstring savedKeyPath, std::wstring savedValueName, bool liveExisted = true,
              std::wstring createdKey = std::wstring());
        void Undo() override;

        // Whether this record restores the live value (root, sub-path, value name): a trailing
        // backslash of the sub-paths and letter case are not significant.
        bool Restores(uint32_t root, const std::wstring& subPath, const std::wstring& valueName) const;

    private:
        uint32_t m_liveRoot;
        std::wstring m_strLiveSubPath;
        std::wstring m_strLiveValueName;
        uint32_t m_savedRoot;
        std::wstring m_strSavedKeyPath;
        std::wstring m_strSavedValueName;
        bool m_bLiveExisted;
        std::wstring m_strCreatedKey;
    };

    CRegEntry() = default;
    // keyPath: root name, backslash, sub-path ("HKLM\Software\A"); valueName may be empty
    // for the key's default value.
    CRegEntry(std::wstring keyPath, std::wstring valueName)
        : m_strKeyPath(std::move(keyPath)), m_strValueName(std::move(valueName)) {}

    // Stored form "keyPath,valueName": split at the first comma; without one the key path is
    // empty and the whole text is the value name.
    void FromString(const std::wstring& text);
    std::wstring ToString() const;

    const std::wstring& GetKeyPath() const { return m_strKeyPath; }
    const std::wstring& GetValueName() const { return m_strValueName; }

    // "root\sub-path\value\storage name", the root name as written; empty when the key path
    // does not parse.
    std::wstring GetSavedValueName(const CVideoMode& mode) const;
    // The kind of the live value; kindMissing when the key path does not parse.
    CRegistry::ValueKind GetKind() const;

    // Puts the live value away as from's copy, records the undo, and brings in to's copy.
    // Does nothing for an unparsable key path or a value this switch already handled; a
    // missing live value or copy leaves the corresponding side as it is. Raises nothing.
    // One operation: the live key and the key of the copies are each opened once, kept in the
    // session's key cache.
    void Switch(CSwitchSession& session, const CVideoMode& from, const CVideoMode& to) const;

    // The value belonging to a mode as text: the live value for current (the mode the device
    // runs in),
    // the saved copy for any other, read and written as the live value's kind (text or
    // number). A number reads as signed decimal and is written from the number the text begins
    // with, as its 32 bits (-2147483648 to 4294967295; beyond, or without digits, nothing is
    // written). Raise `error` with the registry messages; a refused write is
    // CRegistry::CWriteException.
    std::wstring GetValueText(const CVideoMode& mode, const CVideoMode& current) const;
    void SetValueText(const CVideoMode& mode, const CVideoMode& current, const std::wstring& text) const;
    // A whole number from -2147483648 to 4294967295, blanks around it allowed, as its 32 bits;
    // false for any other text.
    static bool ParseNumber(const std::wstring& text, uint32_t& bits);
    // Whether the value GetValueText reads for the mode exists (a missing copy reads as empty
    // text or 0). Raises as GetValueText does.
    bool HasValue(const CVideoMode& mode, const CVideoMode& current) const;

private:
    struct CLocation {
        CRegistry::ValueKind kind;
        CRegistry registry;
        std::wstring subKey;
        std::wstring valueName;
    };
    CLocation Locate(const CVideoMode& mode, const CVideoMode& current) const;
    static bool FindUndo(const CUndoBuffer& buffer, uint32_t root, const std::wstring& subPath,
                         const std::wstring& valueName);
    std::wstring SavedValueName(const std::wstring& rootName, const std::wstring& subPath,
                                const CVideoMode& mode) const;

    std::wstring m_strKeyPath;
    std::wstring m_strValueName;
};

#include "state/RegEntry.h"
#include <cstdint>
#include <vector>
#include "framework/NoCaseCompare.h"
#include "framework/WholeNumber.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"
#include "state/SwitchSession.h"

namespace {

const wchar_t kSavedDataKey[] = L"Saved Registry Data";

std::wstring SavedDataPath()
{
    return std::wstring(kSettingsPath) + kSavedDataKey;
}

[[noreturn]] void Throw(UINT id)
{
    throw error(LoadResourceString(id));
}

}  // namespace

CRegEntry::CUndo::CUndo(uint32_t liveRoot, std::wstring liveSubPath, std::wstring liveValueName, uint32_t savedRoot,
                        std::wstring savedKeyPath, std::wstring savedValueName, bool liveExisted,
                        std::wstring createdKey)
    : m_liveRoot(liveRoot),
      m_strLiveSubPath(std::move(liveSubPath)),
      m_strLiveValueName(std::move(liveValueName)),
      m_savedRoot(savedRoot),
      m_strSavedKeyPath(std::move(savedKeyPath)),
      m_strSavedValueName(std::move(savedValueName)),
      m_bLiveExisted(liveExisted),
      m_strCreatedKey(std::move(createdKey))
{
}

void CRegEntry::CUndo::Undo()
{
    if (!m_bLiveExisted) {
        // Only an existing key is opened: deleting the value must not create its key.
        CRegistry::CKey::Open(m_liveRoot, m_strLiveSubPath).DeleteValue(m_strLiveValueName.c_str());
        CRegistry::RemoveEmptyKeys(m_liveRoot, m_strLiveSubPath, m_strCreatedKey);
        return;
    }
    CRegistry::CopyValue(m_savedRoot, m_strSavedKeyPath, m_strSavedValueName.c_str(), m_liveRoot, m_strLiveSubPath,
                         m_strLiveValueName.c_str());
}

bool CRegEntry::CUndo::Restores(uint32_t root, const std::wstring& subPath, const std::wstring& valueName) const
{
    // The value names first: they tell most records apart without building a text.
    return m_liveRoot == root && EqualsNoCase(m_strLiveValueName, valueName)
           && EqualsNoCase(RemoveBackslash(m_strLiveSubPath), RemoveBackslash(subPath));
}

void CRegEntry::FromString(const std::wstring& text)
{
    const size_t comma = text.find(L',');
    if (comma == std::wstring::npos) {
        m_strKeyPath.clear();
        m_strValueName = text;
    } else {
        m_strKeyPath = text.substr(0, comma);
        m_strValueName = text.substr(comma + 1);
    }
}

std::wstring CRegEntry::ToString() const
{
    return m_strKeyPath + L"," + m_strValueName;
}

std::wstring CRegEntry::GetSavedValueName(const CVideoMode& mode) const
{
    uint32_t root = 0;
    std::wstring rootName, subPath;
    if (!CRegistry::ParseKeyPath(m_strKeyPath, root, rootName, subPath))
        return std::wstring();
    return SavedValueName(rootName, subPath, mode);
}

std::wstring CRegEntry::SavedValueName(const std::wstring& rootName, const std::wstring& subPath,
                                       const CVideoMode& mode) const
{
    return rootName + L"\\" + subPath + L"\\" + m_strValueName + L"\\" + mode.GetGroupName();
}

CRegistry::ValueKind CRegEntry::GetKind() const
{
    uint32_t root = 0;
    std::wstring rootName, subPath;
    if (!CRegistry::ParseKeyPath(m_strKeyPath, root, rootName, subPath))
        return CRegistry::kindMissing;
    return CRegistry(root).GetValueKind(subPath.c_str(), m_strValueName.c_str());
}

bool CRegEntry::FindUndo(const CUndoBuffer& buffer, uint32_t root, const std::wstring& subPath,
                         const std::wstring& valueName)
{
    for (size_t i = 0; i < buffer.GetSize(); ++i) {
        const auto* record = dynamic_cast<const CRegEntry::CUndo*>(buffer.GetAt(i));
        if (record && record->Restores(root, subPath, valueName))
            return true;
    }
    return false;
}

void CRegEntry::Switch(CSwitchSession& session, const CVideoMode& from, const CVideoMode& to) const
{
    uint32_t root = 0;
    std::wstring rootName, subPath;
    if (!CRegistry::ParseKeyPath(m_strKeyPath, root, rootName, subPath))
        return;
    CUndoBuffer& undo = session.GetUndoBuffer();
    if (FindUndo(undo, root, subPath, m_strValueName))
        return;
    const std::wstring fromName = SavedValueName(rootName, subPath, from);
    const std::wstring toName = SavedValueName(rootName, subPath, to);
    const std::wstring savedPath = SavedDataPath();
    const wchar_t* const valueName = m_strValueName.c_str();

    // The live value becomes from's copy.
    CRegistry::CKeyCache* const keys = session.GetKeys();
    CRegistry::CKey live = CRegistry::CKey::Open(root, subPath, keys);
    const std::wstring createdKey = live.IsOpen() ? std::wstring() : CRegistry::FirstMissingKey(root, subPath);
    DWORD type = 0;
    std::vector<BYTE> data;
    const bool liveExisted = live.Query(valueName, type, data);
    // Opening costs less than creating, and the key of the copies exists after the first switch.
    CRegistry::CKey saved = CRegistry::CKey::Open(CRegistry::kCurrentUser, savedPath, keys);
    if (liveExisted && !saved.IsOpen())
        saved = CRegistry::CKey::Create(CRegistry::kCurrentUser, savedPath, keys);
    if (liveExisted)
        saved.Set(fromName.c_str(), type, data);
    undo.Add(std::make_unique<CRegEntry::CUndo>(
        root, subPath, m_strValueName, CRegistry::kCurrentUser, savedPath, fromName, liveExisted, createdKey));

    // To's copy, if there is one, becomes the live value.
    if (!saved.Query(toName.c_str(), type, data))
        return;
    if (!live.IsOpen())
        live = CRegistry::CKey::Create(root, subPath, keys);
    live.Set(valueName, type, data);
}

CRegEntry::CLocation CRegEntry::Locate(const CVideoMode& mode, const CVideoMode& current) const
{
    const CRegistry::ValueKind kind = GetKind();
    if (kind != CRegistry::kindString && kind != CRegistry::kindDWord)
        Throw(IDS_REG_TYPE_NOT_SUPPORTED);
    if (mode == current) {
        uint32_t root = 0;
        std::wstring rootName, subPath;
        if (!CRegistry::ParseKeyPath(m_strKeyPath, root, rootName, subPath))
            Throw(IDS_REG_INVALID_KEY_NAME);
        return CLocation{kind, CRegistry(root), subPath, m_strValueName};
    }
    const std::wstring savedName = GetSavedValueName(mode);
    if (savedName.empty())
        Throw(IDS_REG_INVALID_VALUE_NAME);
    return CLocation{kind, GetSettingsRegistry(), kSavedDataKey, savedName};
}

std::wstring CRegEntry::GetValueText(const CVideoMode& mode, const CVideoMode& current) const
{
    CLocation location = Locate(mode, current);
    switch (location.kind) {
    case CRegistry::kindString:
        return location.registry.ReadString(location.subKey.c_str(), location.valueName.c_str(), L"");
    case CRegistry::kindDWord:
        return std::to_wstring(location.registry.ReadDWord(location.subKey.c_str(), location.valueName.c_str(), 0));
    default:
        Throw(IDS_REG_CANNOT_READ);
    }
}

void CRegEntry::SetValueText(const CVideoMode& mode, const CVideoMode& current, const std::wstring& text) const
{
    CLocation location = Locate(mode, current);
    switch (location.kind) {
    case CRegistry::kindString:
        location.registry.WriteString(location.subKey.c_str(), location.valueName.c_str(), text.c_str());
        break;
    case CRegistry::kindDWord: {
        // Signed decimal, as far as the text is a number; its 32 bits, never clamped.
        long long parsed = 0;
        if (!ParseWholeNumber(text, INT32_MIN, UINT32_MAX, parsed, wholeNumberLeading))
            Throw(IDS_REG_CANNOT_WRITE);
        location.registry.WriteDWord(location.subKey.c_str(), location.valueName.c_str(),
                                     static_cast<int32_t>(static_cast<uint32_t>(parsed)));
        break;
    }
    default:
        Throw(IDS_REG_CANNOT_WRITE);
    }
}

bool CRegEntry::ParseNumber(const std::wstring& text, uint32_t& bits)
{
    long long parsed = 0;
    if (!ParseWholeNumber(text, INT32_MIN, UINT32_MAX, parsed))
        return false;
    bits = static_cast<uint32_t>(parsed);
    return true;
}

bool CRegEntry::HasValue(const CVideoMode& mode, const CVideoMode& current) const
{
    CLocation location = Locate(mode, current);
    return location.registry.GetValueKind(location.subKey.c_str(), location.valueName.c_str()) != CRegistry::kindMissing;
}

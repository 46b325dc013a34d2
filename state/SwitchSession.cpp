#include "state/SwitchSession.h"
#include "framework/ResourceString.h"
#include "resources/resource.h"
#include "state/Settings.h"
#include "state/SettingsRegistry.h"

CSwitchSession::CSwitchSession() : m_pSettings(std::make_unique<CSettings>()) {}

CSwitchSession::CSwitchSession(const CVideoMode& current)
    : m_bCurrentKnown(true), m_current(current), m_pSettings(std::make_unique<CSettings>())
{
}

CSwitchSession::~CSwitchSession() = default;

CVideoMode CSwitchSession::GetCurrentMode()
{
    if (!m_bCurrentKnown) {
        m_current = ReadCurrentMode();
        m_bCurrentKnown = true;
    }
    return m_current;
}

CSwitchSession::CKeysOpen::CKeysOpen(CSwitchSession& session) : m_session(session)
{
    if (CSwitchRecord* record = m_session.m_pRecord)
        m_keys.KeepWrites([record](const CRegistry::CKeyCache::CChange& change) { record->AddRegistryChange(change); });
    m_session.m_pKeys = &m_keys;
}

void CSwitchSession::Tell(const std::wstring& text) const
{
    if (m_pRecord)
        Record(CSwitchRecord::Kind::note, IDS_PREVIEW_MESSAGE, {text});
    else if (m_pUser)
        m_pUser->Tell(text);
}

void CSwitchSession::Warn(const error& failure) const
{
    if (m_pRecord)
        Record(CSwitchRecord::Kind::note, IDS_PREVIEW_WARNING, {failure.GetMessage()});
    else if (m_pUser)
        m_pUser->Warn(failure);
}

void CSwitchSession::FreeHeldFiles() const
{
    if (m_pUser && !m_pRecord)
        m_pUser->FreeHeldFiles();
}

void CSwitchSession::Record(CSwitchRecord::Kind kind, const std::wstring& text) const
{
    if (m_pRecord)
        m_pRecord->Add(kind, text);
}

void CSwitchSession::Record(CSwitchRecord::Kind kind, UINT textId, std::initializer_list<std::wstring> args) const
{
    if (m_pRecord)
        m_pRecord->Add(kind, FormatResourceString(textId, args));
}

CRegistry CSwitchSession::Registry(uint32_t root, const std::wstring& path) const
{
    return CRegistry(root, path, m_pKeys);
}

CRegistry CSwitchSession::SettingsRegistry() const
{
    return Registry(CRegistry::kCurrentUser, kSettingsPath);
}

#include "state/SwitchSession.h"
#include "state/Settings.h"

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

void CSwitchSession::Tell(const std::wstring& text) const
{
    if (m_pUser)
        m_pUser->Tell(text);
}

void CSwitchSession::Warn(const error& failure) const
{
    if (m_pUser)
        m_pUser->Warn(failure);
}

void CSwitchSession::FreeHeldFiles() const
{
    if (m_pUser)
        m_pUser->FreeHeldFiles();
}

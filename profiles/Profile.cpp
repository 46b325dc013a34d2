#include "profiles/Profile.h"
#include "framework/File.h"
#include "framework/NoCaseCompare.h"
#include "profiles/ProfileScript.h"
#include "profiles/ZipFile.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/IniFile.h"
#include "state/SwitchSession.h"

const wchar_t CProfile::kVersion[] = L"1.4.0";

std::wstring CProfile::GetName() const
{
    const size_t slash = m_strPath.rfind(L'\\');
    const size_t dot = m_strPath.rfind(L'.');
    if (slash == std::wstring::npos || dot == std::wstring::npos)
        return m_strPath;
    // A dot before the last backslash belongs to a folder: the name is empty then.
    return dot > slash ? m_strPath.substr(slash + 1, dot - slash - 1) : std::wstring();
}

bool CProfile::IsPacked() const
{
    const std::wstring_view extension = L".zdorix";
    return m_strPath.size() >= extension.size()
           && EqualsNoCase(std::wstring_view(m_strPath).substr(m_strPath.size() - extension.size()), extension);
}

std::unique_ptr<CIniFile> CProfile::ReadText() const
{
    if (!IsPacked())
        return std::make_unique<CIniFile>(m_strPath);
    CZipFile archive(m_strPath);
    archive.Open();
    CZipFile::CEntry* entry = archive.FindEntry(L"profile.dorix");
    if (entry == nullptr)
        throw CProfileException(FormatResourceString(IDS_PROFILE_NO_CONFIG, {m_strPath}));
    // Profiles are only read: the text is never written back over the archive.
    return std::make_unique<CIniFile>(m_strPath, entry->Read());
}

void CProfile::LoadInfo()
{
    if (m_bInfoLoaded)
        return;
    ReadInfo(*ReadText());
}

void CProfile::ReadInfo(const CIniFile& text)
{
    m_strDescription = ReplaceAll(text.ReadString(L"Profile", L"Description"), L"\\n", L"\r\n");
    m_strAuthor = text.ReadString(L"Profile", L"Author");
    m_strHomepage = text.ReadString(L"Profile", L"Homepage");
    m_strEMail = text.ReadString(L"Profile", L"EMail");
    m_strVersion = text.ReadString(L"Profile", L"Version");
    m_bInfoLoaded = true;
}

void CProfile::Run(CSwitchSession& session, CVideoMode from, CVideoMode to)
{
    // The text is read once for the version and the commands: a packed profile's text is
    // taken out of its archive only once.
    const std::unique_ptr<CIniFile> text = ReadText();
    if (!m_bInfoLoaded)
        ReadInfo(*text);
    if (m_strVersion.empty())
        throw CProfileException(FormatResourceString(IDS_PROFILE_NO_VERSION, {m_strPath}));
    if (m_strVersion != kVersion)
        throw CProfileException(FormatResourceString(IDS_PROFILE_INCOMPATIBLE, {m_strPath}));
    CProfileScript script(this);
    session.Record(CSwitchRecord::Kind::note, IDS_PREVIEW_PROFILE, {m_strPath});
    const CSwitchRecord::CIndented indented(session.GetRecord());
    script.Run(session, from, to, *text);
}

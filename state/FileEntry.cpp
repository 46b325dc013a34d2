#include "state/FileEntry.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/FileReplace.h"
#include "state/SwitchSession.h"
#include "state/VideoMode.h"

std::wstring CFileEntry::FindVersion(const CVideoMode& to) const
{
    CVideoMode mode = to;
    do {
        for (const std::wstring& suffix : {mode.GetGroupName(), mode.GetResolutionName()}) {
            const std::wstring candidate = m_strPath + L"." + suffix;
            if (Exists(candidate))
                return candidate;
        }
    } while (mode.NextFallback());
    return std::wstring();
}

void CFileEntry::Switch(const CSwitchSession& session, const CVideoMode& /*from*/, const CVideoMode& to)
{
    const std::wstring version = FindVersion(to);
    if (!version.empty())
        CFileReplace(version, m_strPath).Replace(session);
    else
        session.Record(CSwitchRecord::Kind::note, IDS_PREVIEW_NO_VERSION, {m_strPath, to.GetGroupName()});
}

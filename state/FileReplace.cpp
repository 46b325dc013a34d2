#include "state/FileReplace.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SwitchSession.h"

namespace {

// Removes whatever sits under the name: a folder tree, or a file even when it is read-only
// (a displaced live file often is, and must not be left behind under its temporary name).
void RemovePath(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        DeleteTree(path);
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    ::DeleteFileW(path.c_str());
}

}  // namespace

void CFileReplace::Replace(const CSwitchSession& session)
{
    if (session.IsPreview()) {
        CheckSource();
        session.Record(CSwitchRecord::Kind::change, IDS_PREVIEW_FILE, {m_strTarget, m_strSource});
        return;
    }
    if (Attempt())
        return;
    session.FreeHeldFiles();
    if (Attempt())
        return;
    throw CReplaceException(FormatResourceString(IDS_CANNOT_REPLACE_FILE, {m_strTarget}));
}

void CFileReplace::CheckSource()
{
    // Without a source no attempt can succeed.
    if (!Exists(m_strSource))
        throw CReplaceException(FormatResourceString(IDS_CANNOT_REPLACE_FILE, {m_strTarget}));
}

bool CFileReplace::SourceIsDirectory()
{
    return IsDirectory(m_strSource);
}

bool CFileReplace::CopySourceFile(const std::wstring& destination)
{
    return CopyOneFile(m_strSource, destination, true);
}

bool CFileReplace::CopySourceDirectory(const std::wstring& destination)
{
    return CopyTree(m_strSource, destination);
}

// One swap: the new content is built under a temporary name, the live content is moved aside
// under a second name, the new content is moved in, and the old is deleted; a failure after the
// first move puts the live content back, so the live path ends either replaced or as it was.
// Moving the new content over the live file in one step would make the host's file system
// write all of it out before the move returns.
bool CFileReplace::Attempt()
{
    const bool directory = SourceIsDirectory();
    // A free name: nothing is reserved on disk, which would cost more than the moves. The copy
    // is made under it, so that only a copy that was really made can be moved in.
    const std::wstring newName = FindFreeTempName(FolderOf(m_strTarget));
    if (newName.empty())
        return false;
    bool copied = false;
    try {
        copied = directory ? CopySourceDirectory(newName) : CopySourceFile(newName);
    } catch (...) {
        // A copy that raises (an archive entry missing or damaged) leaves the target as it was.
        RemovePath(newName);
        throw;
    }
    if (!copied) {
        RemovePath(newName);
        return false;
    }

    // The second name is the first with another ending. It is not looked for beforehand: each
    // look at a name that is not there reads the whole folder, and the move itself refuses a
    // name that is taken.
    std::wstring oldName = newName.substr(0, newName.size() - 4) + L".old";
    bool displaced = ::MoveFileW(m_strTarget.c_str(), oldName.c_str()) != FALSE;
    if (!displaced && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        oldName = FindFreeTempName(FolderOf(m_strTarget));
        displaced = !oldName.empty() && ::MoveFileW(m_strTarget.c_str(), oldName.c_str());
    }
    // Usually a program holds the live file open; nothing has changed then.
    if (!displaced && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
        RemovePath(newName);
        return false;
    }
    if (::MoveFileW(newName.c_str(), m_strTarget.c_str())) {
        if (displaced)
            RemovePath(oldName);
        return true;
    }
    RemovePath(newName);
    if (displaced)
        ::MoveFileW(oldName.c_str(), m_strTarget.c_str());
    return false;
}

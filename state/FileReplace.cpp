#include "state/FileReplace.h"
#include "core/TaskManager.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

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

void CFileReplace::Replace()
{
    if (Attempt())
        return;
    // Returns once the terminated programs have ended and their files are free.
    CTaskManager().CloseRunningApplications();
    if (Attempt())
        return;
    throw CReplaceException(FormatResourceString(IDS_CANNOT_REPLACE_FILE, {m_strTarget}));
}

bool CFileReplace::SourceIsDirectory()
{
    return IsDirectory(m_strSource);
}

bool CFileReplace::CopySourceFile(const std::wstring& destination)
{
    return CopyOneFile(m_strSource, destination);
}

bool CFileReplace::CopySourceDirectory(const std::wstring& destination)
{
    return CopyTree(m_strSource, destination);
}

// One swap: the new content is built under a temporary name and moved over the live path in
// one step, which takes the old content away with it. Where that step is refused (a folder,
// or a live file the system will not replace), the live content is moved aside under a second
// name first and deleted once the new content is in; a failure after that moves it back. The
// live path ends either replaced or as it was.
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
    if (!directory && ::MoveFileExW(newName.c_str(), m_strTarget.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;

    // The second name, the first with another ending, is looked for only here: the one move
    // above needs none, and each look at a name that is not there reads the whole folder.
    std::wstring oldName = newName.substr(0, newName.size() - 4) + L".old";
    if (Exists(oldName))
        oldName = FindFreeTempName(FolderOf(m_strTarget));
    const bool displaced = ::MoveFileW(m_strTarget.c_str(), oldName.c_str()) != FALSE;
    // Usually a program holds the live file open; nothing has changed then.
    if (!displaced && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
        RemovePath(newName);
        return false;
    }
    if (::MoveFileW(newName.c_str(), m_strTarget.c_str())) {
        RemovePath(oldName);
        return true;
    }
    RemovePath(newName);
    if (displaced)
        ::MoveFileW(oldName.c_str(), m_strTarget.c_str());
    return false;
}

#pragma once
// Swaps a file or a whole folder tree in over a live path, through temporary names in the
// live path's folder so that the live path changes by moves alone. When the first attempt fails
// (usually because a program holds the live file open), the switch session's user is asked to
// free the files running programs hold, and the swap is tried once more.
//
// Whatever happens, the live path is never left empty while its old content sits under a
// temporary name, and no temporary name is left behind in the folder.
#include <string>
#include "framework/Error.h"

class CSwitchSession;

class CFileReplace {
public:
    class CReplaceException : public error {
    public:
        using error::error;
    };

    CFileReplace(std::wstring source, std::wstring target)
        : m_strSource(std::move(source)), m_strTarget(std::move(target)) {}
    CFileReplace(const CFileReplace&) = delete;
    CFileReplace& operator=(const CFileReplace&) = delete;
    virtual ~CFileReplace() = default;

    // Returns when the target holds a copy of the source; raises CReplaceException ("Cannot
    // replace file ...") when the attempt after freeing held files failed too. A preview
    // records the replacement instead, and raises what the copy would when the source is not
    // there.
    void Replace(const CSwitchSession& session);

protected:
    // Where the source comes from; a derived class may take it from elsewhere than a path.
    virtual bool SourceIsDirectory();
    // Copies the source file to destination, a name under which nothing exists yet.
    virtual bool CopySourceFile(const std::wstring& destination);
    // Copies the source folder tree to destination, which does not exist yet.
    virtual bool CopySourceDirectory(const std::wstring& destination);
    // Raises what a copy would when the source is not there.
    virtual void CheckSource();

    std::wstring m_strSource;
    std::wstring m_strTarget;

private:
    bool Attempt();
};

#pragma once
// A file replacement whose source is an entry, or a folder of entries, of a packed profile's
// archive rather than a path on the device. Everything around the copy (temporary names,
// moving the old target aside, closing programs and the retry) is the file replacement's.
#include <string>
#include "state/FileReplace.h"

class CUnzipReplace : public CFileReplace {
public:
    CUnzipReplace(std::wstring source, std::wstring target, std::wstring archive, bool directory)
        : CFileReplace(std::move(source), std::move(target)), m_strArchive(std::move(archive)), m_bDirectory(directory)
    {
    }

    // Whether the archive holds what a copy of source takes: the entry, or for a directory a
    // file entry below that folder. Raises the archive's errors.
    static bool HasSource(const std::wstring& archive, const std::wstring& source, bool directory);

protected:
    bool SourceIsDirectory() override { return m_bDirectory; }
    // Raises CReplaceException "File "%1" not found within zip-archive "%2"." for a missing
    // entry; the archive's own errors pass through.
    bool CopySourceFile(const std::wstring& destination) override;
    // Extracts every file entry below the source folder. Raises CReplaceException "Cannot
    // extract file, file "%1" already exists." for a file already there, and the archive's
    // invalid-format error, before anything is extracted, for an entry whose path would lead
    // outside the destination.
    bool CopySourceDirectory(const std::wstring& destination) override;
    // The entry, or for a folder one file entry below it, must be in the archive; raises as
    // the copies do.
    void CheckSource() override;

private:
    std::wstring m_strArchive;
    bool m_bDirectory;
    std::wstring m_strSourcePrefix;
    std::wstring m_strDestinationPrefix;
};

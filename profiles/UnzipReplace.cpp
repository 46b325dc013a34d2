#include "profiles/UnzipReplace.h"
#include <vector>
#include "framework/NoCaseCompare.h"
#include "profiles/ZipFile.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix)
{
    return EqualsNoCase(std::wstring_view(text).substr(0, prefix.size()), prefix);
}

// A path below the destination folder that stays below it: relative, no drive, no "..".
bool StaysBelow(const std::wstring& relative)
{
    if (relative.empty() || relative[0] == L'\\' || relative.find(L':') != std::wstring::npos)
        return false;
    for (size_t start = 0; start <= relative.size();) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos)
            end = relative.size();
        if (relative.compare(start, end - start, L"..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

bool CUnzipReplace::HasSource(const std::wstring& archive, const std::wstring& source, bool directory)
{
    CZipFile zip(archive);
    zip.Open();
    if (!directory)
        return zip.FindEntry(source) != nullptr;
    const std::wstring prefix = AddBackslash(source);
    for (size_t i = 0; i < zip.GetEntryCount(); ++i) {
        const CZipFile::CEntry* entry = zip.GetEntry(i);
        if (StartsWithNoCase(entry->GetName(), prefix) && !entry->IsDirectory())
            return true;
    }
    return false;
}

bool CUnzipReplace::CopySourceFile(const std::wstring& destination)
{
    CZipFile archive(m_strArchive);
    archive.Open();
    CZipFile::CEntry* entry = archive.FindEntry(m_strSource);
    if (entry == nullptr)
        throw CReplaceException(FormatResourceString(IDS_ZIP_ENTRY_NOT_FOUND, {m_strSource, m_strArchive}));
    entry->Extract(destination);
    archive.Close();
    return Exists(destination);
}

void CUnzipReplace::CheckSource()
{
    if (HasSource(m_strArchive, m_strSource, m_bDirectory))
        return;
    if (!m_bDirectory)
        throw CReplaceException(FormatResourceString(IDS_ZIP_ENTRY_NOT_FOUND, {m_strSource, m_strArchive}));
    CFileReplace::CheckSource();
}

bool CUnzipReplace::CopySourceDirectory(const std::wstring& destination)
{
    m_strDestinationPrefix = AddBackslash(destination);
    m_strSourcePrefix = AddBackslash(m_strSource);
    CZipFile archive(m_strArchive);
    archive.Open();
    std::vector<CZipFile::CEntry*> selected;
    for (size_t i = 0; i < archive.GetEntryCount(); ++i) {
        CZipFile::CEntry* entry = archive.GetEntry(i);
        if (!StartsWithNoCase(entry->GetName(), m_strSourcePrefix) || entry->IsDirectory())
            continue;
        // Checked for every entry before the first is written: an archive from a stranger
        // must not place files outside the folder it is installed into.
        if (!StaysBelow(entry->GetName().substr(m_strSourcePrefix.size())))
            throw CZipFile::CZipException(FormatResourceString(IDS_ZIP_INVALID_FORMAT, {m_strArchive}));
        selected.push_back(entry);
    }
    for (CZipFile::CEntry* entry : selected) {
        const std::wstring target = m_strDestinationPrefix + entry->GetName().substr(m_strSourcePrefix.size());
        if (Exists(target))
            throw CReplaceException(FormatResourceString(IDS_EXTRACT_FILE_EXISTS, {target}));
        CreatePath(RemoveBackslash(FolderOf(target)));
        entry->Extract(target);
    }
    archive.Close();
    return Exists(destination);
}

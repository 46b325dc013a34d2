#pragma once
// A file or folder that follows the video mode. Its per-mode versions sit beside it under
// its own name with a mode suffix ("PIResources.dll.VGA.landscape", "PIResources.dll.qvga");
// a switch copies the best fitting version over the live path. The versions are only read.
#include <string>

class CSwitchSession;
class CVideoMode;

class CFileEntry {
public:
    explicit CFileEntry(std::wstring path = std::wstring()) : m_strPath(std::move(path)) {}

    const std::wstring& GetPath() const { return m_strPath; }
    void SetPath(const std::wstring& path) { m_strPath = path; }

    // The version for `to` that exists first, trying for each mode along its fallback chain
    // the storage name and then the resolution name alone. Empty when there is none.
    std::wstring FindVersion(const CVideoMode& to) const;

    // Replaces the live path by the version for `to` (CFileReplace, whose
    // CReplaceException propagates). Without a version nothing changes. `from` is not used:
    // the versions do not depend on the mode left.
    void Switch(const CSwitchSession& session, const CVideoMode& from, const CVideoMode& to);

private:
    std::wstring m_strPath;
};

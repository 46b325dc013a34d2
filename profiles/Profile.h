#pragma once
// A profile: a small script, plain (".dorix") or packed in a store-only zip archive
// (".zdorix") with its payload files, that adapts the device to a video mode.
#include <memory>
#include <string>
#include "framework/Error.h"
#include "state/VideoMode.h"

class CIniFile;
class CSwitchSession;

class CProfileException : public error {
public:
    using error::error;
};

class CProfile {
public:
    static const wchar_t kVersion[];

    explicit CProfile(std::wstring path) : m_strPath(std::move(path)) {}
    CProfile(const CProfile&) = delete;
    CProfile& operator=(const CProfile&) = delete;
    virtual ~CProfile() = default;

    const std::wstring& GetPath() const { return m_strPath; }
    // The characters between the last "\" and the last "."; the whole path without either.
    std::wstring GetName() const;
    // Whether the path ends in ".zdorix", in any letter case.
    bool IsPacked() const;

    // Reads the "Profile" section once; on failure nothing is kept and a later call reads again.
    void LoadInfo();
    const std::wstring& GetDescription() const { return m_strDescription; }
    const std::wstring& GetAuthor() const { return m_strAuthor; }
    const std::wstring& GetHomepage() const { return m_strHomepage; }
    const std::wstring& GetEMail() const { return m_strEMail; }
    const std::wstring& GetVersion() const { return m_strVersion; }

    bool IsChecked() const { return m_bChecked; }
    void SetChecked(bool checked) { m_bChecked = checked; }

    // The profile text: the file itself, or a packed profile's "profile.dorix" read straight
    // out of the archive, without a temporary copy on disk.
    std::unique_ptr<CIniFile> ReadText() const;

    // Checks the version and runs the commands of the section chosen for to in the session.
    // Every failure passes to the caller.
    void Run(CSwitchSession& session, CVideoMode from, CVideoMode to);

private:
    void ReadInfo(const CIniFile& text);

    std::wstring m_strPath;
    std::wstring m_strDescription;
    std::wstring m_strAuthor;
    std::wstring m_strHomepage;
    std::wstring m_strEMail;
    std::wstring m_strVersion;
    bool m_bChecked = false;
    bool m_bInfoLoaded = false;
};


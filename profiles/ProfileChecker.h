#pragma once
// Reads every section of a profile as a switch would read it and lists what would go wrong,
// without running anything: the same script loader and the same commands' parsing, so that
// what it lets pass is exactly what a switch runs.
#include <string>
#include <vector>

class CIniFile;
class CProfile;
class CProfileScript;

class CProfileChecker {
public:
    struct CProblem {
        // The section the problem belongs to; empty for the profile as a whole.
        std::wstring section;
        // The line of the profile text, from 1; 0 for none.
        int line;
        std::wstring message;
    };

    explicit CProfileChecker(CProfile& profile) : m_profile(profile) {}

    // The problems in the order of their lines, those without a line last. Raises
    // CProfileException for a profile that does not exist or whose text is not text, and the
    // errors of reading it (an archive that is not a zip, one without "profile.dorix").
    std::vector<CProblem> Check();

    // The report of a check: the profile, one line per problem, and how many there are.
    static std::vector<std::wstring> Report(const CProfile& profile, const std::vector<CProblem>& problems);
    // "No problems found." or "N problems found.".
    static std::wstring Summary(size_t problems);

private:
    void CheckVersion(const CIniFile& text);
    void CheckSection(const CIniFile& text, const std::wstring& section, int nextHeader);
    void CheckCommand(CProfileScript& script, const std::wstring& section, int line, const std::wstring& value,
                      int key);
    void Add(const std::wstring& section, int line, std::wstring message);

    CProfile& m_profile;
    std::vector<CProblem> m_problems;
};

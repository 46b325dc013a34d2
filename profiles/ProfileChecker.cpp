#include "profiles/ProfileChecker.h"
#include <algorithm>
#include <climits>
#include <memory>
#include <set>
#include "profiles/Profile.h"
#include "profiles/ProfileCommand.h"
#include "profiles/ProfileScript.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/IniFile.h"

namespace {

const wchar_t kInfoSection[] = L"Profile";

// A key the script reads as a command: a decimal number without leading zeros.
bool IsCommandKey(const std::wstring& key, long& number)
{
    if (key.empty() || key.size() > 9 || (key[0] == L'0' && key.size() > 1))
        return false;
    number = 0;
    for (wchar_t c : key) {
        if (c < L'0' || c > L'9')
            return false;
        number = number * 10 + (c - L'0');
    }
    return true;
}

bool IsNameCharacter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'_';
}

// Every "%NAME%" of text, in order.
std::vector<std::wstring> Names(const std::wstring& text)
{
    std::vector<std::wstring> names;
    size_t open = text.find(L'%');
    while (open != std::wstring::npos) {
        const size_t close = text.find(L'%', open + 1);
        if (close == std::wstring::npos)
            break;
        const auto first = text.begin() + static_cast<std::ptrdiff_t>(open + 1);
        const auto last = text.begin() + static_cast<std::ptrdiff_t>(close);
        if (close > open + 1 && std::all_of(first, last, IsNameCharacter)) {
            names.push_back(text.substr(open, close - open + 1));
            open = text.find(L'%', close + 1);
        } else {
            open = close;
        }
    }
    return names;
}

}  // namespace

std::vector<CProfileChecker::CProblem> CProfileChecker::Check()
{
    m_problems.clear();
    const std::wstring& path = m_profile.GetPath();
    if (!Exists(path))
        throw CProfileException(FormatResourceString(IDS_CHECK_NO_PROFILE, {path}));
    const std::unique_ptr<CIniFile> text = m_profile.ReadText();
    if (!text->IsText())
        throw CProfileException(FormatResourceString(IDS_CHECK_NOT_TEXT, {path}));
    CheckVersion(*text);

    // The sections the switch's lookup finds for some mode; the upside-down and left-handed
    // modes find those of the standard and right-handed ones.
    std::set<std::wstring> used;
    for (bool vga : {false, true}) {
        for (int16_t orientation : {0, 1}) {
            CVideoMode mode(vga, orientation);
            const std::wstring section = CProfileScript::FindSection(*text, mode);
            if (section.empty())
                Add(std::wstring(), 0, FormatResourceString(IDS_CHECK_NO_SECTION, {mode.GetGroupName()}));
            used.insert(section);
        }
    }
    const std::vector<CIniFile::CLine> sections = text->GetSections();
    std::set<std::wstring> seen;
    for (size_t i = 0; i < sections.size(); ++i) {
        const CIniFile::CLine& section = sections[i];
        if (!seen.insert(section.name).second)
            Add(section.name, section.line, FormatResourceString(IDS_CHECK_REPEATED_SECTION, {section.name}));
        else if (section.name == kInfoSection)
            continue;
        else if (!used.count(section.name))
            Add(section.name, section.line, FormatResourceString(IDS_CHECK_UNUSED_SECTION, {section.name}));
        else
            CheckSection(*text, section.name, i + 1 < sections.size() ? sections[i + 1].line : INT_MAX);
    }
    std::stable_sort(m_problems.begin(), m_problems.end(), [](const CProblem& a, const CProblem& b) {
        return static_cast<unsigned>(a.line - 1) < static_cast<unsigned>(b.line - 1);
    });
    return m_problems;
}

void CProfileChecker::CheckVersion(const CIniFile& text)
{
    const std::wstring version = text.ReadString(kInfoSection, L"Version");
    if (version == CProfile::kVersion)
        return;
    int line = text.GetLine(kInfoSection, L"Version");
    if (line == 0) {
        for (const CIniFile::CLine& section : text.GetSections())
            if (section.name == kInfoSection && line == 0)
                line = section.line;
    }
    Add(kInfoSection, line,
        FormatResourceString(version.empty() ? IDS_PROFILE_NO_VERSION : IDS_PROFILE_INCOMPATIBLE, {m_profile.GetPath()}));
}

void CProfileChecker::CheckSection(const CIniFile& text, const std::wstring& section, int nextHeader)
{
    CProfileScript script(&m_profile);
    // The commands as the script reads them: key after key until one is missing or empty.
    long count = 0;
    for (;; ++count) {
        const std::wstring key = std::to_wstring(count);
        const std::wstring value = text.ReadString(section, key);
        if (value.empty())
            break;
        const int line = text.GetLine(section, key);
        if (line > nextHeader)
            Add(section, line, FormatResourceString(IDS_CHECK_KEY_BELOW, {key}));
        CheckCommand(script, section, line, value, static_cast<int>(count));
    }
    for (const CIniFile::CLine& key : text.GetKeys(section)) {
        long number;
        if (IsCommandKey(key.name, number) && number > count)
            Add(section, key.line, FormatResourceString(IDS_CHECK_AFTER_GAP, {key.name}));
    }
}

void CProfileChecker::CheckCommand(CProfileScript& script, const std::wstring& section, int line,
                                   const std::wstring& value, int key)
{
    const size_t comma = value.find(L',');
    if (comma != std::wstring::npos) {
        for (const std::wstring& name : Names(value.substr(comma + 1))) {
            std::wstring expanded = name;
            script.ExpandConstants(expanded);
            if (expanded == name)
                Add(section, line, FormatResourceString(IDS_CHECK_UNKNOWN_NAME, {name}));
        }
    }
    try {
        const std::unique_ptr<CProfileCommand> command = script.ParseCommand(value, key);
        if (const auto* write = dynamic_cast<const CRegWriteDWordCommand*>(command.get())) {
            if (!write->HasNumber())
                Add(section, line, FormatResourceString(IDS_CHECK_NOT_A_NUMBER, {write->m_strData}));
        } else if (const auto* copy = dynamic_cast<const CCopyFileCommand*>(command.get())) {
            if (!copy->SourceExists())
                Add(section, line,
                    FormatResourceString(copy->SourceInArchive() ? IDS_CHECK_NO_ENTRY : IDS_CHECK_NO_SOURCE,
                                         {copy->m_strSource}));
        }
    } catch (const error& e) {
        Add(section, line, e.GetMessage());
    }
}

void CProfileChecker::Add(const std::wstring& section, int line, std::wstring message)
{
    m_problems.push_back(CProblem{section, line, std::move(message)});
}

std::wstring CProfileChecker::Summary(size_t problems)
{
    return problems == 0 ? LoadResourceString(IDS_CHECK_NONE)
                         : FormatResourceString(IDS_CHECK_COUNT, {std::to_wstring(problems)});
}

std::vector<std::wstring> CProfileChecker::Report(const CProfile& profile, const std::vector<CProblem>& problems)
{
    std::vector<std::wstring> lines{FormatResourceString(IDS_CHECK_REPORT_PROFILE, {profile.GetPath()})};
    for (const CProblem& problem : problems) {
        if (problem.line > 0)
            lines.push_back(FormatResourceString(IDS_CHECK_LINE,
                                                 {problem.section, std::to_wstring(problem.line), problem.message}));
        else if (!problem.section.empty())
            lines.push_back(FormatResourceString(IDS_CHECK_SECTION, {problem.section, problem.message}));
        else
            lines.push_back(problem.message);
    }
    lines.push_back(Summary(problems.size()));
    return lines;
}

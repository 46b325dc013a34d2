#include "core/CommandLine.h"
#include <vector>

const wchar_t CCommandLine::kCheck[] = L"CHECK";
const wchar_t CCommandLine::kKeep[] = L"KEEP";
const wchar_t CCommandLine::kResume[] = L"RESUME";
const wchar_t CCommandLine::kReturn[] = L"RETURN";
const wchar_t CCommandLine::kRun[] = L"RUN";
const wchar_t CCommandLine::kYes[] = L"Y";

namespace {

// A group of keywords of one meaning; the program writes the first of a group.
enum class Meaning { install, uninstall, testProfile, check, keep, resume, preview, yes, ret, portrait, right,
                     left, upsideDown, qvga, vga };
struct KeywordGroup {
    Meaning meaning;
    std::vector<const wchar_t*> words;
};
const KeywordGroup kKeywords[] = {
    {Meaning::install, {L"INSTALL", L"I"}},
    {Meaning::uninstall, {L"UNINSTALL", L"U"}},
    {Meaning::testProfile, {L"TESTPROFILE"}},
    {Meaning::check, {CCommandLine::kCheck}},
    {Meaning::keep, {CCommandLine::kKeep}},
    {Meaning::resume, {CCommandLine::kResume}},
    {Meaning::preview, {L"PREVIEW"}},
    {Meaning::yes, {CCommandLine::kYes}},
    {Meaning::ret, {CCommandLine::kReturn}},
    {Meaning::portrait, {L"PORTRAIT", L"P"}},
    {Meaning::right, {L"LANDSCAPE", L"LANDSCAPE-RIGHT", L"LR", L"RIGHT", L"R"}},
    {Meaning::left, {L"LANDSCAPE-LEFT", L"LL", L"LEFT", L"L"}},
    {Meaning::upsideDown, {L"UPSIDEDOWN", L"PORTRAIT-UPSIDEDOWN", L"PU", L"PUD", L"UD"}},
    {Meaning::qvga, {L"QVGA", L"Q", L"QV"}},
    {Meaning::vga, {L"VGA", L"V"}},
};

wchar_t Upper(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// The words of text, upper case, without a leading "/" or "-".
std::vector<std::wstring> Words(const std::wstring& text)
{
    std::vector<std::wstring> words;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find(L' ', at), text.size());
        if (end > at) {
            std::wstring word = text.substr(at, end - at);
            if (word.size() > 1 && (word[0] == L'/' || word[0] == L'-'))
                word.erase(0, 1);
            for (wchar_t& c : word)
                c = Upper(c);
            words.push_back(word);
        }
        at = end + 1;
    }
    return words;
}

bool Has(const std::vector<std::wstring>& words, Meaning meaning)
{
    for (const KeywordGroup& group : kKeywords) {
        if (group.meaning != meaning)
            continue;
        for (const std::wstring& word : words)
            for (const wchar_t* keyword : group.words)
                if (word == keyword)
                    return true;
    }
    return false;
}

const wchar_t* Written(Meaning meaning)
{
    for (const KeywordGroup& group : kKeywords)
        if (group.meaning == meaning)
            return group.words.front();
    return L"";
}

// Where the first word that is keyword starts in text and where what follows it starts; false
// without one.
bool FindWord(const std::wstring& text, const std::wstring& keyword, size_t& start, size_t& rest)
{
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find(L' ', at), text.size());
        size_t word = at;
        if (end - at > 1 && (text[at] == L'/' || text[at] == L'-'))
            ++word;
        bool same = end - word == keyword.size();
        for (size_t i = 0; same && i < keyword.size(); ++i)
            same = Upper(text[word + i]) == keyword[i];
        if (same) {
            start = at;
            rest = end + 1;
            return true;
        }
        at = end + 1;
    }
    return false;
}

// A path as it stands, or the part within the double quotes it starts with.
std::wstring Unquoted(const std::wstring& path)
{
    const size_t close = path.empty() || path[0] != L'"' ? std::wstring::npos : path.find(L'"', 1);
    return close == std::wstring::npos ? path : path.substr(1, close - 1);
}

}  // namespace

CCommandLine CCommandLine::Parse(const std::wstring& text)
{
    CCommandLine line;
    if (text.empty())
        return line;
    size_t runStart = 0, rest = 0, checkStart = 0, checkRest = 0;
    const bool run = FindWord(text, kRun, runStart, rest);
    const bool check = FindWord(text, kCheck, checkStart, checkRest);
    // Whichever of the two comes first takes the rest of the line.
    line.m_bRun = run && !(check && checkStart < runStart);
    const bool checking = check && !line.m_bRun;
    if (checking && checkRest < text.size())
        line.m_strProfile = Unquoted(text.substr(checkRest));
    // Keywords stand only before "RUN": the program and its arguments are not ours to read;
    // nor is the profile's path after "CHECK".
    const std::vector<std::wstring> words
        = Words(line.m_bRun ? text.substr(0, runStart) : checking ? text.substr(0, checkRest) : text);
    if (line.m_bRun && rest < text.size()) {
        const std::wstring after = text.substr(rest);
        size_t end;
        if (after[0] == L'"') {
            end = after.find(L'"', 1);
            if (end != std::wstring::npos) {
                line.m_strProgram = after.substr(1, end - 1);
                ++end;
            }
        } else {
            end = after.find(L' ');
            line.m_strProgram = after.substr(0, end);
        }
        if (end < after.size())
            line.m_strArguments = after.substr(after[end] == L' ' ? end + 1 : end);
    }
    line.m_bYes = Has(words, Meaning::yes);
    line.m_bReturn = Has(words, Meaning::ret);
    const std::pair<Meaning, Action> actions[] = {
        {Meaning::install, Action::install}, {Meaning::uninstall, Action::uninstall},
        {Meaning::testProfile, Action::testProfile}, {Meaning::check, Action::check},
        {Meaning::keep, Action::keep}, {Meaning::resume, Action::resume}};
    for (const auto& action : actions) {
        if (Has(words, action.first)) {
            line.m_action = action.second == Action::check && line.m_strProfile.empty() ? Action::incorrect
                                                                                         : action.second;
            return line;
        }
    }
    int16_t orientation = 0;
    if (Has(words, Meaning::portrait))
        orientation = 0;
    else if (Has(words, Meaning::right))
        orientation = 1;
    else if (Has(words, Meaning::left))
        orientation = 3;
    else if (Has(words, Meaning::upsideDown))
        orientation = 2;
    const bool qvga = Has(words, Meaning::qvga);
    const bool vga = !qvga && Has(words, Meaning::vga);
    const bool preview = Has(words, Meaning::preview);
    if ((!qvga && !vga) || (!preview && line.m_bRun && line.m_strProgram.empty())) {
        line.m_action = Action::incorrect;
        return line;
    }
    line.m_mode = CVideoMode(vga, orientation);
    line.m_action = preview ? Action::preview : Action::switchMode;
    return line;
}

std::wstring CCommandLine::ModeKeywords(const CVideoMode& mode)
{
    static const Meaning kOrientations[4] = {Meaning::portrait, Meaning::right, Meaning::upsideDown, Meaning::left};
    return std::wstring(Written(mode.m_bVGA ? Meaning::vga : Meaning::qvga)) + L" "
           + Written(kOrientations[mode.m_nOrientation & 3]);
}

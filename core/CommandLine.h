#pragma once
// The program's command line, read once into a value. Keywords stand before "RUN", in any
// letter case, bare or with "/" or "-" in front, separated by blanks; a word that only
// contains a keyword is none. After "RUN" come the program to start, in double quotes when it
// holds blanks, and after one blank its arguments, as they stand; after "CHECK" the path of a
// profile, as it stands or in double quotes. Keywords count only before the first of the two.
// One table holds every keyword: the shortcuts the program writes take theirs from it.
#include <string>
#include "state/VideoMode.h"

class CCommandLine {
public:
    // What the line asks for: the first that applies, in this order.
    enum class Action { window, install, uninstall, testProfile, check, keep, resume, preview, switchMode, incorrect };

    // The keywords that the program writes into its shortcuts, and "CHECK", which is read as
    // "RUN" is.
    static const wchar_t kCheck[];
    static const wchar_t kKeep[];
    static const wchar_t kResume[];
    static const wchar_t kReturn[];
    static const wchar_t kRun[];
    static const wchar_t kYes[];

    // An empty line opens the window. A line without a resolution keyword, or with "RUN" and
    // no program after it, is incorrect (unless it installs, uninstalls, tests the profile,
    // checks one, keeps or resumes); so is "CHECK" without a path after it. "PREVIEW" with a
    // mode previews the switch to it, whatever follows "RUN".
    static CCommandLine Parse(const std::wstring& text);

    // The keywords of a mode as the program writes them, e.g. "VGA LANDSCAPE-LEFT".
    static std::wstring ModeKeywords(const CVideoMode& mode);

    Action m_action = Action::window;
    // "Y": every question answered with yes, no success message.
    bool m_bYes = false;
    // "RETURN" before "RUN": back to the mode of before when the program ends.
    bool m_bReturn = false;
    // The mode named, for a switch: the first orientation group present, else portrait.
    CVideoMode m_mode;
    // "RUN": the program to start in the mode, and its arguments.
    bool m_bRun = false;
    std::wstring m_strProgram;
    std::wstring m_strArguments;
    // "CHECK": the profile to check.
    std::wstring m_strProfile;
};

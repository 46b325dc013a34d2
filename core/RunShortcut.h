#pragma once
// A shortcut in the Start menu that runs a program in a video mode of its own: what the "New
// shortcut" sheet edits. Its command line starts this program with the mode's keywords,
// "RETURN" and "Y" as chosen, then "RUN", the program and its arguments.
#include <string>
#include "state/VideoMode.h"

class CRunShortcut {
public:
    CVideoMode m_mode;
    std::wstring m_strProgram;
    std::wstring m_strArguments;
    // Back to the mode of before when the program ends ("RETURN").
    bool m_bReturn = false;
    // No questions before the switch ("Y").
    bool m_bYes = false;
    // The shortcut's file name without ".lnk".
    std::wstring m_strName;

    // This program's arguments in the shortcut, e.g. VGA LANDSCAPE RETURN Y RUN "\My Game.exe" -q.
    std::wstring GetArguments() const;
    // "\Windows\Start Menu\Programs\<name>.lnk".
    std::wstring GetPath() const;
    // Whether the name can be a shortcut's file name in the Start menu: not empty, and none of
    // \ / : * ? " < > | that would lead elsewhere or cannot stand in a file name.
    static bool IsValidName(const std::wstring& name);
    // Writes the shortcut, replacing one of the same name. Raises CFileException when it
    // cannot be written.
    void Write() const;
};

#pragma once
// Turns the section of one profile chosen for a target mode into commands and runs them. The
// whole section is read and parsed before the first command runs, so a bad line anywhere
// stops the profile before it has changed anything.
#include <memory>
#include <string>
#include "profiles/ProfileCommand.h"
#include "state/ColArray.h"
#include "state/VideoMode.h"

class CIniFile;
class CProfile;
class CSwitchSession;

class CProfileScript {
public:
    class CConstant {
    public:
        CConstant(std::wstring name, std::wstring value) : m_strName(std::move(name)), m_strValue(std::move(value)) {}
        std::wstring m_strName;
        std::wstring m_strValue;
    };

    explicit CProfileScript(CProfile* profile) : m_pProfile(profile) {}
    CProfileScript(const CProfileScript&) = delete;
    CProfileScript& operator=(const CProfileScript&) = delete;

    // Loads the section for to and executes its commands in the session.
    void Run(CSwitchSession& session, CVideoMode from, CVideoMode to);
    // The same with the profile's text already read.
    void Run(CSwitchSession& session, CVideoMode from, CVideoMode to, const CIniFile& text);
    // Empties the command list and fills it from the section chosen for mode.
    void Load(CVideoMode mode);
    void Load(CVideoMode mode, const CIniFile& text);
    // One command line of a section as the switch takes it: the command of the name before the
    // first comma, made through the command-name table and given the arguments after it, the
    // constants expanded, to parse. key is the line's key, for the message of a line without
    // a comma. Raises what a section's loading raises for the line.
    std::unique_ptr<CProfileCommand> ParseCommand(const std::wstring& value, int key);
    // The first section the profile text has for mode, in fallback order; empty for none.
    static std::wstring FindSection(const CIniFile& text, CVideoMode mode);
    // Replaces every constant's name in text by its value, the constants in their fixed order.
    void ExpandConstants(std::wstring& text);
    void AddConstant(const std::wstring& name, const std::wstring& value);

    size_t GetCommandCount() const { return m_commands.GetSize(); }
    CProfileCommand* GetCommand(size_t index) const { return m_commands.GetAt(index); }

private:
    CProfile* m_pProfile;
    CTypedColArray<CProfileCommand> m_commands;
    CTypedColArray<CConstant> m_constants;
    bool m_bConstantsReady = false;
};

#pragma once
// The commands a profile runs: registry writes, per-mode registry swaps, file and folder
// copies, and messages. The script creates a command through the command-name table, sets its
// profile, hands it the argument list (constants expanded) to parse, and only after the whole
// section parsed executes it with the switch's from and to modes.
#include <cstdint>
#include <memory>
#include <string>
#include "framework/Error.h"
#include "state/RegEntry.h"
#include "state/VideoMode.h"

class CProfile;
class CSwitchSession;

class CProfileCommand {
public:
    class CArgumentException : public error {
    public:
        using error::error;
    };

    // One entry of the command-name table: the name as written in profiles, and how to make
    // the command.
    class CCommandFactory {
    public:
        using Create = std::unique_ptr<CProfileCommand> (*)();
        CCommandFactory(std::wstring name, Create create) : m_strName(std::move(name)), m_pfnCreate(create) {}
        std::wstring m_strName;
        Create m_pfnCreate;
    };

    CProfileCommand() = default;
    CProfileCommand(const CProfileCommand&) = delete;
    CProfileCommand& operator=(const CProfileCommand&) = delete;
    virtual ~CProfileCommand() = default;

    // Carries the command out in the session, for a switch from one mode to another.
    virtual void Execute(CSwitchSession& session, CVideoMode from, CVideoMode to) = 0;
    // Raises CArgumentException for an argument list the command cannot use.
    virtual void Parse(const std::wstring& args) = 0;

    // The profile the command belongs to; not owned. Set before Parse.
    CProfile* m_pProfile = nullptr;

protected:
    [[noreturn]] static void BadArguments(const std::wstring& args);
};

// Adds a command to the program-wide command-name table. The six standard commands are in it
// from the start, in their fixed order.
void RegisterCommand(const std::wstring& name, CProfileCommand::CCommandFactory::Create create);
// A new command of the first table entry whose name equals name ignoring case; raises
// CProfileException "Unknown profile command: %1." when there is none.
std::unique_ptr<CProfileCommand> CreateCommand(const std::wstring& name);

// Key path, value name and data, the key path split into its root and sub-path.
class CRegWriteCommand : public CProfileCommand {
public:
    void Parse(const std::wstring& args) override;

    uint32_t m_root = 0;
    std::wstring m_strKeyPath;
    std::wstring m_strValueName;
    std::wstring m_strData;
};

class CRegWriteDWordCommand : public CRegWriteCommand {
public:
    void Execute(CSwitchSession& session, CVideoMode from, CVideoMode to) override;
    // Whether the data starts with digits, after blanks and a sign: without them the command
    // writes 0.
    bool HasNumber() const;
};

class CRegWriteStringCommand : public CRegWriteCommand {
public:
    void Execute(CSwitchSession& session, CVideoMode from, CVideoMode to) override;
};

// Switches a value between its per-mode copies, as the program's own registry list does.
class CRegSwapCommand : public CRegWriteCommand {
public:
    void Parse(const std::wstring& args) override;
    void Execute(CSwitchSession& session, CVideoMode from, CVideoMode to) override;

    CRegEntry m_entry;
};

class CCopyFileCommand : public CProfileCommand {
public:
    void Parse(const std::wstring& args) override;
    void Execute(CSwitchSession& session, CVideoMode from, CVideoMode to) override;
    virtual bool CopiesDirectory() const { return false; }
    // Whether the source names what the packed profile's archive holds rather than a path on
    // the device.
    bool SourceInArchive() const;
    // Whether what Execute copies from is there: the archive's entry (or a file entry below
    // the folder), else the file or folder on the device. Raises the archive's errors.
    bool SourceExists() const;

    std::wstring m_strSource;
    std::wstring m_strTarget;
};

class CCopyDirectoryCommand : public CCopyFileCommand {
public:
    bool CopiesDirectory() const override { return true; }
};

// Tells the session's user, if anyone is there to answer.
class CShowMessageCommand : public CProfileCommand {
public:
    void Parse(const std::wstring& args) override { m_strMessage = args; }
    void Execute(CSwitchSession& session, CVideoMode from, CVideoMode to) override;

    std::wstring m_strMessage;
};

#include "profiles/ProfileCommand.h"
#include <cwctype>
#include "framework/NoCaseCompare.h"
#include "profiles/Profile.h"
#include "profiles/UnzipReplace.h"
#include "resources/resource.h"
#include "state/ColArray.h"
#include "state/FileHelpers.h"
#include "state/FileReplace.h"
#include "state/Registry.h"
#include "state/SwitchSession.h"

namespace {

template <typename T>
std::unique_ptr<CProfileCommand> Make()
{
    return std::make_unique<T>();
}

// The table is filled with the standard commands at its first use, before any profile can run.
CTypedColArray<CProfileCommand::CCommandFactory>& CommandTable()
{
    static CTypedColArray<CProfileCommand::CCommandFactory> table;
    if (table.IsEmpty()) {
        const std::pair<const wchar_t*, CProfileCommand::CCommandFactory::Create> standard[] = {
            {L"RegWriteDWord", Make<CRegWriteDWordCommand>}, {L"RegWriteString", Make<CRegWriteStringCommand>},
            {L"RegSwap", Make<CRegSwapCommand>},             {L"CopyFile", Make<CCopyFileCommand>},
            {L"CopyDirectory", Make<CCopyDirectoryCommand>}, {L"ShowMessage", Make<CShowMessageCommand>},
        };
        for (const auto& command : standard)
            table.Add(std::make_unique<CProfileCommand::CCommandFactory>(command.first, command.second));
    }
    return table;
}

// Where a number's digits start in text: after leading blanks and a sign.
size_t NumberStart(const std::wstring& text, bool& negative)
{
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    return i;
}

// Leading blanks and a sign, then digits up to the first other character; no digits give 0.
// Numbers beyond 32 bits keep their low 32 bits.
int32_t ParseNumber(const std::wstring& text)
{
    bool negative;
    size_t i = NumberStart(text, negative);
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = value * 10 + static_cast<uint32_t>(text[i] - L'0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

// A path not starting with "\" is taken relative to the profile file's folder.
std::wstring Absolute(const CProfile& profile, const std::wstring& path)
{
    return (!path.empty() && path[0] == L'\\') ? path : FolderOf(profile.GetPath()) + path;
}

}  // namespace

void RegisterCommand(const std::wstring& name, CProfileCommand::CCommandFactory::Create create)
{
    CommandTable().Add(std::make_unique<CProfileCommand::CCommandFactory>(name, create));
}

std::unique_ptr<CProfileCommand> CreateCommand(const std::wstring& name)
{
    const auto& table = CommandTable();
    for (size_t i = 0; i < table.GetSize(); ++i)
        if (EqualsNoCase(table[i]->m_strName, name))
            return table[i]->m_pfnCreate();
    throw CProfileException(FormatResourceString(IDS_PROFILE_UNKNOWN_COMMAND, {name}));
}

void CProfileCommand::BadArguments(const std::wstring& args)
{
    throw CArgumentException(FormatResourceString(IDS_PROFILE_BAD_ARGUMENTS, {args}));
}

void CRegWriteCommand::Parse(const std::wstring& args)
{
    const std::wstring key = GetToken(args, L",", 0);
    m_strValueName = GetToken(args, L",", 1);
    m_strData = GetToken(args, L",", 2);
    if (key.empty() || m_strValueName.empty() || m_strData.empty())
        BadArguments(args);
    const size_t slash = key.find(L'\\');
    if (slash == std::wstring::npos)
        BadArguments(args);
    m_root = CRegistry::ParseRootName(key.substr(0, slash));
    m_strKeyPath = key.substr(slash + 1);
    if (m_root == 0)
        BadArguments(args);
}

void CRegWriteDWordCommand::Execute(CSwitchSession& session, CVideoMode, CVideoMode)
{
    session.Registry(m_root, m_strKeyPath).WriteDWord(nullptr, m_strValueName.c_str(), ParseNumber(m_strData));
}

bool CRegWriteDWordCommand::HasNumber() const
{
    bool negative;
    const size_t i = NumberStart(m_strData, negative);
    return i < m_strData.size() && m_strData[i] >= L'0' && m_strData[i] <= L'9';
}

void CRegWriteStringCommand::Execute(CSwitchSession& session, CVideoMode, CVideoMode)
{
    session.Registry(m_root, m_strKeyPath).WriteString(nullptr, m_strValueName.c_str(), m_strData.c_str());
}

void CRegSwapCommand::Parse(const std::wstring& args)
{
    m_entry.FromString(args);
}

void CRegSwapCommand::Execute(CSwitchSession& session, CVideoMode from, CVideoMode to)
{
    m_entry.Switch(session, from, to);
}

void CCopyFileCommand::Parse(const std::wstring& args)
{
    m_strSource = GetToken(args, L",", 0);
    m_strTarget = GetToken(args, L",", 1);
    if (m_strSource.empty() || m_strTarget.empty())
        BadArguments(args);
    if (!m_pProfile->IsPacked())
        m_strSource = Absolute(*m_pProfile, m_strSource);
    m_strTarget = Absolute(*m_pProfile, m_strTarget);
}

void CCopyFileCommand::Execute(CSwitchSession& session, CVideoMode, CVideoMode)
{
    if (SourceInArchive()) {
        CUnzipReplace(m_strSource, m_strTarget, m_pProfile->GetPath(), CopiesDirectory()).Replace(session);
        return;
    }
    CFileReplace(m_strSource, m_strTarget).Replace(session);
}

bool CCopyFileCommand::SourceInArchive() const
{
    return m_pProfile->IsPacked() && m_strSource[0] != L'\\';
}

bool CCopyFileCommand::SourceExists() const
{
    return SourceInArchive() ? CUnzipReplace::HasSource(m_pProfile->GetPath(), m_strSource, CopiesDirectory())
                             : Exists(m_strSource);
}

void CShowMessageCommand::Execute(CSwitchSession& session, CVideoMode, CVideoMode)
{
    session.Tell(m_strMessage);
}

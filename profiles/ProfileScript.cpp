#include "profiles/ProfileScript.h"
#include "platform/DevicePaths.h"
#include "profiles/Profile.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/IniFile.h"

void CProfileScript::Run(CSwitchSession& session, CVideoMode from, CVideoMode to)
{
    Load(to);
    for (size_t i = 0; i < m_commands.GetSize(); ++i)
        m_commands[i]->Execute(session, from, to);
}

void CProfileScript::Run(CSwitchSession& session, CVideoMode from, CVideoMode to, const CIniFile& text)
{
    Load(to, text);
    for (size_t i = 0; i < m_commands.GetSize(); ++i)
        m_commands[i]->Execute(session, from, to);
}

std::wstring CProfileScript::FindSection(const CIniFile& text, CVideoMode mode)
{
    do {
        const std::wstring group = mode.GetGroupName();
        if (text.HasSection(group))
            return group;
        const std::wstring resolution = mode.GetResolutionName();
        if (text.HasSection(resolution))
            return resolution;
    } while (mode.NextFallback());
    return std::wstring();
}

void CProfileScript::Load(CVideoMode mode)
{
    Load(mode, *m_pProfile->ReadText());
}

void CProfileScript::Load(CVideoMode mode, const CIniFile& text)
{
    m_commands.RemoveAll();
    const std::wstring section = FindSection(text, mode);
    if (section.empty())
        throw CProfileException(FormatResourceString(IDS_PROFILE_NO_SECTIONS, {m_pProfile->GetName()}));
    for (int n = 0;; ++n) {
        const std::wstring value = text.ReadString(section, std::to_wstring(n));
        if (value.empty())
            break;
        m_commands.Add(ParseCommand(value, n));
    }
}

std::unique_ptr<CProfileCommand> CProfileScript::ParseCommand(const std::wstring& value, int key)
{
    const size_t comma = value.find(L',');
    if (comma == std::wstring::npos)
        throw CProfileException(ReplaceAll(LoadResourceString(IDS_PROFILE_COMMAND_ERROR), L"%d", std::to_wstring(key)));
    std::wstring args = value.substr(comma + 1);
    ExpandConstants(args);
    std::unique_ptr<CProfileCommand> command = CreateCommand(value.substr(0, comma));
    command->m_pProfile = m_pProfile;
    command->Parse(args);
    return command;
}

void CProfileScript::AddConstant(const std::wstring& name, const std::wstring& value)
{
    m_constants.Add(std::make_unique<CConstant>(name, value));
}

void CProfileScript::ExpandConstants(std::wstring& text)
{
    if (!m_bConstantsReady) {
        AddConstant(L"%PROFILE_NAME%", m_pProfile->GetName());
        AddConstant(L"%PROFILE_FILENAME%", m_pProfile->GetPath());
        const std::pair<const wchar_t*, int> folders[] = {
            {L"%WINDOWS%", 36}, {L"%PROGRAM_FILES%", 38}, {L"%STARTUP%", 7}, {L"%PROGRAMS%", 2},
            {L"%PERSONAL%", 5}, {L"%FAVORITES%", 6},      {L"%FONTS%", 20},  {L"%RECENT%", 8},
        };
        for (const auto& folder : folders)
            AddConstant(folder.first, platform::GetSpecialFolderPath(folder.second));
        m_bConstantsReady = true;
    }
    // Moved through rather than copied: a copy of every argument list per constant was most
    // of a large section's loading time.
    m_constants.ForEach(
        [&](const CConstant& constant) { text = ReplaceAll(std::move(text), constant.m_strName, constant.m_strValue); });
}

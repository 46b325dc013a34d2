#include "core/RunShortcut.h"
#include <windows.h>
#include "core/CommandLine.h"
#include "framework/File.h"
#include "platform/DevicePaths.h"
#include "platform/Shortcut.h"
#include "state/FileHelpers.h"

namespace {

const int kProgramsFolder = 2;

}  // namespace

std::wstring CRunShortcut::GetArguments() const
{
    std::wstring arguments = CCommandLine::ModeKeywords(m_mode);
    if (m_bReturn)
        arguments += std::wstring(L" ") + CCommandLine::kReturn;
    if (m_bYes)
        arguments += std::wstring(L" ") + CCommandLine::kYes;
    return arguments + L" " + CCommandLine::kRun + L" " + platform::CommandLineText(m_strProgram, m_strArguments);
}

std::wstring CRunShortcut::GetPath() const
{
    return platform::GetSpecialFolderPath(kProgramsFolder) + L"\\" + m_strName + L".lnk";
}

bool CRunShortcut::IsValidName(const std::wstring& name)
{
    return !name.empty() && name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
}

void CRunShortcut::Write() const
{
    const std::wstring path = GetPath();
    if (!platform::CreateShortcut(path, GetProgramPath(), GetArguments()))
        throw CFileException(path, ::GetLastError());
}

#include "core/RunShortcut.h"
#include <windows.h>
#include "core/ProgramRun.h"
#include "framework/File.h"
#include "platform/DevicePaths.h"
#include "platform/Shortcut.h"
#include "state/FileHelpers.h"

namespace {

const int kProgramsFolder = 2;

}  // namespace

std::wstring CRunShortcut::ModeKeywords(const CVideoMode& mode)
{
    static const wchar_t* const kOrientations[4] = {L"PORTRAIT", L"LANDSCAPE", L"UPSIDEDOWN", L"LANDSCAPE-LEFT"};
    return std::wstring(mode.m_bVGA ? L"VGA " : L"QVGA ") + kOrientations[mode.m_nOrientation & 3];
}

std::wstring CRunShortcut::GetArguments() const
{
    std::wstring arguments = ModeKeywords(m_mode);
    if (m_bReturn)
        arguments += std::wstring(L" ") + CProgramRun::kReturnKeyword;
    if (m_bYes)
        arguments += L" Y";
    return arguments + L" " + CProgramRun::kRunKeyword + L" " + platform::CommandLineText(m_strProgram, m_strArguments);
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

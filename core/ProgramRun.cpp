#include "core/ProgramRun.h"
#include <windows.h>
#include <cwctype>
#include "core/ModeRecord.h"
#include "framework/ResourceString.h"
#include "platform/Shortcut.h"
#include "resources/resource.h"
#include "state/SettingsRegistry.h"

const wchar_t CProgramRun::kRunKeyword[] = L"RUN";
const wchar_t CProgramRun::kReturnKeyword[] = L"RETURN";
const wchar_t CProgramRun::kResumeKeyword[] = L"RESUME";

namespace {

const wchar_t kRecordKey[] = L"Run";
const wchar_t kProgramValue[] = L"Program";
const wchar_t kArgumentsValue[] = L"Arguments";
const wchar_t kStartedValue[] = L"Started";
const wchar_t kShortcutName[] = L"Dorix Run.lnk";

}  // namespace

bool CProgramRun::SplitCommandLine(std::wstring& commandLine, std::wstring& program, std::wstring& arguments)
{
    // Padded as the keyword search pads it, so that the word may stand at either end.
    const std::wstring padded = L" " + commandLine + L" ";
    std::wstring upper = padded;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    size_t found = std::wstring::npos;
    size_t length = 0;
    for (const wchar_t* prefix : {L" ", L" /", L" -"}) {
        const std::wstring word = prefix + std::wstring(kRunKeyword) + L" ";
        const size_t at = upper.find(word);
        if (at < found) {
            found = at;
            length = word.size();
        }
    }
    if (found == std::wstring::npos)
        return false;
    std::wstring rest = padded.substr(found + length);
    if (!rest.empty())
        rest.pop_back();
    commandLine = found == 0 ? std::wstring() : commandLine.substr(0, found - 1);
    program.clear();
    arguments.clear();
    size_t end;
    if (!rest.empty() && rest[0] == L'"') {
        end = rest.find(L'"', 1);
        if (end == std::wstring::npos)
            return true;
        program = rest.substr(1, end - 1);
        ++end;
    } else {
        end = rest.find(L' ');
        program = rest.substr(0, end);
    }
    if (end < rest.size())
        arguments = rest.substr(rest[end] == L' ' ? end + 1 : end);
    return true;
}

std::wstring CProgramRun::GetShortcutPath()
{
    return GetStartupShortcutPath(kShortcutName);
}

bool CProgramRun::ReadRecord(CProgramRun& run)
{
    CRegistry& settings = GetSettingsRegistry();
    if (!settings.KeyExists(kRecordKey))
        return false;
    const bool named = settings.GetValueKind(kRecordKey, kProgramValue) == CRegistry::kindString;
    run.m_strProgram = named ? settings.ReadString(kRecordKey, kProgramValue, L"") : std::wstring();
    run.m_strArguments = settings.ReadString(kRecordKey, kArgumentsValue, L"");
    run.m_bReturn = HasRecordedMode(kRecordKey);
    run.m_bStarted = settings.ReadDWord(kRecordKey, kStartedValue, 0) != 0;
    if (run.m_strProgram.empty() || (run.m_bReturn && !ReadRecordedMode(kRecordKey, run.m_returnMode)))
        throw CRecordException(LoadResourceString(IDS_RUN_BAD_RECORD));
    return true;
}

void CProgramRun::Arm() const
{
    CRegistry& settings = GetSettingsRegistry();
    try {
        // Nothing of an earlier run may be left to mix with this one.
        settings.DeleteKey(kRecordKey);
        settings.WriteString(kRecordKey, kProgramValue, m_strProgram.c_str());
        settings.WriteString(kRecordKey, kArgumentsValue, m_strArguments.c_str());
        if (m_bReturn)
            WriteRecordedMode(kRecordKey, m_returnMode);
        CreateBootShortcut(kShortcutName, kResumeKeyword);
    } catch (...) {
        Remove();
        throw;
    }
}

void CProgramRun::MarkStarted()
{
    GetSettingsRegistry().WriteDWord(kRecordKey, kStartedValue, 1);
}

void CProgramRun::Remove()
{
    GetSettingsRegistry().DeleteKey(kRecordKey);
    platform::DeleteShortcut(GetShortcutPath());
}

CKernelHandle CProgramRun::Start() const
{
    // Started by its image name, which the system looks for as it does a typed one when it
    // has no folder; the program's command line is its arguments alone.
    std::wstring arguments = m_strArguments;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(m_strProgram.c_str(), arguments.empty() ? nullptr : arguments.data(), nullptr, nullptr,
                          FALSE, 0, nullptr, nullptr, nullptr, &info)) {
        const DWORD code = ::GetLastError();
        throw error(FormatResourceString(IDS_RUN_CANNOT_START, {m_strProgram, SystemErrorText(code)}));
    }
    CKernelHandle thread(info.hThread);
    return CKernelHandle(info.hProcess);
}

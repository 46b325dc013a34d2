#include "core/ProgramRun.h"
#include <windows.h>
#include "core/CommandLine.h"
#include "core/ModeRecord.h"
#include "framework/Error.h"
#include "framework/ResourceString.h"
#include "platform/Shortcut.h"
#include "resources/resource.h"
#include "state/SettingsRegistry.h"

namespace {

const wchar_t kRecordKey[] = L"Run";
const wchar_t kProgramValue[] = L"Program";
const wchar_t kArgumentsValue[] = L"Arguments";
const wchar_t kStartedValue[] = L"Started";
const wchar_t kShortcutName[] = L"Dorix Run.lnk";

}  // namespace

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
        CreateBootShortcut(kShortcutName, CCommandLine::kResume);
    } catch (...) {
        UndoQuietly(&Remove);
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

#include "core/ProgramRun.h"
#include <windows.h>
#include "core/BootRecord.h"
#include "core/CommandLine.h"
#include "framework/Error.h"
#include "framework/ResourceString.h"
#include "resources/resource.h"
#include "state/SettingsRegistry.h"

namespace {

const CBootRecord kRecord(L"Run", L"Dorix Run.lnk", CCommandLine::kResume);
const wchar_t* const kRecordKey = kRecord.GetKey();
const wchar_t kProgramValue[] = L"Program";
const wchar_t kArgumentsValue[] = L"Arguments";
const wchar_t kStartedValue[] = L"Started";

}  // namespace

std::wstring CProgramRun::GetShortcutPath()
{
    return kRecord.GetShortcutPath();
}

bool CProgramRun::ReadRecord(CProgramRun& run)
{
    if (!kRecord.Exists())
        return false;
    CRegistry& settings = GetSettingsRegistry();
    const bool named = settings.GetValueKind(kRecordKey, kProgramValue) == CRegistry::kindString;
    run.m_strProgram = named ? settings.ReadString(kRecordKey, kProgramValue, L"") : std::wstring();
    run.m_strArguments = settings.ReadString(kRecordKey, kArgumentsValue, L"");
    run.m_bReturn = kRecord.HasMode();
    run.m_bStarted = settings.ReadDWord(kRecordKey, kStartedValue, 0) != 0;
    if (run.m_strProgram.empty() || (run.m_bReturn && !kRecord.ReadMode(run.m_returnMode)))
        throw CRecordException(LoadResourceString(IDS_RUN_BAD_RECORD));
    return true;
}

void CProgramRun::Arm() const
{
    kRecord.Arm([this] {
        CRegistry& settings = GetSettingsRegistry();
        // Nothing of an earlier run may be left to mix with this one.
        settings.DeleteKey(kRecordKey);
        settings.WriteString(kRecordKey, kProgramValue, m_strProgram.c_str());
        settings.WriteString(kRecordKey, kArgumentsValue, m_strArguments.c_str());
        if (m_bReturn)
            kRecord.WriteMode(m_returnMode);
    });
}

void CProgramRun::MarkStarted()
{
    GetSettingsRegistry().WriteDWord(kRecordKey, kStartedValue, 1);
}

void CProgramRun::Remove()
{
    kRecord.Remove();
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

#include "app/DorixApp.h"
#include <cwctype>
#include <memory>
#include "app/AboutDlg.h"
#include "app/Installation.h"
#include "app/KeepModeRun.h"
#include "app/MainFrame.h"
#include "app/RunInMode.h"
#include "core/KeepMode.h"
#include "core/ModeSwitch.h"
#include "core/ProgramRun.h"
#include "core/TaskManager.h"
#include "framework/Error.h"
#include "framework/MessageBox.h"
#include "framework/ProgramEnd.h"
#include "profiles/Profile.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {

int Ask(UINT textId, UINT style)
{
    return ShowProgramMessage(nullptr, LoadResourceString(textId), style);
}

bool HasAny(const std::wstring& line, std::initializer_list<const wchar_t*> keywords)
{
    for (const wchar_t* keyword : keywords)
        if (CDorixApp::HasSwitch(line, keyword))
            return true;
    return false;
}

// Runs an action started from the command line; a failure is reported and ends the program
// at once with exit code 1. A file that cannot be read or written is reported by name, like
// the program's own errors, and any other failure as "Unknown error", rather than ending the
// program unreported.
template <typename Action>
void RunReported(Action action)
{
    try {
        action();
    } catch (...) {
        ReportCurrentException();
        EndProgram(1);
    }
}

}  // namespace

bool CDorixApp::HasSwitch(const std::wstring& commandLine, const std::wstring& keyword)
{
    std::wstring word = keyword;
    for (wchar_t& c : word)
        c = static_cast<wchar_t>(std::towupper(c));
    for (const wchar_t* prefix : {L" ", L" /", L" -"})
        if (commandLine.find(prefix + word + L" ") != std::wstring::npos)
            return true;
    return false;
}

bool CDorixApp::ConfirmReset(const std::wstring& commandLine)
{
    return HasSwitch(commandLine, L"Y") || Ask(IDS_CONFIRM_RESET, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

bool CDorixApp::ProcessCommandLine(std::wstring& commandLine)
{
    if (commandLine.empty())
        return false;
    // Keywords stand only before "RUN": the program and its arguments are not ours to read.
    std::wstring program, arguments;
    const bool run = CProgramRun::SplitCommandLine(commandLine, program, arguments);
    for (wchar_t& c : commandLine)
        c = static_cast<wchar_t>(std::towupper(c));
    commandLine = L" " + commandLine + L" ";
    const std::wstring& line = commandLine;
    const bool yes = HasSwitch(line, L"Y");

    if (HasAny(line, {L"INSTALL", L"I"})) {
        RunReported([&] {
            Install();
            if (!yes)
                Ask(IDS_INSTALLED, MB_OK | MB_ICONINFORMATION);
        });
        return true;
    }
    if (HasAny(line, {L"UNINSTALL", L"U"})) {
        if (!yes && Ask(IDS_CONFIRM_UNINSTALL, MB_YESNO | MB_ICONINFORMATION) == IDNO)
            return true;
        RunReported([&] {
            Uninstall();
            if (!yes)
                Ask(IDS_UNINSTALLED, MB_OK | MB_ICONINFORMATION);
        });
        return true;
    }
    if (HasSwitch(line, L"TESTPROFILE")) {
        TestProfile();
        return true;
    }
    if (HasSwitch(line, CKeepMode::kKeyword)) {
        RunReported([] { CKeepModeRun::Run(); });
        return true;
    }
    if (HasSwitch(line, CProgramRun::kResumeKeyword)) {
        RunReported([] { CRunInMode::Resume(); });
        return true;
    }

    int16_t orientation = 0;
    if (HasAny(line, {L"PORTRAIT", L"P"}))
        orientation = 0;
    else if (HasAny(line, {L"LANDSCAPE", L"LANDSCAPE-RIGHT", L"LR", L"RIGHT", L"R"}))
        orientation = 1;
    else if (HasAny(line, {L"LANDSCAPE-LEFT", L"LL", L"LEFT", L"L"}))
        orientation = 3;
    else if (HasAny(line, {L"PORTRAIT-UPSIDEDOWN", L"PU", L"PUD", L"UPSIDEDOWN", L"UD"}))
        orientation = 2;

    const bool qvga = HasAny(line, {L"QVGA", L"Q", L"QV"});
    const bool vga = !qvga && HasAny(line, {L"VGA", L"V"});
    if ((!qvga && !vga) || (run && program.empty())) {
        Ask(IDS_COMMAND_LINE_INCORRECT, MB_OK | MB_ICONSTOP);
        return false;
    }
    const CVideoMode target(vga, orientation);
    if (run) {
        CProgramRun request(program, arguments);
        request.m_bReturn = HasSwitch(line, CProgramRun::kReturnKeyword);
        CRunInMode::Start(target, request, line);
        return true;
    }

    if (!ConfirmReset(line))
        return true;
    bool switched = false;
    RunReported([&] {
        // "Y" stands for callers that want no questions, after the reset neither.
        if (yes)
            GetModeSwitch().SwitchTo(target);
        else
            CKeepMode::SwitchTo(target);
        // The user chose another mode: a program run waiting to go back must not undo it.
        CProgramRun::Remove();
        switched = true;
    });
    if (switched)
        RunReported([] { SoftReset(); });
    return true;
}

bool CDorixApp::InitInstance()
{
    RunReported([] { InstallIfOutdated(); });
    std::wstring commandLine = m_strCmdLine;
    if (ProcessCommandLine(commandLine))
        return true;
    if (!IsSupportedDevice() && Ask(IDS_UNSUPPORTED_DEVICE, MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDCANCEL)
        return true;
    auto frame = std::make_unique<CMainFrame>();
    if (!frame->Create())
        return true;
    CMainFrame& window = *frame;
    SetMainWnd(std::move(frame));
    ::ShowWindow(window.GetSafeHwnd(), m_nCmdShow);
    ::UpdateWindow(window.GetSafeHwnd());
    ::SetForegroundWindow(window.GetSafeHwnd());
    return true;
}

bool CDorixApp::OnCommand(UINT id)
{
    if (id == ID_APP_ABOUT) {
        CWnd* main = GetMainWnd();
        CAboutDlg(main ? main->GetSafeHwnd() : nullptr).DoModal();
        return true;
    }
    return CWinApp::OnCommand(id);
}

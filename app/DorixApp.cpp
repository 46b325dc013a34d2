#include "app/DorixApp.h"
#include <memory>
#include "app/AboutDlg.h"
#include "app/Installation.h"
#include "app/KeepModeRun.h"
#include "app/MainFrame.h"
#include "app/ModeChange.h"
#include "app/ProgramUser.h"
#include "app/RunInMode.h"
#include "core/CommandLine.h"
#include "core/ProgramRun.h"
#include "framework/Error.h"
#include "framework/MessageBox.h"
#include "framework/ProgramEnd.h"
#include "profiles/Profile.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "ui/ProfileCheck.h"
#include "ui/SwitchPreview.h"

namespace {

int Ask(UINT textId, UINT style)
{
    return ShowProgramMessage(nullptr, LoadResourceString(textId), style);
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

// The profile test: runs "\Pocket Informant 4.6.zdorix" for a switch from QVGA to VGA
// portrait, reports a failure and undoes what it recorded.
void TestProfile(CModeSwitch& modeSwitch)
{
    CProgramUser user(nullptr);
    const CSessionUser present(modeSwitch, &user);
    CUndoBuffer& undo = modeSwitch.GetUndoBuffer();
    undo.RemoveAll();
    try {
        CProfile(L"\\Pocket Informant 4.6.zdorix").Run(modeSwitch, CVideoMode(false, 0), CVideoMode(true, 0));
    } catch (const error& e) {
        undo.UndoAll(true);
        ReportError(e);
    } catch (...) {
        undo.UndoAll(true);
        ShowProgramMessage(nullptr, LoadResourceString(IDS_UNKNOWN_ERROR), MB_OK);
    }
}

}  // namespace

bool CDorixApp::ProcessCommandLine(const std::wstring& commandLine, CModeSwitch& modeSwitch)
{
    const CCommandLine line = CCommandLine::Parse(commandLine);
    switch (line.m_action) {
    case CCommandLine::Action::window:
        return false;
    case CCommandLine::Action::install:
        RunReported([&] {
            Install();
            if (!line.m_bYes)
                Ask(IDS_INSTALLED, MB_OK | MB_ICONINFORMATION);
        });
        return true;
    case CCommandLine::Action::uninstall:
        if (!line.m_bYes && Ask(IDS_CONFIRM_UNINSTALL, MB_YESNO | MB_ICONINFORMATION) == IDNO)
            return true;
        RunReported([&] {
            Uninstall();
            if (!line.m_bYes)
                Ask(IDS_UNINSTALLED, MB_OK | MB_ICONINFORMATION);
        });
        return true;
    case CCommandLine::Action::testProfile:
        TestProfile(modeSwitch);
        return true;
    case CCommandLine::Action::check:
        RunReported([&] {
            CProfile profile(line.m_strProfile);
            if (CheckProfile(profile, !line.m_bYes) > 0)
                EndProgram(1);
        });
        return true;
    case CCommandLine::Action::keep:
        RunReported([&] { CKeepModeRun::Run(modeSwitch); });
        return true;
    case CCommandLine::Action::resume:
        RunReported([&] { CRunInMode::Resume(modeSwitch); });
        return true;
    case CCommandLine::Action::preview:
        RunReported([&] {
            if (PreviewSwitch(modeSwitch, line.m_mode, !line.m_bYes) > 0)
                EndProgram(1);
        });
        return true;
    case CCommandLine::Action::incorrect:
        Ask(IDS_COMMAND_LINE_INCORRECT, MB_OK | MB_ICONSTOP);
        return false;
    case CCommandLine::Action::switchMode:
        break;
    }
    CModeChange change(modeSwitch, line.m_mode);
    // "Y" stands for callers that want no questions, after the reset neither.
    change.m_bAsk = !line.m_bYes;
    change.m_bSafetyNet = !line.m_bYes;
    if (line.m_bRun) {
        CProgramRun request(line.m_strProgram, line.m_strArguments);
        request.m_bReturn = line.m_bReturn;
        CRunInMode::Start(change, request);
        return true;
    }
    RunReported([&] { change.Run(); });
    return true;
}

bool CDorixApp::InitInstance()
{
    RunReported([] { InstallIfOutdated(); });
    if (ProcessCommandLine(m_strCmdLine, m_modeSwitch))
        return true;
    if (!IsSupportedDevice() && Ask(IDS_UNSUPPORTED_DEVICE, MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDCANCEL)
        return true;
    auto frame = std::make_unique<CMainFrame>(m_modeSwitch);
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

#include "app/MainFrame.h"
#include "core/ModeSwitch.h"
#include "core/RunShortcut.h"
#include "framework/Error.h"
#include "resources/resource.h"
#include "state/Settings.h"
#include "ui/ClockPage.h"
#include "ui/ConfirmationsPage.h"
#include "ui/FilePage.h"
#include "ui/FontPage.h"
#include "ui/PreviewModePage.h"
#include "ui/ProfilePage.h"
#include "ui/RegistryPage.h"
#include "ui/RunShortcutPage.h"
#include "ui/ScrollbarPage.h"
#include "ui/StateOptionsPage.h"
#include "ui/SwitchPreview.h"
#include "ui/TabbedDialog.h"

namespace {

// The mode settings commands: the group each edits (by its first mode) and the sheet's caption.
struct ModeSettingsCommand {
    UINT id;
    bool vga;
    int16_t orientation;
    UINT caption;
};
const ModeSettingsCommand kModeSettings[] = {
    {ID_MODE_QVGA_PORTRAIT, false, 0, IDS_MODE_QVGA_PORTRAIT},
    {ID_MODE_QVGA_LANDSCAPE, false, 1, IDS_MODE_QVGA_LANDSCAPE},
    {ID_MODE_VGA_PORTRAIT, true, 0, IDS_MODE_VGA_PORTRAIT},
    {ID_MODE_VGA_LANDSCAPE, true, 1, IDS_MODE_VGA_LANDSCAPE},
};

}  // namespace

CMainFrame::~CMainFrame()
{
    // The view's window is a child of the frame's: it goes first, while its object still
    // exists to let go of its subclassed buttons.
    if (m_pView)
        m_pView->DestroyWindow();
    m_pView.reset();
    m_commandBar.Destroy();
}

bool CMainFrame::Create()
{
    return LoadFrame(IDR_MAINFRAME);
}

bool CMainFrame::OnCreate()
{
    if (!CFrameWnd::OnCreate())
        return false;
    auto view = std::make_unique<CMainView>(m_modeSwitch);
    if (!view->Create(m_hWnd, ID_VIEW_PANE))
        return false;
    m_pView = std::move(view);
    SetActiveView(m_pView.get());
    return m_commandBar.CreateMenuBar(m_hWnd, IDR_MAINFRAME);
}

void CMainFrame::OnDestroy()
{
    SetActiveView(nullptr);
    if (m_pView)
        m_pView->DestroyWindow();
    m_pView.reset();
    m_commandBar.Destroy();
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnSetFocus() {}

bool CMainFrame::OnCommand(UINT id, UINT code, HWND control)
{
    for (const ModeSettingsCommand& command : kModeSettings) {
        if (command.id == id) {
            RunModeSettings(CVideoMode(command.vga, command.orientation), command.caption);
            return true;
        }
    }
    if (id == ID_STATE_SETTINGS) {
        RunStateSettings();
        return true;
    }
    if (id == ID_PROGRAM_SETTINGS) {
        RunProgramSettings();
        return true;
    }
    if (id == ID_NEW_SHORTCUT) {
        RunNewShortcut();
        return true;
    }
    if (id == ID_PREVIEW_SWITCH) {
        RunPreview();
        return true;
    }
    return CFrameWnd::OnCommand(id, code, control);
}

void CMainFrame::RunModeSettings(const CVideoMode& mode, UINT captionId)
{
    CModeProp& prop = m_modeSwitch.CreateModeProp(mode);
    CFontPage fonts;
    CScrollbarPage scrollbars;
    CClockPage clock;
    prop.Load();
    CTabbedDialog::Run(captionId, m_hWnd, {&fonts, &scrollbars, &clock}, &prop, [&prop] { prop.Save(); });
}

void CMainFrame::RunStateSettings()
{
    CSettings& settings = m_modeSwitch.GetSettings();
    CProfilePage profiles;
    CRegistryPage registry(m_modeSwitch);
    CFilePage files;
    CStateOptionsPage options;
    settings.Load();
    CTabbedDialog::Run(IDS_STATE_SETTINGS, m_hWnd, {&profiles, &registry, &files, &options}, &settings,
                       [&settings] { settings.Save(); });
}

void CMainFrame::RunProgramSettings()
{
    CTabbedDialog::RunPage<CConfirmationsPage>(IDS_PROGRAM_SETTINGS, m_hWnd, nullptr);
}

void CMainFrame::RunPreview()
{
    CVideoMode target;
    try {
        target = m_modeSwitch.GetCurrentMode();
    } catch (...) {
        // A driver table that cannot be read only leaves the first mode chosen; the preview
        // reports it.
    }
    if (CTabbedDialog::RunPage<CPreviewModePage>(IDS_PREVIEW_CAPTION, m_hWnd, &target) != IDOK)
        return;
    try {
        PreviewSwitch(m_modeSwitch, target, true, m_hWnd);
    } catch (...) {
        ReportCurrentException(m_hWnd);
    }
}

void CMainFrame::RunNewShortcut()
{
    CRunShortcut shortcut;
    try {
        shortcut.m_mode = m_modeSwitch.GetCurrentMode();
    } catch (...) {
        // A driver table that cannot be read only leaves the first mode chosen.
    }
    if (CTabbedDialog::RunPage<CRunShortcutPage>(IDS_NEW_SHORTCUT, m_hWnd, &shortcut) != IDOK)
        return;
    try {
        shortcut.Write();
    } catch (...) {
        ReportCurrentException(m_hWnd);
    }
}

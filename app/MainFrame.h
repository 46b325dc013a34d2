#pragma once
// The program's main window: the frame titled "Dorix" with the command bar holding the Tools
// menu, and the mode buttons' view filling it.
#include <memory>
#include "app/MainView.h"
#include "framework/FrameWnd.h"
#include "platform/CommandBar.h"

class CModeSwitch;

class CMainFrame : public CFrameWnd {
public:
    // Its switches and settings dialogs work in modeSwitch, which outlives the frame.
    explicit CMainFrame(CModeSwitch& modeSwitch) : m_modeSwitch(modeSwitch) {}
    ~CMainFrame() override;

    // Creates the frame from resource 128 (icon and menu), with its view and command bar.
    // False when any of them could not be created (the object then has no window).
    bool Create();

    CMainView* GetView() const { return m_pView.get(); }
    const CCommandBar& GetCommandBar() const { return m_commandBar; }

    // The Tools menu's settings dialogs. Each runs modally and stores what its pages changed
    // when it ends with OK; Cancel stores nothing.
    void RunModeSettings(const CVideoMode& mode, UINT captionId);
    void RunStateSettings();
    void RunProgramSettings();
    // "New shortcut...": a Start-menu shortcut that runs a program in a mode of its own,
    // written when the sheet ends with OK.
    void RunNewShortcut();
    // "Preview switch...": asks for a mode, then shows what a switch to it would do.
    void RunPreview();

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnCreate() override;
    void OnDestroy() override;
    // The focus stays with the frame: the view's buttons take it only when tapped.
    void OnSetFocus() override;

private:
    CModeSwitch& m_modeSwitch;
    std::unique_ptr<CMainView> m_pView;
    CCommandBar m_commandBar;
};

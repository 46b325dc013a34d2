#include "core/MainFrame.h"
#include "resources/resource.h"

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
    auto view = std::make_unique<CMainView>();
    if (!view->Create(m_hWnd, ID_VIEW_PANE))
        return false;
    m_pView = std::move(view);
    SetActiveView(m_pView.get());
    return m_commandBar.Create(m_hWnd) && m_commandBar.InsertMenuBar(IDR_MAINFRAME);
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

#include "framework/WinApp.h"
#include "framework/MainWindow.h"
#include "framework/StandardIds.h"

namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp* GetApp()
{
    return g_app;
}

CWinApp::CWinApp()
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (m_pMainWnd && GetMainWindow() == m_pMainWnd->GetSafeHwnd())
        SetMainWindow(nullptr);
    m_pMainWnd.reset();
    if (g_app == this)
        g_app = nullptr;
}

bool CWinApp::InitInstance()
{
    return true;
}

bool CWinApp::OnCommand(UINT id)
{
    if (id != ID_APP_EXIT)
        return false;
    if (m_pMainWnd && m_pMainWnd->IsWindow())
        m_pMainWnd->SendMessage(WM_CLOSE);
    return true;
}

void CWinApp::SetMainWnd(std::unique_ptr<CWnd> window)
{
    m_pMainWnd = std::move(window);
    SetMainWindow(m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr);
}

int CWinApp::Run()
{
    MSG msg{};
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1)
            return 1;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int CWinApp::WinMain(HINSTANCE instance, const wchar_t* commandLine, int showCommand)
{
    m_hInstance = instance;
    m_strCmdLine = commandLine ? commandLine : L"";
    m_nCmdShow = showCommand;
    if (!InitInstance() || !m_pMainWnd)
        return 0;
    return Run();
}

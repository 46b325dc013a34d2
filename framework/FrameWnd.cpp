#include "framework/FrameWnd.h"
#include <algorithm>
#include "framework/MainWindow.h"
#include "framework/ResourceString.h"
#include "framework/StandardIds.h"
#include "framework/WinApp.h"

namespace {

// The frame's own message that sets its icon, the resource id in wParam.
constexpr UINT kSetIconMessage = WM_USER + 1;

RECT WorkArea()
{
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

}  // namespace

bool CFrameWnd::LoadFrame(UINT resourceId)
{
    const std::wstring title = LoadResourceString(IDS_APP_TITLE);
    // No caption: the device shows the title of the foreground window in its navigation bar.
    if (!CreateEx(0, title.c_str(), WS_POPUP | WS_CLIPCHILDREN, WorkArea(), nullptr, 0))
        return false;
    // The icon follows once the message loop runs: the window has no caption to show it in,
    // and its first paint need not wait for it.
    PostMessage(kSetIconMessage, resourceId);
    if (m_pActiveView)
        m_pActiveView->OnInitialUpdate();
    return true;
}

bool CFrameWnd::OnCreate()
{
    return true;
}

void CFrameWnd::OnDestroy() {}

void CFrameWnd::OnSetFocus()
{
    if (m_pActiveView && m_pActiveView->IsWindow())
        ::SetFocus(m_pActiveView->GetSafeHwnd());
}

void CFrameWnd::RecalcLayout()
{
    RECT client = GetClientRect();
    if (const CWindow bar = GetDlgItem(ID_COMMAND_BAR); bar.IsWindow()) {
        // The bar keeps its own height, which it has from its creation.
        const RECT old = bar.GetRectInParent();
        const LONG height = old.bottom - old.top;
        // Each move is a trip to the window system: a bar in its place stays.
        const RECT place{client.left, client.bottom - height, client.right, client.bottom};
        if (!::EqualRect(&old, &place))
            bar.MoveWindow(place);
        client.bottom = std::max(client.top, client.bottom - height);
    }
    if (m_pActiveView && m_pActiveView->IsWindow())
        m_pActiveView->MoveWindow(client);
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kSetIconMessage:
        if (HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(static_cast<UINT>(wParam)))) {
            SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        }
        return 0;
    case WM_CREATE: {
        // The frame has the work area before OnCreate makes its children, so that they are
        // made for it and laid out once, by the size that ends the creation. The area is read
        // again now: the simulated device's system gives a program its work area only with its
        // first window.
        const RECT area = WorkArea();
        if (const RECT now = GetRectInParent(); !::EqualRect(&now, &area))
            MoveWindow(area);
        return OnCreate() ? 0 : -1;
    }
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        const UINT code = HIWORD(wParam);
        const HWND control = reinterpret_cast<HWND>(lParam);
        if ((m_pActiveView && m_pActiveView->OnCommand(id, code, control)) || OnCommand(id, code, control))
            return 0;
        if (!control && GetApp() && GetApp()->OnCommand(id))
            return 0;
        break;
    }
    case WM_DESTROY:
        OnDestroy();
        if (GetMainWindow() == m_hWnd) {
            SetMainWindow(nullptr);
            ::PostQuitMessage(0);
        }
        return 0;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

#include "framework/Wnd.h"
#include <utility>

namespace {

const wchar_t kWindowClass[] = L"DorixWnd";

HINSTANCE Instance()
{
    return ::GetModuleHandleW(nullptr);
}

}  // namespace

CWnd::~CWnd()
{
    if (!m_hWnd)
        return;
    const HWND hwnd = m_hWnd;
    const bool ownWindow = m_superProc == nullptr;
    Detach();
    if (ownWindow)
        ::DestroyWindow(hwnd);
}

CWnd* CWnd::FromUserData(HWND hwnd)
{
    return reinterpret_cast<CWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd || !::IsWindow(hwnd))
        return nullptr;
    const auto proc = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    if (proc == reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc))
        return FromUserData(hwnd);
    wchar_t name[16] = L"";
    ::GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) == L"#32770"
        && ::GetWindowLongPtrW(hwnd, DWLP_DLGPROC) == reinterpret_cast<LONG_PTR>(&CWnd::DialogProc))
        return FromUserData(hwnd);
    return nullptr;
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::AttachDialog(HWND hwnd)
{
    m_bDialog = true;
    Attach(hwnd);
    ::SetWindowLongPtrW(hwnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&CWnd::DialogProc));
}

void CWnd::Detach()
{
    if (m_superProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(std::exchange(m_superProc, nullptr)));
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* title, DWORD style, const RECT& rect, HWND parent,
                    UINT_PTR menuOrId)
{
    static const ATOM registered = [] {
        WNDCLASSW wc{};
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = &CWnd::StaticWndProc;
        wc.hInstance = Instance();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kWindowClass;
        return ::RegisterClassW(&wc);
    }();
    if (!registered || m_hWnd)
        return false;
    // WM_CREATE attaches the object: it is the first message CE sends a window.
    return ::CreateWindowExW(exStyle, kWindowClass, title, style, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(menuOrId), Instance(), this)
        != nullptr;
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandle(hwnd))
        return false;
    Attach(hwnd);
    m_superProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    return true;
}

void CWnd::DestroyWindow()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

bool CWnd::OnCommand(UINT, UINT, HWND)
{
    return false;
}

bool CWnd::OnNotify(const NMHDR&, LRESULT&)
{
    return false;
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND
        && OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
        return 0;
    if (message == WM_NOTIFY && lParam) {
        LRESULT result = 0;
        if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
            return result;
    }
    return Default(message, wParam, lParam);
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc)
        return ::CallWindowProcW(m_superProc, m_hWnd, message, wParam, lParam);
    if (m_bDialog) {
        m_bDefaulted = true;
        return 0;
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HWND child = nullptr;
    switch (message) {
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU)
            child = item->hwndItem;
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return false;
    }
    CWnd* control = FromHandle(child);
    // The request as the parent got it: a colour request's drawing surface is its wParam.
    return control && control->OnChildNotify(message, wParam, lParam, result);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, result))
        return result;
    result = WindowProc(message, wParam, lParam);
    // CE sends no WM_NCDESTROY: the object lets go of its window on the last message it gets.
    if (message == WM_DESTROY && m_hWnd)
        Detach();
    return result;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_CREATE && !FromUserData(hwnd)) {
        if (auto* wnd = static_cast<CWnd*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams))
            wnd->Attach(hwnd);
    }
    CWnd* wnd = FromUserData(hwnd);
    if (!wnd)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return wnd->Dispatch(message, wParam, lParam);
}

INT_PTR CALLBACK CWnd::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_INITDIALOG) {
        if (auto* wnd = reinterpret_cast<CWnd*>(lParam)) {
            wnd->m_bDialog = true;
            wnd->Attach(hwnd);
        }
    }
    CWnd* wnd = FromUserData(hwnd);
    if (!wnd)
        return FALSE;
    // A handler may cause nested messages; each level keeps its own "not handled" answer.
    const bool outer = std::exchange(wnd->m_bDefaulted, false);
    const LRESULT result = wnd->Dispatch(message, wParam, lParam);
    if (std::exchange(wnd->m_bDefaulted, outer))
        return FALSE;
    switch (message) {
    // These answer through the procedure's return value, not DWLP_MSGRESULT.
    case WM_INITDIALOG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

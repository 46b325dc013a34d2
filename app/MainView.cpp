#include "app/MainView.h"
#include <iterator>
#include "core/KeepMode.h"
#include "core/ModeSwitch.h"
#include "core/ProgramRun.h"
#include "core/TaskManager.h"
#include "framework/Error.h"
#include "framework/MainWindow.h"
#include "framework/MessageBox.h"
#include "framework/ProgramEnd.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/SettingsRegistry.h"

namespace {

// The background the pictures were drawn for.
constexpr COLORREF kButtonBackground = RGB(0xC0, 0xC0, 0xC0);

bool IsSet(const wchar_t* setting)
{
    return GetSettingsRegistry().ReadDWord(nullptr, setting, 0) != 0;
}

}  // namespace

const CMainView::ModeButton CMainView::kButtons[8] = {
    {IDC_QVGA_PORTRAIT, false, 0}, {IDC_QVGA_LANDSCAPE_RIGHT, false, 1},
    {IDC_QVGA_UPSIDEDOWN, false, 2}, {IDC_QVGA_LANDSCAPE_LEFT, false, 3},
    {IDC_VGA_PORTRAIT, true, 0}, {IDC_VGA_LANDSCAPE_RIGHT, true, 1},
    {IDC_VGA_UPSIDEDOWN, true, 2}, {IDC_VGA_LANDSCAPE_LEFT, true, 3},
};

CMainView::CMainView() : CFormView(IDD_MAINVIEW) {}

void CMainView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    for (int n = 0; n < 8; ++n) {
        CBmpButton& button = m_buttons[n];
        if (!button.GetSafeHwnd())
            button.SubclassDlgItem(static_cast<int>(kButtons[n].id), m_hWnd);
        button.LoadBitmaps(IDB_MODE_FIRST + n);
        button.SizeToContent();
        button.SetBkColor(kButtonBackground);
    }
    m_scaler.Apply(m_hWnd, kDesignWidth, kDesignHeight);
    FitButtons();
}

void CMainView::FitButtons()
{
    const RECT client = GetClientRect();
    RECT used{};
    for (const CBmpButton& button : m_buttons) {
        const RECT rect = button.GetRectInParent();
        ::UnionRect(&used, &used, &rect);
    }
    if (used.right <= client.right && used.bottom <= client.bottom)
        return;
    const RECT first = m_buttons[0].GetRectInParent();
    const int width = first.right - first.left;
    const int height = first.bottom - first.top;
    const int count = static_cast<int>(std::size(m_buttons));
    for (int columns = 3; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        const int gapX = (client.right - columns * width) / (columns + 1);
        const int gapY = (client.bottom - rows * height) / (rows + 1);
        if (gapX < 0 || gapY < 0)
            continue;
        for (int n = 0; n < count; ++n) {
            const int left = gapX + (n % columns) * (width + gapX);
            const int top = gapY + (n / columns) * (height + gapY);
            m_buttons[n].MoveWindow(RECT{left, top, left + width, top + height});
        }
        return;
    }
}

bool CMainView::OnCommand(UINT id, UINT code, HWND control)
{
    if (code != BN_CLICKED || !control)
        return false;
    for (const ModeButton& button : kButtons) {
        if (button.id == id) {
            SwitchFromButton(CVideoMode(button.vga, button.orientation));
            return true;
        }
    }
    return false;
}

int CMainView::Ask(UINT messageId)
{
    return ShowProgramMessage(GetMainWindow(), LoadResourceString(messageId), MB_OKCANCEL | MB_ICONEXCLAMATION);
}

void CMainView::SwitchFromButton(CVideoMode target)
{
    const HWND owner = GetMainWindow();
    try {
        if (target == CVideoMode(true, 3) && !IsSet(L"NoVGA3Warning") && Ask(IDS_CONFIRM_VGA3) != IDOK)
            return;
        if (!IsSet(L"NoResetWarning")) {
            const int answer = Ask(IDS_CONFIRM_RESET);
            // Let the screen repaint where the box was before the switch blocks the thread.
            PumpMessages();
            if (answer != IDOK)
                return;
        }
        const bool reset = !IsSet(L"NoReset");
        if (reset)
            CKeepMode::SwitchTo(target);
        else
            GetModeSwitch().SwitchTo(target);
        // The user chose another mode: a program run waiting to go back must not undo it.
        CProgramRun::Remove();
        if (reset)
            SoftReset();
        else
            ::PostMessageW(owner, WM_QUIT, 0, 0);
        return;
    } catch (...) {
        // A driver table file that cannot be read or written is as much a failed switch.
        ReportCurrentException(owner);
    }
    EndProgram(1);
}

#include "app/MainView.h"
#include <algorithm>
#include <iterator>
#include "app/ModeChange.h"
#include "framework/Error.h"
#include "framework/MainWindow.h"
#include "framework/ProgramEnd.h"
#include "resources/resource.h"
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

CMainView::CMainView(CModeSwitch& modeSwitch) : CFormView(IDD_MAINVIEW, true), m_modeSwitch(modeSwitch) {}

void CMainView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    // Each button is placed and shown once (the template has them hidden, and they are made
    // with no size), where all the steps put it: at its place in the template, sized to its
    // picture, scaled for the screen and fitted into the view. Moving it step by step costs a
    // trip to the window system per step and button while the window is built.
    m_scaler.Measure(kDesignWidth, kDesignHeight);
    const bool visible = ::IsWindowVisible(m_hWnd) != FALSE;
    // The buttons are found in one pass over the view's children: each GetDlgItem would be a
    // trip to the window system of its own.
    HWND controls[8]{};
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const auto id = static_cast<UINT>(::GetDlgCtrlID(child));
        for (int n = 0; n < 8; ++n) {
            if (kButtons[n].id == id && !controls[n])
                controls[n] = child;
        }
    }
    RECT drawn[8];
    for (int n = 0; n < 8; ++n) {
        CBmpButton& button = m_buttons[n];
        if (!button.GetSafeHwnd())
            button.SubclassWindow(controls[n]);
        button.LoadBitmaps(IDB_MODE_FIRST + n);
        button.SetBkColor(kButtonBackground);
        RECT place = GetTemplateRect(kButtons[n].id);
        SIZE picture{};
        if (button.GetContentSize(picture))
            place = RECT{place.left, place.top, place.left + picture.cx, place.top + picture.cy};
        drawn[n] = place;
    }
    const RECT client = GetClientRect();
    RECT places[8];
    for (int n = 0; n < 8; ++n)
        places[n] = m_scaler.Scale(drawn[n]);
    // Where the form as drawn does not fit (a landscape screen's view is lower than the four
    // rows), the buttons move into columns; the scaler's factor, which lets the form fit the
    // view's height, shrinks the pictures, but the pictures of the screen's own size may fit
    // in three columns as well.
    if (!FitsAsDrawn(places, client)) {
        const float screenScale = ScreenScale();
        RECT larger[8];
        if (screenScale > m_scaler.GetScale() && ScaleAndFit(drawn, screenScale, client, larger)) {
            std::copy(std::begin(larger), std::end(larger), std::begin(places));
            m_scaler.Measure(kDesignWidth, kDesignHeight, screenScale);
        } else {
            FitButtons(places, client);
        }
    }
    for (int n = 0; n < 8; ++n) {
        const RECT& place = places[n];
        m_buttons[n].SetFont(m_scaler.GetFont(), visible);
        ::SetWindowPos(m_buttons[n].GetSafeHwnd(), nullptr, place.left, place.top, place.right - place.left,
                       place.bottom - place.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW
                           | (visible ? 0 : SWP_NOREDRAW | SWP_DEFERERASE));
    }
}

float CMainView::ScreenScale()
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    return static_cast<float>(width < height ? width : height) / static_cast<float>(kDesignWidth);
}

bool CMainView::ScaleAndFit(const RECT (&drawn)[8], float scale, const RECT& client, RECT (&places)[8])
{
    for (int n = 0; n < 8; ++n)
        places[n] = CLayoutScaler::Scale(drawn[n], scale);
    return FitButtons(places, client);
}

bool CMainView::FitsAsDrawn(const RECT (&places)[8], const RECT& client)
{
    RECT used{};
    for (const RECT& place : places)
        ::UnionRect(&used, &used, &place);
    return used.right <= client.right && used.bottom <= client.bottom;
}

bool CMainView::FitButtons(RECT (&places)[8], const RECT& client)
{
    if (FitsAsDrawn(places, client))
        return true;
    const int width = places[0].right - places[0].left;
    const int height = places[0].bottom - places[0].top;
    const int count = static_cast<int>(std::size(places));
    for (int columns = 3; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        const int gapX = (client.right - columns * width) / (columns + 1);
        const int gapY = (client.bottom - rows * height) / (rows + 1);
        if (gapX < 0 || gapY < 0)
            continue;
        for (int n = 0; n < count; ++n) {
            const int left = gapX + (n % columns) * (width + gapX);
            const int top = gapY + (n / columns) * (height + gapY);
            places[n] = RECT{left, top, left + width, top + height};
        }
        return true;
    }
    return false;
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

void CMainView::SwitchFromButton(CVideoMode target)
{
    CModeChange change(m_modeSwitch, target);
    change.m_owner = GetMainWindow();
    change.m_bWarnVga3 = !IsSet(kNoVga3WarningSetting);
    change.m_bAsk = !IsSet(kNoResetWarningSetting);
    change.m_bReset = !IsSet(kNoResetSetting);
    change.m_bSafetyNet = change.m_bReset;
    try {
        change.Run();
        return;
    } catch (...) {
        // A driver table file that cannot be read or written is as much a failed switch.
        ReportCurrentException(change.m_owner);
    }
    EndProgram(1);
}

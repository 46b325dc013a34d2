#include "ui/LayoutScaler.h"
#include <algorithm>
#include <commctrl.h>
#include "framework/Font.h"
#include "framework/Window.h"

namespace {

// The design's font height and how much taller a single-line box is than its text.
constexpr int kDesignFontHeight = 10;
constexpr int kBoxPadding = 10;
// The height of a combo box's drop-down list on the design screen.
constexpr int kDesignDropDownHeight = 100;

int Scaled(LONG value, float scale)
{
    return static_cast<int>(static_cast<float>(value) * scale);
}

bool IsClass(const std::wstring& name, const wchar_t* cls)
{
    return ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str(), -1, cls, -1) == CSTR_EQUAL;
}

}  // namespace

float CLayoutScaler::ComputeScale(SIZE screen, int designWidth, int designHeight)
{
    if (screen.cy < 320 || screen.cx < 240 || designWidth <= 0 || designHeight <= 0)
        return 1.0f;
    const float widthRatio = static_cast<float>(screen.cx) / static_cast<float>(designWidth);
    const float heightRatio
        = static_cast<float>(screen.cy + designHeight - 320) / static_cast<float>(designHeight);
    return std::min(widthRatio, heightRatio);
}

void CLayoutScaler::Apply(HWND window, int designWidth, int designHeight)
{
    Apply(window, designWidth, designHeight,
          SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &m_area, 0);
}

void CLayoutScaler::Measure(int designWidth, int designHeight)
{
    Measure(designWidth, designHeight,
            ComputeScale(SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, designWidth,
                         designHeight));
}

void CLayoutScaler::Measure(int designWidth, int designHeight, float scale)
{
    m_designWidth = designWidth;
    m_designHeight = designHeight;
    m_scale = scale;
    CreateFont();
}

void CLayoutScaler::Apply(HWND window, int designWidth, int designHeight, SIZE screen)
{
    m_window = window;
    m_area = RECT{0, 0, screen.cx, screen.cy};
    m_designWidth = designWidth;
    m_designHeight = designHeight;
    m_scale = 1.0f;
    m_scale = ComputeScale(screen, designWidth, designHeight);
    CreateFont();
    LayOutChildren();
}

RECT CLayoutScaler::Scale(const RECT& rect, float scale)
{
    return RECT{Scaled(rect.left, scale), Scaled(rect.top, scale), Scaled(rect.right, scale),
                Scaled(rect.bottom, scale)};
}

void CLayoutScaler::FitWindow() const
{
    const CWindow window(m_window);
    const RECT client = window.GetClientRect();
    RECT frame{0, 0, Scaled(client.right, m_scale), Scaled(client.bottom, m_scale)};
    ::AdjustWindowRectEx(&frame, window.GetStyle(), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(m_window, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Centred in the area, its top left corner never above or left of it.
    const int left = m_area.left + std::max(0, static_cast<int>(m_area.right - m_area.left - width) / 2);
    const int top = m_area.top + std::max(0, static_cast<int>(m_area.bottom - m_area.top - height) / 2);
    ::SetWindowPos(m_window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLayoutScaler::CreateFont()
{
    m_fontHeight = kDesignFontHeight;
    if (m_scale > 1.0f)
        m_fontHeight = static_cast<int>(m_scale * kDesignFontHeight);
    const int weight = m_fontHeight > kDesignFontHeight ? FW_BOLD : FW_NORMAL;
    // Positive height: the cell height, 3 pixels of internal leading above the characters.
    m_font = CreateFaceFont(L"Tahoma", m_fontHeight + 3, weight, ANSI_CHARSET);
}

void CLayoutScaler::LayOutChildren() const
{
    // A window laid out before it shows is drawn once when it does; repainting each child as
    // it moves would only cost time.
    const bool visible = ::IsWindowVisible(m_window) != FALSE;
    for (HWND handle : CWindow(m_window).GetChildren()) {
        const CWindow child(handle);
        RECT rect = Scale(child.GetRectInParent());
        const std::wstring cls = child.GetClassName();
        if (IsClass(cls, WC_COMBOBOXW)) {
            rect.bottom = rect.top + Scaled(kDesignDropDownHeight, m_scale);
        } else if ((IsClass(cls, WC_EDITW) && !(child.GetStyle() & ES_MULTILINE)) || IsClass(cls, UPDOWN_CLASSW)) {
            // Tall enough for the font, around the old vertical centre.
            const int height = m_fontHeight + kBoxPadding;
            rect.top += (rect.bottom - rect.top - height) / 2;
            rect.bottom = rect.top + height;
        }
        child.MoveWindow(rect, visible);
        child.SetFont(m_font.Get(), visible);
    }
}

#include "ui/ModeCombo.h"
#include "ui/KeepModeDlg.h"

namespace {

CVideoMode ModeAt(int index)
{
    return CVideoMode(index >= 4, static_cast<int16_t>(index & 3));
}

int IndexOf(const CVideoMode& mode)
{
    return (mode.m_bVGA ? 4 : 0) + (mode.m_nOrientation & 3);
}

}  // namespace

void CModeCombo::Fill(const CVideoMode& selected) const
{
    for (int i = 0; i < 8; ++i)
        m_combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CKeepModeDlg::GetModeTitle(ModeAt(i)).c_str()));
    m_combo.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(IndexOf(selected)));
}

bool CModeCombo::GetSelected(CVideoMode& mode) const
{
    const LRESULT index = m_combo.SendMessage(CB_GETCURSEL);
    if (index < 0 || index >= 8)
        return false;
    mode = ModeAt(static_cast<int>(index));
    return true;
}

void CModeCombo::Widen(int pageWidth) const
{
    const RECT place = m_combo.GetRectInParent();
    const int width = pageWidth - 2 * place.left;
    if (width <= place.right - place.left)
        return;
    // A combo box's window height is its box and its list together.
    RECT dropped{};
    m_combo.SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    ::SetWindowPos(m_combo, nullptr, 0, 0, width, dropped.bottom - dropped.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

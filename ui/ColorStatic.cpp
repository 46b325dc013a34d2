#include "ui/ColorStatic.h"

CColorStatic::CColorStatic()
    : m_textColor(::GetSysColor(COLOR_WINDOWTEXT)),
      m_bkColor(::GetSysColor(COLOR_BTNFACE)),
      m_background(::CreateSolidBrush(m_bkColor))
{
    RebuildFont();
}

void CColorStatic::SetBold(bool bold)
{
    m_bBold = bold;
    RebuildFont();
}

void CColorStatic::SetItalic(bool italic)
{
    m_bItalic = italic;
    RebuildFont();
}

void CColorStatic::SetUnderline(bool underline)
{
    m_bUnderline = underline;
    RebuildFont();
}

void CColorStatic::SetFontSize(int pixels)
{
    m_nSize = pixels;
    RebuildFont();
}

void CColorStatic::SetFaceName(const std::wstring& faceName)
{
    m_strFaceName = faceName;
    RebuildFont();
}

void CColorStatic::SetBkColor(COLORREF color)
{
    m_bkColor = color;
    m_background.Reset(::CreateSolidBrush(color));
    Invalidate();
}

void CColorStatic::RebuildFont()
{
    LOGFONTW font{};
    font.lfHeight = -m_nSize;
    font.lfWeight = m_bBold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = m_bItalic;
    font.lfUnderline = m_bUnderline;
    // The record's face may be longer than the system's face field: keep what fits.
    m_strFaceName.copy(font.lfFaceName, LF_FACESIZE - 1);
    m_font.Reset(::CreateFontIndirectW(&font));
    if (m_hWnd) {
        Default(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
        Invalidate();
    }
}

bool CColorStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message != WM_CTLCOLORSTATIC)
        return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SelectObject(dc, m_font.Get());
    ::SetTextColor(dc, m_textColor);
    ::SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(m_background.Get());
    return true;
}

LRESULT CColorStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A dialog's layout hands every child its font; the label draws with its own, so it
    // keeps that one whatever it is given.
    if (message == WM_SETFONT)
        return Default(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

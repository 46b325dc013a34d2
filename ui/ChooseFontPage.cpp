#include "ui/ChooseFontPage.h"
#include <cwchar>
#include "framework/Font.h"
#include "framework/WholeNumber.h"
#include "framework/Window.h"
#include "resources/resource.h"

namespace {

constexpr COLORREF kRuleColor = RGB(0xC0, 0xC0, 0xC0);
// ClearType in the font description's quality field.
constexpr BYTE kClearTypeQuality = 5;

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM combo) noexcept
{
    const CWindow box(reinterpret_cast<HWND>(combo));
    // Vertical variants ("@Face") are not faces of their own.
    if (font->lfFaceName[0] != L'@' && box.SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(font->lfFaceName)) == CB_ERR)
        box.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(font->lfFaceName));
    return 1;
}

// The whole number a text starts with, after blanks; 0 when it does not start with one.
int LeadingNumber(const std::wstring& text)
{
    long long n = 0;
    return ParseWholeNumber(text, 1, INT32_MAX, n, wholeNumberLeading) ? static_cast<int>(n) : 0;
}

}  // namespace

const wchar_t* const CChooseFontPage::kSizes[11] = {L"8",  L"9",  L"10", L"11", L"12", L"14",
                                                    L"16", L"20", L"24", L"28", L"36"};

CChooseFontPage::CChooseFontPage() : CPropertyPage(IDD_CHOOSE_FONT) {}

void CChooseFontPage::SetFaceName(LOGFONTW& lf, const std::wstring& faceName)
{
    const size_t copied = faceName.copy(lf.lfFaceName, LF_FACESIZE - 1);
    lf.lfFaceName[copied] = L'\0';
}

bool CChooseFontPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_scaler.Apply(m_hWnd, 240, 222);
    m_labelFont = CreateFaceFont(L"Tahoma", -11, FW_BOLD, DEFAULT_CHARSET);
    GetDlgItem(IDC_FONT_STYLE_LABEL).SetFont(m_labelFont.Get());
    GetDlgItem(IDC_FONT_PREVIEW_LABEL).SetFont(m_labelFont.Get());

    m_nPixelsPerInch = GetScreenPixelsPerInch();
    FillFaces();

    const CWindow face = GetDlgItem(IDC_FONT_FACE);
    const LRESULT found
        = face.SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(m_lf.lfFaceName));
    if (found != CB_ERR)
        face.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(found));
    else
        face.SetWindowText(m_lf.lfFaceName);

    const CWindow size = GetDlgItem(IDC_FONT_SIZE);
    for (const wchar_t* entry : kSizes)
        size.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    SelectSize();

    CButton(GetDlgItem(IDC_FONT_BOLD)).SendMessage(BM_SETCHECK, m_lf.lfWeight == FW_BOLD);
    CButton(GetDlgItem(IDC_FONT_ITALIC)).SendMessage(BM_SETCHECK, m_lf.lfItalic != 0);
    CButton(GetDlgItem(IDC_FONT_UNDERLINE)).SendMessage(BM_SETCHECK, m_lf.lfUnderline != 0);
    CButton(GetDlgItem(IDC_FONT_CLEARTYPE)).SendMessage(BM_SETCHECK, m_lf.lfQuality == kClearTypeQuality);
    RebuildPreview();
    return true;
}

void CChooseFontPage::FillFaces() const
{
    const CWindow face = GetDlgItem(IDC_FONT_FACE);
    face.SendMessage(CB_LIMITTEXT, LF_FACESIZE - 1);
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return;
    ::EnumFontFamiliesW(screen, nullptr, &AddFamily, reinterpret_cast<LPARAM>(face.GetSafeHwnd()));
    ::ReleaseDC(nullptr, screen);
}

void CChooseFontPage::SelectSize() const
{
    const std::wstring text = std::to_wstring(PointsFromHeight(m_lf.lfHeight, m_nPixelsPerInch));
    const CWindow size = GetDlgItem(IDC_FONT_SIZE);
    // The entry equal to the text: a prefix match would take "10" for "1".
    const LRESULT found
        = size.SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (found != CB_ERR)
        size.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(found));
    else
        size.SetWindowText(text);
}

void CChooseFontPage::SetSizeText(const std::wstring& text)
{
    const int points = LeadingNumber(text);
    if (points < 1 || points > kMaxSize)
        return;
    m_lf.lfHeight = HeightFromPoints(points, m_nPixelsPerInch);
    RebuildPreview();
}

void CChooseFontPage::RebuildPreview()
{
    m_previewFont.Reset();
    CFontHandle font(::CreateFontIndirectW(&m_lf));
    if (!font)
        return;
    m_previewFont = std::move(font);
    const CWindow preview = GetDlgItem(IDC_FONT_PREVIEW);
    preview.SetFont(m_previewFont.Get());
    preview.Invalidate();
}

bool CChooseFontPage::OnCommand(UINT id, UINT code, HWND control)
{
    const CWindow box(control);
    switch (id) {
    case IDC_FONT_FACE:
        if (code == CBN_SELCHANGE) {
            const LRESULT index = box.SendMessage(CB_GETCURSEL);
            const LRESULT length = index == CB_ERR ? CB_ERR : box.SendMessage(CB_GETLBTEXTLEN, index);
            if (length == CB_ERR)
                return true;
            std::wstring face(static_cast<size_t>(length) + 1, L'\0');
            box.SendMessage(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(face.data()));
            face.resize(static_cast<size_t>(length));
            SetFaceName(m_lf, face);
            RebuildPreview();
        } else if (code == CBN_EDITCHANGE) {
            SetFaceName(m_lf, box.GetWindowText());
            RebuildPreview();
        }
        return true;
    case IDC_FONT_SIZE:
        if (code == CBN_SELCHANGE) {
            const LRESULT index = box.SendMessage(CB_GETCURSEL);
            if (index >= 0 && index < static_cast<LRESULT>(std::size(kSizes)))
                SetSizeText(kSizes[index]);
        } else if (code == CBN_EDITCHANGE) {
            SetSizeText(box.GetWindowText());
        }
        return true;
    default:
        return CPropertyPage::OnCommand(id, code, control);
    }
}

bool CChooseFontPage::OnButtonClicked(UINT id)
{
    const bool ticked = GetDlgItem(static_cast<int>(id)).SendMessage(BM_GETCHECK) == BST_CHECKED;
    switch (id) {
    case IDC_FONT_BOLD:
        m_lf.lfWeight = ticked ? FW_BOLD : FW_NORMAL;
        break;
    case IDC_FONT_ITALIC:
        m_lf.lfItalic = ticked;
        break;
    case IDC_FONT_UNDERLINE:
        m_lf.lfUnderline = ticked;
        break;
    case IDC_FONT_CLEARTYPE:
        m_lf.lfQuality = ticked ? kClearTypeQuality : DEFAULT_QUALITY;
        break;
    default:
        return false;
    }
    RebuildPreview();
    return true;
}

void CChooseFontPage::DrawLabelRules(HDC dc) const
{
    CPenHandle pen(::CreatePen(PS_SOLID, 1, kRuleColor));
    HGDIOBJ old = ::SelectObject(dc, pen.Get());
    for (int id : {IDC_FONT_STYLE_LABEL, IDC_FONT_PREVIEW_LABEL}) {
        const RECT label = GetDlgItem(id).GetRectInParent();
        ::MoveToEx(dc, label.left, label.bottom + 2, nullptr);
        ::LineTo(dc, label.right, label.bottom + 2);
    }
    ::SelectObject(dc, old);
}

LRESULT CChooseFontPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return CPropertyPage::WindowProc(message, wParam, lParam);
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc)
        DrawLabelRules(dc);
    ::EndPaint(m_hWnd, &paint);
    return 0;
}

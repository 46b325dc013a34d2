#include "framework/PropertySheet.h"
#include <algorithm>
#include <commctrl.h>
#include "framework/CommonControls.h"
#include "framework/DialogTemplate.h"
#include "framework/Error.h"

std::wstring CPropertyPage::GetTitle() const
{
    return GetDialogTemplateCaption(::GetModuleHandleW(nullptr), m_templateId);
}

bool CPropertyPage::Create(HWND sheet)
{
    if (m_hWnd)
        return true;
    LoadCommonControls();
    return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), sheet,
                                &CWnd::DialogProc, reinterpret_cast<LPARAM>(this))
        != nullptr;
}

bool CPropertyPage::UpdateData(bool save)
{
    CDataExchange exchange(m_hWnd, save ? CDataExchange::Mode::save : CDataExchange::Mode::load);
    DoDataExchange(exchange);
    return exchange.Succeeded();
}

bool CPropertyPage::CheckData()
{
    CDataExchange exchange(m_hWnd, CDataExchange::Mode::check);
    DoDataExchange(exchange);
    return exchange.Succeeded();
}

bool CPropertyPage::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CPropertyPage::DoDataExchange(CDataExchange&) {}

bool CPropertyPage::OnKillActive()
{
    return CheckData();
}

void CPropertyPage::OnApply() {}

bool CPropertyPage::OnButtonClicked(UINT)
{
    return false;
}

bool CPropertyPage::OnCommand(UINT id, UINT code, HWND control)
{
    if (code == BN_CLICKED && OnButtonClicked(id))
        return true;
    return CWnd::OnCommand(id, code, control);
}

void CPropertyPage::Apply()
{
    // Every shown page passed its checks when it was left, the active one just now.
    UpdateData(true);
    OnApply();
}

LRESULT CPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog() ? TRUE : FALSE;
    return CWnd::WindowProc(message, wParam, lParam);
}

CPropertySheet::CPropertySheet(std::wstring caption, HWND owner) : CDialog(0, owner), m_caption(std::move(caption)) {}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    page->m_pSheet = this;
    m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_pages.empty())
        return -1;
    LoadCommonControls();
    // A caption-only template: the sheet creates its tab control and pages itself.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 2 + m_caption.size() + 1, 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
    header->style = WS_POPUP | WS_CLIPCHILDREN;
    WORD* caption = words.data() + sizeof(DLGTEMPLATE) / sizeof(WORD) + 2;  // after no menu and no class
    std::copy(m_caption.begin(), m_caption.end(), caption);
    m_active = -1;
    return DoModalIndirect(header);
}

bool CPropertySheet::OnInitDialog()
{
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    ::SetWindowPos(m_hWnd, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    HWND tab = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TCS_BOTTOM,
                                 0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabControlId)),
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!tab)
        return true;
    for (int i = 0; i < GetPageCount(); ++i) {
        std::wstring title = m_pages[static_cast<size_t>(i)]->GetTitle();
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = title.data();
        ::SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    RecalcLayout();
    ShowPage(0);
    return true;
}

int CPropertySheet::GetReservedBottom() const
{
    return 0;
}

RECT CPropertySheet::PageRect() const
{
    // The pages take the whole width above the row of tabs, as on the device, rather than the
    // framed display area, whose borders would cost a small screen its margins.
    const CWindow tab = GetTabControl();
    const RECT whole = tab.GetRectInParent();
    RECT display = whole;
    tab.SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    return RECT{whole.left, whole.top, whole.right, std::max(whole.top, display.bottom)};
}

void CPropertySheet::RecalcLayout()
{
    RECT client = GetClientRect();
    client.bottom = std::max(client.top, client.bottom - GetReservedBottom());
    GetTabControl().MoveWindow(client);
    const RECT page = PageRect();
    for (CPropertyPage* p : m_pages) {
        if (p->GetSafeHwnd())
            p->MoveWindow(page);
    }
}

void CPropertySheet::ShowPage(int index)
{
    CPropertyPage* page = GetPage(index);
    if (!page)
        return;
    if (!page->GetSafeHwnd()) {
        if (!page->Create(m_hWnd))
            return;
        page->MoveWindow(PageRect());
    }
    if (CPropertyPage* old = GetActivePage(); old && old != page)
        old->ShowWindow(SW_HIDE);
    m_active = index;
    GetTabControl().SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index));
    ::SetWindowPos(*page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

bool CPropertySheet::SetActivePage(int index)
{
    if (!GetPage(index))
        return false;
    if (index == m_active)
        return true;
    if (CPropertyPage* old = GetActivePage(); old && !old->OnKillActive())
        return false;
    ShowPage(index);
    return m_active == index;
}

void CPropertySheet::OnOK()
{
    if (CPropertyPage* active = GetActivePage(); active && !active->OnKillActive())
        return;
    try {
        for (CPropertyPage* page : m_pages) {
            if (page->GetSafeHwnd())
                page->Apply();
        }
        OnStore();
    } catch (const error& e) {
        ReportError(e, m_hWnd);
        return;
    }
    EndDialog(IDOK);
}

void CPropertySheet::OnStore() {}

bool CPropertySheet::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.idFrom != static_cast<UINT_PTR>(kTabControlId))
        return false;
    switch (header.code) {
    case TCN_SELCHANGING: {
        CPropertyPage* active = GetActivePage();
        result = active && !active->OnKillActive() ? TRUE : FALSE;
        return true;
    }
    case TCN_SELCHANGE:
        ShowPage(static_cast<int>(GetTabControl().SendMessage(TCM_GETCURSEL)));
        result = 0;
        return true;
    default:
        return false;
    }
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE) {
        RecalcLayout();
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

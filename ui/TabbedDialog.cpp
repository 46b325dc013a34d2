#include "ui/TabbedDialog.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "ui/TabbedPage.h"

namespace {

// OK and Cancel.
constexpr int kSheetToolBarPictures = 2;

}  // namespace

CTabbedDialog::CTabbedDialog(UINT captionId, HWND parent) : CPropertySheet(LoadResourceString(captionId), parent) {}

void CTabbedDialog::SetData(void* data)
{
    for (int i = 0; i < GetPageCount(); ++i) {
        if (auto* page = dynamic_cast<CTabbedPage*>(GetPage(i)))
            page->m_pData = data;
    }
}

INT_PTR CTabbedDialog::Run(UINT captionId, HWND parent, std::initializer_list<CPropertyPage*> pages, void* data,
                           std::function<void()> store)
{
    CTabbedDialog sheet(captionId, parent);
    for (CPropertyPage* page : pages)
        sheet.AddPage(page);
    sheet.SetData(data);
    sheet.SetStore(std::move(store));
    return sheet.DoModal();
}

bool CTabbedDialog::OnInitDialog()
{
    m_scaler.Measure(240, 222);
    const bool result = CPropertySheet::OnInitDialog();
    GetTabControl().SetFont(m_scaler.GetFont());
    m_commandBar.CreateButtonBar(m_hWnd, IDR_SHEET_TOOLBAR, kSheetToolBarPictures);
    RecalcLayout();
    PlaceCommandBar();
    return result;
}

void CTabbedDialog::OnStore()
{
    if (m_store)
        m_store();
}

int CTabbedDialog::GetReservedBottom() const
{
    return m_commandBar.GetHeight();
}

void CTabbedDialog::PlaceCommandBar()
{
    m_commandBar.Place();
}

bool CTabbedDialog::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id) {
    case ID_SHEET_OK:
        SendMessage(WM_COMMAND, IDOK);
        return true;
    case ID_SHEET_CANCEL:
        SendMessage(WM_COMMAND, IDCANCEL);
        return true;
    default:
        return CPropertySheet::OnCommand(id, code, control);
    }
}

LRESULT CTabbedDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CPropertySheet::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE)
        PlaceCommandBar();
    return result;
}

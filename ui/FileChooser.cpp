#include "ui/FileChooser.h"
#include "resources/resource.h"
#include "ui/SelectFilePage.h"
#include "ui/TabbedDialog.h"

INT_PTR CFileChooser::Run()
{
    CTabbedDialog sheet(IDS_CHOOSE_FILE, m_parent);
    CSelectFilePage page;
    sheet.AddPage(&page);
    sheet.SetData(&m_strPath);
    return sheet.DoModal();
}

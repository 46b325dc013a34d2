#include "ui/FileChooser.h"
#include "resources/resource.h"
#include "ui/SelectFilePage.h"
#include "ui/TabbedDialog.h"

INT_PTR CFileChooser::Run()
{
    return CTabbedDialog::RunPage<CSelectFilePage>(IDS_CHOOSE_FILE, m_parent, &m_strPath);
}

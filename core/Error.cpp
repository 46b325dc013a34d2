#include "core/Error.h"
#include "framework/File.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {
void ShowStop(const std::wstring& text, HWND owner)
{
    ShowMessageBox(owner, text, LoadResourceString(IDS_APP_TITLE), MB_OK | MB_ICONSTOP);
}
}  // namespace

void ReportError(const error& e, HWND owner)
{
    ShowStop(e.GetMessage(), owner);
}

void ReportError(const CFileException& e, HWND owner)
{
    ShowStop(e.GetErrorMessage(), owner);
}

#include "framework/Error.h"
#include "framework/File.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "framework/StandardIds.h"

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

void ReportCurrentException(HWND owner)
{
    try {
        throw;
    } catch (const error& e) {
        ReportError(e, owner);
    } catch (const CFileException& e) {
        ReportError(e, owner);
    } catch (...) {
        ShowStop(LoadResourceString(IDS_UNKNOWN_ERROR), owner);
    }
}

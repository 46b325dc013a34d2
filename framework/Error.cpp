#include "framework/Error.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "framework/StandardIds.h"

void ReportError(const error& e, HWND owner)
{
    ShowProgramMessage(owner, e.GetMessage(), MB_OK | MB_ICONSTOP);
}

void ReportCurrentException(HWND owner)
{
    try {
        throw;
    } catch (const error& e) {
        ReportError(e, owner);
    } catch (...) {
        ShowProgramMessage(owner, LoadResourceString(IDS_UNKNOWN_ERROR), MB_OK | MB_ICONSTOP);
    }
}

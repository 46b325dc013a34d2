#include "platform/OemInfo.h"
#include <windows.h>

namespace platform {

std::wstring GetOemInfo()
{
    wchar_t text[128] = L"";
    if (!::SystemParametersInfoW(SPI_GETOEMINFO, sizeof text, text, 0))
        return std::wstring();
    // The system need not end a text that fills the buffer.
    return std::wstring(text, wcsnlen(text, 127));
}

}  // namespace platform

#pragma once
// Texts from the program's string table and the system's message table, with "%1", "%2"...
// filled in by the system's message formatter.
#include <windows.h>
#include <string>
#include <vector>
#include "framework/Error.h"

// The string resource as it stands; raises CResourceException when it is missing.
std::wstring LoadResourceString(UINT id);
// String id's text with "%1", "%2"... replaced by args, through the system's message
// formatter. Raises CResourceException when the string is missing or the formatter fails.
std::wstring FormatResourceString(UINT id, const std::vector<std::wstring>& args = {});
std::wstring FormatText(const std::wstring& format, const std::vector<std::wstring>& args = {});
// The system's message for the last error, or for the given code; "error N", N the code in
// decimal, when it has none.
std::wstring LastErrorText();
std::wstring SystemErrorText(DWORD code);

// A string resource that is missing, or a text the system's formatter refused: the program
// itself is damaged. Its message is IDS_RESOURCE_ERROR's text.
class CResourceException : public error {
public:
    explicit CResourceException(UINT id);
    UINT GetId() const { return m_id; }

private:
    UINT m_id;
};

#pragma once
// The lines of a report: read back from its UTF-16 text file, or as its window shows them.
#include <string>
#include <vector>
#include "DeviceFixture.h"
#include "framework/Window.h"
#include "resources/resource.h"

inline std::vector<std::wstring> ReadReportLines(const std::wstring& path)
{
    const std::string bytes = ReadFileBytes(path);
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    std::vector<std::wstring> lines;
    for (size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

inline std::vector<std::wstring> ListedLines(CWindow report)
{
    const CWindow box = report.GetDlgItem(IDC_REPORT_LIST);
    std::wstring text(static_cast<size_t>(box.SendMessage(WM_GETTEXTLENGTH)) + 1, L'\0');
    text.resize(static_cast<size_t>(box.SendMessage(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    std::vector<std::wstring> lines;
    size_t at = 0;
    for (size_t end; (end = text.find(L"\r\n", at)) != std::wstring::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    if (!text.empty())
        lines.push_back(text.substr(at));
    return lines;
}

#include "framework/DataExchange.h"
#include <cerrno>
#include <cwchar>
#include <cwctype>
#include "framework/MessageBox.h"
#include "framework/StandardIds.h"
#include "framework/Window.h"
#include "framework/ResourceString.h"

namespace {

// Leading and trailing blanks are allowed around an optional sign and the digits; anything
// else, or a number beyond 32 bits, is not a whole number.
bool ParseInt(const std::wstring& text, int& value)
{
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const long long parsed = std::wcstoll(begin, &end, 10);
    if (end == begin || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    while (*end && std::iswspace(*end))
        ++end;
    if (*end)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

void CDataExchange::Fail(int id, UINT messageId, const std::wstring& arg1, const std::wstring& arg2)
{
    m_bFailed = true;
    ShowMessageBox(m_dialog, FormatResourceString(messageId, {arg1, arg2}), LoadResourceString(IDS_APP_TITLE),
                   MB_OK | MB_ICONEXCLAMATION);
    const CWindow control = CWindow(m_dialog).GetDlgItem(id);
    ::SetFocus(control);
    control.SendMessage(EM_SETSEL, 0, -1);
}

void CDataExchange::Int(int id, int& value, int minimum, int maximum)
{
    if (m_bFailed)
        return;
    const CWindow control = CWindow(m_dialog).GetDlgItem(id);
    if (m_mode == Mode::load) {
        control.SetWindowText(std::to_wstring(value));
        return;
    }
    int typed = 0;
    if (!ParseInt(control.GetWindowText(), typed))
        return Fail(id, IDS_PARSE_INT);
    if (typed < minimum || typed > maximum)
        return Fail(id, IDS_PARSE_INT_RANGE, std::to_wstring(minimum), std::to_wstring(maximum));
    if (m_mode == Mode::save)
        value = typed;
}

void CDataExchange::Text(int id, std::wstring& value, size_t maxChars)
{
    if (m_bFailed)
        return;
    const CWindow control = CWindow(m_dialog).GetDlgItem(id);
    if (m_mode == Mode::load) {
        control.SendMessage(EM_LIMITTEXT, maxChars);
        control.SetWindowText(value);
        return;
    }
    const std::wstring typed = control.GetWindowText();
    if (typed.size() > maxChars)
        return Fail(id, IDS_PARSE_STRING_SIZE, std::to_wstring(maxChars));
    if (m_mode == Mode::save)
        value = typed;
}

void CDataExchange::Check(int id, bool& value)
{
    if (m_bFailed)
        return;
    const CWindow control = CWindow(m_dialog).GetDlgItem(id);
    if (m_mode == Mode::save)
        value = control.SendMessage(BM_GETCHECK) == BST_CHECKED;
    else if (m_mode == Mode::load)
        control.SendMessage(BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED);
}

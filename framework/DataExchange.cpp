#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "framework/StandardIds.h"
#include "framework/Window.h"
#include "framework/ResourceString.h"
#include "framework/WholeNumber.h"

void CDataExchange::Fail(int id, UINT messageId, const std::wstring& arg1, const std::wstring& arg2)
{
    m_bFailed = true;
    ShowProgramMessage(m_dialog, FormatResourceString(messageId, {arg1, arg2}), MB_OK | MB_ICONEXCLAMATION);
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
    long long typed = 0;
    if (!ParseWholeNumber(control.GetWindowText(), INT32_MIN, INT32_MAX, typed))
        return Fail(id, IDS_PARSE_INT);
    if (typed < minimum || typed > maximum)
        return Fail(id, IDS_PARSE_INT_RANGE, std::to_wstring(minimum), std::to_wstring(maximum));
    if (m_mode == Mode::save)
        value = static_cast<int>(typed);
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

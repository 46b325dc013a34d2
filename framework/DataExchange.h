#pragma once
// Moves values between a dialog's controls and the values they stand for (members, or the
// fields of the object the dialog edits). Loading fills the controls; checking reads and checks
// them; saving checks them too and stores what it read. The first value that fails shows the
// standard message, takes the focus to its control and ends the exchange: every later call
// does nothing.
#include <windows.h>
#include <string>

class CDataExchange {
public:
    enum class Mode { load, check, save };

    CDataExchange(HWND dialog, Mode mode) : m_dialog(dialog), m_mode(mode) {}

    bool IsSaving() const { return m_mode == Mode::save; }
    // Whether the controls are read and checked (checking or saving), rather than filled.
    bool IsReading() const { return m_mode != Mode::load; }
    // False once a value failed to save.
    bool Succeeded() const { return !m_bFailed; }

    // A whole number in minimum..maximum, typed in edit box id.
    void Int(int id, int& value, int minimum, int maximum);
    // A text of at most maxChars characters.
    void Text(int id, std::wstring& value, size_t maxChars);
    // A check box: ticked or not.
    void Check(int id, bool& value);
    // Refuses the value of control id as a failed check does: shows string messageId with
    // the arguments, selects the control's text and ends the exchange.
    void Fail(int id, UINT messageId, const std::wstring& arg1 = {}, const std::wstring& arg2 = {});

private:
    HWND m_dialog;
    Mode m_mode;
    bool m_bFailed = false;
};

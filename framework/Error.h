#pragma once
// The base of every exception the program raises: one finished message text, set at
// construction. Derived types add nothing but their type; all are thrown by value and
// caught by reference.
#include <windows.h>  // before the class: GetMessage is a macro there
#include <string>

class error {
public:
    explicit error(std::wstring message) : m_message(std::move(message)) {}
    virtual ~error() = default;
    virtual std::wstring GetMessage() const { return m_message; }

private:
    std::wstring m_message;
};

class CFileException;

// Shows the message in a modal box with the stop icon and an OK button (style 0x10).
void ReportError(const error& e, HWND owner = nullptr);
// A file that could not be opened, read or written is reported the same way.
void ReportError(const CFileException& e, HWND owner = nullptr);
// Called inside a catch block: reports the exception being handled as above, and any other
// kind as "Unknown error".
void ReportCurrentException(HWND owner = nullptr);

#pragma once
// The base of every exception the program raises: one finished message text, set at
// construction. Derived types add nothing but their type and what callers may ask of the
// failure; all are thrown by value and caught by reference, so one handler of `error` sees
// every failure.
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

// Shows the message in a modal box with the stop icon and an OK button (style 0x10), titled
// with the program's title.
void ReportError(const error& e, HWND owner = nullptr);
// Called inside a catch block: reports the exception being handled as above, and anything
// that is not an `error` as "Unknown error".
void ReportCurrentException(HWND owner = nullptr);

// Takes back what a failed action left, inside the handler that passes the action's error on:
// a failure of the taking back is passed over, so that it never takes the place of the error
// the user has to see.
template <typename Undo>
void UndoQuietly(Undo undo) noexcept
{
    try {
        undo();
    } catch (...) {
    }
}

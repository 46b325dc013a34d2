#pragma once
// The one seam through which every message box of the program is shown. Production shows the
// real box; a test installs a handler that sees the text, caption and style and answers.
#include <windows.h>
#include <functional>
#include <string>

struct MessageBoxRequest {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT style;
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows the box (or asks the installed handler) and returns the button chosen (IDOK, ...).
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);
// The same, titled with the program's title (IDS_APP_TITLE), which is read from the string
// table here and nowhere else.
int ShowProgramMessage(HWND owner, const std::wstring& text, UINT style);

// Installs a handler in place of the real box; an empty handler restores the real box.
// Returns the handler that was installed before.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

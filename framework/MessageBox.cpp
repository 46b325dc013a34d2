#include "framework/MessageBox.h"
#include <utility>

namespace {
MessageBoxHandler& Handler()
{
    static MessageBoxHandler handler;
    return handler;
}
}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style)
{
    if (Handler())
        return Handler()(MessageBoxRequest{owner, text, caption, style});
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

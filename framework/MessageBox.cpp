#include "framework/MessageBox.h"
#include <utility>
#include "framework/ResourceString.h"
#include "framework/StandardIds.h"

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

int ShowProgramMessage(HWND owner, const std::wstring& text, UINT style)
{
    static const std::wstring title = LoadResourceString(IDS_APP_TITLE);
    return ShowMessageBox(owner, text, title, style);
}

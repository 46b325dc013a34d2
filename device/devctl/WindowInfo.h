#pragma once
// What a user sees of the device's windows: the top-level windows with their controls, and
// the message boxes among them with the text, caption and style they were shown with.
#include <windows.h>
#include <string>
#include <vector>

struct ControlInfo {
    HWND hwnd;
    int id;
    std::wstring className;
    std::wstring text;
    DWORD style;
    RECT rect;  // screen coordinates
};

struct WindowInfo {
    HWND hwnd;
    DWORD pid;
    std::wstring className;
    std::wstring title;
    DWORD style;
    DWORD exStyle;
    RECT rect;
    bool isBox;
    // Message boxes only: the message text and the MB_ style as far as the box shows it
    // (buttons, icon, default button).
    std::wstring boxText;
    UINT boxStyle;
    std::vector<ControlInfo> controls;
};

// The visible top-level windows of the device, topmost first. Owned windows (dialogs, boxes)
// are included; the desktop's own helper windows are not.
std::vector<WindowInfo> ListWindows();

// The window whose title or class contains the text (case-insensitive), a box preferred
// when boxOnly; null when there is none. An empty text picks the topmost one.
const WindowInfo* FindWindowInfo(const std::vector<WindowInfo>& windows, const std::wstring& text, bool boxOnly);

// A control of the window by id, or by text with '&' ignored; null when there is none.
const ControlInfo* FindControl(const WindowInfo& window, int id, const std::wstring& text);

// The id of the box's default button; 0 when it has none.
int DefaultButton(HWND box);

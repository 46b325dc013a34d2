#pragma once
// What a user sees of the device's windows: the top-level windows with all their controls
// (a sheet's controls are grandchildren: sheet, page, control), and the message boxes among
// them with the text, caption and style they were shown with.
#include <windows.h>
#include <climits>
#include <string>
#include <vector>

struct ControlInfo {
    HWND hwnd;
    HWND parent;
    int id;
    std::wstring className;
    std::wstring text;
    DWORD style;
    bool visible;  // shown, and so are all its parents: only one page of a sheet is
    RECT rect;     // screen coordinates
    HWND buddy;    // an up-down control's edit box; null for other controls
};

struct WindowInfo {
    HWND hwnd;
    DWORD pid;
    std::wstring className;
    std::wstring title;
    DWORD style;
    DWORD exStyle;
    RECT rect;
    bool isBox;  // see IsMessageBoxShape
    // Message boxes only: the message text and the MB_ style as far as the box shows it
    // (buttons, icon, default button).
    std::wstring boxText;
    UINT boxStyle;
    std::vector<ControlInfo> controls;  // every descendant, each after its parent
};

// The visible top-level windows of the device, topmost first. Owned windows (dialogs, boxes)
// are included; the desktop's own helper windows and the navigation bar are not.
std::vector<WindowInfo> ListWindows();

// The topmost window whose title or class contains the text (case-insensitive), only boxes
// when boxOnly; null when there is none. An empty text picks the topmost one.
const WindowInfo* FindWindowInfo(const std::vector<WindowInfo>& windows, const std::wstring& text, bool boxOnly);

constexpr int kAnyId = INT_MIN;

// A control of the window by id (kAnyId: any), or by text with '&' ignored, of the class when
// one is given;
// a visible one before hidden ones, since ids repeat across the pages of a sheet. Null when
// there is none.
const ControlInfo* FindControl(const WindowInfo& window, int id, const std::wstring& text,
                               const std::wstring& className = std::wstring());

// Whether two texts are the same to a user: '&' ignored, letter case too.
bool SameText(const std::wstring& a, const std::wstring& b);

// The id of the box's default button; 0 when it has none.
int DefaultButton(HWND box);

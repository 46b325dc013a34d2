// devctl: drives the simulated device as a user would, from inside the device's session.
// Run by the device host (dorix-device); prints JSON or a one-line error.
//
//   devctl list                                  the visible top-level windows with all their
//                                                controls (parent, visibility), boxes marked
//   devctl tap [WINDOW] --id N | --text T        presses a control
//   devctl tap --point X,Y                       taps the screen at a point
//   devctl type [WINDOW] [--id N] TEXT           types into an edit box (the first one by default)
//   devctl set-text [WINDOW] --id N TEXT         replaces an edit box's (or combo box's) text;
//                                                its parent is told as typing tells it
//   devctl pick [WINDOW] --id N --index I        chooses a combo box's entry I (from 0) as its
//                                                list does; its parent is told
//   devctl answer [WINDOW] BUTTON                presses a message box's button: ok, cancel, yes,
//                                                no, abort, retry, ignore, default or an id
//   devctl command [WINDOW] ID                   sends a menu command to a window (default: the
//                                                main window "Dorix", class DorixWnd)
//   devctl menus [WINDOW]                        the menus of the window's program, from its file
//   devctl menu [WINDOW] TEXT...                 taps the menu TEXT in the window's command bar
//                                                (default: Dorix's main window) and chooses the
//                                                item of each further TEXT in the menu it opens
//   devctl workarea                              the screen's size, the system's work area and the
//                                                title the navigation bar shows
//   devctl tabs [WINDOW] [--id N]                a tab control's tabs and the selected one
//   devctl tab [WINDOW] [--id N] TEXT | --index I  taps a tab
//   devctl items [WINDOW] --id N                 a list view's or tree view's items, checks
//   devctl paint [WINDOW]                        waits until the window and its controls have
//                                                painted what is pending (before a screenshot)
//   devctl save-keys FILE KEY...                 writes registry keys' values to FILE
//   devctl load-volatile FILE                    creates FILE's keys volatile with their values
//   devctl serve                                 runs commands read from stdin, one per line with
//                                                its words separated by U+001F; after each
//                                                command's output a line U+001E and its exit code
//
// WINDOW is --window T (title or class containing T; default the topmost window) or --hwnd N.
// Where an id repeats (the pages of a sheet), the visible control is taken.
// Exit code 0 on success, 1 when the window, control or button is not there, 2 for a usage error.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <fcntl.h>
#include <io.h>
#include <map>
#include <string>
#include <vector>
#include <commctrl.h>
#include "CommonControls.h"
#include "ProgramMenus.h"
#include "VolatileKeys.h"
#include "WindowInfo.h"
#include "common/DeviceText.h"

namespace {

void Write(const std::wstring& text)
{
    const std::string bytes = Narrow(text, CP_UTF8);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

int Fail(int code, const std::wstring& message)
{
    Write(L"devctl: " + message + L"\n");
    return code;
}

std::wstring Json(const std::wstring& text)
{
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += L'\\';
            out += c;
        } else if (c < 0x20) {
            wchar_t escaped[8];
            std::swprintf(escaped, 8, L"\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + L"\"";
}

std::wstring Json(const RECT& r)
{
    return L"[" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L","
        + std::to_wstring(r.bottom) + L"]";
}

std::wstring Handle(HWND hwnd)
{
    return std::to_wstring(reinterpret_cast<uintptr_t>(hwnd));
}

std::wstring Bool(bool value)
{
    return value ? L"true" : L"false";
}

int List()
{
    std::wstring out = L"[";
    const std::vector<WindowInfo> windows = ListWindows();
    for (size_t i = 0; i < windows.size(); ++i) {
        const WindowInfo& w = windows[i];
        out += i ? L",\n {" : L"\n {";
        out += L"\"hwnd\":" + Handle(w.hwnd) + L",\"pid\":" + std::to_wstring(w.pid) + L",\"class\":"
            + Json(w.className) + L",\"title\":" + Json(w.title) + L",\"style\":" + std::to_wstring(w.style)
            + L",\"exstyle\":" + std::to_wstring(w.exStyle) + L",\"rect\":" + Json(w.rect) + L",\"box\":" + Bool(w.isBox);
        if (w.isBox)
            out += L",\"text\":" + Json(w.boxText) + L",\"box_style\":" + std::to_wstring(w.boxStyle);
        out += L",\"controls\":[";
        for (size_t j = 0; j < w.controls.size(); ++j) {
            const ControlInfo& c = w.controls[j];
            out += (j ? L",{" : L"{") + std::wstring(L"\"hwnd\":") + Handle(c.hwnd) + L",\"parent\":" + Handle(c.parent)
                + L",\"id\":" + std::to_wstring(c.id) + L",\"class\":" + Json(c.className) + L",\"text\":" + Json(c.text)
                + L",\"style\":" + std::to_wstring(c.style) + L",\"visible\":" + Bool(c.visible) + L",\"rect\":"
                + Json(c.rect);
            if (c.buddy)
                out += L",\"buddy\":" + Handle(c.buddy);
            out += L"}";
        }
        out += L"]}";
    }
    Write(out + L"\n]\n");
    return 0;
}

// Options "--name value" and the remaining words, from args[first] on.
struct Args {
    std::map<std::wstring, std::wstring> options;
    std::vector<std::wstring> words;
};

bool ParseArgs(const std::vector<std::wstring>& args, size_t first, Args& parsed)
{
    for (size_t i = first; i < args.size(); ++i) {
        if (args[i].rfind(L"--", 0) == 0) {
            if (i + 1 >= args.size())
                return false;
            parsed.options[args[i].substr(2)] = args[i + 1];
            ++i;
        } else {
            parsed.words.push_back(args[i]);
        }
    }
    return true;
}

bool Has(const Args& args, const wchar_t* name)
{
    return args.options.count(name) != 0;
}

std::wstring Option(const Args& args, const wchar_t* name)
{
    const auto found = args.options.find(name);
    return found == args.options.end() ? std::wstring() : found->second;
}

bool ParseInt(const std::wstring& text, int& value)
{
    try {
        size_t used = 0;
        value = std::stoi(text, &used, 0);
        return used == text.size();
    } catch (...) {
        return false;
    }
}

// The --id option: kAnyId when absent, false when it is no number.
bool IdOption(const Args& args, int& id)
{
    id = kAnyId;
    return !Has(args, L"id") || ParseInt(Option(args, L"id"), id);
}

// The window an option names: --hwnd N exactly, else --window T as FindWindowInfo takes it.
const WindowInfo* TargetWindow(const std::vector<WindowInfo>& windows, const Args& args, bool boxOnly)
{
    if (!Has(args, L"hwnd"))
        return FindWindowInfo(windows, Option(args, L"window"), boxOnly);
    const std::wstring wanted = Option(args, L"hwnd");
    for (const WindowInfo& window : windows)
        if (Handle(window.hwnd) == wanted && (window.isBox || !boxOnly))
            return &window;
    return nullptr;
}

std::wstring WindowName(const Args& args)
{
    return Has(args, L"hwnd") ? L"window " + Option(args, L"hwnd") : L"\"" + Option(args, L"window") + L"\"";
}

bool IsClass(const std::wstring& className, const wchar_t* name)
{
    return ::CompareStringOrdinal(className.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

// The window Dorix's main window commands go to by default: the frame titled "Dorix".
HWND DorixMainWindow()
{
    return ::FindWindowW(L"DorixWnd", L"Dorix");
}

// A press as the pen gives it: down and up at a point of the window's client area, posted so
// that a modal loop the press opens cannot block the caller.
void PostPress(HWND hwnd, POINT screen)
{
    ::ScreenToClient(hwnd, &screen);
    const LPARAM at = MAKELPARAM(screen.x, screen.y);
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

POINT Centre(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int Tap(const Args& args)
{
    if (Has(args, L"point")) {
        const std::wstring point = Option(args, L"point");
        const size_t comma = point.find(L',');
        int x = 0, y = 0;
        if (comma == std::wstring::npos || !ParseInt(point.substr(0, comma), x) || !ParseInt(point.substr(comma + 1), y))
            return Fail(2, L"--point wants X,Y");
        const POINT p{x, y};
        HWND hwnd = ::WindowFromPoint(p);
        if (!hwnd)
            return Fail(1, L"no window at " + point);
        POINT client = p;
        ::ScreenToClient(hwnd, &client);
        if (HWND child = ::ChildWindowFromPointEx(hwnd, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT))
            hwnd = child;
        PostPress(hwnd, p);
        return 0;
    }
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* target = TargetWindow(windows, args, false);
    if (!target)
        return Fail(1, L"no such window");
    int id = kAnyId;
    if (!IdOption(args, id) || (id == kAnyId && !Has(args, L"text")))
        return Fail(2, L"tap wants --id N, --text T or --point X,Y");
    const ControlInfo* control = FindControl(*target, id, Option(args, L"text"));
    if (!control)
        return Fail(1, L"no such control in \"" + target->title + L"\"");
    if (IsClass(control->className, L"Button"))
        ::PostMessageW(control->hwnd, BM_CLICK, 0, 0);
    else
        PostPress(control->hwnd, Centre(control->rect));
    return 0;
}

// The edit box a command means: by --id (a combo box stands for its edit field), else the
// window's first one.
const ControlInfo* FindEdit(const WindowInfo& window, int id)
{
    const ControlInfo* control = FindControl(window, id, L"", id == kAnyId ? L"Edit" : L"");
    if (control && IsClass(control->className, WC_COMBOBOXW)) {
        for (const ControlInfo& child : window.controls)
            if (child.parent == control->hwnd && IsClass(child.className, L"Edit"))
                return &child;
    }
    return control;
}

int Type(const Args& args)
{
    int id = kAnyId;
    if (args.words.size() != 1 || !IdOption(args, id))
        return Fail(2, L"type wants [--id N] TEXT");
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* target = TargetWindow(windows, args, false);
    if (!target)
        return Fail(1, L"no such window");
    const ControlInfo* edit = FindEdit(*target, id);
    if (!edit)
        return Fail(1, L"no edit box in \"" + target->title + L"\"");
    for (wchar_t c : args.words[0])
        ::PostMessageW(edit->hwnd, WM_CHAR, c, 1);
    return 0;
}

// Replaces the text at once. A single-line edit box tells its parent EN_CHANGE itself on
// WM_SETTEXT; a multi-line one and a combo box's edit field do not, so that is sent for them,
// as typing would (the combo box passes it on as CBN_EDITCHANGE).
int SetText(const Args& args)
{
    int id = kAnyId;
    if (args.words.size() != 1 || !IdOption(args, id) || id == kAnyId)
        return Fail(2, L"set-text wants --id N TEXT");
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* target = TargetWindow(windows, args, false);
    if (!target)
        return Fail(1, L"no such window");
    const ControlInfo* edit = FindEdit(*target, id);
    if (!edit || !IsClass(edit->className, L"Edit"))
        return Fail(1, L"no edit box " + std::to_wstring(id) + L" in \"" + target->title + L"\"");
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(edit->hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args.words[0].c_str()),
                               SMTO_ABORTIFHUNG, 5000, &result))
        return Fail(1, L"the edit box does not answer");
    const bool inCombo = std::any_of(target->controls.begin(), target->controls.end(), [&](const ControlInfo& c) {
        return c.hwnd == edit->parent && IsClass(c.className, WC_COMBOBOXW);
    });
    if ((edit->style & ES_MULTILINE) || inCombo)
        ::SendMessageTimeoutW(edit->parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(edit->hwnd), EN_CHANGE),
                              reinterpret_cast<LPARAM>(edit->hwnd), SMTO_ABORTIFHUNG, 5000, &result);
    return 0;
}

// The selection, then the notification the list gives when a user picks an entry.
int Pick(const Args& args)
{
    int id = kAnyId, index = -1;
    if (!args.words.empty() || !IdOption(args, id) || id == kAnyId || !ParseInt(Option(args, L"index"), index))
        return Fail(2, L"pick wants --id N --index I");
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* target = TargetWindow(windows, args, false);
    if (!target)
        return Fail(1, L"no such window");
    const ControlInfo* combo = FindControl(*target, id, L"", WC_COMBOBOXW);
    if (!combo)
        return Fail(1, L"no combo box " + std::to_wstring(id) + L" in \"" + target->title + L"\"");
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(combo->hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000,
                               &result) || static_cast<int>(result) != index)
        return Fail(1, L"the combo box has no entry " + std::to_wstring(index));
    ::SendMessageTimeoutW(combo->parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(combo->hwnd), SMTO_ABORTIFHUNG, 5000, &result);
    return 0;
}

int Answer(const Args& args)
{
    if (args.words.size() != 1)
        return Fail(2, L"answer wants one BUTTON");
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* box = TargetWindow(windows, args, true);
    if (!box)
        return Fail(1, L"no message box");
    std::wstring name = args.words[0];
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towlower(c));
    static const std::map<std::wstring, int> ids = {{L"ok", IDOK},       {L"cancel", IDCANCEL}, {L"abort", IDABORT},
                                                    {L"retry", IDRETRY}, {L"ignore", IDIGNORE}, {L"yes", IDYES},
                                                    {L"no", IDNO}};
    int id = 0;
    const auto known = ids.find(name);
    if (known != ids.end())
        id = known->second;
    else if (name == L"default")
        id = DefaultButton(box->hwnd);
    else if (!ParseInt(name, id))
        return Fail(2, L"unknown button " + args.words[0]);
    const ControlInfo* button = FindControl(*box, id, L"", L"Button");
    if (!button || !button->visible)
        return Fail(1, L"the box has no button " + args.words[0]);
    ::PostMessageW(box->hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button->hwnd));
    return 0;
}

int Command(const Args& args)
{
    int id = 0;
    if (args.words.size() != 1 || !ParseInt(args.words[0], id) || id <= 0 || id > 0xFFFF)
        return Fail(2, L"command wants one command ID");
    HWND target = nullptr;
    if (Has(args, L"window") || Has(args, L"hwnd")) {
        const std::vector<WindowInfo> windows = ListWindows();
        const WindowInfo* window = TargetWindow(windows, args, false);
        target = window ? window->hwnd : nullptr;
    } else {
        target = DorixMainWindow();
    }
    if (!target)
        return Fail(1, L"no such window");
    // Posted as the menu posts it: the command may open a modal sheet.
    ::PostMessageW(target, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return 0;
}

std::wstring Json(const std::vector<MenuItemInfo>& items)
{
    std::wstring out = L"[";
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItemInfo& item = items[i];
        out += (i ? L",{" : L"{") + std::wstring(L"\"text\":") + Json(item.text) + L",\"command\":"
            + std::to_wstring(item.command) + L",\"separator\":" + Bool(item.separator);
        if (!item.items.empty())
            out += L",\"items\":" + Json(item.items);
        out += L"}";
    }
    return out + L"]";
}

int Menus(const Args& args)
{
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* target = TargetWindow(windows, args, false);
    if (!target)
        return Fail(1, L"no such window");
    std::wstring program, message;
    std::vector<ProgramMenu> menus;
    if (!ReadProgramMenus(target->hwnd, program, menus, message))
        return Fail(1, message);
    std::wstring out = L"{\"program\":" + Json(program) + L",\"menus\":[";
    for (size_t i = 0; i < menus.size(); ++i)
        out += (i ? L",\n{" : L"\n{") + std::wstring(L"\"id\":") + std::to_wstring(menus[i].id) + L",\"items\":"
            + Json(menus[i].items) + L"}";
    Write(out + L"]}\n");
    return 0;
}

// The command bar's child window id and the program's open pop-up menu's class.
constexpr int kCommandBarId = 0xE800;
const wchar_t kPopupMenuClass[] = L"#32768";
constexpr DWORD kMenuOpenMs = 5000;

struct PopupSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindPopup(HWND hwnd, LPARAM param)
{
    auto& search = *reinterpret_cast<PopupSearch*>(param);
    wchar_t name[16] = L"";
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search.pid && ::IsWindowVisible(hwnd) && ::GetClassNameW(hwnd, name, 16)
        && !::lstrcmpW(name, kPopupMenuClass)) {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Taps the menu's title in the window's command bar, then picks the item of each further text
// from the menu that opens, with the keys a user may use there (Wine lets no other process
// read a live menu's items or their places, so they are counted in the program's menu
// resource): Home selects the first item, Down the next one (separators are passed over),
// Right opens a sub-menu, Enter chooses.
int Menu(const Args& args)
{
    if (args.words.empty())
        return Fail(2, L"menu wants the menu's TEXT and the items' texts");
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* window = nullptr;
    if (Has(args, L"window") || Has(args, L"hwnd")) {
        window = TargetWindow(windows, args, false);
    } else {
        const HWND main = DorixMainWindow();
        for (const WindowInfo& w : windows)
            if (w.hwnd == main)
                window = &w;
    }
    if (!window)
        return Fail(1, L"no such window");
    const ControlInfo* bar = FindControl(*window, kCommandBarId, L"");
    const ControlInfo* title = nullptr;
    for (const ControlInfo& control : window->controls)
        if (bar && control.parent == bar->hwnd && SameText(control.text, args.words[0]))
            title = &control;
    if (!title)
        return Fail(1, L"no menu \"" + args.words[0] + L"\" in the command bar of \"" + window->title + L"\"");
    std::wstring program, message;
    std::vector<ProgramMenu> menus;
    if (!ReadProgramMenus(window->hwnd, program, menus, message))
        return Fail(1, message);
    const std::vector<MenuItemInfo>* items = nullptr;
    for (const ProgramMenu& menu : menus)
        for (const MenuItemInfo& item : menu.items)
            if (!items && !item.separator && SameText(item.text, args.words[0]))
                items = &item.items;
    if (!items)
        return Fail(1, L"no menu \"" + args.words[0] + L"\" in " + program);
    std::vector<WPARAM> keys;
    for (size_t level = 1; level < args.words.size(); ++level) {
        int steps = -1;
        const MenuItemInfo* chosen = nullptr;
        for (const MenuItemInfo& item : *items) {
            if (item.separator)
                continue;
            ++steps;
            if (SameText(item.text, args.words[level])) {
                chosen = &item;
                break;
            }
        }
        if (!chosen)
            return Fail(1, L"no item \"" + args.words[level] + L"\" in the menu");
        keys.push_back(VK_HOME);
        keys.insert(keys.end(), static_cast<size_t>(steps), VK_DOWN);
        const bool last = level + 1 == args.words.size();
        if (!last && chosen->items.empty())
            return Fail(1, L"\"" + args.words[level] + L"\" opens no menu");
        keys.push_back(last ? VK_RETURN : VK_RIGHT);
        items = &chosen->items;
    }
    ::PostMessageW(title->hwnd, BM_CLICK, 0, 0);
    if (keys.empty())
        return 0;
    PopupSearch search{window->pid, nullptr};
    for (const DWORD start = ::GetTickCount(); !search.found && ::GetTickCount() - start < kMenuOpenMs; ::Sleep(20))
        ::EnumWindows(FindPopup, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        return Fail(1, L"the menu \"" + args.words[0] + L"\" did not open");
    // The menu's own loop reads every key of its thread, whichever of its windows it is for.
    for (WPARAM key : keys) {
        ::PostMessageW(search.found, WM_KEYDOWN, key, 1);
        ::PostMessageW(search.found, WM_KEYUP, key, 0xC0000001);
    }
    return 0;
}

// The work area as a program of the device gets it, which the device's system gives a program
// with its first window, and the title the navigation bar shows (its window text).
int WorkArea(const Args&)
{
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (probe)
        ::DestroyWindow(probe);
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    wchar_t title[256] = L"";
    if (HWND bar = ::FindWindowW(L"DeviceNavBar", nullptr))
        ::GetWindowTextW(bar, title, 256);
    Write(L"{\"screen\":[" + std::to_wstring(::GetSystemMetrics(SM_CXSCREEN)) + L","
          + std::to_wstring(::GetSystemMetrics(SM_CYSCREEN)) + L"],\"work\":" + Json(area) + L",\"bar\":"
          + Json(std::wstring(title)) + L"}\n");
    return 0;
}

// The tabs of the tab control a command means (--id, else the window's first visible one).
struct TargetTabs {
    std::wstring windowTitle;
    ControlInfo control{};
    std::vector<TabInfo> tabs;
    int selected = -1;
};

// 0 with the tabs read, else the exit code after the failure is reported.
int ReadTargetTabs(const Args& args, TargetTabs& target)
{
    int id = kAnyId;
    if (!IdOption(args, id))
        return Fail(2, L"--id wants a number");
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* window = TargetWindow(windows, args, false);
    if (!window)
        return Fail(1, L"no such window " + WindowName(args));
    const ControlInfo* control = FindControl(*window, id, L"", WC_TABCONTROLW);
    if (!control)
        return Fail(1, L"no tab control in \"" + window->title + L"\"");
    target.windowTitle = window->title;
    target.control = *control;
    return ReadTabs(control->hwnd, target.tabs, target.selected) ? 0 : Fail(1, L"the tab control does not answer");
}

int Tabs(const Args& args)
{
    TargetTabs target;
    if (const int failed = ReadTargetTabs(args, target))
        return failed;
    std::wstring out = L"{\"hwnd\":" + Handle(target.control.hwnd) + L",\"id\":" + std::to_wstring(target.control.id)
        + L",\"selected\":" + std::to_wstring(target.selected) + L",\"tabs\":[";
    for (size_t i = 0; i < target.tabs.size(); ++i)
        out += (i ? L",{" : L"{") + std::wstring(L"\"text\":") + Json(target.tabs[i].text) + L",\"rect\":"
            + Json(target.tabs[i].rect) + L"}";
    Write(out + L"]}\n");
    return 0;
}

// Taps a tab at its centre, as the pen does; the tab control then tells its parent, which
// shows the page.
int TapTab(const Args& args)
{
    int index = -1;
    if (Has(args, L"index") ? !args.words.empty() || !ParseInt(Option(args, L"index"), index) : args.words.size() != 1)
        return Fail(2, L"tab wants TEXT or --index I");
    TargetTabs target;
    if (const int failed = ReadTargetTabs(args, target))
        return failed;
    for (size_t i = 0; index < 0 && i < target.tabs.size(); ++i)
        if (SameText(target.tabs[i].text, args.words[0]))
            index = static_cast<int>(i);
    if (index < 0 || index >= static_cast<int>(target.tabs.size()))
        return Fail(1, L"no such tab in \"" + target.windowTitle + L"\"");
    PostPress(target.control.hwnd, Centre(target.tabs[static_cast<size_t>(index)].rect));
    return 0;
}

int Items(const Args& args)
{
    int id = kAnyId;
    if (!IdOption(args, id) || id == kAnyId)
        return Fail(2, L"items wants --id N");
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* target = TargetWindow(windows, args, false);
    if (!target)
        return Fail(1, L"no such window " + WindowName(args));
    const ControlInfo* control = FindControl(*target, id, L"");
    if (!control)
        return Fail(1, L"no control " + std::to_wstring(id) + L" in \"" + target->title + L"\"");
    const bool tree = IsClass(control->className, WC_TREEVIEWW);
    std::vector<ItemInfo> items;
    if (!tree && !IsClass(control->className, WC_LISTVIEWW))
        return Fail(1, L"control " + std::to_wstring(id) + L" is no list view or tree view");
    if (!(tree ? ReadTreeItems(control->hwnd, items) : ReadListItems(control->hwnd, items)))
        return Fail(1, L"the control does not answer");
    std::wstring out = L"{\"hwnd\":" + Handle(control->hwnd) + L",\"kind\":" + Json(tree ? L"tree" : L"list")
        + L",\"items\":[";
    for (size_t i = 0; i < items.size(); ++i) {
        const ItemInfo& item = items[i];
        out += i ? L",\n{\"texts\":[" : L"\n{\"texts\":[";
        for (size_t t = 0; t < item.texts.size(); ++t)
            out += (t ? L"," : L"") + Json(item.texts[t]);
        // A check box is the state image: 1 unchecked, 2 checked; none without one.
        out += L"],\"level\":" + std::to_wstring(item.level) + L",\"state_image\":" + std::to_wstring(item.stateImage)
            + L",\"checked\":" + (item.stateImage ? Bool(item.stateImage == 2) : L"null") + L",\"selected\":"
            + Bool(item.selected) + L",\"expanded\":" + Bool(item.expanded) + L",\"rect\":" + Json(item.rect) + L"}";
    }
    Write(out + L"]}\n");
    return 0;
}

// RDW_UPDATENOW sends WM_PAINT to each of the windows that need it and waits for each.
int Paint(const Args& args)
{
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* target = TargetWindow(windows, args, false);
    if (!target)
        return Fail(1, L"no such window " + WindowName(args));
    ::RedrawWindow(target->hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 0;
}

int Run(const std::vector<std::wstring>& args)
{
    if (args.size() < 2)
        return Fail(2, L"usage: devctl list | tap | type | set-text | pick | answer | command | menus | menu | tabs | "
                       L"tab | items | paint | workarea | save-keys | load-volatile");
    const std::wstring& command = args[1];
    Args parsed;
    if (!ParseArgs(args, 2, parsed))
        return Fail(2, L"an option lacks its value");
    static const std::map<std::wstring, int (*)(const Args&)> commands = {
        {L"tap", Tap},         {L"type", Type}, {L"set-text", SetText}, {L"pick", Pick}, {L"answer", Answer}, {L"command", Command},
        {L"menus", Menus},     {L"tabs", Tabs}, {L"tab", TapTab},       {L"items", Items},   {L"paint", Paint},
        {L"menu", Menu},       {L"workarea", WorkArea}};
    if (command == L"list")
        return List();
    const auto found = commands.find(command);
    if (found != commands.end())
        return found->second(parsed);
    std::wstring message;
    if (command == L"save-keys" && parsed.words.size() >= 2) {
        const std::vector<std::wstring> keys(parsed.words.begin() + 1, parsed.words.end());
        return SaveKeys(parsed.words[0], keys, message) ? 0 : Fail(1, message);
    }
    if (command == L"load-volatile" && parsed.words.size() == 1)
        return LoadKeysVolatile(parsed.words[0], message) ? 0 : Fail(1, message);
    return Fail(2, L"unknown command or wrong arguments: " + command);
}

// A driver polls the device many times a second; one process serving its commands spares it a
// Wine process start for each. Ends when its input does.
int Serve()
{
    // Binary: a Ctrl-Z byte is text, not the end of the input.
    _setmode(_fileno(stdin), _O_BINARY);
    std::string line;
    for (int c = std::getchar(); c != EOF; c = std::getchar()) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        std::vector<std::wstring> words{L"devctl"};
        for (size_t start = 0;;) {
            const size_t end = line.find('\x1f', start);
            words.push_back(Widen(line.substr(start, end - start), CP_UTF8));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        line.clear();
        const int code = Run(words);
        Write(L"\x1e" + std::to_wstring(code) + L"\n");
    }
    return 0;
}

}  // namespace

int main()
{
    const std::vector<std::wstring> words = CommandLineWords();
    if (words.size() == 2 && words[1] == L"serve")
        return Serve();
    return Run(words);
}

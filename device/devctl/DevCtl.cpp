// devctl: drives the simulated device as a user would, from inside the device's session.
// Run by the device host (dorix-device); prints JSON or a one-line error.
//
//   devctl list                                  the visible top-level windows, boxes marked
//   devctl tap [--window W] --id N | --text T    presses a control
//   devctl tap --point X,Y                       taps the screen at a point
//   devctl type [--window W] [--id N] TEXT       types into an edit box (the first one by default)
//   devctl answer [--window W] BUTTON            presses a message box's button: ok, cancel, yes,
//                                                no, abort, retry, ignore, default or an id
//   devctl save-keys FILE KEY...                 writes registry keys' values to FILE
//   devctl load-volatile FILE                    creates FILE's keys volatile with their values
//
// Exit code 0 on success, 1 when the window, control or button is not there, 2 for a usage error.
#include <windows.h>
#include <cstdio>
#include <cwctype>
#include <map>
#include <string>
#include <vector>
#include "VolatileKeys.h"
#include "common/DeviceText.h"
#include "WindowInfo.h"

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

int List()
{
    std::wstring out = L"[";
    const std::vector<WindowInfo> windows = ListWindows();
    for (size_t i = 0; i < windows.size(); ++i) {
        const WindowInfo& w = windows[i];
        out += i ? L",\n {" : L"\n {";
        out += L"\"hwnd\":" + Handle(w.hwnd) + L",\"pid\":" + std::to_wstring(w.pid) + L",\"class\":"
            + Json(w.className) + L",\"title\":" + Json(w.title) + L",\"style\":" + std::to_wstring(w.style)
            + L",\"exstyle\":" + std::to_wstring(w.exStyle) + L",\"rect\":" + Json(w.rect)
            + L",\"box\":" + (w.isBox ? L"true" : L"false");
        if (w.isBox)
            out += L",\"text\":" + Json(w.boxText) + L",\"box_style\":" + std::to_wstring(w.boxStyle);
        out += L",\"controls\":[";
        for (size_t j = 0; j < w.controls.size(); ++j) {
            const ControlInfo& c = w.controls[j];
            out += (j ? L",{" : L"{") + std::wstring(L"\"id\":") + std::to_wstring(c.id) + L",\"class\":"
                + Json(c.className) + L",\"text\":" + Json(c.text) + L",\"style\":" + std::to_wstring(c.style)
                + L",\"rect\":" + Json(c.rect) + L"}";
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

bool IsButton(const std::wstring& className)
{
    return ::CompareStringOrdinal(className.c_str(), -1, L"Button", -1, TRUE) == CSTR_EQUAL;
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

int Tap(const Args& args)
{
    const auto point = args.options.find(L"point");
    if (point != args.options.end()) {
        const size_t comma = point->second.find(L',');
        POINT p{};
        int x = 0, y = 0;
        if (comma == std::wstring::npos || !ParseInt(point->second.substr(0, comma), x)
            || !ParseInt(point->second.substr(comma + 1), y))
            return Fail(2, L"--point wants X,Y");
        p = {x, y};
        HWND hwnd = ::WindowFromPoint(p);
        if (!hwnd)
            return Fail(1, L"no window at " + point->second);
        POINT client = p;
        ::ScreenToClient(hwnd, &client);
        if (HWND child = ::ChildWindowFromPointEx(hwnd, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT))
            hwnd = child;
        PostPress(hwnd, p);
        return 0;
    }
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* target = FindWindowInfo(windows, Option(args, L"window"), false);
    if (!target)
        return Fail(1, L"no such window");
    int id = 0;
    const auto idOption = args.options.find(L"id");
    const auto textOption = args.options.find(L"text");
    if (idOption != args.options.end() ? !ParseInt(idOption->second, id) : textOption == args.options.end())
        return Fail(2, L"tap wants --id N, --text T or --point X,Y");
    const ControlInfo* control =
        FindControl(*target, id, textOption == args.options.end() ? L"" : textOption->second);
    if (!control)
        return Fail(1, L"no such control in \"" + target->title + L"\"");
    if (IsButton(control->className)) {
        ::PostMessageW(control->hwnd, BM_CLICK, 0, 0);
    } else {
        const POINT centre{(control->rect.left + control->rect.right) / 2,
                           (control->rect.top + control->rect.bottom) / 2};
        PostPress(control->hwnd, centre);
    }
    return 0;
}

int Type(const Args& args)
{
    if (args.words.size() != 1)
        return Fail(2, L"type wants one TEXT");
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* target = FindWindowInfo(windows, Option(args, L"window"), false);
    if (!target)
        return Fail(1, L"no such window");
    const ControlInfo* edit = nullptr;
    const auto idOption = args.options.find(L"id");
    if (idOption != args.options.end()) {
        int id = 0;
        if (!ParseInt(idOption->second, id))
            return Fail(2, L"--id wants a number");
        edit = FindControl(*target, id, L"");
    } else {
        for (const ControlInfo& control : target->controls)
            if (::CompareStringOrdinal(control.className.c_str(), -1, L"Edit", -1, TRUE) == CSTR_EQUAL) {
                edit = &control;
                break;
            }
    }
    if (!edit)
        return Fail(1, L"no edit box in \"" + target->title + L"\"");
    for (wchar_t c : args.words[0])
        ::PostMessageW(edit->hwnd, WM_CHAR, c, 1);
    return 0;
}

int Answer(const Args& args)
{
    if (args.words.size() != 1)
        return Fail(2, L"answer wants one BUTTON");
    const std::vector<WindowInfo> windows = ListWindows();
    const WindowInfo* box = FindWindowInfo(windows, Option(args, L"window"), true);
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
    const ControlInfo* button = FindControl(*box, id, L"");
    if (!button || !(button->style & WS_VISIBLE))
        return Fail(1, L"the box has no button " + args.words[0]);
    ::PostMessageW(box->hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button->hwnd));
    return 0;
}

int Run(const std::vector<std::wstring>& args)
{
    if (args.size() < 2)
        return Fail(2, L"usage: devctl list | tap | type | answer | save-keys | load-volatile");
    const std::wstring& command = args[1];
    Args parsed;
    if (!ParseArgs(args, 2, parsed))
        return Fail(2, L"an option lacks its value");
    std::wstring message;
    if (command == L"list")
        return List();
    if (command == L"tap")
        return Tap(parsed);
    if (command == L"type")
        return Type(parsed);
    if (command == L"answer")
        return Answer(parsed);
    if (command == L"save-keys" && parsed.words.size() >= 2) {
        const std::vector<std::wstring> keys(parsed.words.begin() + 1, parsed.words.end());
        return SaveKeys(parsed.words[0], keys, message) ? 0 : Fail(1, message);
    }
    if (command == L"load-volatile" && parsed.words.size() == 1)
        return LoadKeysVolatile(parsed.words[0], message) ? 0 : Fail(1, message);
    return Fail(2, L"unknown command or wrong arguments: " + command);
}

}  // namespace

int main()
{
    return Run(CommandLineWords());
}

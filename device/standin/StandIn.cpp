// The device's own small program, which the device runs in Dorix's place when Dorix is not
// built and which the device's tests run as the device's shell: shows the screen size the
// device booted with, writes a video mode's driver settings with code of its own (not
// Dorix's) and asks for the soft reset as a device's program does: KernelIoControl of the
// device's coredll.dll with the HAL's reboot code.
//
//   standin.exe [MODE [rotation=TEXT] [angle=N]] [ask] [sheet]
//     MODE          QVGA.0 .. QVGA.3, VGA.0 .. VGA.3: write that mode's settings, then reset
//     rotation=TEXT write TEXT as the panel's "Rotation" instead of "dword:<orientation>"
//     angle=N       write "Angle" N instead of the mode's angle
//     ask           show the question box "Switch now?" (OK/Cancel, question icon, Cancel
//                   the default) at start and show the answer
//     sheet         open the stand-in sheet (StandInSheet.h) at start and show how it ended
// Without words it shows its window; its mode buttons do what MODE does, it has an edit box
// to type into, and its menu command 400 opens the sheet. While the file
// "\Temp\standin-plan.txt" exists, each start appends the screen size to
// "\Temp\standin-screens.txt", takes the plan's first line as MODE and resets again; an
// empty plan is deleted. Exit code 3 when the reset was refused, 4 when writing failed.
#include <windows.h>
#include <cwctype>
#include <sstream>
#include <string>
#include <vector>
#include "StandInSheet.h"
#include "common/DeviceFile.h"

namespace {

constexpr int kScreenText = 100;
constexpr int kStatusText = 101;
constexpr int kNoteEdit = 102;
constexpr int kFirstModeButton = 200;
constexpr int kAskButton = 300;
constexpr int kSheetCommand = 400;
const wchar_t kTable[] = L"\\Windows\\atihwtbl0.txt";
const wchar_t kPlan[] = L"\\Temp\\standin-plan.txt";
const wchar_t kScreens[] = L"\\Temp\\standin-screens.txt";

struct Mode {
    bool vga = false;
    int orientation = 0;
};

bool ParseMode(std::wstring text, Mode& mode)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    const size_t dot = text.find(L'.');
    if (dot == std::wstring::npos || dot + 2 != text.size() || text[dot + 1] < L'0' || text[dot + 1] > L'3')
        return false;
    const std::wstring resolution = text.substr(0, dot);
    if (resolution != L"QVGA" && resolution != L"VGA")
        return false;
    mode.vga = resolution == L"VGA";
    mode.orientation = text[dot + 1] - L'0';
    return true;
}

std::wstring ModeName(const Mode& mode)
{
    return std::wstring(mode.vga ? L"VGA." : L"QVGA.") + std::to_wstring(mode.orientation);
}

std::wstring ScreenSize()
{
    return std::to_wstring(::GetSystemMetrics(SM_CXSCREEN)) + L"x" + std::to_wstring(::GetSystemMetrics(SM_CYSCREEN));
}

bool WriteDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD value)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok =
        ::RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
    ::RegCloseKey(h);
    return ok;
}

// Replaces the "Rotation" value of the panel section in the table file's text: the line's
// characters after "=" up to a "//" comment or the line end.
bool WriteRotation(const std::string& section, const std::string& value)
{
    std::string bytes;
    if (!ReadWholeFile(kTable, bytes))
        return false;
    std::string text = "\n" + bytes;
    const size_t header = text.find("\n[" + section + "]");
    if (header == std::string::npos)
        return false;
    const size_t next = text.find("\n[", header + 1);
    size_t key = text.find("\n\"Rotation\"=", header);
    if (key == std::string::npos || key > next)
        key = text.find("\nRotation=", header);
    if (key == std::string::npos || key > next)
        return false;
    const size_t start = text.find('=', key) + 1;
    const size_t end = text.find_first_of("\r\n/", start);
    text.replace(start, (end == std::string::npos ? text.size() : end) - start, value);
    return WriteWholeFile(kTable, text.substr(1));
}

bool WriteMode(const Mode& mode, const std::string& rotation, long angle)
{
    const std::string value = rotation.empty() ? "dword:" + std::to_string(mode.orientation) : rotation;
    const DWORD modeAngle = static_cast<DWORD>(((4 - mode.orientation) * 90) % 360);
    return WriteRotation(mode.vga ? "LCD1" : "LCD0", value)
        && WriteDword(HKEY_CURRENT_USER, L"ControlPanel\\DisplayMode", L"VGAMode", mode.vga ? 1 : 0)
        && WriteDword(HKEY_LOCAL_MACHINE, L"System\\GDI\\Rotation", L"Angle",
                      angle < 0 ? modeAngle : static_cast<DWORD>(angle));
}

// The soft reset through the device's coredll (found in the device's "\Windows"); does not
// return when the device accepts it.
void RequestSoftReset()
{
    constexpr DWORD kIoctlHalReboot = 0x0101003C;
    using KernelIoControl = BOOL WINAPI(DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD);
    HMODULE coredll = ::LoadLibraryW(L"coredll.dll");
    auto* control = coredll ? reinterpret_cast<KernelIoControl*>(
                                  reinterpret_cast<void*>(::GetProcAddress(coredll, "KernelIoControl")))
                            : nullptr;
    DWORD returned = 0;
    if (control)
        control(kIoctlHalReboot, nullptr, 0, nullptr, 0, &returned);
}

// 0 never: an accepted reset does not return.
int SwitchTo(const Mode& mode, const std::string& rotation, long angle)
{
    if (!WriteMode(mode, rotation, angle))
        return 4;
    RequestSoftReset();
    return 3;
}

// The plan's first line, removed from the plan; empty when there is no plan left.
std::wstring NextPlannedMode()
{
    std::string plan;
    if (!ReadWholeFile(kPlan, plan))
        return std::wstring();
    std::vector<std::string> lines;
    std::istringstream in(plan);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    const std::wstring size = ScreenSize();
    WriteWholeFile(kScreens, std::string(size.begin(), size.end()) + "\n", true);
    if (lines.empty()) {
        ::DeleteFileW(kPlan);
        return std::wstring();
    }
    std::string rest;
    for (size_t i = 1; i < lines.size(); ++i)
        rest += lines[i] + "\n";
    WriteWholeFile(kPlan, rest);
    return std::wstring(lines[0].begin(), lines[0].end());
}

void OpenSheet(HWND window)
{
    const INT_PTR result = ShowStandInSheet(window);
    ::SetDlgItemTextW(window, kStatusText, (L"Sheet " + std::to_wstring(result)).c_str());
}

void Ask(HWND window)
{
    const int answer = ::MessageBoxW(window, L"Switch now?", L"Dorix stand-in",
                                     MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
    ::SetDlgItemTextW(window, kStatusText, (L"Answer " + std::to_wstring(answer)).c_str());
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const HINSTANCE instance = reinterpret_cast<LPCREATESTRUCTW>(lParam)->hInstance;
        auto add = [&](const wchar_t* cls, const std::wstring& text, DWORD style, int x, int y, int cx, int id) {
            ::CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, cx, 22, window,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        };
        add(L"STATIC", L"Screen " + ScreenSize(), 0, 4, 4, 200, kScreenText);
        add(L"STATIC", L"", 0, 4, 28, 200, kStatusText);
        for (int i = 0; i < 8; ++i)
            add(L"BUTTON", ModeName({i >= 4, i % 4}), BS_PUSHBUTTON, 4 + (i / 4) * 76, 54 + (i % 4) * 26, 72,
                kFirstModeButton + i);
        add(L"BUTTON", L"Ask", BS_PUSHBUTTON, 156, 54, 60, kAskButton);
        add(L"EDIT", L"", WS_BORDER | ES_AUTOHSCROLL, 4, 162, 150, kNoteEdit);
        return 0;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= kFirstModeButton && id < kFirstModeButton + 8) {
            const int code = SwitchTo({id >= kFirstModeButton + 4, (id - kFirstModeButton) % 4}, "", -1);
            ::SetDlgItemTextW(window, kStatusText, code == 3 ? L"Reset refused" : L"Cannot write the settings");
        } else if (id == kAskButton) {
            Ask(window);
        } else if (id == kSheetCommand) {
            OpenSheet(window);
        }
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

int RunWindow(HINSTANCE instance, bool ask, bool sheet)
{
    WNDCLASSW cls{};
    cls.lpfnWndProc = WindowProc;
    cls.hInstance = instance;
    cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = L"DorixStandIn";
    ::RegisterClassW(&cls);
    HWND window = ::CreateWindowExW(0, cls.lpszClassName, L"Dorix stand-in", WS_OVERLAPPEDWINDOW, 0, 0,
                                    ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), nullptr,
                                    nullptr, instance, nullptr);
    if (!window)
        return 1;
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    if (ask)
        Ask(window);
    if (sheet)
        OpenSheet(window);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int)
{
    std::wistringstream words(commandLine);
    Mode mode;
    bool hasMode = false;
    bool ask = false;
    bool sheet = false;
    std::string rotation;
    long angle = -1;
    for (std::wstring word; words >> word;) {
        if (ParseMode(word, mode))
            hasMode = true;
        else if (word == L"ask")
            ask = true;
        else if (word == L"sheet")
            sheet = true;
        else if (word.rfind(L"rotation=", 0) == 0)
            rotation.assign(word.begin() + 9, word.end());
        else if (word.rfind(L"angle=", 0) == 0)
            angle = std::wcstol(word.c_str() + 6, nullptr, 10);
        else
            return 2;
    }
    if (!hasMode && !ask && !sheet && ParseMode(NextPlannedMode(), mode))
        hasMode = true;
    if (hasMode)
        return SwitchTo(mode, rotation, angle);
    return RunWindow(instance, ask, sheet);
}

// The device's cabinet installer "\Windows\wceload.exe", as far as Today themes need it. It
// takes the installer's command line,
//   wceload.exe [/safe] [/noui] [/nouninstall] [/silent] [/delete N] "file"
// and applies a simulated theme file: plain text, one setting a line, blank lines and lines
// starting with ';' or '#' ignored, names without regard to case:
//   Color<N>=<number>     N 0..49: HKLM\Software\Microsoft\Color "<N>" (REG_DWORD)
//   Wallpaper=<name>      HKCU\Software\Microsoft\Today "Wall" (REG_SZ)
//   Sleep=<milliseconds>  work this long before applying (at most 600000), so that a caller's
//                         time-out can be tested
// Numbers are decimal or 0x-hex. The whole file is checked before anything is written. With
// "/delete 1" the file is deleted after a successful installation, as the real installer
// deletes a cabinet by default; "/delete 0" keeps it.
// Exit code: 0 installed, 1 bad command line, 2 file unreadable, 3 file malformed.
#include <windows.h>
#include <cwctype>
#include <sstream>
#include <map>
#include <string>
#include <vector>
#include "common/DeviceFile.h"
#include "common/DeviceText.h"

namespace {

constexpr DWORD kMaxSleepMs = 600000;
constexpr int kColourCount = 50;

struct Theme {
    std::map<int, DWORD> colours;
    bool hasWallpaper = false;
    std::wstring wallpaper;
    DWORD sleepMs = 0;
};

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool ParseNumber(const std::string& text, unsigned long long limit, DWORD& value)
{
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return false;
    try {
        size_t used = 0;
        const unsigned long long n = std::stoull(text, &used, 0);
        if (used != text.size() || n > limit)
            return false;
        value = static_cast<DWORD>(n);
        return true;
    } catch (...) {
        return false;
    }
}

// 0 when the theme was read, else the exit code.
int ReadTheme(const std::wstring& path, Theme& theme)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return 2;
    std::istringstream stream(bytes);
    std::string line;
    while (std::getline(stream, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            return 3;
        const std::string name = Lower(Trim(line.substr(0, equals)));
        const std::string value = Trim(line.substr(equals + 1));
        DWORD number = 0;
        if (name.rfind("color", 0) == 0 && name.size() > 5) {
            DWORD index = 0;
            const std::string digits = name.substr(5);
            if (digits.find_first_not_of("0123456789") != std::string::npos
                || !ParseNumber(digits, kColourCount - 1, index) || !ParseNumber(value, 0xFFFFFFFFull, number))
                return 3;
            theme.colours[static_cast<int>(index)] = number;
        } else if (name == "wallpaper") {
            theme.hasWallpaper = true;
            theme.wallpaper = Widen(value, CP_ACP);
        } else if (name == "sleep") {
            if (!ParseNumber(value, kMaxSleepMs, number))
                return 3;
            theme.sleepMs = number;
        } else {
            return 3;
        }
    }
    return 0;
}

void Apply(const Theme& theme)
{
    HKEY key = nullptr;
    if (!theme.colours.empty()
        && ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Color", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                             &key, nullptr)
            == ERROR_SUCCESS) {
        for (const auto& [index, colour] : theme.colours) {
            const std::wstring name = std::to_wstring(index);
            ::RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&colour), sizeof colour);
        }
        ::RegCloseKey(key);
    }
    if (theme.hasWallpaper
        && ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Today", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                             &key, nullptr)
            == ERROR_SUCCESS) {
        ::RegSetValueExW(key, L"Wall", 0, REG_SZ, reinterpret_cast<const BYTE*>(theme.wallpaper.c_str()),
                         static_cast<DWORD>((theme.wallpaper.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(key);
    }
}

int Run(const std::vector<std::wstring>& args)
{
    std::wstring file;
    bool deleteAfter = true;
    // The device passes the command line without the program's name; a desktop caller may
    // put it first.
    size_t first = 0;
    if (!args.empty() && args[0].size() >= 11
        && ::CompareStringOrdinal(args[0].c_str() + args[0].size() - 11, -1, L"wceload.exe", -1, TRUE) == CSTR_EQUAL)
        first = 1;
    for (size_t i = first; i < args.size(); ++i) {
        std::wstring arg = args[i];
        for (wchar_t& c : arg)
            c = static_cast<wchar_t>(std::towlower(c));
        if (arg == L"/safe" || arg == L"/noui" || arg == L"/nouninstall" || arg == L"/silent")
            continue;
        if (arg == L"/delete" && i + 1 < args.size() && (args[i + 1] == L"0" || args[i + 1] == L"1")) {
            deleteAfter = args[++i] == L"1";
            continue;
        }
        if (arg.empty() || arg[0] == L'/' || !file.empty())
            return 1;
        file = args[i];
    }
    if (file.empty())
        return 1;
    Theme theme;
    if (const int result = ReadTheme(file, theme))
        return result;
    ::Sleep(theme.sleepMs);
    Apply(theme);
    if (deleteAfter)
        ::DeleteFileW(file.c_str());
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    return Run(CommandLineWords());
}

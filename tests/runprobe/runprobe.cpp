// runprobe [arguments]
//
// Writes its arguments, as they stand on its command line after the program, to
// "\runprobe.txt" on the device (UTF-16, replacing the file), then signals the event
// "DorixRunProbe" if a test created it, and ends with exit code 0.
#include <windows.h>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    std::wstring line = ::GetCommandLineW();
    size_t end = line[0] == L'"' ? line.find(L'"', 1) + 1 : line.find(L' ');
    if (end == std::wstring::npos || end > line.size())
        end = line.size();
    if (end < line.size() && line[end] == L' ')
        ++end;
    const std::wstring arguments = line.substr(end);
    HANDLE file = ::CreateFileW(L"\\runprobe.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    DWORD written = 0;
    ::WriteFile(file, arguments.data(), static_cast<DWORD>(arguments.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
    if (HANDLE ran = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"DorixRunProbe")) {
        ::SetEvent(ran);
        ::CloseHandle(ran);
    }
    return 0;
}

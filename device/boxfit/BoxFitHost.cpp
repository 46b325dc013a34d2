// boxfit.exe: installs the device's message-box layout (BoxFit.h) for every program of the
// device's session and stays until the device shuts down. Prints "ready" once it is in place;
// exit code 1 when boxfit.dll beside it cannot be loaded or hooked in.
#include <windows.h>
#include <cstdio>
#include <string>

int main()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dll(path, length);
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"boxfit.dll";
    HMODULE module = ::LoadLibraryW(dll.c_str());
    const auto procedure =
        module ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(module, "FitMessageBoxes"))) : nullptr;
    HHOOK hook = procedure ? ::SetWindowsHookExW(WH_CBT, procedure, module, 0) : nullptr;
    if (!hook) {
        std::fputs("boxfit: the hook could not be installed\n", stdout);
        return 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    ::UnhookWindowsHookEx(hook);
    return 0;
}

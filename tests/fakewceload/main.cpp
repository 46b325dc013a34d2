// Stand-in for "\Windows\wceload.exe" in tests: takes the theme path (the last argument),
// records the command line it was given in "\Temp\wceload.log" and, when the theme file's
// text is "hang", stays running longer than any caller waits.
#include <windows.h>
#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    FILE* log = _wfopen(L"\\Temp\\wceload.log", L"a");
    if (log) {
        fwprintf(log, L"%ls\n", ::GetCommandLineW());
        fclose(log);
    }
    char text[16] = "";
    if (FILE* theme = _wfopen(argv[argc - 1], L"rb")) {
        fread(text, 1, sizeof text - 1, theme);
        fclose(theme);
    }
    if (std::string(text).rfind("hang", 0) == 0)
        ::Sleep(60000);
    return 0;
}

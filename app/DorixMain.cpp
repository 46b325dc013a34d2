// The program's entry: the one application object and its run.
#include "app/DorixApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t* commandLine, int showCommand)
{
    CDorixApp app;
    return app.WinMain(instance, commandLine, showCommand);
}

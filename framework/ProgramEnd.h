#pragma once
// The one seam through which the program ends itself at once after a reported failure.
// Production terminates the own process with the exit code and never returns; a test installs
// a handler that records the code, and the caller then returns normally.
#include <windows.h>
#include <functional>

using EndProgramHandler = std::function<void(UINT exitCode)>;

void EndProgram(UINT exitCode);

// Installs a handler in place of the termination; an empty handler restores it. Returns the
// handler that was installed before.
EndProgramHandler SetEndProgramHandler(EndProgramHandler handler);

#include "framework/ProgramEnd.h"
#include <utility>

namespace {
EndProgramHandler& Handler()
{
    static EndProgramHandler handler;
    return handler;
}
}  // namespace

void EndProgram(UINT exitCode)
{
    if (Handler()) {
        Handler()(exitCode);
        return;
    }
    ::TerminateProcess(::GetCurrentProcess(), exitCode);
}

EndProgramHandler SetEndProgramHandler(EndProgramHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

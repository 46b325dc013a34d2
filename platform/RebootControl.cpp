#include "platform/RebootControl.h"
#include <windows.h>
#include <utility>

namespace platform {

namespace {

SoftResetHandler& Handler()
{
    static SoftResetHandler handler;
    return handler;
}

}  // namespace

bool RequestSoftReset()
{
    if (Handler())
        return Handler()();
    DWORD returned = 0;
    return ::KernelIoControl(IOCTL_HAL_REBOOT, nullptr, 0, nullptr, 0, &returned) != FALSE;
}

SoftResetHandler SetSoftResetHandler(SoftResetHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

}  // namespace platform

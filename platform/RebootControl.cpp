#include "platform/RebootControl.h"
#include <windows.h>

namespace platform {

bool RequestSoftReset()
{
    DWORD returned = 0;
    return ::KernelIoControl(IOCTL_HAL_REBOOT, nullptr, 0, nullptr, 0, &returned) != FALSE;
}

}  // namespace platform

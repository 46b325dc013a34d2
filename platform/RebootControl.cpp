#include "platform/RebootControl.h"

namespace platform {

bool RequestSoftReset()
{
    // Without a device host nothing can restart the device.
    return false;
}

}  // namespace platform

#pragma once
// The device's HAL reboot control (KernelIoControl with IOCTL_HAL_REBOOT, no data): a soft
// reset that restarts the device at once without shutting programs down.
#include <functional>

namespace platform {

// Asks for the soft reset. Does not return when the system carries it out; returns false, with
// the system's reason as the last error, when it refused.
bool RequestSoftReset();

// The seam for tests: a handler in place of the system's reset, which answers whether the
// reset was carried out (a test records it and returns true, and the caller goes on as if the
// device had restarted); an empty handler restores the system's. Returns the handler that was
// installed before.
using SoftResetHandler = std::function<bool()>;
SoftResetHandler SetSoftResetHandler(SoftResetHandler handler);

}  // namespace platform

#pragma once
// The device's HAL reboot control (KernelIoControl with IOCTL_HAL_REBOOT, no data): a soft
// reset that restarts the device at once without shutting programs down.

namespace platform {

// Asks for the soft reset. Does not return when the system carries it out; returns false, with
// the system's reason as the last error, when it refused.
bool RequestSoftReset();

}  // namespace platform

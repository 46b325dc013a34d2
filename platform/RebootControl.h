#pragma once
// The device's HAL reboot control (I/O control 0x0101003C, no data): a soft reset that
// restarts the device at once without shutting programs down.

namespace platform {

// Asks for the soft reset. Does not return when the request was accepted; returns false when
// it was refused (for example when no device host is there to carry it out).
bool RequestSoftReset();

}  // namespace platform

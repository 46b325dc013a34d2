#pragma once
// The device's HAL reboot control (I/O control 0x0101003C, no data): a soft reset that
// restarts the device at once without shutting programs down.
//
// On the simulated device the device host carries the reset out. It names a request file in
// the environment variable DORIX_DEVICE_RESET of every program it starts; a request is that
// file, created new. The host accepts it by renaming the file away and then ends every
// program of the device, so an accepted request never returns. A request nobody accepts is
// withdrawn (the file deleted again) after kResetAcceptWaitMs.

namespace platform {

// How long a request waits for the host before it is withdrawn.
constexpr unsigned long kResetAcceptWaitMs = 3000;

// Asks for the soft reset. Does not return when the request was accepted; returns false when
// it was refused (no device host, a request already pending, or none accepted in time).
bool RequestSoftReset();

}  // namespace platform

#pragma once
// Installation and uninstallation of Dorix on the device. Installation overwrites two device
// utilities with the stub program (carried as resource "EXE" 166), blanks the touch-panel
// tool's start-up entry, keeps a copy of the factory touch calibration, adds start-up
// shortcuts for the Wi-Fi and Bluetooth monitors and records the program's version under
// "Software\Dorix\Uninstall". Uninstallation puts the device's own settings back.
#include <cstdint>
#include <string>

// 1.4.0: major in bits 16..23, minor in bits 8..15, patch in bits 0..7.
constexpr uint32_t PROGRAM_VERSION = 0x00010400;

// Size of the stub program. Uninstallation recognises a stub by this size alone, so the
// generated stub must keep it.
constexpr uint32_t kStubSize = 3072;

// Runs Install when the recorded version is missing or lower than PROGRAM_VERSION.
void InstallIfOutdated();

// Neither reports success. Install raises an `error` naming "\Windows\stub.tmp" when the
// stub cannot be written there; nothing after that step has been done then.
void Install();
void Uninstall();

// Writes the stub over path (creating it if missing) through "\Windows\stub.tmp". Raises an
// `error` naming the temporary file when that cannot be written. Whether the copy over path
// succeeds is not checked: a device file in use stays as it is.
void ReplaceWithStub(const std::wstring& path);
// Deletes path when it is a file of exactly the stub's size.
void DeleteIfStub(const std::wstring& path);

// A shortcut named name in the Startup folder that starts target, if target exists.
void CreateStartupShortcut(const std::wstring& target, const std::wstring& name);
// Deletes the shortcut named name from the Startup folder, if it is there.
void DeleteStartupShortcut(const std::wstring& name);

// Whether the device's OEM text is exactly "TOSHIBA e800" or "TOSHIBA e805".
bool IsSupportedDevice();
// A supported device with Toshiba's Bluetooth stack set up.
bool HasToshibaBluetooth();

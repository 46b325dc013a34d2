#pragma once
// The program's own settings key, HKEY_CURRENT_USER "Software\Dorix", reached through one
// program-wide accessor, and the names of what it holds for more than one module.
#include "state/Registry.h"

// The settings key's path with its trailing backslash, as the settings registry's base path.
extern const wchar_t kSettingsPath[];

// Switches directly under the key, each a DWORD where nonzero is on and missing is off; users
// and older installations set them by hand, so the names never change.
// The Today theme and the touch calibration follow the video mode.
inline constexpr wchar_t kSwitchTodayThemeSetting[] = L"SwitchTodayTheme";
inline constexpr wchar_t kSwitchCalibrationSetting[] = L"SwitchCalibrationData";
// No question before the soft reset, no warning before the left-handed VGA mode, none on
// opening the clock page.
inline constexpr wchar_t kNoResetWarningSetting[] = L"NoResetWarning";
inline constexpr wchar_t kNoVga3WarningSetting[] = L"NoVGA3Warning";
inline constexpr wchar_t kNoClockWarningSetting[] = L"NoClockWarning";
// A switch from the window only ends the program instead of resetting the device.
inline constexpr wchar_t kNoResetSetting[] = L"NoReset";
// The keep-mode safety net: how many seconds its question waits; 0 or missing is off.
inline constexpr wchar_t kKeepModeSecondsSetting[] = L"KeepModeSeconds";

// The sub-keys of the lists that follow the video mode: registry entries and files, each
// items "0" .. "Count - 1"; and the profiles' checked flags, one DWORD per profile name.
inline constexpr wchar_t kRegistryListKey[] = L"Registry";
inline constexpr wchar_t kFileListKey[] = L"Files";
inline constexpr wchar_t kProfilesKey[] = L"Profiles";

// The settings registry: root HKEY_CURRENT_USER, base path kSettingsPath. It holds no key
// handles between calls, so it is safe to keep for the whole run.
CRegistry& GetSettingsRegistry();

#pragma once
// The program's own settings key, HKEY_CURRENT_USER "Software\Dorix", reached through one
// program-wide accessor.
#include "state/Registry.h"

// The settings key's path with its trailing backslash, as the settings registry's base path.
extern const wchar_t kSettingsPath[];

// The settings registry: root HKEY_CURRENT_USER, base path kSettingsPath. It holds no key
// handles between calls, so it is safe to keep for the whole run.
CRegistry& GetSettingsRegistry();

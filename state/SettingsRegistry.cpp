#include "state/SettingsRegistry.h"

const wchar_t kSettingsPath[] = L"Software\\Dorix\\";

CRegistry& GetSettingsRegistry()
{
    static CRegistry registry(CRegistry::kCurrentUser, kSettingsPath);
    return registry;
}

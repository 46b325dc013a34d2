#include "app/Installation.h"
#include <windows.h>
#include "core/BootRecord.h"
#include "core/DisplayDriver.h"
#include "core/KeepMode.h"
#include "core/ProgramRun.h"
#include "core/TouchCalibration.h"
#include "framework/Error.h"
#include "framework/File.h"
#include "platform/OemInfo.h"
#include "platform/Shortcut.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "state/Registry.h"
#include "state/SettingsRegistry.h"

namespace {

const wchar_t kStubTemp[] = L"\\Windows\\stub.tmp";
const wchar_t kDetect[] = L"\\Windows\\detect.exe";
const wchar_t kVqSelect[] = L"\\Windows\\vq-select.exe";
const wchar_t kKeylock[] = L"\\Windows\\keylock.exe";
const wchar_t kWiFiMonitor[] = L"\\Windows\\WTM.exe";
const wchar_t kBluetoothMonitor[] = L"\\Windows\\BPU.exe";
const wchar_t kWiFiShortcut[] = L"WiFi-Monitor.lnk";
const wchar_t kBluetoothShortcut[] = L"BT-Monitor.lnk";

// Settings sub-key and values of the installation record; the calibration's copy is named as
// the touch driver's value.
const wchar_t kUninstallKey[] = L"Uninstall";
const wchar_t kVersionValue[] = L"Version";
const wchar_t kSavedCalibrationValue[] = L"CalibrationData";
const wchar_t kInstalledValue[] = L"Installed";

// The start-up entry that runs the device's tapadm.exe; installation blanks it.
const wchar_t kLaunchValue[] = L"Launch90";
const wchar_t kLaunchFactory[] = L"tapadm.exe";

CRegistry InitKey()
{
    return CRegistry(CRegistry::kLocalMachine, L"init");
}

CRegistry TouchKey()
{
    return CRegistry(CRegistry::kLocalMachine, kTouchKey);
}

}  // namespace

void InstallIfOutdated()
{
    const auto installed = static_cast<uint32_t>(GetSettingsRegistry().ReadDWord(kUninstallKey, kVersionValue, 0));
    if (installed < PROGRAM_VERSION)
        Install();
}

void Install()
{
    ReplaceWithStub(kDetect);
    ReplaceWithStub(kVqSelect);
    DeleteIfStub(kKeylock);
    InitKey().WriteString(nullptr, kLaunchValue, L" ");

    CRegistry& settings = GetSettingsRegistry();
    // The first installation's copy is the factory calibration; later ones must not replace
    // it with a calibration that Dorix has rotated since.
    if (settings.ReadString(kUninstallKey, kSavedCalibrationValue, L"").empty())
        settings.WriteString(kUninstallKey, kSavedCalibrationValue,
                             TouchKey().ReadString(nullptr, kTouchCalibrationValue, L"").c_str());

    CreateStartupShortcut(kWiFiMonitor, kWiFiShortcut);
    if (HasToshibaBluetooth())
        CreateStartupShortcut(kBluetoothMonitor, kBluetoothShortcut);
    settings.DeleteValue(nullptr, kInstalledValue);
    settings.WriteDWord(kUninstallKey, kVersionValue, static_cast<int32_t>(PROGRAM_VERSION));
}

void Uninstall()
{
    // First: a net left up would start the program again at the next boot, and with it a
    // new installation.
    CKeepMode::Remove();
    DeleteIfStub(kDetect);
    DeleteIfStub(kVqSelect);
    DeleteIfStub(kKeylock);
    InitKey().WriteString(nullptr, kLaunchValue, kLaunchFactory);

    CRegistry& settings = GetSettingsRegistry();
    const std::wstring calibration = settings.ReadString(kUninstallKey, kSavedCalibrationValue, L"");
    if (!calibration.empty())
        TouchKey().WriteString(nullptr, kTouchCalibrationValue, calibration.c_str());

    CRegistry(CRegistry::kLocalMachine, kRotationKey).WriteDWord(nullptr, kAngleValue, 0);
    DeleteStartupShortcut(kWiFiShortcut);
    DeleteStartupShortcut(kBluetoothShortcut);
    // Nothing of the program may start at the next boot.
    CProgramRun::Remove();
    // A read-only table would survive the delete.
    ::SetFileAttributesW(kDriverTableFile, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(kDriverTableFile);
    CRegistry(CRegistry::kCurrentUser, kDisplayModeKey).WriteDWord(nullptr, kVgaModeValue, 0);
    settings.DeleteValue(kUninstallKey, kVersionValue);
}

void ReplaceWithStub(const std::wstring& path)
{
    try {
        ExtractResource(::GetModuleHandleW(nullptr), IDR_STUB_EXE, L"EXE", kStubTemp);
    } catch (const error&) {
        // A temporary file written only in part must not be copied by a later installation.
        ::DeleteFileW(kStubTemp);
        throw;
    }
    ::CopyFileW(kStubTemp, path.c_str(), FALSE);
    ::DeleteFileW(kStubTemp);
}

void DeleteIfStub(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    if (!FindFile(path, data))
        return;
    // The whole size counts: a file of 4 GiB plus the stub's size is no stub.
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && data.nFileSizeHigh == 0
        && data.nFileSizeLow == kStubSize)
        ::DeleteFileW(path.c_str());
}

void CreateStartupShortcut(const std::wstring& target, const std::wstring& name)
{
    if (Exists(target))
        platform::CreateShortcut(GetStartupShortcutPath(name.c_str()), target);
}

void DeleteStartupShortcut(const std::wstring& name)
{
    platform::DeleteShortcut(GetStartupShortcutPath(name.c_str()));
}

bool IsSupportedDevice()
{
    const std::wstring oem = platform::GetOemInfo();
    return oem == L"TOSHIBA e800" || oem == L"TOSHIBA e805";
}

bool HasToshibaBluetooth()
{
    return IsSupportedDevice()
           && CRegistry(CRegistry::kLocalMachine, L"Software\\TOSHIBA\\Bluetooth").KeyExists(L"BTSETUP");
}

#pragma once
// Tests of the mode switch and what it carries: every test starts as a new run of the program
// (a fresh mode switch that has not read the current mode yet) on a fresh device.
#include <ostream>
#include <string>
#include <vector>
#include "SessionFixture.h"
#include "app/DorixApp.h"
#include "core/DisplayDriver.h"
#include "core/TouchCalibration.h"
#include "framework/ProgramEnd.h"
#include "platform/RebootControl.h"
#include "state/IniFile.h"
#include "state/Registry.h"
#include "state/VideoMode.h"

// A video mode in assertions: "VGA.3" is VGA landscape left-handed.
inline void PrintTo(const CVideoMode& mode, std::ostream* os)
{
    *os << (mode.m_bVGA ? "VGA." : "QVGA.") << mode.m_nOrientation;
}

using ModeTest = SessionTest;

inline const wchar_t kDriverTable[] = L"\\Windows\\atihwtbl0.txt";

// The device as the driver left it after booting into mode: the factory table with the
// mode's rotation, and "VGAMode".
inline void BootInto(bool vga, int orientation)
{
    InstallSampleDriverTable();
    CIniFile table(kDriverTable);
    table.WriteString(vga ? L"LCD1" : L"LCD0", L"Rotation", CVideoMode::FormatDwordText(orientation));
    table.Close();
    CRegistry(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode").WriteDWord(nullptr, L"VGAMode", vga ? 1 : 0);
}

inline std::wstring LiveCalibration();
inline void SetLiveCalibration(const std::wstring& text);

// A device running QVGA portrait as it booted, with its touch calibration, and the program's
// end recorded in m_exitCodes and its soft resets counted in m_resets, rather than carried out.
class RunningDeviceTest : public ModeTest {
protected:
    void SetUp() override
    {
        ModeTest::SetUp();
        BootInto(false, 0);
        SetLiveCalibration(L"100,200 300,400 500,600 700,800 900,1000 ");
        m_previousEnd = SetEndProgramHandler([this](UINT code) { m_exitCodes.push_back(code); });
        m_previousReset = platform::SetSoftResetHandler([this] {
            ++m_resets;
            return true;
        });
    }
    void TearDown() override
    {
        platform::SetSoftResetHandler(std::move(m_previousReset));
        SetEndProgramHandler(std::move(m_previousEnd));
        ModeTest::TearDown();
    }
    // Carries out the command line as start-up does; true when start-up must end without a
    // window.
    bool Process(const std::wstring& text) { return CDorixApp::ProcessCommandLine(text, Session()); }
    // The mode the driver's settings name, as "VGA.3".
    static std::string DriverMode() { return ::testing::PrintToString(CDisplayDriver::ReadCurrentMode()); }

    std::vector<UINT> m_exitCodes;
    int m_resets = 0;

private:
    EndProgramHandler m_previousEnd;
    platform::SoftResetHandler m_previousReset;
};

inline std::vector<BYTE> SzBytes(const std::wstring& text)
{
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(p, p + (text.size() + 1) * sizeof(wchar_t));
}

inline std::vector<BYTE> DWordBytes(uint32_t value)
{
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

// A value as "type:hex bytes", for assertions that print what they got.
inline std::string Raw(DWORD type, const std::vector<BYTE>& data)
{
    static const char digits[] = "0123456789abcdef";
    std::string text = std::to_string(type) + ":";
    for (BYTE b : data) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}
inline std::string RawSz(const std::wstring& text) { return Raw(REG_SZ, SzBytes(text)); }
inline std::string RawDWord(uint32_t value) { return Raw(REG_DWORD, DWordBytes(value)); }

// The stored value; "<missing>" when absent.
inline std::string RawValue(uint32_t root, const std::wstring& key, const std::wstring& name)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    return GetRawValue(root, key, name, type, data) ? Raw(type, data) : "<missing>";
}

inline std::wstring LiveCalibration()
{
    return CRegistry(CRegistry::kLocalMachine, kTouchKey).ReadString(nullptr, L"CalibrationData", L"<missing>");
}

inline void SetLiveCalibration(const std::wstring& text)
{
    SetRawValue(CRegistry::kLocalMachine, kTouchKey, L"CalibrationData", REG_SZ, SzBytes(text));
}

// The message of the error f raises; "<no error>" when it raises none.
template <typename F>
std::wstring ErrorOf(F f)
{
    try {
        f();
    } catch (const error& e) {
        return e.GetMessage();
    }
    return L"<no error>";
}

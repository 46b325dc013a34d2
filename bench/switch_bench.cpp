// A whole mode switch carrying 100 per-mode registry entries, 20 per-mode files of 1 MB and
// three checked profiles, against the registry copies and file copies the switch is made of,
// done directly with the Win32 API in the same run. What the switch adds beyond those copies
// (loading the settings, parsing the profiles, the undo records, the temporary names of the
// file replacement, the metrics and the driver's settings) is what the ratio shows.
//
// The bench works on the build's device drive and registry, as the tests do: it sets up a
// device in QVGA portrait, puts its profiles beside its own program file, and removes all of
// it again at the end.
#include <windows.h>
#include <array>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchHelpers.h"
#include "core/DisplayDriver.h"
#include "core/ModeSwitch.h"
#include "core/TouchCalibration.h"
#include "framework/Error.h"
#include "framework/File.h"
#include "framework/Handle.h"
#include "state/FileHelpers.h"
#include "state/Registry.h"
#include "state/Settings.h"
#include "state/SettingsRegistry.h"
#include "state/VideoMode.h"
#include "tests/ZipWriter.h"

namespace {

using bench::HostPath;
using bench::Median;
using bench::Seconds;

// A round varies by about a tenth, mostly with what the disk is still writing out; 25 rounds
// rather than 15 narrow the ratios' spread from run to run.
const int kRounds = 25;
const int kRegEntries = 100;
const int kFiles = 20;
const size_t kFileSize = 1u << 20;
const int kProfileWrites = 10;  // of each kind, numbers and texts
const int kProfileSwaps = 5;

const wchar_t kFolder[] = L"\\SwitchBench";
const wchar_t kLiveKey[] = L"Software\\DorixBench";
const wchar_t kLiveKeyPath[] = L"HKLM\\Software\\DorixBench";
const wchar_t kWriteKey[] = L"Software\\DorixBench\\Written";
const wchar_t kSwapKey[] = L"Software\\DorixBench\\Swapped";
const wchar_t kSwapKeyPath[] = L"HKLM\\Software\\DorixBench\\Swapped";
const wchar_t kSavedKey[] = L"Software\\Dorix\\Saved Registry Data";
const wchar_t kDriverTable[] = L"\\Windows\\atihwtbl0.txt";

const wchar_t* const kProfileNames[] = {L"DorixBench Registry.dorix", L"DorixBench Files.dorix",
                                        L"DorixBench Packed.zdorix"};
const wchar_t kPlainPayload[] = L"DorixBench payload";

struct Mode {
    bool vga;
    const char* resolution;  // section and file suffix
    const wchar_t* group;    // storage name of the portrait orientation
};
const Mode kModes[] = {{false, "QVGA", L"QVGA.portrait"}, {true, "VGA", L"VGA.portrait"}};

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::wstring Numbered(const wchar_t* prefix, int n)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%ls%03d", prefix, n);
    return text;
}

std::string Pattern(size_t size, unsigned seed)
{
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>(((i + seed) * 2654435761u) >> 13);
    return data;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    CFile file(path, CFile::modeWrite | CFile::modeCreate);
    file.Write(bytes.data(), bytes.size());
}

std::string ReadBytes(const std::wstring& path)
{
    CFile file(path, CFile::modeRead);
    const std::vector<char> bytes = file.ReadAll();
    return std::string(bytes.begin(), bytes.end());
}

CRegKey CreateKey(HKEY root, const wchar_t* path, DWORD options = 0)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, path, 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw error(L"cannot create registry key " + std::wstring(path));
    return CRegKey(key);
}

void SetValue(HKEY root, const wchar_t* path, const std::wstring& name, DWORD type, const void* data, DWORD size)
{
    const CRegKey key = CreateKey(root, path);
    ::RegSetValueExW(key.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

void SetText(HKEY root, const wchar_t* path, const std::wstring& name, const std::wstring& text)
{
    SetValue(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// A value of one of the three kinds a per-mode entry meets, different for every mode.
void SetEntryValue(HKEY root, const wchar_t* path, const std::wstring& name, int n, int mode)
{
    switch (n % 3) {
    case 0: {
        const DWORD number = static_cast<DWORD>(n * 10 + mode);
        SetValue(root, path, name, REG_DWORD, &number, sizeof number);
        break;
    }
    case 1:
        SetText(root, path, name, L"text of entry " + std::to_wstring(n) + L" in mode " + std::to_wstring(mode));
        break;
    default: {
        const std::string bytes = Pattern(64, static_cast<unsigned>(n * 3 + mode));
        SetValue(root, path, name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
        break;
    }
    }
}

std::wstring SavedName(const wchar_t* keyPath, const std::wstring& value, const wchar_t* group)
{
    return std::wstring(keyPath) + L"\\" + value + L"\\" + group;
}

std::wstring LiveFile(int n)
{
    return std::wstring(kFolder) + L"\\" + Numbered(L"f", n) + L".dat";
}

// Where the direct copies go: beside the live files, but their own. How a file was written
// decides what overwriting or deleting it costs, so neither side may meet the other's files.
std::wstring DirectFile(const std::wstring& live)
{
    return live.substr(0, live.size() - 4) + L".direct.dat";
}

// The profiles: numbers and texts written, values swapped and a file copied from beside the
// profile, and a file taken from an archive.
std::string RegistryProfile()
{
    std::string text = "[Profile]\r\nVersion=1.4.0\r\nAuthor=Bench\r\n";
    for (const Mode& mode : kModes) {
        text += "[" + std::string(mode.resolution) + "]\r\n";
        for (int n = 0; n < kProfileWrites; ++n) {
            text += std::to_string(2 * n) + "=RegWriteDWord,HKLM\\Software\\DorixBench\\Written,d" + std::to_string(n) +
                    "," + std::to_string(n + (mode.vga ? 100 : 0)) + "\r\n";
            text += std::to_string(2 * n + 1) + "=RegWriteString,HKLM\\Software\\DorixBench\\Written,s" +
                    std::to_string(n) + "," + mode.resolution + " text " + std::to_string(n) + "\r\n";
        }
    }
    return text;
}

std::string FilesProfile()
{
    std::string text = "[Profile]\r\nVersion=1.4.0\r\nAuthor=Bench\r\n";
    for (const Mode& mode : kModes) {
        text += "[" + std::string(mode.resolution) + "]\r\n";
        int key = 0;
        for (int n = 0; n < kProfileSwaps; ++n)
            text += std::to_string(key++) + "=RegSwap,HKLM\\Software\\DorixBench\\Swapped,w" + std::to_string(n) + "\r\n";
        text += std::to_string(key++) + "=CopyFile,DorixBench payload." + mode.resolution +
                ",\\SwitchBench\\plain.dat\r\n";
    }
    return text;
}

std::string PackedProfile()
{
    std::string text = "[Profile]\r\nVersion=1.4.0\r\nAuthor=Bench\r\n";
    for (const Mode& mode : kModes)
        text += "[" + std::string(mode.resolution) + "]\r\n0=CopyFile,payload\\" + mode.resolution +
                ".dat,\\SwitchBench\\packed.dat\r\n";
    return text;
}

// Seconds taken by the whole and by each step.
enum Step { kTotal, kLoad, kFileStep, kRegistryStep, kProfileStep, kRest, kSteps };
using Times = std::array<double, kSteps>;

class CBench {
public:
    CBench() : m_programFolder(GetProgramFolder()) {}
    ~CBench() { CleanUp(); }

    void SetUp()
    {
        CleanUp();
        // Every device has these; a fresh device drive may not have them yet.
        CreatePath(L"\\Windows");
        CreatePath(L"\\Temp");
        if (!::CreateDirectoryW(kFolder, nullptr))
            throw error(L"cannot create " + std::wstring(kFolder));

        // The device boots into QVGA portrait: the factory driver table, "VGAMode" 0 and a
        // calibration of five points.
        WriteBytes(kDriverTable, ReadBytes(HostPath(DORIX_SOURCE_DIR_W L"/device/images/e805/files/Windows/atihwtbl0.txt")));
        CRegistry(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode").WriteDWord(nullptr, L"VGAMode", 0);
        CreateKey(HKEY_LOCAL_MACHINE, kTouchKey, REG_OPTION_VOLATILE);
        SetText(HKEY_LOCAL_MACHINE, kTouchKey, L"CalibrationData", L"100,200 300,400 500,600 700,800 900,1000 ");

        CRegistry& settings = GetSettingsRegistry();
        for (int n = 0; n < kRegEntries; ++n) {
            const std::wstring name = Numbered(L"v", n);
            settings.WriteString(L"Registry", std::to_wstring(n).c_str(), (std::wstring(kLiveKeyPath) + L"," + name).c_str());
            SetEntryValue(HKEY_LOCAL_MACHINE, kLiveKey, name, n, 0);
            SetEntryValue(HKEY_CURRENT_USER, kSavedKey, SavedName(kLiveKeyPath, name, kModes[1].group), n, 1);
        }
        settings.WriteDWord(L"Registry", L"Count", kRegEntries);
        for (int n = 0; n < kProfileSwaps; ++n) {
            const std::wstring name = L"w" + std::to_wstring(n);
            SetEntryValue(HKEY_LOCAL_MACHINE, kSwapKey, name, n, 0);
            SetEntryValue(HKEY_CURRENT_USER, kSavedKey, SavedName(kSwapKeyPath, name, kModes[1].group), n, 1);
        }

        for (int n = 0; n < kFiles; ++n) {
            WriteBytes(LiveFile(n), Pattern(kFileSize, n * 2));
            WriteBytes(DirectFile(LiveFile(n)), Pattern(kFileSize, n * 2));
            for (int mode = 0; mode < 2; ++mode)
                WriteBytes(LiveFile(n) + L"." + Wide(kModes[mode].resolution), Pattern(kFileSize, n * 2 + mode));
            settings.WriteString(L"Files", std::to_wstring(n).c_str(), LiveFile(n).c_str());
        }
        settings.WriteDWord(L"Files", L"Count", kFiles);

        // The profiles' payloads: a plain copy of every archive entry too, the direct copies'
        // source.
        std::vector<ZipEntryDef> entries{{"profile.dorix", PackedProfile()}};
        for (int mode = 0; mode < 2; ++mode) {
            const std::string payload = Pattern(kFileSize, 1000 + mode);
            const std::wstring suffix = Wide(kModes[mode].resolution);
            WriteBytes(m_programFolder + kPlainPayload + L"." + suffix, Pattern(kFileSize, 2000 + mode));
            WriteBytes(PackedPayloadCopy(mode), payload);
            entries.push_back({"payload/" + std::string(kModes[mode].resolution) + ".dat", payload});
        }
        WriteBytes(m_programFolder + kProfileNames[0], RegistryProfile());
        WriteBytes(m_programFolder + kProfileNames[1], FilesProfile());
        WriteBytes(m_programFolder + kProfileNames[2], BuildZip(entries).bytes);
        for (const wchar_t* name : kProfileNames) {
            const std::wstring profile = name;
            settings.WriteDWord(L"Profiles", profile.substr(0, profile.rfind(L'.')).c_str(), 1);
        }
        // Both sides start from targets that exist, as live files do.
        for (const wchar_t* name : {L"\\plain.dat", L"\\packed.dat"}) {
            WriteBytes(std::wstring(kFolder) + name, "");
            WriteBytes(DirectFile(std::wstring(kFolder) + name), "");
        }
    }

    // One switch through the program, to the other mode than the last one.
    double Switch()
    {
        const CVideoMode target = NextSwitchTarget();
        const double seconds = Seconds([&] { m_modeSwitch.SwitchTo(target); });
        Verify();
        return seconds;
    }

    // The same switch step by step, each step timed: where the time goes.
    Times SwitchInSteps()
    {
        CVideoMode target = NextSwitchTarget();
        CModeSwitch& modeSwitch = m_modeSwitch;
        CSettings& settings = modeSwitch.GetSettings();
        Times times{};
        times[kTotal] = Seconds([&] {
            modeSwitch.GetUndoBuffer().RemoveAll();
            const CSwitchSession::CKeysOpen keys(modeSwitch);  // as SwitchTo holds the keys open
            const CVideoMode current = modeSwitch.ReadCurrentMode();
            times[kLoad] = Seconds([&] { settings.Load(); });
            times[kFileStep] = Seconds([&] {
                for (size_t i = 0; i < settings.m_fileEntries.GetSize(); ++i)
                    settings.m_fileEntries[i]->Switch(modeSwitch, current, target);
            });
            times[kRegistryStep] = Seconds([&] {
                settings.m_regEntries.ForEach([&](const CRegEntry& entry) { entry.Switch(modeSwitch, current, target); });
            });
            times[kProfileStep] = Seconds([&] {
                for (size_t i = 0; i < settings.m_profiles.GetSize(); ++i)
                    if (settings.m_profiles[i]->IsChecked())
                        settings.m_profiles[i]->Run(modeSwitch, current, target);
            });
            times[kRest] = Seconds([&] {
                CModeProp& metrics = modeSwitch.CreateModeProp(target);
                metrics.Load();
                metrics.ApplyToSystem(modeSwitch);
                target.LoadClocks();
                CDisplayDriver::WriteSettings(modeSwitch, target);
            });
        });
        Verify();
        return times;
    }

    // The same copies, done directly: each per-mode file's version over the live file, each
    // registry value put away and its other copy brought in, the profiles' writes, swaps and
    // file copies. Every key is opened once, the least the copies can cost.
    Times Direct()
    {
        const int from = m_directTarget;
        m_directTarget = 1 - m_directTarget;
        const int to = m_directTarget;
        const std::wstring suffix = L"." + Wide(kModes[to].resolution);
        Times times{};
        times[kTotal] = Seconds([&] {
            times[kFileStep] = Seconds([&] {
                for (int n = 0; n < kFiles; ++n)
                    CopyOrThrow(LiveFile(n) + suffix, DirectFile(LiveFile(n)));
            });
            times[kRegistryStep] = Seconds([&] {
                const CRegKey live = CreateKey(HKEY_LOCAL_MACHINE, kLiveKey);
                const CRegKey saved = CreateKey(HKEY_CURRENT_USER, kSavedKey);
                for (int n = 0; n < kRegEntries; ++n)
                    SwapDirectly(live.Get(), saved.Get(), kLiveKeyPath, Numbered(L"v", n), from, to);
            });
            times[kProfileStep] = Seconds([&] {
                const CRegKey written = CreateKey(HKEY_LOCAL_MACHINE, kWriteKey);
                for (int n = 0; n < kProfileWrites; ++n) {
                    const DWORD number = static_cast<DWORD>(n + (kModes[to].vga ? 100 : 0));
                    ::RegSetValueExW(written.Get(), (L"d" + std::to_wstring(n)).c_str(), 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&number), sizeof number);
                    const std::wstring text = Wide(kModes[to].resolution) + L" text " + std::to_wstring(n);
                    ::RegSetValueExW(written.Get(), (L"s" + std::to_wstring(n)).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
                }
                const CRegKey swapped = CreateKey(HKEY_LOCAL_MACHINE, kSwapKey);
                const CRegKey saved = CreateKey(HKEY_CURRENT_USER, kSavedKey);
                for (int n = 0; n < kProfileSwaps; ++n)
                    SwapDirectly(swapped.Get(), saved.Get(), kSwapKeyPath, L"w" + std::to_wstring(n), from, to);
                CopyOrThrow(m_programFolder + kPlainPayload + suffix, DirectFile(std::wstring(kFolder) + L"\\plain.dat"));
                CopyOrThrow(PackedPayloadCopy(to), DirectFile(std::wstring(kFolder) + L"\\packed.dat"));
            });
        });
        return times;
    }

    void CleanUp()
    {
        DeleteTree(kFolder);
        ::DeleteFileW(kDriverTable);
        for (const wchar_t* name : kProfileNames)
            ::DeleteFileW((m_programFolder + name).c_str());
        for (int mode = 0; mode < 2; ++mode)
            ::DeleteFileW((m_programFolder + kPlainPayload + L"." + Wide(kModes[mode].resolution)).c_str());
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kLiveKey);
        for (const wchar_t* key : {L"Software\\Dorix", L"ControlPanel"})
            ::RegDeleteTreeW(HKEY_CURRENT_USER, key);
        for (const wchar_t* key : {L"System\\GDI", L"SYSTEM\\GWE"})
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
    }

private:
    static void CopyOrThrow(const std::wstring& source, const std::wstring& target)
    {
        if (!::CopyFileW(source.c_str(), target.c_str(), FALSE))
            throw error(L"CopyFileW to " + target + L" failed: " + LastErrorText());
    }

    CVideoMode NextSwitchTarget()
    {
        m_switchTarget = 1 - m_switchTarget;
        return CVideoMode(kModes[m_switchTarget].vga, 0);
    }

    // Whether the last switch did its work: the live files, the profiles' targets and
    // values hold the target's versions, and every swapped value has its undo record.
    void Verify() const
    {
        const Mode& mode = kModes[m_switchTarget];
        if (ReadBytes(LiveFile(kFiles - 1)) != Pattern(kFileSize, (kFiles - 1) * 2 + m_switchTarget))
            throw error(L"the live file does not hold the target's version");
        if (ReadBytes(std::wstring(kFolder) + L"\\packed.dat") != Pattern(kFileSize, 1000 + m_switchTarget))
            throw error(L"the packed profile's file was not copied");
        const int32_t written = CRegistry(CRegistry::kLocalMachine, kWriteKey).ReadDWord(nullptr, L"d3", -1);
        if (written != 3 + (mode.vga ? 100 : 0))
            throw error(L"the registry profile did not run");
        if (m_modeSwitch.GetUndoBuffer().GetSize() != static_cast<size_t>(kRegEntries + kProfileSwaps))
            throw error(L"the switch did not record every registry value");
    }

    std::wstring PackedPayloadCopy(int mode) const
    {
        return std::wstring(kFolder) + L"\\packed-source." + Wide(kModes[mode].resolution);
    }

    // The live value put away as from's copy, to's copy brought in: a read and a write each.
    static void SwapDirectly(HKEY live, HKEY saved, const wchar_t* keyPath, const std::wstring& name, int from, int to)
    {
        BYTE data[512];
        DWORD type = 0, size = sizeof data;
        if (::RegQueryValueExW(live, name.c_str(), nullptr, &type, data, &size) == ERROR_SUCCESS)
            ::RegSetValueExW(saved, SavedName(keyPath, name, kModes[from].group).c_str(), 0, type, data, size);
        size = sizeof data;
        if (::RegQueryValueExW(saved, SavedName(keyPath, name, kModes[to].group).c_str(), nullptr, &type, data, &size)
            == ERROR_SUCCESS)
            ::RegSetValueExW(live, name.c_str(), 0, type, data, size);
    }

    std::wstring m_programFolder;
    // The switch session of the program's switches.
    CModeSwitch m_modeSwitch;
    int m_switchTarget = 0;
    int m_directTarget = 0;
};

double Median(const std::vector<Times>& rounds, Step step)
{
    std::vector<double> values;
    for (const Times& times : rounds)
        values.push_back(times[step]);
    return Median(values);
}

void Print(const std::vector<double>& switched, const std::vector<Times>& steps, const std::vector<Times>& direct)
{
    const double directMedian = Median(direct, kTotal);
    const double switchMedian = Median(switched);
    std::printf("switch: %d registry entries, %d files of 1 MB, 3 profiles; %d rounds\n", kRegEntries, kFiles, kRounds);
    std::printf("direct Win32 copies median %8.1f ms\n", directMedian * 1000);
    std::printf("SwitchTo            median %8.1f ms\n", switchMedian * 1000);
    std::printf("ratio switch/direct        %8.2f (goal <= 1.50)\n", switchMedian / directMedian);
    std::printf("the same switch step by step, medians in ms (direct copies, ratio; goal <= 1.60 each):\n");
    const struct {
        Step step;
        const char* name;
        bool hasDirect;
    } rows[] = {{kLoad, "settings Load", false},    {kFileStep, "per-mode files", true},
                {kRegistryStep, "registry entries", true}, {kProfileStep, "profiles", true},
                {kRest, "metrics, clocks, driver", false}, {kTotal, "all steps", true}};
    for (const auto& row : rows) {
        const double ms = Median(steps, row.step) * 1000;
        if (row.hasDirect) {
            const double base = Median(direct, row.step) * 1000;
            std::printf("  %-24s %8.1f  (%6.1f, %5.2f)\n", row.name, ms, base, ms / base);
        } else {
            std::printf("  %-24s %8.1f\n", row.name, ms);
        }
    }
}

}  // namespace

int main()
{
    if (!bench::IsDeviceDriveCurrent())
        return 1;
    int status = 0;
    try {
        CBench bench;
        bench.SetUp();
        // One round of each outside the timing brings the files into the cache and the
        // registry keys into being.
        bench.Switch();
        bench.Direct();
        std::vector<double> switched;
        std::vector<Times> direct, steps;
        for (int round = 0; round < kRounds; ++round) {
            // Rotating the order keeps the file cache from favouring any side.
            for (int k = 0; k < 3; ++k) {
                const int side = (round + k) % 3;
                if (side == 0)
                    direct.push_back(bench.Direct());
                else if (side == 1)
                    switched.push_back(bench.Switch());
                else
                    steps.push_back(bench.SwitchInSteps());
            }
        }
        Print(switched, steps, direct);
    } catch (const error& e) {
        std::fprintf(stderr, "switch bench failed: %ls\n", e.GetMessage().c_str());
        status = 1;
    }
    return status;
}

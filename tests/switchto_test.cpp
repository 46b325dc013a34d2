#include <windows.h>
#include <new>
#include "ModeFixture.h"
#include "framework/File.h"
#include "state/FileHelpers.h"
#include "state/RegEntry.h"
#include "state/SettingsRegistry.h"

// A device short of memory: once armed, the next allocation of at least this many bytes fails.
static size_t g_failAllocationsFrom = 0;

void* operator new(size_t size)
{
    if (g_failAllocationsFrom != 0 && size >= g_failAllocationsFrom) {
        g_failAllocationsFrom = 0;
        throw std::bad_alloc();
    }
    if (void* p = ::HeapAlloc(::GetProcessHeap(), 0, size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    if (p)
        ::HeapFree(::GetProcessHeap(), 0, p);
}

void operator delete(void* p, size_t) noexcept
{
    operator delete(p);
}

namespace {

const wchar_t kLive[] = L"Software\\DorixTest";
const wchar_t kSaved[] = L"Software\\Dorix\\Saved Registry Data";

// A device in QVGA portrait with three per-mode registry entries whose VGA portrait copies
// exist, and a per-mode file with a VGA version.
class SwitchToTest : public ModeTest {
protected:
    void SetUp() override
    {
        ModeTest::SetUp();
        BootInto(false, 0);
        SetLiveCalibration(L"100,200 300,400 500,600 700,800 900,1000 ");
        CRegistry& settings = GetSettingsRegistry();
        settings.WriteDWord(L"Registry", L"Count", 3);
        const std::vector<BYTE> big(2000, 0x5A);
        const std::pair<const wchar_t*, std::pair<DWORD, std::vector<BYTE>>> values[] = {
            {L"a", {REG_DWORD, DWordBytes(1)}}, {L"b", {REG_SZ, SzBytes(L"live b")}}, {L"c", {REG_BINARY, big}}};
        for (int i = 0; i < 3; ++i) {
            const std::wstring name = values[i].first;
            settings.WriteString(L"Registry", std::to_wstring(i).c_str(), (L"HKLM\\Software\\DorixTest," + name).c_str());
            SetRawValue(CRegistry::kLocalMachine, kLive, name, values[i].second.first, values[i].second.second);
            m_before.push_back(RawValue(CRegistry::kLocalMachine, kLive, name));
            SetRawValue(CRegistry::kCurrentUser, kSaved, L"HKLM\\Software\\DorixTest\\" + name + L"\\VGA.portrait",
                         REG_DWORD, DWordBytes(100 + i));
        }
        WriteFileBytes(L"\\Windows\\app.dll", "qvga build");
        WriteFileBytes(L"\\Windows\\app.dll.VGA", "vga build");
        settings.WriteDWord(L"Files", L"Count", 1);
        settings.WriteString(L"Files", L"0", L"\\Windows\\app.dll");
    }
    void ExpectRegistryRestored()
    {
        const wchar_t* names[] = {L"a", L"b", L"c"};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(m_before[i], RawValue(CRegistry::kLocalMachine, kLive, names[i])) << "value " << i;
    }
    static std::wstring Table(const wchar_t* section, const wchar_t* key)
    {
        return CIniFile(kDriverTable).ReadString(section, key, L"<missing>");
    }
    std::vector<std::string> m_before;
};

TEST_F(SwitchToTest, SwitchCarriesTheDataAndWritesTheDriverSettings)
{
    Session().SwitchTo(CVideoMode(true, 0));
    EXPECT_EQ(RawDWord(100), RawValue(CRegistry::kLocalMachine, kLive, L"a"));
    EXPECT_EQ(RawDWord(102), RawValue(CRegistry::kLocalMachine, kLive, L"c"));
    EXPECT_EQ(m_before[1], RawValue(CRegistry::kCurrentUser, kSaved, L"HKLM\\Software\\DorixTest\\b\\QVGA.portrait"));
    EXPECT_EQ("vga build", ReadFileBytes(L"\\Windows\\app.dll"));
    EXPECT_EQ(L"dword:75", Table(L"ASIC1", L"FastClkFreq")) << "the VGA portrait default clock";
    EXPECT_EQ(L"dword:2", Table(L"LCD1", L"PixClkPostDivider"));
    EXPECT_EQ(1, CRegistry(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode").ReadDWord(nullptr, L"VGAMode", -1));
    EXPECT_EQ(3u, Session().GetUndoBuffer().GetSize());
}

TEST_F(SwitchToTest, SavedMetricsAndFontsOfTheTargetReachTheWindowManager)
{
    const std::wstring group = L"Software\\Dorix\\VGA.portrait";
    const std::pair<const wchar_t*, uint32_t> sizes[] = {
        {L"HorzScrollWidth", 31}, {L"HorzScrollHeight", 32}, {L"VertScrollWidth", 33}, {L"VertScrollHeight", 34}};
    for (const auto& [name, value] : sizes)
        SetRawValue(CRegistry::kCurrentUser, group, name, REG_DWORD, DWordBytes(value));
    SetRawValue(CRegistry::kCurrentUser, group + L"\\BarFnt", L"Nm", REG_SZ, SzBytes(L"Courier New"));
    SetRawValue(CRegistry::kCurrentUser, group + L"\\BarFnt", L"Ht", REG_DWORD, DWordBytes(0xFFFFFFF2));
    SetRawValue(CRegistry::kCurrentUser, group + L"\\PopFnt", L"Wt", REG_DWORD, DWordBytes(700));
    SetRawValue(CRegistry::kCurrentUser, group + L"\\PopFnt", L"It", REG_DWORD, DWordBytes(1));

    Session().SwitchTo(CVideoMode(true, 2));

    const wchar_t kGwe[] = L"SYSTEM\\GWE";
    const std::pair<const wchar_t*, uint32_t> system[] = {
        {L"cxHScr", 31}, {L"cyHScr", 32}, {L"cxVScr", 33}, {L"cyVScr", 34}};
    for (const auto& [name, value] : system)
        EXPECT_EQ(RawDWord(value), RawValue(CRegistry::kLocalMachine, kGwe, name)) << name;
    const std::wstring menu = std::wstring(kGwe) + L"\\Menu\\";
    EXPECT_EQ(RawSz(L"Courier New"), RawValue(CRegistry::kLocalMachine, menu + L"BarFnt", L"Nm"));
    EXPECT_EQ(RawDWord(0xFFFFFFF2), RawValue(CRegistry::kLocalMachine, menu + L"BarFnt", L"Ht"));
    EXPECT_EQ(RawDWord(400), RawValue(CRegistry::kLocalMachine, menu + L"BarFnt", L"Wt")) << "not saved: default";
    EXPECT_EQ(RawSz(L"Tahoma"), RawValue(CRegistry::kLocalMachine, menu + L"PopFnt", L"Nm"));
    EXPECT_EQ(RawDWord(700), RawValue(CRegistry::kLocalMachine, menu + L"PopFnt", L"Wt"));
    EXPECT_EQ(RawDWord(1), RawValue(CRegistry::kLocalMachine, menu + L"PopFnt", L"It"));
}

TEST_F(SwitchToTest, SameModeReappliesOnlyMetricsClocksAndDriverSettings)
{
    GetSettingsRegistry().WriteDWord(L"QVGA.portrait", L"ClkFreq.0", 90);
    Session().SwitchTo(CVideoMode(false, 2));  // upside down is the same class but not the same mode
    EXPECT_EQ(RawDWord(1), RawValue(CRegistry::kLocalMachine, kLive, L"a")) << "portrait copies are shared";
    NewRun();
    BootInto(false, 0);
    const std::string before = RawValue(CRegistry::kLocalMachine, kLive, L"a");
    WriteFileBytes(L"\\Windows\\app.dll", "qvga build");
    Session().SwitchTo(CVideoMode(false, 0));
    EXPECT_EQ(before, RawValue(CRegistry::kLocalMachine, kLive, L"a"));
    EXPECT_EQ("qvga build", ReadFileBytes(L"\\Windows\\app.dll")) << "files untouched";
    EXPECT_EQ(0u, Session().GetUndoBuffer().GetSize());
    EXPECT_EQ(L"dword:90", Table(L"ASIC0", L"FastClkFreq")) << "clocks written again";
    EXPECT_NE(-1, CRegistry(CRegistry::kLocalMachine, L"SYSTEM\\GWE").ReadDWord(nullptr, L"cxVScr", -1))
        << "metrics applied";
}

// Each later step fails in turn; the three swapped registry values come back byte for byte,
// the replaced file stays replaced, and the failure reaches the caller unchanged.
TEST_F(SwitchToTest, FailingProfileRollsBackTheRegistry)
{
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring profile = FolderOf(self) + L"switchto-failing.dorix";
    WriteFileBytes(profile, "[Profile]\r\nVersion=1.4.0\r\n[VGA]\r\n0=NoSuchCommand,x\r\n");
    GetSettingsRegistry().WriteDWord(L"Profiles", L"switchto-failing", 1);
    EXPECT_EQ(L"Unknown profile command: NoSuchCommand.", ErrorOf([&] { Session().SwitchTo(CVideoMode(true, 0)); }));
    ::DeleteFileW(profile.c_str());
    ExpectRegistryRestored();
    EXPECT_EQ("vga build", ReadFileBytes(L"\\Windows\\app.dll")) << "files have no undo";
    EXPECT_EQ(0, CRegistry(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode").ReadDWord(nullptr, L"VGAMode", -1));
}

// The third entry's value is too large for the memory left: its switch fails before it
// changed anything, the two entries switched before it are put back in the order they were
// recorded, and the file replaced before them stays.
TEST_F(SwitchToTest, ThirdRegistryEntryFailingRollsBackTheFirstTwo)
{
    SetRawValue(CRegistry::kLocalMachine, kLive, L"c", REG_BINARY, std::vector<BYTE>(200000, 0x3C));
    m_before[2] = RawValue(CRegistry::kLocalMachine, kLive, L"c");
    g_failAllocationsFrom = 150000;
    EXPECT_THROW(Session().SwitchTo(CVideoMode(true, 0)), std::bad_alloc);
    g_failAllocationsFrom = 0;
    ExpectRegistryRestored();
    EXPECT_EQ("vga build", ReadFileBytes(L"\\Windows\\app.dll")) << "files have no undo";
    const CUndoBuffer& undo = Session().GetUndoBuffer();
    ASSERT_EQ(2u, undo.GetSize());
    for (size_t i = 0; i < 2; ++i) {
        const auto* record = dynamic_cast<const CRegEntry::CUndo*>(undo.GetAt(i));
        ASSERT_NE(nullptr, record);
        EXPECT_TRUE(record->Restores(CRegistry::kLocalMachine, kLive, i == 0 ? L"a" : L"b")) << "record " << i;
    }
    EXPECT_EQ(0, CRegistry(CRegistry::kCurrentUser, L"ControlPanel\\DisplayMode").ReadDWord(nullptr, L"VGAMode", -1));
}

TEST_F(SwitchToTest, RollBackRemovesAValueTheSwitchBroughtIn)
{
    // A fourth entry whose live value does not exist yet, but whose VGA copy does.
    CRegistry& settings = GetSettingsRegistry();
    settings.WriteDWord(L"Registry", L"Count", 4);
    settings.WriteString(L"Registry", L"3", L"HKLM\\Software\\DorixTest,new");
    SetRawValue(CRegistry::kCurrentUser, kSaved, L"HKLM\\Software\\DorixTest\\new\\VGA.portrait", REG_DWORD,
                DWordBytes(7));
    SetRawValue(CRegistry::kCurrentUser, kSaved, L"HKLM\\Software\\DorixTest\\new\\QVGA.portrait", REG_DWORD,
                DWordBytes(9));
    settings.WriteDWord(L"VGA.portrait", L"ClkFreq.0", 0);
    EXPECT_EQ(L"Invalid clock settings", ErrorOf([&] { Session().SwitchTo(CVideoMode(true, 0)); }));
    EXPECT_EQ("<missing>", RawValue(CRegistry::kLocalMachine, kLive, L"new"));
    ExpectRegistryRestored();
}

TEST_F(SwitchToTest, InvalidStoredClockRollsBackTheRegistry)
{
    GetSettingsRegistry().WriteDWord(L"VGA.portrait", L"ClkFreq.0", 0);
    const std::string table = ReadFileBytes(kDriverTable);
    EXPECT_EQ(L"Invalid clock settings", ErrorOf([&] { Session().SwitchTo(CVideoMode(true, 0)); }));
    ExpectRegistryRestored();
    EXPECT_EQ(table, ReadFileBytes(kDriverTable));
}

TEST_F(SwitchToTest, MissingDriverKeyRollsBackTheRegistry)
{
    WriteFileBytes(kDriverTable, "[LCD0]\r\nRotation=dword:0\r\n[LCD1]\r\nRotation=dword:0\r\n");
    EXPECT_EQ(L"CIniFile::WriteString failed: Key not found",
              ErrorOf([&] { Session().SwitchTo(CVideoMode(true, 0)); }));
    ExpectRegistryRestored();
}

TEST_F(SwitchToTest, UnreadableCalibrationRollsBackTheRegistry)
{
    SetLiveCalibration(L"garbage");
    EXPECT_EQ(L"Cannot rotate touchscreen data", ErrorOf([&] { Session().SwitchTo(CVideoMode(true, 1)); }));
    ExpectRegistryRestored();
}

TEST_F(SwitchToTest, MissingDriverTableIsAFileErrorAndRollsBack)
{
    Session().GetCurrentMode();
    ::DeleteFileW(kDriverTable);
    EXPECT_THROW(Session().SwitchTo(CVideoMode(true, 0)), CFileException);
    EXPECT_EQ(0u, Session().GetUndoBuffer().GetSize()) << "nothing was swapped: the mode could not be read";
}

TEST_F(SwitchToTest, SecondSwitchStartsWithAnEmptyUndoBuffer)
{
    Session().SwitchTo(CVideoMode(true, 0));
    ASSERT_EQ(3u, Session().GetUndoBuffer().GetSize());
    Session().SwitchTo(CVideoMode(true, 0));  // the driver now names the first switch's target
    EXPECT_EQ(0u, Session().GetUndoBuffer().GetSize());
}

}  // namespace

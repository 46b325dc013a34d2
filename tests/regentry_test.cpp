#include "ModeFixture.h"
#include "state/RegEntry.h"

namespace {

class RegEntryTest : public ModeTest {
protected:
    CUndoBuffer& Undo() { return Session().GetUndoBuffer(); }
};

const wchar_t kSaved[] = L"Software\\Dorix\\Saved Registry Data";
const wchar_t kLiveKey[] = L"Software\\DorixTest\\A";
const wchar_t kEntryKey[] = L"HKLM\\Software\\DorixTest\\A";
const CVideoMode kQvga0(false, 0);
const CVideoMode kQvga2(false, 2);
const CVideoMode kVga1(true, 1);

std::string Live(const wchar_t* name)
{
    return RawValue(CRegistry::kLocalMachine, kLiveKey, name);
}

std::string Copy(const std::wstring& name)
{
    return RawValue(CRegistry::kCurrentUser, kSaved, name);
}

TEST_F(RegEntryTest, StoredFormAndCopyNames)
{
    CRegEntry entry;
    entry.FromString(L"HKLM\\Software\\A,B,C");
    EXPECT_EQ(L"HKLM\\Software\\A", entry.GetKeyPath());
    EXPECT_EQ(L"B,C", entry.GetValueName());
    EXPECT_EQ(L"HKLM\\Software\\A,B,C", entry.ToString());
    EXPECT_EQ(L"HKLM\\Software\\A\\B,C\\VGA.landscape", entry.GetSavedValueName(kVga1));
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\Software\\A\\B\\QVGA.portrait",
              CRegEntry(L"HKEY_LOCAL_MACHINE\\Software\\A", L"B").GetSavedValueName(kQvga2));

    entry.FromString(L"HKLM\\Software\\A");
    EXPECT_EQ(L"", entry.GetKeyPath());
    EXPECT_EQ(L"", entry.GetSavedValueName(kQvga0));
    EXPECT_EQ(CRegistry::kindMissing, entry.GetKind());
    entry.Switch(Session(), kQvga0, kVga1);
    EXPECT_EQ(0u, Undo().GetSize()) << "an unparsable entry never switches";
}

TEST_F(RegEntryTest, SwitchSavesTheLiveValueBringsInTheCopyAndIsUndoneOnce)
{
    SetRawValue(CRegistry::kLocalMachine, kLiveKey, L"B", REG_SZ, SzBytes(L"qvga"));
    SetRawValue(CRegistry::kCurrentUser, kSaved, L"HKLM\\Software\\DorixTest\\A\\B\\VGA.landscape", REG_DWORD,
                DWordBytes(640));
    CRegEntry(kEntryKey, L"B").Switch(Session(), kQvga0, kVga1);
    // The same value named again: trailing backslash, other letter case.
    CRegEntry(L"hklm\\software\\dorixtest\\a\\", L"b").Switch(Session(), kQvga0, kVga1);
    EXPECT_EQ(RawSz(L"qvga"), Copy(L"HKLM\\Software\\DorixTest\\A\\B\\QVGA.portrait"));
    EXPECT_EQ(RawDWord(640), Live(L"B"));
    EXPECT_EQ(1u, Undo().GetSize());

    CRegEntry(kEntryKey, L"C").Switch(Session(), kQvga0, kVga1);
    EXPECT_EQ(2u, Undo().GetSize()) << "another value";
    EXPECT_EQ("<missing>", Live(L"C")) << "neither live value nor copy";

    Undo().UndoAll(true);
    EXPECT_EQ(RawSz(L"qvga"), Live(L"B"));
}

TEST_F(RegEntryTest, TargetWithoutCopyKeepsTheLiveValue)
{
    SetRawValue(CRegistry::kLocalMachine, kLiveKey, L"B", REG_DWORD, DWordBytes(7));
    CRegEntry(kEntryKey, L"B").Switch(Session(), kQvga0, kVga1);
    EXPECT_EQ(RawDWord(7), Live(L"B"));
    EXPECT_EQ(RawDWord(7), Copy(L"HKLM\\Software\\DorixTest\\A\\B\\QVGA.portrait"));
}

TEST_F(RegEntryTest, UndoOfAValueBroughtInLeavesNoKeyTheSwitchCreated)
{
    // "A" exists without the value; "A\\New\\Deeper" does not exist at all.
    SetRawValue(CRegistry::kLocalMachine, kLiveKey, L"other", REG_DWORD, DWordBytes(1));
    ::RegDeleteKeyValueW(Root(CRegistry::kLocalMachine), kLiveKey, L"other");
    for (const wchar_t* key : {L"HKLM\\Software\\DorixTest\\A", L"HKLM\\Software\\DorixTest\\A\\New\\Deeper"}) {
        SetRawValue(CRegistry::kCurrentUser, kSaved, std::wstring(key) + L"\\V\\VGA.landscape", REG_DWORD,
                    DWordBytes(5));
        CRegEntry(key, L"V").Switch(Session(), kQvga0, kVga1);
    }
    CRegistry machine(CRegistry::kLocalMachine, L"Software\\DorixTest\\A");
    ASSERT_EQ(CRegistry::kindDWord, machine.GetValueKind(L"New\\Deeper", L"V")) << "the copy was brought in";

    Undo().UndoAll(true);
    EXPECT_EQ(CRegistry::kindMissing, machine.GetValueKind(nullptr, L"V"));
    EXPECT_TRUE(machine.KeyExists(nullptr)) << "the key that existed stays, though empty";
    EXPECT_FALSE(machine.KeyExists(L"New")) << "the keys the switch created go";
}

TEST_F(RegEntryTest, UndoRestoresExactBytesAndType)
{
    std::vector<BYTE> blob(3000);
    for (size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<BYTE>(i * 31 + 7);
    const std::vector<BYTE> multi = {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0};
    SetRawValue(CRegistry::kLocalMachine, kLiveKey, L"", REG_BINARY, blob);
    SetRawValue(CRegistry::kLocalMachine, kLiveKey, L"M", REG_MULTI_SZ, multi);
    SetRawValue(CRegistry::kCurrentUser, kSaved, L"HKLM\\Software\\DorixTest\\A\\\\VGA.landscape", REG_SZ,
                SzBytes(L"vga"));
    SetRawValue(CRegistry::kCurrentUser, kSaved, L"HKLM\\Software\\DorixTest\\A\\M\\VGA.landscape", REG_DWORD,
                DWordBytes(1));
    CRegEntry(kEntryKey, L"").Switch(Session(), kQvga0, kVga1);
    CRegEntry(kEntryKey, L"M").Switch(Session(), kQvga0, kVga1);
    EXPECT_EQ(RawSz(L"vga"), Live(L""));
    EXPECT_EQ(RawDWord(1), Live(L"M"));

    Undo().UndoAll(true);
    EXPECT_EQ(Raw(REG_BINARY, blob), Live(L""));
    EXPECT_EQ(Raw(REG_MULTI_SZ, multi), Live(L"M"));
}

TEST_F(RegEntryTest, ValueTextIsTheLiveValueForTheCurrentModeAndTheCopyOtherwise)
{
    BootInto(false, 0);
    SetRawValue(CRegistry::kLocalMachine, kLiveKey, L"N", REG_DWORD, DWordBytes(static_cast<uint32_t>(-3)));
    SetRawValue(CRegistry::kLocalMachine, kLiveKey, L"S", REG_SZ, SzBytes(L"text"));
    SetRawValue(CRegistry::kLocalMachine, kLiveKey, L"X", REG_BINARY, {1, 2});
    const CRegEntry number(kEntryKey, L"N");
    const CRegEntry text(kEntryKey, L"S");

    EXPECT_EQ(L"-3", number.GetValueText(kQvga0, kQvga0));
    EXPECT_EQ(L"0", number.GetValueText(kVga1, kQvga0)) << "no copy yet";
    number.SetValueText(kVga1, kQvga0, L"  -12xyz");
    EXPECT_EQ(RawDWord(static_cast<uint32_t>(-12)), Copy(L"HKLM\\Software\\DorixTest\\A\\N\\VGA.landscape"));
    number.SetValueText(kQvga0, kQvga0, L"42");
    EXPECT_EQ(RawDWord(42), Live(L"N"));

    EXPECT_EQ(L"", text.GetValueText(kQvga2, kQvga0)) << "not the current mode; no copy yet";
    text.SetValueText(kQvga2, kQvga0, L"upside");
    EXPECT_EQ(RawSz(L"upside"), Copy(L"HKLM\\Software\\DorixTest\\A\\S\\QVGA.portrait"));
    EXPECT_EQ(L"text", text.GetValueText(kQvga0, kQvga0));

    for (const wchar_t* unsupported : {L"X", L"absent"}) {
        const CRegEntry entry(kEntryKey, unsupported);
        EXPECT_EQ(L"Cannot access registry data, type not supported", ErrorOf([&] { entry.GetValueText(kVga1, kQvga0); }));
        EXPECT_EQ(L"Cannot access registry data, type not supported",
                  ErrorOf([&] { entry.SetValueText(kVga1, kQvga0, L"1"); }));
    }
}

}  // namespace

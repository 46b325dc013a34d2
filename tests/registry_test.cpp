#include "DeviceFixture.h"
#include <functional>
#include "framework/ResourceString.h"
#include "state/Registry.h"

namespace {

const wchar_t kTestKey[] = L"Software\\DorixTest";

class RegistryTest : public DeviceTest {};

std::vector<BYTE> Bytes(size_t count, BYTE seed)
{
    std::vector<BYTE> data(count);
    for (size_t i = 0; i < count; ++i)
        data[i] = static_cast<BYTE>(seed + i * 7);
    return data;
}

TEST_F(RegistryTest, SetPathGuaranteesOneTrailingBackslash)
{
    CRegistry reg;
    reg.SetPath(L"Software\\Dorix");
    EXPECT_EQ(L"Software\\Dorix\\", reg.GetPath());
    reg.SetPath(L"Software\\Dorix\\");
    EXPECT_EQ(L"Software\\Dorix\\", reg.GetPath());
    reg.SetPath(L"");
    EXPECT_EQ(L"\\", reg.GetPath());
    EXPECT_EQ(L"\\", CRegistry(CRegistry::kCurrentUser).GetPath());
}

TEST_F(RegistryTest, FullPathAppendsSubKeyWithoutSeparator)
{
    CRegistry reg(CRegistry::kCurrentUser, L"Software\\Dorix");
    EXPECT_EQ(L"Software\\Dorix\\Registry", reg.GetFullPath(L"Registry"));
    EXPECT_EQ(L"Software\\Dorix\\", reg.GetFullPath(nullptr));
}

TEST_F(RegistryTest, DWordRoundTripsAndReadsSmallValuesOfAnyType)
{
    CRegistry reg(CRegistry::kCurrentUser, kTestKey);
    reg.WriteDWord(L"A\\B", L"n", -5);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(GetRawValue(CRegistry::kCurrentUser, L"Software\\DorixTest\\A\\B", L"n", type, data));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ((std::vector<BYTE>{0xFB, 0xFF, 0xFF, 0xFF}), data);
    EXPECT_EQ(-5, reg.ReadDWord(L"A\\B", L"n", 9));

    SetRawValue(CRegistry::kCurrentUser, kTestKey, L"bin2", REG_BINARY, {0x34, 0x12});
    EXPECT_EQ(0x1234, reg.ReadDWord(nullptr, L"bin2", 9));
}

TEST_F(RegistryTest, DWordReadFallsBackToDefault)
{
    CRegistry reg(CRegistry::kCurrentUser, kTestKey);
    EXPECT_EQ(42, reg.ReadDWord(L"Missing", L"n", 42)) << "missing key";
    reg.WriteString(nullptr, L"text", L"longer than four bytes");
    EXPECT_EQ(42, reg.ReadDWord(nullptr, L"absent", 42)) << "missing value";
    EXPECT_EQ(42, reg.ReadDWord(nullptr, L"text", 42)) << "data longer than 4 bytes";
}

TEST_F(RegistryTest, StringIsStoredAsTerminatedRegSz)
{
    CRegistry reg(CRegistry::kCurrentUser, kTestKey);
    reg.WriteString(nullptr, L"s", L"abc");
    reg.WriteString(nullptr, L"empty", nullptr);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(GetRawValue(CRegistry::kCurrentUser, kTestKey, L"s", type, data));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ((std::vector<BYTE>{'a', 0, 'b', 0, 'c', 0, 0, 0}), data);
    ASSERT_TRUE(GetRawValue(CRegistry::kCurrentUser, kTestKey, L"empty", type, data));
    EXPECT_EQ(2u, data.size());
    EXPECT_EQ(L"abc", reg.ReadString(nullptr, L"s"));
    EXPECT_EQ(L"", reg.ReadString(nullptr, L"empty", L"default"));
}

TEST_F(RegistryTest, StringReadEndsAtFirstZeroAndFallsBack)
{
    CRegistry reg(CRegistry::kCurrentUser, kTestKey);
    SetRawValue(CRegistry::kCurrentUser, kTestKey, L"multi", REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0});
    EXPECT_EQ(L"a", reg.ReadString(nullptr, L"multi"));
    // No terminating zero stored, and an odd byte count: still read safely.
    SetRawValue(CRegistry::kCurrentUser, kTestKey, L"raw", REG_BINARY, {'x', 0, 'y', 0, 'z'});
    EXPECT_EQ(L"xy", reg.ReadString(nullptr, L"raw").substr(0, 2));
    EXPECT_EQ(L"dflt", reg.ReadString(nullptr, L"absent", L"dflt"));
    EXPECT_EQ(L"", reg.ReadString(L"NoKey", L"absent"));
    std::wstring big(5000, L'q');
    reg.WriteString(nullptr, L"big", big.c_str());
    EXPECT_EQ(big, reg.ReadString(nullptr, L"big"));
}

TEST_F(RegistryTest, ValueKindOfEveryType)
{
    CRegistry reg(CRegistry::kCurrentUser, kTestKey);
    reg.WriteString(nullptr, L"sz", L"x");
    reg.WriteDWord(nullptr, L"dw", 1);
    SetRawValue(CRegistry::kCurrentUser, kTestKey, L"bin", REG_BINARY, {1, 2, 3});
    SetRawValue(CRegistry::kCurrentUser, kTestKey, L"exp", REG_EXPAND_SZ, {'a', 0, 0, 0});
    SetRawValue(CRegistry::kCurrentUser, kTestKey, L"multi", REG_MULTI_SZ, {'a', 0, 0, 0, 0, 0});
    SetRawValue(CRegistry::kCurrentUser, kTestKey, L"qw", REG_QWORD, Bytes(8, 1));
    EXPECT_EQ(CRegistry::kindString, reg.GetValueKind(nullptr, L"sz"));
    EXPECT_EQ(CRegistry::kindDWord, reg.GetValueKind(nullptr, L"dw"));
    EXPECT_EQ(CRegistry::kindUnsupported, reg.GetValueKind(nullptr, L"bin"));
    EXPECT_EQ(CRegistry::kindUnsupported, reg.GetValueKind(nullptr, L"exp"));
    EXPECT_EQ(CRegistry::kindUnsupported, reg.GetValueKind(nullptr, L"multi"));
    EXPECT_EQ(CRegistry::kindUnsupported, reg.GetValueKind(nullptr, L"qw"));
    EXPECT_EQ(CRegistry::kindMissing, reg.GetValueKind(nullptr, L"absent"));
    EXPECT_EQ(CRegistry::kindMissing, reg.GetValueKind(L"NoKey", L"sz"));
}

TEST_F(RegistryTest, DeleteValueLeavesEmptyKeyBehind)
{
    CRegistry reg(CRegistry::kCurrentUser, kTestKey);
    EXPECT_FALSE(reg.KeyExists(L"New"));
    reg.DeleteValue(L"New", L"v");
    EXPECT_TRUE(reg.KeyExists(L"New"));
    reg.WriteDWord(nullptr, L"v", 1);
    reg.DeleteValue(nullptr, L"v");
    EXPECT_EQ(CRegistry::kindMissing, reg.GetValueKind(nullptr, L"v"));
}

TEST_F(RegistryTest, DeleteKeyRemovesSubtreeAndNeverARoot)
{
    CRegistry reg(CRegistry::kCurrentUser, kTestKey);
    reg.WriteDWord(L"Tree\\Deep\\Er", L"v", 1);
    reg.WriteDWord(L"Tree", L"w", 1);
    reg.WriteDWord(L"Sibling", L"v", 1);
    reg.DeleteKey(L"Tree");
    EXPECT_FALSE(reg.KeyExists(L"Tree"));
    EXPECT_TRUE(reg.KeyExists(L"Sibling"));
    reg.DeleteKey(L"NotThere");  // nothing happens

    // A registry object with an empty path names the root itself; that is never deleted.
    CRegistry root(CRegistry::kCurrentUser);
    root.DeleteKey(nullptr);
    EXPECT_TRUE(reg.KeyExists(L"Sibling"));
    EXPECT_TRUE(CRegistry(CRegistry::kCurrentUser, L"Software").KeyExists(nullptr));
}

TEST_F(RegistryTest, KeyCacheServesWritesAfterTheirKeyWasDeleted)
{
    CRegistry reg(CRegistry::kCurrentUser, kTestKey);
    const CRegistry::CKeyCache keys;
    reg.WriteDWord(L"Cached\\Below", L"v", 1);
    reg.DeleteKey(L"Cached");
    EXPECT_EQ(7, reg.ReadDWord(L"Cached\\Below", L"v", 7)) << "a cached handle must not outlive its key";
    reg.WriteDWord(L"Cached\\Below", L"v", 2);
    CRegistry::RemoveEmptyKeys(CRegistry::kCurrentUser, reg.GetFullPath(L"Cached\\Below"), reg.GetFullPath(L"Cached"));
    reg.WriteDWord(L"Cached\\Below", L"w", 3);
    EXPECT_EQ(2, reg.ReadDWord(L"Cached\\Below", L"v", 0));
    EXPECT_EQ(3, reg.ReadDWord(L"Cached\\Below", L"w", 0));
}

TEST_F(RegistryTest, LeadingAndTrailingBackslashesNameTheSameKey)
{
    CRegistry root(CRegistry::kCurrentUser);  // base path "\"
    root.WriteDWord(L"Software\\DorixTest\\K", L"v", 7);
    EXPECT_EQ(7, CRegistry(CRegistry::kCurrentUser, L"Software\\DorixTest\\K\\").ReadDWord(nullptr, L"v", 0));
    EXPECT_TRUE(root.KeyExists(L"Software\\DorixTest\\K"));
}

// A write the registry refuses raises the system's reason; deleting what is not there is no
// failure, and neither is reading what cannot be read.
TEST_F(RegistryTest, RefusedWritesRaiseTheSystemsReason)
{
    CRegistry reg(CRegistry::kCurrentUser, kTestKey);
    reg.DeleteKey(L"Missing");
    CRegistry::CKey::Open(CRegistry::kCurrentUser, L"Software\\DorixTest\\Missing").DeleteValue(L"v");
    auto expectRefused = [](const char* what, LONG code, const std::function<void()>& write) {
        try {
            write();
            ADD_FAILURE() << what << ": no exception";
        } catch (const CRegistry::CWriteException& e) {
            EXPECT_EQ(L"Cannot write registry data", e.GetMessage()) << what;
            EXPECT_EQ(code, e.GetSystemError()) << what;
            EXPECT_EQ(SystemErrorText(static_cast<DWORD>(code)), e.GetSystemText()) << what;
        }
    };
    {
        const CRefusedWrites refused(CRegistry::kCurrentUser, kTestKey);
        expectRefused("WriteDWord", ERROR_ACCESS_DENIED, [&] { reg.WriteDWord(nullptr, L"v", 1); });
        expectRefused("WriteString", ERROR_ACCESS_DENIED, [&] { reg.WriteString(nullptr, L"s", L"x"); });
        expectRefused("DeleteValue", ERROR_ACCESS_DENIED, [&] { reg.DeleteValue(nullptr, L"v"); });
        expectRefused("CopyValue", ERROR_ACCESS_DENIED, [] {
            SetRawValue(CRegistry::kLocalMachine, kTestKey, L"src", REG_DWORD, {1, 0, 0, 0});
            CRegistry::CopyValue(CRegistry::kLocalMachine, kTestKey, L"src", CRegistry::kCurrentUser, kTestKey, L"copy");
        });
        EXPECT_EQ(3, reg.ReadDWord(nullptr, L"v", 3));
    }
    CRegistry rootless(0, kTestKey);
    expectRefused("rootless", ERROR_INVALID_HANDLE, [&] { rootless.WriteDWord(nullptr, L"v", 1); });
    EXPECT_EQ(3, rootless.ReadDWord(nullptr, L"v", 3));
}

TEST_F(RegistryTest, ParseRootNameAcceptsEveryAliasIgnoringCase)
{
    EXPECT_EQ(0x80000002u, CRegistry::ParseRootName(L"hklm"));
    EXPECT_EQ(0x80000002u, CRegistry::ParseRootName(L"HKLM"));
    EXPECT_EQ(0x80000002u, CRegistry::ParseRootName(L"HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(0x80000002u, CRegistry::ParseRootName(L"hlm"));
    EXPECT_EQ(0x80000001u, CRegistry::ParseRootName(L"HCU"));
    EXPECT_EQ(0x80000001u, CRegistry::ParseRootName(L"hkey_current_user"));
    EXPECT_EQ(0x80000003u, CRegistry::ParseRootName(L"HU"));
    EXPECT_EQ(0x80000000u, CRegistry::ParseRootName(L"HKCR"));
    EXPECT_EQ(0u, CRegistry::ParseRootName(L"HKEY_LOCAL"));
    EXPECT_EQ(0u, CRegistry::ParseRootName(L""));
}

TEST_F(RegistryTest, ParseKeyPath)
{
    uint32_t root = 7;
    std::wstring name = L"sentinel", sub = L"sentinel";
    EXPECT_FALSE(CRegistry::ParseKeyPath(L"HKLM", root, name, sub));
    EXPECT_FALSE(CRegistry::ParseKeyPath(L"XYZ\\Software", root, name, sub));
    EXPECT_EQ(7u, root);
    ASSERT_TRUE(CRegistry::ParseKeyPath(L"HKLM\\", root, name, sub));
    EXPECT_EQ(0x80000002u, root);
    EXPECT_EQ(L"HKLM", name);
    EXPECT_EQ(L"", sub);
    ASSERT_TRUE(CRegistry::ParseKeyPath(L"hklm\\Software\\A\\B", root, name, sub));
    EXPECT_EQ(L"hklm", name);
    EXPECT_EQ(L"Software\\A\\B", sub);
}

TEST_F(RegistryTest, CopyValueKeepsTypeAndEveryByte)
{
    const std::wstring src = L"Software\\DorixTest\\Src";
    const std::wstring dst = L"Software\\DorixTest\\Dst\\Deep";
    for (size_t size : {0u, 4u, 1023u, 1024u, 1025u, 70000u}) {
        const std::vector<BYTE> bytes = Bytes(size, static_cast<BYTE>(size));
        SetRawValue(CRegistry::kCurrentUser, src, L"bin", REG_BINARY, bytes);
        CRegistry::CopyValue(CRegistry::kCurrentUser, src, L"bin", CRegistry::kLocalMachine, dst, L"copy");
        DWORD type = 0;
        std::vector<BYTE> got;
        ASSERT_TRUE(GetRawValue(CRegistry::kLocalMachine, dst, L"copy", type, got)) << "size " << size;
        EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type) << "size " << size;
        EXPECT_TRUE(bytes == got) << "size " << size << ": got " << got.size() << " bytes";
    }
    SetRawValue(CRegistry::kCurrentUser, src, L"multi", REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0});
    CRegistry::CopyValue(CRegistry::kCurrentUser, src, L"multi", CRegistry::kCurrentUser, src, L"multi2");
    DWORD type = 0;
    std::vector<BYTE> got;
    ASSERT_TRUE(GetRawValue(CRegistry::kCurrentUser, src, L"multi2", type, got));
    EXPECT_EQ(static_cast<DWORD>(REG_MULTI_SZ), type);
    EXPECT_EQ(10u, got.size());
}

TEST_F(RegistryTest, CopyValueOfMissingSourceLeavesDestination)
{
    const std::wstring dst = L"Software\\DorixTest\\Dst";
    SetRawValue(CRegistry::kCurrentUser, dst, L"v", REG_DWORD, {1, 0, 0, 0});
    CRegistry::CopyValue(CRegistry::kCurrentUser, L"Software\\DorixTest", L"absent", CRegistry::kCurrentUser, dst,
                         L"v");
    CRegistry::CopyValue(CRegistry::kCurrentUser, L"Software\\DorixTest\\NoKey", L"x", CRegistry::kCurrentUser, dst,
                         L"v");
    DWORD type = 0;
    std::vector<BYTE> got;
    ASSERT_TRUE(GetRawValue(CRegistry::kCurrentUser, dst, L"v", type, got));
    EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}), got);
    EXPECT_FALSE(CRegistry(CRegistry::kCurrentUser, L"Software\\DorixTest\\Other").KeyExists(nullptr));
}

}  // namespace

// The stub program as installation writes it: the bytes carried as resource "EXE" 166 must be
// a Windows CE GUI program for ARM whose entry returns at once, of the size uninstallation
// recognises.
#include "DeviceFixture.h"
#include "app/Installation.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {

class StubTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        ASSERT_TRUE(ExtractResource(::GetModuleHandleW(nullptr), IDR_STUB_EXE, L"EXE", L"\\Temp\\stub.exe"));
        m_image = ReadFileBytes(L"\\Temp\\stub.exe");
        ASSERT_EQ(static_cast<size_t>(kStubSize), m_image.size()) << "extracted stub size";
        ASSERT_EQ(0x5A4Du, U16(0)) << "MZ signature";
        m_pe = U32(0x3C);
        ASSERT_EQ(0x00004550u, U32(m_pe)) << "PE signature at " << m_pe;
    }

    // Little-endian, bounds checked: a read past the end fails the test and yields 0.
    uint32_t Get(size_t offset, size_t width) const
    {
        if (offset > m_image.size() || m_image.size() - offset < width) {
            ADD_FAILURE() << "read of " << width << " bytes at " << offset << " beyond the image";
            return 0;
        }
        uint32_t value = 0;
        for (size_t i = width; i-- > 0;)
            value = (value << 8) | static_cast<unsigned char>(m_image[offset + i]);
        return value;
    }
    uint32_t U16(size_t offset) const { return Get(offset, 2); }
    uint32_t U32(size_t offset) const { return Get(offset, 4); }

    size_t FileHeader() const { return m_pe + 4; }
    size_t OptionalHeader() const { return m_pe + 24; }

    std::string m_image;
    size_t m_pe = 0;
};

TEST_F(StubTest, IsAWindowsCeGuiProgramForArm)
{
    EXPECT_EQ(0x01C0u, U16(FileHeader())) << "machine";
    EXPECT_EQ(0x0002u, U16(FileHeader() + 18) & 0x2002u) << "an executable, not a DLL";
    EXPECT_EQ(0x010Bu, U16(OptionalHeader())) << "PE32 optional header";
    EXPECT_EQ(9u, U16(OptionalHeader() + 68)) << "subsystem";
}

TEST_F(StubTest, EntryReturnsAtOnceWithItsFirstArgument)
{
    const uint32_t entry = U32(OptionalHeader() + 16);
    const size_t sections = OptionalHeader() + U16(FileHeader() + 16);
    for (uint32_t i = 0; i < U16(FileHeader() + 2); ++i) {
        const size_t section = sections + 40 * i;
        const uint32_t address = U32(section + 12);
        if (entry < address || entry - address >= U32(section + 8))
            continue;
        EXPECT_NE(0u, U32(section + 36) & 0x20000000u) << "the entry's section is executable";
        // "mov pc, lr": back to the caller with r0, the first argument, untouched.
        EXPECT_EQ(0xE1A0F00Eu, U32(U32(section + 20) + (entry - address))) << "entry instruction";
        return;
    }
    FAIL() << "entry " << entry << " lies in no section";
}

}  // namespace

// The stub program as installation writes it: the bytes carried as resource "EXE" 166 must be
// a Windows CE GUI program for ARM whose entry returns at once, of the size uninstallation
// recognises.
#include "DeviceFixture.h"
#include "core/Installation.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {

const wchar_t kExtracted[] = L"\\Temp\\stub.exe";

// Little-endian reads with the bounds checked before each one; a read past the end fails
// the test and yields 0.
class CImageReader {
public:
    explicit CImageReader(const std::string& bytes) : m_bytes(bytes) {}

    uint32_t Get(size_t offset, size_t width) const
    {
        if (offset > m_bytes.size() || m_bytes.size() - offset < width) {
            ADD_FAILURE() << "read of " << width << " bytes at " << offset << " beyond the image's "
                          << m_bytes.size();
            return 0;
        }
        uint32_t value = 0;
        for (size_t i = width; i-- > 0;)
            value = (value << 8) | static_cast<unsigned char>(m_bytes[offset + i]);
        return value;
    }
    uint32_t U16(size_t offset) const { return Get(offset, 2); }
    uint32_t U32(size_t offset) const { return Get(offset, 4); }

private:
    const std::string& m_bytes;
};

class StubTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        ASSERT_TRUE(ExtractResource(::GetModuleHandleW(nullptr), IDR_STUB_EXE, L"EXE", kExtracted))
            << "resource EXE 166 missing";
        m_image = ReadFileBytes(kExtracted);
        ASSERT_EQ(static_cast<size_t>(kStubSize), m_image.size()) << "extracted stub size";
        const CImageReader in(m_image);
        ASSERT_EQ(0x5A4Du, in.U16(0)) << "MZ signature";
        m_pe = in.U32(0x3C);
        ASSERT_EQ(0x00004550u, in.U32(m_pe)) << "PE signature at " << m_pe;
    }

    // Offsets of the PE headers.
    size_t FileHeader() const { return m_pe + 4; }
    size_t OptionalHeader() const { return m_pe + 24; }
    size_t SectionTable() const { return OptionalHeader() + CImageReader(m_image).U16(FileHeader() + 16); }

    std::string m_image;
    size_t m_pe = 0;
};

TEST_F(StubTest, IsAWindowsCeGuiProgramForArm)
{
    const CImageReader in(m_image);
    EXPECT_EQ(0x01C0u, in.U16(FileHeader())) << "machine";
    const uint32_t characteristics = in.U16(FileHeader() + 18);
    EXPECT_EQ(0x0002u, characteristics & 0x2002u) << "executable, not a DLL: " << characteristics;
    EXPECT_EQ(0x010Bu, in.U16(OptionalHeader())) << "PE32 optional header";
    EXPECT_EQ(9u, in.U16(OptionalHeader() + 68)) << "subsystem";
}

TEST_F(StubTest, SectionsLieWithinTheFile)
{
    const CImageReader in(m_image);
    const uint32_t count = in.U16(FileHeader() + 2);
    ASSERT_GE(count, 1u) << "sections";
    const uint32_t headersSize = in.U32(OptionalHeader() + 60);
    EXPECT_GE(headersSize, SectionTable() + 40 * count) << "headers hold the section table";
    for (uint32_t i = 0; i < count; ++i) {
        const size_t section = SectionTable() + 40 * i;
        const uint32_t rawSize = in.U32(section + 16);
        const uint32_t rawPointer = in.U32(section + 20);
        EXPECT_GE(rawPointer, headersSize) << "section " << i;
        EXPECT_LE(static_cast<uint64_t>(rawPointer) + rawSize, m_image.size()) << "section " << i;
    }
}

TEST_F(StubTest, EntryReturnsAtOnceWithItsFirstArgument)
{
    const CImageReader in(m_image);
    const uint32_t entry = in.U32(OptionalHeader() + 16);
    const uint32_t count = in.U16(FileHeader() + 2);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t section = SectionTable() + 40 * i;
        const uint32_t address = in.U32(section + 12);
        const uint32_t virtualSize = in.U32(section + 8);
        if (entry < address || entry - address >= virtualSize)
            continue;
        EXPECT_NE(0u, in.U32(section + 36) & 0x20000000u) << "entry's section is executable";
        // "mov pc, lr": back to the caller with r0, the first argument, untouched.
        EXPECT_EQ(0xE1A0F00Eu, in.U32(in.U32(section + 20) + (entry - address))) << "entry instruction";
        return;
    }
    FAIL() << "entry " << entry << " lies in no section";
}

}  // namespace

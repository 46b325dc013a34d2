// Damaged archives by the thousand: every one must end in success or in one of the reader's
// own errors, never in a crash, a hang, another exception, a partial output or a file
// written anywhere but the one output path.
#include <algorithm>
#include <set>
#include "DeviceFixture.h"
#include "ZipWriter.h"
#include "profiles/ZipFile.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {

const wchar_t kArchive[] = L"\\Temp\\m.zdorix";
const wchar_t kOutput[] = L"\\Temp\\out";

std::string Pattern(size_t size)
{
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    return data;
}

// Small records of every kind: a directory entry, extra fields and a comment that differ
// between the local and central records, a deflated entry.
ZipImage SmallArchive()
{
    return BuildZip({
        {"profile.dorix", "[Profile]\r\nVersion=1.4.0\r\n"},
        {"Skins/", "", 0, FILE_ATTRIBUTE_DIRECTORY},
        {"Skins/vga.skn", "VGA skin bytes", 0, 0x20, "LX", "CENTRAL", "comment"},
        {"d.bin", "deflated", 8},
    });
}

// One entry larger than the copy buffer, so the copy runs several rounds.
ZipImage LargeArchive()
{
    return BuildZip({{"big.bin", Pattern(250000)}, {"small.txt", "small"}});
}

void ListTree(const std::wstring& folder, std::set<std::wstring>& found)
{
    std::vector<std::wstring> names;
    FindFiles(folder, L"*", true, names);
    for (const std::wstring& name : names) {
        found.insert(name);
        if (IsDirectory(name))
            ListTree(name, found);
    }
}

uint64_t FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return UINT64_MAX;
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

std::string Narrow(const std::wstring& text)
{
    return ::testing::PrintToString(text);
}

class ZipMutationTest : public DeviceTest {
protected:
    // Opens the archive and extracts every entry; records what went wrong.
    void RunCase(const std::string& bytes, const std::string& what)
    {
        ++m_cases;
        WriteFileBytes(kArchive, bytes);
        try {
            CZipFile zip(kArchive);
            zip.Open();
            if (zip.GetEntryCount() > bytes.size() / 46)
                Fail(what, "more entries than records fit: " + std::to_string(zip.GetEntryCount()));
            for (size_t i = 0; i < zip.GetEntryCount(); ++i)
                ExtractOne(*zip.GetEntry(i), what + ", entry " + std::to_string(i));
        } catch (const CZipFile::CZipException& e) {
            CheckMessage(e.GetMessage(), what);
        } catch (...) {
            Fail(what, "an exception that is not the reader's");
        }
        std::set<std::wstring> found;
        ListTree(L"\\", found);
        if (found != m_expectedTree) {
            std::string names;
            for (const std::wstring& name : found)
                names += " " + Narrow(name);
            Fail(what, "device drive holds" + names);
            for (const std::wstring& name : found)
                if (!m_expectedTree.count(name) && !IsDirectory(name))
                    ::DeleteFileW(name.c_str());
        }
    }

    void ExtractOne(CZipFile::CEntry& entry, const std::string& what)
    {
        try {
            entry.Extract(kOutput);
            ++m_extracted;
            if (FileSize(kOutput) != entry.GetSize())
                Fail(what, "output of " + std::to_string(FileSize(kOutput)) + " bytes for an entry of " +
                               std::to_string(entry.GetSize()));
            ::DeleteFileW(kOutput);
        } catch (const CZipFile::CZipException& e) {
            CheckMessage(e.GetMessage(), what);
            if (FileExists(kOutput))
                Fail(what, "output left by a failed extraction");
            ::DeleteFileW(kOutput);
        }
    }

    void CheckMessage(const std::wstring& message, const std::string& what)
    {
        if (message == m_invalidFormat)
            ++m_invalid;
        else if (message == m_unsupported)
            ++m_unsupportedCount;
        else
            Fail(what, "message " + Narrow(message));
    }

    void Fail(const std::string& what, const std::string& problem)
    {
        if (m_failures.size() < 10)
            m_failures.push_back(what + ": " + problem);
        ++m_failureCount;
    }

    void ExpectNoFailures()
    {
        std::string first;
        for (const std::string& f : m_failures)
            first += "\n  " + f;
        EXPECT_EQ(0u, m_failureCount) << "of " << m_cases << " cases; first ones:" << first;
    }

    void Report(size_t minimumCases)
    {
        ExpectNoFailures();
        EXPECT_GE(m_cases, minimumCases);
        // The mutations must reach past Open, or they test nothing but the end record.
        EXPECT_GT(m_extracted, 0u) << "no case extracted anything";
        EXPECT_GT(m_invalid, 0u) << "no case was refused";
        std::cout << m_cases << " cases: " << m_extracted << " extractions, " << m_invalid << " invalid, "
                  << m_unsupportedCount << " unsupported\n";
    }

    // Every field of every record set to values around its own, the file's edges and the
    // type's limits.
    void MutateFields(const ZipImage& base)
    {
        const uint32_t size = static_cast<uint32_t>(base.bytes.size());
        for (const ZipField& field : base.fields) {
            const uint32_t value = base.Get(field.label);
            const uint32_t max = field.size == 2 ? 0xFFFFu : 0xFFFFFFFFu;
            const uint32_t candidates[] = {0,         1,        value - 1, value + 1,    value + 2, value + 4,
                                           value + 46, max,      max / 2,   max / 2 + 1, size - 1,  size,
                                           size + 1,  size - 22, 259,       260,         value * 2};
            for (uint32_t candidate : candidates) {
                ZipImage image = base;
                image.Set(field.label, candidate & max);
                RunCase(image.bytes, field.label + "=" + std::to_string(candidate & max));
            }
        }
    }

    void SetUp() override
    {
        DeviceTest::SetUp();
        m_invalidFormat = FormatResourceString(IDS_ZIP_INVALID_FORMAT, {kArchive});
        m_unsupported = FormatResourceString(IDS_ZIP_UNSUPPORTED_METHOD);
        m_expectedTree = {L"\\Temp", L"\\Windows", kArchive};
    }

    size_t m_extracted = 0;
    size_t m_invalid = 0;
    size_t m_unsupportedCount = 0;

private:
    std::wstring m_invalidFormat;
    std::wstring m_unsupported;
    std::set<std::wstring> m_expectedTree;
    std::vector<std::string> m_failures;
    size_t m_failureCount = 0;
    size_t m_cases = 0;
};

TEST_F(ZipMutationTest, UndamagedArchivesExtractCompletely)
{
    RunCase(SmallArchive().bytes, "small");
    RunCase(LargeArchive().bytes, "large");
    EXPECT_EQ(5u, m_extracted);
    EXPECT_EQ(1u, m_unsupportedCount);
    EXPECT_EQ(0u, m_invalid);
    ExpectNoFailures();
}

TEST_F(ZipMutationTest, TruncatedArchives)
{
    const ZipImage small = SmallArchive();
    const std::string endRecord = small.bytes.substr(small.bytes.size() - 22);
    for (size_t length = 0; length < small.bytes.size(); ++length) {
        RunCase(small.bytes.substr(0, length), "cut at " + std::to_string(length));
        // The same with the end record put back: the offsets now point past the end.
        if (length + 22 <= small.bytes.size())
            RunCase(small.bytes.substr(0, length) + endRecord, "cut at " + std::to_string(length) + " + end");
    }
    const ZipImage large = LargeArchive();
    const std::string largeEnd = large.bytes.substr(large.bytes.size() - 22);
    for (size_t length = 0; length + 22 <= large.bytes.size(); length += 1009)
        RunCase(large.bytes.substr(0, length) + largeEnd, "large cut at " + std::to_string(length) + " + end");
    Report(800);
}

TEST_F(ZipMutationTest, FlippedBytes)
{
    const ZipImage small = SmallArchive();
    for (size_t at = 0; at < small.bytes.size(); ++at) {
        const auto original = static_cast<uint8_t>(small.bytes[at]);
        for (uint8_t changed : {uint8_t(original ^ 0xFF), uint8_t(original ^ 0x01), uint8_t(original ^ 0x80),
                                uint8_t(0x00), uint8_t(0xFF)}) {
            if (changed == original)
                continue;
            std::string bytes = small.bytes;
            bytes[at] = static_cast<char>(changed);
            RunCase(bytes, "byte " + std::to_string(at) + "=" + std::to_string(changed));
        }
    }
    Report(1500);
}

TEST_F(ZipMutationTest, FieldsOfEveryRecord)
{
    MutateFields(SmallArchive());
    MutateFields(LargeArchive());
    Report(1500);
}

}  // namespace

#include <algorithm>
#include <thread>
#include "DeviceFixture.h"
#include "ZipWriter.h"
#include "framework/File.h"
#include "profiles/ZipFile.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {

const wchar_t kArchive[] = L"\\Temp\\a.zdorix";

class ZipFileTest : public DeviceTest {};

std::wstring InvalidFormat(const std::wstring& archive = kArchive)
{
    return FormatResourceString(IDS_ZIP_INVALID_FORMAT, {archive});
}

std::wstring CannotOpen(const std::wstring& path)
{
    return FormatResourceString(IDS_ZIP_CANNOT_OPEN, {path});
}

// The message of the CZipException that f throws; "<no exception>" when it returns.
template <typename F>
std::wstring ZipError(F f)
{
    try {
        f();
    } catch (const CZipFile::CZipException& e) {
        return e.GetMessage();
    }
    return L"<no exception>";
}

std::string Pattern(size_t size)
{
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    return data;
}

std::vector<ZipEntryDef> SkinArchive()
{
    return {
        {"profile.dorix", "[Profile]\r\nVersion=1.4.0\r\n"},
        {"Skins/", "", 0, FILE_ATTRIBUTE_DIRECTORY},
        {"Skins/vga.skn", "VGA skin bytes", 0, 0x20, "LOCALEXTRA-LONGER", "CX", "a file comment"},
        {"Skins/qvga.skn", "QVGA", 0, 0x20, "", "CENTRAL-EXTRA"},
    };
}

TEST_F(ZipFileTest, ListsEntriesInDirectoryOrderWithTheirRecordFields)
{
    WriteFileBytes(kArchive, BuildZip(SkinArchive()).bytes);
    CZipFile zip(kArchive);
    EXPECT_FALSE(zip.IsOpen());
    zip.Open();
    EXPECT_TRUE(zip.IsOpen());
    ASSERT_EQ(4u, zip.GetEntryCount());
    const wchar_t* names[] = {L"profile.dorix", L"Skins\\", L"Skins\\vga.skn", L"Skins\\qvga.skn"};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(names[i], zip.GetEntry(i)->GetName()) << "entry " << i;
    const CZipFile::CEntry* vga = zip.GetEntry(2);
    EXPECT_EQ(14u, vga->GetSize());
    EXPECT_EQ(0u, vga->GetMethod());
    EXPECT_EQ(0x20u, vga->GetAttributes());
    EXPECT_EQ(zipwriter::Crc32("VGA skin bytes"), vga->GetCrc());
    EXPECT_EQ(0x6000u, vga->GetTime());
    EXPECT_EQ(0x5821u, vga->GetDate());
    EXPECT_FALSE(vga->IsDirectory());
    EXPECT_TRUE(zip.GetEntry(1)->IsDirectory());

    zip.Close();
    EXPECT_FALSE(zip.IsOpen());
    EXPECT_EQ(0u, zip.GetEntryCount());
}

TEST_F(ZipFileTest, FindEntryIgnoresCaseReadsSlashAsBackslashAndTakesTheFirstMatch)
{
    std::vector<ZipEntryDef> entries = SkinArchive();
    entries.push_back({"SKINS/VGA.SKN", "second"});
    WriteFileBytes(kArchive, BuildZip(entries).bytes);
    CZipFile zip(kArchive);
    zip.Open();
    EXPECT_EQ(zip.GetEntry(2), zip.FindEntry(L"Skins\\vga.skn"));
    EXPECT_EQ(zip.GetEntry(2), zip.FindEntry(L"SKINS\\VGA.SKN"));
    EXPECT_EQ(zip.GetEntry(0), zip.FindEntry(L"PROFILE.DORIX"));
    EXPECT_EQ(nullptr, zip.FindEntry(L"Skins/vga.skn")) << "names are compared with backslashes";
    EXPECT_EQ(nullptr, zip.FindEntry(L"vga.skn"));
    EXPECT_EQ(nullptr, zip.FindEntry(L"Skins\\vga.sk"));
}

TEST_F(ZipFileTest, NameBytesAreReadInTheAnsiCodePage)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "the ANSI code page here is " << ::GetACP() << ", not the device's 1252";
    WriteFileBytes(kArchive, BuildZip({{"Caf\xE9/\x80.txt", "x"}}).bytes);
    CZipFile zip(kArchive);
    zip.Open();
    ASSERT_EQ(1u, zip.GetEntryCount());
    EXPECT_EQ(L"Caf\u00e9\\\u20ac.txt", zip.GetEntry(0)->GetName());
}

TEST_F(ZipFileTest, ExtractCopiesStoredBytesWhateverTheExtraFields)
{
    WriteFileBytes(kArchive, BuildZip(SkinArchive()).bytes);
    WriteFileBytes(L"\\Temp\\qvga.skn", std::string(1000, 'o'));
    CZipFile zip(kArchive);
    zip.Open();
    // The local extra field is longer than the central one for vga.skn, absent for qvga.skn.
    zip.FindEntry(L"Skins\\vga.skn")->Extract(L"\\Temp\\vga.skn");
    zip.FindEntry(L"Skins\\qvga.skn")->Extract(L"\\Temp\\qvga.skn");
    EXPECT_EQ("VGA skin bytes", ReadFileBytes(L"\\Temp\\vga.skn"));
    EXPECT_EQ("QVGA", ReadFileBytes(L"\\Temp\\qvga.skn")) << "an existing output is truncated";
    // Again, from the data offset found the first time.
    zip.FindEntry(L"Skins\\vga.skn")->Extract(L"\\Temp\\again.skn");
    EXPECT_EQ("VGA skin bytes", ReadFileBytes(L"\\Temp\\again.skn"));
}

TEST_F(ZipFileTest, ExtractCopiesEntriesLargerThanTheBufferAndEmptyOnes)
{
    const std::string big = Pattern(2 * 131072 + 12345);
    WriteFileBytes(kArchive, BuildZip({{"empty", ""}, {"big.bin", big}, {"exact", Pattern(131072)}}).bytes);
    CZipFile zip(kArchive);
    zip.Open();
    zip.FindEntry(L"empty")->Extract(L"\\Temp\\empty");
    zip.FindEntry(L"big.bin")->Extract(L"\\Temp\\big.bin");
    zip.FindEntry(L"exact")->Extract(L"\\Temp\\exact");
    EXPECT_EQ("", ReadFileBytes(L"\\Temp\\empty")) << "an empty entry still creates its file";
    EXPECT_TRUE(ReadFileBytes(L"\\Temp\\big.bin") == big) << "big.bin differs";
    EXPECT_TRUE(ReadFileBytes(L"\\Temp\\exact") == Pattern(131072)) << "exact differs";
}

TEST_F(ZipFileTest, DeflatedEntryIsListedButOnlyItsExtractionFails)
{
    WriteFileBytes(kArchive, BuildZip({{"packed.txt", "not really deflated", 8}}).bytes);
    CZipFile zip(kArchive);
    zip.Open();
    CZipFile::CEntry* entry = zip.FindEntry(L"packed.txt");
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(8u, entry->GetMethod());
    EXPECT_EQ(FormatResourceString(IDS_ZIP_UNSUPPORTED_METHOD),
              ZipError([&] { entry->Extract(L"\\Temp\\out.txt"); }));
    EXPECT_FALSE(FileExists(L"\\Temp\\out.txt"));
}

TEST_F(ZipFileTest, OpenRefusesWhatIsNotAnArchiveOfThisForm)
{
    EXPECT_EQ(CannotOpen(L"\\Temp\\missing.zdorix"), ZipError([] { CZipFile(L"\\Temp\\missing.zdorix").Open(); }));

    const auto openError = [](const std::string& bytes) {
        WriteFileBytes(kArchive, bytes);
        return ZipError([] { CZipFile(kArchive).Open(); });
    };
    EXPECT_EQ(InvalidFormat(), openError(BuildZip(SkinArchive(), "archive comment").bytes)) << "archive comment";
    EXPECT_EQ(InvalidFormat(), openError(BuildZip({}).bytes)) << "no entries";
    EXPECT_EQ(InvalidFormat(), openError("")) << "empty file";
    EXPECT_EQ(InvalidFormat(), openError(BuildZip({}).bytes.substr(1))) << "shorter than the end record";

    ZipImage image = BuildZip(SkinArchive());
    image.Set("end.directoryOffset", image.Get("end.directoryOffset") + 1);
    EXPECT_EQ(InvalidFormat(), openError(image.bytes)) << "directory offset off by one";
    image.Set("end.directoryOffset", static_cast<uint32_t>(image.bytes.size() + 100));
    EXPECT_EQ(InvalidFormat(), openError(image.bytes)) << "directory offset beyond the end";
    image.Set("end.directoryOffset", 0xFFFFFFFFu);
    EXPECT_EQ(InvalidFormat(), openError(image.bytes)) << "directory offset 0xFFFFFFFF";
}

TEST_F(ZipFileTest, DirectoryWalkEndsAtAnyOtherSignatureAndIgnoresTheRecordCounts)
{
    ZipImage image = BuildZip(SkinArchive());
    image.Set("end.totalRecords", 1);
    image.Set("end.diskRecords", 9);
    image.Set("central[2].signature", 0x12345678);
    WriteFileBytes(kArchive, image.bytes);
    CZipFile zip(kArchive);
    zip.Open();
    EXPECT_EQ(2u, zip.GetEntryCount());
}

TEST_F(ZipFileTest, RecordsReachingPastTheEndAreInvalid)
{
    const auto openError = [](const ZipImage& image) {
        WriteFileBytes(kArchive, image.bytes);
        return ZipError([] { CZipFile(kArchive).Open(); });
    };
    ZipImage image = BuildZip({{"a.txt", "a"}});
    image.Set("central[0].commentLength", 0xFFFF);
    EXPECT_EQ(InvalidFormat(), openError(image)) << "comment past the end";

    // The extra field swallows the end record but for fewer bytes than a signature.
    for (uint32_t extra : {20u, 22u}) {
        image = BuildZip({{"a.txt", "a"}});
        image.Set("central[0].extraLength", extra);
        EXPECT_EQ(InvalidFormat(), openError(image)) << "extra field of " << extra;
    }
    image = BuildZip({{"a.txt", "a"}});
    image.Set("central[0].extraLength", 18);
    EXPECT_EQ(L"<no exception>", openError(image)) << "the end record's last 4 bytes end the walk";
}

TEST_F(ZipFileTest, NamesUpTo259BytesAreReadLongerOnesRefused)
{
    const std::string longest(255, 'n');
    WriteFileBytes(kArchive, BuildZip({{longest + ".txt", "x"}}).bytes);
    CZipFile zip(kArchive);
    zip.Open();
    ASSERT_EQ(1u, zip.GetEntryCount());
    EXPECT_EQ(259u, zip.GetEntry(0)->GetName().size());
    zip.Close();

    WriteFileBytes(kArchive, BuildZip({{"ok", "x"}, {longest + "x.txt", "x"}}).bytes);
    EXPECT_EQ(InvalidFormat(), ZipError([&] { zip.Open(); }));
}

TEST_F(ZipFileTest, NameEndsAtItsFirstZeroByte)
{
    WriteFileBytes(kArchive, BuildZip({{std::string("a.txt\0hidden", 12), "x"}, {"b.txt", "y"}}).bytes);
    CZipFile zip(kArchive);
    zip.Open();
    ASSERT_EQ(2u, zip.GetEntryCount());
    EXPECT_EQ(L"a.txt", zip.GetEntry(0)->GetName());
    EXPECT_EQ(L"b.txt", zip.GetEntry(1)->GetName()) << "the next record is found past the whole name";
}

TEST_F(ZipFileTest, BadLocalHeaderIsFoundOnlyByExtraction)
{
    ZipImage image = BuildZip(SkinArchive());
    image.Set("central[2].localHeaderOffset", image.Get("central[2].localHeaderOffset") + 1);
    image.Set("central[3].localHeaderOffset", static_cast<uint32_t>(image.bytes.size() + 1000));
    image.Set("local[0].extraLength", 0xFFFF);
    WriteFileBytes(kArchive, image.bytes);
    CZipFile zip(kArchive);
    zip.Open();
    ASSERT_EQ(4u, zip.GetEntryCount());
    EXPECT_EQ(InvalidFormat(), ZipError([&] { zip.GetEntry(2)->Extract(L"\\Temp\\vga"); })) << "not a header";
    EXPECT_EQ(InvalidFormat(), ZipError([&] { zip.GetEntry(3)->Extract(L"\\Temp\\qvga"); })) << "beyond the end";
    EXPECT_EQ(InvalidFormat(), ZipError([&] { zip.GetEntry(0)->Extract(L"\\Temp\\profile"); }))
        << "data beyond the end";
    EXPECT_FALSE(FileExists(L"\\Temp\\vga") || FileExists(L"\\Temp\\qvga") || FileExists(L"\\Temp\\profile"));
}

TEST_F(ZipFileTest, ArchiveEndingBeforeTheRecordedSizeLeavesNoOutput)
{
    ZipImage image = BuildZip({{"a.bin", Pattern(300000)}});
    image.Set("central[0].size", 0xFFFFFFFFu);
    WriteFileBytes(kArchive, image.bytes);
    WriteFileBytes(L"\\Temp\\kept.bin", "previous");
    CZipFile zip(kArchive);
    zip.Open();
    EXPECT_EQ(InvalidFormat(), ZipError([&] { zip.GetEntry(0)->Extract(L"\\Temp\\kept.bin"); }));
    EXPECT_EQ("previous", ReadFileBytes(L"\\Temp\\kept.bin")) << "refused before the output was touched";

    // Sizes that reach just one byte past the archive's end.
    zip.Close();
    image = BuildZip({{"a.bin", Pattern(300000)}, {"b", "b"}});
    const uint32_t dataOffset = 30 + 5;
    image.Set("central[0].size", static_cast<uint32_t>(image.bytes.size()) - dataOffset + 1);
    WriteFileBytes(kArchive, image.bytes);
    zip.Open();
    EXPECT_EQ(InvalidFormat(), ZipError([&] { zip.GetEntry(0)->Extract(L"\\Temp\\out.bin"); }));
    EXPECT_FALSE(FileExists(L"\\Temp\\out.bin"));
    image.Set("central[0].size", static_cast<uint32_t>(image.bytes.size()) - dataOffset);
    WriteFileBytes(L"\\Temp\\b.zdorix", image.bytes);
    CZipFile exact(L"\\Temp\\b.zdorix");
    exact.Open();
    exact.GetEntry(0)->Extract(L"\\Temp\\out.bin");
    EXPECT_EQ(image.bytes.substr(dataOffset), ReadFileBytes(L"\\Temp\\out.bin")) << "up to the last byte is fine";
}

TEST_F(ZipFileTest, OutputThatCannotBeCreatedNamesTheOutput)
{
    WriteFileBytes(kArchive, BuildZip(SkinArchive()).bytes);
    CZipFile zip(kArchive);
    zip.Open();
    EXPECT_EQ(CannotOpen(L"\\Temp\\missing\\vga.skn"),
              ZipError([&] { zip.GetEntry(2)->Extract(L"\\Temp\\missing\\vga.skn"); }));
    EXPECT_EQ(CannotOpen(kArchive), ZipError([&] { zip.GetEntry(2)->Extract(kArchive); }))
        << "the archive itself is not writable while open";
    EXPECT_EQ(BuildZip(SkinArchive()).bytes, ReadFileBytes(kArchive));
}

TEST_F(ZipFileTest, ArchiveIsReadableButNotWritableWhileOpen)
{
    WriteFileBytes(kArchive, BuildZip(SkinArchive()).bytes);
    {
        CZipFile zip(kArchive);
        zip.Open();
        CFileHandle reader(::CreateFileW(kArchive, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(reader.IsValid()) << "error " << ::GetLastError();
        CFileHandle writer(::CreateFileW(kArchive, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(writer.IsValid());
    }
    CFileHandle writer(::CreateFileW(kArchive, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(writer.IsValid()) << "destruction closes the archive; error " << ::GetLastError();
}

// Wine maps the host's root as drive Z:.
std::wstring HostPath(const std::wstring& unixPath)
{
    std::wstring path = L"Z:" + unixPath;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

TEST_F(ZipFileTest, ReadsWhatTheProjectsPackerWrites)
{
    const std::wstring source = HostPath(DORIX_PACKED_SOURCE_W);
    CZipFile zip(HostPath(DORIX_PACKED_SAMPLE_W));
    zip.Open();
    EXPECT_EQ(4u, zip.GetEntryCount());
    for (const wchar_t* name : {L"profile.dorix", L"Skins\\qvga.skn", L"Skins\\vga.skn", L"Skins\\old\\a.skn"}) {
        CZipFile::CEntry* entry = zip.FindEntry(name);
        ASSERT_NE(nullptr, entry) << "no entry " << name;
        EXPECT_EQ(0u, entry->GetMethod()) << name;
        EXPECT_FALSE(entry->IsDirectory()) << name;
        entry->Extract(L"\\Temp\\out");
        const std::string expected = ReadFileBytes(source + L"\\" + name);
        EXPECT_EQ(expected, ReadFileBytes(L"\\Temp\\out")) << name;
        EXPECT_EQ(zipwriter::Crc32(expected), entry->GetCrc()) << name;
    }
}

TEST_F(ZipFileTest, WriteFailingPartWayIsReported)
{
    // A pipe whose reader takes the first chunk and part of the second, then goes away:
    // the next write fails, as a full storage card would.
    const std::wstring pipe = L"\\\\.\\pipe\\DorixZipTest";
    CFileHandle server(::CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0,
                                          4096, 0, nullptr));
    ASSERT_TRUE(server.IsValid()) << "error " << ::GetLastError();
    const HANDLE serverHandle = server.Get();
    size_t received = 0;
    std::thread reader([&] {
        ::ConnectNamedPipe(serverHandle, nullptr);
        std::vector<char> buffer(150000);
        DWORD got = 0;
        while (received < buffer.size() &&
               ::ReadFile(serverHandle, buffer.data(), static_cast<DWORD>(buffer.size() - received), &got, nullptr))
            received += got;
        ::DisconnectNamedPipe(serverHandle);
    });
    WriteFileBytes(kArchive, BuildZip({{"big.bin", Pattern(400000)}}).bytes);
    CZipFile zip(kArchive);
    zip.Open();
    const std::wstring message = ZipError([&] { zip.GetEntry(0)->Extract(pipe); });
    reader.join();
    EXPECT_EQ(150000u, received);
    const std::wstring expected = FormatResourceString(IDS_FILE_ERROR, {pipe, L""});
    EXPECT_EQ(expected, message.substr(0, expected.size())) << "got: " << ::testing::PrintToString(message);
}

}  // namespace

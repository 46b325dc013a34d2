// What a packed profile costs: extracting a 64 MB stored entry against CopyFileW of the same
// bytes (goal: within 1.15 times), how much the process's peak working set grows while the
// entry is extracted (goal: under 512 KB, the copy buffer being bounded), and loading a
// profile section of 1,000 commands against reading the same text and splitting it into lines
// (goal: within 10 times), and of 10,000 against 1,000 (goal: within 12 times: linear).
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchHelpers.h"
#include "framework/Error.h"
#include "framework/File.h"
#include "profiles/Profile.h"
#include "profiles/ProfileScript.h"
#include "profiles/ZipFile.h"
#include "state/FileHelpers.h"

namespace {

using bench::Median;
using bench::Seconds;

const wchar_t kFolder[] = L"\\ExtractBench";
const std::wstring kArchive = std::wstring(kFolder) + L"\\big.zdorix";
const std::wstring kPlain = std::wstring(kFolder) + L"\\big.bin";
const std::wstring kExtracted = std::wstring(kFolder) + L"\\extracted.bin";
const std::wstring kCopied = std::wstring(kFolder) + L"\\copied.bin";
const std::wstring kProfile = std::wstring(kFolder) + L"\\commands.dorix";
const std::wstring kLargeProfile = std::wstring(kFolder) + L"\\many commands.dorix";
const char kEntryName[] = "payload/big.bin";
const uint32_t kSize = 64u << 20;
const int kRounds = 15;
const int kCommands = 1000;
const int kManyCommands = 10000;

void Put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The archive and a plain file with the same bytes, written block by block so that the bench
// never holds the 64 MB itself: its peak working set stays what the extraction makes it.
void WriteFiles()
{
    CFile archive(kArchive, CFile::modeWrite | CFile::modeCreate);
    CFile plain(kPlain, CFile::modeWrite | CFile::modeCreate);
    const std::string name = kEntryName;
    std::string local;
    Put32(local, 0x04034b50);
    Put16(local, 10);  // version needed
    Put16(local, 0);   // flags
    Put16(local, 0);   // stored
    Put32(local, 0);   // time and date
    Put32(local, 0);   // crc: the reader does not check it
    Put32(local, kSize);
    Put32(local, kSize);
    Put16(local, static_cast<uint32_t>(name.size()));
    Put16(local, 0);
    local += name;
    archive.Write(local.data(), local.size());
    std::vector<char> block(1u << 20);
    for (uint32_t written = 0; written < kSize; written += static_cast<uint32_t>(block.size())) {
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>(((written + i) * 2654435761u) >> 13);
        archive.Write(block.data(), block.size());
        plain.Write(block.data(), block.size());
    }
    std::string central;
    Put32(central, 0x02014b50);
    Put16(central, 20);
    Put16(central, 10);
    Put16(central, 0);
    Put16(central, 0);
    Put32(central, 0);
    Put32(central, 0);
    Put32(central, kSize);
    Put32(central, kSize);
    Put16(central, static_cast<uint32_t>(name.size()));
    Put16(central, 0);  // extra
    Put16(central, 0);  // comment
    Put16(central, 0);  // disk
    Put16(central, 0);  // internal attributes
    Put32(central, FILE_ATTRIBUTE_ARCHIVE);
    Put32(central, 0);  // local header offset
    central += name;
    const uint32_t centralOffset = static_cast<uint32_t>(local.size()) + kSize;
    std::string end;
    Put32(end, 0x06054b50);
    Put32(end, 0);
    Put16(end, 1);
    Put16(end, 1);
    Put32(end, static_cast<uint32_t>(central.size()));
    Put32(end, centralOffset);
    Put16(end, 0);
    archive.Write(central.data(), central.size());
    archive.Write(end.data(), end.size());
}

void Extract()
{
    CZipFile archive(kArchive);
    archive.Open();
    CZipFile::CEntry* entry = archive.FindEntry(L"payload\\big.bin");
    if (entry == nullptr)
        throw error(L"the entry is missing from the bench's archive");
    entry->Extract(kExtracted);
}

void Copy()
{
    if (!::CopyFileW(kPlain.c_str(), kCopied.c_str(), FALSE))
        throw error(L"CopyFileW failed: " + LastErrorText());
}

size_t PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

// A section of registry writes, numbers and texts in turn, as a large profile has them.
void WriteProfile(const std::wstring& path, int commands)
{
    std::string text = "[Profile]\r\nVersion=1.4.0\r\nAuthor=Bench\r\n[QVGA]\r\n";
    for (int n = 0; n < commands; ++n) {
        text += std::to_string(n) +
                (n % 2 == 0 ? "=RegWriteDWord,HKLM\\Software\\DorixBench\\Written,d" + std::to_string(n) + ",1\r\n"
                            : "=RegWriteString,HKLM\\Software\\DorixBench\\Written,s" + std::to_string(n) +
                                  ",%PROFILE_NAME% in %WINDOWS%\r\n");
    }
    CFile file(path, CFile::modeWrite | CFile::modeCreate);
    file.Write(text.data(), text.size());
}

// Seconds to load the section of the profile at path, which must hold commands commands.
double LoadSection(const std::wstring& path, int commands)
{
    size_t loaded = 0;
    const double seconds = Seconds([&] {
        CProfile profile(path);
        CProfileScript script(&profile);
        script.Load(CVideoMode(false, 0));
        loaded = script.GetCommandCount();
    });
    if (loaded != static_cast<size_t>(commands))
        throw error(L"the bench's profile section did not load whole");
    return seconds;
}

// What any loader does at least: the bytes read and split into lines.
size_t ReadLines()
{
    CFile file(kProfile, CFile::modeRead);
    const std::vector<char> bytes = file.ReadAll();
    size_t lines = 0;
    std::string line;
    for (char c : bytes) {
        if (c == '\n') {
            ++lines;
            line.clear();
        } else {
            line += c;
        }
    }
    return lines;
}

void Ratio(const char* what, double value, double base, const char* goal)
{
    std::printf("  %-34s %8.1f ms  (baseline %8.1f ms, ratio %5.2f%s)\n", what, value * 1000, base * 1000,
                value / base, goal);
}

// The peak working set's growth over one extraction, in KB, measured in a process of its own
// whose peak nothing else has raised before (writing the files did, in this one).
int ExtractionGrowthInChild()
{
    wchar_t self[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    // As the device starts a program: by its image, the arguments alone, no startup info.
    std::wstring commandLine = L"extract-once";
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(self, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info))
        throw error(L"cannot start " + std::wstring(self) + L": " + LastErrorText());
    ::CloseHandle(info.hThread);
    ::WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    if (code == 0xFFFFFFFF)
        throw error(L"the extraction in the child process failed");
    return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!bench::IsDeviceDriveCurrent())
        return 1;
    if (argc > 1 && std::string(argv[1]) == "extract-once") {
        try {
            const size_t before = PeakWorkingSet();
            Extract();
            return static_cast<int>((PeakWorkingSet() - before) / 1024);
        } catch (...) {
            return -1;
        }
    }
    int status = 0;
    DeleteTree(kFolder);
    try {
        if (!::CreateDirectoryW(kFolder, nullptr))
            throw error(L"cannot create " + std::wstring(kFolder));
        WriteFiles();
        WriteProfile(kProfile, kCommands);
        WriteProfile(kLargeProfile, kManyCommands);

        const int growth = ExtractionGrowthInChild();
        Copy();

        std::vector<double> extract, copy;
        for (int round = 0; round < kRounds; ++round) {
            // Alternating the order keeps the file cache from favouring either side.
            if (round % 2 == 0) {
                copy.push_back(Seconds(Copy));
                extract.push_back(Seconds(Extract));
            } else {
                extract.push_back(Seconds(Extract));
                copy.push_back(Seconds(Copy));
            }
        }

        std::vector<double> load, lines, largeLoad;
        for (int round = 0; round < kRounds; ++round) {
            lines.push_back(Seconds(ReadLines));
            load.push_back(LoadSection(kProfile, kCommands));
            largeLoad.push_back(LoadSection(kLargeProfile, kManyCommands));
        }

        std::printf("extraction: one stored entry of 64 MB, %d rounds, medians\n", kRounds);
        Ratio("entry extracted vs CopyFileW", Median(extract), Median(copy), ", goal <= 1.15");
        std::printf("  %-34s %8d KB  (goal < 512 KB)\n", "peak working set growth", growth);
        std::printf("profile: a section of %d commands, %d rounds, medians\n", kCommands, kRounds);
        Ratio("section loaded vs text read", Median(load), Median(lines), ", goal <= 10");
        std::printf("profile: a section of %d commands against %d\n", kManyCommands, kCommands);
        Ratio("10,000 loaded vs 1,000 loaded", Median(largeLoad), Median(load), ", goal <= 12");
    } catch (const error& e) {
        std::fprintf(stderr, "extraction bench failed: %ls\n", e.GetMessage().c_str());
        status = 1;
    }
    DeleteTree(kFolder);
    return status;
}

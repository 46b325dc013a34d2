// Replacing a 64 MB file through CFileReplace against a plain CopyFileW of the same file over
// an existing copy: the temporary names, the two moves and the deletion of the displaced
// file should cost little beside the copy itself.
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchHelpers.h"
#include "core/ModeSwitch.h"
#include "framework/Error.h"
#include "state/FileHelpers.h"
#include "state/FileReplace.h"

namespace {

using bench::Median;
using bench::Seconds;

const wchar_t kFolder[] = L"\\ReplaceBench";
const std::wstring kSource = std::wstring(kFolder) + L"\\big.bin.VGA";
const std::wstring kCopied = std::wstring(kFolder) + L"\\copied.bin";
const std::wstring kReplaced = std::wstring(kFolder) + L"\\big.bin";
const size_t kSize = 64u << 20;
const int kRounds = 15;

bool WriteSource()
{
    HANDLE file = ::CreateFileW(kSource.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> block(1u << 20);
    bool ok = true;
    for (size_t written = 0; ok && written < kSize; written += block.size()) {
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>((written + i) * 2654435761u >> 13);
        DWORD done = 0;
        ok = ::WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &done, nullptr) && done == block.size();
    }
    ::CloseHandle(file);
    return ok;
}

}  // namespace

int main()
{
    DeleteTree(kFolder);
    if (!::CreateDirectoryW(kFolder, nullptr) || !WriteSource()) {
        std::fprintf(stderr, "cannot create the 64 MB source file in %ls\n", kFolder);
        return 1;
    }
    // Both targets exist before the first timed round, as a live file does; this also brings
    // the source into the file cache.
    ::CopyFileW(kSource.c_str(), kCopied.c_str(), FALSE);
    ::CopyFileW(kSource.c_str(), kReplaced.c_str(), FALSE);

    // Nobody to free held files: the bench's files are held by no program.
    CModeSwitch session;
    std::vector<double> copy, replace;
    int status = 0;
    try {
        for (int round = 0; round < kRounds; ++round) {
            // Alternating the order keeps the file cache from favouring either side.
            const auto copyRound = [&] {
                copy.push_back(Seconds([] { ::CopyFileW(kSource.c_str(), kCopied.c_str(), FALSE); }));
            };
            const auto replaceRound = [&] {
                replace.push_back(Seconds([&] { CFileReplace(kSource, kReplaced).Replace(session); }));
            };
            if (round % 2 == 0) {
                copyRound();
                replaceRound();
            } else {
                replaceRound();
                copyRound();
            }
        }
        const double copyMedian = Median(copy);
        const double replaceMedian = Median(replace);
        std::printf("64 MB, %d rounds\n", kRounds);
        std::printf("CopyFileW           median %8.1f ms\n", copyMedian * 1000);
        std::printf("CFileReplace        median %8.1f ms\n", replaceMedian * 1000);
        std::printf("ratio replace/copy         %8.2f (goal <= 1.10)\n", replaceMedian / copyMedian);
    } catch (const error& e) {
        std::fprintf(stderr, "replace failed: %ls\n", e.GetMessage().c_str());
        status = 1;
    }
    DeleteTree(kFolder);
    return status;
}

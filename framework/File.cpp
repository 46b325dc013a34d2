#include "framework/File.h"
#include <algorithm>
#include "framework/ResourceString.h"
#include "framework/StandardIds.h"

CFileException::CFileException(std::wstring fileName, DWORD systemError)
    : error(FormatResourceString(IDS_FILE_ERROR, {fileName, SystemErrorText(systemError)})),
      m_fileName(std::move(fileName)),
      m_systemError(systemError)
{
}

void CFile::Open(const std::wstring& path, unsigned flags)
{
    DWORD access = GENERIC_READ;
    if (flags & modeWrite)
        access = GENERIC_WRITE;
    else if (flags & modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (flags & shareExclusive)
        share = 0;
    else if (flags & shareDenyWrite)
        share = FILE_SHARE_READ;
    m_path = path;
    // A file to be created is first asked for as a new one: one opened with truncation, even
    // when it did not exist, has the host's file system start writing all of it out while it
    // is closed, and the caller waits for that.
    const auto open = [&](DWORD disposition) {
        return CFileHandle(::CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                         nullptr));
    };
    CFileHandle h = open((flags & modeCreate) ? CREATE_NEW : OPEN_EXISTING);
    if (!h && (flags & modeCreate) && ::GetLastError() == ERROR_FILE_EXISTS)
        h = open(CREATE_ALWAYS);
    if (!h)
        Fail();
    m_handle = std::move(h);
}

void CFile::Fail() const
{
    throw CFileException(m_path, ::GetLastError());
}

size_t CFile::Read(void* buffer, size_t count)
{
    size_t total = 0;
    auto* p = static_cast<char*>(buffer);
    while (total < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(m_handle.Get(), p + total, chunk, &got, nullptr))
            Fail();
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

void CFile::Write(const void* buffer, size_t count)
{
    size_t total = 0;
    const auto* p = static_cast<const char*>(buffer);
    while (total < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
        DWORD put = 0;
        if (!::WriteFile(m_handle.Get(), p + total, chunk, &put, nullptr))
            Fail();
        if (put == 0)
            throw CFileException(m_path, ERROR_WRITE_FAULT);
        total += put;
    }
}

uint64_t CFile::Seek(int64_t offset, DWORD origin)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(m_handle.Get(), distance, &position, origin))
        Fail();
    return static_cast<uint64_t>(position.QuadPart);
}

uint64_t CFile::GetLength() const
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_handle.Get(), &size))
        Fail();
    return static_cast<uint64_t>(size.QuadPart);
}

std::vector<char> CFile::ReadAll()
{
    // Sized from the file's length and read in one call: growing the buffer chunk by chunk
    // copies a large file's bytes over and over. What the file gains meanwhile follows.
    const uint64_t position = Seek(0, FILE_CURRENT);
    const uint64_t length = GetLength();
    std::vector<char> bytes(length > position ? static_cast<size_t>(length - position) : 0);
    bytes.resize(Read(bytes.data(), bytes.size()));
    char chunk[65536];
    for (;;) {
        const size_t got = Read(chunk, sizeof chunk);
        if (got == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

void CFile::Close()
{
    m_handle.Reset();
}

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

// The low half of a position or size is all ones both for a failure and for a value that
// happens to end so; only the last error tells them apart, cleared before the call for that.
uint64_t CFile::Seek(int64_t offset, DWORD origin)
{
    LONG high = static_cast<LONG>(offset >> 32);
    ::SetLastError(NO_ERROR);
    const DWORD low = ::SetFilePointer(m_handle.Get(), static_cast<LONG>(offset & 0xFFFFFFFF), &high, origin);
    if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR)
        Fail();
    return static_cast<uint64_t>(static_cast<DWORD>(high)) << 32 | low;
}

uint64_t CFile::GetLength() const
{
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    const DWORD low = ::GetFileSize(m_handle.Get(), &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
        Fail();
    return static_cast<uint64_t>(high) << 32 | low;
}

std::vector<char> CFile::ReadAll()
{
    // Sized from the file's length and read in one call: growing the buffer chunk by chunk
    // copies a large file's bytes over and over. The one byte over tells whether the file
    // gained any meanwhile; what it gained follows in the same buffer, grown to twice its size
    // as often as it fills, rather than through a block on the stack, which a CE thread's
    // 64 KB could not hold.
    const uint64_t position = Seek(0, FILE_CURRENT);
    const uint64_t length = GetLength();
    std::vector<char> bytes((length > position ? static_cast<size_t>(length - position) : 0) + 1);
    size_t total = Read(bytes.data(), bytes.size());
    while (total == bytes.size()) {
        bytes.resize(bytes.size() * 2);
        total += Read(bytes.data() + total, bytes.size() - total);
    }
    bytes.resize(total);
    return bytes;
}

void CFile::Close()
{
    m_handle.Reset();
}

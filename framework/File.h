#pragma once
// The framework's file object: a Win32 file handle opened in one of the modes the program
// uses, with failures raised as CFileException.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "framework/Error.h"
#include "framework/Handle.h"

// A file that could not be opened, read or written. Its message names the file and says what
// the system reported; the name and the system's code stay at hand for callers that react.
class CFileException : public error {
public:
    CFileException(std::wstring fileName, DWORD systemError);
    const std::wstring& GetFileName() const { return m_fileName; }
    DWORD GetSystemError() const { return m_systemError; }

private:
    std::wstring m_fileName;
    DWORD m_systemError;
};

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0,
        modeWrite = 0x1,
        modeReadWrite = 0x2,
        modeCreate = 0x1000,    // create, truncating an existing file
        shareDenyWrite = 0x20,  // others may read only
        shareDenyNone = 0x40,   // others may read and write
        shareExclusive = 0x10,  // nobody else may open it
    };

    CFile() = default;
    CFile(const std::wstring& path, unsigned flags) { Open(path, flags); }
    CFile(CFile&&) = default;
    CFile& operator=(CFile&&) = default;

    // Raises CFileException when the file cannot be opened.
    void Open(const std::wstring& path, unsigned flags);
    bool IsOpen() const { return m_handle.IsValid(); }
    const std::wstring& GetFilePath() const { return m_path; }

    // Reads up to count bytes; returns how many were read (0 at the end of the file).
    size_t Read(void* buffer, size_t count);
    // Writes all count bytes or raises CFileException.
    void Write(const void* buffer, size_t count);
    uint64_t Seek(int64_t offset, DWORD origin);
    uint64_t GetLength() const;
    // Reads the whole rest of the file.
    std::vector<char> ReadAll();
    void Close();

private:
    [[noreturn]] void Fail() const;
    CFileHandle m_handle;
    std::wstring m_path;
};

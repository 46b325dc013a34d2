#pragma once
// Reads the packed profiles: a zip archive without an archive comment whose entries are
// stored uncompressed. Lists the entries from the central directory, finds one by name and
// copies an entry's bytes into a file. Every offset and length taken from the archive is
// checked against the file's length before it is used, so a damaged or hostile archive ends
// in "invalid file format" rather than in a read outside the file or an endless copy.
#include <cstdint>
#include <string>
#include <vector>
#include "framework/Error.h"
#include "framework/File.h"
#include "state/ColArray.h"

class CZipFile {
public:
    class CZipException : public error {
    public:
        using error::error;
    };

    class CEntry {
    public:
        explicit CEntry(CZipFile* owner) : m_pOwner(owner) {}
        CEntry(const CEntry&) = delete;
        CEntry& operator=(const CEntry&) = delete;

        // Reads the central directory record whose signature has just been read and leaves
        // the archive at the next record's signature.
        void ReadRecord();
        // Positions the archive at the entry's data; the offset is found once, from the
        // local header's own name and extra field lengths.
        void SeekData();
        // Writes the entry's bytes into path, creating or truncating it. On any failure the
        // output file is removed, so an existing output always holds the whole entry.
        void Extract(const std::wstring& path);
        // The entry's bytes, for a small entry read whole into memory.
        std::vector<char> Read();
        bool IsDirectory() const { return (m_dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

        const std::wstring& GetName() const { return m_strName; }
        uint32_t GetSize() const { return m_dwSize; }
        uint16_t GetMethod() const { return m_wMethod; }
        uint32_t GetAttributes() const { return m_dwAttributes; }
        uint32_t GetCrc() const { return m_dwCrc; }
        uint16_t GetTime() const { return m_wTime; }
        uint16_t GetDate() const { return m_wDate; }
        uint32_t GetLocalHeaderOffset() const { return m_dwLocalHeaderOffset; }

    private:
        // Positions the archive at the entry's data after checking that it can be read whole.
        void SeekWholeData();
        void CopyData(CFile& output);

        CZipFile* m_pOwner;
        uint32_t m_dwLocalHeaderOffset = 0;
        uint32_t m_dwDataOffset = 0;
        std::wstring m_strName;
        uint16_t m_wMethod = 0;
        uint32_t m_dwAttributes = 0;
        uint16_t m_wTime = 0;
        uint16_t m_wDate = 0;
        uint32_t m_dwCrc = 0;
        uint32_t m_dwSize = 0;
    };

    explicit CZipFile(const std::wstring& path) : m_strPath(path) {}
    CZipFile(const CZipFile&) = delete;
    CZipFile& operator=(const CZipFile&) = delete;
    virtual ~CZipFile() { Close(); }

    // Opens the archive (others may read it but not write it until Close) and reads its
    // central directory. A failed Open may leave the file open with some entries read.
    void Open();
    void Close() noexcept;

    // The first entry in central-directory order whose name equals name ignoring case; "/"
    // in stored names reads as "\". Null when there is none.
    CEntry* FindEntry(const std::wstring& name) const;
    size_t GetEntryCount() const { return m_entries.GetSize(); }
    CEntry* GetEntry(size_t index) const { return m_entries.GetAt(index); }

    const std::wstring& GetPath() const { return m_strPath; }
    bool IsOpen() const { return m_bOpen; }

private:
    [[noreturn]] void ThrowInvalidFormat() const;
    // Reads exactly count bytes at the current position; fewer bytes left in the file is
    // an invalid format, a failing read is reported with the system's reason.
    void ReadExact(void* buffer, size_t count);
    uint32_t ReadU32();
    // Moves to an absolute position, which must lie within the file.
    void SeekTo(uint64_t position);
    uint64_t Tell();

    CFile m_file;
    bool m_bOpen = false;
    std::wstring m_strPath;
    CTypedColArray<CEntry> m_entries;
    uint64_t m_qwLength = 0;
};

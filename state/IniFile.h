#pragma once
// Reads and edits a small INI-style text file in place. The whole file is held as one text, in
// its own bytes (the system's code page): names are turned into those bytes to be searched for
// and values into wide text as they are read. A value is found by searching for fixed patterns
// and replaced character for character, so spacing, comments, line ends and every other
// section stay exactly as they were. Keys and sections are never added: writing a key the file
// lacks is an error. Changes reach the disk only when the object is closed, through
// "<path>.tmp", and only if something changed.
#include <cstdint>
#include <string>
#include <vector>
#include "framework/Error.h"

class CIniFile {
public:
    class CIniFileException : public error {
    public:
        using error::error;
    };

    // Reads the file; raises CFileException when it cannot be opened or read.
    explicit CIniFile(const std::wstring& path);
    // The file's bytes already read, from path or from elsewhere (an archive entry); a change
    // is written to path.
    CIniFile(const std::wstring& path, const std::vector<char>& bytes);
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;
    // Writes back if modified and not yet closed; a failure here is swallowed, since a
    // destructor may run during unwinding. The normal path calls Close.
    virtual ~CIniFile();

    bool HasSection(const std::wstring& section) const;
    bool HasKey(const std::wstring& section, const std::wstring& key) const;
    // The value with blanks trimmed at both ends; defaultValue when it cannot be found.
    std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& defaultValue = std::wstring()) const;
    // Replaces the value's characters; CIniFileException "CIniFile::WriteString failed: Key
    // not found" when there is no such value, the content unchanged.
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);

    // Writes the file back if modified; raises CFileException when that fails (the target is
    // then left as it was, with its attributes). Later calls do nothing.
    void Close();

    bool IsModified() const { return m_bModified; }

    // Where names stand in the text, for reports about it: lines count from 1.
    struct CLine {
        std::wstring name;
        int line;
    };
    // Every section header in text order, a name that repeats as often as it stands there.
    std::vector<CLine> GetSections() const;
    // The keys of the lines from the section's first header to the next header.
    std::vector<CLine> GetKeys(const std::wstring& section) const;
    // The line of the value ReadString reads, which may lie below later headers; 0 for none.
    int GetLine(const std::wstring& section, const std::wstring& key) const;
    // False when a zero byte ended the text with more than zero bytes after it: a file in
    // another encoding, or no text at all, of which only the start is read.
    bool IsText() const { return m_tail.find_first_not_of('\0') == std::string::npos; }

private:
    // A slot of a key index table: a line's position plus one (0: free) and the hash of the
    // name it holds.
    struct CKeySlot {
        uint32_t line = 0;
        uint32_t hash = 0;
    };
    // Where the first key line of each form starts at or after one position (a section's
    // header): the same answers as searching the text from there, built in one pass so that
    // reading a section key by key stays linear in its size.
    struct CKeyIndex {
        // The header's position, and the section's name once a lookup found it there.
        size_t from = std::string::npos;
        std::wstring section;
        // Open hash tables of line positions plus one (0: free slot), keyed by the name each
        // line holds in the text itself: no name is copied, and a large section costs two
        // allocations rather than one per line. Each slot keeps its name's hash, so that a
        // probe reads the text only at a line that may hold the name.
        std::vector<CKeySlot> quoted;
        std::vector<CKeySlot> bare;
    };

    // The value's bytes are content[first, last) when found.
    bool FindValue(const std::wstring& section, const std::wstring& key, size_t& first, size_t& last) const;
    // The position of the first key line for key (in the text's bytes) at or after header,
    // npos for none; start is where its value begins.
    size_t FindKeyLine(size_t header, const std::string& key, size_t& start) const;
    const CKeyIndex& IndexFrom(size_t header) const;
    // The name a key line holds, as content[first, last); false when the line holds none of
    // that form.
    using NameOf = bool (CIniFile::*)(size_t line, size_t& first, size_t& last) const;
    bool BareName(size_t line, size_t& first, size_t& last) const;
    bool QuotedName(size_t line, size_t& first, size_t& last) const;
    // The slot of the table that holds the line of the name key, or the free slot where it
    // would go. The table must not be empty.
    size_t Slot(const std::vector<CKeySlot>& table, NameOf name, const char* key, size_t length) const;
    void WriteBack();
    // The line number of a position in the content.
    int LineAt(size_t position) const;
    // Appends the file's next bytes: text up to the first zero byte, the tail after it.
    void AddBytes(const char* bytes, size_t count);

    std::wstring m_strPath;
    // The text's bytes after a line feed, which lets a header or key on the first line match
    // like any other. Each character a search looks for (line ends, "=", quotes, "//" and
    // blanks) is below 0x40, so it never stands for the second byte of a character in a
    // double-byte code page: a search that starts at a line feed stays in step with the text.
    std::string m_strContent;
    // Bytes after a zero byte in the file: not part of the text, but kept on write-back.
    std::string m_tail;
    bool m_bModified = false;
    // Whether a zero byte has ended the text.
    bool m_bTextEnded = false;
    // Whether any line starts with a quote: without one, the search for a quoted key, which
    // runs to the end of the text, can be left out.
    bool m_bQuotedKeys = false;
    // Built on the first key lookup after a header; a change of the content drops it.
    mutable CKeyIndex m_index;
};

#pragma once
// What a preview of a switch finds, line by line in the order the switch would act: every
// change with where it is, the value it has now and the value it would get; what the switch
// would show or report; and what would make it fail. The switch keeps writing through the
// session as always; with a record, the session's registry and file operations land here.
#include <string>
#include <vector>
#include "state/Registry.h"

class CSwitchRecord {
public:
    enum class Kind { heading, change, note, failure };
    struct CLine {
        Kind kind;
        std::wstring text;
    };

    // A line, below the lines it belongs to by the current depth.
    void Add(Kind kind, const std::wstring& text);
    // While one lives, the lines added belong to the last line before it (a profile's
    // commands). Nothing without a record.
    class CIndented {
    public:
        explicit CIndented(CSwitchRecord* record) : m_pRecord(record)
        {
            if (m_pRecord)
                ++m_pRecord->m_nDepth;
        }
        ~CIndented()
        {
            if (m_pRecord)
                --m_pRecord->m_nDepth;
        }
        CIndented(const CIndented&) = delete;
        CIndented& operator=(const CIndented&) = delete;

    private:
        CSwitchRecord* m_pRecord;
    };

    // A registry value's change: "HKLM\key, "name": now -> then"; a refused one is a failure.
    void AddRegistryChange(const CRegistry::CKeyCache::CChange& change);

    const std::vector<CLine>& GetLines() const { return m_lines; }
    size_t CountOf(Kind kind) const;
    // The lines as the report's text, without the headings of steps that would do nothing.
    std::vector<std::wstring> GetText() const;

    // A value's data as the report shows it: text in quotes, a number, bytes in hex, or "(none)".
    static std::wstring DataText(bool exists, DWORD type, const std::vector<BYTE>& data);
    // "HKLM", "HKCU"... for a stored root.
    static std::wstring RootName(uint32_t root);

private:
    std::vector<CLine> m_lines;
    int m_nDepth = 0;
};

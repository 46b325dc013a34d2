#pragma once
// Profiles on a fresh device: plain ones written as text, packed ones built byte by byte.
#include <string>
#include <vector>
#include "SessionFixture.h"
#include "ZipWriter.h"
#include "state/FileHelpers.h"

class ProfileTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        ASSERT_TRUE(CreatePath(L"\\profiles"));
    }

    // A profile text with the version line and the given sections.
    static std::string Text(const std::string& sections, const std::string& version = "1.4.0")
    {
        return "[Profile]\r\nVersion=" + version + "\r\nAuthor=Tester\r\n" + sections;
    }
    static void WritePlain(const std::wstring& path, const std::string& text) { WriteFileBytes(path, text); }
    static void WritePacked(const std::wstring& path, const std::vector<ZipEntryDef>& entries)
    {
        WriteFileBytes(path, BuildZip(entries).bytes);
    }
    // The files left in the temporary folder: a profile run must leave none.
    static std::vector<std::wstring> TempFiles()
    {
        std::vector<std::wstring> names;
        FindFiles(L"\\Temp", L"*", false, names);
        return names;
    }
};

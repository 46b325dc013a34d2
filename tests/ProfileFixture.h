#pragma once
// Profiles on a fresh device: plain ones written as text, packed ones built byte by byte.
#include <string>
#include <vector>
#include "DeviceFixture.h"
#include "ZipWriter.h"
#include "core/ModeSwitch.h"
#include "state/FileHelpers.h"

class ProfileTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        ResetModeSwitch();
        ASSERT_TRUE(CreatePath(L"\\profiles"));
    }
    void TearDown() override
    {
        GetModeSwitch().GetUndoBuffer().RemoveAll();
        DeviceTest::TearDown();
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

#pragma once
// Every test starts on a fresh device: an empty device drive holding only the folders every
// device has, and none of the device's registry keys. Message boxes go to the test, which
// answers them; a box the test did not expect fails it.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>
#include "framework/MessageBox.h"

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The next box shown is answered with result; every box shown is recorded in m_boxes.
    void AnswerNextBox(int result) { m_answers.push_back(result); }
    std::vector<MessageBoxRequest> m_boxes;

private:
    std::deque<int> m_answers;
    MessageBoxHandler m_previous;
};

// Device file helpers for tests (device paths, on the device drive).
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);  // "<missing>" when it cannot be read
bool FileExists(const std::wstring& path);
// Starts a program as the device starts one: by its image name, with the arguments alone as its
// command line and no start-up information. False, with the last error, when it did not start.
bool StartProgram(const std::wstring& image, const std::wstring& arguments, PROCESS_INFORMATION& info);

// Registry helpers that bypass CRegistry, so that its tests check it against the system.
HKEY Root(uint32_t root);
void SetRawValue(uint32_t root, const std::wstring& key, const std::wstring& name, DWORD type,
                 const std::vector<BYTE>& data);
// Type and bytes of a value; false when it is missing.
bool GetRawValue(uint32_t root, const std::wstring& key, const std::wstring& name, DWORD& type,
                 std::vector<BYTE>& data);

// While one lives, the registry refuses every write to the key (created if missing) and to
// keys below it, as a full or damaged store does; reads and deletion of the key still work.
class CRefusedWrites {
public:
    CRefusedWrites(uint32_t root, std::wstring key);
    ~CRefusedWrites();
    CRefusedWrites(const CRefusedWrites&) = delete;
    CRefusedWrites& operator=(const CRefusedWrites&) = delete;

private:
    uint32_t m_root;
    std::wstring m_key;
};

// A file of the build tree (relative path with "/"), as the test program sees it.
std::wstring BuildFile(const std::wstring& relative);

// Puts the factory driver table file of the default device image on the device.
void InstallSampleDriverTable();
// The factory driver table file's bytes.
std::string SampleDriverTable();

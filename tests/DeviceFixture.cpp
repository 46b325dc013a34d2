#include "DeviceFixture.h"
#include <sddl.h>
#include "framework/File.h"
#include "state/FileHelpers.h"
#include "state/Registry.h"

namespace {

// Keys of the device that the program reads or writes, and the scratch keys of the tests.
// Wine's own keys are never touched.
struct DeviceKey {
    uint32_t root;
    const wchar_t* path;
};
const DeviceKey kDeviceKeys[] = {
    {CRegistry::kCurrentUser, L"Software\\Dorix"},
    {CRegistry::kCurrentUser, L"ControlPanel"},
    {CRegistry::kCurrentUser, L"Software\\Microsoft\\Today"},
    {CRegistry::kCurrentUser, L"Software\\Microsoft\\Inbox"},
    {CRegistry::kCurrentUser, L"Software\\DorixTest"},
    {CRegistry::kLocalMachine, L"System\\GDI"},
    {CRegistry::kLocalMachine, L"SYSTEM\\GWE"},
    {CRegistry::kLocalMachine, L"init"},
    {CRegistry::kLocalMachine, L"HARDWARE\\DEVICEMAP\\TOUCH"},
    {CRegistry::kLocalMachine, L"Software\\TOSHIBA"},
    {CRegistry::kLocalMachine, L"Software\\Microsoft\\Color"},
    {CRegistry::kLocalMachine, L"Software\\DorixTest"},
};

// Deletes everything below folder, read-only files at any depth included.
void RemoveAllBelow(const std::wstring& folder)
{
    std::vector<std::wstring> entries;
    FindFiles(folder, L"*", true, entries);
    for (const std::wstring& entry : entries) {
        ::SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (IsDirectory(entry)) {
            RemoveAllBelow(entry);
            ::RemoveDirectoryW(entry.c_str());
        } else {
            ::DeleteFileW(entry.c_str());
        }
    }
}

void ResetDeviceDrive()
{
    wchar_t current[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, current);
    // The runner makes the device drive current; refuse to wipe anything else.
    ASSERT_STREQ(L"D:\\", current) << "tests must run with the device drive current";
    RemoveAllBelow(L"\\");
    std::vector<std::wstring> entries;
    FindFiles(L"\\", L"*", true, entries);
    ASSERT_TRUE(entries.empty()) << "device drive could not be emptied";
    for (const wchar_t* folder : {L"\\Windows", L"\\Temp"})
        ASSERT_TRUE(::CreateDirectoryW(folder, nullptr)) << "cannot create " << folder;
}

void ResetDeviceRegistry()
{
    for (const DeviceKey& key : kDeviceKeys)
        ::RegDeleteTreeW(Root(key.root), key.path);
    // HKLM\HARDWARE is volatile under Wine: its keys can only be created volatile. The device
    // always has this one; the program opens and writes it like any other.
    HKEY touch = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(Root(CRegistry::kLocalMachine), L"HARDWARE\\DEVICEMAP\\TOUCH", 0,
                                               nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &touch,
                                               nullptr));
    ::RegCloseKey(touch);
}

}  // namespace

void DeviceTest::SetUp()
{
    ResetDeviceDrive();
    ResetDeviceRegistry();
    m_previous = SetMessageBoxHandler([this](const MessageBoxRequest& box) {
        m_boxes.push_back(box);
        if (m_answers.empty()) {
            ADD_FAILURE() << "unexpected message box: " << ::testing::PrintToString(box.text);
            return IDCANCEL;
        }
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

void DeviceTest::TearDown()
{
    SetMessageBoxHandler(std::move(m_previous));
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " expected message box(es) not shown";
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    CFile file(path, CFile::modeWrite | CFile::modeCreate);
    file.Write(bytes.data(), bytes.size());
}

std::string ReadFileBytes(const std::wstring& path)
{
    try {
        CFile file(path, CFile::modeRead);
        const std::vector<char> bytes = file.ReadAll();
        return std::string(bytes.begin(), bytes.end());
    } catch (const CFileException&) {
        return "<missing>";
    }
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool StartProgram(const std::wstring& image, const std::wstring& arguments, PROCESS_INFORMATION& info)
{
    std::wstring commandLine = arguments;
    return ::CreateProcessW(image.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                            &info)
        != FALSE;
}

HKEY Root(uint32_t root)
{
    return CRegistry::RootKey(root);
}

void SetRawValue(uint32_t root, const std::wstring& key, const std::wstring& name, DWORD type,
                 const std::vector<BYTE>& data)
{
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(Root(root), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                                               nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(h, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())));
    ::RegCloseKey(h);
}

bool GetRawValue(uint32_t root, const std::wstring& key, const std::wstring& name, DWORD& type,
                 std::vector<BYTE>& data)
{
    HKEY h = nullptr;
    if (::RegOpenKeyExW(Root(root), key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG result = ::RegQueryValueExW(h, name.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data.resize(size);
        result = ::RegQueryValueExW(h, name.c_str(), nullptr, &type, data.data(), &size);
    }
    ::RegCloseKey(h);
    return result == ERROR_SUCCESS;
}

namespace {
// Wine maps the host's root as drive Z:.
std::wstring HostPath(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return L"Z:" + path;
}
}  // namespace

std::wstring BuildFile(const std::wstring& relative)
{
    return HostPath(DORIX_BINARY_DIR_W L"/" + relative);
}

std::string SampleDriverTable()
{
    const std::string bytes = ReadFileBytes(HostPath(DORIX_SOURCE_DIR_W L"/device/images/e805/files/Windows/atihwtbl0.txt"));
    EXPECT_NE("<missing>", bytes) << "sample driver table not found";
    return bytes;
}

void InstallSampleDriverTable()
{
    WriteFileBytes(L"\\Windows\\atihwtbl0.txt", SampleDriverTable());
}

namespace {

// Gives the key the access an SDDL text names for everybody.
void SetKeyAccess(uint32_t root, const std::wstring& key, const wchar_t* sddl)
{
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(Root(root), key.c_str(), 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr,
                                               &h, nullptr));
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, descriptor));
    ::LocalFree(descriptor);
    ::RegCloseKey(h);
}

}  // namespace

// Read, delete and change the access list: nothing else.
CRefusedWrites::CRefusedWrites(uint32_t root, std::wstring key) : m_root(root), m_key(std::move(key))
{
    SetKeyAccess(m_root, m_key, L"D:P(A;OICI;KRWDSD;;;WD)");
}

CRefusedWrites::~CRefusedWrites()
{
    SetKeyAccess(m_root, m_key, L"D:P(A;OICI;KA;;;WD)");
}

#include "state/FileHelpers.h"
#include "framework/CeApi.h"
#include "framework/File.h"
#include "framework/Handle.h"
#include "platform/DevicePaths.h"

namespace {

bool IsDotEntry(const WIN32_FIND_DATAW& data)
{
    // The device's enumeration never yields these; Wine's does.
    return wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0;
}

bool IsFolder(const WIN32_FIND_DATAW& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Calls visit for every entry of folder\*.* but "." and ".."; stops when visit returns false.
// Returns false when visit stopped the enumeration.
template <typename Visit>
bool ForEachEntry(const std::wstring& folder, Visit visit)
{
    WIN32_FIND_DATAW data;
    CFindHandle find(::FindFirstFileW((folder + L"\\*.*").c_str(), &data));
    if (!find)
        return true;
    do {
        if (!IsDotEntry(data) && !visit(data))
            return false;
    } while (::FindNextFileW(find.Get(), &data));
    return true;
}

}  // namespace

bool FindFile(const std::wstring& path, WIN32_FIND_DATAW& data)
{
    CFindHandle find(::FindFirstFileW(path.c_str(), &data));
    return find.IsValid();
}

namespace {
// The attributes of what the path names, INVALID_FILE_ATTRIBUTES for nothing. A path with
// wildcards names what the system's find-first matches. The find-first fails for a folder
// named with a trailing backslash; such a path still names the folder. A plain path asks
// for the attributes alone: on the desktop a find-first reads the whole folder, many times
// the cost.
DWORD AttributesOf(const std::wstring& path)
{
    const std::wstring name = path.size() > 1 ? RemoveBackslash(path) : path;
    if (name.find_first_of(L"*?") == std::wstring::npos)
        return ::GetFileAttributesW(name.c_str());
    WIN32_FIND_DATAW data;
    return FindFile(name, data) ? data.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}
}  // namespace

bool Exists(const std::wstring& path)
{
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::wstring& path)
{
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CopyOneFile(const std::wstring& source, const std::wstring& destination, bool newOnly)
{
    // Attributes, time and size alone: the full file information also asks for the volume's
    // serial number, which costs more than copying a small file.
    const DWORD attributes = ::GetFileAttributesW(source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const CFileHandle from(::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    FILETIME written{};
    DWORD sizeHigh = 0;
    if (!from || !::GetFileTime(from.Get(), nullptr, nullptr, &written))
        return false;
    ::SetLastError(NO_ERROR);
    const DWORD sizeLow = ::GetFileSize(from.Get(), &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
        return false;
    const uint64_t size = static_cast<uint64_t>(sizeHigh) << 32 | sizeLow;
    // A file opened with truncation, even an empty one, has the host's file system start
    // writing all of it out while it is closed, and the caller waits for that; a file made new
    // is written out in the background.
    const CFileHandle to(::CreateFileW(destination.c_str(), GENERIC_WRITE, 0, nullptr,
                                       newOnly ? CREATE_NEW : CREATE_ALWAYS, attributes, nullptr));
    if (!to)
        return false;
    // The system's own copy moves 64 KB a call. A large file's many calls cost more than its
    // bytes, so it goes in blocks of 128 KB; a smaller one keeps to 64 KB, which the heap has
    // at hand, where a larger block would be new memory to fill on every copy.
    std::vector<char> buffer(size >= (8 << 20) ? 128u << 10 : 64u << 10);
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(from.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
            return false;
        if (got == 0)
            break;
        DWORD put = 0;
        if (!::WriteFile(to.Get(), buffer.data(), got, &put, nullptr) || put != got)
            return false;
    }
    return ::SetFileTime(to.Get(), nullptr, nullptr, &written) != FALSE;
}

bool CopyTree(const std::wstring& source, const std::wstring& destination)
{
    if (!::CreateDirectoryW(destination.c_str(), nullptr))
        return false;
    return ForEachEntry(source, [&](const WIN32_FIND_DATAW& data) {
        const std::wstring from = source + L"\\" + data.cFileName;
        const std::wstring to = destination + L"\\" + data.cFileName;
        return IsFolder(data) ? CopyTree(from, to) : CopyOneFile(from, to, true);
    });
}

bool DeleteTree(const std::wstring& folder)
{
    bool ok = true;
    ForEachEntry(folder, [&](const WIN32_FIND_DATAW& data) {
        const std::wstring path = folder + L"\\" + data.cFileName;
        if (!(IsFolder(data) ? DeleteTree(path) : ::DeleteFileW(path.c_str()) != 0))
            ok = false;
        return true;
    });
    if (!::RemoveDirectoryW(folder.c_str()))
        ok = false;
    return ok;
}

bool CreatePath(const std::wstring& path)
{
    auto ensure = [](const std::wstring& folder) {
        return IsDirectory(folder) || ::CreateDirectoryW(folder.c_str(), nullptr) != 0;
    };
    for (size_t i = path.find(L'\\', 1); i != std::wstring::npos; i = path.find(L'\\', i + 1)) {
        // A drive root ("D:") or a doubled separator names no folder to create.
        const std::wstring prefix = path.substr(0, i);
        if (prefix.back() == L':' || prefix.back() == L'\\')
            continue;
        if (!ensure(prefix))
            return false;
    }
    return path.empty() || ensure(path);
}

namespace {
std::wstring TempFolder(const std::wstring& folder)
{
    const std::wstring dir = folder.empty() ? platform::GetTempFolder() : folder;
    return dir.size() > 1 ? RemoveBackslash(dir) : dir;
}

enum class NameState { free, taken, unusable };

NameState StateOf(const std::wstring& path)
{
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return NameState::taken;
    return ::GetLastError() == ERROR_FILE_NOT_FOUND ? NameState::free : NameState::unusable;
}
}  // namespace

std::wstring MakeTempName(const std::wstring& folder)
{
    wchar_t name[MAX_PATH];
    if (::GetTempFileNameW(TempFolder(folder).c_str(), L"drx", 0, name) == 0)
        return std::wstring();
    return name;
}

std::wstring FindFreeTempName(const std::wstring& folder)
{
    const std::wstring dir = TempFolder(folder);
    static unsigned next = ::GetTickCount();
    for (unsigned tries = 0; tries < 0x10000; ++tries) {
        const unsigned unique = ++next & 0xFFFF;
        wchar_t name[MAX_PATH];
        if (unique == 0)
            continue;
        // With a number given, the system only composes the name; it fails for a folder
        // whose names would be too long, whatever the number.
        if (::GetTempFileNameW(dir.c_str(), L"drx", unique, name) == 0)
            break;
        const NameState state = StateOf(name);
        if (state == NameState::free)
            return name;
        // A folder that is missing or cannot hold a name makes every other number fail too.
        if (state == NameState::unusable)
            break;
    }
    return std::wstring();
}

void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool withFolder,
               std::vector<std::wstring>& list)
{
    const std::wstring dir = AddBackslash(folder);
    WIN32_FIND_DATAW data;
    CFindHandle find(::FindFirstFileW((dir + pattern).c_str(), &data));
    if (!find)
        return;
    do {
        if (!IsDotEntry(data))
            list.push_back(withFolder ? dir + data.cFileName : std::wstring(data.cFileName));
    } while (::FindNextFileW(find.Get(), &data));
}

std::wstring GetToken(const std::wstring& text, const std::wstring& separator, size_t index)
{
    if (separator.empty())
        return index == 0 ? text : std::wstring();
    size_t start = 0;
    for (size_t i = 0; i < index; ++i) {
        const size_t next = text.find(separator, start);
        if (next == std::wstring::npos)
            return std::wstring();
        start = next + separator.size();
    }
    const size_t end = text.find(separator, start);
    return text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

std::wstring ReplaceAll(std::wstring text, const std::wstring& what, const std::wstring& with)
{
    if (what.empty())
        return text;
    for (size_t i = text.find(what); i != std::wstring::npos; i = text.find(what, i + with.size()))
        text.replace(i, what.size(), with);
    return text;
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t i = path.rfind(L'\\');
    return i == std::wstring::npos ? std::wstring() : path.substr(0, i + 1);
}

std::wstring AddBackslash(const std::wstring& path)
{
    return (!path.empty() && path.back() == L'\\') ? path : path + L'\\';
}

std::wstring RemoveBackslash(const std::wstring& path)
{
    return (!path.empty() && path.back() == L'\\') ? path.substr(0, path.size() - 1) : path;
}

std::wstring GetProgramPath()
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0)
            return std::wstring();
        if (n < name.size()) {
            name.resize(n);
            break;
        }
        name.resize(name.size() * 2);
    }
    return name;
}

std::wstring GetProgramFolder()
{
    return FolderOf(GetProgramPath());
}

bool ExtractResource(HMODULE module, UINT id, const wchar_t* type, const std::wstring& target)
{
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (info == nullptr)
        return false;
    const DWORD size = ::SizeofResource(module, info);
    HGLOBAL loaded = ::LoadResource(module, info);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (size == 0 || bytes == nullptr)
        return false;
    CFile file(target, CFile::modeWrite | CFile::modeCreate | CFile::shareExclusive);
    file.Write(bytes, size);
    return true;
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

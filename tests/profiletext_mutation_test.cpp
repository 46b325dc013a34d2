// Damaged profile texts by the thousand, plain and packed: every run must end in success or in
// one of the profile's own errors, never in a crash, a hang, another exception, a box other
// than the profile's messages, or a change anywhere but where the text itself points.
//
// Where the text may point: everything below \Target (the folder the undamaged texts copy
// into) and the scratch registry keys they write; beyond that, a new file, folder or key only
// when the damaged text names it as a path of its own, and RegSwap's saved copies. Everything
// else on the device drive and in the watched registry keys must stay exactly as it was, and
// no temporary file may be left anywhere.
#include <algorithm>
#include <cwctype>
#include <functional>
#include <map>
#include <set>
#include "DeviceSnapshot.h"
#include "ProfileFixture.h"
#include "framework/File.h"
#include "framework/Handle.h"
#include "profiles/Profile.h"
#include "profiles/ProfileCommand.h"
#include "resources/resource.h"
#include "state/Registry.h"

namespace {

const wchar_t kPlainPath[] = L"\\profiles\\m.dorix";
const wchar_t kPackedPath[] = L"\\profiles\\m.zdorix";
const wchar_t kTarget[] = L"\\Target";
const wchar_t kSavedData[] = L"Software\\Dorix\\Saved Registry Data";

// Every command, constants in the arguments, a comment, a section further down that the key
// search reaches past, and a section for another mode.
const std::string kPlainText =
    "[Profile]\r\n"
    "Version=1.4.0\r\n"
    "Author=Tester // who\r\n"
    "Description=Mutated\\nprofile\r\n"
    "[QVGA]\r\n"
    "0=RegWriteDWord,HKLM\\Software\\DorixTest,qvga,1\r\n"
    "[VGA]\r\n"
    "0=RegWriteDWord,HKLM\\Software\\DorixTest,number,42\r\n"
    "1=RegWriteString,HKCU\\Software\\DorixTest,text,%PROFILE_NAME% in %WINDOWS%\r\n"
    "2=RegSwap,HKLM\\Software\\DorixTest,swap\r\n"
    "3=CopyFile,src\\a.txt,\\Target\\a.txt\r\n"
    "4=CopyDirectory,src\\dir,\\Target\\dir\r\n"
    "5=ShowMessage,Now VGA, from %PROFILE_FILENAME%\r\n"
    "[Other]\r\n"
    "\"6\"=RegWriteString,HKLM\\Software\\DorixTest,past,quoted\r\n";

// Entries of the archive and files of the device as sources, relative and absolute targets.
const std::string kPackedText =
    "[Profile]\r\n"
    "Version=1.4.0\r\n"
    "[VGA.portrait]\r\n"
    "0=CopyFile,skins\\vga.skn,\\Target\\skin.skn\r\n"
    "1=CopyDirectory,skins,\\Target\\skins\r\n"
    "2=RegWriteString,HKLM\\Software\\DorixTest,skin,vga\r\n"
    "3=CopyFile,\\profiles\\src\\a.txt,\\Target\\b.txt\r\n"
    "4=ShowMessage,%PROFILE_NAME%\r\n"
    "[QVGA]\r\n"
    "0=CopyFile,skins\\qvga.skn,\\Target\\skin.skn\r\n";

// The characters that mean something to the INI reader, the command parser, the constants
// and the paths.
const char kInteresting[] = {',', '\\', '%', '=', '[', ']', '/', '\r', '\n', '\0', '"', ' '};

std::wstring Widen(const std::string& bytes)
{
    std::wstring text;
    for (char c : bytes)
        text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return text;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsAtOrBelow(const std::wstring& path, const std::wstring& folder)
{
    return path == folder || StartsWith(path, folder + L"\\");
}

// --- The fixture: the device a profile runs on, and one case after another. ---

class ProfileTextMutationTest : public ProfileTest {
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        // Every box a run shows is answered here: how many a damaged text shows is not known
        // beforehand. Only the profile's own message box may appear.
        m_fixtureBoxes = SetMessageBoxHandler([this](const MessageBoxRequest& box) {
            ++m_boxCount;
            if (box.style != (MB_OK | MB_ICONINFORMATION) || box.caption != L"Dorix")
                Fail("a box that is not a profile message: " + ::testing::PrintToString(box.text));
            return IDOK;
        });
        m_allowed = AllowedMessages();
        SeedFiles();
        SeedRegistry();
        TakeBaseline();
    }
    void TearDown() override
    {
        SetMessageBoxHandler(std::move(m_fixtureBoxes));
        ProfileTest::TearDown();
    }

    // The sources of the copies, the target folder with an old file and folder in it, and the
    // values RegSwap exchanges.
    static void SeedFiles()
    {
        ASSERT_TRUE(CreatePath(L"\\profiles\\src\\dir"));
        WriteFileBytes(L"\\profiles\\src\\a.txt", "source a");
        WriteFileBytes(L"\\profiles\\src\\dir\\b.txt", "source b");
        WriteFileBytes(L"\\profiles\\src\\dir\\c.txt", "source c");
        SeedTarget();
    }
    static void SeedTarget()
    {
        ASSERT_TRUE(CreatePath(L"\\Target\\dir"));
        WriteFileBytes(L"\\Target\\a.txt", "old a");
        WriteFileBytes(L"\\Target\\dir\\old.txt", "old");
    }
    static void SeedRegistry()
    {
        SetRawValue(CRegistry::kLocalMachine, L"Software\\DorixTest", L"swap", REG_SZ, {'q', 0, 0, 0});
        SetRawValue(CRegistry::kCurrentUser, kSavedData, L"HKLM\\Software\\DorixTest\\swap\\VGA.portrait", REG_SZ,
                    {'v', 0, 0, 0});
    }
    void TakeBaseline()
    {
        m_baseFiles.clear();
        SnapshotFiles(L"", m_baseFiles);
        // RegSwap's saved copies may change freely: their key is only seen to exist.
        m_baseKeys = SnapshotRegistry(kSavedData);
    }

    // One case: the text as a plain profile, or packed with its payload, run for a switch from
    // QVGA to VGA portrait.
    void RunCase(const std::string& text, bool packed, const std::string& what)
    {
        ++m_cases;
        m_what = what + (packed ? " (packed)" : " (plain)");
        const std::wstring path = packed ? kPackedPath : kPlainPath;
        if (packed)
            WritePacked(path, {{"profile.dorix", text},
                               {"skins/vga.skn", "VGA skin"},
                               {"skins/qvga.skn", "QVGA skin"},
                               {"skins/more/x.bin", "x"}});
        else
            WritePlain(path, text);
        try {
            CProfile(path).Run(Session(), CVideoMode(false, 0), CVideoMode(true, 0));
            ++m_succeeded;
        } catch (const CFileException& e) {
            Fail("a file error: " + ::testing::PrintToString(e.GetMessage()));
        } catch (const error& e) {
            CheckMessage(e.GetMessage(), packed);
        } catch (...) {
            Fail("an exception that is not the program's");
        }
        Session().GetUndoBuffer().RemoveAll();
        CheckAndRestore(Upper(Widen(text)));
    }

    void RunBoth(const std::string& plain, const std::string& packed, const std::string& what)
    {
        RunCase(plain, false, what);
        RunCase(packed, true, what);
    }

    // Mutations of both texts, each by the same rule.
    void MutateBoth(const std::function<void(const std::string& base, bool packed)>& mutate)
    {
        mutate(kPlainText, false);
        mutate(kPackedText, true);
    }

    void ExpectNoFailures()
    {
        std::string first;
        for (const std::string& f : m_failures)
            first += "\n  " + f;
        EXPECT_EQ(0u, m_failureCount) << "of " << m_cases << " cases; first ones:" << first;
    }

    // Each byte replaced by a quarter of the interesting characters, a different quarter at
    // each position, so that every character meets every kind of field and the run stays short.
    void ReplaceBytes(const std::string& base, bool packed)
    {
        const size_t count = sizeof kInteresting;
        for (size_t at = 0; at < base.size(); ++at) {
            for (size_t k = 0; k < count / 4; ++k) {
                const char c = kInteresting[(at + k * 4) % count];
                if (base[at] == c)
                    continue;
                std::string text = base;
                text[at] = c;
                RunCase(text, packed, "byte " + std::to_string(at) + "=" + ::testing::PrintToString(c));
            }
        }
    }

    void Report(size_t minimumCases)
    {
        ExpectNoFailures();
        EXPECT_GE(m_cases, minimumCases);
        // Both outcomes must occur, or the mutations test nothing past the first check.
        EXPECT_GT(m_succeeded, 0u) << "no case ran to its end";
        EXPECT_GT(m_refused, 0u) << "no case was refused";
        std::string counts;
        for (const auto& [id, count] : m_byMessage)
            counts += " " + std::to_string(id) + ":" + std::to_string(count);
        std::cout << m_cases << " cases: " << m_succeeded << " ran, " << m_refused << " refused (" << counts
                  << " ), " << m_boxCount << " boxes\n";
    }

    // The problems found so far, which no longer count against the test.
    std::vector<std::string> TakeFailures()
    {
        m_failureCount = 0;
        return std::exchange(m_failures, {});
    }

    size_t m_cases = 0;
    size_t m_succeeded = 0;
    size_t m_refused = 0;
    size_t m_boxCount = 0;

private:
    struct Allowed {
        UINT id;
        std::wstring pattern;  // \x01 stands for any text
        bool packedOnly;       // an archive's error: only a packed profile reads one
    };

    static std::vector<Allowed> AllowedMessages()
    {
        const std::wstring any = L"\x01";
        std::vector<Allowed> allowed = {
            {IDS_PROFILE_BAD_ARGUMENTS, FormatResourceString(IDS_PROFILE_BAD_ARGUMENTS, {any}), false},
            {IDS_PROFILE_UNKNOWN_COMMAND, FormatResourceString(IDS_PROFILE_UNKNOWN_COMMAND, {any}), false},
            {IDS_PROFILE_COMMAND_ERROR, ReplaceAll(LoadResourceString(IDS_PROFILE_COMMAND_ERROR), L"%d", any), false},
            {IDS_PROFILE_NO_SECTIONS, FormatResourceString(IDS_PROFILE_NO_SECTIONS, {L"m"}), false},
            {IDS_CANNOT_REPLACE_FILE, FormatResourceString(IDS_CANNOT_REPLACE_FILE, {any}), false},
            {0, L"CIniFile::WriteString failed: Key not found", false},
            {IDS_REG_CANNOT_WRITE, LoadResourceString(IDS_REG_CANNOT_WRITE), false},
            {IDS_ZIP_CANNOT_OPEN, FormatResourceString(IDS_ZIP_CANNOT_OPEN, {kPackedPath}), true},
            {IDS_ZIP_INVALID_FORMAT, FormatResourceString(IDS_ZIP_INVALID_FORMAT, {kPackedPath}), true},
            {IDS_ZIP_UNSUPPORTED_METHOD, FormatResourceString(IDS_ZIP_UNSUPPORTED_METHOD), true},
            {IDS_PROFILE_NO_CONFIG, FormatResourceString(IDS_PROFILE_NO_CONFIG, {kPackedPath}), true},
            {IDS_ZIP_ENTRY_NOT_FOUND, FormatResourceString(IDS_ZIP_ENTRY_NOT_FOUND, {any, kPackedPath}), true},
            {IDS_EXTRACT_FILE_EXISTS, FormatResourceString(IDS_EXTRACT_FILE_EXISTS, {any}), true},
        };
        for (const wchar_t* path : {kPlainPath, kPackedPath})
            for (UINT id : {IDS_PROFILE_NO_VERSION, IDS_PROFILE_INCOMPATIBLE})
                allowed.push_back({id, FormatResourceString(id, {path}), path == kPackedPath});
        return allowed;
    }

    // Whether text is pattern with each \x01 standing for any text.
    static bool Matches(const std::wstring& text, const std::wstring& pattern)
    {
        const size_t star = pattern.find(L'\x01');
        if (star == std::wstring::npos)
            return text == pattern;
        const std::wstring head = pattern.substr(0, star);
        const std::wstring rest = pattern.substr(star + 1);
        if (!StartsWith(text, head))
            return false;
        for (size_t at = head.size(); at <= text.size(); ++at)
            if (Matches(text.substr(at), rest))
                return true;
        return false;
    }

    void CheckMessage(const std::wstring& message, bool packed)
    {
        for (const Allowed& allowed : m_allowed) {
            if (!Matches(message, allowed.pattern) || (allowed.packedOnly && !packed))
                continue;
            ++m_refused;
            ++m_byMessage[allowed.id];
            return;
        }
        Fail("message " + ::testing::PrintToString(message));
    }

    // Whether the damaged text names a path in one of its forms (upper case) as a path of
    // its own: a field that begins with it and ends there or at a backslash.
    static bool Names(const std::wstring& text, const std::vector<std::wstring>& forms)
    {
        for (const std::wstring& form : forms) {
            for (size_t at = text.find(form); at != std::wstring::npos; at = text.find(form, at + 1)) {
                const wchar_t before = at == 0 ? L',' : text[at - 1];
                const size_t end = at + form.size();
                const wchar_t after = end < text.size() ? text[end] : L',';
                const bool startsField = before == L',' || (form[0] == L'\\' && before == L'\\');
                if (startsField && (after == L',' || after == L'\\' || after == L'\r' || after == L'\n' || after == 0))
                    return true;
            }
        }
        return false;
    }

    // The first component of path, from the top, that the baseline does not have.
    static std::wstring TopmostAdded(const std::wstring& path, const Snapshot& base)
    {
        for (size_t at = path.find(L'\\', 1); at != std::wstring::npos; at = path.find(L'\\', at + 1))
            if (!base.count(path.substr(0, at)))
                return path.substr(0, at);
        return path;
    }

    void CheckAndRestore(const std::wstring& text)
    {
        // A path on the device may use "/" as well; a registry key may not.
        std::wstring paths = text;
        std::replace(paths.begin(), paths.end(), L'/', L'\\');
        bool damaged = CheckFiles(paths);
        damaged = CheckRegistry(text) || damaged;
        if (damaged) {
            // Something outside the allowed places changed: start again from a clean device.
            RemoveAdded();
            DeleteTree(L"\\profiles\\src");
            SeedFiles();
            for (const WatchedKey& watched : kWatched)
                if (watched.deep)
                    ::RegDeleteTreeW(watched.root, watched.path);
            RecreateTouchKey();
            SeedRegistry();
            TakeBaseline();
        }
    }

    // The device always has it; under Wine it can only be created volatile.
    static void RecreateTouchKey()
    {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\TOUCH", 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
            CRegKey owner(key);
    }

    static bool IsProfile(const std::wstring& path)
    {
        return path == Upper(kPlainPath) || path == Upper(kPackedPath);
    }

    bool CheckFiles(const std::wstring& text)
    {
        Snapshot now;
        SnapshotFiles(L"", now);
        const std::wstring target = Upper(kTarget);
        bool damaged = false;
        bool targetChanged = false;
        m_addedFiles.clear();
        for (const auto& [path, state] : now) {
            if (IsAtOrBelow(path, target)) {
                const auto base = m_baseFiles.find(path);
                targetChanged = targetChanged || base == m_baseFiles.end() || base->second != state;
            }
            const std::wstring leaf = path.substr(path.rfind(L'\\') + 1);
            if (StartsWith(leaf, L"DRX") && leaf.size() > 4 && leaf.substr(leaf.size() - 4) == L".TMP") {
                Fail("temporary file left: " + ::testing::PrintToString(path));
                m_addedFiles.insert(path);
                continue;
            }
            if (IsProfile(path) || IsAtOrBelow(path, target))
                continue;
            const auto base = m_baseFiles.find(path);
            if (base == m_baseFiles.end()) {
                const std::wstring added = TopmostAdded(path, m_baseFiles);
                m_addedFiles.insert(added);
                // A relative path lies beside the profile.
                const std::wstring profiles = L"\\PROFILES\\";
                std::vector<std::wstring> forms = {added};
                if (StartsWith(added, profiles))
                    forms.push_back(added.substr(profiles.size()));
                if (!Names(text, forms))
                    Fail("file written where the text does not point: " + ::testing::PrintToString(path));
            } else if (base->second != state) {
                Fail("file changed: " + ::testing::PrintToString(path));
                damaged = true;
            }
        }
        for (const auto& [path, state] : m_baseFiles) {
            if (now.count(path) || IsProfile(path))
                continue;
            if (IsAtOrBelow(path, target)) {
                targetChanged = true;
                continue;
            }
            Fail("file removed: " + ::testing::PrintToString(path));
            damaged = true;
        }
        RemoveAdded();
        if (targetChanged) {
            RemovePath(kTarget);
            SeedTarget();
            // The folders' stamps are not compared; the files' new stamps are the baseline.
            for (auto it = m_baseFiles.begin(); it != m_baseFiles.end();)
                it = StartsWith(it->first, target + L"\\") ? m_baseFiles.erase(it) : std::next(it);
            SnapshotFiles(kTarget, m_baseFiles);
        }
        return damaged;
    }

    void RemoveAdded()
    {
        for (const std::wstring& path : m_addedFiles)
            RemovePath(path);
        m_addedFiles.clear();
    }

    // A file or a folder tree, read-only or not: a damaged copy command may leave either.
    static void RemovePath(const std::wstring& path)
    {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (IsDirectory(path))
            DeleteTree(path);
        else
            ::DeleteFileW(path.c_str());
    }

    // Keys and values outside the scratch keys and the saved copies may change only where the
    // text names their key.
    bool CheckRegistry(const std::wstring& text)
    {
        const Snapshot now = SnapshotRegistry(kSavedData);
        std::set<std::wstring> changed;
        for (const auto& [entry, state] : now) {
            const auto base = m_baseKeys.find(entry);
            if (base == m_baseKeys.end() || base->second != state)
                changed.insert(entry);
        }
        for (const auto& [entry, state] : m_baseKeys)
            if (!now.count(entry))
                changed.insert(entry);
        if (changed.empty())
            return false;

        bool damaged = false;
        for (const std::wstring& entry : changed) {
            const std::wstring key = entry.substr(0, entry.find(L'|'));
            const std::wstring root = key.substr(0, 4);
            const std::wstring path = key.size() > 5 ? key.substr(5) : std::wstring();
            if (IsAtOrBelow(path, L"SOFTWARE\\DORIXTEST") || IsAtOrBelow(path, Upper(kSavedData)))
                continue;
            // The root as a profile may write it, then the key path.
            std::vector<std::wstring> forms;
            static const std::vector<std::wstring> currentUser = {L"HKCU", L"HCU", L"HKEY_CURRENT_USER"};
            static const std::vector<std::wstring> localMachine = {L"HKLM", L"HLM", L"HKEY_LOCAL_MACHINE"};
            for (const std::wstring& name : root == L"HKCU" ? currentUser : localMachine)
                forms.push_back(name + L"\\" + path);
            // The registry reads a run of backslashes in a key path as one separator.
            std::wstring keyText = text;
            for (size_t at = keyText.find(L"\\\\"); at != std::wstring::npos; at = keyText.find(L"\\\\", at))
                keyText.erase(at, 1);
            const bool named = Names(keyText, forms);
            const bool isNewKey = entry.find(L'|') == std::wstring::npos && !m_baseKeys.count(entry);
            const bool isRemovedKey = entry.find(L'|') == std::wstring::npos && !now.count(entry);
            // A new key goes again, with whatever was written below it, named or not: the
            // next cases and runs start from the same registry.
            if (isNewKey)
                ::RegDeleteTreeW(root == L"HKCU" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, path.c_str());
            if (named && !isRemovedKey)
                continue;
            Fail("registry changed where the text does not point: " + ::testing::PrintToString(entry));
            damaged = true;
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\DorixTest");
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\DorixTest");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dorix");
        // Values the text named in keys that stay: put back as they were.
        for (const std::wstring& entry : changed) {
            const size_t bar = entry.find(L'|');
            if (bar == std::wstring::npos)
                continue;
            const std::wstring key = entry.substr(0, bar);
            const HKEY root = key.substr(0, 4) == L"HKCU" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
            const std::wstring path = key.size() > 5 ? key.substr(5) : std::wstring();
            if (StartsWith(path + L"\\", L"SOFTWARE\\DORIX\\") || StartsWith(path + L"\\", L"SOFTWARE\\DORIXTEST\\"))
                continue;
            if (!m_baseKeys.count(entry))
                ::RegDeleteKeyValueW(root, path.c_str(), entry.substr(bar + 1).c_str());
        }
        SeedRegistry();
        return damaged;
    }

    void Fail(const std::string& problem)
    {
        if (m_failures.size() < 10)
            m_failures.push_back(m_what + ": " + problem);
        ++m_failureCount;
    }

    MessageBoxHandler m_fixtureBoxes;
    std::vector<Allowed> m_allowed;
    Snapshot m_baseFiles;
    Snapshot m_baseKeys;
    std::set<std::wstring> m_addedFiles;
    std::map<UINT, size_t> m_byMessage;
    std::vector<std::string> m_failures;
    size_t m_failureCount = 0;
    std::string m_what;
};

TEST_F(ProfileTextMutationTest, UndamagedTextsRunEveryCommand)
{
    RunCase(kPlainText, false, "plain");
    EXPECT_EQ(1u, m_succeeded);
    RunCase(kPackedText, true, "packed");
    EXPECT_EQ(2u, m_succeeded);
    EXPECT_EQ(2u, m_boxCount) << "one message from each";
    // What the runs did was undone after each case; run the plain one again and look.
    WritePlain(kPlainPath, kPlainText);
    CProfile(kPlainPath).Run(Session(), CVideoMode(false, 0), CVideoMode(true, 0));
    EXPECT_EQ("source a", ReadFileBytes(L"\\Target\\a.txt"));
    EXPECT_EQ("source b", ReadFileBytes(L"\\Target\\dir\\b.txt"));
    EXPECT_FALSE(FileExists(L"\\Target\\dir\\old.txt")) << "a directory is replaced as a whole";
    CRegistry scratch(CRegistry::kLocalMachine, L"Software\\DorixTest");
    EXPECT_EQ(42, scratch.ReadDWord(nullptr, L"number", 0));
    EXPECT_EQ(L"v", scratch.ReadString(nullptr, L"swap", L"<missing>"));
    EXPECT_EQ(L"quoted", scratch.ReadString(nullptr, L"past", L"<missing>")) << "keys are searched past [Other]";
    EXPECT_EQ(L"m in \\Windows",
              CRegistry(CRegistry::kCurrentUser, L"Software\\DorixTest").ReadString(nullptr, L"text", L"<missing>"));
    ExpectNoFailures();
}

// A command that does what no profile command may: the checks must see each of its traces.
class CStrayCommand : public CProfileCommand {
public:
    void Parse(const std::wstring&) override {}
    void Execute(CSwitchSession&, CVideoMode, CVideoMode) override
    {
        WriteFileBytes(L"\\Windows\\stray.txt", "stray");
        WriteFileBytes(L"\\Temp\\drx9999.tmp", "");
        WriteFileBytes(L"\\profiles\\src\\a.txt", "overwritten");
        CRegistry(CRegistry::kLocalMachine, L"System\\GDI").WriteDWord(nullptr, L"Stray", 1);
        throw std::runtime_error("not the program's");
    }
};

TEST_F(ProfileTextMutationTest, TracesOutsideTheTargetsAreFound)
{
    RegisterCommand(L"DorixTestStray", [] { return std::unique_ptr<CProfileCommand>(std::make_unique<CStrayCommand>()); });
    RunCase(kPlainText + "7=DorixTestStray,\r\n", false, "stray");
    std::string found;
    for (const std::string& failure : TakeFailures())
        found += failure + "\n";
    for (const char* trace : {"not the program's", "WINDOWS\\\\STRAY.TXT", "DRX9999.TMP", "file changed",
                              "SYSTEM\\\\GDI|STRAY"})
        EXPECT_NE(std::string::npos, found.find(trace)) << trace << " not reported in:\n" << found;
    // The device is clean again for the next case.
    RunCase(kPlainText, false, "after the stray");
    EXPECT_TRUE(TakeFailures().empty());
    EXPECT_EQ("source a", ReadFileBytes(L"\\profiles\\src\\a.txt"));
}

TEST_F(ProfileTextMutationTest, TruncatedTexts)
{
    MutateBoth([this](const std::string& base, bool packed) {
        for (size_t length = 0; length < base.size(); ++length)
            RunCase(base.substr(0, length), packed, "cut at " + std::to_string(length));
    });
    Report(kPlainText.size() + kPackedText.size());
}

TEST_F(ProfileTextMutationTest, BytesReplacedInThePlainText)
{
    ReplaceBytes(kPlainText, false);
    Report(kPlainText.size() * 2);
}

TEST_F(ProfileTextMutationTest, BytesReplacedInThePackedText)
{
    ReplaceBytes(kPackedText, true);
    Report(kPackedText.size() * 2);
}

TEST_F(ProfileTextMutationTest, LinesRemovedDuplicatedSwappedAndCommentedOut)
{
    MutateBoth([this](const std::string& base, bool packed) {
        const std::vector<std::string> lines = Lines(base);
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string n = std::to_string(i);
            std::vector<std::string> edited = lines;
            edited.erase(edited.begin() + static_cast<std::ptrdiff_t>(i));
            RunCase(Join(edited), packed, "line " + n + " removed");
            edited = lines;
            edited.insert(edited.begin() + static_cast<std::ptrdiff_t>(i), lines[i]);
            RunCase(Join(edited), packed, "line " + n + " twice");
            if (i + 1 < lines.size()) {
                edited = lines;
                std::swap(edited[i], edited[i + 1]);
                RunCase(Join(edited), packed, "lines " + n + " and next swapped");
            }
            for (const char* prefix : {"//", " ", "[VGA]\r\n", "[VGA.portrait]\r\n"}) {
                edited = lines;
                edited[i] = prefix + edited[i];
                RunCase(Join(edited), packed, "line " + n + " after " + ::testing::PrintToString(prefix));
            }
        }
        // The last line without its line end, and a text with LF only.
        RunCase(base.substr(0, base.size() - 2), packed, "no final line end");
        std::string lf;
        for (const std::string& line : lines)
            lf += line + "\n";
        RunCase(lf, packed, "LF line ends");
    });
    Report(150);
}

TEST_F(ProfileTextMutationTest, LongValuesAndUnknownCommands)
{
    MutateBoth([this](const std::string& base, bool packed) {
        const std::vector<std::string> lines = Lines(base);
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string n = std::to_string(i);
            for (size_t length : {260u, 5000u, 70000u}) {
                std::vector<std::string> edited = lines;
                edited[i] += std::string(length, 'x');
                RunCase(Join(edited), packed, "line " + n + " + " + std::to_string(length) + " x");
                // Inside a path: a folder name longer than any path may be.
                edited = lines;
                const size_t slash = edited[i].rfind('\\');
                if (slash != std::string::npos) {
                    edited[i].insert(slash + 1, std::string(length, 'y') + "\\");
                    RunCase(Join(edited), packed, "line " + n + " long folder " + std::to_string(length));
                }
            }
            // Other command names, and commas where the name was.
            const size_t equals = lines[i].find('=');
            const size_t comma = lines[i].find(',');
            if (equals == std::string::npos || comma == std::string::npos || comma < equals)
                continue;
            for (const char* name : {"", "Unknown", "copyfile", "SHOWMESSAGE", "CopyFile ", "Copy File", "RegSwap\t",
                                     "%WINDOWS%", ",,,", "ShowMessage", "RegWriteDWord", "CopyDirectory"}) {
                std::vector<std::string> edited = lines;
                edited[i] = lines[i].substr(0, equals + 1) + name + lines[i].substr(comma);
                RunCase(Join(edited), packed, "line " + n + " command " + ::testing::PrintToString(name));
            }
        }
        // A section of many commands, and one line of thousands of fields.
        std::string many = base + "[VGA]\r\n[VGA.portrait]\r\n";
        for (int k = 0; k < 1500; ++k)
            many += std::to_string(k) + "=RegWriteDWord,HKLM\\Software\\DorixTest,n" + std::to_string(k % 7) + "," +
                    std::to_string(k) + "\r\n";
        RunCase(many, packed, "1500 commands");
        RunCase(base + "[VGA.portrait]\r\n0=CopyFile" + std::string(5000, ',') + "\r\n", packed, "5000 commas");
    });
    Report(250);
}

}  // namespace

#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>
#include "ModeFixture.h"
#include "SheetDriver.h"
#include "app/MainFrame.h"
#include "framework/CommonControls.h"
#include "framework/Handle.h"
#include "resources/resource.h"
#include "state/FileEntry.h"
#include "state/FileHelpers.h"
#include "state/Settings.h"
#include "state/SettingsRegistry.h"
#include "ui/FileEntryPage.h"
#include "ui/ProfilePage.h"
#include "ui/TabbedDialog.h"

namespace {

const uint32_t kUser = CRegistry::kCurrentUser;
const wchar_t kDorix[] = L"Software\\Dorix";
const wchar_t kSaved[] = L"Software\\Dorix\\Saved Registry Data";
const wchar_t kEntrySheet[] = L"Add/Edit registry entry for swapping";

using Rows = std::vector<std::wstring>;

// The state settings sheet and what it opens, driven step by step as a user would.
class StateSheetTest : public RunningDeviceTest {
protected:
    // Opens the sheet from the main window's Tools menu; returns when it has ended.
    void OpenStateSettings()
    {
        CMainFrame frame(Session());
        ASSERT_TRUE(frame.Create()) << "last error " << ::GetLastError();
        frame.SendMessage(WM_COMMAND, ID_STATE_SETTINGS);
        ExpectAllStepsRan();
    }
    // Runs a sheet of one page over data.
    template <typename Page>
    void RunSheet(UINT caption, void* data, INT_PTR expected = IDOK)
    {
        EXPECT_EQ(expected, CTabbedDialog::RunPage<Page>(caption, nullptr, data));
        ExpectAllStepsRan();
    }
    void ExpectAllStepsRan()
    {
        EXPECT_EQ(0u, m_driver.StepsLeft()) << "the sheet ended before every step ran";
        EXPECT_EQ(L"", m_driver.Abandoned()) << "sheets left open";
    }
    static void StoreList(const wchar_t* name, const Rows& items)
    {
        CRegistry list(kUser, std::wstring(kDorix) + L"\\" + name);
        for (size_t i = 0; i < items.size(); ++i)
            list.WriteString(nullptr, std::to_wstring(i).c_str(), items[i].c_str());
        list.WriteDWord(nullptr, L"Count", static_cast<int32_t>(items.size()));
    }
    static Rows StoredList(const wchar_t* name) { return CSettings::ReadList(name); }

    // The steps to "Change data..." of the first registry entry.
    CSheetDriver& EditFirstEntrysData()
    {
        return m_driver
            .Then([](CPropertySheet& sheet) {
                CSheetDriver::TapTab(sheet, 1);
                CListView(CSheetDriver::Control(sheet, IDC_REGISTRY_LIST)).Select(0);
                CSheetDriver::Press(sheet, IDC_REGISTRY_EDIT);
            })
            .Then([](CPropertySheet& entry) { CSheetDriver::Press(entry, IDC_REGISTRY_ENTRY_DATA); });
    }

    CSheetDriver m_driver;
    std::unique_ptr<CRefusedWrites> m_refused;
};

CListView List(CPropertySheet& sheet, int id)
{
    return CListView(CSheetDriver::Control(sheet, id));
}

// Every row's texts, columns joined by "|".
Rows RowTexts(const CListView& list, int columns = 1)
{
    Rows rows;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        std::wstring row = list.GetItemText(i, 0);
        for (int c = 1; c < columns; ++c)
            row += L"|" + list.GetItemText(i, c);
        rows.push_back(row);
    }
    return rows;
}

int FindRow(const CListView& list, const std::wstring& text)
{
    const Rows rows = RowTexts(list);
    const auto found = std::find(rows.begin(), rows.end(), text);
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

// A tap as the system delivers it: button down and up at a point of the control, queued, so
// that the control handles them (and tracks the button) as it would a finger's.
void Tap(const CWindow& control, POINT at)
{
    control.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    control.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

void DoubleTap(const CWindow& control, POINT at)
{
    Tap(control, at);
    control.PostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    control.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

POINT Centre(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The middle of the row's check box: the run of points at the row's left end that hit its
// state icon.
POINT StateIconPoint(const CListView& list, int row)
{
    const RECT bounds = list.GetItemRect(row, LVIR_BOUNDS);
    const int y = (bounds.top + bounds.bottom) / 2;
    int first = -1, last = -1;
    for (int x = bounds.left; x < bounds.left + 40; ++x) {
        UINT flags = 0;
        if (list.HitTest(POINT{x, y}, flags) == row && (flags & LVHT_ONITEMSTATEICON)) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    EXPECT_GE(first, 0) << "no check box found on row " << row;
    return POINT{(first + last) / 2, y};
}

bool Checked(const CListView& list, int row)
{
    return list.GetItemState(row, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

}  // namespace

TEST_F(StateSheetTest, RowsStaySortedThroughAddEditAndDeleteAndOkStoresThemInThatOrder)
{
    StoreList(L"Registry", {L"HKLM\\Software\\B,b", L"HKCU\\Software\\A,a"});
    StoreList(L"Files", {L"\\Windows\\b.dll", L"\\Windows\\a.dll"});
    m_driver
        .Then([](CPropertySheet& sheet) {
            EXPECT_EQ(L"State Settings", sheet.GetWindowText());
            ASSERT_EQ(4, sheet.GetPageCount());
            const wchar_t* titles[] = {L"Profiles", L"Registry", L"Files", L"Options"};
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(titles[i], sheet.GetPage(i)->GetTitle());
            CSheetDriver::TapTab(sheet, 1);
            EXPECT_EQ((Rows{L"HKCU\\Software\\A|a", L"HKLM\\Software\\B|b"}), RowTexts(List(sheet, IDC_REGISTRY_LIST), 2));
            // Nothing selected: Edit and Delete do nothing, and Add proposes the default.
            CSheetDriver::Press(sheet, IDC_REGISTRY_EDIT);
            CSheetDriver::Press(sheet, IDC_REGISTRY_DELETE);
            CSheetDriver::Press(sheet, IDC_REGISTRY_ADD);
        })
        .Then([](CPropertySheet& entry) {
            EXPECT_EQ(kEntrySheet, entry.GetWindowText());
            EXPECT_EQ(L"Registry's Entry", entry.GetPage(0)->GetTitle());
            EXPECT_EQ(L"HKCU\\Software\\", CSheetDriver::Text(entry, IDC_REGISTRY_ENTRY_KEY));
            EXPECT_EQ(L"", CSheetDriver::Text(entry, IDC_REGISTRY_ENTRY_VALUE));
            CSheetDriver::Type(entry, IDC_REGISTRY_ENTRY_KEY, L"HKCU\\Software\\C");
            CSheetDriver::Type(entry, IDC_REGISTRY_ENTRY_VALUE, L"c");
            CSheetDriver::Press(entry, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& sheet) {
            const CListView list = List(sheet, IDC_REGISTRY_LIST);
            EXPECT_EQ((Rows{L"HKCU\\Software\\A", L"HKCU\\Software\\C", L"HKLM\\Software\\B"}), RowTexts(list));
            EXPECT_EQ(1, list.GetSelectedItem()) << "the added row is selected";
            CSheetDriver::Press(sheet, IDC_REGISTRY_EDIT);
        })
        .Then([](CPropertySheet& entry) {
            EXPECT_EQ(L"HKCU\\Software\\C", CSheetDriver::Text(entry, IDC_REGISTRY_ENTRY_KEY));
            CSheetDriver::Type(entry, IDC_REGISTRY_ENTRY_KEY, L"HKLM\\Software\\D");
            CSheetDriver::Press(entry, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& sheet) {
            const CListView list = List(sheet, IDC_REGISTRY_LIST);
            EXPECT_EQ((Rows{L"HKCU\\Software\\A|a", L"HKLM\\Software\\B|b", L"HKLM\\Software\\D|c"}), RowTexts(list, 2))
                << "the edited row moves to its sorted place";
            EXPECT_EQ(2, list.GetSelectedItem());
            list.Select(0);
            CSheetDriver::Press(sheet, IDC_REGISTRY_ADD);
        })
        .Then([](CPropertySheet& entry) {
            EXPECT_EQ(L"HKCU\\Software\\A", CSheetDriver::Text(entry, IDC_REGISTRY_ENTRY_KEY)) << "a copy of the row";
            EXPECT_EQ(L"a", CSheetDriver::Text(entry, IDC_REGISTRY_ENTRY_VALUE));
            CSheetDriver::Press(entry, ID_SHEET_CANCEL);
        })
        .Then([](CPropertySheet& sheet) {
            const CListView list = List(sheet, IDC_REGISTRY_LIST);
            EXPECT_EQ(3, list.GetItemCount()) << "Cancel adds nothing";
            list.Select(1);
            CSheetDriver::Press(sheet, IDC_REGISTRY_DELETE);
            CSheetDriver::TapTab(sheet, 2);
            EXPECT_EQ((Rows{L"\\Windows\\a.dll", L"\\Windows\\b.dll"}), RowTexts(List(sheet, IDC_FILE_LIST)));
            CSheetDriver::Press(sheet, IDC_FILE_ADD);
        })
        .Then([](CPropertySheet& entry) {
            EXPECT_EQ(L"Add/Edit file for swapping", entry.GetWindowText());
            EXPECT_EQ(L"\\", CSheetDriver::Text(entry, IDC_FILE_ENTRY_PATH));
            CSheetDriver::Type(entry, IDC_FILE_ENTRY_PATH, L"\\Windows\\0.dll");
            CSheetDriver::Press(entry, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& sheet) {
            const CListView list = List(sheet, IDC_FILE_LIST);
            EXPECT_EQ((Rows{L"\\Windows\\0.dll", L"\\Windows\\a.dll", L"\\Windows\\b.dll"}), RowTexts(list));
            list.Select(0);
            CSheetDriver::Press(sheet, IDC_FILE_EDIT);
        })
        .Then([](CPropertySheet& entry) {
            EXPECT_EQ(L"\\Windows\\0.dll", CSheetDriver::Text(entry, IDC_FILE_ENTRY_PATH));
            CSheetDriver::Type(entry, IDC_FILE_ENTRY_PATH, L"\\Windows\\c.dll");
            CSheetDriver::Press(entry, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& sheet) {
            const CListView list = List(sheet, IDC_FILE_LIST);
            EXPECT_EQ((Rows{L"\\Windows\\a.dll", L"\\Windows\\b.dll", L"\\Windows\\c.dll"}), RowTexts(list))
                << "the edited file moves to its sorted place";
            EXPECT_EQ(2, list.GetSelectedItem());
            list.Select(0);
            CSheetDriver::Press(sheet, IDC_FILE_DELETE);
            EXPECT_EQ((Rows{L"\\Windows\\b.dll", L"\\Windows\\c.dll"}), RowTexts(list));
            CSheetDriver::Press(sheet, ID_SHEET_OK);
        });
    OpenStateSettings();
    EXPECT_EQ((Rows{L"HKCU\\Software\\A,a", L"HKLM\\Software\\D,c"}), StoredList(L"Registry"));
    EXPECT_EQ((Rows{L"\\Windows\\b.dll", L"\\Windows\\c.dll"}), StoredList(L"Files"));
}

TEST_F(StateSheetTest, FileEntryRefusesAPathOver260Characters)
{
    AnswerNextBox(IDOK);
    const std::wstring longest = L"\\" + std::wstring(259, L'p');
    m_driver
        .Then([&](CPropertySheet& entry) {
            CSheetDriver::Type(entry, IDC_FILE_ENTRY_PATH, longest + L"p");
            CSheetDriver::Press(entry, ID_SHEET_OK);
        })
        .Then([&](CPropertySheet& entry) {
            EXPECT_EQ(L"Add/Edit file for swapping", entry.GetWindowText()) << "the sheet stays open";
            CSheetDriver::Type(entry, IDC_FILE_ENTRY_PATH, longest);
            CSheetDriver::Press(entry, ID_SHEET_OK);
        });
    CFileEntry entry(L"\\");
    RunSheet<CFileEntryPage>(IDS_EDIT_FILE_ENTRY, &entry);
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_EQ(L"Please enter no more than 260 characters.", m_boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), m_boxes[0].style);
    EXPECT_EQ(longest, entry.GetPath());
}

TEST_F(StateSheetTest, CancelAndUnopenedTabsChangeNothing)
{
    StoreList(L"Registry", {L"HKLM\\Software\\B,b", L"HKCU\\Software\\A,a"});
    StoreList(L"Files", {L"\\Windows\\b.dll"});
    GetSettingsRegistry().WriteDWord(nullptr, L"SwitchTodayTheme", 1);
    m_driver.Then([](CPropertySheet& sheet) {
        CSheetDriver::TapTab(sheet, 1);
        List(sheet, IDC_REGISTRY_LIST).Select(0);
        CSheetDriver::Press(sheet, IDC_REGISTRY_DELETE);
        CSheetDriver::TapTab(sheet, 3);
        CSheetDriver::Press(sheet, IDC_SWITCH_TODAY_THEME);
        CSheetDriver::Press(sheet, ID_SHEET_CANCEL);
    });
    OpenStateSettings();
    m_driver.Then([](CPropertySheet& sheet) { CSheetDriver::Press(sheet, ID_SHEET_OK); });
    OpenStateSettings();
    // OK with the first tab only writes the lists back as they were loaded.
    EXPECT_EQ((Rows{L"HKLM\\Software\\B,b", L"HKCU\\Software\\A,a"}), StoredList(L"Registry"));
    EXPECT_EQ((Rows{L"\\Windows\\b.dll"}), StoredList(L"Files"));
    EXPECT_EQ(RawDWord(1), RawValue(kUser, kDorix, L"SwitchTodayTheme"));
}

TEST_F(StateSheetTest, StoredDataEditsTheLiveValueOfTheCurrentClassAndCreatesNoUntouchedCopies)
{
    // Upside down: the device's class is QVGA portrait, whose stored copy the next switch
    // overwrites with the live value.
    BootInto(false, 2);
    const std::wstring prefix = L"HKCU\\Software\\DorixTest\\n\\";
    CRegistry(kUser, L"Software\\DorixTest").WriteDWord(nullptr, L"n", 5);
    CRegistry saved(kUser, kSaved);
    saved.WriteDWord(nullptr, (prefix + L"QVGA.portrait").c_str(), 3);
    saved.WriteDWord(nullptr, (prefix + L"VGA.portrait").c_str(), 7);
    StoreList(L"Registry", {L"HKCU\\Software\\DorixTest,n"});
    EditFirstEntrysData()
        .Then([](CPropertySheet& data) {
            EXPECT_EQ(L"Registry data", data.GetWindowText());
            EXPECT_EQ(L"Stored Data", data.GetPage(0)->GetTitle());
            // The heading draws in its own font, its text on the page's background.
            const CWindow label = CSheetDriver::Control(data, IDC_STORED_DATA_LABEL);
            HDC dc = ::GetDC(label);
            label.GetParent().SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label.GetSafeHwnd()));
            EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc));
            EXPECT_EQ(label.GetFont(), ::GetCurrentObject(dc, OBJ_FONT));
            ::ReleaseDC(label, dc);
            EXPECT_EQ(L"Stored data for key \"HKCU\\Software\\DorixTest\", value \"n\":",
                      CSheetDriver::Text(data, IDC_STORED_DATA_LABEL));
            const wchar_t* shown[] = {L"5", L"0", L"7", L"0"};
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(shown[i], CSheetDriver::Text(data, IDC_STORED_DATA_FIRST + i)) << "class " << i;
            CSheetDriver::Type(data, IDC_STORED_DATA_FIRST, L"6");
            CSheetDriver::Type(data, IDC_STORED_DATA_FIRST + 2, L"8");
            CSheetDriver::Press(data, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& entry) { CSheetDriver::Press(entry, ID_SHEET_CANCEL); })
        .Then([](CPropertySheet& sheet) { CSheetDriver::Press(sheet, ID_SHEET_CANCEL); });
    OpenStateSettings();
    // Written when the data sheet closed, whatever the sheets around it did.
    EXPECT_EQ(RawDWord(6), RawValue(kUser, L"Software\\DorixTest", L"n"));
    EXPECT_EQ(RawDWord(3), RawValue(kUser, kSaved, prefix + L"QVGA.portrait")) << "not the live class's copy";
    EXPECT_EQ(RawDWord(8), RawValue(kUser, kSaved, prefix + L"VGA.portrait"));
    EXPECT_EQ("<missing>", RawValue(kUser, kSaved, prefix + L"QVGA.landscape")) << "untouched, not stored";
    EXPECT_EQ("<missing>", RawValue(kUser, kSaved, prefix + L"VGA.landscape"));
}

// A number's box takes what its 32 bits hold and nothing else; OK writes only what was typed
// into, so a stored copy of another type survives.
TEST_F(StateSheetTest, StoredNumberTakesItsThirtyTwoBitsAndOkWritesOnlyWhatWasTyped)
{
    const std::wstring prefix = L"HKCU\\Software\\DorixTest\\n\\";
    CRegistry(kUser, L"Software\\DorixTest").WriteDWord(nullptr, L"n", 5);
    SetRawValue(kUser, kSaved, prefix + L"QVGA.landscape", REG_SZ, {'x', 0, 0, 0});
    SetRawValue(kUser, kSaved, prefix + L"VGA.portrait", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF});
    StoreList(L"Registry", {L"HKCU\\Software\\DorixTest,n"});
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    EditFirstEntrysData()
        .Then([](CPropertySheet& data) {
            EXPECT_EQ(L"-1", CSheetDriver::Text(data, IDC_STORED_DATA_FIRST + 2));
            CSheetDriver::Type(data, IDC_STORED_DATA_FIRST, L"five");
            CSheetDriver::Press(data, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& data) {
            EXPECT_EQ(L"Registry data", data.GetWindowText()) << "stays open";
            const CWindow box = CSheetDriver::Control(data, IDC_STORED_DATA_FIRST);
            DWORD from = 1, to = 0;
            box.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
            EXPECT_EQ(0u, from);
            EXPECT_EQ(4u, to) << "the text selected";
            CSheetDriver::Type(data, IDC_STORED_DATA_FIRST, L"4294967296");
            CSheetDriver::Press(data, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& data) {
            CSheetDriver::Type(data, IDC_STORED_DATA_FIRST, L" 4294967295 ");
            CSheetDriver::Type(data, IDC_STORED_DATA_FIRST + 3, L"-2147483648");
            CSheetDriver::Press(data, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& entry) { CSheetDriver::Press(entry, ID_SHEET_CANCEL); })
        .Then([](CPropertySheet& sheet) { CSheetDriver::Press(sheet, ID_SHEET_CANCEL); });
    OpenStateSettings();
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_EQ(L"240x320 - Portrait: please enter a whole number from -2147483648 to 4294967295.", m_boxes[0].text);
    EXPECT_EQ(m_boxes[0].text, m_boxes[1].text);
    EXPECT_EQ(RawDWord(0xFFFFFFFF), RawValue(kUser, L"Software\\DorixTest", L"n"));
    EXPECT_EQ(RawDWord(0x80000000), RawValue(kUser, kSaved, prefix + L"VGA.landscape"));
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(GetRawValue(kUser, kSaved, prefix + L"QVGA.landscape", type, data));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << "a copy of another type, untouched, stays";
    EXPECT_EQ(RawDWord(0xFFFFFFFF), RawValue(kUser, kSaved, prefix + L"VGA.portrait"));
}

// A key path with a comma would come back from the stored list as another key and value.
TEST_F(StateSheetTest, EntryWithACommaInItsKeyIsRefusedAndARefusedSaveKeepsTheSheetOpen)
{
    StoreList(L"Registry", {L"HKCU\\Software\\A,v"});
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    m_driver
        .Then([](CPropertySheet& sheet) {
            CSheetDriver::TapTab(sheet, 1);
            CListView(CSheetDriver::Control(sheet, IDC_REGISTRY_LIST)).Select(0);
            CSheetDriver::Press(sheet, IDC_REGISTRY_EDIT);
        })
        .Then([](CPropertySheet& entry) {
            CSheetDriver::Type(entry, IDC_REGISTRY_ENTRY_KEY, L"HKCU\\Software\\A,B");
            CSheetDriver::Press(entry, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& entry) {
            EXPECT_EQ(kEntrySheet, entry.GetWindowText()) << "stays open";
            CSheetDriver::Type(entry, IDC_REGISTRY_ENTRY_KEY, L"HKCU\\Software\\B");
            CSheetDriver::Press(entry, ID_SHEET_OK);
        })
        .Then([this](CPropertySheet& sheet) {
            m_refused = std::make_unique<CRefusedWrites>(kUser, L"Software\\Dorix\\Registry");
            CSheetDriver::Press(sheet, ID_SHEET_OK);
        })
        .Then([this](CPropertySheet& sheet) {
            EXPECT_EQ(L"State Settings", sheet.GetWindowText()) << "stays open: nothing was stored";
            m_refused.reset();
            CSheetDriver::Press(sheet, ID_SHEET_OK);
        });
    OpenStateSettings();
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_EQ(L"A key path cannot contain a comma.", m_boxes[0].text);
    EXPECT_EQ(L"Cannot write registry data", m_boxes[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[1].style);
    EXPECT_EQ(Rows{L"HKCU\\Software\\B,v"}, StoredList(L"Registry"));
}

TEST_F(StateSheetTest, ChangeDataRefusesAMissingValueAndOneOfAnotherType)
{
    SetRawValue(kUser, L"Software\\DorixTest", L"bin", REG_BINARY, {1, 2, 3});
    StoreList(L"Registry", {L"HKCU\\Software\\DorixTest,bin"});
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    const auto onEntrySheet = [](CPropertySheet& entry) {
        EXPECT_EQ(kEntrySheet, entry.GetWindowText()) << "no data sheet";
    };
    EditFirstEntrysData()
        .Then([=](CPropertySheet& entry) {
            onEntrySheet(entry);
            CSheetDriver::Type(entry, IDC_REGISTRY_ENTRY_VALUE, L"missing");
            CSheetDriver::Press(entry, IDC_REGISTRY_ENTRY_DATA);
        })
        .Then([=](CPropertySheet& entry) {
            onEntrySheet(entry);
            CSheetDriver::Press(entry, ID_SHEET_CANCEL);
        })
        .Then([](CPropertySheet& sheet) { CSheetDriver::Press(sheet, ID_SHEET_CANCEL); });
    OpenStateSettings();
    ASSERT_EQ(2u, m_boxes.size());
    EXPECT_EQ(LoadResourceString(IDS_REG_VALUE_TYPE), m_boxes[0].text);
    EXPECT_EQ(L"Registry value not found in registry.", m_boxes[1].text);
    for (const MessageBoxRequest& box : m_boxes)
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), box.style);
    EXPECT_EQ("<missing>", RawValue(kUser, kSaved, L"HKCU\\Software\\DorixTest\\missing\\QVGA.landscape"));
}

TEST_F(StateSheetTest, TapOnACheckBoxTogglesItOnceAndProfilesOfOneNameKeepTheirFlag)
{
    ASSERT_TRUE(CreatePath(L"\\p") && CreatePath(L"\\q"));
    for (const wchar_t* path : {L"\\p\\Same.dorix", L"\\q\\Same.dorix", L"\\p\\Other.dorix"})
        WriteFileBytes(path, "[Profile]\r\nVersion=1.4.0\r\n");
    // Which of the two rows named "Same" is ticked must not matter.
    for (int ticked : {1, 2}) {
        CSettings settings;
        for (const wchar_t* path : {L"\\p\\Same.dorix", L"\\q\\Same.dorix", L"\\p\\Other.dorix"})
            settings.m_profiles.Add(std::make_unique<CProfile>(path));
        settings.m_profiles[2]->SetChecked(true);
        m_driver
            .Then([](CPropertySheet& sheet) {
                const CListView list = List(sheet, IDC_PROFILE_LIST);
                EXPECT_EQ((Rows{L"Other", L"Same", L"Same"}), RowTexts(list));
                EXPECT_TRUE(Checked(list, 0) && !Checked(list, 1) && !Checked(list, 2));
                // A tap on the text selects the row without toggling it.
                Tap(list, Centre(list.GetItemRect(1, LVIR_LABEL)));
            })
            .Then([=](CPropertySheet& sheet) {
                const CListView list = List(sheet, IDC_PROFILE_LIST);
                EXPECT_EQ(1, list.GetSelectedItem());
                EXPECT_FALSE(Checked(list, 1));
                Tap(list, StateIconPoint(list, ticked));
                Tap(list, StateIconPoint(list, 0));
            })
            .Then([=](CPropertySheet& sheet) {
                const CListView list = List(sheet, IDC_PROFILE_LIST);
                EXPECT_TRUE(Checked(list, ticked)) << "row " << ticked;
                EXPECT_FALSE(Checked(list, 3 - ticked)) << "row " << 3 - ticked;
                EXPECT_FALSE(Checked(list, 0));
                CSheetDriver::Press(sheet, ID_SHEET_OK);
            });
        RunSheet<CProfilePage>(IDS_STATE_SETTINGS, &settings);
        EXPECT_FALSE(settings.m_profiles[2]->IsChecked());
        EXPECT_NE(settings.m_profiles[0]->IsChecked(), settings.m_profiles[1]->IsChecked());
        settings.Save();
        EXPECT_EQ(RawDWord(1), RawValue(kUser, L"Software\\Dorix\\Profiles", L"Same")) << "row " << ticked;
        EXPECT_EQ(RawDWord(0), RawValue(kUser, L"Software\\Dorix\\Profiles", L"Other"));
    }
}

TEST_F(StateSheetTest, ProfileInfoShowsWhatIsGivenAndAProfileThatCannotBeReadIsReported)
{
    WriteFileBytes(L"\\Info.dorix", "[Profile]\r\nVersion=1.4.0\r\nDescription=Line one\\nLine two\r\n"
                                    "Author=Tester\r\nEMail=t@example.org\r\n");
    CSettings settings;
    settings.m_profiles.Add(std::make_unique<CProfile>(L"\\Info.dorix"));
    settings.m_profiles.Add(std::make_unique<CProfile>(L"\\Gone.dorix"));
    AnswerNextBox(IDOK);
    m_driver
        .Then([](CPropertySheet& sheet) {
            // Nothing selected: no sheet.
            CSheetDriver::Press(sheet, IDC_PROFILE_INFO);
            List(sheet, IDC_PROFILE_LIST).Select(1);
            CSheetDriver::Press(sheet, IDC_PROFILE_INFO);
        })
        .Then([](CPropertySheet& info) {
            EXPECT_EQ(L"Profile", info.GetWindowText());
            EXPECT_EQ(L"Info on Profile \"Info\":", CSheetDriver::Text(info, IDC_PROFILE_INFO_LABEL));
            EXPECT_EQ(L"Line one\r\nLine two\r\n\r\nAuthor: Tester\r\nE-Mail: t@example.org\r\n",
                      CSheetDriver::Text(info, IDC_PROFILE_INFO_TEXT));
            CSheetDriver::Press(info, ID_SHEET_OK);
        })
        .Then([](CPropertySheet& sheet) {
            EXPECT_EQ(L"State Settings", sheet.GetWindowText());
            List(sheet, IDC_PROFILE_LIST).Select(0);
            CSheetDriver::Press(sheet, IDC_PROFILE_INFO);
        })
        .Then([](CPropertySheet& sheet) {
            EXPECT_EQ(L"State Settings", sheet.GetWindowText()) << "no information sheet";
            CSheetDriver::Press(sheet, ID_SHEET_CANCEL);
        });
    RunSheet<CProfilePage>(IDS_STATE_SETTINGS, &settings, IDCANCEL);
    ASSERT_EQ(1u, m_boxes.size());
    EXPECT_NE(std::wstring::npos, m_boxes[0].text.find(L"Gone.dorix")) << m_boxes[0].text;
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), m_boxes[0].style);
}

namespace {

// A device folder for the chooser: visible and hidden files and folders, a long name, and
// sizes around the units and beyond what 32 bits hold (sparse files).
class FileChooserTest : public StateSheetTest {
protected:
    void SetUp() override
    {
        StateSheetTest::SetUp();
        for (const wchar_t* folder : {L"\\Data\\Sub", L"\\Data\\Hidden", L"\\Cache"})
            ASSERT_TRUE(CreatePath(folder));
        for (const wchar_t* hidden : {L"\\Data\\Hidden", L"\\Cache"})
            ::SetFileAttributesW(hidden, FILE_ATTRIBUTE_HIDDEN);
        WriteFileBytes(L"\\root.txt", "r");
        WriteFileBytes(L"\\Data\\small.txt", std::string(1000, 's'));
        WriteFileBytes(L"\\Data\\odd.bin", std::string(2047, 'o'));
        WriteFileBytes(L"\\Data\\" + kLongName, std::string(1025, 'l'));
        WriteFileBytes(L"\\Data\\five.bin", std::string(5000000, 'f'));
        WriteFileBytes(L"\\Data\\secret.txt", "hidden");
        ::SetFileAttributesW(L"\\Data\\secret.txt", FILE_ATTRIBUTE_HIDDEN);
        MakeSparse(L"\\Data\\big.img", 3ull << 30);
        MakeSparse(L"\\Data\\huge.img", 5ull << 30);
    }
    static void MakeSparse(const std::wstring& path, ULONGLONG size)
    {
        CFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file.IsValid());
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(size);
        ASSERT_TRUE(::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get()));
    }
    // Runs the file entry sheet over path; each step after the first gets the chooser.
    std::wstring ChooseFrom(const std::wstring& path)
    {
        CFileEntry entry(path);
        RunSheet<CFileEntryPage>(IDS_EDIT_FILE_ENTRY, &entry);
        return entry.GetPath();
    }

    static inline const std::wstring kLongName = L"A file name far longer than the column it is shown in.txt";
};

CTreeView Tree(CPropertySheet& sheet)
{
    return CTreeView(CSheetDriver::Control(sheet, IDC_SELECT_FILE_TREE));
}

HTREEITEM Child(const CTreeView& tree, HTREEITEM parent, const std::wstring& name)
{
    for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item)) {
        if (tree.GetItemText(item) == name)
            return item;
    }
    return nullptr;
}

Rows ChildNames(const CTreeView& tree, HTREEITEM parent)
{
    Rows names;
    for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item))
        names.push_back(tree.GetItemText(item));
    std::sort(names.begin(), names.end());
    return names;
}

// Expands the item as the keyboard's "+" does.
void ExpandByKey(const CTreeView& tree, HTREEITEM item)
{
    tree.SelectItem(item);
    tree.SendMessage(WM_KEYDOWN, VK_ADD, 0);
}

void TapHeader(CPropertySheet& sheet, int column)
{
    const CWindow header = List(sheet, IDC_SELECT_FILE_LIST).GetHeader();
    RECT rect{};
    header.SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&rect));
    Tap(header, Centre(rect));
}

// Each header column's mark: 0 up, 1 down, -1 none.
std::vector<int> SortMarks(CPropertySheet& sheet)
{
    const CWindow header = List(sheet, IDC_SELECT_FILE_LIST).GetHeader();
    std::vector<int> marks;
    for (int i = 0; i < 3; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT | HDI_IMAGE;
        header.SendMessage(HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        marks.push_back(item.fmt & HDF_IMAGE ? item.iImage : -1);
    }
    return marks;
}

void TapRow(CPropertySheet& sheet, const std::wstring& name)
{
    const CListView list = List(sheet, IDC_SELECT_FILE_LIST);
    const int row = FindRow(list, name);
    ASSERT_GE(row, 0) << "no row " << ::testing::PrintToString(name);
    Tap(list, Centre(list.GetItemRect(row, LVIR_LABEL)));
}

void SelectFolder(CPropertySheet& sheet, const std::wstring& name)
{
    const CTreeView tree = Tree(sheet);
    const HTREEITEM root = tree.GetRootItem();
    ExpandByKey(tree, root);
    tree.SelectItem(name == L"\\" ? root : Child(tree, root, name));
}

}  // namespace

TEST_F(FileChooserTest, TreeAndListShowVisibleEntriesWithTheirSizesAndSortByTappedColumn)
{
    m_driver.Then([](CPropertySheet& entry) { CSheetDriver::Press(entry, IDC_FILE_ENTRY_BROWSE); })
        .Then([](CPropertySheet& chooser) {
            EXPECT_EQ(L"Choose file", chooser.GetWindowText());
            EXPECT_EQ(L"Select File", chooser.GetPage(0)->GetTitle());
            EXPECT_EQ(L"\\typed.txt", CSheetDriver::Text(chooser, IDC_SELECT_FILE_PATH));
            EXPECT_EQ((Rows{L"root.txt"}), RowTexts(List(chooser, IDC_SELECT_FILE_LIST))) << "the files of \\ first";
            const CTreeView tree = Tree(chooser);
            const HTREEITEM root = tree.GetRootItem();
            EXPECT_EQ(L"\\", tree.GetItemText(root));
            EXPECT_EQ(nullptr, tree.GetNextSiblingItem(root));
            ExpandByKey(tree, root);
            EXPECT_EQ((Rows{L"Data", L"Temp", L"Windows"}), ChildNames(tree, root)) << "no hidden folder, no . or ..";
            const HTREEITEM data = Child(tree, root, L"Data");
            ExpandByKey(tree, data);
            EXPECT_EQ((Rows{L"Sub"}), ChildNames(tree, data));
            ExpandByKey(tree, Child(tree, data, L"Sub"));
            EXPECT_EQ(Rows{}, ChildNames(tree, Child(tree, data, L"Sub")));
            tree.SelectItem(data);
            EXPECT_EQ(L"\\Data\\", CSheetDriver::Text(chooser, IDC_SELECT_FILE_PATH));
            Rows rows = RowTexts(List(chooser, IDC_SELECT_FILE_LIST), 2);
            std::sort(rows.begin(), rows.end());
            EXPECT_EQ((Rows{kLongName + L"|1K", L"big.img|3072M", L"five.bin|4M", L"huge.img|5120M", L"odd.bin|1K",
                            L"small.txt|1000"}),
                      rows);
            EXPECT_EQ((std::vector<int>{-1, -1, -1}), SortMarks(chooser));
            TapHeader(chooser, 1);
        })
        .Then([](CPropertySheet& chooser) {
            EXPECT_EQ((Rows{L"small.txt", kLongName, L"odd.bin", L"five.bin", L"big.img", L"huge.img"}),
                      RowTexts(List(chooser, IDC_SELECT_FILE_LIST)));
            EXPECT_EQ((std::vector<int>{-1, 0, -1}), SortMarks(chooser));
            TapHeader(chooser, 1);
        })
        .Then([](CPropertySheet& chooser) {
            EXPECT_EQ((Rows{L"huge.img", L"big.img", L"five.bin", L"odd.bin", kLongName, L"small.txt"}),
                      RowTexts(List(chooser, IDC_SELECT_FILE_LIST)));
            EXPECT_EQ((std::vector<int>{-1, 1, -1}), SortMarks(chooser));
            TapHeader(chooser, 0);
        })
        .Then([](CPropertySheet& chooser) {
            EXPECT_EQ((Rows{kLongName, L"big.img", L"five.bin", L"huge.img", L"odd.bin", L"small.txt"}),
                      RowTexts(List(chooser, IDC_SELECT_FILE_LIST)));
            EXPECT_EQ((std::vector<int>{0, -1, -1}), SortMarks(chooser));
            CSheetDriver::Press(chooser, ID_SHEET_CANCEL);
        })
        .Then([](CPropertySheet& entry) { CSheetDriver::Press(entry, ID_SHEET_OK); });
    EXPECT_EQ(L"\\typed.txt", ChooseFrom(L"\\typed.txt"));
}

TEST_F(FileChooserTest, OkGivesAPathTypedIntoItsBoxElseTheTappedFileElseKeepsThePath)
{
    const auto browse = [](CPropertySheet& entry) { CSheetDriver::Press(entry, IDC_FILE_ENTRY_BROWSE); };
    const auto expectPath = [](const std::wstring& path) {
        return [=](CPropertySheet& entry) {
            EXPECT_EQ(path, CSheetDriver::Text(entry, IDC_FILE_ENTRY_PATH));
            CSheetDriver::Press(entry, IDC_FILE_ENTRY_BROWSE);
        };
    };
    const auto ok = [](CPropertySheet& chooser) { CSheetDriver::Press(chooser, ID_SHEET_OK); };
    m_driver.Then(browse)
        // A file of the first list, before any folder was chosen, is in "\".
        .Then([](CPropertySheet& chooser) { TapRow(chooser, L"root.txt"); })
        .Then([](CPropertySheet& chooser) {
            EXPECT_EQ(L"\\root.txt", CSheetDriver::Text(chooser, IDC_SELECT_FILE_PATH));
            CSheetDriver::Press(chooser, ID_SHEET_OK);
        })
        .Then(expectPath(L"\\root.txt"))
        // Closed without tapping a file.
        .Then(ok)
        .Then(expectPath(L"\\root.txt"))
        // A file tapped, then another folder chosen.
        .Then([](CPropertySheet& chooser) {
            SelectFolder(chooser, L"Data");
            TapRow(chooser, L"odd.bin");
        })
        .Then([](CPropertySheet& chooser) {
            EXPECT_EQ(L"\\Data\\odd.bin", CSheetDriver::Text(chooser, IDC_SELECT_FILE_PATH));
            Tree(chooser).SelectItem(Tree(chooser).GetRootItem());
            CSheetDriver::Press(chooser, ID_SHEET_OK);
        })
        .Then(expectPath(L"\\root.txt"))
        // A path typed into the chooser's own box, after a tap, is the choice.
        .Then([](CPropertySheet& chooser) {
            TapRow(chooser, L"root.txt");
            CSheetDriver::Type(chooser, IDC_SELECT_FILE_PATH, L"\\Typed\\by hand.txt");
            CSheetDriver::Press(chooser, ID_SHEET_OK);
        })
        .Then(expectPath(L"\\Typed\\by hand.txt"))
        // A double tap chooses and closes.
        .Then([](CPropertySheet& chooser) {
            SelectFolder(chooser, L"Data");
            const CListView list = List(chooser, IDC_SELECT_FILE_LIST);
            DoubleTap(list, Centre(list.GetItemRect(FindRow(list, L"small.txt"), LVIR_LABEL)));
        })
        .Then([](CPropertySheet& entry) {
            EXPECT_EQ(L"\\Data\\small.txt", CSheetDriver::Text(entry, IDC_FILE_ENTRY_PATH));
            CSheetDriver::Press(entry, ID_SHEET_OK);
        });
    EXPECT_EQ(L"\\Data\\small.txt", ChooseFrom(L"\\typed.txt"));
}

TEST_F(FileChooserTest, DateColumnSortsByLastWriteTime)
{
    // Dates in neither the order of the names nor that of the sizes.
    const std::pair<const wchar_t*, int> days[] = {{L"small.txt", 3}, {L"odd.bin", 1}, {L"five.bin", 4},
                                                   {L"big.img", 2}, {L"huge.img", 6}};
    for (const auto& [name, day] : days) {
        CFileHandle file(::CreateFileW((L"\\Data\\" + std::wstring(name)).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file.IsValid()) << ::testing::PrintToString(std::wstring(name));
        const SYSTEMTIME when{2020, 5, 0, static_cast<WORD>(day), 12, 0, 0, 0};
        FILETIME time{};
        ASSERT_TRUE(::SystemTimeToFileTime(&when, &time) && ::SetFileTime(file.Get(), nullptr, nullptr, &time));
    }
    ASSERT_TRUE(::DeleteFileW((L"\\Data\\" + kLongName).c_str()));
    m_driver.Then([](CPropertySheet& entry) { CSheetDriver::Press(entry, IDC_FILE_ENTRY_BROWSE); })
        .Then([](CPropertySheet& chooser) {
            SelectFolder(chooser, L"Data");
            TapHeader(chooser, 2);
        })
        .Then([](CPropertySheet& chooser) {
            EXPECT_EQ((Rows{L"odd.bin", L"big.img", L"small.txt", L"five.bin", L"huge.img"}),
                      RowTexts(List(chooser, IDC_SELECT_FILE_LIST)));
            EXPECT_EQ((std::vector<int>{-1, -1, 0}), SortMarks(chooser));
            TapHeader(chooser, 2);
        })
        .Then([](CPropertySheet& chooser) {
            EXPECT_EQ((Rows{L"huge.img", L"five.bin", L"small.txt", L"big.img", L"odd.bin"}),
                      RowTexts(List(chooser, IDC_SELECT_FILE_LIST)));
            EXPECT_EQ((std::vector<int>{-1, -1, 1}), SortMarks(chooser));
            CSheetDriver::Press(chooser, ID_SHEET_CANCEL);
        })
        .Then([](CPropertySheet& entry) { CSheetDriver::Press(entry, ID_SHEET_OK); });
    EXPECT_EQ(L"\\typed.txt", ChooseFrom(L"\\typed.txt"));
}

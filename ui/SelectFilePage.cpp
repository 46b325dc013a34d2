#include "ui/SelectFilePage.h"
#include <shellapi.h>
#include <algorithm>
#include <cwchar>
#include "framework/Handle.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {

// Tree item data: the folder's subfolders not read yet, or read and found to be none.
constexpr LPARAM kNotRead = -1;
constexpr LPARAM kNoSubfolders = 0;
constexpr LPARAM kHasSubfolders = 1;
// The path box only shows a path; it may be as long as the box takes.
constexpr size_t kMaxShownPath = 0x7FFF;
constexpr COLORREF kSortMarkMask = RGB(0xFF, 0xFF, 0xFF);

// The wait cursor while a folder is read.
class CWaitCursor {
public:
    CWaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};

// The entries matching a pattern, in the order the file system gives them, without "." and
// "..": the device's enumeration has none, this platform's has them (a tree that added them
// would grow without end).
std::vector<WIN32_FIND_DATAW> ReadFolder(const std::wstring& pattern)
{
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW data;
    CFindHandle find(::FindFirstFileW(pattern.c_str(), &data));
    if (!find)
        return entries;
    do {
        if (std::wcscmp(data.cFileName, L".") != 0 && std::wcscmp(data.cFileName, L"..") != 0)
            entries.push_back(data);
    } while (::FindNextFileW(find.Get(), &data));
    return entries;
}

bool IsVisible(const WIN32_FIND_DATAW& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) == 0;
}

bool IsFolder(const WIN32_FIND_DATAW& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

ULONGLONG SizeOf(const WIN32_FIND_DATAW& entry)
{
    return (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

// The index of the path's icon in the system's small icons.
int IconOf(const std::wstring& path)
{
    SHFILEINFOW info{};
    return ::SHGetFileInfo(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON) ? info.iIcon : 0;
}

// The last write in the user's short date and time format, in local time.
std::wstring DateText(const FILETIME& time)
{
    FILETIME local{};
    SYSTEMTIME when{};
    if (!::FileTimeToLocalFileTime(&time, &local) || !::FileTimeToSystemTime(&local, &when))
        return std::wstring();
    wchar_t date[80] = L"";
    wchar_t clock[80] = L"";
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date, 80);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &when, nullptr, clock, 80);
    return std::wstring(date) + L" " + clock;
}

}  // namespace

CSelectFilePage::CSelectFilePage() : CTabbedPageOf(IDD_SELECT_FILE) {}

CTreeView CSelectFilePage::GetTree() const
{
    return CTreeView(GetDlgItem(IDC_SELECT_FILE_TREE));
}

CListView CSelectFilePage::GetList() const
{
    return CListView(GetDlgItem(IDC_SELECT_FILE_LIST));
}

void CSelectFilePage::StretchList() const
{
    const CListView list = GetList();
    RECT rect = list.GetRectInParent();
    rect.bottom = std::max(rect.top, GetClientRect().bottom - ScaleY(5));
    list.MoveWindow(rect);
}

LRESULT CSelectFilePage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The sheet sizes the page after its initialisation, and again when the screen turns.
    if (message == WM_SIZE && GetList().GetSafeHwnd())
        StretchList();
    return CTabbedPage::WindowProc(message, wParam, lParam);
}

std::wstring CSelectFilePage::SizeText(ULONGLONG size)
{
    if (size > 0x100000)
        return std::to_wstring(size >> 20) + L"M";
    if (size > 1024)
        return std::to_wstring(size >> 10) + L"K";
    return std::to_wstring(size);
}

bool CSelectFilePage::OnInitDialog()
{
    CWaitCursor wait;
    m_strShownPath = m_strPageText = GetData();
    CTabbedPage::OnInitDialog();

    StretchList();
    const CListView list = GetList();
    // The shell's own image list: lent, never destroyed here (the list shares it).
    SHFILEINFOW info{};
    const auto icons = reinterpret_cast<HIMAGELIST>(::SHGetFileInfo(
        L"dummy.txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
        SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    list.SetImageList(icons, LVSIL_SMALL);
    const CTreeView tree = GetTree();
    tree.SetImageList(icons, TVSIL_NORMAL);
    tree.InsertItem(TVI_ROOT, L"\\", IconOf(L"\\"), kNotRead);

    list.InsertColumn(0, LoadResourceString(IDS_COLUMN_NAME), ScaleX(80));
    list.InsertColumn(1, LoadResourceString(IDS_COLUMN_SIZE), ScaleX(50), LVCFMT_RIGHT);
    list.InsertColumn(2, LoadResourceString(IDS_COLUMN_DATE), ScaleX(70));
    ListFolder(L"\\");
    m_sortMarks.Reset(::ImageList_LoadImage(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SORT_ARROWS), 16, 0,
                                             kSortMarkMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
    list.GetHeader().SendMessage(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_sortMarks.Get()));
    return true;
}

void CSelectFilePage::DoDataExchange(CDataExchange& dx)
{
    dx.Text(IDC_SELECT_FILE_PATH, m_strShownPath, kMaxShownPath);
}

std::wstring CSelectFilePage::ItemPath(HTREEITEM item) const
{
    const CTreeView tree = GetTree();
    std::wstring path;
    for (; item; item = tree.GetParentItem(item)) {
        const std::wstring name = tree.GetItemText(item);
        if (name != L"\\")
            path = name + L"\\" + path;
    }
    return L"\\" + path;
}

void CSelectFilePage::ReadSubfolders(HTREEITEM item) const
{
    const CTreeView tree = GetTree();
    const std::wstring folder = ItemPath(item);
    LPARAM found = kNoSubfolders;
    for (const WIN32_FIND_DATAW& entry : ReadFolder(folder + L"*")) {
        if (!IsFolder(entry) || !IsVisible(entry))
            continue;
        tree.InsertItem(item, entry.cFileName, IconOf(folder + entry.cFileName), kNotRead);
        found = kHasSubfolders;
    }
    tree.SetItemData(item, found);
    // Without subfolders the item loses its button, at once.
    const RECT rect = tree.GetItemRect(item);
    ::InvalidateRect(tree, &rect, TRUE);
    tree.UpdateWindow();
}

void CSelectFilePage::ListFolder(const std::wstring& folder)
{
    CWaitCursor wait;
    const CListView list = GetList();
    list.SetRedraw(false);
    list.DeleteAllItems();
    m_rows.clear();
    // The folder the list shows is the one a tapped file is in, from the first listing on.
    m_strFolder = folder;
    for (const WIN32_FIND_DATAW& entry : ReadFolder(folder + m_strFilter)) {
        if (IsFolder(entry) || !IsVisible(entry))
            continue;
        auto row = std::make_unique<WIN32_FIND_DATAW>(entry);
        const int index = list.InsertItem(list.GetItemCount(), entry.cFileName, reinterpret_cast<LPARAM>(row.get()),
                                          IconOf(folder + entry.cFileName));
        if (index < 0)
            continue;
        list.SetItemText(index, 1, SizeText(SizeOf(entry)));
        list.SetItemText(index, 2, DateText(entry.ftLastWriteTime));
        m_rows.push_back(std::move(row));
    }
    SortRows();
    list.SetRedraw(true);
}

int CALLBACK CSelectFilePage::CompareRows(LPARAM first, LPARAM second, LPARAM sort) noexcept
{
    const auto* a = reinterpret_cast<const WIN32_FIND_DATAW*>(sort > 0 ? first : second);
    const auto* b = reinterpret_cast<const WIN32_FIND_DATAW*>(sort > 0 ? second : first);
    switch (sort > 0 ? sort : -sort) {
    case 1:
        return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a->cFileName, -1, b->cFileName, -1) - CSTR_EQUAL;
    case 2: {
        // Compared, not subtracted: the difference of two sizes does not fit the result.
        const ULONGLONG sizeA = SizeOf(*a);
        const ULONGLONG sizeB = SizeOf(*b);
        return sizeA < sizeB ? -1 : sizeA > sizeB ? 1 : 0;
    }
    case 3:
        return ::CompareFileTime(&a->ftLastWriteTime, &b->ftLastWriteTime);
    default:
        return 0;
    }
}

void CSelectFilePage::SortRows() const
{
    if (m_nSort != 0)
        GetList().SortItems(&CompareRows, m_nSort);
}

void CSelectFilePage::ShowSortMark() const
{
    const CWindow header = GetList().GetHeader();
    const int count = static_cast<int>(header.SendMessage(HDM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        header.SendMessage(HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.mask = HDI_FORMAT | HDI_IMAGE;
        item.fmt &= ~(HDF_IMAGE | HDF_BITMAP_ON_RIGHT);
        const int column = i + 1;
        if (column == m_nSort || column == -m_nSort) {
            item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
            item.iImage = column == m_nSort ? 0 : 1;
        }
        header.SendMessage(HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

void CSelectFilePage::ShowPath()
{
    m_strPageText = m_strShownPath;
    GetDlgItem(IDC_SELECT_FILE_PATH).SetWindowText(m_strShownPath);
}

bool CSelectFilePage::OnTreeNotify(const NMHDR& header)
{
    switch (header.code) {
    case TVN_ITEMEXPANDINGW: {
        const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
        if ((change.action & TVE_EXPAND) && GetTree().GetItemData(change.itemNew.hItem) == kNotRead)
            ReadSubfolders(change.itemNew.hItem);
        return true;
    }
    case TVN_GETDISPINFOW: {
        auto& request = const_cast<NMTVDISPINFOW&>(reinterpret_cast<const NMTVDISPINFOW&>(header));
        if (request.item.mask & TVIF_CHILDREN)
            request.item.cChildren = request.item.lParam != kNoSubfolders ? 1 : 0;
        return true;
    }
    case TVN_SELCHANGEDW: {
        const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
        ListFolder(ItemPath(change.itemNew.hItem));
        // A file tapped before is not in the new folder: the choice starts again.
        m_strFileName.clear();
        m_strShownPath = m_strFolder;
        ShowPath();
        return true;
    }
    default:
        return false;
    }
}

bool CSelectFilePage::OnListNotify(const NMHDR& header)
{
    const CListView list = GetList();
    switch (header.code) {
    case NM_CLICK:
    case NM_DBLCLK: {
        const int selected = list.GetSelectedItem();
        if (selected < 0)
            return true;
        m_strFileName = reinterpret_cast<const WIN32_FIND_DATAW*>(list.GetItemData(selected))->cFileName;
        m_strShownPath = m_strFolder + m_strFileName;
        ShowPath();
        if (header.code == NM_DBLCLK)
            GetSheet()->PostMessage(WM_COMMAND, IDOK);
        return true;
    }
    case LVN_COLUMNCLICK: {
        const int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem + 1;
        m_nSort = m_nSort == column ? -column : column;
        ShowSortMark();
        SortRows();
        return true;
    }
    default:
        return false;
    }
}

bool CSelectFilePage::OnNotify(const NMHDR& header, LRESULT& result)
{
    result = 0;
    if (header.idFrom == IDC_SELECT_FILE_TREE)
        return OnTreeNotify(header);
    if (header.idFrom == IDC_SELECT_FILE_LIST)
        return OnListNotify(header);
    return CTabbedPage::OnNotify(header, result);
}

void CSelectFilePage::OnApply()
{
    // A path typed into the box is the choice; else the tapped file; without either the
    // chooser's path stays what it was.
    if (m_strShownPath != m_strPageText)
        GetData() = m_strShownPath;
    else if (!m_strFileName.empty())
        GetData() = m_strFolder + m_strFileName;
}

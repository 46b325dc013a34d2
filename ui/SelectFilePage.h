#pragma once
// "Select File", the file chooser's page: the device's folders as a tree read as it is opened,
// the files of the chosen folder in a list that sorts by name, size or date when its column
// header is tapped, and the path of the tapped file above both. It edits the chooser's path
// text: the starting path, replaced after OK by the chosen file's path if a file was chosen.
#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "framework/CommonControls.h"
#include "framework/Handle.h"
#include "ui/TabbedPage.h"

class CSelectFilePage : public CTabbedPageOf<std::wstring> {
public:
    CSelectFilePage();

    // 1024 and less as they are, then whole kilobytes ("1K") and above 1 MB whole megabytes.
    static std::wstring SizeText(ULONGLONG size);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    void OnApply() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The list takes the page's height down to a small margin.
    void StretchList() const;
    CTreeView GetTree() const;
    CListView GetList() const;
    // "\" for the root, "\Windows\" for a folder below it.
    std::wstring ItemPath(HTREEITEM item) const;
    // Adds the item's visible subfolders below it, once.
    void ReadSubfolders(HTREEITEM item) const;
    void ListFolder(const std::wstring& folder);
    void SortRows() const;
    void ShowSortMark() const;
    void ShowPath();
    bool OnTreeNotify(const NMHDR& header);
    bool OnListNotify(const NMHDR& header);
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM sort) noexcept;

    std::wstring m_strFolder;
    std::wstring m_strFileName;
    std::wstring m_strShownPath;
    std::wstring m_strFilter = L"*";
    // 0 unsorted; 1, 2, 3 ascending by name, size, date; -1, -2, -3 descending.
    int m_nSort = 0;
    // The directory entry of every row; the rows point at them.
    std::vector<std::unique_ptr<WIN32_FIND_DATAW>> m_rows;
    CImageListHandle m_sortMarks;
};

#pragma once
// Lets the user pick a file on the device: runs the "Choose file" sheet with its one page, the
// folder tree and the file list.
#include <windows.h>
#include <string>

class CFileChooser {
public:
    // path: what the chooser shows first; parent: the window it was opened from.
    CFileChooser(std::wstring path, HWND parent) : m_parent(parent), m_strPath(std::move(path)) {}

    // IDOK when the user closed it with OK.
    INT_PTR Run();
    // The chosen file's full path after OK; the starting path when no file was chosen.
    const std::wstring& GetPath() const { return m_strPath; }

private:
    HWND m_parent;
    std::wstring m_strPath;
};

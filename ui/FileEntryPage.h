#pragma once
// "File Entry": the full path of one file that follows the video mode, typed or chosen with
// the file chooser. Edits the CFileEntry handed over by the sheet.
#include <string>
#include "ui/TabbedPage.h"

class CFileEntryPage : public CTabbedPage {
public:
    // The longest path the page accepts.
    static constexpr size_t kMaxPath = 260;

    CFileEntryPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnApply() override;

private:
    std::wstring m_strPath;
};

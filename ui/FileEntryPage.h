#pragma once
// "File Entry": the full path of one file that follows the video mode, typed or chosen with
// the file chooser. Edits the CFileEntry handed over by the sheet.
#include <string>
#include "state/FileEntry.h"
#include "ui/TabbedPage.h"

class CFileEntryPage : public CTabbedPageOf<CFileEntry> {
public:
    // The longest path the page accepts.
    static constexpr size_t kMaxPath = 260;

    CFileEntryPage();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnButtonClicked(UINT id) override;
    void OnApply() override;

private:
    std::wstring m_strPath;
};

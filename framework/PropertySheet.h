#pragma once
// A modal dialog with tabs, one page per tab. The pages are child dialogs from their own
// templates, whose captions are the tab texts; a page's window is created the first time its
// tab is shown, so a page the user never opened never runs its initialisation or its apply
// step. The sheet fills the screen's work area, as the device shows every dialog, without a
// caption: the device's navigation bar shows its title.
#include <string>
#include <vector>
#include "framework/DataExchange.h"
#include "framework/Dialog.h"

class CPropertySheet;

class CPropertyPage : public CWnd {
public:
    explicit CPropertyPage(UINT templateId) : m_templateId(templateId) {}

    UINT GetTemplateId() const { return m_templateId; }
    // The tab text: the caption of the page's template.
    std::wstring GetTitle() const;
    // The sheet the page was added to; null before.
    CPropertySheet* GetSheet() const { return m_pSheet; }
    // Values to controls (save false) or controls to values (save true, with checks). False
    // when a value failed its check; the user has been told and the focus is on its control.
    bool UpdateData(bool save);
    // The controls' checks alone: nothing is stored. False as for UpdateData.
    bool CheckData();

protected:
    // Once, when the page's window and controls exist, before it is first shown. Return true
    // to leave the focus to the system. The base fills the controls from the members.
    virtual bool OnInitDialog();
    // Moves every value to or from its control; the base has none. A page may bind its
    // controls to the fields of the object it edits: they are stored only when the sheet
    // closes with OK, so Cancel leaves the object as it was.
    virtual void DoDataExchange(CDataExchange& dx);
    // The page is about to be left: another tab is chosen, or the sheet closes with OK.
    // Return false to keep it (the sheet stays open on it). The base checks the controls
    // (CheckData) and stores nothing.
    virtual bool OnKillActive();
    // The sheet was closed with OK: called for every page that was shown, in tab order, after
    // the active page passed its checks and the page's controls were stored (UpdateData(true)).
    // The base does nothing. An `error` raised here is reported and keeps the sheet open.
    virtual void OnApply();
    // A button of the page was clicked. Return true when handled; the base handles nothing.
    virtual bool OnButtonClicked(UINT id);

    bool OnCommand(UINT id, UINT code, HWND control) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CPropertySheet;
    bool Create(HWND sheet);
    // Stores the controls, then the page's apply step.
    void Apply();

    UINT m_templateId;
    CPropertySheet* m_pSheet = nullptr;
};

class CPropertySheet : public CDialog {
public:
    // The tab control's id among the sheet's children.
    static constexpr int kTabControlId = 0x3020;

    explicit CPropertySheet(std::wstring caption, HWND owner = nullptr);

    // Adds a page (not owned; it must outlive the sheet's window) as the next tab. Pages are
    // added before the sheet is shown.
    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetActiveIndex() const { return m_active; }
    CPropertyPage* GetActivePage() const { return GetPage(m_active); }
    // Leaves the active page (which may refuse, see OnKillActive) and shows the page index.
    // False when the page stays as it was.
    bool SetActivePage(int index);
    CWindow GetTabControl() const { return GetDlgItem(kTabControlId); }
    const std::wstring& GetCaption() const { return m_caption; }

    // Shows the sheet and returns when it has ended: IDOK when closed with OK, IDCANCEL
    // otherwise, -1 when it could not be created.
    INT_PTR DoModal();

protected:
    // Creates the tab control, sizes the sheet to the work area and shows the first page.
    // Overrides call it first and return what it returned.
    bool OnInitDialog() override;
    // The active page's checks; if they pass, every shown page's apply step and the sheet's
    // store step, then the end with IDOK. An `error` raised by either is reported and the
    // sheet stays open: nothing counts as stored that was not.
    void OnOK() override;
    // After the pages' apply steps: stores what they applied. The base does nothing.
    virtual void OnStore();
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    // Pixels at the bottom of the sheet's client area kept free for the derived sheet's own
    // controls; the base keeps none.
    virtual int GetReservedBottom() const;
    // Places the tab control over the client area above the reserved band, and the pages over
    // its display area. Call again after the tab control's font changed.
    void RecalcLayout();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowPage(int index);
    RECT PageRect() const;

    std::wstring m_caption;
    std::vector<CPropertyPage*> m_pages;
    int m_active = -1;
};

#include "ui/RunShortcutPage.h"
#include "core/RunShortcut.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "ui/FileChooser.h"
#include "ui/KeepModeDlg.h"

namespace {

// The modes in the order of the main window's buttons.
CVideoMode ModeAt(int index)
{
    return CVideoMode(index >= 4, static_cast<int16_t>(index & 3));
}

int IndexOf(const CVideoMode& mode)
{
    return (mode.m_bVGA ? 4 : 0) + (mode.m_nOrientation & 3);
}

std::wstring Trimmed(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// The program's file name without its extension.
std::wstring ProgramName(const std::wstring& program)
{
    std::wstring name = program.substr(program.find_last_of(L"\\/") + 1);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

CRunShortcutPage::CRunShortcutPage() : CTabbedPage(IDD_RUN_SHORTCUT) {}

bool CRunShortcutPage::OnInitDialog()
{
    const auto& shortcut = *static_cast<const CRunShortcut*>(m_pData);
    m_nMode = IndexOf(shortcut.m_mode);
    m_strProgram = shortcut.m_strProgram;
    m_strArguments = shortcut.m_strArguments;
    m_bReturn = shortcut.m_bReturn;
    m_bYes = shortcut.m_bYes;
    m_strName = shortcut.m_strName;
    m_bNameTyped = !m_strName.empty();
    const CWindow modes = GetDlgItem(IDC_RUN_MODE);
    for (int i = 0; i < 8; ++i)
        modes.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CKeepModeDlg::GetModeTitle(ModeAt(i)).c_str()));
    m_bProposing = true;
    const bool result = CTabbedPage::OnInitDialog();
    m_bProposing = false;
    ProposeName();
    return result;
}

void CRunShortcutPage::DoDataExchange(CDataExchange& dx)
{
    const CWindow modes = GetDlgItem(IDC_RUN_MODE);
    if (dx.IsSaving())
        m_nMode = static_cast<int>(modes.SendMessage(CB_GETCURSEL));
    else
        modes.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(m_nMode));
    dx.Text(IDC_RUN_PROGRAM, m_strProgram, kMaxPath);
    dx.Text(IDC_RUN_ARGUMENTS, m_strArguments, kMaxPath);
    dx.Check(IDC_RUN_RETURN, m_bReturn);
    dx.Check(IDC_RUN_YES, m_bYes);
    dx.Text(IDC_RUN_NAME, m_strName, kMaxName);
}

void CRunShortcutPage::ProposeName()
{
    if (m_bNameTyped)
        return;
    const std::wstring program = ProgramName(Trimmed(GetDlgItem(IDC_RUN_PROGRAM).GetWindowText()));
    const int mode = static_cast<int>(GetDlgItem(IDC_RUN_MODE).SendMessage(CB_GETCURSEL));
    const std::wstring name = program.empty() || mode < 0
                                  ? std::wstring()
                                  : FormatResourceString(IDS_RUN_SHORTCUT_NAME,
                                                         {program, CKeepModeDlg::GetModeTitle(ModeAt(mode))});
    m_bProposing = true;
    GetDlgItem(IDC_RUN_NAME).SetWindowText(name);
    m_bProposing = false;
}

bool CRunShortcutPage::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_RUN_BROWSE && code == BN_CLICKED) {
        const CWindow program = GetDlgItem(IDC_RUN_PROGRAM);
        CFileChooser chooser(program.GetWindowText(), m_hWnd);
        if (chooser.Run() == IDOK)
            program.SetWindowText(chooser.GetPath());
        return true;
    }
    if ((id == IDC_RUN_PROGRAM && code == EN_CHANGE) || (id == IDC_RUN_MODE && code == CBN_SELCHANGE)) {
        ProposeName();
        return true;
    }
    if (id == IDC_RUN_NAME && code == EN_CHANGE && !m_bProposing) {
        // A name typed away to nothing lets the proposals come back.
        m_bNameTyped = !GetDlgItem(IDC_RUN_NAME).GetWindowText().empty();
        return true;
    }
    return CTabbedPage::OnCommand(id, code, control);
}

bool CRunShortcutPage::Refuse(int id, UINT messageId)
{
    ShowMessageBox(m_hWnd, LoadResourceString(messageId), LoadResourceString(IDS_APP_TITLE),
                   MB_OK | MB_ICONEXCLAMATION);
    const CWindow box = GetDlgItem(id);
    ::SetFocus(box);
    box.SendMessage(EM_SETSEL, 0, -1);
    return false;
}

bool CRunShortcutPage::OnKillActive()
{
    if (!CTabbedPage::OnKillActive())
        return false;
    m_strProgram = Trimmed(m_strProgram);
    m_strName = Trimmed(m_strName);
    if (m_strProgram.empty())
        return Refuse(IDC_RUN_PROGRAM, IDS_RUN_SHORTCUT_NO_PROGRAM);
    if (!CRunShortcut::IsValidName(m_strName))
        return Refuse(IDC_RUN_NAME, IDS_RUN_SHORTCUT_BAD_NAME);
    CRunShortcut named;
    named.m_strName = m_strName;
    return !Exists(named.GetPath())
           || ShowMessageBox(m_hWnd, FormatResourceString(IDS_RUN_SHORTCUT_EXISTS, {m_strName}),
                             LoadResourceString(IDS_APP_TITLE), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CRunShortcutPage::OnApply()
{
    auto& shortcut = *static_cast<CRunShortcut*>(m_pData);
    shortcut.m_mode = ModeAt(m_nMode);
    shortcut.m_strProgram = m_strProgram;
    shortcut.m_strArguments = m_strArguments;
    shortcut.m_bReturn = m_bReturn;
    shortcut.m_bYes = m_bYes;
    shortcut.m_strName = m_strName;
}

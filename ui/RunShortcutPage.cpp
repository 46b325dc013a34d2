#include "ui/RunShortcutPage.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"
#include "ui/FileChooser.h"
#include "ui/KeepModeDlg.h"
#include "ui/ModeCombo.h"

namespace {

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

CRunShortcutPage::CRunShortcutPage() : CTabbedPageOf(IDD_RUN_SHORTCUT) {}

bool CRunShortcutPage::OnInitDialog()
{
    m_bNameTyped = !GetData().m_strName.empty();
    CModeCombo(GetDlgItem(IDC_RUN_MODE)).Fill(GetData().m_mode);
    m_bProposing = true;
    const bool result = CTabbedPage::OnInitDialog();
    m_bProposing = false;
    ProposeName();
    return result;
}

LRESULT CRunShortcutPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE)
        CModeCombo(GetDlgItem(IDC_RUN_MODE)).Widen(LOWORD(lParam));
    return CTabbedPage::WindowProc(message, wParam, lParam);
}

void CRunShortcutPage::DoDataExchange(CDataExchange& dx)
{
    CRunShortcut& shortcut = GetData();
    dx.Text(IDC_RUN_PROGRAM, shortcut.m_strProgram, kMaxPath);
    dx.Text(IDC_RUN_ARGUMENTS, shortcut.m_strArguments, kMaxPath);
    dx.Check(IDC_RUN_RETURN, shortcut.m_bReturn);
    dx.Check(IDC_RUN_YES, shortcut.m_bYes);
    dx.Text(IDC_RUN_NAME, shortcut.m_strName, kMaxName);
}

void CRunShortcutPage::ProposeName()
{
    if (m_bNameTyped)
        return;
    const std::wstring program = ProgramName(Trimmed(GetDlgItem(IDC_RUN_PROGRAM).GetWindowText()));
    CVideoMode mode;
    const std::wstring name = program.empty() || !CModeCombo(GetDlgItem(IDC_RUN_MODE)).GetSelected(mode)
                                  ? std::wstring()
                                  : FormatResourceString(IDS_RUN_SHORTCUT_NAME,
                                                         {program, CKeepModeDlg::GetModeTitle(mode)});
    m_bProposing = true;
    GetDlgItem(IDC_RUN_NAME).SetWindowText(name);
    m_bProposing = false;
}

bool CRunShortcutPage::OnButtonClicked(UINT id)
{
    if (id != IDC_RUN_BROWSE)
        return false;
    const CWindow program = GetDlgItem(IDC_RUN_PROGRAM);
    CFileChooser chooser(program.GetWindowText(), m_hWnd);
    if (chooser.Run() == IDOK)
        program.SetWindowText(chooser.GetPath());
    return true;
}

bool CRunShortcutPage::OnCommand(UINT id, UINT code, HWND control)
{
    if ((id == IDC_RUN_PROGRAM && code == EN_CHANGE) || (id == IDC_RUN_MODE && code == CBN_SELCHANGE)) {
        ProposeName();
        return true;
    }
    if (id == IDC_RUN_NAME && code == EN_CHANGE && !m_bProposing) {
        // A name typed away to nothing lets the proposals come back.
        m_bNameTyped = !GetDlgItem(IDC_RUN_NAME).GetWindowText().empty();
        return true;
    }
    return CTabbedPageOf::OnCommand(id, code, control);
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
    if (!CTabbedPageOf::OnKillActive())
        return false;
    if (Trimmed(GetDlgItem(IDC_RUN_PROGRAM).GetWindowText()).empty())
        return Refuse(IDC_RUN_PROGRAM, IDS_RUN_SHORTCUT_NO_PROGRAM);
    CRunShortcut named;
    named.m_strName = Trimmed(GetDlgItem(IDC_RUN_NAME).GetWindowText());
    if (!CRunShortcut::IsValidName(named.m_strName))
        return Refuse(IDC_RUN_NAME, IDS_RUN_SHORTCUT_BAD_NAME);
    return !Exists(named.GetPath())
           || ShowMessageBox(m_hWnd, FormatResourceString(IDS_RUN_SHORTCUT_EXISTS, {named.m_strName}),
                             LoadResourceString(IDS_APP_TITLE), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CRunShortcutPage::OnApply()
{
    CRunShortcut& shortcut = GetData();
    CModeCombo(GetDlgItem(IDC_RUN_MODE)).GetSelected(shortcut.m_mode);
    shortcut.m_strProgram = Trimmed(shortcut.m_strProgram);
    shortcut.m_strName = Trimmed(shortcut.m_strName);
}

#include "app/ModeChange.h"
#include "app/ProgramUser.h"
#include "core/KeepMode.h"
#include "core/ModeSwitch.h"
#include "core/ProgramRun.h"
#include "core/TaskManager.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "state/FileHelpers.h"

namespace {

int Ask(HWND owner, UINT messageId)
{
    return ShowProgramMessage(owner, LoadResourceString(messageId), MB_OKCANCEL | MB_ICONEXCLAMATION);
}

}  // namespace

bool CModeChange::Confirm() const
{
    if (m_bWarnVga3 && m_target == CVideoMode(true, 3) && Ask(m_owner, IDS_CONFIRM_VGA3) != IDOK)
        return false;
    if (!m_bAsk)
        return true;
    const int answer = Ask(m_owner, IDS_CONFIRM_RESET);
    // Let the screen repaint where the box was before the switch blocks the thread.
    if (m_owner)
        PumpMessages();
    return answer == IDOK;
}

void CModeChange::Switch() const
{
    CProgramUser user(m_owner);
    const CSessionUser present(m_modeSwitch, m_bUnattended ? nullptr : &user);
    if (m_bSafetyNet)
        CKeepMode::SwitchTo(m_modeSwitch, m_target);
    else
        m_modeSwitch.SwitchTo(m_target);
}

void CModeChange::Finish() const
{
    if (m_bReset)
        SoftReset();
    else
        ::PostMessageW(m_owner, WM_QUIT, 0, 0);
}

bool CModeChange::Run() const
{
    if (!Confirm())
        return false;
    Switch();
    CProgramRun::Remove();
    Finish();
    return true;
}

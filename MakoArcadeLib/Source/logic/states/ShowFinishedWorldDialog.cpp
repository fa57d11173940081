#include "logic/states/ShowFinishedWorldDialog.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"

namespace ArcadeGameStates {

void ShowFinishedWorldDialog::OnEnterState()
{
    m_Logic->LeaveGameScreen();
}

bool ShowFinishedWorldDialog::OnDialogStopped(const Event&)
{
    m_Logic->LeaveGameScreen();
    return false;
}

} // namespace ArcadeGameStates

#include "logic/states/ShowGameWonDialog.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"

namespace ArcadeGameStates {

void ShowGameWonDialog::OnEnterState()
{
    m_Logic->LeaveGameScreen();
}

} // namespace ArcadeGameStates

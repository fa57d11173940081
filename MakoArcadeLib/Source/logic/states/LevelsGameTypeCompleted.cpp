#include "logic/states/LevelsGameTypeCompleted.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"

namespace ArcadeGameStates {

void LevelsGameTypeCompleted::OnEnterState()
{
    m_Logic->QuitToScreen();
}

} // namespace ArcadeGameStates

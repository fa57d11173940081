#include "logic/states/LevelsGameTypeOver.h"

#include "core/AppHost.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"
#include "screens/Screen.h"

namespace ArcadeGameStates {

void LevelsGameTypeOver::OnEnterState()
{
    m_Logic->QuitToScreen();
}

bool LevelsGameTypeOver::OnDialogStopped(const Event& event)
{
    const std::string button = ClickedButtonName(event);
    if (button == "TryAgainButton") {
        m_Logic->SaveSelection();
        if (AppHost* host = GetAppHost())
            host->PostEvent(m_Logic->GetGameScreen(), ARCADE_RESTARTGAME);
        return true;
    }
    if (button == "QuitButton") {
        m_Logic->QuitToScreen();
        return true;
    }
    return false;
}

} // namespace ArcadeGameStates

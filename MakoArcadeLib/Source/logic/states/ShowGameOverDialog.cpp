#include "logic/states/ShowGameOverDialog.h"

#include "core/Log.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"

namespace ArcadeGameStates {

void ShowGameOverDialog::OnEnterState()
{
    SetMusicTempo(1.0f);
    m_Episode = m_Logic->m_EpisodeNumber.value_or(1);
    m_Level = m_Logic->m_LevelNumber.value_or(1);
}

void ShowGameOverDialog::OnExitState()
{
    m_Logic->GetGoobers().KillAll();
    m_Logic->GetBricks().KillAll();
    m_Logic->GetDropTargets().KillAll();
    m_Logic->GetPowerups().KillAll();
    m_Logic->GetFlyingTexts().KillAll();
}

bool ShowGameOverDialog::OnDialogStopped(const Event& event)
{
    ArcadeGameLogic* logic = m_Logic;
    const std::string button = ClickedButtonName(event);
    if (button == "MapButton") {
        logic->LeaveGameScreen();
        return true;
    }
    if (button == "ReplayButton") {
        LogAtLevel(4, "ShowEndLevelDialog: e:%d l:%d le:%d ll:%d \n",
                   logic->m_EpisodeNumber.value_or(0), logic->m_LevelNumber.value_or(0), m_Episode,
                   m_Level);
        logic->m_EpisodeNumber = m_Episode;
        logic->m_LevelNumber = m_Level;
        logic->SaveSelection();
        logic->SetState("Start");
        return true;
    }
    if (button == "QuitButton") {
        logic->QuitToScreen();
        return true;
    }
    return false;
}

} // namespace ArcadeGameStates

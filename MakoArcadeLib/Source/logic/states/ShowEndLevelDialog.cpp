#include "logic/states/ShowEndLevelDialog.h"

#include "core/Log.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/states/StateSupport.h"

namespace ArcadeGameStates {

void ShowEndLevelDialog::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    SetMusicTempo(1.0f);
    m_CompletedEpisode = logic->m_EpisodeNumber.value_or(1);
    m_CompletedLevel = logic->m_LevelNumber.value_or(1);
    const std::string mode =
        logic->m_Player ? GameProgress::ModeName(logic->m_Player) : logic->m_GameType;
    if (mode == "Adventure")
        logic->AdvanceProgress();
    // No letter to wait for yet: "next" at once.
    GoOn();
}

void ShowEndLevelDialog::GoOn()
{
    ArcadeGameLogic* logic = m_Logic;
    const std::string& type = logic->m_GameType;
    if (type == "Levels")
        logic->SetState("LevelsGameTypeCompleted");
    else if (type == "Lab" && logic->m_LevelNumber.value_or(0) != 10)
        logic->LeaveGameScreen();
    else if (type == "Lab")
        logic->SetState("ShowFinishedWorldDialog");
    else if (logic->m_GameFinished)
        logic->SetState("ShowGameWonDialog");
    else if (logic->m_EpisodeFinished)
        logic->SetState("ShowFinishedWorldDialog");
    else
        logic->SetState("AdvanceLevel");
}

void ShowEndLevelDialog::RestoreCompletedLevel()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->m_EpisodeNumber = m_CompletedEpisode;
    logic->m_LevelNumber = m_CompletedLevel;
    LuaPlus::LuaObject modeTable = GameProgress::ModeTable(logic->m_Player);
    if (modeTable.IsTable()) {
        modeTable.SetInteger("LevelSelected", m_CompletedLevel);
        modeTable.SetInteger("EpisodeSelected", m_CompletedEpisode);
    }
}

bool ShowEndLevelDialog::OnDialogStopped(const Event& event)
{
    ArcadeGameLogic* logic = m_Logic;
    const std::string button = ClickedButtonName(event);
    if (button == "NextButton") {
        GoOn();
        return true;
    }
    if (button == "ReplayButton") {
        LogAtLevel(4, "ShowEndLevelDialog: e:%d l:%d le:%d ll:%d \n",
                   logic->m_EpisodeNumber.value_or(0), logic->m_LevelNumber.value_or(0),
                   m_CompletedEpisode, m_CompletedLevel);
        RestoreCompletedLevel();
        logic->SaveSelection();
        logic->SetState("Start");
        return true;
    }
    if (button == "QuitButton") {
        RestoreCompletedLevel();
        logic->QuitToScreen();
        return true;
    }
    return false;
}

} // namespace ArcadeGameStates

#include "logic/states/Start.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"

namespace ArcadeGameStates {

void Start::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->ApplyProperties(logic->m_OptionsTable);
    logic->m_FastTimeEarned = 0;
    logic->m_AllLootEarned = 0;
    logic->m_SecretFound = 0;
    logic->m_OneBallEarned = 1;
    logic->m_BallsUsed = 1;
    logic->m_BigScoreEarned = 0;
    logic->m_EpisodeFinished = false;
    logic->ShowBallsLeft(logic->m_BallsLeft);
    logic->ShowScore(0);
    logic->ShowTime(0);
    if (!logic->m_EpisodeNumber)
        logic->m_EpisodeNumber = 1;
    if (!logic->m_LevelNumber)
        logic->m_LevelNumber = 1;
    logic->SetState("LoadingLevel");
}

} // namespace ArcadeGameStates

#include "logic/states/GameOver.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"
#include "screens/GameOverAnimation.h"

namespace ArcadeGameStates {

void GameOver::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    // Play has ended: its prompt does not stay under the caption and the letter.
    logic->ShowMessage("", 0);
    logic->GetBalls().KillAll();
    logic->m_BallLocked = false;
    logic->GetBallSpawnAnimations().KillAll();
    SetMusicTempo(1.0f);
    m_Caption.Set(ShowCaption(logic, new GameOverAnimation("Game Over", logic), 9));
    logic->PlayLevelMusic("GameOver", false);
    m_Timer = logic->StartTimer(logic->m_GameType == "Levels" ? 500 : 3000, 1);
}

bool GameOver::OnAnimFinish(const Event&)
{
    return true;
}

bool GameOver::OnTimer(const Event& event)
{
    const auto id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id == 0 || id != m_Timer)
        return false;
    m_Logic->ForgetTimer(m_Timer);
    if (m_Logic->m_GameType == "Levels")
        m_Logic->SetState("LevelsGameTypeOver");
    else
        m_Logic->SetState("ShowGameOverDialog");
    return true;
}

void GameOver::OnExitState()
{
    m_Logic->KillTimer(m_Timer);
    if (m_Caption)
        m_Caption->Kill();
    ClearFieldAfterPlay(m_Logic);
}

} // namespace ArcadeGameStates

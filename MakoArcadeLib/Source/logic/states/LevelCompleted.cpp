#include "logic/states/LevelCompleted.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"

namespace ArcadeGameStates {

void LevelCompleted::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->GetBalls().KillAll();
    logic->m_BallLocked = false;
    logic->GetBallSpawnAnimations().KillAll();
    // The caption's end, until the game has its level-complete animation.
    m_CaptionTimer = logic->StartTimer(kCaptionMs, 1);
    logic->PlayLevelMusic("BeatLevel", false);
}

void LevelCompleted::Tick()
{
    m_Logic->TickField(0);
}

bool LevelCompleted::OnTimer(const Event& event)
{
    const auto id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id == 0 || id != m_CaptionTimer)
        return false;
    m_Logic->ForgetTimer(m_CaptionTimer);
    GoOn();
    return true;
}

bool LevelCompleted::OnAnimFinish(const Event&)
{
    m_Logic->KillTimer(m_CaptionTimer);
    GoOn();
    return true;
}

void LevelCompleted::GoOn()
{
    m_Logic->SetState(m_Logic->GetArtefact() ? "ShowArtifactDialog" : "ShowEndLevelDialog");
}

bool LevelCompleted::OnMouseMotion(const Event& event)
{
    RelayPointerMotion(m_Logic, event);
    return true;
}

void LevelCompleted::OnExitState()
{
    m_Logic->KillTimer(m_CaptionTimer);
    ClearFieldAfterPlay(m_Logic);
}

} // namespace ArcadeGameStates

#include "logic/states/LevelCompleted.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"
#include "screens/LevelCompleteAnimation.h"

namespace ArcadeGameStates {

void LevelCompleted::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->GetBalls().KillAll();
    // A prompt of the play that ended does not stay under the caption and the letters.
    logic->ShowMessage("", 0);
    logic->m_BallLocked = false;
    logic->GetBallSpawnAnimations().KillAll();
    m_Caption.Set(ShowCaption(logic, new LevelCompleteAnimation(logic), 0));
    logic->PlayLevelMusic("BeatLevel", false);
}

void LevelCompleted::Tick()
{
    m_Logic->TickField(0);
}

bool LevelCompleted::OnAnimFinish(const Event& event)
{
    if (!m_Caption || EventData1(event) != static_cast<void*>(m_Caption.Get()))
        return false;
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
    if (m_Caption)
        m_Caption->Kill();
    ClearFieldAfterPlay(m_Logic);
}

} // namespace ArcadeGameStates

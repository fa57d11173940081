#include "logic/states/AllBallsLost.h"

#include "field/Ball.h"
#include "field/Paddle.h"
#include "field/Shield.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/states/StateSupport.h"
#include "physics/PhysicsGeom.h"
#include "screens/AllBallsLostAnimation.h"

#include <vector>

namespace ArcadeGameStates {

void AllBallsLost::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    // A prompt of the play that ended does not stay under the caption and the letters.
    logic->ShowMessage("", 0);
    if (Level* level = logic->GetLevel())
        level->StartTimeAttackRewind();
    m_Caption.Set(ShowCaption(logic, new AllBallsLostAnimation(logic->m_LostReason, logic), 9));
    m_ShatterTimer = logic->StartTimer(750, 1);
    ActorGroup balls(logic->GetBalls());
    for (Actor* actor : balls.GetMembers()) {
        Ball* ball = dynamic_cast<Ball*>(actor);
        if (!ball)
            continue;
        if (ball->IsActive()) {
            ball->SetActive(false);
            m_SetAside.Add(ball);
        } else if (ball->GetGeom()) {
            ball->GetGeom()->Disable();
        }
    }
    logic->GetSparks().KillAll();
}

void AllBallsLost::Tick()
{
    m_Logic->TickField(ArcadeGameLogic::FIELD_TICK_LEVEL_FIRST);
}

bool AllBallsLost::OnTimer(const Event& event)
{
    const auto id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id != 0 && id == m_ShatterTimer) {
        m_Logic->ForgetTimer(m_ShatterTimer);
        for (Paddle* paddle : std::vector<Paddle*>(m_Logic->GetPaddles()))
            paddle->Shatter();
        return true;
    }
    return false;
}

bool AllBallsLost::OnAnimFinish(const Event& event)
{
    if (!m_Caption || EventData1(event) != static_cast<void*>(m_Caption.Get()))
        return false;
    GoOn();
    return true;
}

void AllBallsLost::GoOn()
{
    ArcadeGameLogic* logic = m_Logic;
    if (logic->m_BallsLeft < 1) {
        logic->GetGoobers().KillAll();
        logic->GetBalls().KillAll();
        logic->SetState("GameOver");
        return;
    }
    logic->m_OneBallEarned = 0;
    ++logic->m_BallsUsed;
    logic->SetState("WaitForSpawn");
}

bool AllBallsLost::OnMouseMotion(const Event& event)
{
    RelayPointerMotion(m_Logic, event);
    return false;
}

void AllBallsLost::OnExitState()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->KillTimer(m_ShatterTimer);
    if (m_Caption)
        m_Caption->Kill();
    const ActorGroup setAside(m_SetAside);
    for (Actor* actor : setAside.GetMembers())
        if (Ball* ball = dynamic_cast<Ball*>(actor))
            ball->Explode(logic);
    m_SetAside.KillAll();
    logic->GetBallSpawnAnimations().KillAll();
    logic->GetPowerups().KillAll();
    logic->GetExplosions().KillAll();
    logic->GetLaserBeams().KillAll();
    logic->GetSparks().KillAll();
    logic->m_PaddleHits = 0;
    logic->m_Bonus = 0;
    logic->m_Speed = 0;
    SetMusicTempo(1.0f);
    logic->m_BallLocked = false;
    for (Shield* shield : std::vector<Shield*>(logic->GetShields()))
        shield->Clear();
}

} // namespace ArcadeGameStates

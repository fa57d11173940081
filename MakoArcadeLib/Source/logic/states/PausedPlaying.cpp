#include "logic/states/PausedPlaying.h"

#include "core/TimerManager.h"
#include "core/TimerRecord.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "scene/SceneHost.h"
#include "screens/Screen.h"

namespace ArcadeGameStates {

namespace {

PhysicsGeom* GeomOf(Actor* actor)
{
    ArcadeActor* arcade = dynamic_cast<ArcadeActor*>(actor);
    return arcade ? arcade->GetGeom() : nullptr;
}

void SetGroupEnabled(ActorGroup& group, bool enabled)
{
    for (Actor* actor : group.GetMembers())
        if (PhysicsGeom* geom = GeomOf(actor))
            enabled ? geom->Enable() : geom->Disable();
}

} // namespace

void PausedPlaying::PausePlayTimers(bool pause)
{
    TimerManager* timers = SceneHost::GetTimerManager();
    if (!timers)
        return;
    for (std::uint32_t id :
         {m_Logic->m_ClockTimer, m_Logic->m_BallLockTimer, m_Logic->m_LiveBallTimer}) {
        if (id == 0)
            continue;
        if (pause)
            timers->PauseTimer(id, TIMER_PAUSED_PLAY);
        else
            timers->ResumeTimer(id, TIMER_PAUSED_PLAY);
    }
}

void PausedPlaying::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->ForgetTimer(m_CountdownTimer);
    for (Actor* actor : logic->GetBalls().GetMembers()) {
        Ball* ball = dynamic_cast<Ball*>(actor);
        if (ball && !ball->GetPaddle() && ball->GetGeom())
            ball->GetGeom()->Disable();
    }
    SetGroupEnabled(logic->GetPowerups(), false);
    SetGroupEnabled(logic->GetGoobers(), false);
    for (Actor* actor : logic->GetBricks().GetMembers()) {
        Brick* brick = dynamic_cast<Brick*>(actor);
        PhysicsGeom* geom = brick ? brick->GetGeom() : nullptr;
        if (!geom || geom->GetCenter().y <= 10.0)
            continue;
        if (!brick->BlocksPaddle())
            geom->Disable();
        else if (PhysicsBody* body = brick->GetPhysicsBody())
            body->SetLinearVel(0.0, 0.0);
    }
    PausePlayTimers(true);
}

void PausedPlaying::Tick()
{
    m_Logic->TickField(ArcadeGameLogic::FIELD_TICK_FROZEN | ArcadeGameLogic::FIELD_TICK_HIT_METER);
}

bool PausedPlaying::OnPauseGame(const Event& event)
{
    if (EventCode(event) != 0)
        return false;
    StartResumeCountdown();
    return true;
}

bool PausedPlaying::OnActiveEvent(const Event& event)
{
    if (event.active.gain != 1 || !(event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)))
        return false;
    Screen* screen = m_Logic->GetGameScreen();
    if (screen && screen->IsDialogVisible())
        return false;
    StartResumeCountdown();
    return true;
}

void PausedPlaying::StartResumeCountdown()
{
    for (Actor* actor : m_Logic->GetBalls().GetMembers())
        if (Ball* ball = dynamic_cast<Ball*>(actor))
            ball->StartCountDown();
    m_Logic->KillTimer(m_CountdownTimer);
    m_CountdownTimer = m_Logic->StartTimer(2250, 1);
}

bool PausedPlaying::OnTimer(const Event& event)
{
    const auto id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id == 0 || id != m_CountdownTimer)
        return false;
    m_Logic->ForgetTimer(m_CountdownTimer);
    Resume();
    return true;
}

void PausedPlaying::Resume()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->SetState("Playing");
    SendLeftButton(logic, IsLeftButtonHeld());
}

bool PausedPlaying::OnMouseButtonDown(const Event&)
{
    m_Logic->SendToPaddles(ARCADE_BUTTONDOWN);
    return false;
}

bool PausedPlaying::OnMouseMotion(const Event& event)
{
    RelayPointerMotion(m_Logic, event);
    return true;
}

void PausedPlaying::OnExitState()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->KillTimer(m_CountdownTimer);
    SetGroupEnabled(logic->GetPowerups(), true);
    SetGroupEnabled(logic->GetGoobers(), true);
    for (Actor* actor : logic->GetBricks().GetMembers()) {
        Brick* brick = dynamic_cast<Brick*>(actor);
        PhysicsGeom* geom = brick ? brick->GetGeom() : nullptr;
        if (geom && geom->GetCenter().y >= 10.0 && !brick->BlocksPaddle())
            geom->Enable();
    }
    PausePlayTimers(false);
}

} // namespace ArcadeGameStates

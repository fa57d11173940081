#include "logic/states/WaitForSpawn.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/states/StateSupport.h"

namespace ArcadeGameStates {

void WaitForSpawn::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    m_SpawnDelayTimer = m_SecondTimer = 0;
    logic->PrepareServe(m_SpawnDelayTimer, m_SecondTimer);
    logic->PlayLevelMusic("GetReady");
}

void WaitForSpawn::ServeOrPrompt()
{
    ArcadeGameLogic* logic = m_Logic;
    const EarlyPress early = logic->m_EarlyPress;
    logic->m_EarlyPress.Clear();
    const bool held = IsLeftButtonHeld();
    if (early.pressed || held) {
        SendLeftButton(logic, true);
        // A press that has gone up again is a whole click: the serve's stroke follows.
        if (early.released && !held)
            SendLeftButton(logic, false);
        return;
    }
    if (early.requested) {
        Serve(0);
        return;
    }
    const int episode = logic->m_EpisodeNumber.value_or(0);
    const int level = logic->m_LevelNumber.value_or(0);
    bool prompted = false;
    if ((episode == 1 && level == 5) || episode == 2)
        prompted = logic->ShowPrompt("serve", "show");
    if (!prompted)
        logic->ShowMessage("Click To Start - Space Bar For Menu", 0);
}

void WaitForSpawn::Tick()
{
    m_Logic->TickField(ArcadeGameLogic::FIELD_TICK_ARTEFACT |
                       ArcadeGameLogic::FIELD_TICK_NO_SPAWNS);
}

bool WaitForSpawn::OnTimer(const Event& event)
{
    const auto id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id != 0 && id == m_SpawnDelayTimer) {
        m_Logic->ForgetTimer(m_SpawnDelayTimer);
        if (Level* level = m_Logic->GetLevel())
            level->SpawnBall(m_Logic, -1, false);
        ServeOrPrompt();
        return true;
    }
    if (id != 0 && id == m_SecondTimer) {
        m_Logic->ForgetTimer(m_SecondTimer);
        return true;
    }
    return false;
}

void WaitForSpawn::Serve(std::uint8_t paddleEvent)
{
    ArcadeGameLogic* logic = m_Logic;
    if (m_SpawnDelayTimer != 0) {
        if (paddleEvent == ARCADE_BUTTONDOWN)
            logic->m_EarlyPress.Press();
        else if (paddleEvent == ARCADE_BUTTONUP)
            logic->m_EarlyPress.Release();
        else
            logic->m_EarlyPress.Request();
        return;
    }
    if (paddleEvent != 0)
        logic->SendToPaddles(paddleEvent);
    logic->KillTimer(logic->m_ClockTimer);
    logic->m_ClockTimer = logic->StartTimer(1000, -1);
    logic->SetState("SpawnBall");
}

bool WaitForSpawn::OnMouseButtonDown(const Event&)
{
    Serve(ARCADE_BUTTONDOWN);
    return false;
}

bool WaitForSpawn::OnMouseButtonUp(const Event&)
{
    Serve(ARCADE_BUTTONUP);
    return false;
}

bool WaitForSpawn::OnServe(const Event&)
{
    Serve(0);
    return false;
}

bool WaitForSpawn::OnMouseMotion(const Event& event)
{
    RelayPointerMotion(m_Logic, event);
    return false;
}

void WaitForSpawn::OnExitState()
{
    m_Logic->KillTimer(m_SpawnDelayTimer);
    m_Logic->KillTimer(m_SecondTimer);
    m_Logic->m_EarlyPress.Clear();
    m_Logic->ShowMessage("", 0);
}

} // namespace ArcadeGameStates

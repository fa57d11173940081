#include "logic/states/Playing.h"

#include "field/Ball.h"
#include "field/BallSpawnAnimation.h"
#include "field/Brick.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/states/StateSupport.h"

#include <memory>

namespace ArcadeGameStates {

void Playing::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    m_ClearLevel = false;
    logic->CheckForLevelEnd(0.0, 0.0);
    if (!logic->IsInState("Playing"))
        return;
    if (logic->ShowPrompt("click", "show"))
        return;
    const int episode = logic->m_EpisodeNumber.value_or(1);
    const int level = logic->m_LevelNumber.value_or(1);
    if ((episode == 1 && level >= 3) || episode > 1)
        if (!logic->ShowPrompt("powerup", "show"))
            logic->ShowPrompt("smash", "show");
}

void Playing::Tick()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->TickField(ArcadeGameLogic::FIELD_TICK_LEVEL | ArcadeGameLogic::FIELD_TICK_HIT_METER);
    if (logic->IsInState("Playing"))
        logic->GetStallRule().Update(logic);
    if (m_ClearLevel && logic->IsInState("Playing")) {
        m_ClearLevel = false;
        logic->GetBricks().KillAll();
        logic->GetDropTargets().KillAll();
        logic->CheckForLevelEnd(200.0, 200.0);
    }
}

bool Playing::OnTimer(const Event& event)
{
    ArcadeGameLogic* logic = m_Logic;
    const auto id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id == 0)
        return false;
    Level* level = logic->GetLevel();
    if (id == logic->m_BallLockTimer) {
        logic->ForgetTimer(logic->m_BallLockTimer);
        if (logic->m_BallLocked && level) {
            // Replacement balls while the level asks for them; a level that still wants one
            // after a forced look is not served more.
            while (level->NeedsLiveBall(logic, true)) {
                if (level->NeedsLiveBall(logic, false))
                    break;
                level->SpawnBall(logic, 1, true);
            }
        }
        logic->m_BallLocked = false;
        return true;
    }
    if (id == logic->m_LiveBallTimer) {
        if (level && level->NeedsLiveBall(logic, false)) {
            level->SpawnBall(logic, 1, false);
            logic->CheckForLevelEnd(0.0, 0.0);
        }
        logic->ForgetTimer(logic->m_LiveBallTimer);
        return true;
    }
    if (id == logic->m_ClockTimer) {
        logic->AdvanceClock(1);
        return true;
    }
    return false;
}

bool Playing::OnMouseButtonDown(const Event&)
{
    m_Logic->SendToPaddles(ARCADE_BUTTONDOWN);
    return false;
}

bool Playing::OnMouseButtonUp(const Event&)
{
    if (m_Logic->CurrentMusicPart() == "GetReady")
        m_Logic->PlayLevelMusic("Play1");
    m_Logic->SendToPaddles(ARCADE_BUTTONUP);
    return false;
}

bool Playing::OnMouseMotion(const Event& event)
{
    RelayPointerMotion(m_Logic, event);
    return true;
}

bool Playing::OnActiveEvent(const Event& event)
{
    if (event.active.gain == 0 && (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE))) {
        m_Logic->SetState("PausedPlaying");
        return true;
    }
    return false;
}

bool Playing::OnPauseGame(const Event& event)
{
    if (EventCode(event) == 1)
        m_Logic->SetState("PausedPlaying");
    return false;
}

bool Playing::OnAnimFinish(const Event& event)
{
    Actor* actor = dynamic_cast<Actor*>(static_cast<Object*>(EventData1(event)));
    BallSpawnAnimation* animation = dynamic_cast<BallSpawnAnimation*>(actor);
    if (!animation)
        return false;
    if (std::unique_ptr<Ball> ball = animation->TakeBall())
        m_Logic->AddBall(ball.release());
    animation->Kill();
    return false;
}

bool Playing::OnKeyDown(const Event& event)
{
    const unsigned mods = event.key.keysym.mod & ~(KMOD_NUM | KMOD_CAPS);
    if (mods == (KMOD_LCTRL | KMOD_LALT) || mods == (KMOD_RCTRL | KMOD_RALT))
        DeveloperKey(event.key.keysym.sym);
    return false;
}

void Playing::DeveloperKey(int key)
{
    ArcadeGameLogic* logic = m_Logic;
    if (key == SDLK_b) {
        logic->SetBallsLeft(logic->m_BallsLeft + 1);
    } else if (key == SDLK_d) {
        Brick* lowest = nullptr;
        double lowestY = 0.0;
        for (Actor* actor : logic->GetBricks().GetMembers()) {
            Brick* brick = dynamic_cast<Brick*>(actor);
            if (!brick || brick->IsDead() || brick->IsRegenerating())
                continue;
            const double y = brick->GetY() + brick->GetHeight() / 2.0;
            if (!lowest || y > lowestY) {
                lowest = brick;
                lowestY = y;
            }
        }
        if (lowest) {
            lowest->Destroy(lowest, logic, lowest->GetX() + lowest->GetWidth() / 2.0, lowestY,
                            true);
            lowest->Kill();
        }
    } else if (key == SDLK_q) {
        logic->SetState("GameOver");
    } else if (key == SDLK_x) {
        m_ClearLevel = true;
    }
}

} // namespace ArcadeGameStates

#include "logic/states/BrickDrop.h"

#include "core/FramePeriod.h"
#include "core/Log.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/states/StateSupport.h"
#include "screens/HitMeter.h"
#include "sound/Sound.h"

#include <algorithm>

namespace ArcadeGameStates {

namespace {
const char* const kSlideSound = "SlideDown.ogg";
const char* const kColumnSound = "Mystical_EnergyColumnLoop1.ogg";
const int kDropMs = 2240;
// Pixels per frame, so that the content arrives with the timer.
const int kDropStep = kDropDistance * int(FRAME_PERIOD_MS) / kDropMs;
} // namespace

BrickDrop::~BrickDrop()
{
    // The state may go while an error unwinds: a sound that cannot be stopped is logged.
    for (const char* name : {kSlideSound, kColumnSound}) {
        try {
            Sound::StopSound(name);
        } catch (const std::exception& e) {
            Log("Warning: the sound \"%s\" could not be stopped: %s\n", name, e.what());
        }
    }
}

void BrickDrop::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    m_Timer = 0;
    m_Dropped = kDropDistance;
    logic->m_EarlyPress.Clear();
    logic->SetHudShown(true);
    logic->m_PaddleHits = 0;
    if (logic->m_HitMeter)
        logic->m_HitMeter->Reset();
    if (!GameProgress::AppFlag("enableBrickDropAnimation", true)) {
        logic->SetState("WaitForSpawn");
        return;
    }
    m_Dropped = 0;
    Sound::PlaySound("levelStart.ogg", false);
    Sound::PlaySound(kSlideSound, true);
    Sound::PlaySound(kColumnSound, true);
    m_Timer = logic->StartTimer(kDropMs, 1);
}

void BrickDrop::DropBy(int step)
{
    step = std::min(step, kDropDistance - m_Dropped);
    if (step <= 0)
        return;
    MoveDropContent(m_Logic, step);
    m_Dropped += step;
}

void BrickDrop::Tick()
{
    ArcadeGameLogic* logic = m_Logic;
    DropBy(kDropStep);
    for (ActorGroup* group :
         {&logic->GetBricks(), &logic->GetGoobers(), &logic->GetExtraActors(), &logic->GetBalls()})
        if (!group->IsEmpty())
            group->Tick();
    if (Actor* artefact = logic->GetArtefact(); artefact && artefact->CanTick())
        artefact->Tick();
}

bool BrickDrop::OnTimer(const Event& event)
{
    if (m_Timer == 0 || static_cast<std::uint32_t>(EventData1Int(event)) != m_Timer)
        return false;
    Sound::StopSound(kSlideSound);
    Sound::StopSound(kColumnSound);
    Sound::PlaySound("Smash_StoneColumn1.ogg", false);
    m_Logic->ForgetTimer(m_Timer);
    DropBy(kDropDistance);
    m_Logic->SetState("WaitForSpawn");
    return false;
}

bool BrickDrop::OnMouseButtonDown(const Event&)
{
    m_Logic->m_EarlyPress.Press();
    return false;
}

bool BrickDrop::OnMouseButtonUp(const Event&)
{
    m_Logic->m_EarlyPress.Release();
    return false;
}

void BrickDrop::OnExitState()
{
    DropBy(kDropDistance); // however the drop ends, the content is in its place
    m_Logic->KillTimer(m_Timer);
}

} // namespace ArcadeGameStates

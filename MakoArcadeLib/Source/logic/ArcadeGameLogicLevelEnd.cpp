// When play in a level stops or pauses for the player: the level-end check after anything
// that may end the level, a brick swallowing a ball, and the preparation of each serve.
#include "field/Ball.h"
#include "field/Brick.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsGeom.h"
#include "screens/Artefact.h"
#include "sound/Sound.h"
#include "widgets/Label.h"

#include <algorithm>

using LuaPlus::LuaObject;

namespace {

bool MustUncover(Brick* brick)
{
    LuaObject value;
    brick->RetrieveProperty(value, "mustUncover");
    return value.IsBoolean() && value.GetBoolean();
}

// Where the structure is: its geometry's position, or its rectangle's centre.
Point<double> StructureCentre(const ArcadeActor* actor)
{
    if (const PhysicsGeom* geom = actor->GetGeom())
        return geom->GetCenter();
    return Point<double>(actor->GetX() + actor->GetWidth() / 2.0,
                         actor->GetY() + actor->GetHeight() / 2.0);
}

// Set while a won level breaks its remaining bricks: the checks their destruction asks for
// wait for the one that is running.
bool s_ClearingField = false;

} // namespace

void ArcadeGameLogic::CheckForLevelEnd(double x, double y)
{
    if (!IsInState("Playing") || !m_Level || s_ClearingField)
        return;

    // The artefact shows once no brick that must be cleared to uncover it stands.
    auto* artefact = dynamic_cast<Artefact*>(m_Artefact);
    if (artefact && artefact->IsCovered()) {
        bool covered = false;
        for (Actor* actor : m_Bricks.GetMembers()) {
            Brick* brick = dynamic_cast<Brick*>(actor);
            if (brick && MustUncover(brick) && !brick->IsDead() && !brick->IsRegenerating()) {
                covered = true;
                break;
            }
        }
        if (!covered) {
            artefact->SetCovered(false, this);
            ActorGroup bricks(m_Bricks);
            for (Actor* actor : bricks.GetMembers())
                if (Brick* brick = dynamic_cast<Brick*>(actor); brick && MustUncover(brick))
                    brick->Kill();
        }
    }

    m_Level->CheckLastBrickBonus(this, x, y);

    if (m_Level->IsVictory(this)) {
        // Bricks the goals do not require break where they stand, so their loot still falls.
        s_ClearingField = true;
        try {
            while (!m_Bricks.IsEmpty()) {
                Actor* first = m_Bricks.GetMembers().front();
                if (Brick* brick = dynamic_cast<Brick*>(first)) {
                    const Point<double> centre = StructureCentre(brick);
                    brick->Destroy(nullptr, this, centre.x, centre.y, false);
                }
                first->Kill();
                m_Bricks.Remove(first);
            }
        } catch (...) {
            s_ClearingField = false;
            throw;
        }
        s_ClearingField = false;
        m_Level->victoryPaddles = m_Level->victoryBalls = -1;
        m_Level->defeatPaddles = m_Level->defeatBalls = -1;
        m_Balls.KillAll();
        if (!m_Level->IsVictory(this)) {
            Sound::PlaySound("Pickup_GemBells03.ogg", false);
            return;
        }
        m_Goobers.KillAll();
        m_Bricks.KillAll();
        m_DropTargets.KillAll();
        m_Powerups.KillAll();
        SetState("LevelCompleted");
    } else if (m_Level->IsDefeat(this)) {
        SetState("AllBallsLost");
    } else {
        m_Level->NeedsLiveBall(this, false);
        m_Level->CheckProgressive(this);
    }
}

void ArcadeGameLogic::LockBall(Ball* ball, Brick*)
{
    m_BallLocked = true;
    ShowMessage("Ball Locked!", 2000);
    if (m_PlayLayer && ball->GetParent() == m_PlayLayer)
        m_PlayLayer->RemoveChild(ball);
    m_Balls.Remove(ball);
    if (PhysicsGeom* geom = ball->GetGeom(); geom && geom->IsEnabled())
        geom->Disable();
    ball->RaiseSpeedLevel(0);
    m_LockedBallSpeed = ball->GetSpeed();

    double longestDelay = 0.0;
    for (std::size_t i = 0; i < m_GroupsByID.size(); ++i) {
        // A copy: members killed while releasing drop out of it.
        ActorGroup group(*m_GroupsByID[i]);
        int held = 0;
        for (Actor* actor : group.GetMembers())
            if (Brick* brick = dynamic_cast<Brick*>(actor))
                held += brick->CountTrappedBalls().second;
        const ActorGroup walk(group);
        for (Actor* actor : walk.GetMembers()) {
            if (!group.Contains(actor))
                continue;
            Brick* brick = dynamic_cast<Brick*>(actor);
            if (!brick || brick->GetBallHopperRequirement() > held ||
                brick->CountTrappedBalls().second <= 0)
                continue;
            LuaObject delay;
            brick->RetrieveProperty(delay, "releaseBallTimerLength");
            if (delay.IsNumber())
                longestDelay = std::max(longestDelay, delay.GetNumber());
            brick->StartReleaseTimer(this, m_LockedBallSpeed);
            const Point<double> centre = StructureCentre(brick);
            CheckForLevelEnd(centre.x, centre.y);
        }
    }
    KillTimer(m_BallLockTimer);
    m_BallLockTimer = StartTimer(static_cast<std::uint32_t>((longestDelay + 1.0) * 1000.0), 1);
}

void ArcadeGameLogic::UnlockBall(Ball* ball)
{
    m_Balls.Add(ball);
    if (m_PlayLayer && ball->GetParent() != m_PlayLayer)
        m_PlayLayer->AddChild(ball, "");
    if (PhysicsGeom* geom = ball->GetGeom(); geom && !geom->IsEnabled())
        geom->Enable();
}

void ArcadeGameLogic::PrepareServe(std::uint32_t& spawnDelayTimer, std::uint32_t& secondTimer)
{
    ActorGroup goobers(m_Goobers);
    for (Actor* goober : goobers.GetMembers()) {
        const std::string& name = goober->GetName();
        if (name == "Bomb" || name == "SmartBomb" || name == "Anvil")
            goober->Kill();
    }
    ShowMessage("", 0);
    ShowTime(m_TimeLeft);
    m_Paddles.KillAll();
    if (m_Level)
        m_Level->SpawnPaddles(this);
    spawnDelayTimer = StartTimer(850, 1);
    secondTimer = StartTimer(1850, 1);
}

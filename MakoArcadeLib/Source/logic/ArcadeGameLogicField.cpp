// The controller's side of the play field: taking over what the level and the field
// objects make (each into its id group, the world, its group and the play layer), the
// field tick of the states, and the typed views of the groups.
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/FramePeriod.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/ObjectDescription.h"
#include "field/Ball.h"
#include "field/BallSpawnAnimation.h"
#include "field/Brick.h"
#include "field/Explosion.h"
#include "field/FlyingText.h"
#include "field/LaserBeam.h"
#include "field/Paddle.h"
#include "field/Powerup.h"
#include "field/Shield.h"
#include "field/Spark.h"
#include "field/Wall.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/LevelPlace.h"
#include "physics/World.h"
#include "scene/ParticleEmitter.h"
#include "screens/HitMeter.h"
#include "screens/Screen.h"

#include <cmath>
#include <memory>

using LuaPlus::LuaObject;

namespace {

const std::string& ActorClassName(const Actor* actor)
{
    static const std::string none;
    const Class* c = actor->GetClass();
    return c ? c->GetName() : none;
}

// Ticks a group's members when there are any.
void TickGroup(ActorGroup& group)
{
    if (!group.IsEmpty())
        group.Tick();
}

} // namespace

// ---- Adding actors --------------------------------------------------------------------------

void ArcadeGameLogic::ApplyGroupID(Actor* actor)
{
    LuaObject value;
    actor->RetrieveProperty(value, "groupID");
    if (!value.IsNumber())
        return;
    const double number = value.GetNumber();
    if (number != std::floor(number))
        return;
    // A group is made for every id up to the largest, so an id above MAX_GROUP_ID is
    // reported and the actor joins no group; so is one below 0.
    if (number < 0 || number > MAX_GROUP_ID) {
        std::unique_ptr<LevelPlace> place;
        if (m_Level)
            place = std::make_unique<LevelPlace>(m_Level->GetLevelName());
        DataReport::Report(
            DescribeObject(*actor),
            "\"groupID\": " + value.ToString() +
                (number < 0 ? " is below 0" : " is more than " + std::to_string(MAX_GROUP_ID)) +
                "; it joins no group");
        return;
    }
    const int groupID = static_cast<int>(number);
    while (m_GroupsByID.size() <= static_cast<std::size_t>(groupID))
        m_GroupsByID.emplace_back(new ActorGroup());
    m_GroupsByID[groupID]->Add(actor);
}

void ArcadeGameLogic::TakeStructure(Actor* actor, ActorGroup& group)
{
    ApplyGroupID(actor);
    if (m_World)
        if (ArcadeActor* arcade = dynamic_cast<ArcadeActor*>(actor))
            arcade->UpdatePhysics(m_World.get());
    group.Add(actor);
    if (m_PlayLayer && actor->GetParent() != m_PlayLayer)
        m_PlayLayer->AddChild(actor, "");
}

void ArcadeGameLogic::AddBrick(Brick* brick)
{
    TakeStructure(brick, m_Bricks);
}

void ArcadeGameLogic::AddShield(Shield* shield)
{
    TakeStructure(shield, m_Shields);
}

void ArcadeGameLogic::AddWall(Wall* wall)
{
    TakeStructure(wall, m_Walls);
}

void ArcadeGameLogic::AddBall(Ball* ball)
{
    ball->SetZOrder(8);
    TakeStructure(ball, m_Balls);
}

void ArcadeGameLogic::AddPaddle(Paddle* paddle)
{
    TakeStructure(paddle, m_Paddles);
}

void ArcadeGameLogic::AddPowerup(Powerup* powerup)
{
    TakeStructure(powerup, m_Powerups);
}

void ArcadeGameLogic::AddGoober(Actor* goober)
{
    TakeStructure(goober, m_Goobers);
}

void ArcadeGameLogic::AddDropTarget(Actor* target)
{
    TakeStructure(target, m_DropTargets);
}

void ArcadeGameLogic::AddFlyingText(FlyingText* text)
{
    TakeStructure(text, m_FlyingTexts);
}

void ArcadeGameLogic::AddExplosion(Explosion* explosion)
{
    TakeStructure(explosion, m_Explosions);
}

void ArcadeGameLogic::AddSpark(Spark* spark)
{
    TakeStructure(spark, m_Sparks);
}

void ArcadeGameLogic::AddLaserBeam(LaserBeam* beam)
{
    TakeStructure(beam, m_LaserBeams);
}

void ArcadeGameLogic::AddEmitter(ParticleEmitter* emitter)
{
    m_Emitters.Add(emitter);
    if (m_PlayLayer && emitter->GetParent() != m_PlayLayer)
        m_PlayLayer->AddChild(emitter, "");
}

void ArcadeGameLogic::AddActor(Actor* actor)
{
    const std::string& name = ActorClassName(actor);
    const Class* c = actor->GetClass();
    if (name == "Ball") {
        LuaObject spawn;
        actor->RetrieveProperty(spawn, "useBallSpawnAnimation");
        if (spawn.IsBoolean() && spawn.GetBoolean())
            SpawnBallAnimation(static_cast<Ball*>(actor));
        else
            AddBall(static_cast<Ball*>(actor));
    } else if (name == "Brick") {
        AddBrick(static_cast<Brick*>(actor));
    } else if (name == "DropTarget") {
        AddDropTarget(actor);
    } else if (c && c->DerivesFrom("Powerup")) {
        AddPowerup(static_cast<Powerup*>(actor));
    } else if (name == "Goober") {
        LogAtLevel(3, "Extra actor:  Goober added.\n");
        AddGoober(actor);
    } else {
        TakeStructure(actor, m_ExtraActors);
    }
}

void ArcadeGameLogic::SpawnBallAnimation(Ball* ball)
{
    std::unique_ptr<Ball> held(ball);
    BallSpawnAnimation* animation = new BallSpawnAnimation("BallSpawnAnimation1");
    const Point<int> centre(static_cast<int>(ball->GetX() + ball->GetWidth() / 2.0),
                            static_cast<int>(ball->GetY() + ball->GetHeight() / 2.0));
    animation->SetCenter(centre.x, centre.y);
    animation->HoldBall(std::move(held));
    HearFrom(animation);
    m_BallSpawnAnimations.Add(animation);
    if (m_PlayLayer)
        m_PlayLayer->AddChild(animation, "");
}

void ArcadeGameLogic::HearFrom(Actor* actor)
{
    // The links of actors gone are dropped first, so the list holds only those standing.
    m_Heard.remove_if([](const ActorLink<Actor>& link) { return !link; });
    actor->AddEventReceiver(this);
    m_Heard.emplace_back();
    m_Heard.back().Set(actor);
}

void ArcadeGameLogic::SetBackgroundImage(const std::string& imageName)
{
    Screen* screen = GetScreen();
    if (!screen)
        return;
    if (Actor* background = screen->GetBackground()) {
        // A background the pack lacks (the plain one too) is named once, and the field is
        // played over none.
        if (!ObjectBoundary::Guard("The background \"" + imageName + "\"",
                                   "the field is shown without it",
                                   [&] { background->SetImageFromResource(imageName); }))
            background->SetImage(nullptr, imageName);
        screen->ReFlattenBackgroundLayer();
    }
}

void ArcadeGameLogic::SetArtefact(Actor* artefact)
{
    if (m_Artefact && m_Artefact != artefact)
        m_Artefact->Kill();
    m_Artefact = artefact;
    if (artefact && m_PlayLayer && artefact->GetParent() != m_PlayLayer)
        m_PlayLayer->AddChild(artefact, "");
}

Actor* ArcadeGameLogic::FindActor(const std::string& name) const
{
    return m_PlayLayer ? m_PlayLayer->GetChild(name, true) : nullptr;
}

void ArcadeGameLogic::SetLevel(Level* level)
{
    m_Level.reset(level);
    m_StallRule.Reset();
    if (!level)
        return;
    // One place for the whole build, so a problem shared by many entries (a global of the
    // wrong type) is reported once for the level, not once for each brick.
    LevelPlace place(level->GetLevelName());
    level->AddBackground(this);
    level->SpawnBricks(this);
    level->SpawnExtraActors(this);
    level->SpawnLevelActors(this);
    level->SetupArtefact(this);
}

// ---- The field tick -------------------------------------------------------------------------

void ArcadeGameLogic::SendToPaddles(std::uint8_t type, int dx, int dy)
{
    Event event = MakeEvent(type, 0, IntToEventData(dx), IntToEventData(dy));
    if (type == ARCADE_POINTERMOVE)
        m_Paddles.PostEvent(event);
    else
        m_Paddles.OnEvent(event);
}

void ArcadeGameLogic::TickField(unsigned flags)
{
    if ((flags & FIELD_TICK_LEVEL_FIRST) && m_Level)
        m_Level->Update(this);
    m_Keyboard.Update(this);
    SendToPaddles(ARCADE_PADDLEUPDATE);
    if ((flags & FIELD_TICK_LEVEL) && m_Level)
        m_Level->Update(this);
    if ((flags & FIELD_TICK_ARTEFACT) && m_Artefact && m_Artefact->CanTick())
        m_Artefact->Tick();
    if (m_World)
        m_World->Step(FRAME_PERIOD_SECONDS, &ArcadeStructure::OnWorldContact, this);

    const bool frozen = (flags & FIELD_TICK_FROZEN) != 0;
    if (!(flags & FIELD_TICK_NO_SPAWNS))
        TickGroup(m_BallSpawnAnimations);
    TickGroup(m_Walls);
    if (!frozen) {
        TickGroup(m_Bricks);
        TickGroup(m_ExtraActors);
    }
    TickGroup(m_DropTargets);
    TickGroup(m_Paddles);
    TickGroup(m_Balls);
    TickGroup(m_Shields);
    if (!frozen) {
        TickGroup(m_Powerups);
        TickGroup(m_Goobers);
    }
    TickGroup(m_Explosions);
    TickGroup(m_LaserBeams);
    TickGroup(m_FlyingTexts);
    TickGroup(m_Emitters);
    TickGroup(m_Sparks);
    if ((flags & FIELD_TICK_HIT_METER) && m_HitMeter && m_HitMeter->CanTick())
        m_HitMeter->Tick();
}

// ---- Views of the groups --------------------------------------------------------------------

const std::vector<Shield*>& ArcadeGameLogic::GetShields() const MAKO_LIFETIMEBOUND
{
    m_ShieldList.clear();
    for (Actor* actor : m_Shields.GetMembers())
        if (Shield* shield = dynamic_cast<Shield*>(actor))
            m_ShieldList.push_back(shield);
    return m_ShieldList;
}

const std::vector<Paddle*>& ArcadeGameLogic::GetPaddles() const MAKO_LIFETIMEBOUND
{
    m_PaddleList.clear();
    for (Actor* actor : m_Paddles.GetMembers())
        if (Paddle* paddle = dynamic_cast<Paddle*>(actor))
            m_PaddleList.push_back(paddle);
    return m_PaddleList;
}

const std::vector<Wall*>& ArcadeGameLogic::GetWalls() const MAKO_LIFETIMEBOUND
{
    m_WallList.clear();
    for (Actor* actor : m_Walls.GetMembers())
        if (Wall* wall = dynamic_cast<Wall*>(actor))
            m_WallList.push_back(wall);
    return m_WallList;
}

int ArcadeGameLogic::CountBallsInPlay() const
{
    int count = 0;
    for (Actor* actor : m_Balls.GetMembers())
        if (Ball* ball = dynamic_cast<Ball*>(actor))
            if (!ball->IsDead() && (ball->IsActive() || ball->GetPaddle()))
                ++count;
    for (Actor* actor : m_BallSpawnAnimations.GetMembers())
        if (!actor->IsDead())
            ++count;
    return count;
}

int ArcadeGameLogic::CountRequiredBricks() const
{
    int count = 0;
    for (Actor* actor : m_Bricks.GetMembers())
        if (Brick* brick = dynamic_cast<Brick*>(actor))
            if (!brick->IsDead() && brick->IsNecessary())
                ++count;
    for (Actor* actor : m_DropTargets.GetMembers())
        if (!actor->IsDead())
            ++count;
    return count;
}

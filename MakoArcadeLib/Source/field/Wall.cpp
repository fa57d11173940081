#include "field/Wall.h"

#include "core/Class.h"
#include "field/Ball.h"
#include "field/Powerup.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/CollisionCategory.h"
#include "physics/PhysicsGeom.h"
#include "resources/ResourceManager.h"
#include "scene/IdenticalParticleEmitter.h"
#include "scene/ParticleEmitter.h"
#include "sound/Sound.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// The name of a wall made by the class registry, before its properties name its tables.
const char* const kUnknownWall = "unknownWall";

Object* InstantiateWall(const LuaPlus::LuaObject& params)
{
    std::unique_ptr<Wall> wall(new Wall(kUnknownWall));
    wall->ApplyProperties(params);
    wall->Initialize();
    return wall.release();
}

bool IsClass(const ArcadeStructure* object, const char* name)
{
    return object->GetClass()->GetName() == name;
}

} // namespace

MAKO_IMPLEMENT_CLASS(Wall, "Wall", "ArcadeStructure", &Wall::RegisterProperties, &InstantiateWall);

Wall::Wall(const std::string& name) : m_WallName(name)
{
    // The registry's walls have no table of their own: their properties name one.
    if (name != kUnknownWall)
        ApplyWallResource(name);
}

void Wall::ApplyWallResource(const std::string& resourceName)
{
    m_ChildTable = LuaPlus::LuaObject();
    ApplyStringProperty("resource", resourceName);
    DestroyChildren();
    if (m_ChildTable.IsTable()) {
        auto child = std::make_unique<Actor>(m_ChildTable);
        child->ApplyStringProperty("name", "imageChild");
        AddChild(child.release(), "imageChild");
    }
    m_ChildTable = LuaPlus::LuaObject();
    // The ordinary and dangerous tables of a wall may differ in their rectangle.
    if (World* world = GetWorld())
        UpdatePhysics(world);
}

void Wall::SetDangerous(bool on)
{
    m_Dangerous = on;
    if (m_WallName == kUnknownWall)
        return;
    ApplyWallResource(on ? m_WallName + "Dangerous" : m_WallName);
    if (!on && m_HasVariant)
        UpdateVariantImage();
}

void Wall::UpdateVariantImage()
{
    if (m_Dangerous)
        return;
    const std::string name = m_WallName + m_Variant + ".png";
    ResourceManager* resources = GetResourceManager();
    if (!resources || !resources->FindInfo(name, true))
        return;
    Actor* target = GetImageChild();
    if (!target)
        target = this;
    target->SetImageFromResource(name);
    target->UpdateAlignment();
}

void Wall::UpdatePhysics(World* world)
{
    // A wall that no table has sized yet still gets a valid (tiny) box.
    SetRectangle(std::max(1, GetWidth()), std::max(1, GetHeight()), true);
    SetCategoryBits(COLLISION_WALL);
    SetCollideBits(0);
    // A soft contact lets a ball sink in by its mass and speed; a wall must turn it back
    // whatever softness the ball carries (a launched ball's soft period), or the ball goes
    // through it and leaves the field.
    m_NeverSoft = true;
    ArcadeStructure::UpdatePhysics(world);
    // Walls reach far above the field, where geometries are normally switched off.
    if (m_Geom && !m_Geom->IsEnabled())
        m_Geom->Enable();
}

bool Wall::AcceptsCollision(CollisionOwner* other, double x, double y)
{
    const ArcadeStructure* structure = dynamic_cast<const ArcadeStructure*>(other);
    if (!structure)
        return false;
    const std::string& name = structure->GetClass()->GetName();
    if (name == "Goober" || name == "Collider" || name == "Paddle" || name == "Brick" ||
        name == "DropTarget")
        return true;
    if (name == "Ball")
        return static_cast<const Ball*>(structure)->GetPaddle() != nullptr;
    return false;
}

int Wall::PanAt(double x)
{
    const double pan = std::trunc(std::trunc(x) * 0.3125 - 100.0);
    return int(std::clamp(pan, -100.0, 100.0));
}

void Wall::HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                           double nx, double ny, double depth, bool solid)
{
    ArcadeStructure::HandleCollision(logic, other, x, y, nx, ny, depth, solid);
    if (!other)
        return;
    logic = logic ? logic : gLogic;
    const int pan = PanAt(x);
    if (IsClass(other, "Ball")) {
        Ball* ball = static_cast<Ball*>(other);
        if (ball->GetPaddle())
            return;
        if (m_Dangerous) {
            if (!ball->IsDead())
                LoseBall(logic, ball, x, y, pan);
        } else if (ball->IsActive() && FirstTouchThisTick(ball)) {
            PlayPanned("bounce.ogg", pan);
        }
        return;
    }
    if (!m_Dangerous || other->IsDead())
        return;
    if (Powerup* powerup = dynamic_cast<Powerup*>(other)) {
        // A power-up falling into lava is lost: it breaks up and the level may be over.
        PlayPanned(powerup->IsLoot() ? "lostLoot.ogg" : "lostPowerup.ogg", pan);
        powerup->Shatter();
        powerup->Kill();
        if (logic)
            logic->CheckForLevelEnd(x, y);
        StartSplash(logic, "LavaSplashEmitterSmall", powerup->GetX() + powerup->GetWidth() / 2,
                    powerup->GetY() + powerup->GetHeight() / 2, false);
    } else if (IsClass(other, "Goober")) {
        if (FirstTouchThisTick(other)) {
            PlayPanned("smashMetal.ogg", pan);
            StartSplash(logic, "LavaSplashEmitterGoober", x, y, false);
        }
    } else if (IsClass(other, "Brick")) {
        if (FirstTouchThisTick(other)) {
            PlayPanned("lostLoot.ogg", pan);
            StartSplash(logic, "LavaSplashEmitterBrick", x, y, true);
        }
    }
}

void Wall::LoseBall(ArcadeGameLogic* logic, Ball* ball, double x, double y, int pan)
{
    ball->Explode(logic);
    ball->Kill();
    if (logic) {
        logic->CheckForLevelEnd(x, y);
        logic->ResetHitCounter();
    }
    PlayPanned("lostBall.ogg", pan);
    StartSplash(logic, "LavaSplashEmitter", ball->GetX() + ball->GetWidth() / 2,
                ball->GetY() + ball->GetHeight() / 2, false);
}

void Wall::PlayPanned(const std::string& sound, int pan)
{
    Sound::SetPan(sound, pan);
    Sound::PlaySound(sound, false);
}

void Wall::StartSplash(ArcadeGameLogic* logic, const std::string& name, double x, double y,
                       bool plain)
{
    ParticleManager* particles = ArcadeGameLogic::GetParticleManager();
    if (!logic || !particles)
        return;
    ParticleEmitter* emitter = plain ? new ParticleEmitter(name, particles)
                                     : new IdenticalParticleEmitter(name, particles);
    emitter->SetPosition(int(std::lround(x)) - emitter->GetWidth() / 2,
                         int(std::lround(y)) - emitter->GetHeight() / 2);
    logic->AddEmitter(emitter);
    emitter->Start();
}

bool Wall::FirstTouchThisTick(const ArcadeStructure* other)
{
    return m_TouchedThisTick.insert(other).second;
}

void Wall::Tick()
{
    ArcadeStructure::Tick();
    m_TouchedThisTick.clear();
}

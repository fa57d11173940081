#include "field/Powerup.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/ObjectBoundary.h"
#include "core/TableOrder.h"
#include "core/Utility.h"
#include "field/Brick.h"
#include "field/FieldBounds.h"
#include "field/Paddle.h"
#include "field/PowerupKind.h"
#include "field/Wall.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "perf/ScopedPerformanceTimer.h"
#include "physics/CollisionCategory.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsMass.h"
#include "scene/BufferedIdenticalParticleEmitter.h"
#include "scene/IdenticalParticleEmitter.h"
#include "scene/Particle.h"
#include "scene/ParticleEmitter.h"
#include "sound/Sound.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(Powerup, "Powerup", "ArcadeStructure", &Powerup::RegisterProperties, nullptr);

double Powerup::s_Gravity = Powerup::kDefaultGravity;

namespace {

constexpr const char* kPaddleEdgeEmitter = "PaddleEdgePowerupCollectedEmitter";
constexpr const char* kShatterEmitter = "BrickExplosionEmitter1";

// Every particle a burst hands out starts on the burst's centre, wherever the burst was
// when it was buffered.
void CentreOnBurst(Particle* particle, void* emitter)
{
    const SDL_Rect r = static_cast<ParticleEmitter*>(emitter)->GetScreenRect();
    particle->SetPosition(r.x + r.w / 2 - particle->GetWidth() / 2,
                          r.y + r.h / 2 - particle->GetHeight() / 2);
}

// The name by which a wall pulls: its actor name, else its resource name (with
// "Dangerous" for a lava wall).
std::string PullName(const Wall* wall)
{
    if (!wall->GetName().empty())
        return wall->GetName();
    std::string name = wall->GetWallName();
    const std::string suffix = "Dangerous";
    if (wall->IsDangerous() &&
        (name.size() < suffix.size() ||
         name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0))
        name += suffix;
    return name;
}

bool IsHorizontalWall(const std::string& name)
{
    return name == "TopWall" || name == "TopWallDangerous" || name == "BottomWall" ||
           name == "BottomWallDangerous";
}

Point<double> PullOf(const std::string& name)
{
    if (name == "BottomWall" || name == "BottomWallDangerous")
        return {0.0, 1.0};
    if (name == "TopWall" || name == "TopWallDangerous")
        return {0.0, -1.0};
    if (name == "LeftWall" || name == "LeftWallDangerous")
        return {-1.0, 0.0};
    if (name == "RightWall" || name == "RightWallDangerous")
        return {1.0, 0.0};
    return {0.0, 0.0};
}

LuaObject GlobalOrEmpty(const char* name)
{
    LuaObject value = GetGlobalLuaState()->GetGlobal(name);
    if (value.IsNil())
        value.AssignNewTable(GetGlobalLuaState());
    return value;
}

} // namespace

bool Powerup::IsKind(const std::string& name)
{
    return PowerupKind::FindKind(name) != nullptr;
}

Powerup* Powerup::CreateOfKind(const std::string& className)
{
    // The name comes from level data: only a power-up kind is ever made of it, and nothing
    // is made before the name is known to be one.
    if (!IsKind(className))
        MAKO_THROW(Exception, "\"" + className + "\" is not a kind of power-up");
    // Making it is the one boundary of every power-up: the kind's table and picture come
    // from the pack, and a power-up they cannot make is named once and left out.
    std::unique_ptr<Powerup> made;
    ObjectBoundary::Guard([&className] { return "Power-up \"" + className + "\""; },
                          "it is left out",
                          [&] {
                              LuaPlus::LuaObject table;
                              table.AssignNewTable(GetGlobalLuaState());
                              table.SetString("class", className.c_str());
                              // A kind's class makes a PowerupKind, as it was registered.
                              made.reset(static_cast<Powerup*>(
                                  ClassManager::GetInstance()->InstantiateObject(table)));
                          });
    return made.release();
}

LuaPlus::LuaObject Powerup::KindsOnly(const LuaPlus::LuaObject& names)
{
    LuaPlus::LuaObject kinds;
    kinds.AssignNewTable(GetGlobalLuaState());
    std::vector<LuaPlus::LuaObject> entries;
    if (names.IsTable())
        for (const LuaPlus::LuaObject& key : GetOrderedKeys(names))
            entries.push_back(names[key]);
    else if (!names.IsNil())
        entries.push_back(names);
    int count = 0;
    for (const LuaPlus::LuaObject& entry : entries) {
        if (entry.IsString() && IsKind(entry.GetString())) {
            kinds.SetObject(++count, entry);
            continue;
        }
        const std::string shown =
            entry.IsString() ? "\"" + std::string(entry.GetString()) + "\"" : entry.TypeName();
        DataReport::Report(std::string(),
                           "powerups: " + shown + " is not a kind of power-up; it is left out");
    }
    return kinds;
}

Powerup::Powerup(const std::string& resourceName)
{
    AcquireAndApplyResource(resourceName);
    if (Config* config = Config::GetCurrent()) {
        const LuaObject gravity = config->GetObject("PowerupGravity");
        s_Gravity = gravity.IsNumber() ? gravity.GetNumber() : kDefaultGravity;
    }
    m_SpawnTrail = nullptr;
    m_CreationEmitter = nullptr;
    m_CollectedEmitter = nullptr;
    SetZOrder(kZOrder);
}

Powerup::~Powerup()
{
    // Emitters not yet handed over are ours; killing them lets the deferred deletion or
    // their parent take them.
    for (ParticleEmitter* emitter : {static_cast<ParticleEmitter*>(m_CreationEmitter),
                                     static_cast<ParticleEmitter*>(m_CollectedEmitter)}) {
        if (emitter && !emitter->GetParent())
            delete emitter;
        else if (emitter)
            emitter->Kill();
    }
    if (m_SpawnTrail)
        m_SpawnTrail->Kill();
}

std::string Powerup::ResourceString(const char* key)
{
    LuaObject value;
    GetScriptField(value, key);
    return value.IsString() ? value.GetString() : "";
}

const std::string& Powerup::GetKindName() const
{
    return GetClass()->GetName();
}

// ---- Physics ------------------------------------------------------------------------------------

void Powerup::UpdatePhysics(World* world)
{
    SetCircle(GetWidth() / 2);
    SetCategoryBits(COLLISION_POWERUP);
    SetCollideBits(COLLISION_WALL | COLLISION_PADDLE);
    SetMovable(true);
    ArcadeStructure::UpdatePhysics(world);
    if (PhysicsBody* body = GetPhysicsBody()) {
        PhysicsMass mass;
        mass.SetSphere(1.0, GetWidth() / 2);
        body->SetMass(mass);
    }
}

Point<double> Powerup::ChooseFallDirection() const
{
    if (!gLogic)
        return {0.0, 1.0};
    const int cx = GetX() + GetWidth() / 2, cy = GetY() + GetHeight() / 2;
    const Wall* nearest = nullptr;
    double best = 100000.0;
    for (const Wall* wall : gLogic->GetWalls()) {
        if (!wall || wall->IsDead() || !wall->AttractsPowerups())
            continue;
        const int wx = wall->GetX() + wall->GetWidth() / 2;
        const int wy = wall->GetY() + wall->GetHeight() / 2;
        const double distance =
            IsHorizontalWall(PullName(wall)) ? std::abs(wy - cy) : std::abs(wx - cx);
        if (distance < best) {
            best = distance;
            nearest = wall;
        }
    }
    return nearest ? PullOf(PullName(nearest)) : Point<double>(0.0, 1.0);
}

void Powerup::Tick()
{
    ArcadeStructure::Tick();
    if (IsDead())
        return;
    const int oldX = GetX() + GetWidth() / 2, oldY = GetY() + GetHeight() / 2;
    SyncFromPhysics();
    const int newX = GetX() + GetWidth() / 2, newY = GetY() + GetHeight() / 2;
    m_LastMove = Point<float>(float(oldX - newX), float(oldY - newY));
    if (PhysicsBody* body = GetPhysicsBody()) {
        const Point<double> pull = ChooseFallDirection();
        // The pull is an acceleration: every power-up falls alike, whatever its size.
        body->AddAcceleration(s_Gravity * pull.x, s_Gravity * pull.y);
    }
}

void Powerup::PushOutOfWall(ArcadeStructure* other)
{
    if (!other || other->GetClass()->GetName() != "Wall")
        return;
    SyncFromPhysics();
    const std::string name = PullName(static_cast<Wall*>(other));
    if (name == "LeftWall" || name == "LeftWallDangerous")
        SetPosition(other->GetX() + other->GetWidth() + 1, GetY());
    else if (name == "RightWall" || name == "RightWallDangerous")
        SetPosition(other->GetX() - 1 - GetWidth(), GetY());
    else if (name == "TopWall" || name == "TopWallDangerous")
        SetPosition(GetX(), other->GetY() + other->GetHeight() + 1);
    SyncToPhysics();
}

void Powerup::KeepInsideField()
{
    int x = GetX(), y = GetY();
    const FieldBounds field = FieldBounds::Current();
    x = std::max(x, field.left);
    x = std::min(x, field.right - GetWidth());
    y = std::max(y, field.top);
    y = std::min(y, field.bottom - GetHeight());
    SetPosition(x, y);
    SyncToPhysics();
}

// ---- Particles and sounds
// ------------------------------------------------------------------------

void Powerup::BufferParticles()
{
    ParticleManager* manager = ArcadeGameLogic::GetParticleManager();
    if (!manager)
        return;
    struct Burst
    {
        const char* key;
        BufferedIdenticalParticleEmitter** member;
    };
    for (const Burst& burst : {Burst{"powerupCreationEmitter", &m_CreationEmitter},
                               Burst{"powerupCollectedEmitter", &m_CollectedEmitter}}) {
        const std::string name = ResourceString(burst.key);
        if (name.empty() || *burst.member)
            continue;
        auto* emitter = new BufferedIdenticalParticleEmitter(name, manager);
        emitter->SetFactory(&IdenticalParticleEmitter::CreateParticle, this);
        emitter->SetPrepareFunction(&CentreOnBurst, static_cast<ParticleEmitter*>(emitter));
        emitter->BufferParticles();
        *burst.member = emitter;
    }
}

Particle* Powerup::CreateTrailParticle(ParticleEmitter* emitter, void* argument)
{
    Particle* particle = ParticleEmitter::CreateParticle(emitter, nullptr);
    auto* self = static_cast<Powerup*>(argument);
    if (!particle || !self)
        return particle;
    const Point<float> move = self->m_LastMove;
    const float length = std::sqrt(move.x * move.x + move.y * move.y);
    if (length > 0.0f) {
        const float u = RandomFloatInRange(0.0f, length);
        particle->SetPosition(particle->GetX() + int(-u * move.x / length),
                              particle->GetY() + int(-u * move.y / length));
    }
    return particle;
}

bool Powerup::OnSpawn(bool playSound)
{
    BufferParticles();
    ParticleManager* manager = ArcadeGameLogic::GetParticleManager();
    if (manager && gLogic) {
        if (m_CreationEmitter) {
            SyncFromPhysics();
            const int cx = GetX() + GetWidth() / 2, cy = GetY() + GetHeight() / 2;
            m_CreationEmitter->SetPosition(cx - m_CreationEmitter->GetWidth() / 2,
                                           cy - m_CreationEmitter->GetHeight() / 2);
            BufferedIdenticalParticleEmitter* burst = m_CreationEmitter;
            m_CreationEmitter = nullptr;
            gLogic->AddEmitter(burst);
            burst->Start();
        }
        const std::string trail = ResourceString("powerupTrailEmitter");
        if (!trail.empty()) {
            m_SpawnTrail = new ParticleEmitter(trail, manager);
            m_SpawnTrail->SetFactory(&Powerup::CreateTrailParticle, this);
            m_SpawnTrail->SetPosition(0, 0);
            m_SpawnTrail->SetSize(GetWidth(), GetHeight());
            AddChild(m_SpawnTrail, "");
            m_SpawnTrail->Start();
            m_SpawnTrail = nullptr;
        }
    }

    ScopedPerformanceTimer timer("Powerup Sounds");
    if (!playSound)
        return false;
    LuaObject sounds;
    GetScriptField(sounds, "powerupCreationSound");
    if (!sounds.IsTable())
        return false;
    bool played = false;
    for (int i = 1;; ++i) {
        const LuaObject sound = sounds[i];
        if (!sound.IsString())
            break;
        Sound::PlaySound(sound.GetString(), false);
        played = true;
    }
    return played;
}

void Powerup::OnCollected(Paddle* paddle, ArcadeGameLogic* logic)
{
    ScopedPerformanceTimer timer("Powerup::OnCollected");
    BufferParticles();
    logic = logic ? logic : gLogic;
    if (!logic || !ArcadeGameLogic::GetParticleManager())
        return;
    if (m_CollectedEmitter) {
        m_CollectedEmitter->SetPosition(GetX(), GetY());
        m_CollectedEmitter->SetSize(GetWidth(), GetHeight());
        BufferedIdenticalParticleEmitter* burst = m_CollectedEmitter;
        m_CollectedEmitter = nullptr;
        logic->AddEmitter(burst);
        burst->Start();
    }
    const std::string color = ResourceString("collectionColor");
    if (paddle && !color.empty()) {
        paddle->TintFlash(color);
        StartPaddleSprays(paddle, color);
    }
}

void Powerup::StartPaddleSprays(Paddle* paddle, const std::string& color)
{
    ParticleManager* manager = ArcadeGameLogic::GetParticleManager();
    LuaPlus::LuaState* state = GetGlobalLuaState();
    auto* b = new ParticleEmitter(kPaddleEdgeEmitter, manager);
    auto* a = new ParticleEmitter(kPaddleEdgeEmitter, manager);
    LuaObject colorValue;
    colorValue.AssignString(state, color.c_str());
    for (ParticleEmitter* e : {b, a}) {
        e->SetFactory(&ParticleEmitter::CreateParticle, this);
        e->SetParticleProperty("color", colorValue);
    }

    const SDL_Rect r = paddle->GetRect();
    const int cx = r.x + r.w / 2, cy = r.y + r.h / 2;
    const char *velocityA, *velocityB, *fall;
    if (!paddle->IsVertical()) {
        a->SetPosition(r.x, r.y + r.h / 2);
        b->SetPosition(r.x + r.w, r.y + r.h / 2);
        velocityA = "PaddleSprayLeft";
        velocityB = "PaddleSprayRight";
        fall = paddle->FacesPositive() ? "PaddleSprayFallUp" : "PaddleSprayFallDown";
    } else {
        a->SetPosition(cx, cy - r.w / 2);
        b->SetPosition(cx, cy + int(unsigned(r.w) / 2u));
        velocityA = "PaddleSprayDown";
        velocityB = "PaddleSprayUp";
        fall = paddle->FacesPositive() ? "PaddleSprayFallLeft" : "PaddleSprayFallRight";
    }
    a->SetParticleProperty("velocity", GlobalOrEmpty(velocityA));
    b->SetParticleProperty("velocity", GlobalOrEmpty(velocityB));
    a->SetParticleProperty("acceleration", GlobalOrEmpty(fall));
    b->SetParticleProperty("acceleration", GlobalOrEmpty(fall));
    gLogic->AddEmitter(a);
    gLogic->AddEmitter(b);
    a->Start();
    b->Start();
}

void Powerup::Shatter()
{
    if (!gLogic || !ArcadeGameLogic::GetParticleManager())
        return;
    const int count = (int(GetWidth()) * int(GetHeight())) / kShatterAreaPerPiece;
    BufferedIdenticalParticleEmitter* emitter =
        Brick::CreateExplosionEmitter(kShatterEmitter, this, nullptr, 0.0, 0.0, count);
    if (!emitter)
        return;
    emitter->SetPosition(GetX(), GetY());
    emitter->SetSize(GetWidth(), GetHeight());
    gLogic->AddEmitter(emitter);
    emitter->Start();
}

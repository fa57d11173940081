#include "field/ArcadeStructure.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/FramePeriod.h"
#include "core/Utility.h"
#include "field/Factory.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/CollisionCategory.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "physics/TriMeshData.h"
#include "physics/World.h"
#include "sound/Sound.h"

#include <algorithm>
#include <cmath>

MAKO_IMPLEMENT_CLASS(ArcadeStructure, "ArcadeStructure", "ArcadeActor",
                     &ArcadeStructure::RegisterProperties,
                     &InstantiateObjectOfClass<ArcadeStructure>);

namespace {

// The controller handed over, else the running one (may be null in tools and tests).
ArcadeGameLogic* LogicOr(ArcadeGameLogic* given)
{
    return given ? given : gLogic;
}

void CheckForLevelEnd(ArcadeGameLogic* logic, double x, double y)
{
    if (ArcadeGameLogic* running = LogicOr(logic))
        running->CheckForLevelEnd(x, y);
}

template <typename List, typename Fn, typename Ctx> void AddOnce(List& list, Fn fn, Ctx context)
{
    for (const auto& entry : list)
        if (entry.first == fn && entry.second == context)
            return;
    list.emplace_back(fn, context);
}

template <typename List, typename Fn, typename Ctx> void RemoveAll(List& list, Fn fn, Ctx context)
{
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const auto& e) { return e.first == fn && e.second == context; }),
               list.end());
}

// Counts a motion update or a contact as under way for as long as it lives.
class BusyScope
{
public:
    explicit BusyScope(int& depth) : m_Depth(depth) { ++m_Depth; }
    ~BusyScope() { --m_Depth; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& m_Depth;
};

// Names that make a structure movable when a behaviour set holds them: a structure that
// reacts to bricks or walls, that destroys the paddle, or that a shield affects.
bool MakesMovable(ArcadeStructure::Behaviour set, const std::string& name)
{
    if (name == "Brick" || name == "Wall" || name == "DangerousWall")
        return true;
    if (name == "Paddle")
        return set == ArcadeStructure::DESTROY_ON_COLLISION;
    if (name == "Shield")
        return set != ArcadeStructure::DESTROY_ON_COLLISION;
    return false;
}

} // namespace

ArcadeStructure::ArcadeStructure() = default;

ArcadeStructure::~ArcadeStructure()
{
    // The factories and motions go while the structure can still take their callbacks and
    // hooks out.
    m_Factories.clear();
    m_Motion.reset();
    m_HitMotion.reset();
    FlushRetired();
}

unsigned ArcadeStructure::CategoryBitOf(const std::string& name)
{
    if (name == "LaserBeam" || name == "Explosion")
        return 256;
    return CollisionCategoryOf(name);
}

bool ArcadeStructure::OnWorldContact(PhysicsGeom* geom1, PhysicsGeom* geom2,
                                     const ContactData* contact, void* context)
{
    ArcadeStructure* a = dynamic_cast<ArcadeStructure*>(geom1->GetOwner());
    ArcadeStructure* b = dynamic_cast<ArcadeStructure*>(geom2->GetOwner());
    if (!a || !b)
        return false;
    ArcadeGameLogic* logic = static_cast<ArcadeGameLogic*>(context);
    const double x = contact->position[0], y = contact->position[1];
    const double nx = contact->normal[0], ny = contact->normal[1];
    a->HandleCollision(logic, b, x, y, nx, ny, contact->depth, contact->physical);
    b->HandleCollision(logic, a, x, y, -nx, -ny, contact->depth, contact->physical);
    return false;
}

// ---- Shape ----------------------------------------------------------------------------------

void ArcadeStructure::SetRectangle(double width, double height, bool physicsOnly)
{
    m_Shape = STRUCTURE_SHAPE_RECTANGLE;
    m_ShapeWidth = width;
    m_ShapeHeight = height;
    m_Radius = std::min(width, height) / 2.0;
    if (!physicsOnly)
        SetSize(ClampToInt(width), ClampToInt(height));
    m_Polygon.Clear();
    m_ShapeName = "Rectangle";
}

void ArcadeStructure::SetCircle(double radius)
{
    m_Shape = STRUCTURE_SHAPE_CIRCLE;
    m_Radius = radius;
    m_ShapeWidth = m_ShapeHeight = 2.0 * radius;
    SetSize(ClampToInt(2.0 * radius), ClampToInt(2.0 * radius));
    m_Polygon.Clear();
    m_ShapeName = "Circle";
}

void ArcadeStructure::SetPolygon(const Poly& polygon)
{
    double minX = 100000.0, minY = 100000.0, maxX = -100000.0, maxY = -100000.0;
    for (const Point2f& v : polygon.GetVertices()) {
        minX = std::min(minX, double(v.x));
        maxX = std::max(maxX, double(v.x));
        minY = std::min(minY, double(v.y));
        maxY = std::max(maxY, double(v.y));
    }
    if (polygon.GetVertices().empty())
        minX = maxX = minY = maxY = 0.0;
    m_Shape = STRUCTURE_SHAPE_TRIMESH;
    m_ShapeWidth = maxX - minX;
    m_ShapeHeight = maxY - minY;
    m_Radius = std::max(m_ShapeWidth, m_ShapeHeight) / 2.0;
    SetSize(int(m_ShapeWidth), int(m_ShapeHeight));
    m_Polygon.SetVertices(polygon.GetVertices());
}

void ArcadeStructure::SetRotation(double degrees)
{
    degrees = std::isfinite(degrees) ? std::fmod(degrees, 360.0) : 0.0;
    m_Rotation = degrees;
    Actor::SetRotation(-degrees, Center, false);
    if (m_Geom)
        m_Geom->SetRotation(float(degrees));
}

// ---- Collision setup ---------------------------------------------------------------------

void ArcadeStructure::SetCategoryBits(unsigned bits)
{
    m_CategoryBits = bits;
    if (m_Geom)
        m_Geom->SetCategoryBits(bits);
}

void ArcadeStructure::SetCollideBits(unsigned bits)
{
    m_CollideBits = bits;
    if (m_Geom)
        m_Geom->SetCollideBits(bits);
}

void ArcadeStructure::SetMovable(bool movable)
{
    if (movable == m_Movable)
        return;
    m_Movable = movable;
    if (movable && m_Geom)
        UpdateGeometry();
}

void ArcadeStructure::SetSoftness(double softness)
{
    m_Softness = softness;
    if (m_Geom)
        m_Geom->SetSoftness(float(softness));
}

void ArcadeStructure::StartSoftPeriod()
{
    m_SoftTicks = kSoftPeriod;
    if (m_Geom)
        m_Geom->SetSoftness(float(kSoftPeriodSoftness));
}

void ArcadeStructure::SetImmobileCollisions(bool immobile)
{
    m_ImmobileCollisions = immobile;
    if (PhysicsBody* body = GetPhysicsBody())
        body->SetImmobile(immobile);
}

void ArcadeStructure::UpdatePhysics(World* world)
{
    static const Behaviour kDeriving[] = {DESTROY_ON_COLLISION, DIE_ON_COLLISION,
                                          DAMAGE_ON_COLLISION, TAKE_DAMAGE_ON_COLLISION};
    for (Behaviour set : kDeriving) {
        if (const BehaviourList* list = m_Behaviour[set].get()) {
            SetCollideBits(m_CollideBits | list->collideBits);
            if (list->movable)
                SetMovable(true);
        }
    }
    // A geometry of an earlier world goes; the new one is placed at the actor's centre.
    delete m_Geom;
    m_Geom = nullptr;
    m_World = world;
    UpdateGeometry();
    for (const auto& factory : m_Factories)
        factory->SetTarget(this);
    if (m_Motion)
        m_Motion->Start();
    AddOnce(m_DestroyedCallbacks, &ArcadeStructure::CheckLevelEndOnDestroyed,
            static_cast<void*>(this));
}

void ArcadeStructure::UpdateGeometry()
{
    if (!m_World)
        return;
    MAKO_ASSERT(m_Shape == STRUCTURE_SHAPE_RECTANGLE || m_Shape == STRUCTURE_SHAPE_CIRCLE ||
                m_Shape == STRUCTURE_SHAPE_TRIMESH);
    const Vector2D centre = GetCentre();
    // A new body keeps the old one's velocity, so that the part the motions gave it stays
    // what GetMotionVelocity says; a first body starts at rest, with nothing from them.
    const PhysicsBody* oldBody = GetPhysicsBody();
    const bool hadBody = oldBody != nullptr;
    const Vector2D velocity = hadBody ? oldBody->GetLinearVel() : Vector2D(0, 0);
    delete m_Geom;
    m_Geom = nullptr;

    PhysicsGeom* geom = nullptr;
    if (m_Shape == STRUCTURE_SHAPE_RECTANGLE) {
        geom = m_World->CreateBox(float(m_ShapeWidth - 0.01), float(m_ShapeHeight - 0.01));
    } else if (m_Shape == STRUCTURE_SHAPE_CIRCLE) {
        geom = m_World->CreateSphere(float(m_Radius - 0.01));
    } else {
        // The mesh is centred on the origin and shrunk a little, so that touching
        // neighbours do not overlap.
        std::vector<Point2f> vertices;
        for (const Point2f& v : m_Polygon.GetVertices())
            vertices.emplace_back(float((v.x - m_ShapeWidth / 2.0) * 0.999),
                                  float((v.y - m_ShapeHeight / 2.0) * 0.999));
        Poly centred;
        centred.SetVertices(vertices);
        geom = m_World->CreateTriMesh(new TriMeshData(centred));
    }
    if (m_Movable)
        geom->SetBody(new PhysicsBody(m_World));
    geom->SetRotation(float(m_Rotation));
    geom->SetOwner(this);
    geom->SetCategoryBits(m_CategoryBits);
    geom->SetCollideBits(m_CollideBits);
    geom->SetBounciness(m_Bounciness);
    SetGeom(geom);
    geom->SetPosition(centre.x, centre.y);
    geom->SetHasFriction(m_HasFriction);
    geom->SetBounceStrength(m_BounceStrength);
    geom->SetNeverSoft(m_NeverSoft);
    geom->SetSoftness(float(m_SoftTicks > 0 ? kSoftPeriodSoftness : m_Softness));
    if (PhysicsBody* body = geom->GetBody()) {
        if (m_PreventRotation)
            body->LockRotation();
        body->SetImmobile(m_ImmobileCollisions);
        body->SetLinearVel(velocity.x, velocity.y);
    }
    if (!hadBody)
        m_MotionVelocity = Point<double>();
}

Vector2D ArcadeStructure::GetCentre() const
{
    if (m_Geom) {
        const Point<double> c = m_Geom->GetCenter();
        return Vector2D(c.x, c.y);
    }
    return Vector2D(GetX() + GetWidth() / 2, GetY() + GetHeight() / 2);
}

// ---- Collisions and callbacks --------------------------------------------------------------

void ArcadeStructure::HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x,
                                      double y, double nx, double ny, double depth, bool solid)
{
    SyncFromPhysics();
    other->SyncFromPhysics();
    {
        BusyScope busy(m_MotionBusy);
        if (m_HitMotion && (GetBehaviourSet(MOVE_ON_COLLISION).empty() ||
                            BehaviourMatches(MOVE_ON_COLLISION, *other)))
            m_HitMotion->Start();
        // A copy: a callback may add or remove callbacks.
        const auto callbacks = m_HitCallbacks;
        for (const auto& entry : callbacks)
            entry.first(logic, other, x, y, nx, ny, depth, entry.second);
    }
    FlushRetired();
    CountSoftContact();
}

void ArcadeStructure::CountSoftContact()
{
    if (m_SoftTicks > 0 && !m_SoftContactCounted) {
        ++m_SoftTicks;
        m_SoftContactCounted = true;
    }
}

void ArcadeStructure::AddHitCallback(HitCallback callback, void* context)
{
    m_HitCallbacks.emplace_back(callback, context);
}

void ArcadeStructure::RemoveHitCallback(HitCallback callback, void* context)
{
    RemoveAll(m_HitCallbacks, callback, context);
}

void ArcadeStructure::AddDestroyedCallback(HitCallback callback, void* context)
{
    m_DestroyedCallbacks.emplace_back(callback, context);
}

void ArcadeStructure::RemoveDestroyedCallback(HitCallback callback, void* context)
{
    RemoveAll(m_DestroyedCallbacks, callback, context);
}

void ArcadeStructure::AddMovedCallback(MovedCallback callback, void* context)
{
    m_MovedCallbacks.emplace_back(callback, context);
}

void ArcadeStructure::RemoveMovedCallback(MovedCallback callback, void* context)
{
    RemoveAll(m_MovedCallbacks, callback, context);
}

void ArcadeStructure::RunMovedCallbacks()
{
    const auto callbacks = m_MovedCallbacks;
    for (const auto& entry : callbacks)
        entry.first(this, entry.second);
}

ArcadeStructure::HitCallback ArcadeStructure::BehaviourCallback(Behaviour which)
{
    switch (which) {
    case DESTROY_ON_COLLISION:
        return &DestroyOnCollisionHit;
    case DIE_ON_COLLISION:
        return &DieOnCollisionHit;
    case TAKE_DAMAGE_ON_COLLISION:
        return &TakeDamageOnCollisionHit;
    case DAMAGE_ON_COLLISION:
        return &DamageOnCollisionHit;
    case SOUND_ON_COLLISION:
        return &SoundOnCollisionHit;
    default:
        return nullptr; // moveOnCollision is read by HandleCollision itself
    }
}

ArcadeStructure::BehaviourListPtr ArcadeStructure::MakeBehaviourList(Behaviour which,
                                                                     std::vector<std::string> names)
{
    auto list = std::make_shared<BehaviourList>();
    list->set = NameSet(names.begin(), names.end());
    for (const std::string& name : list->set) {
        list->collideBits |= CategoryBitOf(name);
        list->movable = list->movable || MakesMovable(which, name);
    }
    list->names = std::move(names);
    return list;
}

const ArcadeStructure::NameSet& ArcadeStructure::GetBehaviourSet(Behaviour which) const
{
    static const NameSet none;
    return m_Behaviour[which] ? m_Behaviour[which]->set : none;
}

const std::vector<std::string>& ArcadeStructure::GetBehaviourNames(Behaviour which) const
{
    static const std::vector<std::string> none;
    return m_Behaviour[which] ? m_Behaviour[which]->names : none;
}

void ArcadeStructure::SetBehaviourSet(Behaviour which, const std::vector<std::string>& names)
{
    SetBehaviourList(which, MakeBehaviourList(which, names));
}

void ArcadeStructure::SetBehaviourList(Behaviour which, BehaviourListPtr list)
{
    m_Behaviour[which] = std::move(list);
    if (HitCallback callback = BehaviourCallback(which))
        AddOnce(m_HitCallbacks, callback, static_cast<void*>(this));
}

bool ArcadeStructure::BehaviourMatches(Behaviour which, const ArcadeStructure& other) const
{
    const NameSet& set = GetBehaviourSet(which);
    if (set.count(other.GetClass()->GetName()))
        return true;
    const char* alias = other.GetBehaviourAlias();
    return alias && set.count(alias);
}

void ArcadeStructure::DestroyedBy(ArcadeStructure* cause, ArcadeGameLogic* logic, double x,
                                  double y)
{
    Kill();
    CheckForLevelEnd(logic, x, y);
}

void ArcadeStructure::DamagedBy(ArcadeStructure* cause, ArcadeGameLogic* logic, double x, double y)
{
    Kill();
    CheckForLevelEnd(logic, x, y);
}

void ArcadeStructure::DestroyOnCollisionHit(ArcadeGameLogic* logic, ArcadeStructure* other,
                                            double x, double y, double, double, double,
                                            void* context)
{
    ArcadeStructure* self = static_cast<ArcadeStructure*>(context);
    // The plain class name only: a structure destroys balls and walls whatever their flags.
    if (other && !other->IsDead() &&
        self->GetBehaviourSet(DESTROY_ON_COLLISION).count(other->GetClass()->GetName()))
        other->DestroyedBy(self, logic, x, y);
}

void ArcadeStructure::DieOnCollisionHit(ArcadeGameLogic* logic, ArcadeStructure* other, double x,
                                        double y, double, double, double, void* context)
{
    ArcadeStructure* self = static_cast<ArcadeStructure*>(context);
    if (other && self->BehaviourMatches(DIE_ON_COLLISION, *other)) {
        self->Kill();
        CheckForLevelEnd(logic, x, y);
    }
}

void ArcadeStructure::TakeDamageOnCollisionHit(ArcadeGameLogic* logic, ArcadeStructure* other,
                                               double x, double y, double, double, double,
                                               void* context)
{
    ArcadeStructure* self = static_cast<ArcadeStructure*>(context);
    if (other && self->BehaviourMatches(TAKE_DAMAGE_ON_COLLISION, *other)) {
        self->Kill();
        CheckForLevelEnd(logic, x, y);
    }
}

void ArcadeStructure::DamageOnCollisionHit(ArcadeGameLogic* logic, ArcadeStructure* other, double x,
                                           double y, double, double, double, void* context)
{
    ArcadeStructure* self = static_cast<ArcadeStructure*>(context);
    if (other && self->BehaviourMatches(DAMAGE_ON_COLLISION, *other))
        other->DamagedBy(self, logic, x, y);
}

void ArcadeStructure::SoundOnCollisionHit(ArcadeGameLogic*, ArcadeStructure* other, double, double,
                                          double, double, double, void* context)
{
    ArcadeStructure* self = static_cast<ArcadeStructure*>(context);
    if (self->m_CollisionSound.empty() || self->m_SoundPlayed || !other)
        return;
    if (!self->GetBehaviourSet(SOUND_ON_COLLISION).empty() &&
        !self->BehaviourMatches(SOUND_ON_COLLISION, *other))
        return;
    // Louder the faster the two move, at most 100.
    const PhysicsBody* own = self->GetPhysicsBody();
    const PhysicsBody* theirs = other->GetPhysicsBody();
    double volume = std::trunc(own ? own->GetLinearVel().Length() * 0.1 : 0.0);
    volume = std::trunc(volume + (theirs ? theirs->GetLinearVel().Length() * 0.1 : 0.0));
    volume = std::min(volume, 100.0);
    const std::uint32_t channel = self->PlaySound(self->m_CollisionSound, false);
    Sound::SetChannelVolume(channel, int(volume));
    self->m_SoundPlayed = true;
}

void ArcadeStructure::CheckLevelEndOnDestroyed(ArcadeGameLogic* logic, ArcadeStructure* other,
                                               double x, double y, double, double, double, void*)
{
    if (other)
        CheckForLevelEnd(logic, x, y);
}

// ---- Actor ---------------------------------------------------------------------------------

void ArcadeStructure::Tick()
{
    Actor::Tick();
    m_SoundPlayed = false;
    MotionStep step;
    if (m_Geom && m_Geom->IsEnabled())
        step = UpdateMotions();
    // A moving structure shows where the physics has taken it.
    const PhysicsBody* body = GetPhysicsBody();
    if (body && m_Geom->IsEnabled())
        SyncFromPhysics();
    if (step.x != 0 || step.y != 0 || (body && body->GetLinearVel().Length() > 0.0)) {
        RunMovedCallbacks();
    }
    if (step.z != 0)
        SetRotation(m_Rotation + step.z);
    m_SoftContactCounted = false;
    if (m_SoftTicks > 0) {
        m_SoftTicks = std::max(0, m_SoftTicks - 10);
        if (m_SoftTicks == 0 && m_Geom)
            m_Geom->SetSoftness(float(m_Softness));
    }
    if (m_Geom && m_Geom->IsEnabled()) {
        for (std::size_t i = 0; i < m_Factories.size(); ++i)
            m_Factories[i]->Tick();
    }
}

void ArcadeStructure::Kill()
{
    // Two contacts in one sub-step may both kill a structure: its destroyed callbacks (and
    // what they release) must run only once.
    if (IsDead())
        return;
    if (m_Geom && m_Geom->IsEnabled())
        m_Geom->Disable();
    Actor::Kill();
    const auto callbacks = m_DestroyedCallbacks;
    for (const auto& entry : callbacks)
        entry.first(gLogic, nullptr, 0.0, 0.0, 0.0, 0.0, 0.0, entry.second);
}

bool ArcadeStructure::Intersects(const Point<int>& point, const Point<int>& size)
{
    if (m_Shape == STRUCTURE_SHAPE_RECTANGLE && (m_Rotation == 0.0 || m_Rotation == 180.0))
        return Actor::Intersects(point, size);
    return GetOutline().IntersectsRect(MakeRect(point.x, point.y, size.x, size.y));
}

// ---- Motions -------------------------------------------------------------------------------

void ArcadeStructure::SetMotion(std::unique_ptr<Motion> motion)
{
    Motion* added = motion.get();
    ReplaceMotion(m_Motion, std::move(motion));
    if (added && GetPhysicsBody())
        added->Start();
}

void ArcadeStructure::SetHitMotion(std::unique_ptr<Motion> motion)
{
    ReplaceMotion(m_HitMotion, std::move(motion));
}

void ArcadeStructure::ReplaceMotion(std::unique_ptr<Motion>& slot, std::unique_ptr<Motion> motion)
{
    if (slot) {
        slot->Stop();
        m_RetiredMotions.push_back(std::move(slot));
    }
    slot = std::move(motion);
    if (slot) {
        slot->SetTarget(this);
        SetMovable(true);
    }
    FlushRetired();
}

MotionStep ArcadeStructure::UpdateMotions()
{
    if (!m_Motion && !m_HitMotion && m_MotionVelocity.x == 0 && m_MotionVelocity.y == 0)
        return MotionStep();
    MotionStep step;
    {
        BusyScope busy(m_MotionBusy);
        if (m_Motion)
            step += m_Motion->Update();
        if (m_HitMotion)
            step += m_HitMotion->Update();
    }
    FlushRetired();
    PhysicsBody* body = GetPhysicsBody();
    MAKO_ASSERT(body);
    // Only the change of the motions' velocity: what collisions did to the body stays.
    const Point<double> velocity(step.x / FRAME_PERIOD_SECONDS, step.y / FRAME_PERIOD_SECONDS);
    const Vector2D current = body->GetLinearVel();
    body->SetLinearVel(current.x + velocity.x - m_MotionVelocity.x,
                       current.y + velocity.y - m_MotionVelocity.y);
    m_MotionVelocity = velocity;
    return step;
}

void ArcadeStructure::FlushRetired()
{
    if (m_MotionBusy > 0)
        return;
    // Moved out first: a motion's destructor may take its hooks out of this structure,
    // which retires them and flushes again.
    while (!m_RetiredMotions.empty()) {
        std::vector<std::unique_ptr<Motion>> motions;
        motions.swap(m_RetiredMotions);
        motions.clear();
    }
    m_RetiredHooks.clear();
}

void ArcadeStructure::MakeMovable()
{
    SetMovable(true);
}

void ArcadeStructure::AddCollideBits(std::uint32_t bits)
{
    SetCollideBits(m_CollideBits | bits);
}

void ArcadeStructure::AddMotionHitCallback(MotionHitCallback callback, void* argument)
{
    m_MotionHooks.push_back(
        std::make_unique<MotionHook>(MotionHook{callback, argument, this, true}));
    m_HitCallbacks.emplace_back(&MotionHookHit, m_MotionHooks.back().get());
}

void ArcadeStructure::RemoveMotionHitCallback(MotionHitCallback callback, void* argument)
{
    for (auto it = m_MotionHooks.begin(); it != m_MotionHooks.end();) {
        MotionHook* hook = it->get();
        if (hook->callback != callback || hook->argument != argument) {
            ++it;
            continue;
        }
        // Kept until no contact is under way: a copy of the hit-callback list may hold it.
        hook->live = false;
        RemoveAll(m_HitCallbacks, &MotionHookHit, static_cast<void*>(hook));
        m_RetiredHooks.push_back(std::move(*it));
        it = m_MotionHooks.erase(it);
    }
    FlushRetired();
}

void ArcadeStructure::MotionHookHit(ArcadeGameLogic*, ArcadeStructure* other, double x, double y,
                                    double nx, double ny, double depth, void* context)
{
    const MotionHook* hook = static_cast<const MotionHook*>(context);
    if (!hook->live)
        return;
    MotionContact contact;
    contact.x = x;
    contact.y = y;
    contact.nx = nx;
    contact.ny = ny;
    contact.depth = depth;
    hook->callback(hook->owner, other, contact, hook->argument);
}

std::string ArcadeStructure::GetStopClassName() const
{
    return GetClass()->GetName();
}

std::string ArcadeStructure::GetStopClassAlias() const
{
    const char* alias = GetBehaviourAlias();
    return alias ? alias : "";
}

MotionTarget* ArcadeStructure::FindFieldTarget(const std::string& name) const
{
    if (!gLogic)
        return nullptr;
    // Only a structure standing in a world has a place to be followed.
    ArcadeStructure* found = dynamic_cast<ArcadeStructure*>(gLogic->FindActor(name));
    return found && found->GetGeom() && found->GetGeom()->GetWorld() ? found : nullptr;
}

void ArcadeStructure::OnMotionPropertiesApplied()
{
    const Vector2D centre = GetCentre();
    CheckForLevelEnd(nullptr, centre.x, centre.y);
}

#pragma once
// Factory: makes new play-field objects while a level is played. A factory belongs to one
// structure, its target (given by the structure's "factories" property), and fires on
// four kinds of trigger: the target being hit, the target being destroyed, the target
// moving into an area, and the passing of time. Each firing creates objects from its list
// of creations (Lua object tables made by class name), placed at the target's centre (the
// table's "position" is an offset from it), scattered, optionally sent off with the
// velocity of what set the trigger off, and kept inside the walls.
//
// Firing modes: every creation at once (simultaneous), one chosen at random, or one after
// the other. numCreations limits the firings (negative: unlimited); destroyOnLastCreate
// kills the target with the last one. creationDelay holds every firing back that many
// ticks; firings during a delay wait their turn and are made one per delay period after it.
//
// All factories together keep at most ObjectLimit() of the objects they made alive at one
// time (the configuration key "factoryObjectLimit"), so that a level that keeps firing
// cannot fill the memory; a creation beyond the limit is refused and logged.
//
// A Factory is an Object, never drawn; the target owns it and ticks it. Main thread only.
#include "core/Object.h"
#include "physics/Vector2D.h"
#include "scene/ActorLink.h"

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

class ArcadeGameLogic;
class ArcadeStructure;
class Class;
class PhysicsBody;

class Factory : public Object
{
    MAKO_DECLARE_CLASS();

public:
    // How long a hit trigger ignores the object that set it off last, ms.
    static constexpr std::uint32_t kRearmMs = 40;
    // The live-object limit when the configuration names none.
    static constexpr int kDefaultObjectLimit = 200;

    using NameSet = std::unordered_set<std::string>;

    struct HitTrigger
    {
        int edges = -1;
        NameSet hittableClasses;
        double chance = 1.0;
        int repetitions = -1;
        const void* lastHitter = nullptr;
        std::uint32_t rearmTimer = 0;
    };
    struct DestroyTrigger
    {
        NameSet destroyableClasses;
        double chance = 1.0;
        int repetitions = -1;
    };
    struct LocationTrigger
    {
        bool inside = false;
        Vector2D center;
        Vector2D locationVariance;
        double distance = 0.0;
        double chance = 1.0;
        int repetitions = -1;
    };
    struct TimeTrigger
    {
        double remaining = 0.0;
        double duration = 0.0;
        double chance = 1.0;
        int repetitions = -1;
    };
    struct Creation
    {
        LuaPlus::LuaObject objectTable; // the table the object is made from
        int numberCreated = 1;
        Vector2D positionVariance;
        Vector2D velocityVariance;
        bool useTriggerVelocity = false;
        bool useFactoryPosition = true;
        double triggerAngleOffset = 0.0;
        double translateAlongVelocity = 0.0;
        double triggerVelocityLimit = -1.0;
    };

    Factory();
    // Kills the factory's timers and takes its callbacks off the target.
    ~Factory() override;

    // Attaches the factory to the structure: notes which location areas the target starts
    // in and registers the callbacks its triggers need.
    virtual void SetTarget(ArcadeStructure* target);
    virtual ArcadeStructure* GetTarget() const { return m_Target; }

    // The time triggers; the target calls it once per tick while its geometry is enabled.
    void Tick() override;

    // The trigger rules: a hit at the target's sides (bit set), a destruction, a move.
    virtual void EvaluateHit(ArcadeStructure* hitter, int sides, ArcadeGameLogic* logic);
    virtual void EvaluateDestroy(ArcadeStructure* destroyer, ArcadeGameLogic* logic);
    virtual void EvaluateLocation(ArcadeGameLogic* logic);
    // One firing: plays the factory animation on the target, then creates now or, with a
    // creation delay, queues the firing.
    virtual void Trigger(const Vector2D& hitterPos, const Vector2D& hitterVel,
                         const Vector2D& targetPos, ArcadeGameLogic* logic);
    // Counts down numCreations and makes the creations of one firing.
    virtual void CreateNow(const Vector2D& hitterPos, const Vector2D& hitterVel,
                           const Vector2D& targetPos, ArcadeGameLogic* logic);
    // Makes creation index numberCreated times and hands each object to the controller.
    virtual void CreateObject(int index, const Vector2D& hitterPos, const Vector2D& hitterVel,
                              const Vector2D& targetPos, ArcadeGameLogic* logic);

    bool OnTimer(const Event& event) override;

    // The callbacks registered on the target (context: the factory).
    static void FactoryHitCallback(ArcadeGameLogic* logic, ArcadeStructure* other, double x,
                                   double y, double nx, double ny, double depth, void* self);
    static void FactoryDestroyedCallback(ArcadeGameLogic* logic, ArcadeStructure* other, double x,
                                         double y, double nx, double ny, double depth, void* self);
    static void FactoryMovedCallback(ArcadeStructure* structure, void* self);

    // The most objects made by factories that may be alive at once, and how many are.
    static int ObjectLimit();
    static int LiveObjectCount();

    const std::vector<HitTrigger>& GetHitTriggers() const MAKO_LIFETIMEBOUND
    {
        return m_HitTriggers;
    }
    const std::vector<DestroyTrigger>& GetDestroyTriggers() const MAKO_LIFETIMEBOUND
    {
        return m_DestroyTriggers;
    }
    const std::vector<LocationTrigger>& GetLocationTriggers() const MAKO_LIFETIMEBOUND
    {
        return m_LocationTriggers;
    }
    const std::vector<TimeTrigger>& GetTimeTriggers() const MAKO_LIFETIMEBOUND
    {
        return m_TimeTriggers;
    }
    const std::vector<Creation>& GetCreations() const MAKO_LIFETIMEBOUND { return m_Creations; }
    int GetNumCreations() const { return m_NumCreations; }
    int GetCurrentObject() const { return m_CurrentObject; }
    // Firings waiting for the delay timer.
    std::size_t GetPendingCount() const { return m_Pending.size(); }

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& factoryClass);

private:
    // A delayed firing: what set it off and the controller it fires for.
    struct PendingFiring
    {
        Vector2D hitterPos;
        Vector2D hitterVel;
        ArcadeGameLogic* logic;
    };

    // r in [0, 1) below chance.
    static bool PassesChance(double chance);
    // Whether a trigger's class set accepts the structure (null: the name "").
    static bool AcceptsClass(const NameSet& classes, const ArcadeStructure* object);
    // The target's geometry position ((0, 0) without one).
    Vector2D TargetPosition() const;
    void StartDelay();
    // The name of the animation played on the target at every firing ("" for none).
    std::string AnimationName() const;
    // Forgets factory-made objects that have died; true when another may be made.
    static bool RoomForObject();
    // A made object with a geometry: placed (at its offset from the target's centre when
    // the creation says so) with the creation's random spread.
    void PlaceCreated(const Creation& creation, ArcadeStructure* struc) const;
    // Its body set moving: the hitter's velocity (capped, turned) when the creation says
    // so, the random spread, the step along its direction.
    static void LaunchCreated(const Creation& creation, ArcadeStructure* struc, PhysicsBody* body,
                              const Vector2D& hitterVel);
    // Moved fully inside the field's inner rectangle.
    static void KeepWithinWalls(ArcadeStructure* struc);

    void ParseHitTriggers(const LuaPlus::LuaObject& table);
    void ParseDestroyTriggers(const LuaPlus::LuaObject& table);
    void ParseLocationTriggers(const LuaPlus::LuaObject& table);
    void ParseTimeTriggers(const LuaPlus::LuaObject& table);
    void ParseCreations(const LuaPlus::LuaObject& table);

    ArcadeStructure* m_Target = nullptr;
    std::vector<HitTrigger> m_HitTriggers;
    std::vector<DestroyTrigger> m_DestroyTriggers;
    std::vector<LocationTrigger> m_LocationTriggers;
    std::vector<TimeTrigger> m_TimeTriggers;
    std::vector<Creation> m_Creations;
    bool m_Simultaneous = true;
    bool m_Random = false;
    bool m_DestroyOnLastCreate = false;
    int m_NumCreations = -1;
    bool m_MoveWithinWalls = true;
    int m_CurrentObject = 0;
    int m_CreationDelay = 0;
    std::uint32_t m_DelayTimer = 0;
    std::deque<PendingFiring> m_Pending;
};

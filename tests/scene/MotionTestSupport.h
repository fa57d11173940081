#pragma once
// Shared pieces of the motion tests: a play-field stand-in that a motion can move
// physically (a box geometry in a real physics world), motions made from script tables,
// and traces of the steps a motion gives update by update.
#include "SceneTestSupport.h"

#include "physics/PhysicsGeom.h"
#include "physics/World.h"
#include "scene/Motion.h"
#include "scene/MotionTarget.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace scenetest {

// A 10 × 10 box in `world` at (x, y) that answers the motions' questions as a play-field
// object does; `field` lists the objects FindFieldTarget can find by name.
class FieldTarget : public Actor, public MotionTarget
{
public:
    FieldTarget(World& world, double x, double y);
    ~FieldTarget() override;

    PhysicsGeom* GetMotionGeom() const override { return m_Geom; }
    void MakeMovable() override;
    void AddCollideBits(std::uint32_t bits) override;
    Point<double> GetMotionVelocity() const override { return motionVelocity; }
    void SetMotionVelocity(const Point<double>& velocity) override { motionVelocity = velocity; }
    void AddMotionHitCallback(MotionHitCallback callback, void* argument) override;
    void RemoveMotionHitCallback(MotionHitCallback callback, void* argument) override;
    std::string GetStopClassName() const override { return stopClassName; }
    std::string GetStopClassAlias() const override { return stopClassAlias; }
    MotionTarget* FindFieldTarget(const std::string& name) const override;
    void OnMotionPropertiesApplied() override { ++levelChecks; }

    // Tells every hooked callback about a contact with `other`.
    void Hit(FieldTarget& other, double nx, double ny, double depth);
    // Moves the geometry by the step, as an owner applying it would.
    void Apply(const MotionStep& step);
    Point<float> Position() const;
    std::size_t HookCount() const { return m_Hooks.size(); }

    std::uint32_t collideBits = 0;
    Point<double> motionVelocity;
    std::string stopClassName = "Brick";
    std::string stopClassAlias;
    int levelChecks = 0;
    std::map<std::string, FieldTarget*>* field = nullptr;

private:
    World& m_World;
    PhysicsGeom* m_Geom;
    std::vector<std::pair<MotionHitCallback, void*>> m_Hooks;
};

// A motion made from a script table through the class registry.
std::unique_ptr<Motion> MakeMotion(const std::string& table);

// Counts the completions of a motion.
struct Completions
{
    int count = 0;
    static void Callback(void* self) { ++static_cast<Completions*>(self)->count; }
    void Watch(Motion& motion) { motion.SetFinishedCallback(&Callback, this); }
};

// One update of a motion as a test sees it: the step and whether the motion still runs.
struct TraceEntry
{
    float x, y, z;
    bool running;
    bool operator==(const TraceEntry& o) const
    {
        return x == o.x && y == o.y && z == o.z && running == o.running;
    }
};

// A trace entry's running flag as the tables write it.
constexpr bool R = true;  // still running after the update
constexpr bool S = false; // stopped (completed) after the update
std::ostream& operator<<(std::ostream& out, const TraceEntry& entry);

// `updates` updates of the motion; each step is applied to `mover` when one is given.
std::vector<TraceEntry> Trace(Motion& motion, int updates, FieldTarget* mover = nullptr);

} // namespace scenetest

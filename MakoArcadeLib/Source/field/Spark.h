#pragma once
// Spark: one arc of chain lightning, drawn as a stretched bolt from a start point to an end
// point where its target sits. A circular Collider at the end point gathers the balls,
// bricks and goobers around the target. 50 ms after it was made the spark strikes its own
// target (bricks, drop targets and goobers take the spark's power as damage, through their
// collision handler with the spark as the other party) and forks: it shares its remaining
// power among a random number of new sparks that leap from its end point to gathered
// objects chosen at random; balls and goobers chosen are pushed. 200 ms after it was made
// the spark dies. The chain ends where the power can no longer be shared.
//
// The target is held by a link: a target killed before the strike is not struck, and the
// spark ends normally. Sparks are made by lightning balls and by bricks that explode as
// lightning, and are handed to the controller (ArcadeGameLogic::AddSpark), which puts them
// into the world; they cannot be made from a script table. Units: pixels, milliseconds on
// frame-rate timers. Main thread only.
#include "field/ArcadeStructure.h"
#include "field/Collider.h"
#include "scene/ActorGroup.h"
#include "scene/ActorLink.h"

#include <cstdint>
#include <unordered_set>

class Spark : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    static constexpr const char* kImageName = "Spark.png";
    // After this the spark strikes and forks; after kLifetimeMs it dies.
    static constexpr std::uint32_t kForkDelayMs = 50;
    static constexpr std::uint32_t kLifetimeMs = 200;
    // The push a ball or goober chosen by a fork receives: an acceleration in pixels per
    // second² over one frame, about 80 pixels per second away from the spark.
    static constexpr double kForkPush = 2500.0;

    // Fails: a spark cannot be made from a property table.
    Spark();
    // An arc from (startX, startY) to (endX, endY), where target sits (may be null). It
    // strikes with power as damage and shares power - 1 among its forks: between minForks
    // and maxForks of them (both included), each made with the fork range
    // childMinForks..childMaxForks for itself and its own forks. logic (null: the running
    // controller) is handed to the collision handlers it calls and takes the forks.
    Spark(double startX, double startY, double endX, double endY, ArcadeStructure* target,
          int power, ArcadeGameLogic* logic, double gatherRadius, int minForks, int maxForks,
          int childMinForks, int childMaxForks);
    // Kills its timers and lets the sensor go without calling back.
    ~Spark() override;

    // Whether the sensor has gathered the object.
    virtual bool AlreadyTouched(const Object* object) const;
    // The spark's power, wherever it strikes.
    int GetStrikeDamage(double x, double y) const override { return m_PowerLeft + 1; }

    // Ends the sensor (without its callback) and both timers, then the spark.
    void Kill() override;
    // Puts the sensor into the world.
    void UpdatePhysics(World* world) override;
    bool AcceptsCollision(CollisionOwner* other, double x, double y) override { return true; }

    ArcadeStructure* GetTarget() const { return m_Target.Get(); }
    int GetPowerLeft() const { return m_PowerLeft; }
    int GetMinForks() const { return m_MinForks; }
    int GetMaxForks() const { return m_MaxForks; }
    Vector2D GetStart() const { return Vector2D(m_StartX, m_StartY); }
    Vector2D GetEnd() const { return Vector2D(m_EndX, m_EndY); }
    // The gathered objects that are still alive, the possible fork targets.
    const ActorGroup& GetCandidates() const MAKO_LIFETIMEBOUND { return m_Candidates; }
    Collider* GetCollider() const { return m_Collider.Get(); }

protected:
    // The fork timer strikes and forks, the life timer kills the spark; others go to Actor.
    bool OnTimer(const Event& event) override;

private:
    void ShowBolt();
    void Fork();
    void StrikeTarget();
    ArcadeGameLogic* Logic() const;

    static void SparkCollisionProc(ArcadeGameLogic* logic, Collider* collider,
                                   ArcadeStructure* other, double x, double y, void* context);
    static void OnColliderDestroyed(ArcadeGameLogic* logic, ArcadeStructure* other, double x,
                                    double y, double nx, double ny, double depth, void* context);

    std::unordered_set<const Object*> m_HitObjects;
    ActorGroup m_Candidates;
    ActorLink<ArcadeStructure> m_Target;
    ActorLink<Collider> m_Collider;
    int m_PowerLeft = 0;
    int m_MinForks = 0;
    int m_MaxForks = 0;
    int m_ChildMinForks = 0;
    int m_ChildMaxForks = 0;
    double m_GatherRadius = 0.0;
    double m_StartX = 0.0;
    double m_StartY = 0.0;
    double m_EndX = 0.0;
    double m_EndY = 0.0;
    ArcadeGameLogic* m_Logic = nullptr;
    std::uint32_t m_ForkTimer = 0;
    std::uint32_t m_LifeTimer = 0;
};

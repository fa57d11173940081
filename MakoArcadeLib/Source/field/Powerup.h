#pragma once
// Powerup: the small round object a broken brick, a goober, a factory or the level puts on
// the play field. It announces itself with a burst of particles and a sound, falls towards
// the nearest wall flagged to attract power-ups (straight down when none is) at the
// acceleration of the configuration constant "PowerupGravity" (pixels per second squared), leaves a
// trail of particles, and ends either caught by the paddle (OnCollected, called by the controller's
// CollectPowerup) or swallowed by a dangerous wall (Shatter, then Kill).
//
// A power-up only handles its own physics, particles and sounds and the collection effects
// around the paddle; what catching it does to the game is the controller's choice, by the
// power-up's class name. The kinds are registered classes (PowerupKinds.cpp), each made
// from the resource table of its own class name; Powerup itself cannot be made by name.
//
// Resource keys read from its script table: powerupCreationEmitter,
// powerupCollectedEmitter, powerupTrailEmitter (emitter resource names),
// powerupCreationSound (a table of sound names) and collectionColor (a colour name for the
// paddle tint and the sparks at the paddle's ends). A missing key switches its effect off.
//
// All particle work needs a running controller with a particle manager: without one a
// power-up makes no particles (but still plays its creation sounds). Units: pixels,
// pixels per second. Main thread only.
#include "field/ArcadeStructure.h"
#include "geometry/Point.h"

#include <string>

class BufferedIdenticalParticleEmitter;
class Paddle;
class ParticleEmitter;
class Particle;

class Powerup : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    // The pull when the configuration has no "PowerupGravity", pixels per second²: one
    // released at rest in the middle of the field reaches the paddle's line in about
    // 2.2 seconds.
    static constexpr double kDefaultGravity = 80.0;
    // Drawing order on the field.
    static constexpr int kZOrder = 6;
    // The fastest a power-up leaves a breaking brick, pixels per second.
    static constexpr double kMaxReleaseSpeed = 300.0;
    // Divisor of the image area giving the number of pieces a shattered power-up breaks into.
    static constexpr int kShatterAreaPerPiece = 40;

    // A power-up of the resource table of that name (image, score, flags, emitters, sounds).
    explicit Powerup(const std::string& resourceName);
    // Kills the emitters it still holds.
    ~Powerup() override;

    // Whether the name is one of the registered power-up kinds (PowerupKind); Powerup
    // itself and every class of another family are not.
    static bool IsKind(const std::string& name);
    // A new power-up of the kind that class name names (bricks, goobers, thieves and the
    // level make theirs this way, and only this way); the caller owns it. A name that is not
    // a power-up kind raises before anything is made (the program's mistake: the names are
    // checked when they are read). A kind its data cannot make (its picture missing from the
    // pack, its table damaged) is named once through ObjectBoundary and answers null: the
    // caller leaves it out.
    static Powerup* CreateOfKind(const std::string& className);
    // The names of a "powerups" value (a name or a list of them) that name power-up kinds,
    // as a new list in their order; every other entry is reported through DataReport
    // (`powerups: "X" is not a kind of power-up; it is left out`) and left out, so a
    // brick or goober of level data never holds a name CreateOfKind refuses.
    static LuaPlus::LuaObject KindsOnly(const LuaPlus::LuaObject& names);

    // ---- Life on the field -------------------------------------------------------------
    // Builds the collection and creation bursts when their resources are named and they do
    // not exist yet, so that spawning and collecting only hand finished emitters on.
    virtual void BufferParticles();
    // The power-up has been placed and handed to the controller: creation burst centred on
    // it, trail as a child, and (with playSound) every creation sound once. True exactly
    // when at least one sound was played.
    virtual bool OnSpawn(bool playSound);
    // Caught by paddle (null: granted by the level): the collection burst over it, and with
    // a paddle and a collection colour the paddle's tint and two spark fountains from the
    // paddle's ends. Called by the controller before it applies the kind's effect.
    virtual void OnCollected(Paddle* paddle, ArcadeGameLogic* logic);
    // Breaks the current image into flying pieces (area / 40 of them); called by a
    // dangerous wall just before it kills the power-up.
    virtual void Shatter();
    // Moves the power-up just outside a wall it overlaps (left, right or top wall).
    virtual void PushOutOfWall(ArcadeStructure* other);
    // Moves the power-up fully inside the play field (the Lua globals x2, x3, y2, y3) and
    // its body with it.
    void KeepInsideField();

    // ---- Actor -------------------------------------------------------------------------
    // Falls: follows its body, remembers the last move for the trail and adds the pull of
    // the attracting wall to the body.
    void Tick() override;
    // A circle of half the width, category Powerup, colliding with walls and the paddle,
    // with the mass of a sphere of density 1.
    void UpdatePhysics(World* world) override;
    // "score" is stored here; the structure's own classic properties are not applied to
    // power-ups.
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;

    // ---- Values ------------------------------------------------------------------------
    int GetScore() const { return m_Score; }
    void SetScore(int score) { m_Score = score; }
    bool IsLoot() const { return m_IsLoot; }
    bool IsSecret() const { return m_IsSecret; }
    // The name the controller decides the effect by.
    const std::string& GetKindName() const;
    // Centre before the last physics sync minus centre after it.
    Point<float> GetLastMove() const { return m_LastMove; }
    // The direction of the pull this tick: the nearest attracting wall of the running
    // controller's wall group, (0, 1) when none attracts.
    Point<double> ChooseFallDirection() const;
    static double GetGravity() { return s_Gravity; }
    // Held emitters (null once handed over).
    BufferedIdenticalParticleEmitter* GetCreationEmitter() const { return m_CreationEmitter; }
    BufferedIdenticalParticleEmitter* GetCollectedEmitter() const { return m_CollectedEmitter; }

    static void RegisterProperties(Class& c);

protected:
    // A resource entry as a string ("" when it is not one).
    std::string ResourceString(const char* key);

private:
    static Particle* CreateTrailParticle(ParticleEmitter* emitter, void* powerup);
    void StartPaddleSprays(Paddle* paddle, const std::string& color);

    ParticleEmitter* m_SpawnTrail = nullptr;
    int m_Score = 0;
    Point<float> m_LastMove{0.0f, 0.0f};
    bool m_IsLoot = false;
    bool m_IsSecret = false;
    BufferedIdenticalParticleEmitter* m_CreationEmitter = nullptr;
    BufferedIdenticalParticleEmitter* m_CollectedEmitter = nullptr;

    static double s_Gravity;
};

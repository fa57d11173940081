#pragma once
// Goober: a free-moving thing on the play field that is not a ball. Small creatures that
// wander, home in on the paddle or steal loot from it, and the falling hazards built the
// same way (boulders, snowballs, bombs, anvils, smart bombs).
//
// Every tick its body is pushed by a random-walk acceleration, a constant gravity and,
// while it homes, a horizontal pull towards the nearest paddle; its speed is capped at
// the start of the tick. The three are accelerations in pixels per second² (randomWalk
// is the half-width of the uniform draw per axis), the same for a goober of any size,
// acting over the whole frame. It takes damage from active balls, explosions, sparks,
// laser beams and shields (and from the classes of its takeDamageOnCollision); when the
// damage reaches its strength it is destroyed: it releases its power-ups, scores (shown as
// a flying text), may explode, bursts into pieces of its own picture and plays its
// destruction sound. A strength of -1 is indestructible. A thief takes one piece of loot
// from a paddle it touches, at most once per kStealCooldown ticks, and the player pays its
// score.
//
// Made by class name from the tables of Goober.lua, mostly by factories and level data,
// and handed to the controller. Units: pixels, pixels per second, ticks of 32 ms. Main
// thread only.
#include "field/ArcadeStructure.h"
#include "geometry/Point.h"
#include "scene/ActorLink.h"

#include <cstdint>
#include <string>
#include <vector>

class Paddle;
class Powerup;

class Goober : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    // Ticks between two thefts of one goober.
    static constexpr int kStealCooldown = 300;
    // How long the paddle shows what was stolen, ms.
    static constexpr int kStolenLabelMs = 2000;
    // Ticks a hit flash stays, and ticks between two homing blinks.
    static constexpr int kFlashTicks = 4;
    static constexpr int kBlinkTicks = 20;
    // The flying score texts: a destroyed goober's and a theft's, in ticks.
    static constexpr int kScoreTextTicks = 150;
    static constexpr int kTheftTextTicks = 50;

    Goober();
    // Stops the lifetime sounds.
    ~Goober() override;

    // The message the paddle shows when a thief took loot of that class ("" for others).
    static std::string StolenMessage(const std::string& className);

    // Wander, home, cap the speed, push the body; then the structure's tick, the flash,
    // the drawn rotation and the lifetime sounds' pan.
    void Tick() override;
    // A sphere of density 10 placed at the actor's centre, moving at the velocity field;
    // starts the lifetime sounds.
    void UpdatePhysics(World* world) override;
    // The actor follows the body, and the velocity field takes the body's velocity.
    void SyncFromPhysics() override;
    // True when the other passes without a physical response from the goober's side: a
    // ball that is held, or will destroy it anyway; colliders and laser beams; bricks when
    // it passes through them (or they are glass); shields when it passes through them.
    bool AcceptsCollision(CollisionOwner* other, double x, double y) override;
    // Damage from active balls, blasts, sparks, beams and shields; theft from and
    // destruction by the paddle; a dangerous wall kills it without a score.
    void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                         double nx, double ny, double depth, bool solid) override;

    // Stores the damage, shows it as a frame (with damageFrames) and destroys the goober
    // when it reaches the strength.
    void SetDamage(int damage, ArcadeStructure* other, ArcadeGameLogic* logic, double x, double y);
    // The destruction: power-ups, score, explosion, particle burst, death, sound.
    void Destroy(ArcadeStructure* other, ArcadeGameLogic* logic, double x, double y);
    // New power-ups of the classes the powerups table names, in its order; each must be a
    // Powerup. A kind its data cannot make is left out (CreateOfKind names it). The caller
    // owns them.
    std::vector<Powerup*> CreatePowerups() const;
    // A short white flash over the goober; nothing while one shows.
    void Flash();
    // nil: an empty table; a string: a table holding it (unless empty); a table as is.
    void SetPowerups(const LuaPlus::LuaObject& value);

    int GetDamage() const { return m_Damage; }
    int GetStrength() const { return m_Strength; }
    int GetScore() const { return m_GooberScore; }
    const Point<float>& GetVelocity() const MAKO_LIFETIMEBOUND { return m_Velocity; }
    int GetStealCooldown() const { return m_StealCooldown; }
    Actor* GetFlash() const { return m_Flash.Get(); }
    const LuaPlus::LuaObject& GetPowerups() const MAKO_LIFETIMEBOUND { return m_Powerups; }

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& gooberClass);

private:
    // The theft from a paddle: the cooldown starts, one piece of loot goes and its score
    // with it.
    void Steal(Paddle* paddle, ArcadeGameLogic* logic);
    // The push of homing towards the nearest paddle, (0, 0) when not homing; blinks.
    Point<double> HomingPull();
    void ReleasePowerups(ArcadeStructure* other, ArcadeGameLogic* logic);
    void SetNoBlockBall(bool on);
    static void TakeDamageCallback(ArcadeGameLogic* logic, ArcadeStructure* other, double x,
                                   double y, double nx, double ny, double depth, void* self);

    Point<float> m_Velocity;
    ActorLink<Actor> m_Flash;
    int m_FlashCountdown = 0;
    int m_GooberScore = 20;
    std::string m_DestructionSound = "Goober Pop.ogg";
    std::string m_ScoreSound = "attention5.ogg";
    std::string m_LifetimeSound;
    std::string m_LifetimeSound2;
    bool m_LifetimeSoundLoop = true;
    bool m_LifetimeSound2Loop = true;
    std::uint32_t m_LifetimeChannel = 0;
    std::uint32_t m_LifetimeChannel2 = 0;
    bool m_DestroyOnPaddle = true;
    bool m_DestroyOnShield = false;
    bool m_NoBlockBall = false;
    bool m_PassThruBricks = false;
    bool m_PassThruShields = false;
    bool m_StealLoot = false;
    int m_ExplosiveRadius = 48;
    int m_ExplosivePower = 0;
    bool m_ExplosionDangerous = false;
    bool m_HomingBlink = false;
    bool m_DamageFrames = false;
    int m_BlinkCountdown = 0;
    int m_StealCooldown = 0;
    bool m_HitThisTick = false;
    int m_Strength = 1;
    int m_Damage = 0;
    bool m_ShowScore = false;
    float m_SpeedLimit = 40.0f;
    float m_RandomWalk = 400.0f;
    Point<float> m_Gravity{0.0f, 10.0f};
    float m_SeekPaddle = 0.0f;
    float m_SeekDistance = -1.0f;
    LuaPlus::LuaObject m_Powerups;
};

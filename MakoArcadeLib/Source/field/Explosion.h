#pragma once
// Explosion: a short-lived blast on the play field. It shows an animated fireball and owns
// a circular Collider, a sensor that lives a few ticks; every brick, drop target or goober
// the sensor touches is struck once, through its collision handler with the explosion as
// the other party, and takes a damage that falls off from the centre to the rim
// (GetStrikeDamage). Balls touching the blast are pushed (the sensor is solid for them) and
// take no damage. A blast that may hurt the paddle reaches it too and shatters it when the
// paddle is within half the radius of the centre.
//
// The explosion lives exactly as long as its sensor: the sensor's end kills it, and killing
// the explosion ends the sensor. It is a structure without a shape of its own, so that it
// can be the other party of a collision; it never takes part in a physical contact.
//
// Made by destroyed explosive bricks and goobers (FromPower) and handed to the controller
// (ArcadeGameLogic::AddExplosion), which puts it into the world; scripts make it as class
// "Explosion" at the centre of the rectangle they give. Units: pixels, ticks of 32 ms.
// Main thread only.
#include "field/ArcadeStructure.h"
#include "field/Collider.h"
#include "scene/ActorLink.h"

#include <unordered_set>

class Explosion : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    // The sensor image, the particles and the sound of every blast.
    static constexpr const char* kImageName = "Explosion.png";
    static constexpr const char* kEmitterName = "ExplosionParticleEmitter";
    static constexpr const char* kSoundName = "Big Explosion.ogg";

    // A blast made by the class registry: radius 32, lifetime 2, damage 1, harmless to the
    // paddle; it goes off at the centre of the actor's rectangle once the script's
    // properties are applied (Initialize).
    Explosion();
    // A blast centred on (x, y) with the radius in pixels; its sensor lives lifetime ticks
    // (see Collider::SetLifetime). A structure at the centre takes maxDamage, one at the rim
    // minDamage; a maxDamage of -1 means minDamage. Shows the image, starts the particles
    // (when the controller has a particle manager) and plays the sound.
    Explosion(double x, double y, double radius, int lifetime, int minDamage, int maxDamage,
              bool hurtsPaddle);
    // Lets the sensor go without calling back.
    ~Explosion() override;

    // The blast of an explosive thing of that power (> 0) at (x, y): radius explosiveRadius,
    // or 8 x power + 16 when that is 0; lifetime explosiveRadius / 32 + 4 ticks; damage from
    // power / 2 + 1 at the rim to power + 1 at the centre. The caller hands it to the
    // controller.
    static Explosion* FromPower(double x, double y, int power, int explosiveRadius,
                                bool hurtsPaddle);

    void Initialize() override;

    // Whether the blast has struck the object already.
    virtual bool AlreadyHit(const Object* object) const;
    // The damage at (x, y): maxDamage at the centre falling linearly to minDamage at the
    // rim, never outside [minDamage, maxDamage].
    int GetStrikeDamage(double x, double y) const override;

    // Shows the frame of the fireball for the sensor's age, then ticks the sensor.
    void Tick() override;
    // Ends the sensor first (without its callback), then the explosion.
    void Kill() override;
    // Puts the sensor into the world.
    void UpdatePhysics(World* world) override;
    // Never a physical contact of the explosion itself.
    bool AcceptsCollision(CollisionOwner* other, double x, double y) override { return true; }

    double GetBlastRadius() const { return m_BlastRadius; }
    int GetLifetime() const { return m_Lifetime; }
    int GetMinDamage() const { return m_MinDamage; }
    int GetMaxDamage() const { return m_MaxDamage; }
    bool HurtsPaddle() const { return m_HurtsPaddle; }
    // The sensor; null once it has ended.
    Collider* GetCollider() const { return m_Collider.Get(); }

private:
    void GoOff(double x, double y);
    void ShowFireball(double x, double y);
    void StartParticles();
    void Strike(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y);

    // Every contact of the sensor (context: the explosion).
    static void ExplosionCollisionProc(ArcadeGameLogic* logic, Collider* collider,
                                       ArcadeStructure* other, double x, double y, void* context);
    // The sensor was killed (its destroyed callback; context: the explosion).
    static void OnColliderDestroyed(ArcadeGameLogic* logic, ArcadeStructure* other, double x,
                                    double y, double nx, double ny, double depth, void* context);

    std::unordered_set<const Object*> m_HitObjects;
    ActorLink<Collider> m_Collider;
    double m_BlastRadius = 32.0;
    int m_Lifetime = 2;
    int m_MinDamage = 1;
    int m_MaxDamage = 1;
    bool m_HurtsPaddle = false;
    double m_CentreX = 0.0;
    double m_CentreY = 0.0;
};

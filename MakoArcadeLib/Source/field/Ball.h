#pragma once
// Ball: the round, physically simulated projectile of the play field. Every tick and at
// every contact the ball decides how fast it should travel: it steers its body's speed
// towards a target speed kept between level-wide limits, gains and loses energy (a speed
// level) when it strikes things, breaks out of endless perpendicular bounce loops, and
// carries what power-ups change: size, substance ("None", "Lead", "Air", "Rubber") and
// corona ("None", "Breakthru", "Lightning" of strength 1..3, "Glue").
//
// A ball is free or held by a paddle (served or caught), active or inactive (a free ball
// the player must first touch with the paddle), and shows a three-step count-down when
// play resumes. Speeds are pixels per second; one tick is 32 ms. Sources:
// Ball.cpp (state, speed and energy, size, paddle holding, count-down, split),
// BallCollisions.cpp (contacts, loops, kicks, bounce effects), BallImages.cpp (the
// shared image cache and drawing), BallEffects.cpp (trail, motion blur, glue splash,
// lightning), BallProperties.cpp (the script properties). Main thread only.
#include "field/ArcadeStructure.h"
#include "field/Paddle.h"
#include "geometry/Point.h"
#include "scene/ActorLink.h"
#include "scene/ParticleEmitter.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Image;
class Particle;

// The speed limits shared by every ball, written when a level is built (each from the
// level table's key when present, else from the Lua global default*), pixels per second.
struct BallSpeedLimits
{
    double initialBallSpeed = 165;          // "initalBallSpeed" / defaultInitialBallSpeed
    double minBallSpeed = 130;              // "minBallSpeed"
    double maxBallSpeed = 1200;             // "maxBallSpeed"
    double maxBallOrdinarySpeed = 600;      // "maxBallOrdinarySpeed"
    double addSpeedOnBrickDestruction = 0;  // "addSpeedOnBrickDestruction"
    double addSpeedOnGooberDestruction = 0; // "addSpeedOnGooberDestruction"
    double addSpeedOnLevelUp = 40;          // "addSpeedOnLevelUp"
    double addSpeedPerTick = 0.07;          // "addSpeedPerTick"
    double addSpeedOnSpring = 20;           // "addSpeedOnSpring"
    double speedPerEnergy = 40;             // "ballSpeedPerEnergy" / defaultSpeedPerEnergy
    double extraSpeedUpwards = 0;           // "ballExtraSpeedUpwards"
    double rubberSpeed = 4;                 // "rubberSpeed"
    double rubberEnergy = 2;                // "rubberEnergy"
    double glueSpeed = 8;                   // "glueSpeed"

    // Reads each limit from the level table's key when it is a number, else from its Lua
    // global; a key or global of another type is reported (DataReport) and read as
    // missing, and a limit neither gives keeps the current value.
    void ReadFrom(const LuaPlus::LuaObject& levelTable);
    // The level table keys of the limits, in the order above.
    static std::vector<const char*> LevelKeys();
};
extern BallSpeedLimits gBallSpeed;

// Ball radii by size index 0..6 (index 2, radius 8, is the normal ball).
extern const double BallRadii[7];

class Ball : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    // The fastest any ball moves, pixels per second: three times the fastest a level may
    // ask (BallSpeedLimits are held to a third of it), as the ball's own regulation allows.
    // The ball's body holds it (PhysicsBody::SetTopSpeed) whatever sets its velocity: a
    // level's start, a hopper, a paddle's stroke, a blast, a force.
    static constexpr double kFastestSpeed = 7200.0;
    // The most energy levels a ball holds, and sheds at once (a paddle's fullest stroke
    // gives 16).
    static constexpr int kMostEnergy = 100;

    // An inactive ball with the common set-up (movable, category 1, collide mask 219,
    // softness 0.00001, radius 8, z-order 8), its emitters and its image.
    Ball();
    // A ball whose body will be built at (x, y) (its centre) with velocity (vx, vy).
    Ball(double x, double y, double vx, double vy, bool active);
    // A ball sitting on the paddle, held and inactive; sets the paddle's skipNextHitCount.
    explicit Ball(Paddle* paddle);
    // Stops the lightning loop, kills the count-down timer and label, frees the image.
    ~Ball() override;

    // ---- Speed and energy ---------------------------------------------------------------
    void AddSpeed(double amount, bool counted);
    void AddSpeedAlong(double vx, double vy, bool counted);
    void RaiseSpeedLevel(int n);
    void RaiseSpeedLevelAlong(int n, double dx, double dy);
    void LowerSpeedLevel(int n);
    void CapSpeedLevel(int n);
    void ShedEnergy(int n);
    void SpringBounce(double nx, double ny);
    int GetHitStrength() const;
    double GetSpeed() const { return m_Speed; }
    int GetEnergy() const { return m_Energy; }
    int GetBaseStrength() const { return m_BaseStrength; }

    // ---- Appearance and kind ------------------------------------------------------------
    // Whether a ball may be of that substance ("None", "Lead", "Air", "Rubber") and wear
    // that corona ("None", "Breakthru", "Lightning", "Glue"); a name from data that is not
    // one is reported and the ball keeps what it had.
    static bool IsSubstance(const std::string& name);
    static bool IsCorona(const std::string& name);
    void SetSubstance(const std::string& name, bool playSound);
    const std::string& GetSubstance() const MAKO_LIFETIMEBOUND { return m_Substance; }
    void SetCorona(const std::string& name);
    const std::string& GetCorona() const MAKO_LIFETIMEBOUND { return m_Corona; }
    int GetLightningStrength() const { return m_LightningStrength; }
    void SetActive(bool active);
    bool IsActive() const { return m_Active; }
    // radius now, the radius to grow or shrink to, and that size's index (0..6).
    void SetSize(double radius, double targetRadius, int sizeIndex);
    void Grow();
    void Shrink();
    int GetSizeIndex() const { return m_SizeIndex; }
    double GetTargetRadius() const { return m_TargetRadius; }
    double GetDensity() const { return m_Density; }

    // ---- Held by a paddle ---------------------------------------------------------------
    void AttachToPaddle(Paddle* paddle, bool inactive);
    void PlaceOnPaddle();
    void ReleaseFromPaddle();
    // The holding paddle; null when free (also once the paddle has been killed).
    Paddle* GetPaddle() const { return m_Paddle.Get(); }
    // Ball centre minus paddle centre while held.
    const Point<double>& GetPaddleOffset() const MAKO_LIFETIMEBOUND { return m_PaddleOffset; }
    void SetPaddleOffset(const Point<double>& offset) { m_PaddleOffset = offset; }
    // The nearest centre to (x, y) at which the whole ball lies between the walls
    // (FieldBounds::Current()). A ball is never placed, held or released with its centre
    // past a wall's face: walls let held balls through and stop free balls only from inside.
    Point<double> InsideField(double x, double y) const;
    // Paddle-contact bookkeeping of the paddle's impact handling, aged by the ball's tick.
    bool m_PaddlePass = false;
    bool m_PaddlePassTouched = false;
    int m_TicksSincePaddleHit = 1000;
    // A ball that has struck neither the paddle nor anything breakable for kAdriftTicks
    // (ten seconds) is adrift: a level's gravity and wind let go of it until it strikes one again,
    // so a pull away from the paddle can never keep the ball from coming back to it.
    static constexpr int kAdriftTicks = 312;
    bool IsAdrift() const { return m_TicksSinceStrike >= kAdriftTicks || m_Astray > 0; }
    // A ball whose path has brought the level no nearer its end for long (the game's stall
    // rule, logic/StallRule, decides) is astray: it is adrift however often it strikes
    // something, and each bounce off a wall or anything else that is not the paddle turns
    // its flight by a random angle of up to `turn` degrees (drawn with MakoRand), so no
    // closed path can hold it. 0 ends it; the rule ends it once play moves on.
    void SetAstray(double turn) { m_Astray = turn > 0.0 ? turn : 0.0; }
    double GetAstray() const { return m_Astray; }

    // What watches over play (the autoplay harnesses) hears of each put-back of a free ball
    // sunk into a wall (see KeepOutOfWalls), before the ball is moved: where its centre
    // was, how far it is moved (pixels), and whether a paddle touched it in this pass or
    // the one before. The game itself sets no observer and keeps no record of put-backs.
    class PutBackObserver
    {
    public:
        virtual ~PutBackObserver() = default;
        virtual void OnPutBack(const Ball& ball, double x, double y, double depth,
                               bool paddleTouched) = 0;
    };
    // Sets the one observer (null: none); gives back the one it replaces. Main thread only.
    static PutBackObserver* SetPutBackObserver(PutBackObserver* observer);

    // ---- Other --------------------------------------------------------------------------
    // The 3-2-1 count-down after a pause (750 ms steps); the last step re-enables the
    // geometry and sets the velocity to unit length.
    void StartCountDown();
    int GetCountDown() const { return m_CountDown; }
    bool OnTimer(const Event& event) override;
    // A new ball with this ball's state; placing and launching it is the caller's.
    Ball* Split();
    // The velocity the ball moves at once its body is made (its body's too, when it has one).
    void SetLaunchVelocity(double vx, double vy);
    // Set on balls just split from one another: they pass through each other while they
    // still touch, so the three do not burst apart.
    void SetBallPass(bool on) { m_BallPass = on; }
    // Breaks the ball into particles (the controller's emitters).
    virtual void Explode(ArcadeGameLogic* logic);

    // ---- Contacts (BallCollisions.cpp) --------------------------------------------------
    bool AcceptsCollision(CollisionOwner* other, double x, double y) override;
    void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                         double nx, double ny, double depth, bool solid) override;
    void DetectLoop(ArcadeStructure* other, double nx, double ny);
    void KickOutOfFlatPath();
    // An astray ball's bounce: its flight turned by a random angle (SetAstray).
    void TurnAstray();
    void ApplyBounceEffects(double addSpeed, double x, double y, double nx, double ny);
    void LightningConnect(ArcadeStructure* other, ArcadeGameLogic* logic);
    const char* GetBehaviourAlias() const override { return m_Active ? "ActiveBall" : nullptr; }

    // ---- Images (BallImages.cpp) ----------------------------------------------------------
    static void CreateBallImages();
    static Image* RetrieveBallImage(const std::string& corona, const std::string& substance,
                                    int diameter, int lightningStrength);
    static void FreeBallImages();
    void RefreshImage();
    void RescaleImage();
    void Draw(Canvas& canvas) override;

    // ---- Actor and structure ------------------------------------------------------------
    void Tick() override;
    void UpdatePhysics(World* world) override;
    void SyncFromPhysics() override;
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& ballClass);

    // ---- Effects (BallEffects.cpp) --------------------------------------------------------
    // With low effects ("--lowFX") the trail and motion-blur emitters of balls made from
    // then on are created but never started.
    static void SetLowEffects(bool low);
    // The most motion-blur copies a ball leaves in a pass (the shipped game's fastest
    // ball, 1,200 px/s with a radius of 4, leaves 28); the trail leaves its emitter's
    // fixed count.
    static constexpr int kMostBlurCopies = 32;
    static bool GetLowEffects();
    // The factories of the ball's emitters (argument: the ball) and of the glue splash
    // (argument: the splash's direction and normal, owned by its emitter).
    static Particle* CreateTrailParticle(ParticleEmitter* emitter, void* ball);
    static Particle* CreateMotionBlurParticle(ParticleEmitter* emitter, void* ball);
    static Particle* CreateGlueParticle(ParticleEmitter* emitter, void* splash);
    // The splash of a glued bounce at the contact point (x, y) with the contact normal.
    void EmitGlueSplash(double x, double y, double nx, double ny);
    ParticleEmitter* GetTrailEmitter() const { return m_TrailEmitter.Get(); }
    ParticleEmitter* GetMotionBlurEmitter() const { return m_MotionBlurEmitter.Get(); }
    Image* GetBallImage() const { return m_Image; }
    double GetImageScale() const { return m_ImageScale; }
    double GetImageRadius() const { return m_ImageRadius; }
    const Point<double>& GetMoveDelta() const MAKO_LIFETIMEBOUND { return m_MoveDelta; }
    int GetGlueCharges() const { return m_GlueCharges; }
    int GetLoopEscalation() const { return m_LoopEscalation; }

protected:
    // The common set-up of every constructor.
    void InitBall();
    // Puts the actor (and the geometry, when there is one) with its centre on (x, y).
    void PlaceCentre(double x, double y);
    // The target speed clamped to the minimum and to the maximum the energy allows.
    double ClampSpeed(double speed) const;
    // RaiseSpeedLevel, pushing the ball along direction when one is given.
    void RaiseSpeedLevelBy(int n, const Point<double>* direction);
    void UpdateDensity();
    void UpdateBaseStrength();
    // The body's mass: a sphere of the density and the current radius.
    void ApplyMass();
    // The radius at once: shape, image scale, mass; the geometry follows gradually.
    void SetRadiusNow(double radius);
    // One tick of the gradual size change towards the target radius.
    void StepSize();
    void RegulateSpeed();
    // A free ball sunk deeper than half its radius into a wall (squeezed against it by a
    // paddle, pushed by a blast) is put back at the wall's face and turned away from it.
    void KeepOutOfWalls();
    // Ticks since the last contact with the paddle, a brick, a drop target or a goober;
    // held on a paddle it stays 0.
    int m_TicksSinceStrike = 0;
    // Asks the world for sub-steps short enough that the ball never travels more than
    // half its radius in one (fast, small balls would otherwise sink into or pass through
    // what they hit).
    void RequestSubSteps();
    // A contact's effects (a rubber or spring boost, a brick's added speed ...) speed the
    // ball up only after the world's step: its sub-steps were counted from the speed before
    // it, and a ball sped up inside one, still heading into what it touches, could sink
    // through it. A contact that left the ball faster than `before` gives it back that
    // speed, in the direction the effects gave it, and keeps the gain for the tick.
    void DeferSpeedGain(double before);
    // The tick's share of it: the speed the contacts gave, along the way the ball now goes.
    void ApplyDeferredSpeed();
    double m_DeferredSpeed = 0.0;
    void KillCountDownLabels();
    void PlaceCountDownLabel();
    // Effects (BallEffects.cpp).
    void CreateEmitters();
    void StartEmitters();
    void UpdateBlurCount();
    void CentreEmitters();
    // The image drawn at the current scale (the cached image itself at scale 1).
    Image* GetScaledImage();

    // Members of the ball's state; see the source files for their rules.
    Point<double> m_Position;
    Point<double> m_Velocity;
    double m_Speed;
    bool m_Active = false;
    bool m_UpwardBonus = false;
    bool m_TouchedThisTick = false;
    int m_TouchTicks = 0;
    bool m_BallPass = false;
    bool m_BallPassTouched = false;
    ActorLink<Paddle> m_Paddle;
    Point<double> m_PaddleOffset;
    int m_Energy = 0;
    int m_BaseStrength = 1;
    double m_EnergySpeed = 0;
    double m_Overdrive = 0;
    ActorLink<ParticleEmitter> m_TrailEmitter;
    ActorLink<ParticleEmitter> m_MotionBlurEmitter;
    int m_BlurIndex = 0;
    Point<double> m_MoveDelta;
    int m_SoundCooldown = 0;
    std::string m_Substance = "None";
    std::string m_Corona = "None";
    int m_LightningStrength = 0;
    int m_GlueCharges = 0;
    std::uint32_t m_LightningChannel = 0;
    double m_Density = 1.0;
    double m_TargetRadius = 8;
    int m_SizeIndex = 2;
    double m_ImageRadius = 8;
    int m_ImageIndex = 2;
    Image* m_Image = nullptr;
    double m_ImageScale = 1.0;
    bool m_ImageInstalled = false;
    int m_CountDown = -1;
    ActorGroup m_CountDownLabels;
    std::uint32_t m_CountDownTimer = 0;
    int m_LoopCount = 0;
    int m_TicksSinceLoop = 1000;
    int m_LoopEscalation = 0;
    // The most degrees an astray ball's bounce turns its flight; 0 while it is not astray.
    double m_Astray = 0.0;
    // The cached image zoomed by the image scale (software drawing and blur copies).
    std::unique_ptr<Image> m_ScaledImage;
    bool m_EmittersStarted = false;
};

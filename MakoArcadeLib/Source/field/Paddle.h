#pragma once
// Paddle: the player's bat, a box-shaped structure at one edge of the play field. The
// mouse slides it along its edge; the button swings it towards the field. It holds balls
// (served or caught), fires the laser, carries a power that strokes build up and that a
// ball takes away at impact, and shows that power with a glow and an energy emitter.
//
// Placement (fixed at construction):
//   vertical  facePositive  edge    faces   rotation of the picture
//   false     false         bottom  up      0
//   false     true          top     down    180
//   true      false         right   left    90
//   true      true          left    right   270
// The swing axis is y for a horizontal paddle and x for a vertical one; the paddle slides
// along the other axis. A vertical paddle's actor keeps the horizontal layout: its width
// is the paddle's length and its height the thickness; only its box in the world stands
// upright.
//
// The swing is a machine of 14 states (SwingState) driven by the button's press and
// release and by the tick; its 26 parameters come from the configuration (the keys in
// PaddleSwing.cpp). swingOffset is the displacement from the rest line along the swing
// axis in pixels, positive = pulled back; swingSpeed is pixels per tick, positive =
// towards the field. Sources: Paddle.cpp (set-up, size, power, glow, catch, laser, label,
// effects, tick), PaddleSwing.cpp (the swing machine and its parameters), PaddleImpact.cpp
// (what contacts mean), PaddleProperties.cpp (the script properties). Main thread only.
#include "field/ArcadeStructure.h"
#include "scene/ActorGroup.h"
#include "scene/ActorLink.h"

#include <memory>
#include <string>
#include <vector>

class Ball;
class Image;
class LaserBeam;
class ParticleEmitter;

// The paddle's widths in pixels by size index.
extern const double PaddleSizes[7];

// The swing parameters, read from the configuration (PaddleSwing.cpp lists the keys).
// Distances in pixels, speeds in pixels per tick, accelerations in pixels per tick per
// tick, energies in power units.
struct PaddleSwingParameters
{
    double returnRate = 5.0;
    double serveDistance = 15.0;
    double serveReleaseSpot = 7.0;
    double serveAcceleration = 5.0;
    double serveDeceleration = 5.0;
    double serveEnergyGain = 0.5;
    double serveEnergyLoss = 1.0;
    double serveChargeRate = 0.05;
    double serveMaxCharge = 1.0;
    double swingDistance = 15.0;
    double swingSweetSpot = 7.0;
    double swingAcceleration = 3.0;
    double swingDeceleration = 3.0;
    double swingEnergyGain = 0.5;
    double swingEnergyLoss = 1.0;
    double powerDelay = 10.0;
    double pullRate = 0.5;
    double pullDistance = 20.0;
    double chargeRate = 0.05;
    double whackMaxCharge = 2.0;
    double whackDistance = 15.0;
    double whackSweetSpot = 0.0;
    double whackAcceleration = 5.0;
    double whackDeceleration = 5.0;
    double whackEnergyGain = 0.75;
    double whackEnergyLoss = 1.5;
};

class Paddle : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    enum SwingState {
        SwingIdle = 0,
        ServePullBack = 1,
        ServeCharge = 2,
        ServeStroke = 3,
        ServeFollowThrough = 4,
        SwingStroke = 5,
        SwingFollowThrough = 6,
        SwingReturn = 7,
        PowerDelay = 8,
        DrawBack = 9,
        WhackCharge = 10,
        WhackStroke = 11,
        WhackFollowThrough = 12,
        WhackReturn = 13,
    };

    // The plain bar that stands in for a paddle picture the pack lacks, pixels.
    static constexpr int kStandInLength = 64;
    static constexpr int kStandInThickness = 16;

    // A paddle built from the resource "Paddle" at size 3 (64 px), then the size the Lua
    // global paddleInitialSizeOverride names; idle, no power, catch and laser off. Its
    // label goes to the running controller (when one runs). A resource its data cannot
    // apply is named once and a plain bar stands in for the picture; a glow, laser emitter
    // or label its data cannot make is named once and left out.
    explicit Paddle(bool vertical = false, bool facePositive = false);
    // Frees the images the paddle made.
    ~Paddle() override;

    bool IsVertical() const { return m_Vertical; }
    bool FacesPositive() const { return m_FacePositive; }

    // ---- Held balls -----------------------------------------------------------------------
    // The balls held on the paddle; a killed ball leaves the group by itself.
    ActorGroup& GetHeldBalls() MAKO_LIFETIMEBOUND { return m_HeldBalls; }
    // Called by Ball::AttachToPaddle.
    void AddHeldBall(Ball* ball);
    void RemoveHeldBall(Ball* ball);
    // Releases every held ball (catch cooldown 6, "paddleLaunch.ogg" when any was held);
    // unless catch is on each takes the paddle's swing-axis velocity along.
    void LaunchHeldBalls();

    // The velocity of a ball the paddle deflects at `u` along its face (-1 at the left or
    // upper end, 0 at the centre, 1 at the right or lower end) with the given speed: the
    // face's normal turned by u times 60 degrees towards the end struck.
    Point<float> DeflectionVelocity(double u, double speed) const;

    // Ticks during which no ball can be caught; set to 6 by every launch and release.
    int GetCatchCooldown() const { return m_CatchCooldown; }
    void SetCatchCooldown(int ticks) { m_CatchCooldown = ticks; }
    // The next ball impact is not counted by the controller's hit counter (a ball placed
    // on the paddle sets it).
    bool GetSkipNextHitCount() const { return m_SkipNextHitCount; }
    void SetSkipNextHitCount(bool skip) { m_SkipNextHitCount = skip; }

    // ---- Size -------------------------------------------------------------------------------
    // One size up or down (indices 0..6); the width then steps 2 px per tick to it.
    void Expand();
    void Contract();
    // Width now, width to step towards (pixels) and the size index. Rescales the paddle's
    // picture and glow, and resizes the actor and the box at once.
    void SetWidth(double width, double targetWidth, int sizeIndex);
    // The size index of the "paddleSize" property: out-of-range values are clamped to
    // 0..6 with a warning in the log.
    void SetSizeIndex(int index);
    double GetWidthPx() const { return m_Width; }
    double GetTargetWidth() const { return m_TargetWidth; }
    int GetSizeIndex() const { return m_SizeIndex; }

    // ---- Power --------------------------------------------------------------------------
    // The power a ball takes at impact: doubled in the tick a stroke reaches its sweet spot.
    double GetPower() const { return m_SweetSpotHit ? m_Power * 2.0 : m_Power; }
    // Raises (or lowers) the base power and the power, and shows the power-up (or power-
    // down) emitters at the paddle's ends.
    void AddPower(double amount);
    double GetRawPower() const { return m_Power; }
    double GetBasePower() const { return m_BasePower; }
    double GetCharge() const { return m_Charge; }
    bool IsSweetSpotHit() const { return m_SweetSpotHit; }

    // ---- Loot ---------------------------------------------------------------------------
    // The class names of the loot this paddle caught, in the order caught.
    void AddCaughtLoot(const std::string& className) { m_CaughtLoot.push_back(className); }
    const std::vector<std::string>& GetCaughtLoot() const MAKO_LIFETIMEBOUND
    {
        return m_CaughtLoot;
    }

    // ---- Modes --------------------------------------------------------------------------
    // Switching catch off releases every held ball.
    void SetCatch(bool on);
    bool GetCatch() const { return m_CatchEnabled; }
    // Shows or hides the laser emitter; a change stops the charge sounds and leaves the
    // swing where it is (the paddle returns towards its rest line when it was displaced);
    // switching off kills the beam.
    void SetLaser(bool on);
    bool GetLaser() const { return m_LaserEnabled; }
    // The beam fired by the current press; null when none lives.
    LaserBeam* GetLaserBeam() const;

    // ---- Swing (PaddleSwing.cpp) ----------------------------------------------------------
    // Reads the 26 parameters from the configuration; a missing or non-numeric value fails
    // (Variant::ToDouble).
    virtual void LoadSwingParameters();
    // swingOffset and swingSpeed from the body (nothing without one).
    virtual void ReadSwingFromBody();
    // The swing-axis velocity of the body from swingSpeed; the other component stays.
    virtual void ApplySwingVelocity();
    // The button's press and release (also reached through arcade events 60 and 59).
    void Press();
    void Release();
    int GetSwingState() const { return m_SwingState; }
    double GetSwingOffset() const { return m_SwingOffset; }
    double GetSwingSpeed() const { return m_SwingSpeed; }
    bool IsReleased() const { return m_Released; }
    double GetRestPosition() const { return m_RestPosition; }
    const PaddleSwingParameters& GetSwingParameters() const MAKO_LIFETIMEBOUND { return m_Swing; }

    // ---- Label, loot and effects ----------------------------------------------------------
    // Shows the text on the label and fades it out over the duration (ms). The label
    // ("PaddleLabel", or a vertical variant) is made on first use and handed to the
    // running controller; it stays at its resource's offset from the paddle's centre.
    void ShowLabel(const std::string& text, int durationMs);
    // The label; null until the first ShowLabel.
    Actor* GetLabel() const;
    // The bag of loot class names the paddle collected; TakeRandomPhrase removes and
    // returns a random one ("" when empty).
    virtual void AddPhrase(const std::string& text);
    virtual std::string TakeRandomPhrase();
    // Breaks the paddle into pieces of its picture (a particle burst) and kills it.
    virtual void Shatter();
    // A fading overlay of the named colour ("Paddle.Tint.<colour>.png") that follows the
    // paddle for 500 ms.
    virtual void TintFlash(const std::string& colour);
    ActorGroup& GetFollowers() MAKO_LIFETIMEBOUND { return m_Followers; }
    // The picture the stroke trail's particles show (null outside strokes).
    const Image* GetStrokeImage() const MAKO_LIFETIMEBOUND { return m_StrokeImage.get(); }
    Actor* GetGlow() const { return m_Glow; }
    ParticleEmitter* GetEnergyEmitter() const { return m_EnergyEmitter; }

    // ---- Actor and structure ----------------------------------------------------------------
    // Structure tick, then the swing state's rule, the width step, the catch cooldown, the
    // swing velocity; the label and followers are centred on the paddle.
    void Tick() override;
    // The rest line, the upright box of a vertical paddle, rotation, emitters, collision
    // categories (Paddle; collides with Ball, Goober and Wall).
    void UpdatePhysics(World* world) override;
    // Stops the charge sounds, kills the held balls, the paddle's children (glow, emitters)
    // and the laser beam. A dead paddle ignores the button and does not tick.
    void Kill() override;
    bool AcceptsCollision(CollisionOwner* other, double x, double y) override;
    // What a contact means (PaddleImpact.cpp); then the structure's own hit handling.
    void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                         double nx, double ny, double depth, bool solid) override;
    bool OnReload(const Event& event) override;
    bool OnPaddleUpdate(const Event& event) override;
    bool OnPointerMove(const Event& event) override;
    bool OnButtonUp(const Event& event) override;
    bool OnButtonDown(const Event& event) override;

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& paddleClass);

    // The side bits of the paddle's face (towards the field) and back.
    EdgeMask FaceSide() const;
    EdgeMask BackSide() const;

protected:
    // ---- Swing machine (PaddleSwing.cpp) ----------------------------------------------------
    void TickSwing();
    void TickServe();
    void TickStroke();
    void TickWhack();
    void TickReturn(bool afterWhack);
    // One tick of pulling back at base power; once pulled back the paddle rests in
    // chargeState with its charge sounds following it. True on the tick it arrives.
    bool PullBackInto(int chargeState);
    // One tick of a follow-through: slower by deceleration, energyLoss less power (never
    // below the base). True when the stroke is over: its distance reached, or the paddle
    // turned back (or stopped, when stopEnds) - the paddle then returns to its rest line,
    // entering returnState.
    bool FollowThrough(double deceleration, double energyLoss, double distance, bool stopEnds,
                       int returnState);
    void StartSwing();
    // The stroke of a release: glow, charge sounds off, "paddleWhack.ogg" by power, a new
    // stroke picture and the stroke trail.
    void StartStroke(double speed);
    void StartChargeSounds();
    void StopChargeSounds();
    void PanChargeSounds();
    // The world integrates in single-precision sub-steps, so a paddle moved a whole number
    // of pixels stops a few millionths short; distances count as reached within this much.
    static constexpr double kDistanceTolerance = 1e-3;
    // Forward distance d reached: swingOffset <= -d.
    bool Reached(double distance) const { return m_SwingOffset <= -distance + kDistanceTolerance; }
    // Pulled back by d: swingOffset >= d.
    bool PulledBack(double distance) const
    {
        return m_SwingOffset >= distance - kDistanceTolerance;
    }

    // ---- Impacts (PaddleImpact.cpp) -----------------------------------------------------------
    void HitBall(ArcadeGameLogic* logic, Ball* ball, double x, double y, double nx, double ny,
                 double depth);
    void DeflectBall(Ball* ball, double x, double y);
    void WhackEffects(ArcadeGameLogic* logic, double power, double x, double y);
    void HitBlock(ArcadeStructure* block, double x, double y, double nx, double ny, double depth);
    void HitWall(ArcadeStructure* wall);

    // ---- Helpers (Paddle.cpp) ---------------------------------------------------------------
    void UpdateGlow();
    void StepWidth();
    void PlaceLabelAndFollowers();
    Actor* MakeLabel();
    ParticleEmitter* MakeEmitter(const std::string& resource);
    // The paddle's velocity (pixels per second); zero without a body.
    Vector2D GetVelocity() const;
    void SetVelocity(const Vector2D& velocity);

    bool m_Vertical;
    bool m_FacePositive;
    ActorGroup m_HeldBalls;
    int m_CatchCooldown = 0;
    bool m_SkipNextHitCount = false;

    int m_MoveAccumulator = 0;
    int m_CentreX = 0;
    int m_CentreY = 0;

    PaddleSwingParameters m_Swing;
    double m_SwingOffset = 0.0;
    double m_SwingSpeed = 0.0;
    double m_RestPosition = 0.0;
    double m_Power = 0.0;
    double m_BasePower = 0.0;
    double m_Charge = 0.0;
    int m_SwingState = SwingIdle;
    bool m_Released = false;
    int m_PowerDelayTicks = 0;
    bool m_SweetSpotHit = false;

    ActorGroup m_LabelGroup;
    int m_LabelOffsetX = 0;
    int m_LabelOffsetY = 0;
    Actor* m_Glow = nullptr;
    std::unique_ptr<Image> m_BaseGlowImage;
    std::unique_ptr<Image> m_StrokeImage;
    ParticleEmitter* m_StrokeTrail = nullptr;
    ParticleEmitter* m_EnergyEmitter = nullptr;
    Actor* m_LaserEmitter = nullptr;
    ActorGroup m_Followers;
    std::unique_ptr<Image> m_BaseImage;

    double m_Width = 64.0;
    double m_TargetWidth = 64.0;
    int m_SizeIndex = 3;
    std::vector<std::string> m_CaughtLoot;
    bool m_CatchEnabled = false;
    bool m_LaserEnabled = false;
    ActorLink<LaserBeam> m_LaserBeam;
    std::vector<std::string> m_Phrases;
};

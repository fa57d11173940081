#pragma once
// Brick: the play-field object that balls, explosions, sparks, lasers and the paddle
// strike. A brick has a strength (damage that breaks it; -1 indestructible by ordinary
// hits, -2 indestructible and never revealed), a material (its texture name, which also
// gives its colour and sounds), edge traits (steel, spring, weak, energy), and traits
// such as ball hoppers, trapped balls, explosives, healing, regeneration and phasing.
//
// Its picture is composed at run time from image resources chosen by texture, shape,
// variants, size and rotation, with one frame per damage stage, then decorated with edge
// strips, overlays and icons; composition results are cached and rebuilt only when an
// appearance setter drops the cache.
//
// Sources: Brick.cpp (state, construction, properties), BrickImage.cpp (the composition
// of the base image), BrickDecorations.cpp (edges, overlays, icons), BrickHits.cpp (hits,
// damage, destruction, per-tick behaviour), BrickHopper.cpp (ball hoppers and trapped
// balls). Main thread only.
#include "field/ArcadeStructure.h"
#include "geometry/Color.h"
#include "geometry/Poly.h"
#include "scene/ActorLink.h"

#include <list>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Actor;
class Ball;
class BufferedIdenticalParticleEmitter;
class Image;
class Particle;
class ParticleEmitter;
class Powerup;

// Edge mask bits of a rectangle, clockwise from the top.
enum BrickEdge : int {
    BRICK_EDGE_TOP = 1,
    BRICK_EDGE_RIGHT = 2,
    BRICK_EDGE_BOTTOM = 4,
    BRICK_EDGE_LEFT = 8
};

class Brick : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    // A 32 x 16 white brick of strength 1: category 2 (Brick), collide mask 257 (Ball and
    // LaserBeam/Explosion), crack variants {"1", "2"}, no power-ups.
    Brick();
    // The same, then the named resource applied.
    explicit Brick(const std::string& resourceName);
    // Deletes the trapped ball and the balls still held in hopper slots (they are off the
    // field while held, so nobody else owns them), kills a pending release timer and frees
    // the caches and emitters.
    ~Brick() override;

    // The level builder's construction entry: a brick of class Brick from a level's brick
    // entry (a table such as {resources = {...}, position = {x, y}, ...}). A bad entry
    // (unknown size or colour names, negative counts, a non-table edge value...) does not
    // end the level: the failure is logged naming the entry and key, and a placeholder
    // brick of the same position is returned. Never null; the caller owns the brick.
    static Brick* CreateFromEntry(const LuaPlus::LuaObject& entry, const std::string& entryName);

    // ---- Break-up particles ---------------------------------------------------------------
    // What a break-up emitter knows of its source: the impulse that broke it (pixels per
    // second) and the source actor's centre and current image (a reference, owned here).
    struct ChunkContext
    {
        float impulseX = 0.0f;
        float impulseY = 0.0f;
        Actor* source = nullptr;
        double centreX = 0.0;
        double centreY = 0.0;
        Image* image = nullptr;
        ~ChunkContext();
    };

    // The break-up emitter's particle factory (context: a ChunkContext): a particle of the
    // emitter's template showing one random chunk of the source's current image, placed
    // relative to the image's centre. Null when the source has no image.
    static Particle* CreateExplosionParticle(ParticleEmitter* emitter, void* context);
    // The chunk initialiser, run on each particle as it is handed out: it moves the chunk
    // to the source's centre and sends it outward, faster the farther it lies from the
    // centre, plus a fifth of the impulse, with some randomness.
    static void InitExplosionParticle(Particle* particle, void* context);
    // The clean-up of a break-up emitter: frees its ChunkContext.
    static void FreeExplosionContext(ParticleEmitter* emitter);

    // A break-up emitter from the named buffered emitter resource for source, with count
    // particles per emission buffered at once from image (null: source's current image),
    // placed on source's rectangle. The emitter owns its context; the caller starts it and
    // hands it on. Null without a particle manager.
    static BufferedIdenticalParticleEmitter* CreateExplosionEmitter(const std::string& resource,
                                                                    Actor* source, Image* image,
                                                                    double impulseX,
                                                                    double impulseY, int count);

    // ---- Data model ----------------------------------------------------------------------
    // nil -> 0; a number -> that mask; a table -> top 1, right 2, bottom 4, left 8 for each
    // key set true. Anything else raises a ValueTypeError.
    static int GetEdges(const LuaPlus::LuaObject& value);
    void SetStrength(int strength);
    int GetStrength() const { return m_Strength; }
    // The edges (BrickEdge bits) from which one hit breaks the brick, whatever its strength.
    int GetWeakEdges() const { return m_WeakEdges; }
    int GetDamage() const { return m_Damage; }
    int GetScore() const { return m_Score; }
    int GetDamageStages() const { return m_DamageStages; }
    // The damage frame for a damage value: 0 below the threshold or with one stage, else
    // (d - T) x (n - 1) / (S - T) + 1, at most the last stage (also when S equals T).
    int StageForDamage(int damage) const;
    void SetBrickSize(const std::string& name);
    // The most balls a hopper holds (a slot is made for each) and the most units of extra
    // loot a brick counts: a larger value from data is reported and held to it.
    static constexpr int MAX_HOPPER_SLOTS = 100;
    static constexpr int MAX_EXTRA_LOOT = 1000;
    // The largest strength and damage from data; a strength below -2 (-1: unbreakable, -2:
    // never revealed either) or a damage below 0 (-1 aside: the whole strength) is
    // reported and held too.
    static constexpr int MAX_STRENGTH = 1000000;
    void SetBallHopperSize(int count);
    void SetBallHopperSizeOnly(int count);
    void SetShowBallHopperSize(int count);
    void SetExplosivePower(int power);
    void SetShowExplosivePower(int power);
    void SetTrappedBall(const LuaPlus::LuaObject& params);
    Ball* GetTrappedBall() const { return m_TrappedBall; }
    bool IsNecessary() const { return m_Necessary && m_RegenerationCountdown == 0; }
    // Slots and occupied slots of the hopper.
    std::pair<int, int> CountTrappedBalls() const;
    int GetBallHopperRequirement() const { return m_BallHopperRequirement; }
    bool BlocksPaddle() const { return m_BlockPaddle; }
    bool IsInvisible() const { return m_Invisible; }
    bool IsGlass() const { return m_Glass; }
    const std::string& GetMaterial() const MAKO_LIFETIMEBOUND { return m_Material; }
    const Color& GetBrickColor() const MAKO_LIFETIMEBOUND { return m_BrickColor; }
    // Shifts the colour once by the pending colour and brightness variances.
    void ApplyColorVariance();

    // ---- Image composition (BrickImage.cpp, BrickDecorations.cpp) ------------------------
    virtual void CreateBrickImage();
    // Builds the image unless it is valid: the composed picture, or the placeholder when
    // the brick's parameters or pictures give none. Drawing does it when the brick first
    // shows; the level's letter does it for every brick before the brick drop.
    void BuildImage();
    void PickBaseImageParameters();
    void GetBevelParameters();
    void PickResolution();
    bool BevelImageExists(int resolution, int rotation, bool withShapeVariant) const;
    bool BaseImageExists(int resolution) const;
    // The picture before decorations: the texture cut to the bevelled shape, or the whole
    // block's picture; a brick with strength and one stage gets its crack stages.
    void BuildBaseImage(int width, int height);
    void BuildBevelledBase(int width, int height);
    // One frame a damage stage, the cracks drawn over the picture.
    void ApplyCracks(int width, int height);
    // The brick's own cracks, else the shared ones clipped to its shape; null when there
    // are none. Sets the damage stages to their frames.
    std::unique_ptr<Image> ScaledCrack(int width, int height);
    // A transparent strip of `stages` frames of width x height, the shape copied into each:
    // the mask that clips every frame of a picture to that shape.
    static std::unique_ptr<Image> StackedMask(Image* shape, int width, int height, int stages);
    void ApplyBevel();
    // The edges drawn into every frame (steel, cracks, grout) and the children that stand
    // out of the brick (springs, the phase marking); a bevelled brick is clipped to its
    // outline.
    void ApplyEdges(int w, int h, double xScale, double yScale);
    void DrawGrout(Image* image, int frame, int w, int h);
    void AddSpringEdges(int w, int h, double xScale, double yScale);
    // The phase marking fades in and out with the phases.
    void AddPhaseMarking(int w, int h, double xScale, double yScale);
    // Nothing paints outside the shape of a bevelled brick.
    void ClipToBevel(int w, int h);
    void ApplyOverlays(int w, int h);
    // The icons of what the brick holds, in a row across it (down it when turned a quarter).
    void ApplyIcons(int w, int h, double xScale, double yScale);
    // At most `slots` icons, scaled to fit `iconSize`: power-ups, the trapped ball,
    // explosives, the script's icons, the hopper's slots.
    std::vector<std::unique_ptr<Image>> CollectIcons(std::size_t slots, int iconSize);
    // A hopper slot's picture, with the ball it holds drawn in; the caller owns it.
    Image* HopperIcon(std::size_t slot);
    void PlaceIcons(const std::vector<std::unique_ptr<Image>>& icons, int w, int h, int iconSize,
                    bool quarter);
    // The resource names of the grammar (variants as held, with their leading ".").
    std::string TextureName() const;
    std::string BlockName(int resolution) const;
    std::string OutlineName(int resolution) const;
    std::string BevelName(int resolution, int rotation, bool withShapeVariant) const;
    // The entry of table nearest to target (ties to the earlier entry) among those the
    // test accepts; -1 when none does. Angles use the circular distance.
    static int NearestEntry(const std::vector<int>& table, int target, bool circular);
    // Drops the cached images (finished only, or both) and marks the image for rebuilding;
    // parameters also forgets the chosen resolution and bevel.
    void InvalidateImage(bool base, bool parameters = false);
    bool IsImageValid() const { return m_ImageValid; }
    bool IsBevelled() const { return m_BevelRotation != -1; }
    int GetResolution() const { return m_Resolution; }
    int GetBevelResolution() const { return m_BevelResolution; }
    int GetBevelRotation() const { return m_BevelRotation; }
    const std::string& GetVariant() const MAKO_LIFETIMEBOUND { return m_Variant; }
    const std::string& GetBevelVariant() const MAKO_LIFETIMEBOUND { return m_BevelVariant; }
    const std::string& GetCrackVariant() const MAKO_LIFETIMEBOUND { return m_CrackVariant; }
    // The brick shows the placeholder because its image could not be composed.
    bool ShowsPlaceholder() const { return m_ShowsPlaceholder; }

    // ---- Hits and destruction (BrickHits.cpp) --------------------------------------------
    // A contact with other, as the world reports it (solid: the contact got a physical
    // response). Explosions and sparks that call it themselves pass their damage as depth
    // with solid false; any other solid contact of theirs does 1 point.
    bool AcceptsCollision(CollisionOwner* other, double x, double y) override;
    void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                         double nx, double ny, double depth, bool solid) override;
    virtual void OnHit(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                       double nx, double ny, double depth, bool solid);
    void SetDamage(int damage, ArcadeStructure* destroyer, ArcadeGameLogic* logic, double x,
                   double y);
    void Destroy(ArcadeStructure* destroyer, ArcadeGameLogic* logic, double x, double y,
                 bool awardScore);
    virtual void Flash();
    bool IsRegenerating() const { return m_RegenerationCountdown != 0; }
    // The crash sound of the material (empty for none).
    std::string CrashSound() const;
    // The hit sound of the material for a ball (paddle false) or the paddle.
    std::string HitSound(bool paddle) const;
    // The paddle or structures that destroy/damage bricks go through the brick's rules.
    void DestroyedBy(ArcadeStructure* cause, ArcadeGameLogic* logic, double x, double y) override;
    void DamagedBy(ArcadeStructure* cause, ArcadeGameLogic* logic, double x, double y) override;

    // ---- Hoppers (BrickHopper.cpp) -------------------------------------------------------
    std::uint32_t StartReleaseTimer(ArcadeGameLogic* logic, double speed);
    virtual void Launch(ArcadeGameLogic* logic, double speed);
    bool OnTimer(const Event& event) override;
    // Puts the ball into the first free slot; false when every slot is full.
    bool CatchBall(Ball* ball, ArcadeGameLogic* logic);
    bool HoldsBall(const Ball* ball) const;
    // The ball in slot i; null when the slot is empty.
    Ball* SlotBall(std::size_t i) const;
    bool IsHopperFull() const;
    // The power-up spread of release i of m slots: ((i - m/2) / m) x 200, in floating
    // point, -100 .. 100.
    static double PowerupSpread(int i, int m);

    // ---- Power-ups (BrickPowerups.cpp) -----------------------------------------------------
    // The power-ups the brick releases, built from "powerups" by class name when none are
    // built yet (so the level's loot count, the image and the release see the same
    // objects). A name that is no power-up kind raises; a kind its data cannot make is
    // left out (CreateOfKind names it). The brick owns them until it releases them.
    std::vector<Powerup*> CreatePowerups();
    // Hands every power-up to the controller at (x, y) (the brick's centre 40 pixels higher
    // for the non-gold ones when the paddle broke it), moving as the destroying ball, or as
    // impulse, at most 300 fast, inside the play field, spread over distinct columns and
    // rows; only the first to make a sound is asked to. Releases once.
    void ReleasePowerups(ArcadeStructure* destroyer, ArcadeGameLogic* logic, double x, double y,
                         const Vector2D& impulse);
    // Counts the loot the brick carries: loot power-ups and their scores, the secret flag,
    // and extraLoot worth 250 each.
    void CountLoot();
    int GetLootCount() const { return m_LootCount; }
    int GetLootValue() const { return m_LootValue; }
    bool HasSecret() const { return m_HasSecret; }
    // Whether play can ever break it: a strength of 0 or more, or a weak edge (which breaks
    // even an indestructible brick).
    bool CanBreak() const { return m_Strength >= 0 || m_WeakEdges != 0; }

    // ---- Actor and structure -------------------------------------------------------------
    void Tick() override;
    void Kill() override;
    void Draw(Canvas& canvas) override;
    void UpdateGeometry() override;
    void SetRotation(double degrees) override;
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& brickClass);

    // Constants of the behaviour.
    static constexpr int kSoundCooldown = 8;
    static constexpr int kFlashTicks = 4;
    static constexpr int kPhaseChange = 60;

protected:
    friend struct BrickProperties;

    void SetTexture(const std::string& name, bool materialRules);
    void SetVariantMember(std::string& member, const char* property, const LuaPlus::LuaObject& v,
                          bool parameters);
    void SetPowerups(const LuaPlus::LuaObject& value);
    void SetPhases(const LuaPlus::LuaObject& value);
    void SetHeals(int ticks, bool show);
    void SetPolyScale(double factor);
    void SetTakeDamageOnCollision(const LuaPlus::LuaObject& value);
    void SetBlockPaddle(bool block);
    void SetNoBlockBall(bool noBlock);
    void UpdatePhaseInvisibility();
    // Whether a ball passes the brick at (x, y) (it breaks it and goes on through).
    bool AcceptsBall(Ball* ball, double x, double y);
    void HandleBallHit(Ball* ball, ArcadeGameLogic* logic, double x, double y, double nx, double ny,
                       int touched);
    void HandlePaddleHit(ArcadeStructure* paddle, ArcadeGameLogic* logic, double x, double y,
                         int touched);
    // A strong phase or a change between phases: the brick takes no damage.
    bool PhaseBlocks() const;
    void DestroyGroupMembers(int group, ArcadeStructure* destroyer, ArcadeGameLogic* logic);
    // The steps of Destroy. The push the destroyer gives the chunks and power-ups (an
    // explosion's also sets `effect`: at 1 or more the brick breaks silently and unseen).
    Vector2D PushFrom(ArcadeStructure& destroyer, const Vector2D& centre, double& effect);
    // The material's crash, with the key's chime, unless one sounded just before.
    void PlayCrashSounds();
    // The brick's charge goes off where it stood: a blast that spares the paddle, or a bolt
    // of lightning that forks to what lies around.
    void GoOff(ArcadeGameLogic* logic, const Vector2D& centre);
    void BreakIntoChunks(ArcadeGameLogic* logic, const Vector2D& impulse);
    // A regenerating brick takes its revival traits and waits out of play.
    void Revive(ArcadeGameLogic* logic, ArcadeStructure* destroyer, const Vector2D& centre);
    void PhaseTick();
    void ShowDamageFrame();
    // The steel, weak and spring hits on edge mask edges.
    bool Touches(int mask, int touched) const { return (mask & touched) != 0; }
    void PlayWithCooldown(const std::string& name);
    void StartEmitter(const char* resource);
    void DecorateFrames(int w, int h, double xScale, double yScale, Image* image, int stages);
    void ReleaseTrappedBall(ArcadeStructure* destroyer, ArcadeGameLogic* logic);
    static void DeleteHeldBall(Ball* ball);
    // Deletes the power-ups built and not released.
    void DeletePowerupObjects();
    static void TakeDamageOnCollisionHit(ArcadeGameLogic*, ArcadeStructure*, double, double, double,
                                         double, double, void*);

    // Appearance.
    Color m_BrickColor;
    std::string m_Material;
    int m_PendingColorVariance = 0;
    int m_PendingBrightnessVariance = 0;
    bool m_NoRotateTexture = false;
    int m_GroutEdges = 0;
    Color m_GroutColor;
    int m_ShowSteelEdges = 0;
    int m_ShowSpringEdges = 0;
    int m_ShowWeakEdges = 0;
    bool m_ShowBallEater = false;
    int m_ShowBallHopperSize = 0;
    bool m_ShowTrappedBall = false;
    bool m_ShowPowerup = false;
    bool m_ShowAnonymousPowerup = false;
    int m_ShowExplosivePower = 0;
    bool m_ShowHeals = false;
    bool m_ShowScore = false;
    bool m_Invisible = false;
    bool m_NoFlash = false;
    int m_FlashEdges = 0;
    Poly m_FlashPoly;

    // Strength, damage, score.
    int m_Strength = 1;
    bool m_NoScaleStrength = false;
    int m_Damage = 0;
    int m_DamageThreshold = 1;
    int m_HitMotionRequiresDamage = 0;
    int m_Score = 1;
    int m_ScoreOnEdges = 0;
    bool m_Necessary = false;
    int m_DestroyGroup = -1;
    int m_DamageStages = 1;
    BehaviourListPtr m_TakeDamageFrom; // null: none

    // Materials, edges, blocking.
    bool m_Glass = false;
    bool m_Bush = false;
    bool m_Key = false;
    int m_SteelEdges = 0;
    int m_SpringEdges = 0;
    int m_WeakEdges = 0;
    int m_EnergyEdges = 0;
    int m_AddEnergy = 0;
    bool m_BlockPaddle = false;
    bool m_NoBlockBall = false;
    bool m_LightningProof = false;
    bool m_BombProof = false;

    // Traits.
    bool m_BallEater = false;
    int m_BallHopperSize = 0;
    int m_BallHopperRequirement = 3;
    bool m_BallHopperInPlace = true;
    float m_BallHopperError = 10.0f;
    float m_ReleaseBallTimerLength = 1.0f;
    int m_ExplosivePower = 0;
    int m_ExplosiveRadius = 0;
    bool m_ExplodeAsLightning = false;
    int m_Heals = 0;
    bool m_HealsSilently = false;
    int m_Regenerates = 0;
    bool m_PhaseStrong = false;
    int m_PhaseProgress = 0;
    int m_StageProgress = 0;
    bool m_PhaseToInvisible = false;
    int m_PhaseStrongTicks = 0;
    int m_PhaseWeakTicks = 0;
    LuaPlus::LuaObject m_Powerups;
    bool m_PowerupIsLoot = false;
    int m_ExtraLoot = 0;
    // Built from m_Powerups; owned until released.
    std::vector<Powerup*> m_PowerupObjects;
    int m_LootCount = 0;
    int m_LootValue = 0;
    bool m_HasSecret = false;

    // Behaviour state.
    // One link per slot: a ball killed while held (say when the level clears its balls)
    // leaves its slot by itself.
    std::vector<std::unique_ptr<ActorLink<Ball>>> m_HopperSlots;
    std::uint32_t m_ReleaseTimer = 0;
    double m_ReleaseSpeed = 0;
    Ball* m_TrappedBall = nullptr;
    int m_HealCountdown = 0;
    int m_RegenerationCountdown = 0;
    bool m_PaddleHitThisTick = false;
    const Ball* m_LastBall = nullptr;
    ActorLink<Actor> m_FlashActor;
    int m_FlashCountdown = 0;
    int m_HitSoundCooldown = 0;
    int m_CrashSoundCooldown = 0;
    unsigned m_SavedCollideBits = 0;
    bool m_Destroying = false;

    // Image composition.
    std::string m_Variant;
    std::string m_ShapeVariant;
    std::string m_BevelVariant;
    std::string m_CrackVariant;
    int m_Resolution = -1;
    int m_BevelResolution = -1;
    int m_BevelRotation = -1;
    bool m_ImageParametersPicked = false;
    std::unique_ptr<Image> m_BaseImage;
    std::unique_ptr<Image> m_FinishedImage;
    bool m_ImageValid = false;
    bool m_ShowsPlaceholder = false;
    int m_RotationStep = 0; // whole degrees / 15 at the last tick, for bevel rebuilds
};

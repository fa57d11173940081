#pragma once
// ArcadeStructure: the solid play-field object. An ArcadeActor with a shape (rectangle,
// circle or polygon), a rotation, collision categories and a collide mask, contact
// settings, and three lists of callbacks (hit, destroyed, moved). It builds its geometry
// and body from these settings, answers questions about its edges, and reacts to
// collisions through behaviour sets of class names: whom it destroys or damages, what
// kills it, which collisions move it and which make its collision sound. Every solid thing
// of the game (balls, bricks, walls, the paddle, power-ups, colliders...) derives from it.
//
// A structure owns up to two motions ("motion", running all the time once it is in a world,
// and "hitMotion", started by collisions) and is their target: it updates both once per
// tick of 32 ms and turns their summed step into its body's velocity and its rotation.
//
// Units: pixels of the 640 x 480 field, y downwards; rotations in degrees; velocities in
// pixels per second. A structure is made from a Lua table (ArcadeStructureProperties.cpp),
// put into a world by UpdatePhysics, ticked once per frame, told of its contacts by
// HandleCollision (OnWorldContact is the collision callback that does so), and ends by
// Kill and the deferred deletion of actors. Main thread only.
#include "field/ArcadeActor.h"
#include "geometry/Poly.h"
#include "physics/ContactRecord.h"
#include "scene/ActorGroup.h"
#include "scene/Motion.h"
#include "scene/MotionTarget.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class ArcadeGameLogic;
class Factory;

enum StructureShape : int {
    STRUCTURE_SHAPE_RECTANGLE = 0,
    STRUCTURE_SHAPE_CIRCLE = 1,
    STRUCTURE_SHAPE_TRIMESH = 2,
    STRUCTURE_SHAPE_NONE = 4,
};

class ArcadeStructure : public ArcadeActor, public MotionTarget
{
    MAKO_DECLARE_CLASS();

public:
    // (controller, other structure, contact point x, y, normal x, y, depth, context). The
    // destroyed callbacks take the same form, called with a null other and zeros.
    using HitCallback = void (*)(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                                 double nx, double ny, double depth, void* context);
    using MovedCallback = void (*)(ArcadeStructure* structure, void* context);
    using NameSet = std::unordered_set<std::string>;

    // The behaviour sets, in the order of their properties.
    enum Behaviour {
        DESTROY_ON_COLLISION,
        DIE_ON_COLLISION,
        TAKE_DAMAGE_ON_COLLISION,
        DAMAGE_ON_COLLISION,
        MOVE_ON_COLLISION,
        SOUND_ON_COLLISION,
        BEHAVIOUR_COUNT
    };

    // Units of a temporary soft period and its softness (StartSoftPeriod).
    static constexpr int kSoftPeriod = 30;
    static constexpr double kSoftPeriodSoftness = 0.997;

    ArcadeStructure();
    // Deletes the geometry and body (ArcadeActor) and the children.
    ~ArcadeStructure() override;

    // The collision category bit of a class name as behaviour sets name it: the field's
    // categories (physics/CollisionCategory.h), and 256 for LaserBeam and Explosion; 0 for
    // any other name.
    static unsigned CategoryBitOf(const std::string& className);

    // The world's collision callback for a level (context: the ArcadeGameLogic, may be
    // null). Contacts whose two owners are not both structures are skipped; otherwise the
    // first owner's HandleCollision gets the contact and then the second's with the normal
    // reversed; solid says whether the contact got a physical response. Always false, so
    // every contact of the sub-step is reported.
    static bool OnWorldContact(PhysicsGeom* geom1, PhysicsGeom* geom2, const ContactData* contact,
                               void* context);

    // ---- Shape ---------------------------------------------------------------------------
    // A rectangle; radius half its smaller side; unless physicsOnly the actor takes its size.
    void SetRectangle(double width, double height, bool physicsOnly);
    // A circle; the actor becomes 2 x radius square.
    void SetCircle(double radius);
    // A polygon in local coordinates whose bounding box starts at (0, 0); the box gives
    // the shape's and the actor's size, radius half its larger side.
    void SetPolygon(const Poly& polygon);
    StructureShape GetShape() const { return m_Shape; }
    double GetRadius() const { return m_Radius; }
    double GetShapeWidth() const { return m_ShapeWidth; }
    double GetShapeHeight() const { return m_ShapeHeight; }
    const Poly& GetPolygon() const MAKO_LIFETIMEBOUND { return m_Polygon; }
    const std::string& GetShapeName() const MAKO_LIFETIMEBOUND { return m_ShapeName; }
    void SetShapeName(const std::string& name) { m_ShapeName = name; }
    double GetRotation() const { return m_Rotation; }
    // Turns the structure: the image by -degrees, the geometry by degrees. The turn is kept
    // within one whole turn either way (390 turns by 30); NaN and the infinities by 0.
    virtual void SetRotation(double degrees);

    // ---- Collision setup ---------------------------------------------------------------
    unsigned GetCategoryBits() const { return m_CategoryBits; }
    unsigned GetCollideBits() const { return m_CollideBits; }
    void SetCategoryBits(unsigned bits);
    void SetCollideBits(unsigned bits);
    bool IsMovable() const { return m_Movable; }
    // Switching it on while a geometry exists rebuilds the geometry (with a body).
    void SetMovable(bool movable);
    void SetSoftness(double softness);
    // Contacts become soft (kSoftPeriodSoftness) for kSoftPeriod units: each tick takes 10
    // away, and a tick in which the structure touched anything adds 1, however many contacts
    // the physics sub-steps of the tick made; so a period ends within four ticks even in
    // lasting contact. Contacts with a never-soft structure (walls) stay hard throughout.
    void StartSoftPeriod();
    bool InSoftPeriod() const { return m_SoftTicks > 0; }
    void SetImmobileCollisions(bool immobile);
    int GetBounciness() const { return m_Bounciness; }
    void SetBounciness(int bounciness) { m_Bounciness = bounciness; }

    // Derives the collide bits (and movability) from the behaviour sets, then puts the
    // structure into the world with a new geometry.
    void UpdatePhysics(World* world) override;
    // Rebuilds the geometry (and body when movable) from the shape and the physics
    // settings at the current centre. Nothing while the structure is in no world.
    virtual void UpdateGeometry();
    World* GetWorld() const { return m_World; }

    // ---- Collisions and callbacks ------------------------------------------------------
    // One contact with other: both actors follow their geometries, the hit motion starts
    // when moveOnCollision is empty or matches other, then the hit callbacks run in order
    // (solid is not passed on) and a running soft period grows by 1.
    virtual void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                                 double nx, double ny, double depth, bool solid);
    virtual void AddHitCallback(HitCallback callback, void* context);
    virtual void RemoveHitCallback(HitCallback callback, void* context);
    virtual void AddDestroyedCallback(HitCallback callback, void* context);
    virtual void RemoveDestroyedCallback(HitCallback callback, void* context);
    virtual void AddMovedCallback(MovedCallback callback, void* context);
    virtual void RemoveMovedCallback(MovedCallback callback, void* context);
    // Runs the moved callbacks in order, as a move by the structure's own motion does (for
    // logic that moves the structure from outside).
    void RunMovedCallbacks();
    std::size_t GetHitCallbackCount() const { return m_HitCallbacks.size(); }

    // A behaviour's class names as one property gave them, checked and converted once and
    // never changed after: the objects made from one table share one list.
    struct BehaviourList
    {
        std::vector<std::string> names; // in the order given, for reading back
        NameSet set;
        unsigned collideBits = 0; // the collision categories the names stand for
        bool movable = false;     // whether a name makes the structure movable
    };
    using BehaviourListPtr = std::shared_ptr<const BehaviourList>;
    static BehaviourListPtr MakeBehaviourList(Behaviour which, std::vector<std::string> names);
    // The list a table of class names gives the behaviour, read, sorted by key and converted
    // once for all the objects made from that table within the open WorkMeter's scope.
    // Raises a ValueTypeError for a value that is no table or an entry that is no name.
    static BehaviourListPtr ReadBehaviourList(Behaviour which, const LuaPlus::LuaObject& value);

    const NameSet& GetBehaviourSet(Behaviour which) const MAKO_LIFETIMEBOUND;
    const std::vector<std::string>& GetBehaviourNames(Behaviour which) const MAKO_LIFETIMEBOUND;
    // Replaces a behaviour set with the names given (or the list) and installs its hit
    // callback (once per set, however often the set is replaced).
    void SetBehaviourSet(Behaviour which, const std::vector<std::string>& names);
    void SetBehaviourList(Behaviour which, BehaviourListPtr list);
    // Whether the set holds other's class name, or else the name other stands for in
    // behaviour sets (GetBehaviourAlias).
    bool BehaviourMatches(Behaviour which, const ArcadeStructure& other) const;
    // The name that a structure stands for in behaviour sets besides its class name
    // ("ActiveBall" for an active ball, "DangerousWall" for a dangerous wall); none here.
    virtual const char* GetBehaviourAlias() const { return nullptr; }
    const std::string& GetCollisionSound() const MAKO_LIFETIMEBOUND { return m_CollisionSound; }

    // Adds a trail emitter made from the named emitter resource, centred on the structure,
    // as a child and a member of the trail group. The emitter is not started and has no
    // particle manager: the owner gives it one when it starts its trails.
    void AddTrailEmitter(const std::string& resourceName);
    ActorGroup& GetTrailGroup() MAKO_LIFETIMEBOUND { return m_TrailGroup; }

    // What a structure does when a structure that destroys it (destroyOnCollision) or one
    // that damages it (damageOnCollision) touches it at (x, y): here it is killed and the
    // controller checks for the end of the level. Bricks, drop targets and the paddle take
    // hits their own way.
    virtual void DestroyedBy(ArcadeStructure* cause, ArcadeGameLogic* logic, double x, double y);
    virtual void DamagedBy(ArcadeStructure* cause, ArcadeGameLogic* logic, double x, double y);
    // The damage this structure deals at the point (x, y) of the field when it strikes
    // another by calling the other's HandleCollision itself, as explosions and sparks do; 0
    // for structures that strike only through the world's contacts. A struck structure
    // reads it from the other party of the collision.
    virtual int GetStrikeDamage(double x, double y) const { return 0; }

    // ---- Motions -----------------------------------------------------------------------
    // Takes the motion over (null removes the current one), makes itself its target and
    // becomes movable; the motion starts at once when the structure has a body, else when
    // it is put into a world. A replaced motion is stopped and deleted (after the update or
    // contact that replaced it, when it was replaced from inside one).
    void SetMotion(std::unique_ptr<Motion> motion);
    // The same for the hit motion, which starts only on a collision (HandleCollision).
    void SetHitMotion(std::unique_ptr<Motion> motion);
    Motion* GetMotion() const MAKO_LIFETIMEBOUND { return m_Motion.get(); }
    Motion* GetHitMotion() const MAKO_LIFETIMEBOUND { return m_HitMotion.get(); }

    // MotionTarget: what the motions read and change of the structure.
    PhysicsGeom* GetMotionGeom() const override { return m_Geom; }
    // SetMovable(true).
    void MakeMovable() override;
    void AddCollideBits(std::uint32_t bits) override;
    // The velocity the motions gave the body in the last tick, pixels per second.
    Point<double> GetMotionVelocity() const override { return m_MotionVelocity; }
    void SetMotionVelocity(const Point<double>& velocity) override { m_MotionVelocity = velocity; }
    // Motion hit callbacks share the hit-callback list (and its order) with the others.
    void AddMotionHitCallback(MotionHitCallback callback, void* argument) override;
    void RemoveMotionHitCallback(MotionHitCallback callback, void* argument) override;
    // The class name, and GetBehaviourAlias (empty without one).
    std::string GetStopClassName() const override;
    std::string GetStopClassAlias() const override;
    // The running controller's actor of that name when it is a structure with a geometry.
    MotionTarget* FindFieldTarget(const std::string& name) const override;
    // The running controller checks for the end of the level at the structure's centre.
    void OnMotionPropertiesApplied() override;

    // ---- Edges and outline -------------------------------------------------------------
    // Rectangle 4, circle 1, polygon its number of edges, no shape 0.
    int GetNumEdges() const override;
    // The outward unit normal of the edge named by the lowest set bit of the mask, in the
    // play field's frame (turned by the rotation); for a circle the direction from the
    // centre to (x, y). An edge the shape does not have fails an assertion.
    Vector2D NormalAtEdge(EdgeMask edgeMask, double x, double y) const override;
    // The edges that pass within reach of the point (x, y) of the play field: a rectangle
    // side within 1 pixel, a polygon edge within 0.5 pixel; a circle always answers 1. A
    // corner of a rectangle names its two sides (top-right: 1 | 2).
    virtual EdgeMask WhichSides(double x, double y) const;
    // The shape's outline on the play field (turned, placed at the actor's centre).
    virtual Poly GetOutline() const;
    // Smallest or largest x of the outline on the horizontal line at y; smallest or
    // largest y on the vertical line at x. Meant for lines that cross the structure.
    virtual double GetMinXAtY(double y) const;
    virtual double GetMaxXAtY(double y) const;
    virtual double GetMinYAtX(double x) const;
    virtual double GetMaxYAtX(double x) const;

    // ---- Actor -------------------------------------------------------------------------
    // Actor tick; while the geometry is enabled the motions are updated and their step
    // becomes the body's velocity (UpdateMotions); a structure with a body follows its
    // geometry; then the moved callbacks while it moves, the motions' turn is added to the
    // rotation, and the soft period wears off by 10 units.
    void Tick() override;
    // Disables the geometry and body, kills the actor and runs the destroyed callbacks,
    // all once: killing a dead structure does nothing.
    void Kill() override;
    // An unturned (or half-turned) rectangle tests the actor's rectangle; any other shape
    // its outline.
    bool Intersects(const Point<int>& point, const Point<int>& size) override;

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& structureClass);
    // The number a "polyScale" value holds; raises ApplyPropertyError naming the key when it
    // is not a finite number above 0 and at most MAX_POLY_SCALE (the physics would refuse
    // the shape it makes). One above 0 and below MIN_POLY_SCALE is held to MIN_POLY_SCALE
    // and said where the structure is made (its level's entry), through core/DataRange.
    static double ReadPolyScale(const LuaPlus::LuaObject& value);
    static constexpr double MAX_POLY_SCALE = 64.0;
    // The least scale that leaves the smallest picture of a brick (an edge of 8 pixels) a
    // pixel: below it a brick's picture and shape shrink to nothing.
    static constexpr double MIN_POLY_SCALE = 0.125;
    // The largest size of a "rectangle" or "circle" and the farthest corner of a "polygon"
    // from its origin; a shape past it, of a size not above 0 or of fewer than three
    // corners raises ApplyPropertyError naming the key (the physics would refuse it).
    static constexpr double MAX_SHAPE_SIZE = 100000.0;

    // ---- Factories -----------------------------------------------------------------------
    // The factories the "factories" property made (each entry a table made by class name,
    // which must be a Factory). The structure owns them, attaches them when it enters a
    // world and ticks them while its geometry is enabled.
    const std::vector<std::unique_ptr<Factory>>& GetFactories() const MAKO_LIFETIMEBOUND
    {
        return m_Factories;
    }

protected:
    // A contact during a soft period: the first of the tick adds 1 to the period's count.
    void CountSoftContact();
    // The centre of the structure in the field: the geometry's place, else the actor's.
    Vector2D GetCentre() const;
    // The point (x, y) of the field in the shape's own unturned frame, whose bounding box
    // starts at (0, 0).
    Vector2D ToShapeFrame(double x, double y) const;
    // The crossings of the outline with a line (horizontal at y when horizontal, else
    // vertical at x), ascending.
    std::vector<double> OutlineCrossings(double at, bool horizontal) const;
    double RectangleExtent(double at, bool horizontal, bool maximum) const;
    double CircleExtent(double at, bool horizontal, bool maximum) const;

    void ApplyBehaviourProperty(Behaviour which, const std::string& name,
                                const LuaPlus::LuaObject& value);
    void ApplyPolyScale(double scale);
    void ApplyBounciness(const LuaPlus::LuaObject& value);
    void ApplyTrailEmitter(const LuaPlus::LuaObject& value);
    // "motion" or "hitMotion": nil or an empty table removes it, any other table is made
    // into the motion.
    void ApplyMotionProperty(const std::string& name, const LuaPlus::LuaObject& value);
    // "factories": replaces the factories with those the table's entries make.
    void ApplyFactories(const LuaPlus::LuaObject& value);
    const char* BouncinessName() const;

    // The hit callbacks that carry out the behaviour sets (context: the structure).
    static void DestroyOnCollisionHit(ArcadeGameLogic*, ArcadeStructure*, double, double, double,
                                      double, double, void*);
    static void DieOnCollisionHit(ArcadeGameLogic*, ArcadeStructure*, double, double, double,
                                  double, double, void*);
    static void TakeDamageOnCollisionHit(ArcadeGameLogic*, ArcadeStructure*, double, double, double,
                                         double, double, void*);
    static void DamageOnCollisionHit(ArcadeGameLogic*, ArcadeStructure*, double, double, double,
                                     double, double, void*);
    static void SoundOnCollisionHit(ArcadeGameLogic*, ArcadeStructure*, double, double, double,
                                    double, double, void*);
    // The destroyed callback UpdatePhysics installs: checks for the end of the level when
    // another structure caused the destruction.
    static void CheckLevelEndOnDestroyed(ArcadeGameLogic*, ArcadeStructure*, double, double, double,
                                         double, double, void*);
    static HitCallback BehaviourCallback(Behaviour which);

    World* m_World = nullptr;
    double m_Rotation = 0.0;
    StructureShape m_Shape = STRUCTURE_SHAPE_NONE;
    bool m_Movable = false;
    bool m_PreventRotation = false;
    int m_Bounciness = 1; // PhysicsGeom::BounceNeutral
    bool m_ImmobileCollisions = false;
    bool m_HasFriction = false;
    bool m_NeverSoft = false;
    float m_BounceStrength = 1.0f;
    double m_Softness = 0.0;
    int m_SoftTicks = 0;
    // The soft period's count has taken this tick's contact (CountSoftContact).
    bool m_SoftContactCounted = false;
    unsigned m_CategoryBits = 0;
    unsigned m_CollideBits = 0;
    double m_Radius = 0.0;
    double m_ShapeWidth = 0.0;
    double m_ShapeHeight = 0.0;
    Poly m_Polygon;
    std::string m_ShapeName;
    std::vector<std::pair<HitCallback, void*>> m_HitCallbacks;
    std::vector<std::pair<HitCallback, void*>> m_DestroyedCallbacks;
    std::vector<std::pair<MovedCallback, void*>> m_MovedCallbacks;
    // Null: no names.
    BehaviourListPtr m_Behaviour[BEHAVIOUR_COUNT];
    std::string m_CollisionSound;
    ActorGroup m_TrailGroup;
    // A collision sound was started during the current tick.
    bool m_SoundPlayed = false;
    std::vector<std::unique_ptr<Factory>> m_Factories;

private:
    // A motion hit callback as an entry of the hit-callback list; dead once removed.
    struct MotionHook
    {
        MotionHitCallback callback;
        void* argument;
        ArcadeStructure* owner;
        bool live;
    };
    static void MotionHookHit(ArcadeGameLogic*, ArcadeStructure* other, double x, double y,
                              double nx, double ny, double depth, void* hook);
    void ReplaceMotion(std::unique_ptr<Motion>& slot, std::unique_ptr<Motion> motion);
    // Updates the motions once and gives the body the change of their velocity; the summed
    // step. Without motions the velocity they gave last is taken back.
    MotionStep UpdateMotions();
    // Deletes replaced motions and removed hooks unless a motion update or a contact is
    // under way.
    void FlushRetired();

    std::unique_ptr<Motion> m_Motion;
    std::unique_ptr<Motion> m_HitMotion;
    Point<double> m_MotionVelocity;
    std::vector<std::unique_ptr<MotionHook>> m_MotionHooks;
    std::vector<std::unique_ptr<MotionHook>> m_RetiredHooks;
    std::vector<std::unique_ptr<Motion>> m_RetiredMotions;
    int m_MotionBusy = 0; // nesting of motion updates and contacts under way
};

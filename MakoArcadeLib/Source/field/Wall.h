#pragma once
// Wall: a fixed rectangle that bounds the play field on one side. An ordinary wall makes
// balls bounce; a dangerous wall (lava) destroys what falls into it: free balls and
// power-ups are lost, goobers and bricks that touch it splash. A wall may also draw falling
// power-ups towards itself (read by the power-up's motion).
//
// A wall is made from the resource table of its name (Wall.lua): the table gives its
// rectangle (usually far larger than what is seen), a colour and an optional "child"
// table, from which the actor carrying the visible image ("imageChild") is built. The
// dangerous form of a wall is the table of its name + "Dangerous"; SetDangerous switches
// between them, and a "variant" picks another image for the ordinary form.
//
// Contacts: walls seek none (collide mask 0); other objects collide with them. Each wall
// plays at most one sound and starts at most one splash per object and tick, however often
// the object touches it within the tick's sub-steps. Main thread only.
#include "field/ArcadeStructure.h"

#include <string>
#include <unordered_set>

class Ball;

class Wall : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    // The wall of that name: the named resource applied, its image child built. The
    // class registry's walls are named "unknownWall" and start from no resource.
    explicit Wall(const std::string& name);

    // Applies the table wallName + "Dangerous" (on) or wallName (off) and rebuilds the
    // image child from it; in a world, the geometry follows the new rectangle. A wall the
    // registry made keeps only the flag until its wallName is set.
    virtual void SetDangerous(bool on);
    // Shows wallName + variant + ".png" on the image child (else on the wall) when the
    // resources hold that image; nothing for a dangerous wall.
    virtual void UpdateVariantImage();

    bool IsDangerous() const { return m_Dangerous; }
    bool AttractsPowerups() const { return m_AttractPowerups; }
    void SetAttractPowerups(bool attract) { m_AttractPowerups = attract; }
    const std::string& GetWallName() const MAKO_LIFETIMEBOUND { return m_WallName; }
    // The variant with its leading "." ("" for none).
    const std::string& GetVariant() const MAKO_LIFETIMEBOUND { return m_Variant; }
    // The actor showing the wall's image; null when the table has no child.
    Actor* GetImageChild() const { return GetChild("imageChild", false); }

    // A rectangle of the actor's size, category Wall, collide mask 0, never soft; the
    // geometry stays enabled wherever the wall lies (also above the field).
    void UpdatePhysics(World* world) override;
    // Goobers, colliders, paddles, bricks and drop targets pass; so does a ball held by a
    // paddle. Free balls and power-ups are stopped.
    bool AcceptsCollision(CollisionOwner* other, double x, double y) override;
    void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                         double nx, double ny, double depth, bool solid) override;
    // "DangerousWall" while dangerous.
    const char* GetBehaviourAlias() const override
    {
        return m_Dangerous ? "DangerousWall" : nullptr;
    }
    // Forgets which objects it has sounded for in the tick that ends.
    void Tick() override;

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& wallClass);

    // The stereo pan of a contact at x: the field's width of 640 maps to -100 ... 100.
    static int PanAt(double x);

private:
    // Applies the resource table of that name and builds the image child it describes; a
    // child its data cannot make is named once (ObjectBoundary) and the wall goes without.
    void ApplyWallResource(const std::string& resourceName);
    // The dangerous wall's reaction to a free ball: lost, with sound and splash.
    void LoseBall(ArcadeGameLogic* logic, Ball* ball, double x, double y, int pan);
    // Plays the sound once with the pan (Sound::SetPan, then played).
    static void PlayPanned(const std::string& sound, int pan);
    // Starts the named lava splash centred on (x, y); a plain emitter with the default
    // factory when plain, else an identical-particle emitter. Nothing without a particle
    // manager or a controller.
    static void StartSplash(ArcadeGameLogic* logic, const std::string& emitter, double x, double y,
                            bool plain);
    // True the first time the object touches the wall in the current tick.
    bool FirstTouchThisTick(const ArcadeStructure* other);

    bool m_Dangerous = false;
    bool m_AttractPowerups = false;
    std::string m_WallName;
    std::string m_Variant;
    // A "variant" was set: the ordinary form shows it again after a dangerous spell.
    bool m_HasVariant = false;
    // The "child" entry of the table being applied (nil, false or a table).
    LuaPlus::LuaObject m_ChildTable;
    // Objects that touched the wall in the current tick (compared, never dereferenced).
    std::unordered_set<const ArcadeStructure*> m_TouchedThisTick;
};

#pragma once
// Collider: a short-lived sensor on the play field. A structure placed at a point with a
// shape that reports every structure it touches to one callback and is killed after a
// number of ticks. Everything passes through it except the classes named solid, so it
// normally pushes nothing. Explosions and sparks use colliders to find what they reach.
//
// Users set the place, the shape, the lifetime, the collide bits and the callbacks, then
// put the collider into the world once (CreateInWorld). Main thread only.
#include "field/ArcadeStructure.h"

#include <string>
#include <unordered_set>

class Collider : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    // (controller, this collider, the structure touched, contact point x, y, context).
    using CollisionProc = void (*)(ArcadeGameLogic* logic, Collider* collider,
                                   ArcadeStructure* other, double x, double y, void* context);
    // Called with the collider when it is destroyed.
    using DestroyProc = void (*)(Collider* collider);

    // No categories, no collide bits, movable.
    Collider();
    // Calls the destroy callback, when set.
    ~Collider() override;

    // Where the collider goes in the world; fails once it is there.
    void SetPosition(double x, double y);
    // Ticks the collider lives: it is killed on tick lifetime + 2.
    void SetLifetime(int ticks) { m_Lifetime = ticks; }
    void SetCollisionCallback(CollisionProc proc, void* context);
    void SetDestroyCallback(DestroyProc proc) { m_DestroyProc = proc; }
    // Contacts with structures of this class get a physical response.
    void AddSolidClass(const std::string& className) { m_SolidClasses.insert(className); }

    // Puts the collider into the world at its place. Fails when it is there already or
    // has no collision callback.
    void CreateInWorld(World* world);
    bool IsAdded() const { return m_Added; }
    int GetTicks() const { return m_Ticks; }

    // False for the solid classes, true for everything else.
    bool AcceptsCollision(CollisionOwner* other, double x, double y) override;
    // Reports the contact to the collision callback; no hit callbacks run.
    void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                         double nx, double ny, double depth, bool solid) override;
    // Counts the tick; past the lifetime the collider stops colliding and is killed.
    void Tick() override;

private:
    void* m_Context = nullptr;
    CollisionProc m_CollisionProc = nullptr;
    DestroyProc m_DestroyProc = nullptr;
    int m_Lifetime = 0;
    int m_Ticks = 0;
    double m_PlaceX = 0.0;
    double m_PlaceY = 0.0;
    bool m_Added = false;
    std::unordered_set<std::string> m_SolidClasses;
};

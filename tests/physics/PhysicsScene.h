#pragma once
// Small play-field scenes for the physics tests: owners that answer the world's
// questions the way the play-field objects do, and helpers that build walls, bricks,
// balls and polygons in a World.
#include "core/Exception.h"
#include "core/FramePeriod.h"
#include "geometry/Poly.h"
#include "physics/CollisionOwner.h"
#include "physics/EdgeNormal.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "physics/PhysicsMass.h"
#include "physics/TriMeshData.h"
#include "physics/World.h"

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace physics_test {

// An owner of one geometry. It lets contacts pass when `accepts` is set, counts how often
// it was asked and runs `onAsked` (when set) each time. Boxes and polygons report their
// edges (outward normals in the play field's frame); spheres report none.
class Thing final : public CollisionOwner
{
public:
    enum Shape { BOX, SPHERE, POLYGON };

    Thing(Shape shape, PhysicsGeom* geom) : m_Shape(shape), geom(geom) { geom->SetOwner(this); }
    ~Thing() { delete geom; }

    bool AcceptsCollision(CollisionOwner* other, double x, double y) override
    {
        ++asked;
        const bool answer = accepts;
        if (onAsked) {
            // A copy: the function may delete this Thing.
            const std::function<void()> run = onAsked;
            run();
        }
        return answer;
    }

    int GetNumEdges() const override
    {
        if (m_Shape == BOX)
            return 4;
        if (m_Shape == POLYGON)
            return int(polygon.GetNumEdges());
        return 0;
    }

    Vector2D NormalAtEdge(EdgeMask mask, double x, double y) const override
    {
        int i = 0;
        while (!(mask & (EdgeMask(1) << i)))
            ++i;
        const Vector2D local = m_Shape == BOX
                                   ? BoxEdgeNormal(i)
                                   : PolygonEdgeNormal(polygon.GetEdges()[i]) * outwardSign;
        return geom->ToWorldDirection(local);
    }

    PhysicsBody* Body() const { return geom->GetBody(); }

    Shape m_Shape;
    PhysicsGeom* geom;
    bool accepts = false;
    int asked = 0;
    std::function<void()> onAsked;
    // Broken (deleted) by a ball that touches it, in scenes that break bricks.
    bool breakable = false;
    Poly polygon;
    // +1 when the edge direction turned by +90 degrees points out of the polygon.
    double outwardSign = 1.0;
};

// Reads configuration values from a map; a missing key reads as nothing.
inline WorldConfigReader ConfigOf(std::map<std::string, double> values)
{
    return [values](const std::string& key) -> std::optional<double> {
        auto it = values.find(key);
        if (it == values.end())
            return std::nullopt;
        return it->second;
    };
}

// The values the game ships: the constant file's CFM and ERP, 20 sub-steps.
inline WorldConfigReader GameConfig()
{
    return ConfigOf({{"GlobalCFM", 0.0000001}, {"GlobalERP", 0.8}, {"CollisionIterations", 20}});
}

// A static box centred on (x, y), shrunk by 0.01 as the play-field structures build it.
inline std::unique_ptr<Thing> MakeBrick(World& world, double x, double y, double w, double h)
{
    auto thing =
        std::make_unique<Thing>(Thing::BOX, world.CreateBox(float(w - 0.01), float(h - 0.01)));
    thing->geom->SetPosition(x, y);
    return thing;
}

// A moving sphere with a body of density 1 and locked rotation.
inline std::unique_ptr<Thing> MakeBall(World& world, double x, double y, double radius, double vx,
                                       double vy)
{
    auto thing = std::make_unique<Thing>(Thing::SPHERE, world.CreateSphere(float(radius - 0.01)));
    PhysicsBody* body = new PhysicsBody(&world);
    PhysicsMass mass;
    mass.SetSphere(1.0, radius);
    body->SetMass(mass);
    thing->geom->SetBody(body);
    body->LockRotation();
    thing->geom->SetPosition(x, y);
    body->SetLinearVel(vx, vy);
    return thing;
}

// A regular polygon of `sides` vertices around the origin, counter-clockwise in a y-up
// frame unless `reversed`.
inline Poly RegularPolygon(int sides, double radius, bool reversed)
{
    std::vector<Point2f> vertices;
    for (int i = 0; i < sides; ++i) {
        const int k = reversed ? sides - 1 - i : i;
        const double a = 2.0 * M_PI * k / sides;
        vertices.emplace_back(float(radius * std::cos(a)), float(radius * std::sin(a)));
    }
    Poly poly;
    poly.SetVertices(vertices);
    return poly;
}

// A static mesh of the polygon centred on (x, y).
inline std::unique_ptr<Thing> MakePolygon(World& world, const Poly& poly, double x, double y,
                                          bool counterClockwise)
{
    auto thing =
        std::make_unique<Thing>(Thing::POLYGON, world.CreateTriMesh(new TriMeshData(poly)));
    thing->polygon = poly;
    // (-dy, dx) lies to the left of an edge: inside a counter-clockwise ring.
    thing->outwardSign = counterClockwise ? -1.0 : 1.0;
    thing->geom->SetPosition(x, y);
    return thing;
}

// Four walls, 16 pixels thick, around the field from (16, 36) to (624, 464).
inline std::vector<std::unique_ptr<Thing>> MakeWalls(World& world)
{
    std::vector<std::unique_ptr<Thing>> walls;
    walls.push_back(MakeBrick(world, 8, 250, 16, 460));   // left
    walls.push_back(MakeBrick(world, 632, 250, 16, 460)); // right
    walls.push_back(MakeBrick(world, 320, 28, 640, 16));  // top
    walls.push_back(MakeBrick(world, 320, 472, 640, 16)); // bottom
    return walls;
}

// A collision callback that records every contact it is shown.
struct Recorder
{
    struct Seen
    {
        PhysicsGeom* geom1;
        PhysicsGeom* geom2;
        bool physical;
        bool hasJoint;
        double nx, ny;
    };
    std::vector<Seen> seen;
    int stopAfter = -1;

    static bool Callback(PhysicsGeom* g1, PhysicsGeom* g2, const ContactData* c, void* context)
    {
        Recorder* self = static_cast<Recorder*>(context);
        self->seen.push_back(
            {g1, g2, c->physical, c->joint != nullptr, c->normal[0], c->normal[1]});
        return self->stopAfter >= 0 && int(self->seen.size()) >= self->stopAfter;
    }
};

// A collision callback that runs a function object; the step's context is the Hook.
struct Hook
{
    std::function<bool(PhysicsGeom*, PhysicsGeom*, const ContactData*)> function;

    static bool Callback(PhysicsGeom* g1, PhysicsGeom* g2, const ContactData* c, void* context)
    {
        return static_cast<Hook*>(context)->function(g1, g2, c);
    }
};

// The Thing that owns a geometry.
inline Thing* OwnerOf(PhysicsGeom* geom)
{
    return static_cast<Thing*>(geom->GetOwner());
}

constexpr double kFrame = FRAME_PERIOD_SECONDS;

} // namespace physics_test

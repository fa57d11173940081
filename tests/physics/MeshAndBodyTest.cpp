// The extruded polygon mesh, the polygon's edges, the rigid body's plane holding and the
// ownership rules between geometries, bodies and the world.
#include "PhysicsScene.h"

#include "physics/OdeRuntime.h"
#include "scene/WorldWrapper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace physics_test;

namespace {

// Normal of triangle t of the mesh (not normalised).
Vector2D TriangleNormal(const TriMeshData& mesh, int t, double* nz)
{
    const std::vector<float>& v = mesh.GetVertices();
    const std::vector<int>& idx = mesh.GetIndices();
    const float* a = &v[3 * idx[3 * t]];
    const float* b = &v[3 * idx[3 * t + 1]];
    const float* c = &v[3 * idx[3 * t + 2]];
    const double e[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const double f[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    *nz = e[0] * f[1] - e[1] * f[0];
    return Vector2D(e[1] * f[2] - e[2] * f[1], e[2] * f[0] - e[0] * f[2]);
}

} // namespace

TEST(PolyEdges, ClosedRingFromVertices)
{
    Poly poly;
    poly.SetVertices({{0, 0}, {10, 0}, {10, 5}});
    ASSERT_EQ(3u, poly.GetNumEdges());
    EXPECT_EQ(Point2f(0, 0), poly.GetEdges()[0].start);
    EXPECT_EQ(Point2f(10, 0), poly.GetEdges()[0].end);
    EXPECT_EQ(Point2f(10, 5), poly.GetEdges()[2].start);
    EXPECT_EQ(Point2f(0, 0), poly.GetEdges()[2].end);

    poly.SetVertices({{3, 4}});
    ASSERT_EQ(1u, poly.GetNumEdges());
    EXPECT_EQ(Point2f(3, 4), poly.GetEdges()[0].start);
    EXPECT_EQ(Point2f(3, 4), poly.GetEdges()[0].end);

    poly.SetVertices(std::vector<Point2f>());
    EXPECT_EQ(0u, poly.GetNumEdges());
}

TEST(TriMeshData, PrismSidesFacingOutwardInEitherWinding)
{
    World world; // ODE must be initialised to build mesh data
    for (bool reversed : {false, true}) {
        for (int n : {3, 6, 64}) {
            const Poly poly = RegularPolygon(n, 20.0, reversed);
            TriMeshData mesh(poly);
            ASSERT_EQ(2 * n, mesh.GetVertexCount());
            ASSERT_EQ(6 * n, mesh.GetIndexCount());
            ASSERT_EQ(std::size_t(6 * n), mesh.GetIndices().size());
            EXPECT_EQ(std::size_t(n), mesh.GetPolygon().GetNumVertices());
            for (int i = 0; i < 2 * n; ++i)
                EXPECT_EQ(i < n ? 100.0f : -100.0f, mesh.GetVertices()[3 * i + 2]);
            for (int t = 0; t < 2 * n; ++t) {
                const std::vector<int>& idx = mesh.GetIndices();
                const int top = (idx[3 * t] < n) + (idx[3 * t + 1] < n) + (idx[3 * t + 2] < n);
                EXPECT_TRUE(top == 1 || top == 2) << "triangle " << t << " lies in a cap";
                // The centroid of the triangle, seen from the prism's axis, and its normal
                // point the same way: the side faces out.
                double nz = 0;
                const Vector2D normal = TriangleNormal(mesh, t, &nz);
                double cx = 0, cy = 0;
                for (int k = 0; k < 3; ++k) {
                    cx += mesh.GetVertices()[3 * idx[3 * t + k]];
                    cy += mesh.GetVertices()[3 * idx[3 * t + k] + 1];
                }
                EXPECT_NEAR(0.0, nz, 1e-3);
                EXPECT_GT(normal.Dot(Vector2D(cx, cy)), 0.0) << "n " << n << " t " << t;
            }
        }
    }
    EXPECT_THROW(TriMeshData(RegularPolygon(2, 5, false)), Exception);
}

TEST(PhysicsBody, HeldToThePlaneAfterEveryStepEvenWithoutSubSteps)
{
    World world;
    world.SetCollisionIterations(0);
    auto ball = MakeBall(world, 100, 100, 8, 0, 0);
    const dBodyID id = ball->Body()->GetBodyID();

    // Turned a little about x and about z: only the turn about z is kept.
    dQuaternion q = {0.9, 0.3, 0.0, 0.3};
    dBodySetQuaternion(id, q); // normalises
    const dReal* set = dBodyGetQuaternion(id);
    const double w = set[0], z = set[3];
    dBodySetAngularVel(id, 1.0, 2.0, 3.0);
    world.Step(kFrame, nullptr, nullptr);
    const dReal* held = dBodyGetQuaternion(id);
    EXPECT_NEAR(w / std::hypot(w, z), held[0], 1e-12);
    EXPECT_EQ(0.0, held[1]);
    EXPECT_EQ(0.0, held[2]);
    EXPECT_NEAR(z / std::hypot(w, z), held[3], 1e-12);
    const dReal* av = dBodyGetAngularVel(id);
    EXPECT_EQ(0.0, av[0]);
    EXPECT_EQ(0.0, av[1]);
    EXPECT_EQ(3.0, av[2]);

    // Half a turn about x or y leaves no turn about z: back to the identity, never NaN.
    const dReal halfTurns[2][4] = {{0, 1, 0, 0}, {0, 0, 1, 0}};
    for (const auto& halfTurn : halfTurns) {
        dBodySetQuaternion(id, halfTurn);
        world.Step(kFrame, nullptr, nullptr);
        const dReal* r = dBodyGetQuaternion(id);
        EXPECT_EQ(1.0, r[0]);
        EXPECT_EQ(0.0, r[1]);
        EXPECT_EQ(0.0, r[2]);
        EXPECT_EQ(0.0, r[3]);
    }
    // Nothing moved: no sub-step ran.
    EXPECT_EQ(100.0, ball->Body()->GetPosition().x);
}

// Places, turns, speeds, forces and lengths of any number (as level data may give them) are
// held to what the physics can step: the world steps on, every body stays somewhere.
TEST(PhysicsBody, ValuesOfAnySizeAreHeldToWhatThePhysicsCanStep)
{
    const double huge = 1e308, inf = INFINITY, nan = NAN;
    World world;
    std::vector<std::unique_ptr<Thing>> things = MakeWalls(world);
    things.push_back(MakeBrick(world, 320, 200, nan, -inf));
    things.push_back(MakeBall(world, 300, 300, nan, inf, -huge));
    auto turned = MakeBall(world, 200, 300, 8, 0, 0);
    turned->geom->SetRotation(float(huge));
    turned->Body()->AddForce(huge, nan);
    turned->Body()->AddForce(huge, 0);
    auto flung = MakeBall(world, 250, 300, 8, 0, 0);
    flung->geom->SetPosition(huge, -inf);
    flung->Body()->SetLinearVel(nan, huge);
    things.push_back(std::move(turned));
    things.push_back(std::move(flung));
    things.back()->geom->SetRadiusGradually(inf);
    for (int step = 0; step < 20; ++step)
        ASSERT_NO_THROW(world.Step(kFrame, nullptr, nullptr)) << "step " << step;
    for (const auto& thing : things) {
        const Point<double> at = thing->geom->GetCenter();
        EXPECT_TRUE(std::isfinite(at.x) && std::isfinite(at.y)) << at.x << ", " << at.y;
    }
}

TEST(PhysicsBody, RotationLockAndOwnershipThroughTheGeometry)
{
    World world;
    auto ball = MakeBall(world, 100, 100, 8, 0, 0);
    PhysicsBody* body = ball->Body();
    const int joints = dBodyGetNumJoints(body->GetBodyID());
    body->LockRotation();
    EXPECT_EQ(joints, dBodyGetNumJoints(body->GetBodyID())) << "a second lock made a motor";
    EXPECT_EQ(2, joints); // plane joint and motor

    // A locked body does not turn when pushed off centre.
    dBodySetAngularVel(body->GetBodyID(), 0, 0, 5);
    world.Step(kFrame, nullptr, nullptr);
    EXPECT_NEAR(0.0, dBodyGetAngularVel(body->GetBodyID())[2], 1e-6);

    EXPECT_EQ(1u, world.GetBodyCount());
    EXPECT_EQ(1u, world.GetGeomCount());
    ball.reset(); // deletes the geometry and with it the body
    EXPECT_EQ(0u, world.GetBodyCount());
    EXPECT_EQ(0u, world.GetGeomCount());
}

TEST(World, LeftoversAreDetachedWhenTheWorldGoesFirst)
{
    const int before = OdeRuntime::GetReferenceCount();
    std::unique_ptr<Thing> ball, brick, hexagon;
    {
        WorldWrapper wrapper(GameConfig());
        World& world = *wrapper.GetWorld();
        EXPECT_EQ(before + 1, OdeRuntime::GetReferenceCount());
        ball = MakeBall(world, 100, 100, 8, 10, 0);
        brick = MakeBrick(world, 200, 100, 32, 16);
        hexagon = MakePolygon(world, RegularPolygon(6, 20, false), 300, 300, true);
        world.Step(kFrame, nullptr, nullptr);
    }
    EXPECT_EQ(before, OdeRuntime::GetReferenceCount());
    EXPECT_EQ(nullptr, ball->geom->GetWorld());
    EXPECT_EQ(nullptr, ball->geom->GetGeomID());
    // Deleting them now frees the wrappers (and the ball's body) without touching ODE.
    ball.reset();
    brick.reset();
    hexagon.reset();
}

TEST(OdeRuntime, FailedChecksRaiseExceptions)
{
    World world;
    auto brick = MakeBrick(world, 100, 100, 32, 16);
    // Not a sphere.
    EXPECT_THROW(brick->geom->SetRadiusGradually(4.0), Exception);
    try {
        dGeomSphereSetRadius(brick->geom->GetGeomID(), 3.0);
        FAIL() << "ODE accepted a box as a sphere";
    } catch (const Exception& e) {
        EXPECT_NE(std::string::npos, e.GetMessage().find("argument not a sphere"))
            << e.GetMessage();
    }
    // The world still steps after the failed checks.
    world.Step(kFrame, nullptr, nullptr);
}

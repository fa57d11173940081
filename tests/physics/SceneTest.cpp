// Whole scenes stepped frame by frame as the game steps them: balls in a walled field,
// fast balls against thin bricks, seams between bricks, polygons, and the repeatability
// of a scene.
#include "PhysicsScene.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

using namespace physics_test;

namespace {

// The highest target speed of a ball, and the most the per-tick regulation lets a ball
// run above its target (3 × speed + 50), in pixels per second.
constexpr double kMaxBallSpeed = 1200.0;
constexpr double kMaxRegulatedSpeed = 3.0 * kMaxBallSpeed + 50.0;
constexpr double kSmallestBallRadius = 4.0;

} // namespace

namespace {

// Steers the ball's speed towards its target by at most 5 pixels per second a frame, as a
// ball in play does after every step.
void Regulate(PhysicsBody* body, double target)
{
    Vector2D v = body->GetLinearVel();
    double length = v.Length();
    length = length <= target ? std::min(length + 5.0, target) : std::max(length - 5.0, target);
    v.SetLength(length);
    body->SetLinearVel(v.x, v.y);
}

// Bounces a ball around the walled field for 10,000 frames; returns the lowest and
// highest speeds seen after the steps, failing when the ball leaves the field.
std::pair<double, double> BounceInField(const WorldConfigReader& config, bool regulate,
                                        double* speed)
{
    World world(config);
    auto walls = MakeWalls(world);
    const double radius = 8.0;
    auto ball = MakeBall(world, 320, 240, radius, 310.0, -170.0);
    ball->geom->SetBounciness(PhysicsGeom::BounceAlways);
    *speed = ball->Body()->GetLinearVel().Length();
    double lowest = *speed, highest = *speed;
    int contacts = 0;
    Recorder recorder;
    for (int frame = 0; frame < 10000; ++frame) {
        world.Step(kFrame, &Recorder::Callback, &recorder);
        contacts += int(recorder.seen.size());
        recorder.seen.clear();
        const Vector2D p = ball->Body()->GetPosition();
        EXPECT_TRUE(p.x > 16.0 + radius - 1.0 && p.x < 624.0 - radius + 1.0 &&
                    p.y > 36.0 + radius - 1.0 && p.y < 464.0 - radius + 1.0)
            << "left the field at frame " << frame << ": " << p.x << ", " << p.y;
        if (::testing::Test::HasFailure())
            break;
        EXPECT_EQ(0.0, dBodyGetPosition(ball->Body()->GetBodyID())[2]);
        const double v = ball->Body()->GetLinearVel().Length();
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
        if (regulate)
            Regulate(ball->Body(), *speed);
    }
    EXPECT_GT(contacts, 100);
    return {lowest, highest};
}

} // namespace

TEST(Scene, BallInAWalledFieldKeepsItsSpeedAndStaysInside)
{
    // Rigid contacts: the walls neither add nor take speed.
    double speed = 0;
    auto [lowest, highest] = BounceInField(
        ConfigOf({{"GlobalCFM", 0.0}, {"GlobalERP", 0.8}, {"CollisionIterations", 20}}), false,
        &speed);
    EXPECT_LT(highest, speed * 1.01) << "the walls added speed";
    EXPECT_GT(lowest, speed * 0.99) << "the walls took speed";

    // The game's slightly soft contacts take some speed at each bounce, which the ball's
    // own regulation gives back; they never add any.
    std::tie(lowest, highest) = BounceInField(GameConfig(), true, &speed);
    EXPECT_LT(highest, speed * 1.01) << "the walls added speed";
    EXPECT_GT(lowest, speed * 0.6) << "the walls took too much speed";
}

TEST(Scene, FastBallsNeverTunnelThroughABrick)
{
    for (double speed : {kMaxBallSpeed, kMaxRegulatedSpeed}) {
        for (int angle = -60; angle <= 60; angle += 15) {
            World world(GameConfig());
            auto brick = MakeBrick(world, 320, 240, 64, 16);
            const double a = angle * M_PI / 180.0;
            // Start below the brick, aimed at its centre.
            const double sx = 320 - 60 * std::sin(a);
            const double sy = 240 + 60 * std::cos(a);
            auto ball = MakeBall(world, sx, sy, kSmallestBallRadius, speed * std::sin(a),
                                 -speed * std::cos(a));
            bool hit = false;
            for (int frame = 0; frame < 10; ++frame) {
                world.Step(kFrame, nullptr, nullptr);
                const Vector2D p = ball->Body()->GetPosition();
                if (std::fabs(p.x - 320) < 32) {
                    ASSERT_GT(p.y, 240.0)
                        << "through the brick at " << speed << " px/s, " << angle << " degrees";
                }
                hit = hit || ball->Body()->GetLinearVel().y > 0;
            }
            EXPECT_TRUE(hit) << speed << " px/s, " << angle << " degrees";
        }
    }
}

TEST(Scene, SeamOfTwoBricksActsAsOneFace)
{
    for (double vx : {0.0, 150.0, -400.0}) {
        World world(GameConfig());
        auto left = MakeBrick(world, 304, 240, 32, 16);
        auto right = MakeBrick(world, 336, 240, 32, 16);
        const double vy = 600.0;
        // Aimed so that it meets the bricks' top (y 232) on the seam (x 320).
        const double t = (232.0 - 8.0 - 150.0) / vy;
        auto ball = MakeBall(world, 320 - vx * t, 150, 8, vx, vy);
        Recorder recorder;
        for (int frame = 0; frame < 8; ++frame)
            world.Step(kFrame, &Recorder::Callback, &recorder);
        ASSERT_FALSE(recorder.seen.empty());
        const Vector2D v = ball->Body()->GetLinearVel();
        EXPECT_NEAR(vx, v.x, 1e-3) << "sideways velocity changed on the seam";
        EXPECT_LT(v.y, -0.6 * vy) << "no rebound";
    }
}

TEST(Scene, ExtrudedHexagonCollidesFromEverySideInEitherWinding)
{
    for (bool reversed : {false, true}) {
        for (int angle = 0; angle < 360; angle += 15) {
            World world(GameConfig());
            const Poly hexagon = RegularPolygon(6, 40.0, reversed);
            auto shape = MakePolygon(world, hexagon, 320, 240, !reversed);
            const double a = angle * M_PI / 180.0;
            const Vector2D out(std::cos(a), std::sin(a));
            auto ball = MakeBall(world, 320 + 100 * out.x, 240 + 100 * out.y, 6, -400 * out.x,
                                 -400 * out.y);
            Recorder recorder;
            double closest = 1e9;
            for (int frame = 0; frame < 15; ++frame) {
                world.Step(kFrame, &Recorder::Callback, &recorder);
                const Vector2D p = ball->Body()->GetPosition() - Vector2D(320, 240);
                closest = std::min(closest, p.Length());
            }
            const Vector2D v = ball->Body()->GetLinearVel();
            EXPECT_FALSE(recorder.seen.empty()) << angle << (reversed ? " reversed" : "");
            // The inner radius of the hexagon is 40 cos 30° ≈ 34.6; the ball's is 6.
            EXPECT_GT(closest, 34.6 + 6 - 1.5) << angle << (reversed ? " reversed" : "");
            // Straight at a side it comes straight back; at a corner it glances off.
            const bool atSide = angle % 60 == 30;
            EXPECT_GT(v.Dot(out), atSide ? 250.0 : 30.0)
                << "did not rebound at " << angle << (reversed ? " reversed" : "");
            if (atSide) {
                EXPECT_NEAR(0.0, v.Dot(Vector2D(-out.y, out.x)), 1e-3);
            }
            for (const Recorder::Seen& s : recorder.seen)
                EXPECT_TRUE(s.physical);
        }
    }
}

namespace {

// A round of play in a walled field: 40 bricks and 8 balls of different sizes and
// speeds. A brick that a ball touches breaks (it is deleted from the collision
// callback), and every fourth break sends a new ball up from the bottom, made in the
// callback too. After `frames` frames, a hash of every contact position reported, of
// the state of every ball in the order made, and of the number of bricks left.
std::uint64_t RunScriptedScene(int frames)
{
    World world(GameConfig());
    auto walls = MakeWalls(world);
    std::vector<std::unique_ptr<Thing>> bricks;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 10; ++col) {
            bricks.push_back(MakeBrick(world, 80 + col * 48, 80 + row * 24, 48, 24));
            bricks.back()->breakable = true;
        }
    std::vector<std::unique_ptr<Thing>> balls;
    for (int i = 0; i < 8; ++i)
        balls.push_back(MakeBall(world, 100 + i * 55, 300 + (i % 3) * 30, 4 + i % 4 * 4,
                                 150 + 37 * i, -300 + 23 * i));

    std::vector<double> contacts;
    int breaks = 0;
    Hook hook;
    hook.function = [&](PhysicsGeom* g1, PhysicsGeom* g2, const ContactData* c) {
        contacts.push_back(c->position[0]);
        contacts.push_back(c->position[1]);
        Thing* a = OwnerOf(g1);
        Thing* b = OwnerOf(g2);
        Thing* brick = a->breakable ? a : b->breakable ? b : nullptr;
        Thing* ball = brick == a ? b : a;
        if (!brick || ball->m_Shape != Thing::SPHERE)
            return false;
        bricks.erase(std::find_if(bricks.begin(), bricks.end(),
                                  [brick](const auto& t) { return t.get() == brick; }));
        if (++breaks % 4 == 0)
            balls.push_back(MakeBall(world, 320, 440, 6, breaks % 8 == 0 ? 180 : -180, -420));
        return false;
    };
    for (int frame = 0; frame < frames; ++frame)
        world.Step(kFrame, &Hook::Callback, &hook);

    std::uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](const void* data, std::size_t size) {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    mix(contacts.data(), contacts.size() * sizeof(double));
    for (const auto& ball : balls) {
        const dBodyID id = ball->Body()->GetBodyID();
        mix(dBodyGetPosition(id), 3 * sizeof(dReal));
        mix(dBodyGetLinearVel(id), 3 * sizeof(dReal));
        mix(dBodyGetQuaternion(id), 4 * sizeof(dReal));
    }
    const std::uint64_t left = bricks.size();
    mix(&left, sizeof(left));
    return hash;
}

// The hash of RunScriptedScene(300) on this platform (x86-64, the same in the sanitized
// debug build and the optimised one). It changes legitimately with the ODE library (its
// collision and solver code, its version and build options), with the scene above
// (layout, frames, sub-steps, configuration, what the callback does) and with the world's
// own step: the collision pass (which spaces it tests and the order in which they hand
// over their pairs), the contact pass, the order of its passes and when changes made
// during a step take effect. Anything else that changes it is a fault.
constexpr std::uint64_t kScriptedSceneHash = 0x9497489a0cf40083ull;

// Set in the environment of the child process the cross-process test starts: the file the
// child writes its hash to.
constexpr const char* kHashFileVariable = "BB_SCRIPTED_SCENE_HASH_FILE";

// Runs this test program again with only `test` selected and `variable` set to `value`;
// its output is discarded. Returns the exit status, -1 when it could not be started.
int RunSelfWith(const std::string& test, const char* variable, const std::string& value)
{
    // GoogleTest's own settings (sharding, output files) are the parent's alone.
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "GTEST_", 6) != 0)
            environment.emplace_back(*e);
    environment.push_back(std::string(variable) + "=" + value);
    std::vector<char*> envp;
    for (std::string& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = "/proc/self/exe";
    std::string filter = "--gtest_filter=" + test;
    char* argv[] = {program.data(), filter.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int error = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

TEST(Scene, ScriptedSceneIsRepeatable)
{
    const std::uint64_t first = RunScriptedScene(300);
    // Shift the heap so that nothing in the scene lands at the same addresses.
    std::vector<std::unique_ptr<char[]>> ballast;
    for (int i = 0; i < 50; ++i)
        ballast.emplace_back(new char[97 * (i + 1)]);
    const std::uint64_t second = RunScriptedScene(300);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, RunScriptedScene(299));
}

TEST(Scene, ScriptedSceneHashHoldsAcrossProcesses)
{
    const std::uint64_t hash = RunScriptedScene(300);
    if (const char* file = std::getenv(kHashFileVariable)) {
        // The child's part: hand the hash over and stop.
        std::ofstream(file) << std::hex << hash << "\n";
        return;
    }

    // A fresh process: its own address layout, heap and ODE start-up.
    const std::string file =
        ::testing::TempDir() + "scripted-scene-hash-" + std::to_string(getpid());
    const ::testing::TestInfo* self = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(self->test_suite_name()) + "." + self->name();
    ASSERT_EQ(0, RunSelfWith(name, kHashFileVariable, file));
    std::uint64_t childHash = 0;
    std::ifstream in(file);
    ASSERT_TRUE(in >> std::hex >> childHash) << "no hash from the child";
    std::remove(file.c_str());

    EXPECT_EQ(hash, childHash) << "the scene played out differently in another process";
    EXPECT_EQ(kScriptedSceneHash, hash) << "hash 0x" << std::hex << hash;
}

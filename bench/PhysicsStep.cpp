// One frame of play in the physics world: every sub-step of a full field of bricks with
// its walls and a number of balls. Reports the time per frame and per sub-step. A second
// measure breaks every brick a ball touches from the contact callback and leaves a spark
// (a sensor geometry) where it was, as play does; the field is rebuilt after each frame.
#include "core/FramePeriod.h"
#include "physics/CollisionOwner.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "physics/PhysicsMass.h"
#include "physics/World.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

namespace {

constexpr double kFrame = FRAME_PERIOD_SECONDS;
constexpr int kSubSteps = 20;

// Owners that collide with everything and report no edges.
struct Solid : CollisionOwner
{
    bool AcceptsCollision(CollisionOwner*, double, double) override { return false; }
};

// Owners that let everything pass.
struct Sensor : CollisionOwner
{
    bool AcceptsCollision(CollisionOwner*, double, double) override { return true; }
};

struct Brick
{
    double x, y;
    std::unique_ptr<PhysicsGeom> geom;
};

struct Field
{
    Solid owner;
    Solid brickOwner;
    Sensor sparkOwner;
    std::unique_ptr<World> world;
    std::vector<std::unique_ptr<PhysicsGeom>> geoms;
    std::vector<PhysicsBody*> balls;
    // 200 bricks: 20 columns of 28 pixels, 10 rows of 14 pixels. A broken one is null
    // until the field is rebuilt.
    std::vector<Brick> bricks;
    std::unordered_map<const PhysicsGeom*, std::size_t> brickSlots;
    std::vector<std::unique_ptr<PhysicsGeom>> sparks;

    explicit Field(int ballCount)
    {
        world = std::make_unique<World>([](const std::string& key) -> std::optional<double> {
            if (key == World::kKeyCFM)
                return 0.0000001;
            if (key == World::kKeyERP)
                return 0.8;
            if (key == World::kKeyIterations)
                return kSubSteps;
            return std::nullopt;
        });
        AddBox(8, 250, 16, 460);
        AddBox(632, 250, 16, 460);
        AddBox(320, 28, 640, 16);
        AddBox(320, 472, 640, 16);
        for (int row = 0; row < 10; ++row)
            for (int col = 0; col < 20; ++col)
                bricks.push_back({40.0 + col * 28 + 14, 60.0 + row * 14 + 7, nullptr});
        Rebuild();
        for (int i = 0; i < ballCount; ++i) {
            PhysicsGeom* geom = world->CreateSphere(7.99f);
            geom->SetOwner(&owner);
            geom->SetBounciness(PhysicsGeom::BounceAlways);
            PhysicsBody* body = new PhysicsBody(world.get());
            PhysicsMass mass;
            mass.SetSphere(1.0, 8.0);
            body->SetMass(mass);
            geom->SetBody(body);
            body->LockRotation();
            geom->SetPosition(60.0 + (i % 25) * 21.0, 260.0 + (i / 25) * 40.0);
            const double a = 0.3 + i * 0.77;
            body->SetLinearVel(400 * std::cos(a), -400 * std::abs(std::sin(a)) - 50);
            geoms.emplace_back(geom);
            balls.push_back(body);
        }
    }

    PhysicsGeom* MakeBox(double x, double y, double w, double h, CollisionOwner* boxOwner)
    {
        PhysicsGeom* geom = world->CreateBox(float(w - 0.01), float(h - 0.01));
        geom->SetOwner(boxOwner);
        geom->SetPosition(x, y);
        return geom;
    }

    void AddBox(double x, double y, double w, double h)
    {
        geoms.emplace_back(MakeBox(x, y, w, h, &owner));
    }

    // Puts back every broken brick and clears the sparks.
    void Rebuild()
    {
        sparks.clear();
        for (std::size_t i = 0; i < bricks.size(); ++i) {
            if (bricks[i].geom)
                continue;
            bricks[i].geom.reset(MakeBox(bricks[i].x, bricks[i].y, 28, 14, &brickOwner));
            brickSlots[bricks[i].geom.get()] = i;
        }
    }

    // Called from the contact callback: the brick goes and a spark takes its place.
    void Break(const PhysicsGeom* geom)
    {
        auto slot = brickSlots.find(geom);
        Brick& brick = bricks[slot->second];
        brickSlots.erase(slot);
        brick.geom.reset();
        PhysicsGeom* spark = world->CreateSphere(6.0f);
        spark->SetOwner(&sparkOwner);
        spark->SetPosition(brick.x, brick.y);
        sparks.emplace_back(spark);
    }

    // The balls' own speed regulation, so that play goes on at a steady pace.
    void Regulate()
    {
        for (PhysicsBody* body : balls) {
            Vector2D v = body->GetLinearVel();
            v.SetLength(400.0);
            body->SetLinearVel(v.x, v.y);
        }
    }

    ~Field()
    {
        sparks.clear();
        bricks.clear();
        geoms.clear(); // deletes the balls' bodies too
        world.reset();
    }
};

bool CountContact(PhysicsGeom*, PhysicsGeom*, const ContactData*, void* context)
{
    ++*static_cast<long*>(context);
    return false;
}

void BM_PhysicsFrame(benchmark::State& state)
{
    Field field(int(state.range(0)));
    long contacts = 0;
    for (auto _ : state) {
        field.world->Step(kFrame, &CountContact, &contacts);
        field.Regulate();
    }
    state.counters["per_substep"] =
        benchmark::Counter(double(state.iterations()) * kSubSteps,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["contacts_per_frame"] =
        benchmark::Counter(double(contacts) / double(state.iterations()));
}

struct Breaking
{
    Field* field;
    long contacts = 0;
    long breaks = 0;
};

bool BreakBrick(PhysicsGeom* geom1, PhysicsGeom* geom2, const ContactData*, void* context)
{
    auto* breaking = static_cast<Breaking*>(context);
    ++breaking->contacts;
    Field& field = *breaking->field;
    for (PhysicsGeom* geom : {geom1, geom2}) {
        if (geom->GetOwner() == &field.brickOwner) {
            field.Break(geom);
            ++breaking->breaks;
        }
    }
    return false;
}

void BM_PhysicsFrameBreakingBricks(benchmark::State& state)
{
    Field field(int(state.range(0)));
    Breaking breaking{&field};
    for (auto _ : state) {
        field.world->Step(kFrame, &BreakBrick, &breaking);
        field.Regulate();
        field.Rebuild();
    }
    state.counters["breaks_per_frame"] =
        benchmark::Counter(double(breaking.breaks) / double(state.iterations()));
    state.counters["contacts_per_frame"] =
        benchmark::Counter(double(breaking.contacts) / double(state.iterations()));
}

} // namespace

BENCHMARK(BM_PhysicsFrame)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PhysicsFrameBreakingBricks)->Arg(50)->Unit(benchmark::kMicrosecond);

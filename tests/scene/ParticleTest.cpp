// Particles: emission schedules and counts, motion and fading over lifetimes, drawing,
// templates from scripts, and buffered pools.
#include "SceneTestSupport.h"

#include "core/Random.h"
#include "core/WorkMeter.h"
#include "display/Image.h"
#include "scene/BufferedIdenticalParticleEmitter.h"
#include "scene/BufferedParticleEmitter.h"
#include "scene/IdenticalParticleEmitter.h"
#include "scene/Particle.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleManager.h"

#include <cmath>
#include <list>
#include <memory>

using LuaPlus::LuaObject;

namespace scenetest {

namespace {

// A manager and an emitter on a root, stepped by a harness.
struct Spray
{
    Actor root;
    ParticleManager* manager = new ParticleManager();
    bbtest::PassHarness passes{&root, 32, 32};

    Spray() { root.AddChild(manager, ""); }
    int Live() const { return static_cast<int>(manager->GetChildren().size()); }
};

int s_Destroyed = 0;
void CountDestroyed(Particle*)
{
    ++s_Destroyed;
}

} // namespace

TEST_F(SceneTest, EmittersFollowTheirCountIntervalAndDelay)
{
    Spray spray;
    ParticleEmitter* once = new ParticleEmitter(spray.manager);
    spray.root.AddChild(once, "");
    once->ApplyProperties(Table("{emitCount = 1, interval = 1000, numParticles = 20}"));
    once->Start();
    EXPECT_EQ(20, spray.Live());
    spray.passes.Step(40);
    EXPECT_EQ(20, spray.Live()); // endless particles, one emission only
    EXPECT_EQ(0, once->GetEmitCount());
    once->Kill();

    ParticleEmitter* endless = new ParticleEmitter(spray.manager);
    spray.root.AddChild(endless, "");
    endless->ApplyProperties(Table("{emitCount = -1, interval = 1000, numParticles = 20}"));
    for (Actor* p : std::list<Actor*>(spray.manager->GetChildren()))
        p->Kill();
    spray.passes.Step();
    endless->Start();
    EXPECT_EQ(20, spray.Live());
    spray.passes.Step(31); // 992 ms
    EXPECT_EQ(20, spray.Live());
    spray.passes.Step(); // 1024 ms: the countdown ran out, the overshoot dropped
    EXPECT_EQ(40, spray.Live());
    spray.passes.Step(31);
    EXPECT_EQ(40, spray.Live());
    spray.passes.Step();
    EXPECT_EQ(60, spray.Live());
    endless->Stop();
    spray.passes.Step(100);
    EXPECT_EQ(60, spray.Live());
    endless->Kill();

    ParticleEmitter* late = new ParticleEmitter(spray.manager);
    spray.root.AddChild(late, "");
    late->ApplyProperties(Table("{emitCount = 1, delay = 100}"));
    const int before = spray.Live();
    late->Start();
    spray.passes.Step(3);
    EXPECT_EQ(before, spray.Live());
    spray.passes.Step();
    EXPECT_EQ(before + 1, spray.Live());
    spray.passes.Step(10);
    EXPECT_EQ(before + 1, spray.Live());
}

TEST_F(SceneTest, ParticlesMoveFadeAndDieOnSchedule)
{
    Spray spray;
    s_Destroyed = 0;
    ParticleEmitter* emitter = new ParticleEmitter(spray.manager);
    emitter->SetPosition(10, 10);
    emitter->SetSize(4, 4);
    spray.root.AddChild(emitter, "");
    emitter->ApplyProperties(Table("{emitCount = 1, particleTemplate = {alpha = 255, "
                                   "destAlpha = 0, lifetime = 400, velocity = {x = 1000, y = 0}, "
                                   "acceleration = {x = 0, y = 1000}}}"));
    emitter->SetParticleDestroyCallback(&CountDestroyed);
    emitter->Start();
    ASSERT_EQ(1, spray.Live());
    Particle* p = static_cast<Particle*>(spray.manager->GetChildren().front());
    EXPECT_EQ(10, p->GetX()); // centred: 10 + 4/2 - 5/2
    EXPECT_FLOAT_EQ(-637.5f, p->m_AlphaStep);

    spray.passes.Step();
    EXPECT_NEAR(255.0f - 20.4f, p->m_ParticleAlpha, 1e-3);
    EXPECT_NEAR(32.0f, p->m_Position.x, 1e-3); // the old velocity moves it
    EXPECT_NEAR(0.0f, p->m_Position.y, 1e-3);
    EXPECT_NEAR(32.0f, p->m_Velocity.y, 1e-3); // then the velocity changes
    spray.passes.Step(11);
    EXPECT_FALSE(p->IsExpired());
    spray.passes.Step(); // the 13th step is cut to 16 ms and ends at alpha 0
    EXPECT_TRUE(p->IsExpired());
    EXPECT_NEAR(0.0f, p->m_ParticleAlpha, 1e-2);
    EXPECT_EQ(1, spray.Live());
    spray.passes.Step(); // killed on the 14th
    EXPECT_EQ(0, spray.Live());
    EXPECT_EQ(1, s_Destroyed);
}

TEST_F(SceneTest, ParticlesDrawWithTheirAlphaClampedAndWithoutLifetimeLiveOn)
{
    Spray spray;
    Particle* bright = new Particle();
    bright->ApplyProperties(Table("{alpha = 300, position = {x = 1.9, y = 0}, destAlpha = 0}"));
    spray.manager->AddParticle(bright);
    Particle* hidden = new Particle();
    hidden->ApplyProperties(Table("{alpha = -40}"));
    hidden->SetPosition(20, 20);
    spray.manager->AddParticle(hidden);
    spray.passes.Step(100);
    EXPECT_FALSE(bright->IsExpired()); // no lifetime: no fade either
    EXPECT_NEAR(300.0f, bright->m_ParticleAlpha, 1e-3);
    EXPECT_EQ(Argb(255, 255, 0, 0), spray.passes.Pixel(1, 0)); // drawn from x = 1
    EXPECT_EQ(0u, spray.passes.Pixel(0, 0));
    EXPECT_EQ(0u, spray.passes.Pixel(21, 21));
    EXPECT_EQ(255, bright->GetAlpha()); // the actor's own alpha is left as it was
}

TEST_F(SceneTest, IdenticalEmittersReadTheirTemplateFromScripts)
{
    MakoSrand(3);
    Run("Resources.SceneSparks = {class = 'IdenticalParticleEmitter', emitCount = 1, "
        "numParticles = 50, particleTemplate = {lifetime = 64, color = 'Yellow', "
        "randomizedVelocity = {minRadius = 60, maxRadius = 60, minAngle = 0, maxAngle = 6.2832},"
        " randomizedPosition = {minX = -10, maxX = 10}}}");
    Spray spray;
    IdenticalParticleEmitter* sparks = new IdenticalParticleEmitter("SceneSparks", spray.manager);
    sparks->SetPosition(10, 10);
    spray.root.AddChild(sparks, "");
    sparks->Start();
    ASSERT_EQ(50, spray.Live());
    bool movedX = false;
    for (Actor* a : spray.manager->GetChildren()) {
        Particle* p = static_cast<Particle*>(a);
        EXPECT_NEAR(60.0f, p->m_Velocity.GetLength(), 1e-3);
        // Centred on the (empty) emitter at 10 - 5/2, then x moved by -10..10 only.
        EXPECT_EQ(8, p->GetY());
        EXPECT_GE(p->GetX(), -2);
        EXPECT_LE(p->GetX(), 18);
        movedX = movedX || p->GetX() != 8;
        EXPECT_EQ(Palette::Yellow, p->GetColor());
    }
    EXPECT_TRUE(movedX);
    spray.passes.Step(2);
    EXPECT_EQ(50, spray.Live()); // expired on the second step
    spray.passes.Step();
    EXPECT_EQ(0, spray.Live());

    // "velocity" set after the randomised one turns randomising off; with an image set
    // the image is drawn rather than the colour.
    Image* dot = new Image(3, 3, 1, 0, Color(0, 0, 255));
    bbtest::AddImageResource("scene-dot.png", dot);
    sparks->SetParticleProperty("velocity", Table("{x = 0, y = 5}"));
    sparks->SetParticleProperty("image", Table("'scene-dot.png'"));
    sparks->ApplyIntProperty("emitCount", 1);
    sparks->Update(0);
    ASSERT_EQ(50, spray.Live());
    Particle* p = static_cast<Particle*>(spray.manager->GetChildren().front());
    EXPECT_EQ(Point<float>(0, 5), p->m_Velocity);
    EXPECT_NE(nullptr, p->GetImage());
    EXPECT_EQ(0u, p->GetDrawMode() & DRAWMODE_COLORFILL);
}

TEST_F(SceneTest, BufferedEmittersHandOutTheirPoolOnce)
{
    Spray spray;
    s_Destroyed = 0;
    auto* buffered = new BufferedIdenticalParticleEmitter("", spray.manager);
    spray.root.AddChild(buffered, "");
    buffered->ApplyProperties(Table("{emitCount = 3, numParticles = 4, interval = 32, "
                                    "particleTemplate = {lifetime = 1000}}"));
    buffered->SetParticleDestroyCallback(&CountDestroyed);
    buffered->BufferParticles();
    EXPECT_EQ(12, buffered->GetPoolCount());
    int prepared = 0;
    buffered->SetPrepareFunction([](Particle*, void* count) { ++*static_cast<int*>(count); },
                                 &prepared);
    buffered->Start();
    spray.passes.Step(4);
    EXPECT_EQ(12, spray.Live());
    EXPECT_EQ(12, prepared);
    EXPECT_EQ(12, buffered->GetPoolNext());
    EXPECT_EQ(0, s_Destroyed);

    // Rebuffering releases only what was never handed out.
    buffered->ApplyIntProperty("emitCount", 2);
    buffered->BufferParticles();
    buffered->ApplyIntProperty("emitCount", 1);
    buffered->Update(32);
    EXPECT_EQ(16, spray.Live());
    EXPECT_EQ(0, buffered->GetEmitCount());
    buffered->ApplyIntProperty("emitCount", 1);
    buffered->BufferParticles();
    EXPECT_EQ(4, s_Destroyed);
    EXPECT_EQ(4, buffered->GetPoolCount());

    // An endless emitter gets no pool and makes its particles as it goes.
    buffered->ApplyIntProperty("emitCount", -1);
    buffered->BufferParticles();
    EXPECT_EQ(0, buffered->GetPoolCount());
    EXPECT_EQ(8, s_Destroyed);
    buffered->Update(32);
    EXPECT_EQ(20, spray.Live());

    // A plain buffered emitter with a factory that skips some particles.
    BufferedParticleEmitter plain(spray.manager);
    plain.ApplyIntProperty("emitCount", 2);
    plain.ApplyIntProperty("numParticles", 3);
    static int made = 0;
    made = 0;
    plain.SetFactory(
        [](ParticleEmitter* e, void*) -> Particle* {
            return ++made % 2 == 0 ? nullptr : ParticleEmitter::CreateParticle(e, nullptr);
        },
        nullptr);
    plain.BufferParticles();
    plain.Emit();
    plain.Emit();
    plain.Emit(); // the count ran out
    EXPECT_EQ(23, spray.Live());
}

// Emitters whose numbers come from data ask for a billion particles an emission, a billion
// emissions ahead, or a billion each pass from a factory that makes none: the manager holds
// no more than its most, what an emission makes or tries stops there, and no pool is made
// larger than the manager holds.
TEST_F(SceneTest, AManagerHoldsItsMostParticlesWhateverItsEmittersAsk)
{
    Spray spray;
    const int most = int(ParticleManager::kMostParticles);
    auto* endless = new IdenticalParticleEmitter("", spray.manager);
    spray.root.AddChild(endless, "");
    endless->ApplyProperties(Table("{emitCount = -1, interval = 0, numParticles = 1e9}"));
    endless->Start();
    spray.passes.Step(20);
    EXPECT_EQ(most, spray.Live());
    endless->Kill();

    const auto clear = [&spray] {
        for (Actor* p : std::list<Actor*>(spray.manager->GetChildren()))
            p->Kill();
        spray.passes.Step();
    };
    clear();
    auto* ahead = new BufferedIdenticalParticleEmitter("", spray.manager);
    spray.root.AddChild(ahead, "");
    ahead->ApplyProperties(Table("{emitCount = 1e9, numParticles = 1e9, interval = 0}"));
    ahead->BufferParticles();
    EXPECT_LE(ahead->GetPoolCount(), most);
    ahead->Start();
    spray.passes.Step(3);
    EXPECT_EQ(most, spray.Live());
    ahead->Kill();

    static long long tried = 0;
    tried = 0;
    clear();
    ParticleEmitter* empty = new ParticleEmitter(spray.manager);
    spray.root.AddChild(empty, "");
    empty->SetFactory([](ParticleEmitter*, void*) -> Particle* { return ++tried, nullptr; },
                      nullptr);
    empty->ApplyProperties(Table("{emitCount = -1, interval = 0, numParticles = 1e9}"));
    empty->Start();
    spray.passes.Step(3);
    EXPECT_LE(tried, 4LL * most);
}

// A list of names from data (a level's particle pictures) is walked under the meter of the
// file or level it came from, as every walk over its values is: a list far longer than any
// written one ends the work, named, instead of running on unmetered.
TEST_F(SceneTest, AListOfNamesFromDataIsWalkedUnderItsMeter)
{
    Run("Resources.SceneNamed = {class = 'IdenticalParticleEmitter', emitCount = 1, "
        "numParticles = 1, particleTemplate = {lifetime = 64}}");
    Spray spray;
    IdenticalParticleEmitter* named = new IdenticalParticleEmitter("SceneNamed", spray.manager);
    spray.root.AddChild(named, "");
    const LuaPlus::LuaObject names =
        Table("(function() local t = {} for i = 1, 100000 do t[i] = 'n' .. i end return t end)()");
    WorkMeter meter("level \"Named\"", 1000);
    EXPECT_THROW(named->SetParticleProperty("randomizedImage", names), WorkSpent);
    EXPECT_TRUE(meter.IsSpent());
}

} // namespace scenetest

// One tick of a walled field with 1, 10 and 50 balls, their trails and motion blur on:
// the world's step with the balls' contact handling, then every ball's tick (speed
// regulation, effects) and the particles' tick, and the deletion of expired particles.
// Reports the time per tick and per ball. Runs from the build folder: the game's scripts
// come from the program's embedded resources, the ball images from Assets/.
#include "app/ArcadeApp.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/PropertyType.h"
#include "core/Random.h"
#include "field/ArcadeStructure.h"
#include "field/Ball.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "physics/World.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsApplicationResourceScanner.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "scene/Actor.h"
#include "scene/ParticleManager.h"
#include "scene/SceneHost.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

void PrepareEngine()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    LuaPlus::LuaState* state = GetGlobalLuaState();
    InitLuaState(state);
    BuildPropertyTypeTable();
    ClassManager::GetInstance()->InitializeClasses();
    static ResourceManager* resources = new ResourceManager(state);
    resources->AddLoader(new SDLImageLoader());
    resources->AddScanner(new WindowsApplicationResourceScanner());
    resources->AddScanner(new WindowsDirectoryResourceScanner("Assets/"));
    resources->ScanAll();
    static Config* config = new Config(state);
    (void)config;
    for (const char* script : {"Utility.lua", "bumperlux_Const.cfg", "Resource.lua"})
        MakoLuaState::DoResourceFile(state, script);
    MakoLuaState::LoadString(state, "LoadConfig { music_volume = 100, sfx_volume = 100 }");
    for (const std::string& script : ArcadeApp::GetScriptNames())
        MakoLuaState::DoResourceFile(state, script);
    Ball::CreateBallImages();
}

LuaPlus::LuaObject SpeedTable()
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    MakoLuaState::LoadString(state, "_bench_ball = {speed = 600}");
    return state->GetGlobal("_bench_ball");
}

// The controller as far as balls need one: its particle manager and its emitter group.
class BenchLogic : public ArcadeGameLogic
{
public:
    explicit BenchLogic(ParticleManager* particles)
    {
        m_ParticleManager = particles;
        gLogic = this;
    }
    ~BenchLogic() override { gLogic = nullptr; }
    void CheckForLevelEnd(double, double) override {}
    Actor* FindActor(const std::string&) const override { return nullptr; }
    void ApplyGroupID(Actor*) override {}
    void AddBall(Ball*) override {}
    void AddPowerup(Powerup*) override {}
    void AddFlyingText(FlyingText*) override {}
    void AddExplosion(Explosion*) override {}
    void AddSpark(Spark*) override {}
    void AddLaserBeam(LaserBeam*) override {}
    void AddEmitter(ParticleEmitter*) override {}
    void AddActor(Actor*) override {}
    void AddScore(int) override {}
    void CollectPowerup(Powerup*, Paddle*) override {}
    void CountPaddleHit() override {}
    void ResetHitCounter() override {}
    bool ShowPrompt(const std::string&, const std::string&) override { return false; }
    void ShowMessage(const std::string&, int) override {}
    void OnPaddleCombo(const std::string&, double, double) override {}
    void LockBall(Ball*, Brick*) override {}
    void UnlockBall(Ball*) override {}
    const std::vector<Shield*>& GetShields() const override { return m_Shields; }
    const std::vector<Paddle*>& GetPaddles() const override { return m_Paddles; }
    const std::vector<Wall*>& GetWalls() const override { return m_Walls; }

private:
    std::vector<Shield*> m_Shields;
    std::vector<Paddle*> m_Paddles;
    std::vector<Wall*> m_Walls;
};

// The field: four walls, the balls with their emitters, the particle manager; one tick
// steps the world and then ticks every actor, as the playing state does.
class Field : public Actor
{
public:
    explicit Field(int balls)
    {
        world.SetCollisionIterations(10);
        particles = new ParticleManager();
        AddChild(particles, "Particles");
        logic = std::make_unique<BenchLogic>(particles);
        const int walls[][4] = {
            {0, 0, 16, 480}, {624, 0, 16, 480}, {0, 20, 640, 16}, {0, 470, 640, 16}};
        for (const auto& w : walls) {
            ArcadeStructure* wall = new ArcadeStructure();
            wall->SetRectangle(w[2], w[3], false);
            wall->SetPosition(w[0], w[1]);
            wall->SetCategoryBits(128);
            AddChild(wall, "");
            wall->UpdatePhysics(&world);
        }
        MakoSrand(5);
        for (int i = 0; i < balls; ++i) {
            const double angle = 0.4 + 2.399 * i;
            Ball* ball = new Ball(40 + (i * 53) % 560, 60 + (i * 37) % 380, 600 * std::cos(angle),
                                  600 * std::sin(angle), true);
            // A breakthru ball always leaves a trail; at 600 px/s it shows 7 blur copies.
            ball->SetCorona("Breakthru");
            ball->ApplyProperties(SpeedTable());
            AddChild(ball, "");
            ball->UpdatePhysics(&world);
        }
    }
    ~Field() override
    {
        DestroyChildren();
        SceneHost::DeleteScheduledActors();
    }

    void Tick() override
    {
        world.Step(0.032, &ArcadeStructure::OnWorldContact, logic.get());
        Actor::Tick();
        SceneHost::DeleteScheduledActors();
    }

    World world;
    ParticleManager* particles;
    std::unique_ptr<BenchLogic> logic;
};

void RunField(benchmark::State& bench, bool lowEffects)
{
    PrepareEngine();
    const int balls = int(bench.range(0));
    Ball::SetLowEffects(lowEffects);
    Field field(balls);
    Ball::SetLowEffects(false);
    for (int i = 0; i < 30; ++i) // trails and blur in full flow
        field.Tick();
    for (auto _ : bench)
        field.Tick();
    bench.counters["ticks/s"] =
        benchmark::Counter(double(bench.iterations()), benchmark::Counter::kIsRate);
    bench.counters["s/ball"] =
        benchmark::Counter(double(bench.iterations()) * balls,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    bench.counters["particles"] = double(field.particles->GetChildren().size());
}

void BM_BallFieldTick(benchmark::State& bench)
{
    RunField(bench, false);
}
BENCHMARK(BM_BallFieldTick)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

// The same without trails and blur ("--lowFX"): what the balls and the world cost alone.
void BM_BallFieldTickLowEffects(benchmark::State& bench)
{
    RunField(bench, true);
}
BENCHMARK(BM_BallFieldTickLowEffects)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace

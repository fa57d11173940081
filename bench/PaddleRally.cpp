// A rally on the play field: ten balls in a box of walls and a paddle that follows the
// lowest ball and keeps swinging at it (taps, and every few strokes a charged whack), so
// the physics step, the paddle's swing machine and its ball impacts (deflection, power,
// sprays) all run as in play. Reports the time per 32 ms tick. The game's scripts come
// from the source tree and its images from the asset pack the build writes (Assets/).
#include "app/ArcadeApp.h"
#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/PropertyType.h"
#include "core/Random.h"
#include "field/Ball.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "physics/World.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleManager.h"
#include "scene/SceneHost.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

// The box's walls: solid structures of a class of their own, which balls bounce off.
class RallyWall : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();
};
MAKO_IMPLEMENT_CLASS(RallyWall, "RallyWall", "ArcadeStructure", nullptr, nullptr);

namespace {

void PrepareGame()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    LuaPlus::LuaState* state = GetGlobalLuaState();
    InitLuaState(state);
    BuildPropertyTypeTable();
    ClassManager::GetInstance()->InitializeClasses();
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    static Config* config = new Config(state);
    (void)config;
    static ResourceManager* resources = new ResourceManager(state);
    resources->AddLoader(new SDLImageLoader());
    const std::string source = BB_SOURCE_DIR;
    for (const char* folder :
         {"/MakoEngine/Source/scripts/", "/game/", "/MakoArcadeLib/Source/scripts/"})
        resources->AddScanner(new WindowsDirectoryResourceScanner(source + folder));
    resources->AddScanner(new WindowsDirectoryResourceScanner(BB_BENCH_ASSETS));
    resources->ScanAll();
    for (const char* script : {"Utility.lua", "bumperlux_Const.cfg", "Resource.lua"})
        MakoLuaState::DoResourceFile(state, script);
    for (const std::string& script : ArcadeApp::GetScriptNames())
        MakoLuaState::DoResourceFile(state, script);
}

// The controller of the rally: what the field hands over becomes a child of the field and
// joins its world; nothing is recorded.
class RallyLogic : public ArcadeGameLogic
{
public:
    RallyLogic(Actor* field, World* world) : m_Field(field), m_World(world)
    {
        m_ParticleManager = new ParticleManager();
        field->AddChild(m_ParticleManager, "Particles");
        gLogic = this;
    }
    ~RallyLogic() override { gLogic = nullptr; }

    void CheckForLevelEnd(double, double) override {}
    Actor* FindActor(const std::string&) const override { return nullptr; }
    void ApplyGroupID(Actor*) override {}
    void AddBall(Ball* b) override { Take(b); }
    void AddPowerup(Powerup*) override {}
    void AddFlyingText(FlyingText*) override {}
    void AddExplosion(Explosion*) override {}
    void AddSpark(Spark*) override {}
    void AddLaserBeam(LaserBeam*) override {}
    void AddEmitter(ParticleEmitter* e) override { Take(e); }
    void AddActor(Actor* a) override { Take(a); }
    void AddScore(int) override {}
    void CollectPowerup(Powerup*, Paddle*) override {}
    void CountPaddleHit() override { ++paddleHits; }
    void ResetHitCounter() override {}
    bool ShowPrompt(const std::string&, const std::string&) override { return false; }
    void ShowMessage(const std::string&, int) override {}
    void OnPaddleCombo(const std::string&, double, double) override {}
    void LockBall(Ball*, Brick*) override {}
    void UnlockBall(Ball*) override {}
    const std::vector<Shield*>& GetShields() const override { return m_Shields; }
    const std::vector<Paddle*>& GetPaddles() const override { return m_Paddles; }
    const std::vector<Wall*>& GetWalls() const override { return m_Walls; }

    long paddleHits = 0;

private:
    void Take(Actor* actor)
    {
        if (!actor->GetParent())
            m_Field->AddChild(actor, "");
        if (ArcadeActor* arcade = dynamic_cast<ArcadeActor*>(actor))
            arcade->UpdatePhysics(m_World);
    }
    Actor* m_Field;
    World* m_World;
    std::vector<Shield*> m_Shields;
    std::vector<Paddle*> m_Paddles;
    std::vector<Wall*> m_Walls;
};

class Field : public Actor
{
public:
    Field() : logic(this, &world)
    {
        world.SetCollisionIterations(10);
        // The box: walls on all four sides, so no ball is lost.
        Wall("LeftWall", 0, 0, 16, 480);
        Wall("RightWall", 624, 0, 16, 480);
        Wall("TopWall", 0, 0, 640, 16);
        Wall("BottomWall", 0, 464, 640, 16);
        paddle = new Paddle();
        Place(paddle, "Paddle");
        MakoSrand(7);
        for (int i = 0; i < 10; ++i) {
            const double angle = 3.6 + 0.22 * i;
            Ball* ball = new Ball(60 + 52 * i, 120 + 17 * (i % 5), 300 * std::cos(angle),
                                  300 * std::sin(angle), true);
            Place(ball, "");
            balls.push_back(ball);
        }
    }
    ~Field() override
    {
        DestroyChildren();
        SceneHost::DeleteScheduledActors();
    }

    // One tick of play: the player's hand, the physics step, the actors' tick.
    void Play()
    {
        Steer();
        world.Step(0.032, &ArcadeStructure::OnWorldContact, &logic);
        Tick();
        KeepInBox();
        SceneHost::DeleteScheduledActors();
        ++ticks;
    }

    World world;
    RallyLogic logic;
    Paddle* paddle = nullptr;
    std::vector<Ball*> balls;

private:
    void Wall(const char* name, int x, int y, int w, int h)
    {
        ArcadeStructure* wall = new RallyWall();
        wall->SetRectangle(w, h, false);
        wall->SetPosition(x, y);
        wall->SetCategoryBits(128);
        wall->ApplyStringProperty("name", name);
        Place(wall, name);
    }
    void Place(ArcadeStructure* structure, const char* name)
    {
        AddChild(structure, name);
        structure->UpdatePhysics(&world);
    }
    // The balls do not yet rebound from walls of their own accord: a ball that reaches the
    // box's inner edge is turned back into the field, as a wall would.
    void KeepInBox()
    {
        for (Ball* ball : balls) {
            PhysicsBody* body = ball->GetPhysicsBody();
            if (!body)
                continue;
            const Vector2D at = body->GetPosition();
            Vector2D v = body->GetLinearVel();
            if ((at.x < 24 && v.x < 0) || (at.x > 616 && v.x > 0))
                v.x = -v.x;
            if ((at.y < 24 && v.y < 0) || (at.y > 456 && v.y > 0))
                v.y = -v.y;
            body->SetLinearVel(v.x, v.y);
        }
        // The paddle stays between the side walls.
        PhysicsBody* body = paddle->GetPhysicsBody();
        const Vector2D at = body->GetPosition();
        const double half = paddle->GetWidth() / 2.0;
        if (at.x < 16 + half || at.x > 624 - half)
            body->SetPosition(std::max(16 + half, std::min(624 - half, at.x)), at.y);
    }

    // Follows the lowest ball and swings: a tap every 12 ticks, a held whack every fifth.
    void Steer()
    {
        const Ball* lowest = nullptr;
        for (const Ball* ball : balls)
            if (!lowest || ball->GetY() > lowest->GetY())
                lowest = ball;
        const int target = lowest->GetX() + lowest->GetWidth() / 2;
        const int centre = paddle->GetX() + paddle->GetWidth() / 2;
        const std::intptr_t move = std::max(-40, std::min(40, target - centre));
        Event motion = MakeEvent(ARCADE_POINTERMOVE, 0, reinterpret_cast<void*>(move), nullptr);
        paddle->OnPointerMove(motion);
        paddle->OnPaddleUpdate(MakeEvent(ARCADE_PADDLEUPDATE));
        const int phase = ticks % 60;
        if (phase % 12 == 0)
            paddle->Press();
        const bool whack = phase >= 48;
        if (phase % 12 == (whack ? 11 : 2))
            paddle->Release();
    }

    long ticks = 0;
};

void BM_PaddleRallyTick(benchmark::State& bench)
{
    PrepareGame();
    Field field;
    for (int i = 0; i < 100; ++i)
        field.Play();
    const long hitsBefore = field.logic.paddleHits;
    for (auto _ : bench)
        field.Play();
    bench.SetItemsProcessed(bench.iterations());
    // How often a ball struck the paddle per 100 ticks: the rally is really played.
    bench.counters["paddleHitsPer100Ticks"] =
        100.0 * double(field.logic.paddleHits - hitsBefore) / double(bench.iterations());
}
BENCHMARK(BM_PaddleRallyTick)->Unit(benchmark::kMicrosecond);

} // namespace

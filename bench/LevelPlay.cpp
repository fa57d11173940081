// A level of the game as the player has it, on the busiest written level: one full pass of
// play (the game controller's tick: the paddles' update, the physics step with every
// contact, every actor's and particle's tick; then the game screen drawn into the back
// buffer) with ten balls in play and their trails, in each display backend; loading the
// level (building it, filling the field and composing its first frame); and the peak
// memory of the process. Reads the game's scripts from the source folders and the asset
// pack (levels included) from the build's Assets/.
#include "core/Config.h"
#include "core/Random.h"
#include "display/Canvas.h"
#include "display/DisplayManager.h"
#include "field/Ball.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "scene/SceneHost.h"
#include "screens/Screen.h"
#include "support/BenchGame.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

const char* const kLevels[] = {"Welcome",       "Crates",     "FallingGold", "LottaLoot",
                               "ScreamForHelp", "TestBricks", "TestStarts"};
// How many passes one game is played before it starts again, so that the field stays as
// busy as a level in full swing (balls break bricks, loot falls, emitters run).
const int kPassesPerGame = 150;
const int kBalls = 10;

double gMsPerPass[2] = {0.0, 0.0}; // SDL, Direct3D stand-in

// The level files of the pack, once.
void LoadLevels()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    for (const char* name : kLevels)
        MakoLuaState::DoResourceFile(GetGlobalLuaState(), std::string(name) + ".lua");
}

// The level with the most bricks and actors: the busiest field.
std::string BusiestLevel()
{
    static std::string busiest;
    if (!busiest.empty())
        return busiest;
    std::size_t most = 0;
    for (const char* name : kLevels) {
        LuaPlus::LuaObject table = GetGlobalLuaState()->GetGlobals()["Levels"][name];
        std::size_t count = 0;
        for (const char* key : {"compiledBricks", "levelActors", "extraActors"})
            if (table[key].IsTable())
                count += std::size_t(table[key].GetCount());
        if (count > most) {
            most = count;
            busiest = name;
        }
    }
    return busiest;
}

// The game screen with a play layer and a running game of the busiest level.
class Game
{
public:
    Game()
    {
        benchgame::OpenGame();
        LoadLevels();
        screen.reset(new Screen("GameScreen", "bkgGame.jpg", nullptr));
        layer = new Actor();
        screen->AddChild(layer, "RootActor");
    }
    ~Game()
    {
        End();
        screen.reset();
        SceneHost::DeleteScheduledActors();
    }

    // Builds the level (the busiest written one unless named) and fills the field (the
    // controller runs on to the brick drop).
    void Load(const std::string& level = std::string())
    {
        End();
        LuaPlus::LuaObject options;
        options.AssignNewTable(GetGlobalLuaState());
        options.SetString("gameType", "Levels");
        options.SetString("levelName", (level.empty() ? BusiestLevel() : level).c_str());
        options.SetInteger("ballsLeft", 9);
        GetGlobalLuaState()->GetGlobals().SetObject("GameOptions", options);
        logic = new ArcadeGameLogic(screen.get(), layer, options);
        screen->SetLogic(logic);
        logic->StartGame();
    }

    // From the brick drop straight to play with ten free balls.
    void Play()
    {
        logic->SetState("WaitForSpawn");
        logic->SetState("SpawnBall");
        for (int i = 0; i < kBalls; ++i) {
            const double angle = 0.4 + 0.23 * i;
            Ball* ball =
                new Ball(120 + 40 * i, 300, 260 * std::cos(angle), -260 * std::sin(angle), true);
            logic->AddBall(ball);
        }
    }

    void End()
    {
        if (logic) {
            screen->SetLogic(nullptr);
            logic = nullptr;
            layer->DestroyChildren();
        }
        SceneHost::DeleteScheduledActors();
    }

    // One pass is the controller's tick, then the screen drawn into the back buffer.
    void Tick()
    {
        logic->Tick();
        SceneHost::DeleteScheduledActors();
    }
    void Draw(Canvas& canvas) { screen->Render(canvas); }

    std::unique_ptr<Screen> screen;
    Actor* layer = nullptr;
    LevelManager levels;
    ArcadeGameLogic* logic = nullptr;
};

// A level of `bricks` red bricks in rows of 19 from the field's top down (past the
// paddle when there are many): what its size costs a pass of play.
std::string SizedLevel(int bricks)
{
    const std::string name = "Sized" + std::to_string(bricks);
    MakoLuaState::LoadString(GetGlobalLuaState(),
                             "local t = {} for i = 0, " + std::to_string(bricks - 1) +
                                 " do t[#t + 1] = { resource = 'RedBrick', position = { i % 19 "
                                 "+ 1, math.floor(i / 19) + 1 } } end Levels." +
                                 name + " = { compiledBricks = t }");
    return name;
}

void PlayPasses(benchmark::State& state, bool accel3d, int bricks = 0)
{
    DisplayManager manager;
    if (!benchgame::StartDisplay(manager, accel3d)) {
        state.SkipWithError("the display backend could not be started");
        return;
    }
    Canvas canvas(manager.GetImageRenderer(), false);
    MakoSrand(7);
    Game game;
    const std::string level = bricks > 0 ? SizedLevel(bricks) : std::string();
    int passes = 0;
    double tickSeconds = 0.0, drawSeconds = 0.0;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        if (passes % kPassesPerGame == 0) {
            state.PauseTiming();
            game.Load(level);
            game.Play();
            game.Draw(canvas); // the first frame composes the bricks' pictures
            state.ResumeTiming();
        }
        const auto start = Clock::now();
        game.Tick();
        const auto ticked = Clock::now();
        game.Draw(canvas);
        tickSeconds += std::chrono::duration<double>(ticked - start).count();
        drawSeconds += std::chrono::duration<double>(Clock::now() - ticked).count();
        ++passes;
    }
    const double perPass = passes ? 1000.0 / passes : 0.0;
    gMsPerPass[accel3d ? 1 : 0] = (tickSeconds + drawSeconds) * perPass;
    state.counters["ms_per_pass"] = gMsPerPass[accel3d ? 1 : 0];
    state.counters["tick_ms"] = tickSeconds * perPass;
    state.counters["draw_ms"] = drawSeconds * perPass;
    state.counters["balls"] = double(game.logic->GetBalls().GetMembers().size());
    state.counters["bricks"] = double(game.logic->GetBricks().GetMembers().size());
    state.SetLabel(level.empty() ? BusiestLevel() : level);
}

void BM_LevelPassSDL(benchmark::State& state)
{
    PlayPasses(state, false);
}
BENCHMARK(BM_LevelPassSDL)->Unit(benchmark::kMillisecond)->Iterations(1500);

void BM_LevelPassDirect3D(benchmark::State& state)
{
    PlayPasses(state, true);
}
BENCHMARK(BM_LevelPassDirect3D)->Unit(benchmark::kMillisecond)->Iterations(1500);

// A pass of play by the number of bricks, up to the most a level may hold (1000): a pass
// must stay within its 32 ms at the limit.
void BM_LevelPassBySize(benchmark::State& state)
{
    PlayPasses(state, false, int(state.range(0)));
}
BENCHMARK(BM_LevelPassBySize)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(300)
    ->Arg(250)
    ->Arg(500)
    ->Arg(750)
    ->Arg(1000);

// Building the level from its table, filling the field, and its first frame (the bricks
// compose their pictures when first drawn), in the SDL backend.
void BM_LoadLevel(benchmark::State& state)
{
    DisplayManager manager;
    benchgame::StartDisplay(manager, false);
    Canvas canvas(manager.GetImageRenderer(), false);
    Game game;
    for (auto _ : state) {
        game.Load();
        game.Draw(canvas);
        state.PauseTiming();
        game.End();
        state.ResumeTiming();
    }
    state.SetLabel(BusiestLevel());
}
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond)->Iterations(20);

// The two backends side by side, and the process's peak resident memory so far.
void BM_LevelSummary(benchmark::State& state)
{
    const double ratio = gMsPerPass[0] > 0.0 ? gMsPerPass[1] / gMsPerPass[0] : 0.0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ratio);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peakMb = usage.ru_maxrss / 1024.0;
    state.counters["d3d_over_sdl"] = ratio;
    state.counters["peak_mb"] = peakMb;
    std::printf(
        "Level pass: SDL %.3f ms, Direct3D stand-in %.3f ms (%.2f x); peak memory %.1f MB\n",
        gMsPerPass[0], gMsPerPass[1], ratio, peakMb);
}
BENCHMARK(BM_LevelSummary)->Iterations(1);

} // namespace

// Levels of the game as the player has them: the whole main-loop pass of play (the event
// phase with SDL's events and the posted queue, the game controller's tick: the paddles'
// update, the physics step with every contact, every actor's and particle's tick; the game
// screen drawn into the back buffer; the frame presented; deferred deletion) with ten balls
// in play and their trails, in each display backend, on "Falling Gold" and on the busiest
// level that ships; loading the busiest level (building it, filling the field and composing
// its first frame); and the peak memory of the process. Each phase is timed in the main
// thread's CPU time, which is what the pass costs whatever else the machine does. Reads the
// game's scripts from the source folders and the asset pack (levels included) from the
// build's Assets/. Present is only real under a real display: without SDL_VIDEODRIVER set,
// the benchmark presents to the X server DISPLAY names (a desktop, or Xvfb: `xvfb-run -a
// make bench`), else to the dummy driver, which presents nothing; the summary names it.
#include "core/Config.h"
#include "core/EventQueue.h"
#include "core/Random.h"
#include "display/Canvas.h"
#include "display/DisplayManager.h"
#include "display/DisplayUtils.h"
#include "display/FrameRecorder.h"
#include "field/Ball.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "scene/SceneHost.h"
#include "screens/Screen.h"
#include "support/BenchGame.h"
#include "support/Figure.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// How many passes one game is played before it starts again, so that the field stays as
// busy as a level in full swing (balls break bricks, loot falls, emitters run).
const int kPassesPerGame = 150;
const int kBalls = 10;
// The targets a pass is held to: main-thread CPU per pass in the SDL backend, and the
// Direct3D stand-in's allowance over it.
const double kTargetPassMs = 1.0;
const double kTargetD3DRatio = 1.5;

enum Phase { PHASE_EVENTS, PHASE_TICK, PHASE_DRAW, PHASE_PRESENT, PHASE_DELETE, PHASE_COUNT };
const char* const kPhaseNames[PHASE_COUNT] = {"events_ms", "tick_ms", "draw_ms", "present_ms",
                                              "delete_ms"};

// Whole-pass figures, by level and backend (0 SDL, 1 Direct3D stand-in): only levels a
// benchmark played at least one pass of.
std::map<std::string, double> gMsPerPass[2];

benchfigure::Figure MsPerPass(int backend, const std::string& level)
{
    const auto found = gMsPerPass[backend].find(level);
    if (found == gMsPerPass[backend].end())
        return std::nullopt;
    return found->second;
}

// The video driver, unless the caller chose one: the X server when there is one.
// The SDL video driver the display backends presented to, for the summary.
std::string gPresentedTo;

[[maybe_unused]] const bool gDriverChosen = [] {
    if (!std::getenv("SDL_VIDEODRIVER"))
        setenv("SDL_VIDEODRIVER", std::getenv("DISPLAY") ? "x11" : "dummy", 1);
    return true;
}();

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The level files that ship (every level script of the game's Levels folder), once.
const std::vector<std::string>& ShippedLevels()
{
    static std::vector<std::string> names;
    if (!names.empty())
        return names;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(BB_SOURCE_DIR) + "/game/Levels")) {
        const std::filesystem::path path = entry.path();
        const std::string stem = path.stem().string();
        // Test levels are for the developers' own checks and are not offered to players.
        if (path.extension() == ".lua" && stem.rfind("Test", 0) != 0)
            names.push_back(stem);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        MakoLuaState::DoResourceFile(GetGlobalLuaState(), name + ".lua");
    return names;
}

// The shipped level with the most bricks and actors: the busiest field.
std::string BusiestLevel()
{
    static std::string busiest;
    if (!busiest.empty())
        return busiest;
    std::size_t most = 0;
    for (const std::string& name : ShippedLevels()) {
        LuaPlus::LuaObject table = GetGlobalLuaState()->GetGlobals()["Levels"][name.c_str()];
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

// The game screen with a play layer and a running game of one level.
class Game
{
public:
    explicit Game(std::string level) : m_Level(std::move(level))
    {
        benchgame::OpenGame();
        ShippedLevels();
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

    // Builds the level and fills the field (the controller runs on to the brick drop).
    void Load()
    {
        End();
        LuaPlus::LuaObject options;
        options.AssignNewTable(GetGlobalLuaState());
        options.SetString("gameType", "Levels");
        options.SetString("levelName", m_Level.c_str());
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

    // The event phase as the main loop has it: SDL's events first, then the posted queue
    // (routed events to their receivers, the application's own to the shown screen).
    void DispatchEvents()
    {
        EventQueue& queue = GetPostedEventQueue();
        Event event;
        for (;;) {
            if (SDL_PollEvent(&event)) {
                screen->OnEvent(event);
                continue;
            }
            if (!queue.Take(event))
                break;
            if (event.type == MAKO_ROUTEDEVENT) {
                EventQueue::DeliverRouted(event);
            } else {
                screen->OnEvent(event);
                EventQueue::ReleaseEventData(event);
            }
        }
    }
    void Tick() { logic->Tick(); }
    void Draw(Canvas& canvas) { screen->Render(canvas); }

    std::unique_ptr<Screen> screen;
    Actor* layer = nullptr;
    LevelManager levels;
    ArcadeGameLogic* logic = nullptr;

private:
    std::string m_Level;
};

// With fullRedraw every frame is drawn and presented whole, as before the screen was
// drawn only where it changed: the figure to compare with.
void PlayPasses(benchmark::State& state, bool accel3d, const std::string& level,
                bool fullRedraw = false)
{
    DisplayManager manager;
    manager.SetFullRedraw(fullRedraw);
    if (!benchgame::StartDisplay(manager, accel3d)) {
        state.SkipWithError("the display backend could not be started");
        return;
    }
    gPresentedTo = CurrentSDLVideoDriverName();
    Canvas canvas(manager.GetImageRenderer(), false);
    MakoSrand(7);
    Game game(level);
    int passes = 0;
    double seconds[PHASE_COUNT] = {};
    double regionPixels = 0.0, regionRects = 0.0, redrawnCalls = 0.0;
    for (auto _ : state) {
        if (passes % kPassesPerGame == 0) {
            state.PauseTiming();
            game.Load();
            game.Play();
            game.Draw(canvas); // the first frame composes the bricks' pictures
            state.ResumeTiming();
        }
        double mark = ThreadSeconds();
        auto lap = [&mark, &seconds](Phase phase) {
            const double now = ThreadSeconds();
            seconds[phase] += now - mark;
            mark = now;
        };
        game.DispatchEvents();
        lap(PHASE_EVENTS);
        game.Tick();
        lap(PHASE_TICK);
        game.Draw(canvas);
        lap(PHASE_DRAW);
        manager.Flip();
        lap(PHASE_PRESENT);
        if (const FrameRecorder* recorder = manager.GetRecorder()) {
            regionPixels += double(recorder->GetRegion().GetArea());
            regionRects += double(recorder->GetRegion().GetRects().size());
            redrawnCalls += recorder->GetLastDrawCount();
        }
        SceneHost::DeleteScheduledActors();
        lap(PHASE_DELETE);
        ++passes;
    }
    const double perPass = passes ? 1000.0 / passes : 0.0;
    double total = 0.0;
    for (int phase = 0; phase < PHASE_COUNT; ++phase) {
        state.counters[kPhaseNames[phase]] = seconds[phase] * perPass;
        total += seconds[phase] * perPass;
    }
    if (!fullRedraw && passes > 0)
        gMsPerPass[accel3d ? 1 : 0][level] = total;
    state.counters["pass_cpu_ms"] = total;
    // What was drawn again and presented, a pass on average: share of the screen,
    // rectangles, drawing calls.
    state.counters["region_pct"] = passes ? 100.0 * regionPixels / passes / (640.0 * 480.0) : 0.0;
    state.counters["region_rects"] = passes ? regionRects / passes : 0.0;
    state.counters["redrawn_calls"] = passes ? redrawnCalls / passes : 0.0;
    state.counters["balls"] = double(game.logic->GetBalls().GetMembers().size());
    state.counters["bricks"] = double(game.logic->GetBricks().GetMembers().size());
    state.SetLabel(level);
}

void BM_FallingGoldSDL(benchmark::State& state)
{
    PlayPasses(state, false, "FallingGold");
}
BENCHMARK(BM_FallingGoldSDL)->Unit(benchmark::kMillisecond)->Iterations(1500);

void BM_FallingGoldDirect3D(benchmark::State& state)
{
    PlayPasses(state, true, "FallingGold");
}
BENCHMARK(BM_FallingGoldDirect3D)->Unit(benchmark::kMillisecond)->Iterations(1500);

void BM_FallingGoldSDLFullRedraw(benchmark::State& state)
{
    PlayPasses(state, false, "FallingGold", true);
}
BENCHMARK(BM_FallingGoldSDLFullRedraw)->Unit(benchmark::kMillisecond)->Iterations(1500);

void BM_FallingGoldDirect3DFullRedraw(benchmark::State& state)
{
    PlayPasses(state, true, "FallingGold", true);
}
BENCHMARK(BM_FallingGoldDirect3DFullRedraw)->Unit(benchmark::kMillisecond)->Iterations(1500);

void BM_BusiestLevelSDL(benchmark::State& state)
{
    benchgame::OpenGame();
    PlayPasses(state, false, BusiestLevel());
}
BENCHMARK(BM_BusiestLevelSDL)->Unit(benchmark::kMillisecond)->Iterations(1500);

void BM_BusiestLevelDirect3D(benchmark::State& state)
{
    benchgame::OpenGame();
    PlayPasses(state, true, BusiestLevel());
}
BENCHMARK(BM_BusiestLevelDirect3D)->Unit(benchmark::kMillisecond)->Iterations(1500);

// A level of `bricks` red bricks in rows of 19 from the field's top down (past the paddle
// when there are many): what a level's size costs a pass of play, up to the game's limit.
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

void BM_LevelPassBySize(benchmark::State& state)
{
    benchgame::OpenGame();
    PlayPasses(state, false, SizedLevel(int(state.range(0))));
}
BENCHMARK(BM_LevelPassBySize)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(300)
    ->Arg(250)
    ->Arg(500)
    ->Arg(750)
    ->Arg(1000);

// Building the busiest level from its table, filling the field, and its first frame (the
// bricks compose their pictures when first drawn), in the SDL backend.
void BM_LoadLevel(benchmark::State& state)
{
    DisplayManager manager;
    benchgame::StartDisplay(manager, false);
    Canvas canvas(manager.GetImageRenderer(), false);
    benchgame::OpenGame();
    Game game(BusiestLevel());
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

// With BB_BENCH_SHOTS naming a folder: the frame each backend presents after 120 passes of
// "Welcome", "Falling Gold" and the busiest level, saved there as BMP files
// (<level>-<backend>.bmp), so that builds can be compared picture by picture.
void BM_SaveFrames(benchmark::State& state)
{
    const char* folder = std::getenv("BB_BENCH_SHOTS");
    for (auto _ : state) {
        if (!folder)
            continue;
        benchgame::OpenGame();
        for (const std::string& level :
             {std::string("Welcome"), std::string("FallingGold"), BusiestLevel()}) {
            for (bool accel3d : {false, true}) {
                DisplayManager manager;
                if (!benchgame::StartDisplay(manager, accel3d))
                    continue;
                Canvas canvas(manager.GetImageRenderer(), false);
                MakoSrand(7);
                Game game(level);
                game.Load();
                game.Play();
                for (int pass = 0; pass < 120; ++pass) {
                    game.DispatchEvents();
                    game.Tick();
                    game.Draw(canvas);
                    manager.Flip();
                    SceneHost::DeleteScheduledActors();
                }
                const std::string path =
                    std::string(folder) + "/" + level + "-" + (accel3d ? "d3d" : "sdl") + ".bmp";
                SDL_SaveBMP(manager.GetScreenshotSurface(), path.c_str());
            }
        }
    }
}
BENCHMARK(BM_SaveFrames)->Iterations(1);

// Each level's pass in both backends against the targets, and the process's peak resident
// memory so far.
void BM_LevelSummary(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(gMsPerPass);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peakMb = usage.ru_maxrss / 1024.0;
    state.counters["peak_mb"] = peakMb;
    std::set<std::string> levels;
    for (const auto& backend : gMsPerPass)
        for (const auto& entry : backend)
            levels.insert(entry.first);
    const double d3dTarget = kTargetD3DRatio * kTargetPassMs;
    for (const std::string& level : levels) {
        const benchfigure::Figure sdl = MsPerPass(0, level), d3d = MsPerPass(1, level);
        const benchfigure::Figure ratio = benchfigure::Ratio(d3d, sdl);
        const std::string times = ratio ? benchfigure::Times(ratio) + " x the SDL figure; " : "";
        std::printf("Level pass %-14s SDL %s (target %.1f ms: %s), Direct3D stand-in %s "
                    "(%starget %.1f ms: %s)\n",
                    level.c_str(), benchfigure::Ms(sdl).c_str(), kTargetPassMs,
                    benchfigure::Verdict(sdl, kTargetPassMs), benchfigure::Ms(d3d).c_str(),
                    times.c_str(), d3dTarget, benchfigure::Verdict(d3d, d3dTarget));
    }
    std::printf("Presented to SDL's %s driver\n", gPresentedTo.c_str());
    std::printf("Peak memory %.1f MB\n", peakMb);
}
BENCHMARK(BM_LevelSummary)->Iterations(1);

} // namespace

// Levels of the game as the player has them: the whole main-loop pass of play (the event
// phase with SDL's events and the posted queue, the timers, the game screen's tick with the
// game controller's: the paddles' update, the physics step with every contact, every
// actor's and particle's tick; the game screen drawn into the back buffer; the frame
// presented; deferred deletion) in the playing state with ten balls in play and their
// trails, in each display backend, on "Falling Gold" and on the busiest level that ships;
// loading the busiest level (building it, filling the field and composing its first
// frame); and the peak memory of the process. Each game is brought into play as the player
// brings it (the brick drop, the serve's delay, a click to serve, then more balls) and
// checked before its timed passes and after each one: a lost ball ends the game and the
// next one is served, so every timed pass begins with ten balls in play; a game that is
// not in its playing state or has lost a paddle fails the benchmark with the reason
// instead of giving a figure. Each phase is timed in the main thread's CPU time, which is
// what the pass costs whatever else the machine does. Reads the game's scripts from the
// source folders and the asset pack (levels included) from the build's Assets/. Present is
// only real under a real display: without SDL_VIDEODRIVER set, the benchmark presents to
// the X server DISPLAY names (a desktop, or Xvfb: `xvfb-run -a make bench`), else to the
// dummy driver, which presents nothing; the summary names it. Each level and backend is
// drawn three ways: as the game draws it (the changed region or everything, whichever the
// frame's estimate says costs less), the changed region always, and everything always.
// Last measured under callgrind (300 passes, million instructions a pass, chosen / region /
// everything): Great Wall 5.08 / 5.03 / 5.23 in the SDL backend, 7.30 / 7.30 / 11.50 in the
// Direct3D stand-in; Falling Gold 4.64 / 4.64 / 4.88 and 6.96 / 6.95 / 9.58 (see the
// README's Performance).
#include "core/Random.h"
#include "core/StopSignal.h"
#include "display/Canvas.h"
#include "display/DisplayManager.h"
#include "display/DisplayUtils.h"
#include "display/FrameRecorder.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "support/BenchGame.h"
#include "support/BenchMain.h"
#include "support/Figure.h"
#include "support/LevelGame.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// How many passes one game is played at most before it starts again (a game also ends at
// its first lost ball, which comes after 40 to 70 passes on the shipped levels).
const int kPassesPerGame = 150;
const int kBalls = 10;
// The targets a pass is held to: main-thread CPU per pass in the SDL backend, and the
// Direct3D stand-in's allowance over it.
const double kTargetPassMs = 1.0;
const double kTargetD3DRatio = 1.5;
// How far one figure of a pass may stray from another of the same work between runs on a
// shared machine: a figure above another by less than this is not a finding.
const double kFigureSpread = 0.1;

enum Phase {
    PHASE_EVENTS,
    PHASE_TIMERS,
    PHASE_TICK,
    PHASE_DRAW,
    PHASE_PRESENT,
    PHASE_DELETE,
    PHASE_COUNT
};
const char* const kPhaseNames[PHASE_COUNT] = {"events_ms", "timers_ms",  "tick_ms",
                                              "draw_ms",   "present_ms", "delete_ms"};

// How the frames of a benchmark are drawn: as the game draws them (the changed region or
// everything, whichever the frame's estimate says costs less), always the changed region,
// or always everything (full redraw).
enum Drawing { DRAW_CHOSEN, DRAW_REGION, DRAW_WHOLE, DRAWING_COUNT };
const char* const kDrawingNames[DRAWING_COUNT] = {"chosen", "region", "everything"};

// Whole-pass figures, by backend (0 SDL, 1 Direct3D stand-in), way of drawing and level:
// only levels a benchmark played at least one pass of.
std::map<std::string, double> gMsPerPass[2][DRAWING_COUNT];

benchfigure::Figure MsPerPass(int backend, const std::string& level, Drawing drawing)
{
    const auto found = gMsPerPass[backend][drawing].find(level);
    if (found == gMsPerPass[backend][drawing].end())
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

// The shipped level with the most bricks and actors: the busiest field. Opens the game
// first, so that any benchmark may ask for it first.
std::string BusiestLevel()
{
    benchgame::OpenGame();
    static const std::string busiest = benchgame::LevelGame::Busiest(ShippedLevels());
    return busiest;
}

// A game of the level, once the game's scripts and the shipped levels are loaded.
std::unique_ptr<benchgame::LevelGame> NewGame(const std::string& level)
{
    benchgame::OpenGame();
    ShippedLevels();
    return std::make_unique<benchgame::LevelGame>(level);
}

// What the passes of a benchmark cost and drew, summed over its passes, and the games
// they were played in.
struct PassTally
{
    int passes = 0;
    int games = 0;
    double seconds[PHASE_COUNT] = {};
    double regionPixels = 0.0, regionRects = 0.0, redrawnCalls = 0.0;
    int drawnWholeByChoice = 0;
    double calls = 0.0, callPixels = 0.0, pieces = 0.0, piecePixels = 0.0;
};

// Brings a new game of the level into play, untimed, each pass presented; false, with the benchmark
// skipped and the reason, when it does not come into play with its ten balls and whole paddles.
bool StartPlay(benchmark::State& state, benchgame::LevelGame& game, Canvas& canvas,
               DisplayManager& manager)
{
    game.Load();
    const std::string mistake = game.Serve(kBalls, &canvas, [&manager] { manager.Flip(); });
    if (mistake.empty())
        return true;
    state.SkipWithError(("not in play before the timed passes: " + mistake).c_str());
    return false;
}

// After a timed pass: whether the game goes on with ten balls. A game that left its
// playing state or lost a paddle skips the benchmark with the reason (false, and so
// does skipped); a lost ball only ends the game (false), so that every timed pass
// begins with ten balls in play.
bool GoesOn(benchmark::State& state, const benchgame::LevelGame& game, bool& skipped)
{
    const int live = game.GetLogic()->CountBallsInPlay();
    const std::string mistake = game.PlayMistake(live);
    skipped = !mistake.empty();
    if (skipped)
        state.SkipWithError(("not in play after a timed pass: " + mistake).c_str());
    return !skipped && live >= kBalls;
}

// One pass of play, timed phase by phase (never inlined, so that a profiler can count
// the timed passes alone: valgrind --tool=callgrind --collect-atstart=no
// --toggle-collect=*TimedPass*).
[[gnu::noinline]] void TimedPass(benchgame::LevelGame& game, DisplayManager& manager,
                                 Canvas& canvas, PassTally& tally)
{
    double mark = ThreadSeconds();
    auto lap = [&mark, &tally](Phase phase) {
        const double now = ThreadSeconds();
        tally.seconds[phase] += now - mark;
        mark = now;
    };
    game.DispatchEvents();
    lap(PHASE_EVENTS);
    game.UpdateTimers();
    lap(PHASE_TIMERS);
    game.Tick();
    lap(PHASE_TICK);
    game.Draw(canvas);
    lap(PHASE_DRAW);
    manager.Flip();
    lap(PHASE_PRESENT);
    if (const FrameRecorder* recorder = manager.GetRecorder()) {
        tally.regionPixels += double(recorder->GetRegion().GetArea());
        tally.regionRects += double(recorder->GetRegion().GetRects().size());
        tally.redrawnCalls += recorder->GetLastDrawCount();
        tally.drawnWholeByChoice += recorder->WasLastDrawnWholeByChoice() ? 1 : 0;
        tally.calls += double(recorder->GetLastWholeWork().calls);
        tally.callPixels += double(recorder->GetLastWholeWork().pixels);
        tally.pieces += double(recorder->GetLastRegionWork().calls);
        tally.piecePixels += double(recorder->GetLastRegionWork().pixels);
    }
    game.DeleteDead();
    lap(PHASE_DELETE);
    ++tally.passes;
}

// The benchmark's figures from its tally.
void Report(benchmark::State& state, const PassTally& tally, const benchgame::LevelGame& game,
            bool accel3d, const std::string& level, Drawing drawing)
{
    const int passes = tally.passes;
    const double perPass = passes ? 1000.0 / passes : 0.0;
    double total = 0.0;
    for (int phase = 0; phase < PHASE_COUNT; ++phase) {
        state.counters[kPhaseNames[phase]] = tally.seconds[phase] * perPass;
        total += tally.seconds[phase] * perPass;
    }
    if (passes > 0)
        gMsPerPass[accel3d ? 1 : 0][drawing][level] = total;
    state.counters["pass_cpu_ms"] = total;
    // What was drawn again and presented, a pass on average: share of the screen,
    // rectangles, drawing calls.
    state.counters["region_pct"] =
        passes ? 100.0 * tally.regionPixels / passes / (640.0 * 480.0) : 0.0;
    state.counters["region_rects"] = passes ? tally.regionRects / passes : 0.0;
    state.counters["redrawn_calls"] = passes ? tally.redrawnCalls / passes : 0.0;
    // The work the recorder weighs (recorded frames only): the frame's calls and the
    // thousands of pixels of their boxes, and the pieces the region's drawing was planned
    // in and the thousands of pixels of the boxes inside them.
    const double perPassK = passes ? 1.0 / passes / 1000.0 : 0.0;
    state.counters["calls"] = passes ? tally.calls / passes : 0.0;
    state.counters["call_kpx"] = tally.callPixels * perPassK;
    state.counters["pieces"] = passes ? tally.pieces / passes : 0.0;
    state.counters["piece_kpx"] = tally.piecePixels * perPassK;
    // Passes drawn whole because the region would have cost more.
    state.counters["whole_pct"] = passes ? 100.0 * tally.drawnWholeByChoice / passes : 0.0;
    // Each timed pass began in the playing state with ten balls in play: how many games,
    // and so how many passes each, that took.
    state.counters["balls"] = kBalls;
    state.counters["games"] = tally.games;
    state.counters["bricks"] = double(game.GetLogic()->GetBricks().GetMembers().size());
    state.SetLabel(level + ", " + game.GetStateName() + ", " + kDrawingNames[drawing]);
}

// A stop signal (SIGTERM, SIGINT, SIGHUP, SIGQUIT) is answered between passes: noted by the
// handler installed before SDL would install its own, the run ends at the next pass, saying
// so, by the same signal, so that the caller sees it did not finish.
[[maybe_unused]] const bool kStopSignalInstalled = (StopSignal::Install(), true);

[[noreturn]] void EndAtTheStop()
{
    const char* name = StopSignal::GetName();
    std::fflush(stdout);
    std::fprintf(stderr, "bench_LevelPlay: stopped by %s; the benchmark's passes were cut short\n",
                 name);
    std::fflush(stderr);
    const std::pair<const char*, int> kNumbers[] = {
        {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}, {"SIGQUIT", SIGQUIT}};
    int number = SIGTERM;
    for (const auto& known : kNumbers)
        if (std::strcmp(name, known.first) == 0)
            number = known.second;
    std::signal(number, SIG_DFL);
    std::raise(number);
    std::_Exit(128 + number);
}

// Plays the level pass by pass, each game brought into play untimed and checked after
// every timed pass: a game ends at its first lost ball or after kPassesPerGame passes, and
// next one starts. Frames are drawn the given way (DRAW_WHOLE: drawn and presented whole,
// as before the screen was drawn only where it changed).
void PlayPasses(benchmark::State& state, bool accel3d, const std::string& level,
                Drawing drawing = DRAW_CHOSEN)
{
    DisplayManager manager;
    manager.SetFullRedraw(drawing == DRAW_WHOLE);
    manager.SetRegionAlways(drawing == DRAW_REGION);
    if (!benchgame::StartDisplay(manager, accel3d)) {
        state.SkipWithError("the display backend could not be started");
        return;
    }
    gPresentedTo = CurrentSDLVideoDriverName();
    Canvas canvas(manager.GetImageRenderer(), false);
    MakoSrand(7);
    std::unique_ptr<benchgame::LevelGame> game;
    try {
        game = NewGame(level);
    } catch (...) {
        if (StopSignal::IsRequested())
            EndAtTheStop(); // opening the game was stopped: no error of the game's
        throw;
    }
    PassTally tally;
    bool playing = false;
    int gamePasses = 0;
    for (auto _ : state) {
        if (StopSignal::IsRequested())
            EndAtTheStop(); // no figure from passes cut short
        if (!playing || gamePasses == kPassesPerGame) {
            state.PauseTiming();
            if (!StartPlay(state, *game, canvas, manager))
                break; // the timer stays paused: a skipped benchmark gives no figures
            state.ResumeTiming();
            ++tally.games;
            gamePasses = 0;
        }
        TimedPass(*game, manager, canvas, tally);
        ++gamePasses;
        bool skipped = false;
        playing = GoesOn(state, *game, skipped);
        if (skipped)
            break;
    }
    if (!state.error_occurred())
        Report(state, tally, *game, accel3d, level, drawing);
}

// Falling Gold and the busiest level, in each backend, each drawn the three ways.
void BM_FallingGoldSDL(benchmark::State& state)
{
    PlayPasses(state, false, "FallingGold");
}
BENCHMARK(BM_FallingGoldSDL)->Unit(benchmark::kMillisecond)->Iterations(benchfigure::Passes(1500));

void BM_FallingGoldDirect3D(benchmark::State& state)
{
    PlayPasses(state, true, "FallingGold");
}
BENCHMARK(BM_FallingGoldDirect3D)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(benchfigure::Passes(1500));

void BM_FallingGoldSDLRegion(benchmark::State& state)
{
    PlayPasses(state, false, "FallingGold", DRAW_REGION);
}
BENCHMARK(BM_FallingGoldSDLRegion)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(benchfigure::Passes(1500));

void BM_FallingGoldDirect3DRegion(benchmark::State& state)
{
    PlayPasses(state, true, "FallingGold", DRAW_REGION);
}
BENCHMARK(BM_FallingGoldDirect3DRegion)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(benchfigure::Passes(1500));

void BM_FallingGoldSDLFullRedraw(benchmark::State& state)
{
    PlayPasses(state, false, "FallingGold", DRAW_WHOLE);
}
BENCHMARK(BM_FallingGoldSDLFullRedraw)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(benchfigure::Passes(1500));

void BM_FallingGoldDirect3DFullRedraw(benchmark::State& state)
{
    PlayPasses(state, true, "FallingGold", DRAW_WHOLE);
}
BENCHMARK(BM_FallingGoldDirect3DFullRedraw)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(benchfigure::Passes(1500));

void BM_BusiestLevelSDL(benchmark::State& state)
{
    PlayPasses(state, false, BusiestLevel());
}
BENCHMARK(BM_BusiestLevelSDL)->Unit(benchmark::kMillisecond)->Iterations(benchfigure::Passes(1500));

void BM_BusiestLevelDirect3D(benchmark::State& state)
{
    PlayPasses(state, true, BusiestLevel());
}
BENCHMARK(BM_BusiestLevelDirect3D)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(benchfigure::Passes(1500));

void BM_BusiestLevelSDLRegion(benchmark::State& state)
{
    PlayPasses(state, false, BusiestLevel(), DRAW_REGION);
}
BENCHMARK(BM_BusiestLevelSDLRegion)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(benchfigure::Passes(1500));

void BM_BusiestLevelDirect3DRegion(benchmark::State& state)
{
    PlayPasses(state, true, BusiestLevel(), DRAW_REGION);
}
BENCHMARK(BM_BusiestLevelDirect3DRegion)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(benchfigure::Passes(1500));

void BM_BusiestLevelSDLFullRedraw(benchmark::State& state)
{
    PlayPasses(state, false, BusiestLevel(), DRAW_WHOLE);
}
BENCHMARK(BM_BusiestLevelSDLFullRedraw)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(benchfigure::Passes(1500));

void BM_BusiestLevelDirect3DFullRedraw(benchmark::State& state)
{
    PlayPasses(state, true, BusiestLevel(), DRAW_WHOLE);
}
BENCHMARK(BM_BusiestLevelDirect3DFullRedraw)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(benchfigure::Passes(1500));

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
    ->Iterations(benchfigure::Passes(300))
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
    const std::unique_ptr<benchgame::LevelGame> game = NewGame(BusiestLevel());
    for (auto _ : state) {
        game->Load();
        game->Draw(canvas);
        manager.Flip(); // the frame is drawn when it is finished
        state.PauseTiming();
        game->End();
        state.ResumeTiming();
    }
    state.SetLabel(BusiestLevel());
}
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond)->Iterations(benchfigure::Passes(20));

// With BB_BENCH_SHOTS naming a folder: the frame each backend presents after 120 passes of
// "Welcome", "Falling Gold" and the busiest level, saved there as BMP files
// (<level>-<backend>.bmp), so that builds can be compared picture by picture. Registered
// only then: without the folder there is nothing it would do.
void BM_SaveFrames(benchmark::State& state)
{
    const char* folder = std::getenv("BB_BENCH_SHOTS");
    for (auto _ : state) {
        benchgame::OpenGame();
        for (const std::string& level :
             {std::string("Welcome"), std::string("FallingGold"), BusiestLevel()}) {
            for (bool accel3d : {false, true}) {
                DisplayManager manager;
                if (!benchgame::StartDisplay(manager, accel3d))
                    continue;
                Canvas canvas(manager.GetImageRenderer(), false);
                MakoSrand(7);
                const std::unique_ptr<benchgame::LevelGame> game = NewGame(level);
                game->Load();
                game->Serve(kBalls, &canvas, [&manager] { manager.Flip(); });
                for (int pass = 0; pass < 120; ++pass) {
                    game->Pass(&canvas);
                    manager.Flip();
                }
                const std::string path =
                    std::string(folder) + "/" + level + "-" + (accel3d ? "d3d" : "sdl") + ".bmp";
                SDL_SaveBMP(manager.GetScreenshotSurface(), path.c_str());
            }
        }
    }
}
[[maybe_unused]] const bool gSaveFramesRegistered =
    std::getenv("BB_BENCH_SHOTS") &&
    benchmark::RegisterBenchmark("BM_SaveFrames", BM_SaveFrames)->Iterations(1) != nullptr;

// After the benchmarks of a run (support/BenchMain): each level's pass the run measured in
// both backends against the targets, and the process's peak resident memory; the targets
// missed fail the run.
std::string LevelSummary()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peakMb = usage.ru_maxrss / 1024.0;
    std::set<std::string> levels;
    for (const auto& backend : gMsPerPass)
        for (const auto& drawing : backend)
            for (const auto& entry : drawing)
                levels.insert(entry.first);
    if (!levels.empty())
        std::printf("Every pass timed began in play: the playing state, %d balls in play and "
                    "the serve's paddles whole\n",
                    kBalls);
    std::string missed;
    for (const std::string& level : levels) {
        const benchfigure::Figure sdl = MsPerPass(0, level, DRAW_CHOSEN);
        const benchfigure::Figure d3d = MsPerPass(1, level, DRAW_CHOSEN);
        const benchfigure::Figure ratio = benchfigure::Ratio(d3d, sdl);
        // The Direct3D stand-in is held to its allowance over what the SDL path took on the
        // same level, in the same run.
        const std::string times = ratio ? benchfigure::Times(ratio) + " x the SDL figure, " : "";
        std::printf("Level pass %-14s SDL %s (target %.1f ms: %s), Direct3D stand-in %s "
                    "(%starget %.1f x: %s)\n",
                    level.c_str(), benchfigure::Ms(sdl).c_str(), kTargetPassMs,
                    benchfigure::Verdict(sdl, kTargetPassMs), benchfigure::Ms(d3d).c_str(),
                    times.c_str(), kTargetD3DRatio, benchfigure::Verdict(ratio, kTargetD3DRatio));
        if (ratio && *ratio > kTargetD3DRatio)
            missed += level + ": the Direct3D stand-in took " + benchfigure::Times(ratio) +
                      " x the SDL figure\n";
        // The two ways the choice chooses between, forced. The chosen redraw is the cheaper
        // of the two as estimated: it never costs more than drawing everything, beyond the
        // spread of one figure from run to run.
        for (int backend = 0; backend < 2; ++backend) {
            const benchfigure::Figure whole = MsPerPass(backend, level, DRAW_WHOLE);
            const benchfigure::Figure chosen = MsPerPass(backend, level, DRAW_CHOSEN);
            std::printf("           %-14s %-18s region always %s, everything always %s\n", "",
                        backend ? "Direct3D stand-in" : "SDL",
                        benchfigure::Ms(MsPerPass(backend, level, DRAW_REGION)).c_str(),
                        benchfigure::Ms(whole).c_str());
            const benchfigure::Figure over = benchfigure::Ratio(chosen, whole);
            if (over && *over > 1 + kFigureSpread)
                missed += level + (backend ? ", Direct3D stand-in" : ", SDL") +
                          ": the chosen redraw took " + benchfigure::Times(over) +
                          " x drawing everything\n";
        }
    }
    std::printf("Presented to SDL's %s driver\n", gPresentedTo.c_str());
    std::printf("Peak memory %.1f MB\n", peakMb);
    return missed;
}
[[maybe_unused]] const bool gSummaryRegistered = benchmain::AddSummary(LevelSummary);

} // namespace

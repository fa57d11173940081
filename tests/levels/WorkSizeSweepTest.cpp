// The work the game and the level check do on a level file's values is bounded by what the
// file is, not by how often it repeats itself: a table shared by many entries is checked
// once, what is said about a file is capped, texts of any length are read in one pass, and
// keys of every type are named and passed by. Each hostile file is run through the level
// check in this process (which reads it as the game does and builds its levels through the
// game's own controller), counting the lines it reports and logs; the work of each shape
// that could grow faster than its file is measured in the work meter's units at two sizes,
// and a stop asked for in the middle of it is answered; then the level check program runs
// over a pack of the worst of them, ends, and answers SIGTERM while it works. No run may
// reach an assertion.
#include "LevelCheck.h"

#include "core/DataReport.h"
#include "core/Log.h"
#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "logic/LevelKeyCheck.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

using levelcheck::LevelCheck;
using levelcheck::LevelSource;
using levelcheck::Problem;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// A run that takes more processor time is a hang (the clock on the wall, which a loaded
// machine stretches, only ends a run that never would). The sanitized check of the whole
// pack takes about 7 s on a quiet machine and up to three and a half times as much on busy
// cores, where the processor time stretches too; growth with a file's size is the ratio rows'
// to catch.
const double kHangSeconds = 60.0;
// The most lines a file may make the check report, or the game log, however it is made.
const std::size_t kMostLines = 400;
// Unknown keys a check lists one a line; the rest are counted in one line.
const int kListedKeys = 100;
// The keys of the largest shared table: far more than are listed, and a file whose run
// stays well inside a file's processor time on busy cores, where that time stretches.
const int kManyKeys = 20000;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time this thread has used, in seconds.
double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

std::size_t CountLines(const std::string& text)
{
    return std::size_t(std::count(text.begin(), text.end(), '\n'));
}

// A level file whose one brick table holds `keys` keys nothing reads and is listed as
// `entries` entries of compiledBricks.
std::string SharedBrickFile(int keys, int entries)
{
    return "local t = { resource = 'RedBrick', position = { 2, 1 } }\n"
           "for i = 1, " +
           std::to_string(keys) +
           " do t['k' .. i] = i end\n"
           "local list = {}\n"
           "for i = 1, " +
           std::to_string(entries) +
           " do list[i] = t end\n"
           "Levels.Shared = { fullName = 'S', music = 'Harbour.mid', compiledBricks = list }\n";
}

struct SweepCase
{
    std::string name;
    std::string text;
};

// Files whose work could grow past their size: shapes that nest, spread, repeat, run long
// or key by values of every type.
std::vector<SweepCase> ShapeCases()
{
    const std::string level = "Levels.L = { fullName = 'L', music = 'Harbour.mid', ";
    return {
        {"Deep", "local t = { class = 'Label' } for i = 1, 20000 do t = { t } end\n" + level +
                     "deep = t, compiledBricks = { { resource = 'RedBrick', position = "
                     "{ 2, 1 }, extra = t } } }\n"},
        {"Wide", "local w = {} for i = 1, 100000 do w[i] = { class = 'Label', ['x' .. i] = i } "
                 "end\n" +
                     level +
                     "wide = w, levelActors = { { class = 'Brick', resource = "
                     "'RedBrick', position = { 100, 100 }, wide = w } } }\n"},
        {"LongKeysAndValues",
         "local k = ('k'):rep(1048576) local v = ('v'):rep(1048576)\n" + level +
             "[k] = v, music2 = v, compiledBricks = { { resource = v, position = { 2, 1 } }, "
             "{ resource = 'RedBrick', position = { 4, 1 }, [k] = v, powerupClass = v } }, "
             "levelActors = { { class = v, position = { 1, 1 } }, { resource = v } } }\n"},
        {"LongSharedList",
         "local p = {} for i = 1, 100000 do p[i] = 'x' .. i end\n"
         "local t = { resource = 'RedBrick', position = { 2, 1 }, powerups = p, resources = p }\n"
         "local list = {} for i = 1, 1000 do list[i] = t end\n" +
             level + "compiledBricks = list }\n"},
        {"LongError", "error(('x'):rep(1048576), 0)\n"},
        {"LongLevelError", "error('Level \"' .. ('x'):rep(1048576) .. '\", row 1: y', 0)\n"},
        {"LongLineError", "error('a:1: ' .. ('x'):rep(1048576), 0)\n"},
        {"EveryKeyType",
         "Levels[{}] = { fullName = 'T' } Levels[true] = { fullName = 'B' }\n"
         "Levels[1.5] = { fullName = 'N' }\n" +
             level +
             "[{}] = 1, [true] = 2, [1.5] = 3, compiledBricks = { [{}] = { resource = "
             "'RedBrick', position = { 2, 1 } }, { resource = 'RedBrick', position = { 4, 1 }, "
             "[{}] = 1, [false] = { class = 'Label' }, [2.5] = { class = 'Label' } } },\n"
             "  paddleStarts = { [true] = 5, [{}] = { [{}] = 1 } }, ballStarts = { [{}] = 'x', "
             "[true] = { [{}] = 2 } }, levelActors = { [{}] = { class = 'Label' }, [false] = 7, "
             "[true] = { class = 'Brick', resource = 'RedBrick', position = { 100, 100 }, zz = 1, "
             "factories = { [false] = 5 }, trailEmitter = { [false] = 5 }, motion = { class = "
             "'MotionSequential', addMotionList = { [false] = 5 } } } "
             "} "
             "}\n"},
    };
}

class WorkSizeSweep : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }
    ~WorkSizeSweep() override { StopSignal::Reset(); }

    struct Outcome
    {
        std::size_t reportLines = 0;
        std::size_t logLines = 0;
        double seconds = 0;
        std::string report;
    };

    // Runs the file through the check; what it reported and logged.
    static Outcome Check(const std::string& file, const std::string& text)
    {
        Outcome outcome;
        LevelCheck check;
        bbtest::LogCapture log;
        SetLogLevel(2); // the game's own: what a player's log holds
        const double start = ThreadSeconds();
        EXPECT_NO_THROW(check.Run({LevelSource(file, text)})) << file;
        outcome.seconds = ThreadSeconds() - start;
        for (const Problem& problem : check.GetProblems())
            if (problem.file == file) {
                ++outcome.reportLines;
                outcome.report += problem.ToString() + "\n";
            }
        outcome.logLines = CountLines(log.Text());
        // Nothing a file holds reaches an assertion of the program.
        EXPECT_EQ(std::string::npos, (log.Text() + outcome.report).find("Assertion failed"))
            << file << "\n"
            << (log.Text() + outcome.report).substr(0, 4000);
        return outcome;
    }

    static void ExpectBounded(const std::string& what, const Outcome& outcome)
    {
        std::printf("%-28s %6.2f s of processor time, %4zu report lines, %4zu log lines\n",
                    what.c_str(), outcome.seconds, outcome.reportLines, outcome.logLines);
        EXPECT_LT(outcome.seconds, kHangSeconds) << what;
        EXPECT_LE(outcome.reportLines, kMostLines) << what << "\n"
                                                   << outcome.report.substr(0, 4000);
        EXPECT_LE(outcome.logLines, kMostLines) << what;
    }
};

} // namespace

// Unknown keys on a table many entries share: the table is checked once, a capped number of
// keys is listed with the closest name and one line counts the rest, and the keys are left
// out so the build does not apply them again for each entry.
TEST_F(WorkSizeSweep, UnknownKeysOnASharedTableAreCheckedOnceAndCapped)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Welcome.lua", "asset pack's levels");
    // (Sizes between are the growth sweep's below.)
    for (const int keys : {10, kManyKeys})
        for (const int entries : {1, 100, 1000}) {
            const std::string what =
                std::to_string(keys) + " keys x " + std::to_string(entries) + " entries";
            const Outcome outcome = Check("Shared.lua", SharedBrickFile(keys, entries));
            ExpectBounded(what, outcome);
            // Every key is accounted for: listed one a line, or counted.
            const std::size_t listed = std::min<std::size_t>(keys, kListedKeys);
            std::size_t keyLines = 0;
            std::size_t at = 0;
            while ((at = outcome.report.find(": no such key", at)) != std::string::npos) {
                ++keyLines;
                ++at;
            }
            EXPECT_EQ(listed, keyLines) << what << "\n" << outcome.report.substr(0, 2000);
            if (std::size_t(keys) > listed) {
                EXPECT_NE(std::string::npos,
                          outcome.report.find(std::to_string(keys - int(listed)) +
                                              " more keys that nothing reads were left out"))
                    << what << "\n"
                    << outcome.report.substr(0, 2000);
            }
        }
}

TEST_F(WorkSizeSweep, DeepWideLongAndStrangelyKeyedFilesEndWithAFewLines)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Welcome.lua", "asset pack's levels");
    for (const SweepCase& sweep : ShapeCases())
        ExpectBounded(sweep.name, Check(sweep.name + ".lua", sweep.text));

    // What the long errors and the strange keys say, at their length and type.
    Outcome error = Check("LongError.lua", "error(('x'):rep(1048576), 0)\n");
    EXPECT_EQ(0u, error.report.find("LongError.lua: Lua error: xxx")) << error.report;
    error = Check("LongLevelError.lua", ShapeCases()[5].text);
    EXPECT_NE(std::string::npos, error.report.find("brick text, row 1: y")) << error.report;
    const Outcome keys = Check("EveryKeyType.lua", ShapeCases()[7].text);
    for (const char* line : {"EveryKeyType.lua: Levels[<table>]: a level is named by a string",
                             "EveryKeyType.lua: Levels[<boolean>]: a level is named by a string",
                             "EveryKeyType.lua: Levels[1.5]: a level is named by a string"})
        EXPECT_NE(std::string::npos, keys.report.find(line)) << line << "\n" << keys.report;
    // Lists a structure's properties read name their elements by any key.
    for (const char* line :
         {"factories[<boolean>]", "trailEmitter[<boolean>]", "addMotionList[<boolean>]"})
        EXPECT_NE(std::string::npos, keys.report.find(line)) << line << "\n" << keys.report;
    EXPECT_EQ(std::string::npos, keys.report.find("throws")) << keys.report;
}

namespace {

// The units charged to every meter, counted by the probe; at the charge that reaches stopAt
// (0: never) a stop is asked for, as SIGTERM would, and the moment noted.
struct ChargeCount
{
    long long charges = 0;
    long long stopAt = 0;
    Clock::time_point stoppedAt;
    double stoppedAtProcessor = 0;
};
ChargeCount s_Count;

void CountCharge(const WorkMeter&, long long units)
{
    const long long before = s_Count.charges;
    s_Count.charges += units;
    if (s_Count.stopAt > before && s_Count.stopAt <= s_Count.charges) {
        s_Count.stoppedAt = Clock::now();
        s_Count.stoppedAtProcessor = ThreadSeconds();
        StopSignal::Request(SIGTERM);
    }
}

// One size of one shape: the units its meters used, the processor time, and with a stop
// asked for, how long after it the run ended.
struct Growth
{
    long long units = 0;
    double seconds = 0;
    double answerSeconds = 0;          // on the wall clock
    double answerProcessorSeconds = 0; // of this thread
};

// A shape whose work could grow faster than its file: its files at size n, and whether they
// go through the game's start (the level files run one after the other) or through the
// level check, which runs them and builds each level as the game does.
struct GrowthShape
{
    const char* name;
    int n;
    bool start;
    std::string (*file)(int n); // the start: file(i) is the i-th file of n
};

// Level files that mention "function" (in a comment): each defines one level.
std::string FunctionFile(int i)
{
    return "-- function\nLevels.F" + std::to_string(i) +
           " = { fullName = 'F', music = 'Harbour.mid', compiledBricks = { { resource = "
           "'RedBrick', position = { 2, 1 } }, { resource = 'BlueBrick', position = { 4, 1 } } "
           "} }\n";
}

// A chain n deep with one refused value at each depth, under one key of a level.
std::string RefusedChainFile(int n)
{
    return "local r = {} local n = r for i = 1, " + std::to_string(n) +
           " do local m = { sound = 5 } n[1] = m n = m end\n"
           "Levels.Chain = { fullName = 'C', music = 'Harbour.mid', chain = r, compiledBricks = "
           "{ { resource = 'RedBrick', position = { 2, 1 } } } }\n";
}

// A behaviour list of n names on one brick table that n / 10 entries share.
std::string BehaviourListFile(int n)
{
    return "local names = {} for i = 1, " + std::to_string(n) +
           " do names[i] = 'Class' .. i end\n"
           "local t = { resource = 'RedBrick', position = { 2, 1 }, takeDamageOnCollision = "
           "names, destroyOnCollision = names }\n"
           "local list = {} for i = 1, " +
           std::to_string(n / 10) +
           " do list[i] = t end\n"
           "Levels.Lists = { fullName = 'B', music = 'Harbour.mid', compiledBricks = list }\n";
}

std::string SharedKeysFile(int n)
{
    return SharedBrickFile(n, n / 10);
}

const GrowthShape kGrowthShapes[] = {
    {"files mentioning function", 100, true, &FunctionFile},
    {"chain of refused values", 1000, false, &RefusedChainFile},
    {"shared behaviour lists", 500, false, &BehaviourListFile},
    {"shared unknown keys", 500, false, &SharedKeysFile},
};

// Runs the shape at size n (stopping at the charge stopAt when it is not 0).
Growth RunShape(const GrowthShape& shape, int n, long long stopAt)
{
    Growth growth;
    s_Count = ChargeCount();
    s_Count.stopAt = stopAt;
    WorkMeter::SetProbe(&CountCharge);
    bbtest::LogCapture log;
    SetLogLevel(2);
    std::string report;
    const double start = ThreadSeconds();
    if (shape.start) {
        MakoLuaState::LoadString(GetGlobalLuaState(), "ClearLevels()");
        for (int i = 0; i < n && !StopSignal::IsRequested(); ++i) {
            std::string error;
            try {
                LevelManager::RunLevelText(GetGlobalLuaState(), shape.file(i),
                                           "@Levels/F" + std::to_string(i) + ".lua", error);
            } catch (const WorkSpent&) {
            }
        }
    } else {
        LevelCheck check;
        EXPECT_NO_THROW(check.Run({LevelSource("Shape.lua", shape.file(n))})) << shape.name;
        for (const Problem& problem : check.GetProblems())
            report += problem.ToString() + "\n";
    }
    growth.seconds = ThreadSeconds() - start;
    WorkMeter::SetProbe(nullptr);
    growth.units = s_Count.charges;
    if (stopAt > 0 && StopSignal::IsRequested()) {
        growth.answerSeconds = SecondsSince(s_Count.stoppedAt);
        growth.answerProcessorSeconds = ThreadSeconds() - s_Count.stoppedAtProcessor;
    }
    StopSignal::Reset();
    const std::string text = log.Text() + report;
    EXPECT_EQ(std::string::npos, text.find("Assertion failed"))
        << shape.name << " at " << n << ":\n"
        << text.substr(0, 4000);
    // These files are large but not hostile: their work stays within a meter.
    if (stopAt == 0) {
        EXPECT_EQ(std::string::npos, text.find("steps of work"))
            << shape.name << " at " << n << ":\n"
            << text.substr(0, 4000);
    }
    return growth;
}

} // namespace

// The work of each shape grows with its file, not faster: at sizes n and 10 n the units
// charged to the meters (and the processor time) grow at most about tenfold, and a stop asked
// for while the walks are under way (halfway through the larger run's units) is answered
// within a second. Nothing asserts on the way.
TEST_F(WorkSizeSweep, TheWorkOfEveryShapeGrowsWithItsFileAndAStopIsAnswered)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Welcome.lua", "asset pack's levels");
    for (const GrowthShape& shape : kGrowthShapes) {
        SCOPED_TRACE(shape.name);
        const Growth small = RunShape(shape, shape.n, 0);
        const Growth large = RunShape(shape, 10 * shape.n, 0);
        const Growth stopped = RunShape(shape, 10 * shape.n, large.units / 2);
        const double ratio = double(large.units) / double(std::max(1LL, small.units));
        std::printf("%-26s n = %6d: %9lld units %6.2f s; 10 n: %9lld units %6.2f s; ratio %5.2f "
                    "(time %5.2f); stop answered after %.3f s (%.3f s of processor time)\n",
                    shape.name, shape.n, small.units, small.seconds, large.units, large.seconds,
                    ratio, large.seconds / std::max(1e-3, small.seconds), stopped.answerSeconds,
                    stopped.answerProcessorSeconds);
        EXPECT_LE(ratio, 12.0) << small.units << " units, then " << large.units;
        EXPECT_LT(large.seconds, kHangSeconds);
        EXPECT_GT(stopped.answerSeconds + stopped.answerProcessorSeconds, 0.0)
            << "the stop was not asked for";
        EXPECT_LT(stopped.answerProcessorSeconds, 1.0);
        EXPECT_LT(stopped.answerSeconds, 3.0);
    }
}

// A file whose level needs more work than any level should (a table of 10,000 keys that
// every one of 400 bricks is made from) is cut where its meter runs out, named, and left
// out, in seconds.
TEST_F(WorkSizeSweep, ALevelPastItsMeterIsNamedAndLeftOut)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Welcome.lua", "asset pack's levels");
    const double start = ThreadSeconds();
    const Outcome outcome =
        Check("Heavy.lua", "local t = { resource = 'RedBrick', position = { 2, 1 } }\n"
                           "for i = 1, 10000 do t[i] = i end\n"
                           "local list = {} for i = 1, 400 do list[i] = t end\n"
                           "Levels.Heavy = { fullName = 'H', music = 'Harbour.mid', "
                           "compiledBricks = list }\n");
    const double seconds = ThreadSeconds() - start;
    std::printf("a level past its meter: %.2f s of processor time\n", seconds);
    EXPECT_LT(seconds, kHangSeconds);
    const std::string said = "level \"Heavy\" needs more than " +
                             std::to_string(WorkMeter::kDefaultUnits) + " steps of work";
    EXPECT_NE(std::string::npos, outcome.report.find(said)) << outcome.report.substr(0, 4000);
}

// Depth is no function: a level holding a table far deeper than any level needs stays when
// a later file's text says "function", and a function planted deep in a file's own level
// drops that level only.
TEST_F(WorkSizeSweep, ADeepLevelIsKeptBesideFilesThatSayFunction)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Welcome.lua", "asset pack's levels");
    LuaPlus::LuaState* state = GetGlobalLuaState();
    MakoLuaState::LoadString(state, "ClearLevels()");
    const std::string deep = "local t = {} local d = t for i = 1, 300 do d[1] = {} d = d[1] end\n";
    std::string error;
    EXPECT_EQ(0,
              LevelManager::RunLevelText(state, deep + "Levels.Adeep = { fullName = 'A', x = t }\n",
                                         "@Levels/Adeep.lua", error))
        << error;
    EXPECT_EQ(0, LevelManager::RunLevelText(state,
                                            "-- this file has no function\n"
                                            "Levels.Later = { fullName = 'L' }\n",
                                            "@Levels/Later.lua", error))
        << error;
    EXPECT_NE(0, LevelManager::RunLevelText(state,
                                            deep + "d.f = function() end\n"
                                                   "Levels.Bdeep = { fullName = 'B', x = t }\n"
                                                   "Levels.Cdeep = { fullName = 'C', x = {} }\n",
                                            "@Levels/Bdeep.lua", error));
    EXPECT_EQ(0u, error.find("Levels.Bdeep holds a function the file made, at x[1][1]")) << error;
    const LuaPlus::LuaObject levels = state->GetGlobal("Levels");
    EXPECT_TRUE(levels["Adeep"].IsTable());
    EXPECT_TRUE(levels["Later"].IsTable());
    EXPECT_TRUE(levels["Bdeep"].IsNil());
    EXPECT_TRUE(levels["Cdeep"].IsTable());
    MakoLuaState::LoadString(state, "ClearLevels()");
}

namespace {

// The units the key check of a level charges whose compiledBricks lists `entries` times one
// table of 1,000 keys (numbers, which nothing leaves out).
long long KeyCheckUnits(int entries)
{
    MakoLuaState::LoadString(GetGlobalLuaState(),
                             "local t = { resource = 'RedBrick', position = { 2, 1 } }\n"
                             "for i = 1, 1000 do t[i] = i end\n"
                             "local list = {} for i = 1, " +
                                 std::to_string(entries) +
                                 " do list[i] = t end\n"
                                 "rawset(Levels, 'SharedOnce', { fullName = 'S', "
                                 "compiledBricks = list })\n");
    const LuaPlus::LuaObject level = GetGlobalLuaState()->GetGlobal("Levels")["SharedOnce"];
    long long used = 0;
    {
        bbtest::LogCapture log;
        DataReport::Cap cap;
        WorkMeter meter("level \"SharedOnce\"");
        LevelKeyCheck::Run("SharedOnce", level);
        used = meter.GetUsed();
    }
    MakoLuaState::LoadString(GetGlobalLuaState(), "rawset(Levels, 'SharedOnce', nil)");
    return used;
}

} // namespace

// A table many entries share is checked once: each entry more costs the key check a few
// steps, not another walk of the shared table's keys.
TEST_F(WorkSizeSweep, TheKeyCheckWalksASharedTableOnce)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Welcome.lua", "asset pack's levels");
    const long long one = KeyCheckUnits(1);
    const long long many = KeyCheckUnits(1000);
    std::printf("key check of a table of 1,000 keys: %lld units for 1 entry, %lld for 1,000\n", one,
                many);
    EXPECT_LT(many - one, 20 * 1000);
}

namespace {

struct ProgramRun
{
    int status = -1;             // exit status; 128 + n when ended by signal n
    double seconds = 0;          // on the wall clock, from the signal when one was sent
    double processorSeconds = 0; // the child's, user and system
    std::size_t reportLines = 0;
    std::string report;
    std::string log;
};

// Runs the level check program over pack; with stopOnLogText, sends it SIGTERM once its log
// holds that text and times the answer from there.
ProgramRun RunProgram(const bbtest::TempHome& home, const std::string& pack,
                      const std::string& stopOnLogText = std::string())
{
    const std::string out = home.Path() + "/check.out";
    const std::string logPath = home.Path() + "/check.log";
    fs::remove(logPath);
    const Clock::time_point start = Clock::now();
    std::fflush(nullptr); // nothing buffered here is written again by the child
    const pid_t child = fork();
    if (child == 0) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (!freopen(out.c_str(), "w", stdout))
            _exit(126);
        const std::string program = std::string(BB_BINARY_DIR) + "/levelcheck";
        execl(program.c_str(), program.c_str(), "--log", logPath.c_str(), pack.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    ProgramRun run;
    Clock::time_point from = start;
    bool signalled = stopOnLogText.empty();
    int status = 0;
    // Waits on the child's exit (and, until it is sent, on the line that sends SIGTERM); a
    // child past the hang bound is ended and the run fails.
    for (;;) {
        rusage usage{};
        if (wait4(child, &status, WNOHANG, &usage) == child) {
            run.processorSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                                   double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
            break;
        }
        if (!signalled && fs::exists(logPath) &&
            bbtest::ReadFile(logPath).find(stopOnLogText) != std::string::npos) {
            kill(child, SIGTERM);
            from = Clock::now();
            signalled = true;
        }
        if (SecondsSince(start) > 6 * kHangSeconds) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.seconds = SecondsSince(from);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.report = bbtest::ReadFile(out);
    run.reportLines = CountLines(run.report);
    run.log = fs::exists(logPath) ? bbtest::ReadFile(logPath) : std::string();
    EXPECT_EQ(std::string::npos, (run.log + run.report).find("Assertion failed"))
        << (run.log + run.report).substr(0, 4000);
    return run;
}

// A copy of the pack whose only level file is the one given.
std::string PackWith(const bbtest::TempHome& home, const std::string& file, const std::string& text)
{
    const std::string pack = home.Path() + "/pack";
    fs::copy(bbtest::AssetPackFolder(), pack, fs::copy_options::recursive);
    for (const auto& entry : fs::directory_iterator(pack + "/Levels"))
        fs::remove(entry.path());
    bbtest::WriteFile(pack + "/Levels/" + file, text);
    return pack;
}

} // namespace

// The program over the largest shared table: it ends with its report and its log, a few
// hundred lines each; sent SIGTERM while it builds the level, it ends within a second.
TEST(WorkSizeSweepProgram, TheLevelCheckEndsWritesItsLogAndAnswersAStop)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Welcome.lua", "asset pack's levels");
    bbtest::TempHome home;
    const std::string pack = PackWith(home, "Shared.lua", SharedBrickFile(kManyKeys, 1000));

    const ProgramRun whole = RunProgram(home, pack);
    std::printf("whole run: %.2f s of processor time, %zu report lines, %zu log lines\n",
                whole.processorSeconds, whole.reportLines, CountLines(whole.log));
    EXPECT_EQ(1, whole.status) << whole.report.substr(0, 2000);
    EXPECT_LT(whole.processorSeconds, kHangSeconds);
    EXPECT_LE(whole.reportLines, kMostLines) << whole.report.substr(0, 2000);
    EXPECT_LE(CountLines(whole.log), kMostLines) << whole.log.substr(0, 2000);
    EXPECT_NE(std::string::npos, whole.log.find("\"k1\": no such key"))
        << whole.log.substr(0, 2000);

    const ProgramRun stopped = RunProgram(home, pack, "\"k1\": no such key");
    std::printf("stopped run: %.2f s after SIGTERM, status %d\n", stopped.seconds, stopped.status);
    EXPECT_TRUE(stopped.status == 3 || stopped.status == 128 + SIGTERM) << stopped.status;
    EXPECT_LT(stopped.seconds, 1.0);
}

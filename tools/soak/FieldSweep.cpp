// The field sweep: every written level played to its end with several seeds by the shared
// autoplay player, headless and without drawing, each game watched by FieldWatch (a ball
// past a wall's inner face, a level that stops moving on). Prints per level the games won
// and lost, the escapes and stalls, the balls put back out of a wall (all of them, and the
// deepest put-back in pixels), the passes a game took (least, median, most) and the longest
// stretch of play in any game that brought the level no nearer its end (against the stall
// limit, FieldWatch::kDefaultStallPasses), then every fault with its level, seed, pass,
// position and velocity, and the first put-backs. Exit status 1 when any game escaped, stalled or
// was still being played at the pass limit.
//
//   fieldsweep [--seeds N | --seeds FIRST-LAST] [--levels Name,Name,...]
//              [--without key] [--limit passes]
//   fieldsweep --values all [--seeds N] [--limit passes]
//   fieldsweep --combinations DRAWN [--draw SEED] [--part K/N] [--seeds N] [--limit passes]
//
// --without clears that key of each level's table before its games (for instance
// "gravity"), and puts it back after. BB_TEST_ASSET_PACK names the asset pack.
//
// --values plays a small level once for every numeric key that drives play (each number
// key the level reader knows, LevelKeys, and the numbers inside the tables that move the
// field and serve its balls: wind, gravity, progressive, timeAttack, ball starts) at each
// of NaN, +-Inf, +-1e308, +-2^31 and 1e-310. Each game must end by itself (won or lost)
// within the pass limit, keep its balls inside the field, hold its live heap within
// kMostGrowthKb of what it held at its start, and, for a value no range holds (NaN, an
// infinity, 1e308), the game must have named the key while it built the level (the level
// check hears the same words: it builds levels through the same controller). Printed per
// key: the games, the most live particles and the largest growth of the live heap.
//
// --combinations plays a small level with range edges together, not one key at a time:
// the least ball speeds with each wind and pull, each bounce boost at its top with each
// ball size, each motion of the brick field (at its top fall rate or step) with each
// speed, then DRAWN triples of edges from three different groups, drawn with SEED (88
// unless given; printed). Every game must be won or lost within the pass limit with no
// ball outside the field. Printed per combination: the games won, lost, escaped and
// others, the most passes a game took, and the keys the game reported it narrowed. --part K/N
// plays every N-th combination from the K-th, so runs side by side share the work.
//
// Every mode also holds the game to a held ball lying wholly between the walls.
#include "LiveMemory.h"
#include "autoplay/AutoPlayer.h"
#include "autoplay/FieldWatch.h"
#include "autoplay/GameOutcome.h"
#include "core/DataReport.h"
#include "core/Random.h"
#include "field/Ball.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/LevelKeys.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsGeom.h"
#include "scene/Actor.h"
#include "scene/ParticleManager.h"
#include "screens/Screen.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/GameLevels.h"
#include "support/engine/PassHarness.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

enum Outcome { WON, LOST, ESCAPED, STALLED, UNFINISHED };

// The put-backs listed after the totals, over all games.
const std::size_t kPutBackLinesShown = 30;

// The most a game's live heap may grow over what it held at its start, in kB: the whole
// game stays within a few hundred MB, where the shipped pack peaks near 80.
const long kMostGrowthKb = 200 * 1024;

struct Game
{
    Outcome outcome = UNFINISHED;
    std::size_t mostParticles = 0; // the most live particles after any pass
    long growthKb = 0;             // the largest growth of the live heap over the game's start
    int passes = 0;
    std::string fault;
    int putBacks = 0;
    double deepestPutBack = 0.0;
    int longestStill = 0;
    std::vector<std::string> putBackLines;
};

// A ball held by a paddle lies wholly between the walls (Ball::InsideField promises it):
// walls let held balls through, so nothing else would keep it there. Describes the first
// held ball that reaches into a wall by more than its placing rounds; "" when none does.
std::string HeldBallPastWall(ArcadeGameLogic* logic)
{
    for (Actor* actor : logic->GetBalls().GetMembers()) {
        const Ball* ball = dynamic_cast<const Ball*>(actor);
        if (!ball || ball->IsDead() || !ball->GetPaddle() || !ball->GetGeom())
            continue;
        const Point<double> c = ball->GetGeom()->GetCenter();
        const Point<double> in = ball->InsideField(c.x, c.y);
        const double past = std::max(std::fabs(in.x - c.x), std::fabs(in.y - c.y));
        if (past > 0.5) {
            char text[160];
            std::snprintf(text, sizeof text,
                          "escape: a ball held by a paddle at (%.2f, %.2f) reaches %.2f px "
                          "into a wall",
                          c.x, c.y, past);
            return text;
        }
    }
    return std::string();
}

// The field's root on the game screen: the controller ticks the play-field actors itself.
class FieldLayer : public Actor
{
public:
    void Tick() override {}
};

struct Options
{
    unsigned firstSeed = 1, lastSeed = 8;
    std::vector<std::string> levels; // empty: every written level
    std::string without;
    int limit = 30000;
    bool values = false;
    bool combinations = false;
    int drawn = 0;           // triples drawn beside the fixed pairs
    unsigned drawSeed = 88;  // the seed they are drawn with
    int part = 1, parts = 1; // plays the combinations i with i % parts == part - 1
};

class Sweep
{
public:
    explicit Sweep(const Options& options) : m_Options(options) { m_Passes.SetDrawing(false); }

    Game Play(const std::string& level, unsigned seed)
    {
        MakoSrand(seed);
        m_Player.Reset();
        LuaPlus::LuaObject options =
            bbtest::EvalLua("{gameType = 'Levels', levelName = '" + level + "', ballsLeft = 9}");
        bbtest::EvalLua("_G").SetObject("GameOptions", options);
        // A fresh screen and play layer for each game, as the game screen builds them.
        Screen* screen = new Screen("FieldSweepScreen", "", nullptr);
        FieldLayer* layer = new FieldLayer();
        screen->AddChild(layer, "PlayLayer");
        m_Passes.SetRoot(screen);
        ArcadeGameLogic* logic = new ArcadeGameLogic(screen, layer, options);
        screen->SetLogic(logic);
        logic->StartGame();
        autoplay::FieldWatch watch(level, seed);
        Game game;
        const long heapAtStart = soak::LiveHeapKb();
        for (; game.passes < m_Options.limit; ++game.passes) {
            if (const ParticleManager* particles = ArcadeGameLogic::GetParticleManager())
                game.mostParticles = std::max(game.mostParticles, particles->GetChildren().size());
            game.growthKb = std::max(game.growthKb, soak::LiveHeapKb() - heapAtStart);
            if (game.growthKb > kMostGrowthKb) {
                game.outcome = UNFINISHED;
                game.fault = level + " seed " + std::to_string(seed) + ": the live heap grew by " +
                             std::to_string(game.growthKb / 1024) + " MB at pass " +
                             std::to_string(game.passes);
                break;
            }
            if (const auto outcome = autoplay::OutcomeOf(logic);
                outcome != autoplay::GAME_IN_PLAY) {
                game.outcome = outcome == autoplay::GAME_WON ? WON : LOST;
                break;
            }
            m_Player.PlayOnePass(logic, true);
            m_Passes.Step();
            if (const std::string held = HeldBallPastWall(logic); !held.empty()) {
                game.outcome = ESCAPED;
                game.fault = level + " seed " + std::to_string(seed) + " pass " +
                             std::to_string(game.passes) + ": " + held;
                break;
            }
            if (watch.Check(logic, game.passes)) {
                game.outcome = watch.GetFault() == autoplay::FieldWatch::ESCAPE ? ESCAPED : STALLED;
                game.fault = watch.Describe();
                break;
            }
        }
        game.putBacks = watch.GetPutBacks();
        game.deepestPutBack = watch.GetDeepestPutBack();
        game.longestStill = watch.GetLongestStill();
        game.putBackLines = watch.PutBackLines();
        if (game.outcome == UNFINISHED && game.fault.empty())
            game.fault = level + " seed " + std::to_string(seed) + ": still " +
                         logic->GetStateName() + " after " + std::to_string(game.passes) +
                         " passes";
        screen->SetLogic(nullptr);
        m_Passes.Step();
        m_Passes.SetRoot(nullptr);
        delete screen;
        return game;
    }

private:
    const Options& m_Options;
    // The level manager the controller finds the levels through.
    LevelManager m_Levels;
    bbtest::PassHarness m_Passes{nullptr, 640, 480};
    autoplay::AutoPlayer m_Player;
};

// Sets or clears the key of the level's table; gives what it held before.
void ClearLevelKey(const std::string& level, const std::string& key, bool restore)
{
    const std::string table = "Levels['" + level + "']";
    MakoLuaState::LoadString(GetGlobalLuaState(),
                             restore ? table + "['" + key +
                                           "'] = __FieldSweepSaved __FieldSweepSaved = nil"
                                     : "__FieldSweepSaved = " + table + "['" + key + "'] " + table +
                                           "['" + key + "'] = nil");
}

std::string Summary(const std::string& level, const std::vector<Game>& games)
{
    int counts[5] = {};
    int putBacks = 0;
    double deepest = 0.0;
    int still = 0;
    std::vector<int> passes;
    for (const Game& game : games) {
        ++counts[game.outcome];
        passes.push_back(game.passes);
        putBacks += game.putBacks;
        deepest = std::max(deepest, game.deepestPutBack);
        still = std::max(still, game.longestStill);
    }
    std::sort(passes.begin(), passes.end());
    char line[200];
    std::snprintf(line, sizeof line, "%-16s %3d %4d %7d %6d %10d %8d %7.1f  %6d %6d %6d  %5d",
                  level.c_str(), counts[WON], counts[LOST], counts[ESCAPED], counts[STALLED],
                  counts[UNFINISHED], putBacks, deepest, passes.front(), passes[passes.size() / 2],
                  passes.back(), still);
    return line;
}

// The games of each outcome, then every fault found.
void PrintTotals(FILE* report, const int (&totals)[5], const std::vector<std::string>& faults)
{
    std::fprintf(report,
                 "\nfieldsweep: %d games: %d won, %d lost, %d escaped, %d stalled, %d "
                 "unfinished\n",
                 totals[WON] + totals[LOST] + totals[ESCAPED] + totals[STALLED] +
                     totals[UNFINISHED],
                 totals[WON], totals[LOST], totals[ESCAPED], totals[STALLED], totals[UNFINISHED]);
    for (const std::string& fault : faults)
        std::fprintf(report, "  %s\n", fault.c_str());
}

// ---- The level-value sweep ---------------------------------------------------------------

// The level every value game plays: two bricks the player breaks in a few hundred passes, a
// paddle with its ball and a free ball. A case sets one value in it (the text's V).
const char kValueLevel[] = R"lua(Levels.ValueSweep = {
    fullName = "Values", noteText = "", fromText = "", music = "Harbour.mid",
    compiledBricks = { { resource = "RedBrick", position = { 8, 12 } },
                       { resource = "RedBrick", position = { 10, 12 } } },
    paddleStarts = { { position = { 288, 416 }, ballStart = { } } },
    ballStarts = { { position = { 300, 300 }, velocity = { 0, 150 } } },
}
local L = Levels.ValueSweep
)lua";

// The numbers a case gives: none of the first five is in any range a level may use.
const char* const kValues[] = {"0/0", "1/0", "-1/0", "1e308", "-1e308", "2^31", "-2^31", "1e-310"};
const int kValuesNoRangeHolds = 5;

struct ValueCase
{
    std::string key; // as a report names it
    std::string lua; // the statement that sets it, V standing for the value
};

// Every numeric key of the level reader (so a key added to it is swept without a word
// here), then the numbers of the tables that move the field and serve its balls.
std::vector<ValueCase> ValueCases()
{
    std::vector<ValueCase> cases;
    for (const LevelKeys::Key& key : LevelKeys::All())
        if (key.luaType == LUA_TNUMBER)
            cases.push_back({key.name, "L['" + key.name + "'] = V"});
    const std::string wind = "L.wind = { strength = 30, direction = { 1, 0 }, variance = 8, "
                             "normalization = 3, ";
    for (const char* key : {"strength", "variance", "normalization"})
        cases.push_back({key, wind + key + " = V }"});
    cases.push_back({"direction[1]", wind + "direction = { V, 1 } }"});
    cases.push_back({"strength", "L.gravity = { strength = V, center = { 320, 220 } }"});
    cases.push_back({"strength", "L.gravity = { strength = V, direction = { 0, 1 } }"});
    cases.push_back({"center[1]", "L.gravity = { strength = 60, center = { V, 220 } }"});
    cases.push_back({"direction[1]", "L.gravity = { strength = 60, direction = { V, 1 } }"});
    cases.push_back({"decreaseWith", "L.gravity = { strength = 3000, center = { 320, 220 }, "
                                     "decreaseWith = V }"});
    const std::string slide = "L.progressive = { thresholdLines = 12, stopY = 120, stepSize = "
                              "16, rate = 2, ";
    for (const char* key : {"thresholdLines", "stopY", "stepSize", "rate", "endHeight"})
        cases.push_back({key, slide + key + " = V }"});
    const std::string fall = "L.timeAttack = { fallRate = 0.05, accel = 0.0001, "
                             "maxFallRate = 0.2, thresholdLines = 25, stopY = 300, ";
    for (const char* key : {"fallRate", "accel", "maxFallRate", "thresholdLines", "stopY"})
        cases.push_back({key, fall + key + " = V }"});
    cases.push_back({"velocity[1]", "L.ballStarts[1].velocity = { V, 150 }"});
    cases.push_back({"velocity[2]", "L.ballStarts[1].velocity = { 0, V }"});
    cases.push_back({"variance[1]", "L.ballStarts[1].variance = { V, 0 }"});
    cases.push_back({"position[1]", "L.ballStarts[1].position = { V, 300 }"});
    cases.push_back({"launchAngle", "L.compiledBricks[3] = { resource = 'RedBrick', position = "
                                    "{ 4, 6 }, launchAngle = V }"});
    return cases;
}

// Plays every case at every value; returns the exit status (1 on any fault).
int SweepValues(FILE* report, const Options& options)
{
    Sweep sweep(options);
    std::vector<std::string> faults;
    int games = 0;
    std::size_t mostParticles = 0;
    long mostGrowthKb = 0;
    std::string mostParticlesAt, mostGrowthAt;
    std::fprintf(report,
                 "fieldsweep: level values, %d passes a game at most, live heap from the %s\n",
                 options.limit, soak::LiveHeapSource());
    std::fprintf(report, "%-44s %5s %9s %9s\n", "case", "games", "particles", "growth kB");
    for (const ValueCase& c : ValueCases()) {
        std::size_t caseParticles = 0;
        long caseGrowth = 0;
        for (int v = 0; v < int(sizeof kValues / sizeof *kValues); ++v) {
            std::string set = c.lua;
            set.replace(set.find('V'), 1, kValues[v]);
            for (std::size_t at; (at = set.find(" V ")) != std::string::npos;)
                set.replace(at + 1, 1, kValues[v]);
            const std::string name = set + " [" + kValues[v] + "]";
            MakoLuaState::LoadString(GetGlobalLuaState(), kValueLevel + set);
            std::vector<std::string> said;
            DataReport::Listener previous = DataReport::SetListener(
                [&said](const DataIssue& issue) { said.push_back(issue.ToString()); });
            const Game game = sweep.Play("ValueSweep", options.firstSeed);
            DataReport::SetListener(std::move(previous));
            ++games;
            caseParticles = std::max(caseParticles, game.mostParticles);
            caseGrowth = std::max(caseGrowth, game.growthKb);
            if (game.mostParticles > mostParticles) {
                mostParticles = game.mostParticles;
                mostParticlesAt = name;
            }
            if (game.growthKb > mostGrowthKb) {
                mostGrowthKb = game.growthKb;
                mostGrowthAt = name;
            }
            if (game.outcome != WON && game.outcome != LOST)
                faults.push_back(name + ": " + game.fault);
            const std::string quoted = "\"" + c.key + "\"";
            const bool named = std::any_of(said.begin(), said.end(), [&](const std::string& line) {
                return line.find(quoted) != std::string::npos ||
                       line.find("." + c.key + "\"") != std::string::npos;
            });
            if (v < kValuesNoRangeHolds && !named)
                faults.push_back(name + ": the game did not name \"" + c.key + "\"");
        }
        std::fprintf(report, "%-44s %5zu %9zu %9ld\n", ShortenedText(c.lua, 40).c_str(),
                     sizeof kValues / sizeof *kValues, caseParticles, caseGrowth);
    }
    std::fprintf(report,
                 "\nfieldsweep: %d games, %zu fault(s); most live particles %zu (%s), "
                 "largest growth of the live heap %ld kB (%s)\n",
                 games, faults.size(), mostParticles, mostParticlesAt.c_str(), mostGrowthKb,
                 mostGrowthAt.c_str());
    for (const std::string& fault : faults)
        std::fprintf(report, "  %s\n", fault.c_str());
    return faults.empty() ? 0 : 1;
}

// ---- The combination sweep ---------------------------------------------------------------

// The level every combination plays: bricks that hand out what changes a ball (its
// substance, its size, more balls), a spring, a paddle with its ball and a free ball. A case
// gives SIZES, SUBSTANCE and CORONA for the balls two bricks hold, which kFinish lays out
// once every case has set its keys.
const char kCombinationLevel[] = R"lua(Levels.CombinationSweep = {
    fullName = "Combinations", noteText = "", fromText = "", music = "Harbour.mid",
    compiledBricks = {
        { resource = "RedBrick", position = { 3, 6 }, powerups = { "RubberBall" } },
        { resource = "RedBrick", position = { 6, 6 }, powerups = { "Split" } },
        { resource = "RedBrick", position = { 9, 6 }, powerups = { "LightBall" } },
        { resource = "RedBrick", position = { 12, 6 }, powerups = { "BigBall" } },
        { resource = "RedBrick", position = { 15, 6 } },
        { resource = "RedBrick", position = { 7, 10 } },
        { resource = "RedBrick", position = { 11, 10 } },
        { resource = "SpringBrick", position = { 2, 14 } } },
    paddleStarts = { { position = { 288, 416 }, ballStart = { } } },
    ballStarts = { { position = { 300, 300 }, velocity = { 0, 150 } } },
}
local L = Levels.CombinationSweep
SIZES, SUBSTANCE, CORONA = nil, nil, nil
)lua";
const char kFinish[] = R"lua(for i, size in ipairs(SIZES or {}) do
    table.insert(L.compiledBricks, { resource = "RedBrick", position = { 6 * i, 12 },
        trappedBall = { size = size, substance = SUBSTANCE or "None", corona = CORONA,
                        activateBall = true } })
end
)lua";

struct Edge
{
    const char* name;
    const char* lua;
};

// The edges of the ranges that drive play, in groups of keys that meet in play: the ball's
// speeds, what pushes or pulls it, what boosts it at a bounce, its size, what moves the
// brick field. Each edge sets its keys at the ends of their ranges (or where a written
// level found a fault).
const Edge kSpeedEdges[] = {
    {"least speeds", "L.minBallSpeed = 50 L.maxBallSpeed = 50 L.maxBallOrdinarySpeed = 50"},
    {"speeds 100", "L.minBallSpeed = 100 L.maxBallSpeed = 100 L.maxBallOrdinarySpeed = 100"},
    {"top speeds", "L.initalBallSpeed = 2400 L.minBallSpeed = 2400 L.maxBallSpeed = 2400 "
                   "L.maxBallOrdinarySpeed = 2400 L.addSpeedPerTick = 10"},
};
const Edge kPullEdges[] = {
    {"wind 65 left", "L.wind = { strength = 65, direction = { -1, 0.15 } }"},
    {"wind 100 right", "L.wind = { strength = 100, direction = { 1, 0 } }"},
    {"wind 100 up", "L.wind = { strength = 100, direction = { 0, -1 } }"},
    {"wandering wind", "L.wind = { strength = -100, direction = { 1, 1 }, variance = 50, "
                       "normalization = 50 }"},
    {"gravity 400 down", "L.gravity = { strength = 400, direction = { 0, 1 } }"},
    {"top gravity up", "L.gravity = { strength = 100000, direction = { 0, -1 } }"},
    {"top gravity left", "L.gravity = { strength = 100000, direction = { -1, 0 } }"},
    {"top gravity point", "L.gravity = { strength = 100000, center = { 320, 60 } }"},
};
const Edge kBoostEdges[] = {
    {"top rubber", "L.rubberSpeed = 200 L.rubberEnergy = 16 "
                   "SUBSTANCE = 'Rubber'"},
    {"top rubber, small bricks",
     "L.rubberSpeed = 200 L.rubberEnergy = 16 "
     "SUBSTANCE = 'Rubber' "
     "local kinds = { 'LightBall', 'RubberBall', 'Split', 'BigBall' } "
     "for i = 0, 31 do table.insert(L.compiledBricks, { resource = 'RedBrick', "
     "brickSize = 'Half', position = { 1 + i % 16, 2 + math.floor(i / 16) }, "
     "powerups = { kinds[i % 4 + 1] } }) end"},
    {"top brick boost", "L.addSpeedOnBrickDestruction = 200 L.addSpeedOnLevelUp = 200 "
                        "L.ballSpeedPerEnergy = 100"},
    {"top upward boost", "L.ballExtraSpeedUpwards = 200"},
    {"top spring", "L.addSpeedOnSpring = 200"},
    {"top glue", "L.glueSpeed = 200 CORONA = 'Glue'"},
};
const Edge kSizeEdges[] = {
    {"size 0", "SIZES = { 0, 0 }"}, {"size 1", "SIZES = { 1, 1 }"}, {"size 2", "SIZES = { 2, 2 }"},
    {"size 3", "SIZES = { 3, 3 }"}, {"size 4", "SIZES = { 4, 4 }"}, {"size 5", "SIZES = { 5, 5 }"},
    {"size 6", "SIZES = { 6, 6 }"},
};
const Edge kMotionEdges[] = {
    {"top fall, stop 300", "L.timeAttack = { fallRate = 64, accel = 64, maxFallRate = 64, "
                           "thresholdLines = 25, stopY = 300, endDestroy = true }"},
    {"fall 40, stop 300", "L.timeAttack = { fallRate = 40, accel = 40, maxFallRate = 40, "
                          "thresholdLines = 25, stopY = 300, endDestroy = true }"},
    {"top fall, lose", "L.timeAttack = { fallRate = 64, maxFallRate = 64, thresholdLines = 25, "
                       "stopY = 300, endLose = true }"},
    {"top fall, no end", "L.timeAttack = { fallRate = 64, maxFallRate = 64, thresholdLines = 25, "
                         "stopY = 300 }"},
    {"top fall, far lines", "L.timeAttack = { fallRate = 64, accel = 64, maxFallRate = 64, "
                            "thresholdLines = 6250, stopY = 100000, endDestroy = true }"},
    {"least fall, back", "L.timeAttack = { fallRate = -64, accel = 64, maxFallRate = 64, "
                         "thresholdLines = -6250, stopY = -100000 }"},
    {"slide step -1e5", "L.progressive = { thresholdLines = 6250, stopY = 100000, "
                        "stepSize = -100000, rate = 64 }"},
    {"slide step 1e5", "L.progressive = { thresholdLines = -6250, stopY = 100000, "
                       "stepSize = 100000, rate = 64, endHeight = 100000 }"},
    {"slide to -1e5", "L.progressive = { thresholdLines = 6250, stopY = -100000, "
                      "stepSize = 100000, rate = 64, endHeight = -100000 }"},
};

struct EdgeGroup
{
    const Edge* edges;
    std::size_t count;
};
template <std::size_t N> EdgeGroup GroupOf(const Edge (&edges)[N])
{
    return {edges, N};
}

// The combinations played: every pair the groups are known to meet in (the least speeds
// with each wind and pull, each boost at its top with each ball size, each motion with each
// speed), then `drawn` triples of edges from three different groups, drawn with `seed`.
std::vector<std::vector<const Edge*>> Combinations(int drawn, unsigned seed)
{
    std::vector<std::vector<const Edge*>> all;
    const auto pairs = [&all](EdgeGroup a, EdgeGroup b, std::size_t firstOfA, std::size_t lastOfA) {
        for (std::size_t i = firstOfA; i <= lastOfA; ++i)
            for (std::size_t j = 0; j < b.count; ++j)
                all.push_back({&a.edges[i], &b.edges[j]});
    };
    const EdgeGroup speeds = GroupOf(kSpeedEdges), pulls = GroupOf(kPullEdges),
                    boosts = GroupOf(kBoostEdges), sizes = GroupOf(kSizeEdges),
                    motions = GroupOf(kMotionEdges);
    pairs(speeds, pulls, 0, 1);
    pairs(boosts, sizes, 0, boosts.count - 1);
    pairs(motions, speeds, 0, motions.count - 1);
    const EdgeGroup groups[] = {speeds, pulls, boosts, sizes, motions};
    std::mt19937 draw(seed);
    for (int n = 0; n < drawn; ++n) {
        std::vector<std::size_t> order = {0, 1, 2, 3, 4};
        std::shuffle(order.begin(), order.end(), draw);
        std::vector<const Edge*> triple;
        for (std::size_t k = 0; k < 3; ++k) {
            const EdgeGroup& group = groups[order[k]];
            triple.push_back(&group.edges[draw() % group.count]);
        }
        all.push_back(triple);
    }
    return all;
}

// Plays every combination with every seed; returns the exit status (1 on any fault).
int SweepCombinations(FILE* report, const Options& options)
{
    Sweep sweep(options);
    const auto combinations = Combinations(options.drawn, options.drawSeed);
    std::fprintf(report,
                 "fieldsweep: combinations of range edges (part %d of %d), seeds %u-%u, %d "
                 "triples drawn with seed %u, %d passes a game at most\n",
                 options.part, options.parts, options.firstSeed, options.lastSeed, options.drawn,
                 options.drawSeed, options.limit);
    std::fprintf(report, "%-58s %3s %4s %7s %6s  %5s  %s\n", "combination", "won", "lost",
                 "escaped", "others", "most", "narrowed");
    int totals[5] = {}, longest = 0;
    std::string longestName;
    std::vector<std::string> faults;
    int played = 0;
    for (std::size_t i = 0; i < combinations.size(); ++i) {
        if (int(i % options.parts) != options.part - 1)
            continue;
        ++played;
        const auto& combination = combinations[i];
        std::string name, set;
        for (const Edge* edge : combination) {
            name += (name.empty() ? "" : " + ") + std::string(edge->name);
            set += std::string(edge->lua) + "\n";
        }
        int counts[5] = {}, most = 0;
        std::vector<std::string> narrowed;
        for (unsigned seed = options.firstSeed; seed <= options.lastSeed; ++seed) {
            MakoLuaState::LoadString(GetGlobalLuaState(), kCombinationLevel + set + kFinish);
            DataReport::Listener previous =
                DataReport::SetListener([&narrowed](const DataIssue& issue) {
                    const std::string text = issue.text;
                    const std::size_t open = text.find('"');
                    const std::size_t close = text.find('"', open + 1);
                    const std::string key = open == std::string::npos || close == std::string::npos
                                                ? text
                                                : text.substr(open + 1, close - open - 1);
                    if (std::find(narrowed.begin(), narrowed.end(), key) == narrowed.end())
                        narrowed.push_back(key);
                });
            const Game game = sweep.Play("CombinationSweep", seed);
            DataReport::SetListener(std::move(previous));
            ++counts[game.outcome];
            ++totals[game.outcome];
            most = std::max(most, game.passes);
            if (game.passes > longest) {
                longest = game.passes;
                longestName = name + " seed " + std::to_string(seed);
            }
            if (game.outcome != WON && game.outcome != LOST)
                faults.push_back(name + ": " + game.fault);
        }
        std::string keys;
        for (const std::string& key : narrowed)
            keys += (keys.empty() ? "" : ", ") + key;
        std::fprintf(report, "%-58s %3d %4d %7d %6d  %5d  %s\n", name.c_str(), counts[WON],
                     counts[LOST], counts[ESCAPED], counts[STALLED] + counts[UNFINISHED], most,
                     keys.c_str());
    }
    std::fprintf(
        report,
        "\nfieldsweep: %d combinations, %d games: %d won, %d lost, %d escaped, %d "
        "stalled, %d unfinished; the longest game %d passes (%s)\n",
        played, totals[WON] + totals[LOST] + totals[ESCAPED] + totals[STALLED] + totals[UNFINISHED],
        totals[WON], totals[LOST], totals[ESCAPED], totals[STALLED], totals[UNFINISHED], longest,
        longestName.c_str());
    for (const std::string& fault : faults)
        std::fprintf(report, "  %s\n", fault.c_str());
    return faults.empty() ? 0 : 1;
}

bool ParseArguments(int argc, char** argv, Options& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--seeds") {
            const std::size_t dash = value.find('-');
            options.firstSeed = dash == std::string::npos ? 1 : std::stoul(value.substr(0, dash));
            options.lastSeed =
                std::stoul(dash == std::string::npos ? value : value.substr(dash + 1));
        } else if (key == "--levels") {
            std::stringstream list(value);
            for (std::string name; std::getline(list, name, ',');)
                if (!name.empty())
                    options.levels.push_back(name);
        } else if (key == "--without") {
            options.without = value;
        } else if (key == "--values") {
            options.values = value == "all";
            if (!options.values)
                return false;
        } else if (key == "--combinations") {
            options.drawn = std::stoi(value);
            options.combinations = options.drawn >= 0;
            if (!options.combinations)
                return false;
        } else if (key == "--part") {
            const std::size_t slash = value.find('/');
            if (slash == std::string::npos)
                return false;
            options.part = std::stoi(value.substr(0, slash));
            options.parts = std::stoi(value.substr(slash + 1));
            if (options.parts < 1 || options.part < 1 || options.part > options.parts)
                return false;
        } else if (key == "--draw") {
            options.drawSeed = std::stoul(value);
        } else if (key == "--limit") {
            options.limit = std::atoi(value.c_str());
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && options.firstSeed <= options.lastSeed && options.limit > 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    try {
        if (!ParseArguments(argc, argv, options))
            throw std::invalid_argument("arguments");
    } catch (const std::exception&) {
        std::fprintf(
            stderr, "usage: fieldsweep [--seeds N | --seeds FIRST-LAST] "
                    "[--levels Name,...] [--without key] [--limit passes]\n"
                    "       fieldsweep --values all [--seeds N] [--limit passes]\n"
                    "       fieldsweep --combinations DRAWN [--draw SEED] [--part K/N] [--seeds N] "
                    "[--limit passes]\n");
        return 2;
    }
    if (!std::getenv("BB_TEST_ASSET_PACK")) {
        std::fprintf(stderr, "fieldsweep: set BB_TEST_ASSET_PACK to an asset pack folder\n");
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The game's log goes to fieldsweep-app.log; the sweep's table to standard output.
    FILE* report = fdopen(dup(1), "w");
    if (!report || !std::freopen("fieldsweep-app.log", "w", stdout)) {
        std::fprintf(stderr, "fieldsweep: cannot write fieldsweep-app.log\n");
        return 2;
    }
    std::setvbuf(report, nullptr, _IOLBF, 0);
    bbtest::OpenGameResources();
    if (options.values) {
        bbtest::LoadGameLevels();
        return SweepValues(report, options);
    }
    if (options.combinations) {
        bbtest::LoadGameLevels();
        return SweepCombinations(report, options);
    }
    if (options.levels.empty())
        for (const std::string& file : bbtest::LoadGameLevels())
            options.levels.push_back(file.substr(0, file.rfind('.')));
    else
        bbtest::LoadGameLevels();

    Sweep sweep(options);
    std::fprintf(report, "fieldsweep: %zu levels, seeds %u-%u%s\n", options.levels.size(),
                 options.firstSeed, options.lastSeed,
                 options.without.empty() ? "" : (", without " + options.without).c_str());
    std::fprintf(report, "%-16s %3s %4s %7s %6s %10s %8s %7s  %6s %6s %6s  %5s\n", "level", "won",
                 "lost", "escaped", "stalls", "unfinished", "putbacks", "deepest", "min", "median",
                 "max", "still");
    std::vector<std::string> faults, putBackLines;
    int totals[5] = {};
    for (const std::string& level : options.levels) {
        if (!options.without.empty())
            ClearLevelKey(level, options.without, false);
        std::vector<Game> games;
        for (unsigned seed = options.firstSeed; seed <= options.lastSeed; ++seed) {
            games.push_back(sweep.Play(level, seed));
            ++totals[games.back().outcome];
            if (!games.back().fault.empty())
                faults.push_back(games.back().fault);
            for (const std::string& line : games.back().putBackLines)
                if (putBackLines.size() < kPutBackLinesShown)
                    putBackLines.push_back(line);
        }
        if (!options.without.empty())
            ClearLevelKey(level, options.without, true);
        std::fprintf(report, "%s\n", Summary(level, games).c_str());
    }
    PrintTotals(report, totals, faults);
    if (!putBackLines.empty())
        std::fprintf(report, "the first put-backs:\n");
    for (const std::string& line : putBackLines)
        std::fprintf(report, "  %s\n", line.c_str());
    return totals[ESCAPED] + totals[STALLED] + totals[UNFINISHED] > 0 ? 1 : 0;
}

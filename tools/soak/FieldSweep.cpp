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
//
// --without clears that key of each level's table before its games (for instance
// "gravity"), and puts it back after. BB_TEST_ASSET_PACK names the asset pack.
#include "autoplay/AutoPlayer.h"
#include "autoplay/FieldWatch.h"
#include "autoplay/GameOutcome.h"
#include "core/Random.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "scene/Actor.h"
#include "screens/Screen.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/GameLevels.h"
#include "support/engine/PassHarness.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

enum Outcome { WON, LOST, ESCAPED, STALLED, UNFINISHED };

// The put-backs listed after the totals, over all games.
const std::size_t kPutBackLinesShown = 30;

struct Game
{
    Outcome outcome = UNFINISHED;
    int passes = 0;
    std::string fault;
    int putBacks = 0;
    double deepestPutBack = 0.0;
    int longestStill = 0;
    std::vector<std::string> putBackLines;
};

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
        for (; game.passes < m_Options.limit; ++game.passes) {
            if (const auto outcome = autoplay::OutcomeOf(logic);
                outcome != autoplay::GAME_IN_PLAY) {
                game.outcome = outcome == autoplay::GAME_WON ? WON : LOST;
                break;
            }
            m_Player.PlayOnePass(logic, true);
            m_Passes.Step();
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
        if (game.outcome == UNFINISHED)
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
        std::fprintf(stderr, "usage: fieldsweep [--seeds N | --seeds FIRST-LAST] "
                             "[--levels Name,...] [--without key] [--limit passes]\n");
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

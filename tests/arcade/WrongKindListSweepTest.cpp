// The wrong-kind sweep over lists: every list the game reads from a level (the power-up
// lists of the serves and the bonuses, the paddle and ball starts, the bricks, the actors,
// the power-ups of a brick and of a goober, a structure's factories, a factory's creations
// and triggers, a composite motion's children, a trail's emitters) and the keys that hold
// one object of a kind (a structure's motion, a composite's one child, a creation's object),
// each given an element of every kind it does not hold: a word, a number, true, an empty
// table, a table of another class, the table Levels itself and another level. Each case is a
// level file run as the game runs level files; the level is built, served, played by the
// headless player and its letters made. No check of the program's own may fail on it (no
// "Assertion failed" in the log), nothing may escape a pass, the level must be built,
// nothing may be written into `Levels` or another level (the level's own tables only lose
// what the key check names), and the element must be named with the level and its key.
#include "LevelSweep.h"

#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "support/engine/GameLevels.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The level every case starts from: two bricks, a goober, a paddle serving its ball and a
// free ball; a second level for the cases that hand one level to another; and a level
// named "resources", so that Levels itself names a resource, as the other level does (a
// start inheriting from them must not write into either).
const char kListBaseLevel[] = R"lua(
Levels.WrongKindOther = {
    fullName = "Other", compiledBricks = { { resource = "RedBrick", position = { 3, 3 } } },
    resources = { "BottomPaddleStart" },
}
Levels.resources = { "BottomPaddleStart" }
Levels.WrongKindSweep = {
    fullName = "Wrong", noteText = "A note.", fromText = "The Workshop", music = "Harbour.mid",
    compiledBricks = { { resource = "RedBrick", position = { 10, 3 } },
                       { resource = "RedBrick", position = { 12, 3 } } },
    levelActors = { { class = "Goober", resource = "NormalGoober", position = { 320, 200 } } },
    paddleStarts = { { position = { 288, 416 }, ballStart = { } } },
    ballStarts = { { position = { 300, 300 }, velocity = { 0, 150 } } },
}
local L = Levels.WrongKindSweep
)lua";

// A text of the names Levels holds and of everything the other level and the resources
// level hold, at every depth (each table once, keys in a fixed order; Levels met inside them
// by its name): two texts differ when anything was written into them.
const char kDumpLua[] = R"lua(
function WrongKindSweepDump()
    local seen, out = { [Levels] = true }, {}
    local function SortedKeys(t)
        local keys = {}
        for k in next, t do keys[#keys + 1] = k end
        table.sort(keys, function(a, b) return tostring(a) < tostring(b) end)
        return keys
    end
    local function Walk(v)
        if type(v) ~= "table" then
            out[#out + 1] = type(v) .. ":" .. tostring(v)
        elseif seen[v] then
            out[#out + 1] = v == Levels and "Levels" or "again"
        else
            seen[v] = true
            out[#out + 1] = "{"
            for _, k in ipairs(SortedKeys(v)) do
                out[#out + 1] = tostring(k) .. "="
                Walk(rawget(v, k))
            end
            out[#out + 1] = "}"
        end
    end
    for _, k in ipairs(SortedKeys(Levels)) do out[#out + 1] = tostring(k) end
    Walk(rawget(Levels, "WrongKindOther"))
    Walk(rawget(Levels, "resources"))
    return table.concat(out, " ")
end
)lua";

// What Levels names and the two levels of a case hold now.
std::string LevelsText()
{
    return GetGlobalLuaState()->GetGlobal("WrongKindSweepDump").Call().ToString();
}

// The kinds of element; each list holds tables of one kind (or names), so every one of these
// is of the wrong kind somewhere.
enum Kind : unsigned {
    WORD = 1,
    NUMBER = 2,
    TRUE = 4,
    EMPTY_TABLE = 8,
    OTHER_CLASS = 16,
    LEVELS = 32,
    OTHER_LEVEL = 64,
    ALL_KINDS = 127,
};

struct Element
{
    Kind kind;
    const char* label;
    const char* lua;
};

const Element kElements[] = {
    {WORD, "a word", "'x'"},
    {NUMBER, "a number", "5"},
    {TRUE, "true", "true"},
    {EMPTY_TABLE, "an empty table", "{}"},
    {OTHER_CLASS, "a table of another class", "{ class = 'MotionWait', duration = 1 }"},
    {LEVELS, "Levels", "Levels"},
    {OTHER_LEVEL, "another level", "Levels.WrongKindOther"},
};

// A table of another class where the list holds motions, and an entry naming a class of
// another kind where the list holds power-up entries.
const char kNotAMotion[] = "{ class = 'Goober', resource = 'NormalGoober' }";
const char kNotAPowerup[] = "{ powerupClass = 'Paddle' }";

// A factory that lets out a goober when its brick breaks, with its lists given as Lua text.
std::string FactoryWith(const std::string& lists)
{
    return "{ class = 'Factory', destroyTriggers = { {} }, " + lists + " }";
}

const char kGoodCreation[] = "{ objectSpec = { class = 'Goober', resource = 'NormalGoober' } }";

struct ListSite
{
    const char* name;
    // The statement that puts the element E into the list, beside a good element.
    std::string statement;
    // A line naming the element holds the level's name and one of these.
    std::vector<std::string> keys;
    // The kinds that are of the wrong kind here (an empty table is a start, a brick or a
    // trigger with every key at its default).
    unsigned kinds = ALL_KINDS;
    // The element of another class, when a table of a motion (or a power-up entry naming
    // a class) is what the list holds.
    const char* otherClass = nullptr;
};

std::vector<ListSite> ListSites()
{
    const std::string goodFactory =
        FactoryWith(std::string("creations = { ") + kGoodCreation + " }");
    const std::string moving = "L.levelActors[2] = { class = 'ArcadeStructure', rectangle = { 8, "
                               "8 }, position = { 100, 100 }, motion = ";
    return {
        {"serve power-ups per ball",
         "L.initialPowerups = { perBall = { E, { powerupClass = 'BlingCoin' } } }",
         {"initialPowerups.perBall[1]"},
         ALL_KINDS,
         kNotAPowerup},
        {"serve power-ups per level",
         "L.initialPowerups = { perLevel = { E, { powerupClass = 'BlingCoin' } } }",
         {"initialPowerups.perLevel[1]"},
         ALL_KINDS,
         kNotAPowerup},
        {"serve power-ups per spawn",
         "L.initialPowerups = { perSpawn = { E, { powerupClass = 'BlingCoin' } } }",
         {"initialPowerups.perSpawn[1]"},
         ALL_KINDS,
         kNotAPowerup},
        {"last-brick bonus",
         "L.lastBrickBonus = { E, { powerupClass = 'BlingCoin' } }",
         {"lastBrickBonus[1]"},
         ALL_KINDS,
         kNotAPowerup},
        {"arcade bonus",
         "L.arcadeBonus = { E, { powerupClass = 'Split' } }",
         {"arcadeBonus[1]"},
         ALL_KINDS,
         kNotAPowerup},
        {"paddle starts",
         "table.insert(L.paddleStarts, 1, E)",
         {"paddleStarts[1]", "paddle start"},
         ALL_KINDS & ~EMPTY_TABLE},
        {"ball starts",
         "table.insert(L.ballStarts, 1, E)",
         {"ballStarts[1]"},
         ALL_KINDS & ~EMPTY_TABLE},
        {"bricks",
         "table.insert(L.compiledBricks, 1, E)",
         {"compiledBricks[1]"},
         ALL_KINDS & ~EMPTY_TABLE},
        {"level actors", "table.insert(L.levelActors, 1, E)", {"levelActors[1]"}},
        {"extra actors",
         "L.extraActors = { E, { class = 'Brick', resource = 'RedBrick', position = { 40, 40 } } }",
         {"extraActors[1]"}},
        {"a brick's power-ups", "L.compiledBricks[1].powerups = { E, 'BlingCoin' }", {"powerups"}},
        {"a goober's power-ups", "L.levelActors[1].powerups = { E, 'BlingCoin' }", {"powerups"}},
        {"a brick's factories",
         "L.compiledBricks[1].factories = { E, " + goodFactory + " }",
         {"factories[1]"}},
        {"a factory's creations",
         "L.compiledBricks[1].factories = { " +
             FactoryWith(std::string("creations = { E, ") + kGoodCreation + " }") + " }",
         {"creations[1]"}},
        {"a creation's object",
         "L.compiledBricks[1].factories = { " + FactoryWith("creations = { { objectSpec = E } }") +
             " }",
         {"objectSpec"}},
        {"a factory's hit triggers",
         "L.compiledBricks[1].factories = { " +
             FactoryWith(std::string("hitTriggers = { E, {} }, creations = { ") + kGoodCreation +
                         " }") +
             " }",
         {"hitTriggers[1]"},
         WORD | NUMBER | TRUE},
        {"a composite motion's children",
         moving + "{ class = 'MotionSequential', addMotionList = { E, { class = 'MotionWait', "
                  "duration = 5 } } } }",
         {"addMotionList[1]"},
         ALL_KINDS,
         kNotAMotion},
        {"a composite motion's one child",
         moving + "{ class = 'MotionSequential', addMotion = E } }",
         {"addMotion"},
         ALL_KINDS,
         kNotAMotion},
        {"a structure's motion", moving + "E }", {"motion"}, ALL_KINDS & ~EMPTY_TABLE, kNotAMotion},
        // A word is an emitter's name here: names are looked up by kind elsewhere.
        {"a trail's emitters",
         "L.levelActors[1].trailEmitter = { E }",
         {"trailEmitter[1]"},
         ALL_KINDS & ~WORD},
    };
}

// Whether a line of the log names the level and one of the keys.
bool NamesTheElement(const std::string& log, const std::vector<std::string>& keys)
{
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("\"WrongKindSweep\"") == std::string::npos &&
            line.find("WrongKindSweep.") == std::string::npos)
            continue;
        for (const std::string& key : keys)
            if (line.find(key) != std::string::npos)
                return true;
    }
    return false;
}

// The passes each case is played: the serve, the ball's first bounces and whatever the
// level's factories and motions do meanwhile.
constexpr int kListPasses = 300;

// The sweep's tally, printed when it ends.
struct ListTally : gametest::SweepTally
{
    using SweepTally::SweepTally;
    ~ListTally() { Print("wrong-kind sweep"); }
};

class WrongKindListSweep : public gametest::LevelSweepFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        bbtest::LoadGameLevels();
        MakoLuaState::LoadString(GetGlobalLuaState(), kDumpLua);
    }

    // Runs the text as the level file `Levels/<file>.lua`, through the game's own reader.
    static bool RunLevelFile(const std::string& text, const std::string& file, std::string& error)
    {
        return LevelManager::RunLevelText(GetGlobalLuaState(), text, "@Levels/" + file + ".lua",
                                          error) == 0;
    }

    void Run(const ListSite& site, const Element& element, ListTally& tally)
    {
        const std::string run = std::string(site.name) + " holding " + element.label;
        SCOPED_TRACE(run);
        // Named before it runs: a run that ends the program is known by the last name.
        std::cout << "wrong-kind run: " << run << std::endl;
        const auto from = std::chrono::steady_clock::now();
        MakoLuaState::LoadString(GetGlobalLuaState(), "rawset(Levels, 'WrongKindSweep', nil) "
                                                      "rawset(Levels, 'WrongKindOther', nil) "
                                                      "rawset(Levels, 'resources', nil)");
        const std::string value =
            element.kind == OTHER_CLASS && site.otherClass ? site.otherClass : element.lua;
        const std::string text =
            kListBaseLevel + std::string("local E = ") + value + "\n" + site.statement + "\n";
        bbtest::LogCapture log;
        std::string error;
        EXPECT_TRUE(RunLevelFile(text, "WrongKindSweep", error)) << error;
        // Building the level never writes into Levels or another level.
        const std::string before = LevelsText();
        try {
            PlayLevel("WrongKindSweep", kListPasses);
        } catch (const std::exception& e) {
            ADD_FAILURE() << run << ": a pass raised " << e.what();
        }
        EXPECT_TRUE(before == LevelsText()) << run << ": Levels or another level was written into";
        const std::string logText = log.Text();
        EXPECT_EQ(std::string::npos, logText.find("Assertion failed")) << run << "\n" << logText;
        EXPECT_EQ(std::string::npos, logText.find("could not be built")) << run << "\n" << logText;
        EXPECT_TRUE(NamesTheElement(logText, site.keys))
            << run << ": no line names the level and " << site.keys.front() << "\n"
            << logText.substr(0, 4000);
        tally.Ran(run, from);
        EndGame();
        passes.Step();
    }

    LevelManager manager;
};

TEST_F(WrongKindListSweep, EveryListLeavesOutAnElementOfEveryWrongKindNamingIt)
{
    ListTally tally{"lists"};
    const std::vector<ListSite> sites = ListSites();
    tally.sites = int(sites.size());
    tally.values = int(std::size(kElements));
    for (const ListSite& site : sites)
        for (const Element& element : kElements)
            if (site.kinds & element.kind)
                Run(site, element, tally);
}

} // namespace

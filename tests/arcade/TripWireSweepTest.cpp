// The trip-wire sweep: every key the game reads from a level file (the level's own keys, its
// bricks, actors, paddle and ball starts and its artefact), from a player card and from the
// configuration, and every property of every class a level may build, is given each value
// of a hostile dictionary: texts between bars that call a trip wire or the system, the names
// of functions that write files or change cards, a function the file made, a function a
// later file plants in the level, NUL and control characters, a text of 1 MiB, extreme
// numbers and deep tables. Each run reads the file through the game's own reader and uses
// what it read: a level is built and played, a card is shown on the menu, the map, the lab
// and the finds, a configuration starts a game.
//
// The trip wires stand in for every function of os and io, the loaders (dofile, loadfile,
// loadstring, load, require, module) and every function of the game that writes a file or
// changes a card, from when the file is read until the run is over; a call of any of them
// fails the run, as does a data-made function left in the game's tables or an object of a
// class a level may not build. Every run must end by itself.
#include "GameApp.h"
#include "LevelSweep.h"

#include "autoplay/AutoPlayer.h"
#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/LevelClasses.h"
#include "logic/LevelKeys.h"
#include "logic/LevelManager.h"
#include "lua/DataScript.h"
#include "lua/MakoLuaState.h"
#include "players/CardCheck.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "scene/Actor.h"
#include "scene/SceneHost.h"
#include "screens/ArcadeArtifactScreen.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeLabScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/EndLevelBonusDialog.h"
#include "screens/PaperRules.h"
#include "screens/ScreenManager.h"
#include "screens/StartLevelDialog.h"
#include "sound/BASSSoundLoader.h"
#include "sound/DirectMusicLoader.h"
#include "sound/MusicSegment.h"
#include "sound/Sound.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"
#include "support/engine/DataVoice.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/GameLevels.h"
#include "support/engine/LogCapture.h"
#include "widgets/ButtonCaption.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---- The trip wires ------------------------------------------------------------------------

struct Wires
{
    bool armed = false;
    int calls = 0;
    std::vector<std::string> names;
};
Wires g_Wires;

// A trip wire: while armed (or when it stands for nothing), counts the call and does
// nothing; else passes the call on to the function it replaced (upvalue 2).
int WireCall(lua_State* L)
{
    if (g_Wires.armed || lua_isnil(L, lua_upvalueindex(2))) {
        ++g_Wires.calls;
        if (g_Wires.names.size() < 8)
            g_Wires.names.push_back(lua_tostring(L, lua_upvalueindex(1)));
        return 0;
    }
    lua_pushvalue(L, lua_upvalueindex(2));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

// The globals that load or run code, and the game's functions that write files, change
// cards or the levels, or quit.
const char* const kWiredGlobals[] = {"dofile",
                                     "loadfile",
                                     "loadstring",
                                     "load",
                                     "require",
                                     "module",
                                     "CreateDirectory",
                                     "chdir",
                                     "ClearPlayer",
                                     "SaveData",
                                     "LoadData",
                                     "Load",
                                     "WriteConfig",
                                     "Do_Serialize",
                                     "AddScoreRecords",
                                     "AddWordRecords",
                                     "RefreshRecordsFromPlayers",
                                     "RebuildRatingsList",
                                     "ClearHighScores",
                                     "ClearRatingsList",
                                     "ReloadLevels",
                                     "AppQuit",
                                     "TripWire"};

// Replaces the entry of holder under name by a wire (once: a wire is never wrapped again).
void Wire(lua_State* L, int holder, const std::string& name, const std::string& label)
{
    lua_getfield(L, LUA_REGISTRYINDEX, "TripWires");
    lua_getfield(L, holder, name.c_str());
    lua_rawget(L, -2);
    const bool wired = lua_toboolean(L, -1);
    lua_pop(L, 2);
    if (wired)
        return;
    lua_pushstring(L, label.c_str());
    lua_getfield(L, holder, name.c_str());
    lua_pushcclosure(L, WireCall, 2);
    lua_getfield(L, LUA_REGISTRYINDEX, "TripWires");
    lua_pushvalue(L, -2);
    lua_pushboolean(L, 1);
    lua_rawset(L, -3);
    lua_pop(L, 1);
    lua_setfield(L, holder, name.c_str());
}

// Lays the wires over the globals, every member of os and io, and string.TripWire (which a
// function a data file made reaches through any text's methods, once it runs outside the
// file). Again after the game's scripts ran anew.
void LayWires()
{
    lua_State* L = GetGlobalLuaState()->GetCState();
    const int top = lua_gettop(L);
    lua_getfield(L, LUA_REGISTRYINDEX, "TripWires");
    if (lua_isnil(L, -1)) {
        lua_newtable(L);
        lua_setfield(L, LUA_REGISTRYINDEX, "TripWires");
    }
    lua_settop(L, top);
    for (const char* name : kWiredGlobals)
        Wire(L, LUA_GLOBALSINDEX, name, name);
    for (const char* library : {"os", "io"}) {
        lua_getglobal(L, library);
        const int table = lua_gettop(L);
        std::vector<std::string> members;
        for (lua_pushnil(L); lua_next(L, table); lua_pop(L, 1))
            if (lua_type(L, -2) == LUA_TSTRING && lua_isfunction(L, -1))
                members.push_back(lua_tostring(L, -2));
        for (const std::string& member : members)
            Wire(L, table, member, std::string(library) + "." + member);
        lua_settop(L, top);
    }
    lua_getglobal(L, "string");
    Wire(L, lua_gettop(L), "TripWire", "string.TripWire");
    lua_settop(L, top);
}

// Arms the wires while it lives; Calls() tells what tripped them.
class Armed
{
public:
    Armed()
    {
        LayWires();
        g_Wires.calls = 0;
        g_Wires.names.clear();
        g_Wires.armed = true;
    }
    ~Armed() { g_Wires.armed = false; }
    static std::string Calls()
    {
        std::string text;
        for (const std::string& name : g_Wires.names)
            text += " " + name;
        return std::to_string(g_Wires.calls) + " call(s):" + text;
    }
};

// ---- The hostile values ----------------------------------------------------------------------

struct Value
{
    std::string label;
    std::string lua;
};

const char kDataFunction[] = "function(...) return ('').TripWire(...) end";

// names: every wired name, else a few of each kind (the loaders, the system, the writers).
std::vector<Value> HostileValues(bool allNames = false)
{
    std::vector<Value> values = {
        {"bar TripWire", "'|TripWire()|'"},
        {"bar os.execute", "\"|os.execute('x')|\""},
        {"bar dofile", "\"|dofile('x')|\""},
        {"bar inside", "'x|TripWire()|y|io.write(1)|'"},
        {"NUL", "'\\0'"},
        {"NUL and bar", "'\\0|TripWire()|'"},
        {"controls", "'a\\1\\9\\n\\27\\127b'"},
        {"not UTF-8", "'\\255\\192\\175x'"},
        {"1 MiB", "('|TripWire()|'):rep(87381)"},
        {"0", "0"},
        {"-1", "-1"},
        {"2^31", "2147483648"},
        {"-2^31", "-2147483648"},
        {"2^53", "9007199254740992"},
        {"1e308", "1e308"},
        {"NaN", "0/0"},
        {"inf", "1/0"},
        {"-inf", "-1/0"},
        {"0.5", "0.5"},
        {"true", "true"},
        {"function", kDataFunction},
        {"deep table", "(function() local t = {} for i = 1, 300 do t = { t } end return t end)()"},
        {"table of bar", "{ '|TripWire()|', x = '|TripWire()|' }"},
        {"condition", "{ name = 'TripWire', args = {} }"},
        {"object", "{ class = 'Label', name = 'TripWireBuilt', text = '|TripWire()|' }"},
        {"numbers", "{ 1e308, 0/0, -1/0, 2147483648 }"},
    };
    std::vector<std::string> names = {"TripWire",        "dofile",      "loadstring", "os.execute",
                                      "CreateDirectory", "ClearPlayer", "SaveData"};
    if (allNames)
        names.assign(std::begin(kWiredGlobals), std::end(kWiredGlobals));
    for (const std::string& name : names)
        values.push_back({"name " + name, "'" + name + "'"});
    return values;
}

// The names of every function the game's script state holds as a global.
std::vector<std::string> GlobalFunctionNames()
{
    std::vector<std::string> names;
    LuaPlus::LuaObject globals = GetGlobalLuaState()->GetGlobals();
    for (LuaPlus::LuaTableIterator it(globals); it; it.Next())
        if (it.GetKey().IsString() && it.GetValue().IsFunction())
            names.push_back(it.GetKey().GetString());
    std::sort(names.begin(), names.end());
    return names;
}

// Lua helpers: where a table holds a function a data file made (one whose environment is
// not the game's globals), and setting a value at a path of keys.
const char kTripSweepLua[] = R"lua(
function TripSweepDataFunction(value)
    local seen = {}
    local function Find(v, path)
        if type(v) == "function" then
            if getfenv(v) ~= _G then return path end
        elseif type(v) == "table" and not seen[v] then
            seen[v] = true
            for k, x in pairs(v) do
                local found = Find(k, path .. "[key]") or Find(x, path .. "." .. tostring(k))
                if found then return found end
            end
        end
        return nil
    end
    return Find(value, "") or ""
end
)lua";

// The sweep's tally, printed with the calls of the wires when it ends.
struct Tally : gametest::SweepTally
{
    using SweepTally::SweepTally;
    ~Tally() { Print("trip-wire sweep", ", trip-wire calls " + std::to_string(g_Wires.calls)); }
};

} // namespace

// ---- Level files ----------------------------------------------------------------------------

namespace {

// The classes a level may build: the field's kinds with the game's subclasses of them, and
// plain actors, field actors and structures, balls, paddles, explosions and sparks. Written
// out, so that the sweep knows them without asking the guard it tests.
// clang-format off
const char* const kClassesALevelMayBuild[] = {
    "Actor", "ArcadeActor", "ArcadeStructure", "Ball", "Brick", "Collider", "Explosion",
    "Factory", "Goober", "MotionAbsolute", "MotionConditional", "MotionLoop", "MotionOrbit",
    "MotionProperties", "MotionRelative", "MotionRotate", "MotionSequential",
    "MotionSimultaneous", "MotionStop", "MotionWait", "Paddle", "Spark",
    // The power-up kinds.
    "BlingCoin", "BlingDiamond", "BlingEmerald", "BlingRuby", "GoldBrickPowerup", "Secret",
    "IncreaseShield", "Breakthru", "DecreasePaddlePower", "IncreasePaddlePower", "RubberBall",
    "GlueBall", "HeavyBall", "LightBall", "BigBall", "SmallBall", "Faster", "Slower", "Split",
    "Lightning", "LetterB", "LetterR", "LetterE", "LetterA", "LetterK", "LetterO", "LetterU",
    "LetterT", "ExpandPaddle", "ContractPaddle", "PaddleCatch", "Laser", "ExtraBall",
    "NormalBall", "NormalPaddle",
};
// clang-format on

// A few classes the game can make that a level may not: widgets, the field's own walls and
// beams, the artefact, a spawner. Each run of the class sweep holds one entry of each.
const char* const kClassesALevelMayNotBuild[] = {"Label", "Button",    "Grid",     "ComboMeter",
                                                 "Wall",  "LaserBeam", "Artefact", "BallSpawner"};

bool ALevelMayBuild(const std::string& name)
{
    return std::find(std::begin(kClassesALevelMayBuild), std::end(kClassesALevelMayBuild), name) !=
           std::end(kClassesALevelMayBuild);
}

// The level every level run starts from.
const std::string kTripBaseLevel = gametest::SweepBaseLevel("TripSweep");

class TripWireLevelSweep : public gametest::LevelSweepFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        bbtest::LoadGameLevels();
        MakoLuaState::LoadString(GetGlobalLuaState(), kTripSweepLua);
    }

    // Runs the level file text (and a later file's, when given) as the game reads level
    // files, builds the level, plays it for the passes given and shows its letters.
    // plant: a path under the level (`compiledBricks[2].strength`) given a function a data
    // file made after the files ran, past the check that drops such levels.
    void Run(const std::string& run, const std::string& text, const std::string& later,
             int passCount, Tally& tally, const std::string& plant = std::string())
    {
        SCOPED_TRACE(run);
        const auto from = std::chrono::steady_clock::now();
        LuaPlus::LuaState* state = GetGlobalLuaState();
        MakoLuaState::LoadString(state, "rawset(Levels, 'TripSweep', nil)");
        bbtest::LogCapture log;
        bbtest::DataVoice voice;
        {
            Armed armed;
            std::string error;
            LevelManager::RunLevelText(state, text, "@Levels/TripSweep.lua", error);
            if (!later.empty())
                LevelManager::RunLevelText(state, later, "@Levels/TripSweepLater.lua", error);
            const LuaPlus::LuaObject level = state->GetGlobal("Levels")["TripSweep"];
            const std::string left =
                state->GetGlobal("TripSweepDataFunction").Call(level).ToString();
            EXPECT_EQ("", left) << run << ": a function the file made is left in the level";
            if (!plant.empty() && level.IsTable())
                PlantDataFunction(plant);
            if (level.IsTable() && left.empty()) {
                try {
                    Play(passCount);
                } catch (const std::exception& e) {
                    ADD_FAILURE() << run << ": " << e.what();
                }
            }
            EXPECT_EQ(0, g_Wires.calls) << run << ": " << Armed::Calls() << "\n"
                                        << log.Text().substr(0, 1500);
        }
        // No value reached an assertion, and the level check would name every line the
        // game logged about the level.
        EXPECT_EQ("", voice.Faults(log.Text())) << run;
        tally.Ran(run, from);
        EndGame();
        passes.Step();
    }

    // Sets the value at the path of the level to a function made by a level file's runner.
    static void PlantDataFunction(const std::string& path)
    {
        LuaPlus::LuaState* state = GetGlobalLuaState();
        const LuaPlus::LuaObject environment = DataScript::MakeEnvironment(state, {"Levels"});
        std::string error;
        DataScript::Run(state, std::string("TripSweepMade = ") + kDataFunction, "=plant",
                        environment, "plant", error);
        state->GetGlobals().SetObject("TripSweepMade", environment["TripSweepMade"]);
        MakoLuaState::LoadString(state, "Levels.TripSweep." + path + " = TripSweepMade");
    }

    void Play(int passCount)
    {
        PlayLevel("TripSweep", passCount);
        // No object of a class a level may not build came from the level.
        if (Actor* built = screen->Actor::GetChild("TripWireBuilt", true)) {
            EXPECT_TRUE(ALevelMayBuild(built->GetClass()->GetName()))
                << built->GetClass()->GetName() << " was built from level data";
        }
        if (Actor* built = screen->Actor::GetChild("TripWireForbidden", true))
            ADD_FAILURE() << built->GetClass()->GetName() << " was built from level data";
    }

    void SweepEntries(const std::set<std::string>& only);

    // Every property of every class a level may build, each hostile value: the part-th of
    // parts shares of them.
    void SweepClassSites(std::size_t part, std::size_t parts);

    LevelManager manager;
};

// The keys of the class and its parents that set properties.
std::vector<std::string> PropertiesOf(const Class* c)
{
    std::set<std::string> names;
    for (const Class* k = c; k; k = k->GetParent())
        for (const auto& setter : k->GetPropertySetters())
            names.insert(setter.first);
    names.erase("class");
    return std::vector<std::string>(names.begin(), names.end());
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// A condition of the game's own that counts how often it was asked (TripSweepAsked), and a
// level entry whose motion asks it: once the level stands, it has been asked.
const char kAskCondition[] = "TripSweepAsked = TripSweepAsked or 0 "
                             "LevelConditions = LevelConditions or {} "
                             "LevelConditions.TripSweepAsk = function() "
                             "TripSweepAsked = TripSweepAsked + 1 return 1 end";

std::string AskingEntry(const std::string& condition)
{
    return "L.levelActors[#L.levelActors + 1] = { class = 'ArcadeStructure', rectangle = { 8, 8 "
           "}, position = { 320, 120 }, motion = { class = 'MotionConditional', condition = { "
           "name = " +
           Quoted(condition) + " }, { class = 'MotionWait', duration = 0.1 } } }\n";
}

int TimesAsked()
{
    return GetGlobalLuaState()->GetGlobal("TripSweepAsked").GetInteger();
}

// A "path" for the planting of a data file's function that puts it in place of every
// value 'TripSweepFunctionHere' of the level's entries (the planting assigns to the path;
// the statement before it does the work).
const char kFillWithDataFunction[] =
    "TripSweepUnused = nil "
    "local seen = {} "
    "local function Fill(t) "
    "  if seen[t] then return end "
    "  seen[t] = true "
    "  for k, v in pairs(t) do "
    "    if v == 'TripSweepFunctionHere' then t[k] = TripSweepMade "
    "    elseif type(v) == 'table' then Fill(v) end "
    "  end "
    "end "
    "Fill(Levels.TripSweep.levelActors) Fill(Levels.TripSweep.compiledBricks) "
    "Levels.TripSweep.TripSweepUnused";

// The share of the class sweep's sites one level holds.
constexpr std::size_t kClassSitesPerRun = 900;
// The passes each level of the class sweep is played: its objects meet the ball and each
// other, and its motions and factories run.
constexpr int kClassSweepPasses = 10;

// A level entry holding an object of the class whose property is given the value (Lua
// text), as the n-th entry of the run: a motion on a structure, a factory on a brick, a
// brick in the grid, anything else an actor. Entries stand apart on the field.
std::string ClassSiteEntry(const Class& c, const std::string& property, const std::string& value,
                           std::size_t n)
{
    const std::string index = std::to_string(n + 2);
    const std::string cell =
        "{ " + std::to_string(n % 15 + 1) + ", " + std::to_string(n / 15 % 20 + 4) + " }";
    const std::string spot =
        "{ " + std::to_string(20 + n * 37 % 600) + ", " + std::to_string(60 + n * 53 % 300) + " }";
    const std::string key = "[" + Quoted(property) + "] = " + value;
    const std::string object = "{ class = " + Quoted(c.GetName()) + ", " + key + " }";
    if (c.DerivesFrom("Motion"))
        return "L.levelActors[" + index +
               "] = { class = 'ArcadeStructure', rectangle = { 8, 8 }, position = " + spot +
               ", motion = " + object + " }\n";
    if (c.DerivesFrom("Factory"))
        return "L.compiledBricks[" + index + "] = { resource = 'RedBrick', position = " + cell +
               ", factories = { " + object + " } }\n";
    if (c.DerivesFrom("Brick"))
        return "L.compiledBricks[" + index + "] = { class = " + Quoted(c.GetName()) +
               ", resource = 'RedBrick', position = " + cell + ", " + key + " }\n";
    // A shape of its own first (a ball's is its size), so a structure stands when the key
    // is not its shape.
    return "L.levelActors[" + index + "] = { class = " + Quoted(c.GetName()) + ", " +
           (c.DerivesFrom("Ball") ? "" : "rectangle = { 8, 8 }, ") + "position = " + spot + ", " +
           key + " }\n";
}

} // namespace

// The keys of a level table the game reads, written out here rather than taken from the
// level check's table: the sweep finds a key the check does not know.
// clang-format off
const char* const kLevelKeys[] = {
    "fullName", "noteText", "fromText", "music", "backgroundName", "bricks", "brickLetters",
    "compiledBricks", "offsetPosition", "levelActors", "extraActors", "customWalls",
    "paddleStarts", "ballStarts", "ballStartPosition", "ballStartVelocity", "victoryBalls",
    "victoryPaddles", "victoryBricks", "victoryGoobers", "victoryPowerups", "defeatBalls",
    "defeatPaddles", "minLiveBalls", "liveBallDelay", "expensiveSpawns", "wind", "gravity",
    "timeAttack", "progressive", "timeBonusAt", "scoreBonusAtFineTune", "ballUsedTarget",
    "lootCaughtTarget", "initialPowerups", "lastBrickBonus", "arcadeBonus", "artefact",
    "initalBallSpeed", "minBallSpeed", "maxBallSpeed", "maxBallOrdinarySpeed",
    "addSpeedOnBrickDestruction", "addSpeedOnGooberDestruction", "addSpeedOnLevelUp",
    "addSpeedPerTick", "addSpeedOnSpring", "ballSpeedPerEnergy", "ballExtraSpeedUpwards",
    "rubberSpeed", "rubberEnergy", "glueSpeed",
};
// clang-format on

// Every key the level check knows is swept.
TEST_F(TripWireLevelSweep, TheSweptLevelKeysHoldEveryKeyTheCheckKnows)
{
    for (const LevelKeys::Key& key : LevelKeys::All())
        EXPECT_NE(std::find(std::begin(kLevelKeys), std::end(kLevelKeys), key.name),
                  std::end(kLevelKeys))
            << key.name;
}

// Each key of the level table, each value; three keys far apart in the list at a time.
TEST_F(TripWireLevelSweep, EveryLevelKeyHoldsEveryHostileValueAsData)
{
    const std::vector<Value> values = HostileValues();
    const std::vector<std::string> keys(std::begin(kLevelKeys), std::end(kLevelKeys));
    Tally tally{"level keys"};
    tally.values = int(values.size());
    tally.sites = int(keys.size());
    const std::size_t stride = (keys.size() + 2) / 3;
    for (std::size_t first = 0; first < stride; ++first)
        for (const Value& value : values) {
            std::string text = kTripBaseLevel, names;
            for (std::size_t i = first; i < keys.size(); i += stride) {
                text += "L[" + Quoted(keys[i]) + "] = " + value.lua + "\n";
                names += " " + keys[i];
            }
            Run("level" + names + " = " + value.label, text, "", 40, tally);
        }
}

// The entries of the level: bricks, actors, paddle starts, ball starts and their balls, the
// artefact. Each entry holds one of the keys its class reads (a start or the artefact
// several), so one level tries every key of a kind with one value. Only the kinds named run.
void TripWireLevelSweep::SweepEntries(const std::set<std::string>& only)
{
    const std::vector<Value> values = HostileValues();
    Tally tally{"level entries"};
    tally.values = int(values.size());
    ClassManager* classes = ClassManager::GetInstance();
    struct Kind
    {
        const char* name;
        const char* className;
        std::vector<std::string> extra;
        // The entry's Lua text with %K% and %V% for the key and the value, and %N% for its
        // number.
        const char* entry;
        int perEntry;
    };
    const Kind kinds[] = {
        {"brick",
         "Brick",
         {},
         "L.compiledBricks[%N%] = { resource = 'RedBrick', position = "
         "{ %N% %% 15 + 1, math.floor(%N% / 15) + 2 }, [%K%] = %V% }\n",
         1},
        {"actor",
         "Goober",
         {},
         "L.levelActors[%N%] = { class = 'Goober', resource = "
         "'NormalGoober', position = { %N% * 9 %% 600, 150 }, [%K%] = %V% }\n",
         1},
        {"paddle start",
         "Paddle",
         {"position", "vertical", "facePositive", "ballStart", "name"},
         "L.paddleStarts[%N%] = L.paddleStarts[%N%] or { position = { 288, 416 } } "
         "L.paddleStarts[%N%][%K%] = %V%\n",
         8},
        {"ball start",
         nullptr,
         {"paddleName", "deactivate", "position", "velocity", "variance", "ballProps", "resource",
          "resources"},
         "L.ballStarts[%N%] = L.ballStarts[%N%] or { position = { 300, 300 } } "
         "L.ballStarts[%N%][%K%] = %V%\n",
         8},
        {"ball",
         "Ball",
         {},
         "L.ballStarts[%N%] = L.ballStarts[%N%] or { position = { 300, 300 }, "
         "ballProps = {} } L.ballStarts[%N%].ballProps[%K%] = %V%\n",
         8},
        {"artefact", "Artefact", {"name", "score"}, "L.artefact[%K%] = %V%\n", 1000},
    };
    for (const Kind& kind : kinds) {
        if (!only.count(kind.name))
            continue;
        std::vector<std::string> keys = kind.extra;
        if (kind.className)
            for (const std::string& p : PropertiesOf(classes->GetClass(kind.className)))
                if (std::find(keys.begin(), keys.end(), p) == keys.end())
                    keys.push_back(p);
        tally.sites += int(keys.size());
        for (const Value& value : values) {
            std::string text = kTripBaseLevel;
            for (std::size_t i = 0; i < keys.size(); ++i) {
                std::string entry = kind.entry;
                const std::string number = std::to_string(2 + i / kind.perEntry);
                for (const auto& [mark, with] : {std::pair<std::string, std::string>{"%N%", number},
                                                 {"%K%", Quoted(keys[i])},
                                                 {"%V%", value.lua},
                                                 {"%%", "%"}})
                    for (std::size_t at = entry.find(mark); at != std::string::npos;
                         at = entry.find(mark, at + with.size()))
                        entry.replace(at, mark.size(), with);
                text += entry;
            }
            Run(std::string(kind.name) + " keys = " + value.label, text, "", 100, tally);
        }
    }
}

TEST_F(TripWireLevelSweep, EveryKeyOfEveryBrickHoldsEveryHostileValueAsData)
{
    SweepEntries({"brick"});
}

TEST_F(TripWireLevelSweep, EveryKeyOfEveryActorAndTheArtefactHoldsEveryHostileValueAsData)
{
    SweepEntries({"actor", "artefact"});
}

TEST_F(TripWireLevelSweep, EveryKeyOfEveryStartHoldsEveryHostileValueAsData)
{
    SweepEntries({"paddle start", "ball start", "ball"});
}

// A later level file writes a function of its own into each entry of an earlier file's
// level; and a function a data file made is found past that file's check, at each kind of
// entry: neither is ever called.
TEST_F(TripWireLevelSweep, AFunctionALaterFilePlantsIsNeverCalled)
{
    Tally tally{"planted functions"};
    tally.values = 1;
    const char* const paths[] = {
        "fullName",
        "compiledBricks[1].strength",
        "compiledBricks[1].motion",
        "levelActors[1].position",
        "levelActors[1].speed",
        "paddleStarts[1].width",
        "ballStarts[1].velocity",
        "artefact.score",
        "music",
        "levelActors[1].motion",
    };
    for (const char* path : paths) {
        ++tally.sites;
        Run(std::string("later file plants at ") + path, kTripBaseLevel,
            std::string("Levels.TripSweep.") + path + " = " + kDataFunction + "\n", 100, tally);
        Run(std::string("data function past the file's check at ") + path, kTripBaseLevel, "", 100,
            tally, path);
    }
}

// Every class a level may build, with each of its properties given each value; a motion
// rides on a structure (which starts it when the level is built), a factory on a brick.
// Each entry of a level holds one property of one class, so a value one key refuses never
// keeps another key from its value; a run gives one value to a share of every class's
// properties. The sites are swept in four parts, each a process of its own in CI.
void TripWireLevelSweep::SweepClassSites(std::size_t part, std::size_t parts)
{
    const std::vector<Value> values = HostileValues(true);
    Tally tally{"classes"};
    tally.values = int(values.size());
    std::vector<const Class*> buildable;
    for (const char* name : kClassesALevelMayBuild) {
        const Class* c = ClassManager::GetInstance()->GetClass(name, true);
        ASSERT_TRUE(c && c->CanInstantiate()) << name;
        buildable.push_back(c);
    }
    // By name, so the kinds of each part mix plain classes and power-ups.
    std::sort(buildable.begin(), buildable.end(),
              [](const Class* a, const Class* b) { return a->GetName() < b->GetName(); });
    // One entry of each class a level may not build, which must never stand on the field.
    std::string forbidden;
    for (const char* name : kClassesALevelMayNotBuild)
        forbidden += "L.levelActors[#L.levelActors + 1] = { class = '" + std::string(name) +
                     "', name = 'TripWireForbidden', rectangle = { 8, 8 }, position = { 40, 40 } "
                     "}\n";
    MakoLuaState::LoadString(GetGlobalLuaState(), kAskCondition);
    std::vector<std::pair<const Class*, std::string>> sites;
    for (const Class* c : buildable)
        for (const std::string& property : PropertiesOf(c))
            sites.emplace_back(c, property);
    tally.sites = int(std::min(sites.size(), (part + 1) * ((sites.size() + parts - 1) / parts)) -
                      std::min(sites.size(), part * ((sites.size() + parts - 1) / parts)));
    // The entries of one run: far below the objects a level may hold, few enough that a
    // run plays quickly.
    const std::size_t perRun = kClassSitesPerRun;
    const std::size_t share = (sites.size() + parts - 1) / parts;
    const std::size_t end = std::min(sites.size(), (part + 1) * share);
    for (std::size_t first = part * share; first < end; first += perRun) {
        const std::size_t last = std::min(end, first + perRun);
        for (const Value& value : values) {
            // The value is made once and shared by every entry (the text of 1 MiB made for
            // each would outrun the file's budget).
            std::string text = kTripBaseLevel + std::string("local V = ") + value.lua + "\n";
            for (std::size_t i = first; i < last; ++i)
                text += ClassSiteEntry(*sites[i].first, sites[i].second, "V", i - first);
            // The value as an entry of its own (an object of a class a level may not build
            // must never stand on the field); last of all, the entry that is asked only when
            // every entry before it stood.
            text +=
                "L.levelActors[#L.levelActors + 1] = V\n" + forbidden + AskingEntry("TripSweepAsk");
            const int asked = TimesAsked();
            const std::string run = sites[first].first->GetName() + "." + sites[first].second +
                                    " to " + sites[last - 1].first->GetName() + "." +
                                    sites[last - 1].second + " = " + value.label;
            if (value.lua == kDataFunction) {
                // A file holding a function is dropped whole; the function a data file made
                // is given past that check instead, at every entry.
                text = kTripBaseLevel + std::string("local V = 'TripSweepFunctionHere'\n") +
                       text.substr(text.find('\n', std::string(kTripBaseLevel).size()) + 1);
                Run(run, text, "", kClassSweepPasses, tally, kFillWithDataFunction);
            } else {
                Run(run, text, "", kClassSweepPasses, tally);
            }
            // A level the file's check drops (a table nested too deep) is not built.
            if (GetGlobalLuaState()->GetGlobal("Levels")["TripSweep"].IsTable()) {
                EXPECT_LT(asked, TimesAsked()) << run << ": the level was not built";
            }
        }
    }
}

// The guard and the written lists agree on every class the game can make.
TEST_F(TripWireLevelSweep, TheClassesALevelMayBuildAreExactlyTheWrittenOnes)
{
    std::vector<std::string> mayBuild, mayNot;
    for (const Class* c : ClassManager::GetInstance()->GetAllClasses())
        if (c->CanInstantiate())
            (LevelClasses::MayBuild(*c) ? mayBuild : mayNot).push_back(c->GetName());
    std::vector<std::string> written(std::begin(kClassesALevelMayBuild),
                                     std::end(kClassesALevelMayBuild));
    std::sort(mayBuild.begin(), mayBuild.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(mayBuild, written);
    for (const char* name : kClassesALevelMayNotBuild)
        EXPECT_NE(std::find(mayNot.begin(), mayNot.end(), name), mayNot.end()) << name;
}

TEST_F(TripWireLevelSweep, EveryPropertyOfEveryClassALevelMayBuildHoldsEveryHostileValuePart1)
{
    SweepClassSites(0, 4);
}

TEST_F(TripWireLevelSweep, EveryPropertyOfEveryClassALevelMayBuildHoldsEveryHostileValuePart2)
{
    SweepClassSites(1, 4);
}

TEST_F(TripWireLevelSweep, EveryPropertyOfEveryClassALevelMayBuildHoldsEveryHostileValuePart3)
{
    SweepClassSites(2, 4);
}

TEST_F(TripWireLevelSweep, EveryPropertyOfEveryClassALevelMayBuildHoldsEveryHostileValuePart4)
{
    SweepClassSites(3, 4);
}

// A condition of a motion names each global function of the game in turn: none is called.
// Each motion rides on a structure, which starts it when the level is built, so its
// condition is looked up and its child chosen; one name a level, as a function called in
// error would end the building. A condition of the game's own beside it shows the motions
// of the level did choose.
TEST_F(TripWireLevelSweep, AMotionsConditionNamingAnyGlobalFunctionCallsNone)
{
    Tally tally{"condition names"};
    const std::vector<std::string> names = GlobalFunctionNames();
    tally.sites = 1;
    tally.values = int(names.size());
    MakoLuaState::LoadString(GetGlobalLuaState(), kAskCondition);
    for (const std::string& name : names) {
        const std::string text = kTripBaseLevel + AskingEntry(name) + AskingEntry("TripSweepAsk");
        const int asked = TimesAsked();
        Run("condition name " + name, text, "", 2, tally);
        EXPECT_LT(asked, TimesAsked())
            << "condition name " << name << ": the motions of the level never chose a child";
    }
}

// ---- Player cards and the configuration -----------------------------------------------------

namespace {

// A card in the saver's form, as a table the card file names c.
const char kCardTable[] =
    "local c = { Card_Version = 4, Game_Modes = { Adventure = { EpisodeSelected = 1, "
    "EpisodeUnlocked = 1, LevelRecords = { Welcome = { artifact = 'x', award = 0, balls = 3, "
    "loot = 40, score = 100, secret = 1, time = 30 } }, LevelSelected = 1, LevelUnlocked = 2, "
    "Rank = 'Novice', Top_Words = { { game_guid = 5, word = 'word', word_score = 9 } }, "
    "ballsLeft = 3, latestArtifact = 'x' }, Lab = { LevelRecords = { Bonus1 = { artifact = 'x', "
    "score = 5, secret = 1 } }, Rank = 'Novice' } }, Game_Records = {}, Game_Saves = { "
    "Adventure = { Board = {}, CurrentRound = 0 } }, Name = 'Tripper', Options = { "
    "['game.mode'] = 'Adventure', ['player.skill'] = 'casual' }, guid = 77 }\n";

class TripWireFileSweep : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }

    bbtest::TempHome home;
};

} // namespace

// Each key of a card, each value: the card is read, the menu, the map, the lab and the finds
// are shown and a game is played a little.
TEST_F(TripWireFileSweep, EveryKeyOfACardHoldsEveryHostileValueAsData)
{
    std::vector<std::string> sites = {"Name",
                                      "guid",
                                      "Card_Version",
                                      "Options",
                                      "Options['game.mode']",
                                      "Options['player.skill']",
                                      "Options['Welcome.shown']",
                                      "Game_Modes",
                                      "Game_Records",
                                      "Game_Saves",
                                      "Game_Saves.Adventure.Board",
                                      "Game_Saves.Adventure.CurrentRound",
                                      "Game_Modes.Adventure",
                                      "Game_Modes.Adventure.LevelRecords",
                                      "Game_Modes.Adventure.LevelRecords.Welcome",
                                      "Game_Modes.Adventure.Top_Words[1]",
                                      "Game_Modes.Lab.Rank",
                                      "Game_Modes.Lab.LevelRecords.Bonus1.score"};
    for (const char* key : {"artifact", "award", "balls", "loot", "score", "secret", "time"})
        sites.push_back(std::string("Game_Modes.Adventure.LevelRecords.Welcome.") + key);
    for (const char* key : {"word", "game_guid", "word_score"})
        sites.push_back(std::string("Game_Modes.Adventure.Top_Words[1].") + key);
    const CardCheck::ModeShape& shape = CardCheck::GetModeShape();
    std::set<std::string> modeKeys = {
        "EpisodeSelected", "EpisodeUnlocked", "LevelSelected", "LevelUnlocked", "Rank",
        "ballsLeft",       "latestArtifact"};
    for (const auto& counter : shape.counters)
        modeKeys.insert(counter.key);
    for (const char* key : shape.names)
        modeKeys.insert(key);
    for (const char* key : shape.lists)
        modeKeys.insert(key);
    for (const std::string& key : modeKeys)
        sites.push_back("Game_Modes.Adventure['" + key + "']");

    const std::vector<Value> values = HostileValues();
    Tally tally{"cards"};
    tally.values = int(values.size());
    tally.sites = int(sites.size());
    const std::string folder = home.Path() + "/cards/";
    // Thirteen keys far apart in the list at a time.
    const std::size_t stride = (sites.size() + 12) / 13;
    for (std::size_t first = 0; first < stride; ++first)
        for (const Value& value : values) {
            std::string run = "card", assignments;
            for (std::size_t i = first; i < sites.size(); i += stride) {
                run += " " + sites[i];
                assignments += "c." + sites[i] + " = " + value.lua + "\n";
            }
            run += " = " + value.label;
            SCOPED_TRACE(run);
            const auto from = std::chrono::steady_clock::now();
            bbtest::LogCapture log;
            bbtest::DataVoice voice;
            {
                bbtest::GameApp app;
                bbtest::WriteFile(folder + "Player1.card",
                                  kCardTable + assignments + "Player(c)\n");
                Armed armed;
                try {
                    bbtest::RunLua("Paths = Paths or {} Paths.PlayerData = '" + folder +
                                   "' LoadGameData()");
                    app.DispatchPosted();
                    app.Screens()->AddScreen(new Screen("SplashScreen", "", nullptr));
                    app.Screens()->AddScreen(new ArcadeMapScreen());
                    app.Screens()->AddScreen(new ArcadeLabScreen());
                    app.Screens()->AddScreen(new ArcadeArtifactScreen());
                    app.Screens()->AddScreen(new ArcadeMenuScreen());
                    for (const char* name :
                         {"MenuScreen", "MapScreen", "LabScreen", "ArtifactScreen"}) {
                        app.SwitchTo(name);
                        app.Pass(2);
                    }
                    app.StartGame();
                    app.Pass(20);
                } catch (const std::exception& e) {
                    ADD_FAILURE() << run << ": " << e.what();
                }
                EXPECT_EQ(0, g_Wires.calls) << run << ": " << Armed::Calls() << "\n"
                                            << log.Text().substr(0, 1500);
            }
            EXPECT_EQ("", voice.Faults(log.Text())) << run;
            tally.Ran(run, from);
        }
}

// Every key of the configuration holds each value at once: the file is read and a game
// started.
TEST_F(TripWireFileSweep, EveryKeyOfTheConfigurationHoldsEveryHostileValueAsData)
{
    const std::vector<std::string> sites = {
        "CollisionIterations", "dictionary.active", "dictionary.name", "dictionary.user.active",
        "full_screen",         "GlobalCFM",         "GlobalERP",       "log_level",
        "music_volume",        "sfx_volume",        "startscreen",     "use_3d_acceleration"};
    const std::vector<Value> values = HostileValues();
    Tally tally{"configuration"};
    tally.values = int(values.size());
    tally.sites = int(sites.size());
    const std::string path = home.Path() + "/bumperlux.cfg";
    for (const Value& value : values) {
        const std::string run = "configuration every key = " + value.label;
        SCOPED_TRACE(run);
        const auto from = std::chrono::steady_clock::now();
        bbtest::LogCapture log;
        bbtest::DataVoice voice;
        {
            bbtest::GameApp app;
            std::string text = "local t = {}\n";
            for (const std::string& site : sites)
                text += "t['" + site + "'] = " + value.lua + "\n";
            bbtest::WriteFile(path, text + "LoadConfig(t)\n");
            Armed armed;
            try {
                Config::GetCurrent()->ReadFile(path);
                app.StartGame();
                app.Pass(30);
            } catch (const std::exception& e) {
                ADD_FAILURE() << run << ": " << e.what();
            }
            EXPECT_EQ(0, g_Wires.calls) << run << ": " << Armed::Calls() << "\n"
                                        << log.Text().substr(0, 1500);
        }
        EXPECT_EQ("", voice.Faults(log.Text())) << run;
        tally.Ran(run, from);
    }
}

// ---- Metadata files -------------------------------------------------------------------------

namespace {

// The keys the game reads from a metadata entry, with the entry each sits in: a picture cut
// into frames, with animations, a caption's insets and paper rules; a song with its parts; a
// sound. A path below a key gives the value to one element of it.
const std::pair<const char*, const char*> kMetadataSites[] = {{"png", "numFrames"},
                                                              {"png", "width"},
                                                              {"png", "height"},
                                                              {"png", "gap_y"},
                                                              {"png", "colorKey"},
                                                              {"png", "combinedAlpha"},
                                                              {"png", "noAlpha"},
                                                              {"png", "captionInset"},
                                                              {"png", "captionInset[1]"},
                                                              {"png", "rules"},
                                                              {"png", "rules.top"},
                                                              {"png", "rules.pitch"},
                                                              {"png", "rules.last"},
                                                              {"png", "Animations"},
                                                              {"png", "Animations.spin"},
                                                              {"png", "Animations.spin[1]"},
                                                              {"png", "Animations.spin[2][2]"},
                                                              {"mid", "parts"},
                                                              {"mid", "parts.Main"},
                                                              {"mid", "parts.Main[1]"},
                                                              {"ogg", "maxSamples"},
                                                              {"ogg", "stream"},
                                                              {"ogg", "volume"},
                                                              {"ogg", "pan"}};

// Each kind's entry as the pack writes it.
const char* MetadataEntry(const std::string& kind)
{
    if (kind == "png")
        return "{ numFrames = 8, width = 32, height = 32, gap_y = 0, captionInset = { 2, 3 }, "
               "rules = { top = 1, pitch = 4, last = 20 }, "
               "Animations = { spin = { 0, { 'delay', 40 }, 1, 2, 3 } } }";
    if (kind == "mid")
        return "{ parts = { GetReady = { 1, 2 }, Main = { 3, 4 } } }";
    return "{ maxSamples = 4, volume = 80, pan = 0 }";
}

// The file of a site: a copy of the pack's file of its kind, one for each key.
std::string MetadataFile(const std::string& kind, const std::string& key)
{
    std::string name = key;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return "Sweep." + name + "." + kind;
}

class TripWireMetadataSweep : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }

    // Reads the folder through a resource manager of its own and uses every file: each
    // picture is cut into its frames, its caption insets, paper rules and animations are
    // read; each song gives its parts; each sound is played. What fails is returned.
    static std::string Exercise(const std::string& folder, const std::vector<std::string>& names)
    {
        ResourceManager manager(GetGlobalLuaState());
        manager.AddLoader(new SDLImageLoader());
        manager.AddLoader(new DirectMusicLoader());
        manager.AddLoader(new BASSSoundLoader());
        manager.AddScanner(new WindowsDirectoryResourceScanner(folder + "/"));
        try {
            manager.ScanAll();
            for (const std::string& name : names) {
                if (EndsWith(name, ".png")) {
                    Image image(name);
                    for (int frame = 0; frame < image.GetNumFrames(); ++frame)
                        delete image.ExtractFrame(frame);
                    Actor actor;
                    actor.SetImageFromResource(name);
                    CaptionInsets(actor);
                    PaperRules::Rules rules;
                    PaperRules::Read(&image, rules);
                    // Every animation the mended metadata still holds plays a while.
                    const LuaPlus::LuaObject metadata = image.GetMetadata();
                    if (metadata.IsTable() && metadata["Animations"].IsTable())
                        for (LuaPlus::LuaTableIterator it(metadata["Animations"]); it; it.Next()) {
                            if (!it.GetKey().IsString())
                                continue;
                            actor.LoopAnimation(it.GetKey().GetString());
                            for (int pass = 0; pass < 10; ++pass)
                                actor.Tick();
                        }
                    actor.SetAnimation(nullptr);
                    SceneHost::DeleteScheduledActors();
                } else if (EndsWith(name, ".mid")) {
                    if (MusicSegment* song = MusicSegment::GetSegment(name)) {
                        int first = 0, count = 0;
                        for (const char* part : {"GetReady", "Main", "Letter"})
                            song->GetPartRange(part, first, count);
                    }
                } else if (Sound::GetSound(name)) {
                    Sound::PlaySound(name, false);
                }
            }
        } catch (const std::exception& e) {
            return e.what();
        }
        return std::string();
    }

    bbtest::TempHome home;
};

} // namespace

// Every key of a metadata entry, each value, one file per key so that no key's mend hides
// another's; and each whole entry given each value. The file is read through the game's
// scanner and loaders and every file used. A file that holds a function it made is refused
// and named; any other failure must name the metadata file.
TEST_F(TripWireMetadataSweep, EveryKeyOfAMetadataEntryHoldsEveryHostileValueAsData)
{
    const std::string pack = bbtest::AssetPackFolder();
    BB_REQUIRE_FILE(pack + "/Images/Powerups/Bling.Coin.png", "the pack's pictures");
    const std::string folder = home.Path() + "/meta";
    std::filesystem::create_directories(folder);
    const std::pair<const char*, std::string> sources[] = {
        {"png", pack + "/Images/Powerups/Bling.Coin.png"},
        {"mid", pack + "/Test/TestSong.mid"},
        {"ogg", pack + "/Sounds/Balls/Beep03.ogg"}};
    std::vector<std::string> names;
    std::string base = "local m = {}\n";
    for (const auto& [kind, key] : kMetadataSites) {
        names.push_back(MetadataFile(kind, key));
        base += "m['" + names.back() + "'] = " + MetadataEntry(kind) + "\n";
    }
    for (const auto& [kind, source] : sources) {
        names.push_back(std::string("Sweep.") + kind);
        base += "m['" + names.back() + "'] = " + MetadataEntry(kind) + "\n";
    }
    for (const std::string& name : names)
        for (const auto& [kind, source] : sources)
            if (EndsWith(name, kind))
                std::filesystem::copy_file(source, folder + "/" + name);

    const std::vector<Value> values = HostileValues();
    Tally tally{"metadata entries"};
    tally.values = int(values.size());
    tally.sites = int(std::size(kMetadataSites)) + int(std::size(sources));
    for (const Value& value : values)
        for (const bool whole : {false, true}) {
            const std::string run = std::string("metadata ") +
                                    (whole ? "whole entries" : "every key") + " = " + value.label;
            SCOPED_TRACE(run);
            const auto from = std::chrono::steady_clock::now();
            std::string text = base;
            if (whole)
                for (const auto& [kind, source] : sources)
                    text += std::string("m['Sweep.") + kind + "'] = " + value.lua + "\n";
            else
                for (const auto& [kind, key] : kMetadataSites)
                    text +=
                        "m['" + MetadataFile(kind, key) + "']." + key + " = " + value.lua + "\n";
            bbtest::WriteFile(folder + "/metadata.cfg", text + "Metadata(m)\n");
            bbtest::LogCapture log;
            bbtest::DataVoice voice;
            std::string failure;
            {
                Armed armed;
                failure = Exercise(folder, names);
                EXPECT_EQ(0, g_Wires.calls) << run << ": " << Armed::Calls() << "\n"
                                            << log.Text().substr(0, 1500);
            }
            // A file holding a function it made is refused, named, and its folder read without
            // it; the scan goes on.
            if (value.lua == kDataFunction) {
                EXPECT_NE(std::string::npos, log.Text().find("holds a function it made, at"))
                    << run << ": the file is not refused: " << log.Text().substr(0, 1500);
            }
            if (!failure.empty()) {
                EXPECT_NE(std::string::npos, failure.find("metadata.cfg"))
                    << run << ": the failure names no file: " << failure;
            }
            EXPECT_EQ("", voice.Faults(log.Text())) << run;
            tally.Ran(run, from);
        }
}

// The level table format in Lua: the brick-text compiler, the Levels table that compiles
// what is assigned to it, flattenObject and the script functions that start a game.
#include "support/engine/EngineSetup.h"
#include "support/engine/FieldWorld.h"

#include "core/ClassManager.h"
#include "lua/MakoLuaState.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>

namespace {

// One line per compiled brick: "Resource@column,row key=value ...", keys sorted, lists
// joined with '+', tables of flags as {key=value,...}.
const char* const kDescribeBricks = R"(
function _DescribeValue(v)
    if type(v) ~= "table" then return tostring(v) end
    if #v > 0 then return table.concat(v, "+") end
    local parts = {}
    for k, x in pairs(v) do table.insert(parts, tostring(k) .. "=" .. tostring(x)) end
    table.sort(parts)
    return "{" .. table.concat(parts, ",") .. "}"
end
function _DescribeBricks(list)
    local out = {}
    for _, b in ipairs(list) do
        local keys = {}
        for k in pairs(b) do
            if k ~= "resource" and k ~= "position" then table.insert(keys, k) end
        end
        table.sort(keys)
        local parts = { b.resource .. "@" .. b.position[1] .. "," .. b.position[2] }
        for _, k in ipairs(keys) do table.insert(parts, k .. "=" .. _DescribeValue(b[k])) end
        table.insert(out, table.concat(parts, " "))
    end
    return table.concat(out, "; ")
end
)";

class LevelScriptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bbtest::OpenGameResources();
        MakoLuaState::LoadString(GetGlobalLuaState(), kDescribeBricks);
    }
    void TearDown() override { Run("ClearLevels()"); }

    static void Run(const std::string& code)
    {
        MakoLuaState::LoadString(GetGlobalLuaState(), code);
    }
    // The value of a Lua expression as text ("nil" for nil).
    static std::string Text(const std::string& expression)
    {
        return bbtest::EvalLua("tostring(" + expression + ")").GetString();
    }
    // The compiled form of brick rows given as Lua list items.
    static std::string Compile(const std::string& rows)
    {
        return Text("_DescribeBricks(BrickCompiler({" + rows + "}, 'T'))");
    }
    // The error the Lua statements raise, "" when they raise none.
    static std::string ErrorOf(const std::string& code)
    {
        return Text("(function() local ok, e = pcall(function() " + code +
                    " end) if ok then return '' end return e end)()");
    }
};

} // namespace

TEST_F(LevelScriptTest, BrickTextPutsEachBrickInItsCellWithItsTraits)
{
    // Commas step cells, strings step rows, spaces and empty rows are nothing.
    EXPECT_EQ("RedBrick@1,1; GreenBrick@3,1", Compile("'R,,G'"));
    EXPECT_EQ("BlueBrick@1,2; YellowBrick@2,2; GoldBrick@1,3; GlassBrick@19,3",
              Compile("'', ' B ,Y', 'g,,,,,,,,,,,,,,,,,,L'"));
    EXPECT_EQ("OrangeBrick@2,1; PurpleBrick@1,2", Compile("',O,', 'P'"));

    // Power-ups and loot collect in order under the key bricks read, by real class names.
    EXPECT_EQ("RedBrick@1,1 powerups=IncreaseShield+BlingCoin", Compile("'Rs$'"));
    EXPECT_EQ("StoneBrick@1,1 powerups=IncreasePaddlePower+DecreasePaddlePower+Breakthru+"
              "BlingDiamond+BlingEmerald+BlingRuby",
              Compile("'S+-b*@&'"));
    // 'L' after a brick names a letter power-up.
    EXPECT_EQ("OrangeBrick@1,1 powerups=LetterB+BlingCoin+LetterT", Compile("'OLB$LT'"));

    // Traits: the last edge mark wins and makes the brick necessary; sizes and strengths.
    EXPECT_EQ("BrickBrick@1,1 necessary=true weakEdges={right=true}", Compile("'KV<'"));
    EXPECT_EQ("GlassBrick@1,1 brickSize=Double invisible=true showPowerup=true strength=3; "
              "MetalBrick@2,1 brickSize=Triple strength=10",
              Compile("'L2wPi,M3mS'"));
    EXPECT_EQ("RedBrick@1,1 necessary=true weakEdges={bottom=true}; "
              "RedBrick@2,1 necessary=true weakEdges={left=true}",
              Compile("'RA,R>'"));

    // Bricks never share a trait table: changing one leaves the other as compiled.
    EXPECT_EQ("true", Text("(function() local b = BrickCompiler({'RV,RV'}, 'T') "
                           "b[1].weakEdges.top = false return b[2].weakEdges.top end)()"));
}

TEST_F(LevelScriptTest, EveryNameTheBrickTextEmitsExists)
{
    LuaPlus::LuaObject bricks = bbtest::EvalLua("BrickTextBricks");
    int count = 0;
    for (LuaPlus::LuaTableIterator it(bricks); it; it.Next(), ++count) {
        const std::string name = it.GetValue().GetString();
        EXPECT_EQ("Brick", Text("Resources['" + name + "'] and Resources['" + name + "'].class"))
            << name;
    }
    EXPECT_EQ(11, count);

    ClassManager* classes = ClassManager::GetInstance();
    std::vector<std::string> kinds;
    for (LuaPlus::LuaTableIterator it(bbtest::EvalLua("BrickTextPowerups")); it; it.Next())
        kinds.push_back(it.GetValue().GetString());
    for (LuaPlus::LuaTableIterator it(bbtest::EvalLua("BrickTextLetters")); it; it.Next())
        kinds.push_back("Letter" + std::string(it.GetKey().GetString()));
    EXPECT_EQ(17u, kinds.size());
    EXPECT_NE(kinds.end(), std::find(kinds.begin(), kinds.end(), "Secret"));
    for (const std::string& kind : kinds)
        EXPECT_NE(nullptr, classes->GetClass(kind, true)) << kind;
}

TEST_F(LevelScriptTest, BadBrickTextNamesTheLevelRowColumnAndCharacter)
{
    const std::string where = "Level \"Bad\"";
    EXPECT_EQ(where + ", row 2, column 3 (character 4): Unknown character 'x' while searching "
                      "for brick",
              ErrorOf("BrickCompiler({'R,G', 'R,,x'}, 'Bad')"));
    EXPECT_EQ(where + ", row 1, column 1 (character 2): Unknown character 'q' while searching "
                      "for powerup",
              ErrorOf("BrickCompiler({'Rq'}, 'Bad')"));
    // A cell holds one brick.
    EXPECT_EQ(where + ", row 1, column 1 (character 2): Unknown character 'G' while searching "
                      "for powerup",
              ErrorOf("BrickCompiler({'RG'}, 'Bad')"));
    EXPECT_EQ(where + ", row 1, column 2 (character 5): Unknown character 'Z' while searching "
                      "for letter",
              ErrorOf("BrickCompiler({'R,RLZ'}, 'Bad')"));
    EXPECT_EQ(where + ", row 1, column 1 (character 3): Unknown character (end of row) while "
                      "searching for letter",
              ErrorOf("BrickCompiler({'RL'}, 'Bad')"));
    EXPECT_EQ(where + ", row 2: a brick row must be a string, not a number",
              ErrorOf("BrickCompiler({'R', 5}, 'Bad')"));
    EXPECT_EQ(where + ": bricks must be a list of strings, not a string",
              ErrorOf("BrickCompiler('R', 'Bad')"));
    EXPECT_EQ(where + ": brickLetters cannot change the brick letter 'R'",
              ErrorOf("BrickCompiler({'R'}, 'Bad', { R = 'WoodBrick' })"));

    // Through the Levels table the level's own name is given.
    EXPECT_EQ("Level \"Oops\", row 1, column 2 (character 3): Unknown character '#' while "
              "searching for brick",
              ErrorOf("Levels.Oops = { bricks = { 'R,#' } }"));
    EXPECT_EQ("nil", Text("rawget(Levels, 'Oops')"));
}

TEST_F(LevelScriptTest, LevelsCompilesWhatIsAssignedUnlessItBringsItsOwnBricks)
{
    Run("Levels.A = { bricks = { 'R' } }");
    EXPECT_EQ("RedBrick@1,1", Text("_DescribeBricks(Levels.A.compiledBricks)"));

    Run("_own = { { resource = 'BlueBrick', position = { 4, 4 } } } "
        "Levels.B = { bricks = { 'R' }, compiledBricks = _own }");
    EXPECT_EQ("true", Text("rawequal(Levels.B.compiledBricks, _own)"));
    EXPECT_EQ("BlueBrick@4,4", Text("_DescribeBricks(Levels.B.compiledBricks)"));

    Run("Levels.C = { fullName = 'No bricks' }");
    EXPECT_EQ("nil", Text("Levels.C.compiledBricks"));

    // A level's own letters.
    Run("Levels.D = { brickLetters = { W = 'WoodBrick' }, bricks = { 'W$,R' } }");
    EXPECT_EQ("WoodBrick@1,1 powerups=BlingCoin; RedBrick@2,1",
              Text("_DescribeBricks(Levels.D.compiledBricks)"));

    const std::string refused = ErrorOf("Levels.E = 5");
    EXPECT_NE(std::string::npos, refused.find("Levels.E must be a table, not a number")) << refused;
    EXPECT_EQ("nil", Text("rawget(Levels, 'E')"));

    // Read again after the table is emptied, a level compiles afresh.
    Run("ClearLevels() Levels.A = { bricks = { 'G' } }");
    EXPECT_EQ("GreenBrick@1,1", Text("_DescribeBricks(Levels.A.compiledBricks)"));
    EXPECT_EQ("nil", Text("Levels.B"));
}

TEST_F(LevelScriptTest, FlattenObjectInheritsWhatTheTableDoesNotSetItself)
{
    Run("Resources._FlatBase = { class = 'Paddle', a = 1, b = 1 } "
        "Resources._FlatMid = { resource = '_FlatBase', b = 2, c = 2 } "
        "Resources._FlatOther = { c = 3, d = 3 } "
        "_flat = flattenObject({ resource = '_FlatMid', resources = { '_FlatOther' }, d = 4 })");
    // Later resources override earlier ones, a resource's own keys those it builds on, and
    // the table's own keys win over all; names and classes are not copied.
    EXPECT_EQ("1 2 3 4", Text("_flat.a .. ' ' .. _flat.b .. ' ' .. _flat.c .. ' ' .. _flat.d"));
    EXPECT_EQ("_FlatMid nil nil",
              Text("_flat.resource .. ' ' .. tostring(_flat.resources[2]) .. ' ' .. "
                   "tostring(_flat.class)"));

    // The shared starts of the levels.
    Run("_flat = flattenObject({ resource = 'LeftPaddleStart', position = { 50, 100 } })");
    EXPECT_EQ("true true 50", Text("tostring(_flat.vertical) .. ' ' .. "
                                   "tostring(_flat.facePositive) .. ' ' .. _flat.position[1]"));
    EXPECT_EQ("nil", Text("flattenObject({ x = 1 }).resource"));

    EXPECT_EQ("flattenObject: there is no table resource named \"_NoSuch\"",
              ErrorOf("flattenObject({ resource = '_NoSuch' })"));
    Run("Resources._FlatLoop = { resource = '_FlatLoop' }");
    EXPECT_EQ("flattenObject: the resource \"_FlatLoop\" names itself through its resources",
              ErrorOf("flattenObject({ resource = '_FlatLoop' })"));
    Run("_flat = nil");
}

TEST_F(LevelScriptTest, SwitchToGameStartsTheNamedOrTheSavedLevel)
{
    Run("_players = Players "
        "Players = { current = { { Options = { ['game.mode'] = 'Lab' }, "
        "  Game_Modes = { Lab = { EpisodeSelected = 2.7, LevelSelected = 3 } } } } }");
    EXPECT_EQ("2 3", Text("table.concat({ GetSavedEpisodeAndLevel() }, ' ')"));
    Run("Players.current[1].Options['game.mode'] = 'Adventure'");
    EXPECT_EQ("1 1", Text("table.concat({ GetSavedEpisodeAndLevel() }, ' ')"));
    Run("Players.current[1].Options['game.mode'] = 'Lab' _calls = {} "
        "_reload, _switch = ReloadLevels, SwitchToScreen "
        "ReloadLevels = function() table.insert(_calls, 'reload') end "
        "SwitchToScreen = function(name) table.insert(_calls, name) end "
        "_old = { levelName = 'Welcome', episodeNumber = 4 } GameOptions = _old");

    Run("SwitchToGame('Crates')");
    EXPECT_EQ("false Crates 3 nil Lab",
              Text("tostring(rawequal(GameOptions, _old)) .. ' ' .. GameOptions.levelName .. ' ' "
                   ".. GameOptions.ballsLeft .. ' ' .. tostring(GameOptions.episodeNumber) .. ' ' "
                   ".. GameOptions.gameType"));
    Run("SwitchToGame()");
    EXPECT_EQ("nil 2 3", Text("tostring(GameOptions.levelName) .. ' ' .. "
                              "GameOptions.episodeNumber .. ' ' .. GameOptions.levelNumber"));
    EXPECT_EQ("reload GameScreen reload GameScreen", Text("table.concat(_calls, ' ')"));

    Run("Players = _players ReloadLevels, SwitchToScreen = _reload, _switch "
        "GameOptions = nil _players, _reload, _switch, _old, _calls = nil");
}

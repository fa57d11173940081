// Building a level from its table: the starts it serves from, its goals, the ball speeds
// it sets, its texts, the level manager's look-ups, and keys of the wrong type.
#include "LevelTestSupport.h"

#include "core/Exception.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using leveltest::Constants;
using leveltest::Globals;
using leveltest::MakeLevel;

namespace {

class LevelTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }
};

double Coord(const LuaPlus::LuaObject& start, const char* key, int i)
{
    return start[key][i].GetNumber();
}

TEST_F(LevelTest, StartsAreCollectedFromPaddlesBallStartsAndTheDefaults)
{
    // No starts at all: one paddle at the default place, and its ball served on it.
    auto plain = MakeLevel("{}");
    ASSERT_EQ(plain->GetPaddleStarts().size(), 1u);
    EXPECT_EQ(Coord(plain->GetPaddleStarts()[0], "position", 1), 288);
    EXPECT_EQ(Coord(plain->GetPaddleStarts()[0], "position", 2), 416);
    ASSERT_EQ(plain->GetBallStarts().size(), 1u);
    EXPECT_STREQ(plain->GetBallStarts()[0]["paddleName"].GetString(), "defaultBallPaddleSpawn");

    // Paddles without ball starts: the free default ball start.
    auto free = MakeLevel("{ paddleStarts = { { position = { 10, 400 } } } }");
    ASSERT_EQ(free->GetBallStarts().size(), 1u);
    EXPECT_TRUE(free->GetBallStarts()[0]["paddleName"].IsNil());
    EXPECT_EQ(Coord(free->GetBallStarts()[0], "position", 1), 304);
    EXPECT_EQ(Coord(free->GetBallStarts()[0], "position", 2), 200);
    EXPECT_EQ(Coord(free->GetBallStarts()[0], "velocity", 2), 120);

    // The paddles' ball starts first (in list order), then the level's own.
    auto mixed = MakeLevel(R"({
        paddleStarts = { { position = { 1, 1 }, ballStart = { paddleName = "A" } },
                         { position = { 2, 2 } },
                         { position = { 3, 3 }, ballStart = { paddleName = "C" } } },
        ballStarts = { { position = { 50, 60 } } },
        ballStartPosition = { 9, 9 } })");
    ASSERT_EQ(mixed->GetPaddleStarts().size(), 3u);
    ASSERT_EQ(mixed->GetBallStarts().size(), 3u);
    EXPECT_STREQ(mixed->GetBallStarts()[0]["paddleName"].GetString(), "A");
    EXPECT_STREQ(mixed->GetBallStarts()[1]["paddleName"].GetString(), "C");
    EXPECT_EQ(Coord(mixed->GetBallStarts()[2], "position", 1), 50);

    // The single-start form, with the level's own initial speed when it has no velocity.
    auto single = MakeLevel(R"({ paddleStarts = { { position = { 0, 0 } } },
                                 ballStartPosition = { 100, 150 }, initalBallSpeed = 222 })");
    ASSERT_EQ(single->GetBallStarts().size(), 1u);
    EXPECT_EQ(Coord(single->GetBallStarts()[0], "position", 1), 100);
    EXPECT_EQ(Coord(single->GetBallStarts()[0], "velocity", 1), 0);
    EXPECT_EQ(Coord(single->GetBallStarts()[0], "velocity", 2), 222);
}

// A start inherits the keys of the resources it names into a copy: no table of the level's
// data is written, also one that refuses every write. An element of a start list that is
// not a table, or a start naming a resource that is not a table resource, is named with
// its key and left out; the other starts stand.
TEST_F(LevelTest, StartsInheritIntoCopiesAndStartsOfTheWrongKindAreLeftOut)
{
    bbtest::LogCapture log;
    const LuaPlus::LuaObject table = bbtest::EvalLua(R"((function()
        local locked = { __newindex = function() error("a table of data was written", 0) end }
        return {
            paddleStarts = {
                setmetatable({ resources = { "BottomPaddleStart" },
                               ballStart = setmetatable({ paddleName = "P" }, locked) }, locked),
                { resource = "LeftPaddleStart", ballStart = 5 },
                5,
                { resource = "NoSuchStart" } },
            ballStarts = { "x", setmetatable({ resource = "BottomPaddleStart" }, locked), {} } }
    end)())");
    auto level = std::make_unique<Level>("Test", table);
    ASSERT_EQ(level->GetPaddleStarts().size(), 2u);
    EXPECT_EQ(Coord(level->GetPaddleStarts()[0], "position", 1), 288);
    EXPECT_TRUE(level->GetPaddleStarts()[1]["vertical"].GetBoolean());
    ASSERT_EQ(level->GetBallStarts().size(), 3u);
    EXPECT_STREQ(level->GetBallStarts()[0]["paddleName"].GetString(), "P");
    EXPECT_EQ(Coord(level->GetBallStarts()[1], "position", 2), 416);
    // The level's own tables hold what the file gave them, nothing more.
    const LuaPlus::LuaObject starts = table["paddleStarts"];
    EXPECT_TRUE(starts[1].RawGet("position").IsNil());
    EXPECT_TRUE(starts[2].RawGet("vertical").IsNil());
    EXPECT_TRUE(table["ballStarts"][2].RawGet("position").IsNil());
    for (const char* line :
         {"paddleStarts[2] (level \"Test\"): \"ballStart\" needs a table",
          "Level \"Test\": paddleStarts[3]: the number 5 is not a table; it is left out",
          "Level \"Test\": paddleStarts[4]: flattenObject: there is no table resource named "
          "\"NoSuchStart\"; it is left out",
          "Level \"Test\": ballStarts[1]: the string \"x\" is not a table; it is left out"})
        EXPECT_NE(log.Text().find(line), std::string::npos) << line << "\n" << log.Text();
}

TEST_F(LevelTest, GoalsTakeLevelKeysOverGlobalsWithAnyAndTheLiveBallFloor)
{
    Globals globals{{"defaultVictoryGoobers", "-1"},  {"defaultVictoryPowerups", "-1"},
                    {"defaultDefeatBalls", "0"},      {"defaultMinLiveBalls", "0"},
                    {"defaultLiveBallDelay", "6000"}, {"defaultExpensiveSpawns", "true"}};
    struct Case
    {
        const char* table;
        int victoryBricks, victoryGoobers, victoryPowerups, defeatBalls, minLiveBalls;
        bool expensive;
    };
    const Case cases[] = {
        {"{}", 0, 10000, 10000, 0, 1, true},
        {"{ victoryBricks = -1, victoryGoobers = 3, expensiveSpawns = false }", 10000, 3, 10000, 0,
         1, false},
        {"{ defeatBalls = 2 }", 0, 10000, 10000, 2, 3, true},
        {"{ defeatBalls = 1, minLiveBalls = 5, victoryPowerups = 2.9 }", 0, 10000, 2, 1, 5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        auto level = MakeLevel(c.table);
        EXPECT_EQ(level->victoryBricks, c.victoryBricks);
        EXPECT_EQ(level->victoryGoobers, c.victoryGoobers);
        EXPECT_EQ(level->victoryPowerups, c.victoryPowerups);
        EXPECT_EQ(level->defeatBalls, c.defeatBalls);
        EXPECT_EQ(level->minLiveBalls, c.minLiveBalls);
        EXPECT_EQ(level->liveBallDelay, 6000);
        EXPECT_EQ(level->expensiveSpawns, c.expensive);
    }
}

TEST_F(LevelTest, EachLevelSetsEveryBallSpeedAfreshFromItsKeysAndTheGlobals)
{
    Globals globals{{"defaultMinBallSpeed", "111"}, {"defaultGlueSpeed", "nil"}};
    auto first = MakeLevel("{ minBallSpeed = 50, glueSpeed = 3, initalBallSpeed = 300 }");
    EXPECT_EQ(gBallSpeed.minBallSpeed, 50);
    EXPECT_EQ(gBallSpeed.glueSpeed, 3);
    EXPECT_EQ(gBallSpeed.initialBallSpeed, 300);
    // The next level gives no keys: the globals again, and the game's own value where
    // there is no global either.
    auto second = MakeLevel("{}");
    EXPECT_EQ(gBallSpeed.minBallSpeed, 111);
    EXPECT_EQ(gBallSpeed.glueSpeed, 8);
    EXPECT_NE(gBallSpeed.initialBallSpeed, 300);
}

// Every reader of a level value (the level's own keys, the ball limits, a brick's
// properties) treats a value of the wrong type alike: one log line naming the level (and
// the brick), the key, the type needed and the value seen; then the default.
TEST_F(LevelTest, AValueOfTheWrongTypeIsLoggedByNameAndEveryReaderTakesTheDefault)
{
    Globals globals{{"defaultVictoryBricks", "2"},
                    {"defaultMinBallSpeed", "111"},
                    {"defaultGlueSpeed", "7"},
                    {"defaultInitialBallSpeed", "150"},
                    {"defaultLiveBallDelay", "5000"}};
    struct Row
    {
        const char* key;
        const char* value;
        const char* words; // "needs ..., not ..."
        std::function<bool(const Level&)> tookDefault;
    };
    const Row levelRows[] = {
        {"fullName", "12", "a string, not the number 12",
         [](const Level& l) { return l.GetFullName().empty(); }},
        {"music", "true", "a string, not the boolean true",
         [](const Level& l) { return l.GetMusicName().empty(); }},
        {"victoryBricks", "'many'", "a number, not the string \"many\"",
         [](const Level& l) { return l.victoryBricks == 2; }},
        {"liveBallDelay", "{}", "a number, not a table",
         [](const Level& l) { return l.liveBallDelay == 5000; }},
        {"expensiveSpawns", "1", "a boolean, not the number 1",
         [](const Level& l) { return !l.expensiveSpawns; }},
        {"paddleStarts", "'left'", "a table, not the string \"left\"",
         [](const Level& l) { return l.GetPaddleStarts().size() == 1; }},
        {"minBallSpeed", "'fast'", "a number, not the string \"fast\"",
         [](const Level&) { return gBallSpeed.minBallSpeed == 111; }},
        {"initalBallSpeed", "{400}", "a number, not a table",
         [](const Level&) { return gBallSpeed.initialBallSpeed == 150; }},
        {"glueSpeed", "false", "a number, not the boolean false",
         [](const Level&) { return gBallSpeed.glueSpeed == 7; }},
    };
    {
        // Read once: the slide-down's checks in play never report it again.
        bbtest::LogCapture log;
        auto level = MakeLevel("{ progressive = 'down' }");
        for (int pass = 0; pass < 3; ++pass) {
            level->CheckProgressive(nullptr);
            level->TickSlideDown(nullptr);
        }
        const std::string text = log.Text();
        const std::string line = "\"progressive\" needs a table";
        EXPECT_NE(text.find(line), std::string::npos) << text;
        EXPECT_EQ(text.find(line), text.rfind(line)) << "logged again in play:\n" << text;
    }
    for (const Row& row : levelRows) {
        bbtest::LogCapture log;
        auto level = MakeLevel(std::string("{ ") + row.key + " = " + row.value + " }");
        const std::string line = std::string("Level \"Test\": \"") + row.key + "\" needs " +
                                 row.words + "; the default is used\n";
        const std::string text = log.Text();
        EXPECT_NE(text.find(line), std::string::npos) << row.key << "\n" << text;
        EXPECT_EQ(text.find(line), text.rfind(line)) << row.key << ": logged twice";
        EXPECT_TRUE(row.tookDefault(*level)) << row.key;
    }

    // A brick's properties: the brick is built, the wrong key keeps the brick's default.
    std::vector<std::unique_ptr<Brick>> plain;
    MakeLevel("{ compiledBricks = { { resource = 'RedBrick', position = { 1, 1 } } } }")
        ->CreateBricks(plain);
    ASSERT_EQ(1u, plain.size());
    const Row brickRows[] = {
        {"strength", "'nine'", "a number, not the string \"nine\"", nullptr},
        {"invisible", "'yes'", "a boolean, not the string \"yes\"", nullptr},
        {"rotation", "{}", "a number, not a table", nullptr},
    };
    for (const Row& row : brickRows) {
        bbtest::LogCapture log;
        std::vector<std::unique_ptr<Brick>> bricks;
        MakeLevel(
            std::string("{ compiledBricks = { { resource = 'RedBrick', position = { 5, 2 }, ") +
            row.key + " = " + row.value + " } } }")
            ->CreateBricks(bricks);
        ASSERT_EQ(1u, bricks.size()) << row.key;
        const std::string line =
            std::string("Brick \"RedBrick\" (level \"Test\", row 2, column 5): \"") + row.key +
            "\" needs " + row.words + "; the default is used\n";
        const std::string text = log.Text();
        EXPECT_NE(text.find(line), std::string::npos) << row.key << "\n" << text;
        EXPECT_FALSE(bricks[0]->ShowsPlaceholder()) << row.key;
        EXPECT_EQ(plain[0]->GetStrength(), bricks[0]->GetStrength()) << row.key;
        EXPECT_EQ(plain[0]->IsInvisible(), bricks[0]->IsInvisible()) << row.key;
        EXPECT_EQ(plain[0]->GetRotation(), bricks[0]->GetRotation()) << row.key;
    }

    // Outside a level a script setting the same property gets the error, naming the brick.
    Brick brick;
    brick.ApplyProperties(bbtest::EvalLua("{ resource = 'RedBrick' }"));
    try {
        brick.ApplyProperty("strength", bbtest::EvalLua("'nine'"));
        ADD_FAILURE() << "a script's wrong value must raise";
    } catch (const Exception& e) {
        // The reader's own words first, then the sentence that names the key.
        EXPECT_EQ("Object is not a number, but rather a string. Brick \"RedBrick\": \"strength\" "
                  "needs a number, not the string \"nine\".",
                  e.GetMessage());
    }
}

TEST_F(LevelTest, ALevelTooLargeIsRefusedBeforeItsEntriesAreRead)
{
    bbtest::LogCapture log;
    std::string bricks;
    for (int i = 0; i <= Level::MAX_FIELD_OBJECTS; ++i)
        bricks += "{ resource = 'RedBrick', position = { 1, 1 }, strenght = 3 },";
    EXPECT_THROW(MakeLevel("{ compiledBricks = { " + bricks + " } }"), Exception);
    EXPECT_EQ(std::string::npos, log.Text().find("strenght")) << "its entries were checked";
}

TEST_F(LevelTest, TheManagerFindsLevelsByNameAndByPlaceInTheOrder)
{
    Globals globals{{"Levels", R"({ One = { fullName = "First" }, Two = 5 })"}};
    Constants constants{{"LevelOrder", R"({ { "One", "Missing" }, { 42 } })"}};
    LevelManager manager;
    EXPECT_EQ(LevelManager::GetLevelManager(), &manager);
    std::unique_ptr<Level> one(manager.GetLevel("One"));
    ASSERT_TRUE(one);
    EXPECT_EQ(one->GetLevelName(), "One");
    EXPECT_EQ(one->GetFullName(), "First");
    EXPECT_EQ(manager.GetLevel("Two"), nullptr);
    EXPECT_EQ(manager.GetLevel("Nowhere"), nullptr);

    // The constant configuration's order wins when it has one; this one comes from Lua.
    if (LevelManager::GetLevelNameAt(1, 1) == "One") {
        std::unique_ptr<Level> first(manager.GetLevelAt(1, 1));
        ASSERT_TRUE(first);
        EXPECT_EQ(first->GetFullName(), "First");
        EXPECT_EQ(manager.GetLevelAt(1, 2), nullptr);
        EXPECT_EQ(manager.GetLevelAt(1, 3), nullptr);
        EXPECT_EQ(LevelManager::GetLevelNameAt(2, 1), "42");
        EXPECT_EQ(manager.GetLevelAt(9, 1), nullptr);
    }
}

TEST_F(LevelTest, WithoutAManagerOrLevelsTableTheLookUpsRaise)
{
    EXPECT_FALSE(LevelManager::Exists());
    EXPECT_THROW(LevelManager::GetLevelManager(), Exception);
    Globals globals{{"Levels", "nil"}};
    LevelManager manager;
    EXPECT_THROW(manager.GetLevel("One"), Exception);
}

} // namespace

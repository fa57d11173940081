// Building a level from its table: the starts it serves from, its goals, the ball speeds
// it sets, its texts, the level manager's look-ups, and keys of the wrong type.
#include "LevelTestSupport.h"

#include "core/Exception.h"
#include "field/Ball.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

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

TEST_F(LevelTest, KeysOfTheWrongTypeAreLoggedAndTakeTheirDefaults)
{
    bbtest::LogCapture log;
    auto level = MakeLevel(R"({ fullName = 12, noteText = "Hello", victoryBricks = "many",
                                paddleStarts = "left", music = "Theme" })");
    EXPECT_EQ(level->GetFullName(), "");
    EXPECT_EQ(level->GetNoteText(), "Hello");
    EXPECT_EQ(level->GetMusicName(), "Theme");
    EXPECT_EQ(level->GetArtefactName(), "EMPTY");
    EXPECT_EQ(level->victoryBricks, 0);
    EXPECT_EQ(level->GetPaddleStarts().size(), 1u);
    const std::string text = log.Text();
    EXPECT_NE(text.find("Level \"Test\": key \"fullName\" is a number where a string is expected"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("key \"victoryBricks\" is a string where a number"), std::string::npos);
    EXPECT_NE(text.find("key \"paddleStarts\" is a string where a table"), std::string::npos);
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

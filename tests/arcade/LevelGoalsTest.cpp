// A level's goals on a field the test fills: victory and defeat (with a locked ball), the
// live-ball check and its timer, the last-brick bonus, the power-ups handed out on serves
// and as the arcade bonus, and the bonus targets with the skill's adjustments.
#include "FieldScene.h"
#include "LevelTestSupport.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "field/Brick.h"
#include "field/Powerup.h"
#include "support/MessageOf.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

using namespace fieldtest;
using leveltest::Globals;
using leveltest::MakeLevel;
using leveltest::ServeLogic;

namespace {

class LevelGoalsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }

    LevelGoalsTest()
    {
        root->logic = &logic;
        logic.SetField(root, &root->world);
        logic.onCollect = [this](Powerup* p, Paddle*) {
            collected.push_back(p->GetClass()->GetName());
        };
    }
    ~LevelGoalsTest() override
    {
        passes.SetRoot(nullptr);
        delete root;
    }

    Brick* AddRequiredBrick()
    {
        Brick* brick = new Brick("RedBrick");
        brick->ApplyBoolProperty("necessary", true);
        root->AddChild(brick, "");
        logic.GetBricks().Add(brick);
        return brick;
    }
    Ball* AddBall()
    {
        Ball* ball = new Ball(300, 300, 0, 100, true);
        root->AddChild(ball, "");
        logic.GetBalls().Add(ball);
        return ball;
    }
    Powerup* AddPowerup(const char* className)
    {
        Object* made = ClassManager::GetInstance()->GetClass(className)->InstantiateDefault();
        Powerup* powerup = dynamic_cast<Powerup*>(made);
        root->AddChild(powerup, "");
        logic.GetPowerups().Add(powerup);
        return powerup;
    }
    void AddPaddle()
    {
        Paddle* paddle = new Paddle();
        root->AddChild(paddle, "");
        logic.paddles.push_back(paddle);
    }

    FieldRoot* root = new FieldRoot();
    bbtest::PassHarness passes{root, 640, 480};
    ServeLogic logic;
    std::vector<std::string> collected;
};

TEST_F(LevelGoalsTest, TheDefaultLevelIsWonWhenNoRequiredBrickIsLeftWhateverElseRemains)
{
    auto level = MakeLevel("{}");
    AddPaddle();
    AddBall();
    Brick* brick = AddRequiredBrick();
    AddPowerup("BlingCoin");
    logic.GetGoobers().Add(AddPowerup("Split")); // any actor counts as a goober here
    EXPECT_FALSE(level->IsVictory(&logic));
    brick->Kill();
    EXPECT_TRUE(level->IsVictory(&logic));

    // Goals the level sets: at most one goober, at least two balls.
    auto strict = MakeLevel("{ victoryGoobers = 0, victoryBalls = 2 }");
    EXPECT_FALSE(strict->IsVictory(&logic));
    logic.GetGoobers().KillAll();
    EXPECT_FALSE(strict->IsVictory(&logic));
    AddBall();
    EXPECT_TRUE(strict->IsVictory(&logic));
}

TEST_F(LevelGoalsTest, TheLastBallLostIsDefeatUnlessItIsLockedOrLootMustStillBeCaught)
{
    auto level = MakeLevel("{}");
    AddPaddle();
    AddPowerup("BlingCoin"); // loot still falling
    ASSERT_TRUE(level->IsDefeat(&logic));
    EXPECT_EQ(logic.m_LostReason, "Ball Lost");

    // A ball held in a brick comes back: no defeat, and no replacement is asked for.
    logic.m_LostReason.clear();
    logic.m_BallLocked = true;
    EXPECT_FALSE(level->IsDefeat(&logic));
    EXPECT_FALSE(level->NeedsLiveBall(&logic, false));
    EXPECT_EQ(logic.m_LiveBallTimer, 0u);
    logic.m_BallLocked = false;

    // With no loot allowed to remain, falling loot keeps the level going.
    auto careful = MakeLevel("{ victoryPowerups = 0 }");
    EXPECT_FALSE(careful->IsDefeat(&logic));

    // No paddle left.
    logic.paddles.clear();
    AddBall();
    ASSERT_TRUE(level->IsDefeat(&logic));
    EXPECT_EQ(logic.m_LostReason, "Paddle Destroyed!");
}

TEST_F(LevelGoalsTest, TooFewLiveBallsStartOneTimerUnlessForced)
{
    auto level = MakeLevel("{ minLiveBalls = 2, liveBallDelay = 500 }");
    AddBall();
    AddBall();
    EXPECT_FALSE(level->NeedsLiveBall(&logic, false));
    logic.GetBalls().GetMembers().front()->Kill();
    EXPECT_TRUE(level->NeedsLiveBall(&logic, true));
    EXPECT_EQ(logic.m_LiveBallTimer, 0u);
    EXPECT_TRUE(level->NeedsLiveBall(&logic, false));
    const std::uint32_t timer = logic.m_LiveBallTimer;
    EXPECT_NE(timer, 0u);
    EXPECT_TRUE(level->NeedsLiveBall(&logic, false));
    EXPECT_EQ(logic.m_LiveBallTimer, timer);
}

TEST_F(LevelGoalsTest, TheLastBrickBonusFiresOnceThrowingItsPowerupsAndEndingTheBallGoals)
{
    Globals globals{{"defaultLastBrickBonus", "{}"}};
    auto level = MakeLevel(R"({ defeatBalls = 1, lastBrickBonus = {
        { powerupClass = "BlingDiamond" }, "not a table", { powerupClass = "BlingCoin" } } })");
    Brick* brick = AddRequiredBrick();
    Ball* ball = AddBall();
    logic.m_ClockTimer = logic.StartTimer(1000, -1);
    level->CheckLastBrickBonus(&logic, 200, 100);
    EXPECT_TRUE(logic.powerups.empty());
    EXPECT_EQ(level->minLiveBalls, 2);

    brick->Kill();
    level->CheckLastBrickBonus(&logic, 200, 100);
    ASSERT_EQ(logic.powerups.size(), 2u);
    EXPECT_EQ(logic.powerups[0]->GetClass()->GetName(), "BlingDiamond");
    EXPECT_EQ(logic.powerups[1]->GetClass()->GetName(), "BlingCoin");
    EXPECT_EQ(logic.powerups[0]->GetX(), 200);
    EXPECT_TRUE(ball->IsDead());
    EXPECT_EQ(logic.m_ClockTimer, 0u);
    EXPECT_EQ(level->victoryBalls, -1);
    EXPECT_EQ(level->defeatBalls, -1);
    EXPECT_EQ(level->minLiveBalls, -1);
    EXPECT_EQ(level->victoryBricks, 10000);
    // Without balls the level is neither lost nor short of a ball now.
    EXPECT_FALSE(level->NeedsLiveBall(&logic, false));

    level->CheckLastBrickBonus(&logic, 200, 100);
    EXPECT_EQ(logic.powerups.size(), 2u);
}

TEST_F(LevelGoalsTest, ServesHandOutPowerupsPerBallPerLevelAndPerSpawn)
{
    auto level = MakeLevel(R"({
        paddleStarts = { { position = { 288, 416 }, ballStart = { paddleName = "P" } } },
        initialPowerups = { perBall = { { powerupClass = "BlingCoin" } },
                            perLevel = { { powerupClass = "IncreaseShield" } },
                            perSpawn = { { powerupClass = "Lightning" } } } })");
    level->SpawnPaddles(&logic);
    level->SpawnBall(&logic, -1, true);
    EXPECT_EQ(collected, (std::vector<std::string>{"BlingCoin", "IncreaseShield", "Lightning"}));
    collected.clear();
    level->SpawnBall(&logic, 1, true);
    EXPECT_EQ(collected, (std::vector<std::string>{"BlingCoin"}));
    collected.clear();
    level->SpawnPaddles(&logic);
    level->SpawnBall(&logic, 1, true);
    EXPECT_EQ(collected, (std::vector<std::string>{"BlingCoin", "Lightning"}));
}

// Every list of power-up entries (the three serve lists, the last-brick bonus, the arcade
// bonus) keeps the entries that name a kind; any other element is named with the level
// and its key path and left out, and the serve goes on.
TEST_F(LevelGoalsTest, PowerupEntriesOfTheWrongKindAreNamedAndLeftOutOfEveryList)
{
    bbtest::LogCapture log;
    auto level = MakeLevel(R"({
        paddleStarts = { { position = { 288, 416 }, ballStart = { paddleName = "P" } } },
        initialPowerups = { perBall = { "x", { powerupClass = "BlingCoin" }, 5 },
                            perLevel = { true, {}, { powerupClass = "Label" } },
                            perSpawn = { 5, { powerupClass = "Lightning" } } },
        lastBrickBonus = { { powerupClass = "Powerup" }, { powerupClass = "BlingDiamond" },
                           { powerupClass = 7 } },
        arcadeBonus = { { powerupClass = "Player" }, { powerupClass = "Split" }, false } })");
    level->SpawnPaddles(&logic);
    level->SpawnBall(&logic, -1, true);
    level->AwardArcadeBonus(&logic);
    EXPECT_EQ(collected, (std::vector<std::string>{"BlingCoin", "Lightning", "Split"}));
    level->CheckLastBrickBonus(&logic, 200, 100);
    ASSERT_EQ(logic.powerups.size(), 1u);
    EXPECT_EQ(logic.powerups[0]->GetClass()->GetName(), "BlingDiamond");
    for (const char* line :
         {"initialPowerups.perBall[1]: the string \"x\" is not a table; it is left out",
          "initialPowerups.perBall[3]: the number 5 is not a table",
          "initialPowerups.perLevel[1]: the boolean true is not a table",
          "initialPowerups.perLevel[2].powerupClass: nil is not a kind of power-up; the entry "
          "is left out",
          "initialPowerups.perLevel[3].powerupClass: the string \"Label\" is not a kind",
          "initialPowerups.perSpawn[1]: the number 5 is not a table",
          "lastBrickBonus[1].powerupClass: the string \"Powerup\" is not a kind",
          "lastBrickBonus[3].powerupClass: the number 7 is not a kind",
          "arcadeBonus[1].powerupClass: the string \"Player\" is not a kind",
          "arcadeBonus[3]: the boolean false is not a table"})
        EXPECT_NE(log.Text().find(std::string("Level \"Test\": ") + line), std::string::npos)
            << line << "\n"
            << log.Text();
}

// An object of a class outside the power-up family, counting how often one is made.
class CountedObject : public Object
{
    MAKO_DECLARE_CLASS();

public:
    CountedObject() { ++s_Made; }
    static int s_Made;
};
int CountedObject::s_Made = 0;
MAKO_IMPLEMENT_CLASS(CountedObject, "PowerupListCounted", "Object", nullptr,
                     &InstantiateObjectOfClass<CountedObject>);

// A power-up name is checked before anything is made of it: a name of any other class
// (also Powerup itself, which is never made by name) makes nothing, wherever it is given.
TEST_F(LevelGoalsTest, APowerupNameMakesNothingButAPowerupKind)
{
    CountedObject::s_Made = 0;
    Globals globals{{"defaultLastBrickBonus", R"({ { powerupClass = "PowerupListCounted" } })"},
                    {"defaultArcadeBonus", R"({ { powerupClass = "PowerupListCounted" } })"}};
    auto level = MakeLevel(R"({
        paddleStarts = { { position = { 288, 416 }, ballStart = { paddleName = "P" } } },
        initialPowerups = { perBall = { { powerupClass = "PowerupListCounted" } },
                            perLevel = { { powerupClass = "PowerupListCounted" } },
                            perSpawn = { { powerupClass = "PowerupListCounted" } } } })");
    level->SpawnPaddles(&logic);
    level->SpawnBall(&logic, -1, true);
    level->AwardArcadeBonus(&logic);
    AddRequiredBrick()->Kill();
    level->CheckLastBrickBonus(&logic, 200, 100);
    EXPECT_TRUE(collected.empty());
    EXPECT_TRUE(logic.powerups.empty());
    for (const char* name : {"PowerupListCounted", "Powerup", "Label"})
        EXPECT_EQ(std::string("\"") + name + "\" is not a kind of power-up",
                  bbtest::MessageOf([&] { delete Powerup::CreateOfKind(name); }));
    EXPECT_EQ(0, CountedObject::s_Made);
}

TEST_F(LevelGoalsTest, TheArcadeBonusIsTheLevelsListElseTheGamesCollectedInOrder)
{
    Globals globals{{"defaultArcadeBonus", R"({
        { powerupClass = "BlingDiamond" }, { powerupClass = "BlingDiamond" },
        { powerupClass = "BlingDiamond" }, { powerupClass = "IncreaseShield" },
        { powerupClass = "IncreaseShield" }, { powerupClass = "Lightning" } })"}};
    MakeLevel("{}")->AwardArcadeBonus(&logic);
    EXPECT_EQ(collected,
              (std::vector<std::string>{"BlingDiamond", "BlingDiamond", "BlingDiamond",
                                        "IncreaseShield", "IncreaseShield", "Lightning"}));
    collected.clear();
    bbtest::LogCapture log;
    MakeLevel(R"({ arcadeBonus = { { powerupClass = "Split" }, 5, { powerupClass = "Gold" },
                                   { powerupClass = "Split" } } })")
        ->AwardArcadeBonus(&logic);
    EXPECT_EQ(collected, (std::vector<std::string>{"Split", "Split"}));
    EXPECT_NE(log.Text().find("arcadeBonus[3].powerupClass: the string \"Gold\" is not a kind "
                              "of power-up"),
              std::string::npos)
        << log.Text();
}

TEST_F(LevelGoalsTest, TargetsRoundTheLevelActorsWorthAndFollowTheSkillInForce)
{
    Globals globals{{"defaultPlusBonus", "4000"},
                    {"defaultScoreBonusAtFineTune", "0"},
                    {"defaultTimeBonusAt", "3"},
                    {"defaultBallUsedTarget", "1"},
                    {"defaultLootCaughtTarget", "100"},
                    {"defaultTimeBonusAtAdjustment", "nil"},
                    {"defaultScoreBonusAtAdjustment", "nil"},
                    {"defaultBallUsedTargetAdjustment", "nil"},
                    {"defaultLootCaughtTargetAdjustment", "nil"}};
    struct Case
    {
        const char* table;
        int scoreTarget;
    };
    const Case cases[] = {
        // 2,000 of loot and 900 of brick score: 2,450 rounds down to 2,000.
        {R"({ levelActors = { { class = "Brick", extraLoot = 5, score = 600 },
                              { class = "Brick", extraLoot = 3, score = 300 } } })",
         6000},
        // Below 1,000 the estimate is rounded to hundreds: 500 + 150.
        {R"({ levelActors = { { class = "Brick", extraLoot = 2, score = 300 } } })", 4600},
        {R"({ scoreBonusAtFineTune = 250, artefact = { name = "none", score = 1000 } })", 5250},
        // Extra actors and compiled bricks are not counted.
        {R"({ extraActors = { { class = "Brick", extraLoot = 8 } } })", 4000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        EXPECT_EQ(MakeLevel(c.table)->GetScoreBonusAt(), c.scoreTarget);
    }

    auto level = MakeLevel(cases[0].table);
    EXPECT_EQ(level->GetTimeBonusAt(), 180);
    EXPECT_EQ(level->GetBallUsedTarget(), 1);
    EXPECT_EQ(level->GetLootCaughtTarget(), 100);
    // The kid's skill chosen after the level was built.
    Globals kid{{"defaultTimeBonusAtAdjustment", "1.0"},
                {"defaultScoreBonusAtAdjustment", "-2000"},
                {"defaultBallUsedTargetAdjustment", "2"},
                {"defaultLootCaughtTargetAdjustment", "-10.7"}};
    EXPECT_EQ(level->GetTimeBonusAt(), 240);
    EXPECT_EQ(level->GetScoreBonusAt(), 4000);
    EXPECT_EQ(level->GetBallUsedTarget(), 3);
    EXPECT_EQ(level->GetLootCaughtTarget(), 90);
    // Targets at the ends of an int are held to their ranges, and no adjustment overflows.
    const struct
    {
        const char* table;
        int balls, loot, score;
    } edges[] = {
        {"{ ballUsedTarget = 2^31 - 1, lootCaughtTarget = -2^31, scoreBonusAtFineTune = 2^31 - 1 }",
         10002, -10, 1000002000},
        {"{ ballUsedTarget = -2^31, lootCaughtTarget = 2^31 - 1, scoreBonusAtFineTune = -2^31 }", 2,
         90, -999998000},
    };
    for (const auto& edge : edges) {
        SCOPED_TRACE(edge.table);
        auto held = MakeLevel(edge.table);
        EXPECT_EQ(held->GetBallUsedTarget(), edge.balls);
        EXPECT_EQ(held->GetLootCaughtTarget(), edge.loot);
        EXPECT_EQ(held->GetScoreBonusAt(), edge.score);
    }
}

} // namespace

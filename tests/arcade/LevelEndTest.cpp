// Levels played through the controller to their end: loading runs on to the brick drop in
// one go, a serve into a field with nothing left to clear completes the level at once, a
// won level moves on to the next by its place in the level order (also after a level
// loaded by name), and losing the last ball serves again or ends the game.
#include "GameFixture.h"
#include "LevelTestSupport.h"

#include "field/Ball.h"
#include "field/Brick.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

using gametest::GameFixture;
using leveltest::Constants;
using leveltest::Globals;

namespace {

// Two levels of one episode: "First" with a brick to clear, "Second" with nothing to clear.
const char* const kEndLevels = R"({
    First = { fullName = "First Light", backgroundName = "bkgSplash.jpg",
        compiledBricks = { { resource = "RedBrick", position = { 1, 1 }, necessary = true } },
        paddleStarts = { { position = { 288, 416 }, ballStart = { paddleName = "Server" } } } },
    Second = { fullName = "Second Wind", backgroundName = "bkgSplash.jpg",
        paddleStarts = { { position = { 288, 416 }, ballStart = { paddleName = "Server" } } } } })";

class LevelEndTest : public GameFixture
{
protected:
    LevelEndTest()
        : globals{{"Levels", kEndLevels}}, constants{{"LevelOrder", "{ { 'First', 'Second' } }"},
                                                     {"EpisodeNames", "{ 'Cape' }"}}
    {
    }

    // From the start of the game to the serve (the brick drop takes 70 passes).
    void PlayTo(const std::string& state)
    {
        ASSERT_LT(StepUntilState(state, 200), 200) << "stuck in " << State();
    }
    // Serves: the spawn delay, then a click.
    void Serve()
    {
        PlayTo("WaitForSpawn");
        passes.Step(27);
        Click(true);
        Click(false);
    }

    Globals globals;
    Constants constants;
    LevelManager manager;
};

TEST_F(LevelEndTest, StartingRunsThroughLoadingOnToTheBrickDropInOneGo)
{
    NewGame("{gameType = 'Adventure', levelName = 'First', ballsLeft = 3}");
    logic->StartGame();
    EXPECT_EQ("BrickDrop", State());
    EXPECT_EQ(1, sounds.Count("levelStart.ogg"));
    ASSERT_NE(nullptr, logic->GetLevel());
    // Loaded by name, the level has its place in the order for the map and the letter.
    EXPECT_EQ(1, logic->GetEpisodeNumber().value_or(0));
    EXPECT_EQ(1, logic->GetLevelNumber().value_or(0));
    EXPECT_EQ("First Light", logic->m_LevelLabel->GetText());
    EXPECT_EQ("Cape Horn", logic->m_EpisodeLabel->GetText());
    EXPECT_EQ(1, logic->CountRequiredBricks());
    // The bricks wait above the field until they drop in.
    Actor* brick = logic->GetBricks().GetMembers().front();
    EXPECT_LT(brick->GetY(), 0);
    PlayTo("WaitForSpawn");
    EXPECT_GT(brick->GetY(), 0);
}

TEST_F(LevelEndTest, ServingIntoAFieldWithNothingToClearCompletesTheLevelAtOnce)
{
    NewGame("{gameType = 'Levels', levelName = 'Second', ballsLeft = 3}");
    logic->StartGame();
    Serve();
    // WaitForSpawn -> SpawnBall -> Playing -> LevelCompleted inside the click.
    EXPECT_EQ("LevelCompleted", State());
    EXPECT_TRUE(logic->GetBalls().IsEmpty());
    EXPECT_LT(StepUntilState("ShowEndLevelDialog", 100), 100);
    ASSERT_TRUE(ClickDialogButton("EndLevelBonusDialog", "NextButton"));
    EXPECT_EQ("LevelsGameTypeCompleted", State());
}

TEST_F(LevelEndTest, AWonLevelLoadedByNameGoesOnToTheNextLevelNotTheSameAgain)
{
    NewGame("{gameType = 'Adventure', levelName = 'First', ballsLeft = 3}");
    logic->StartGame();
    Serve();
    ASSERT_EQ("Playing", State());
    EXPECT_EQ(3, logic->GetBallsLeft()); // the level's first serve is free

    // The last brick goes: the level is won, the balls vanish.
    logic->GetBricks().KillAll();
    logic->CheckForLevelEnd(100.0, 100.0);
    EXPECT_EQ("LevelCompleted", State());
    EXPECT_TRUE(logic->GetBalls().IsEmpty());
    logic->CheckForLevelEnd(0.0, 0.0); // no longer playing: nothing happens
    EXPECT_EQ("LevelCompleted", State());

    EXPECT_LT(StepUntilState("ShowEndLevelDialog", 100), 100);
    ASSERT_TRUE(ClickDialogButton("EndLevelBonusDialog", "NextButton"));
    EXPECT_LT(StepUntilState("BrickDrop", 100), 100);
    ASSERT_NE(nullptr, logic->GetLevel());
    EXPECT_EQ("Second Wind", logic->GetLevel()->GetFullName());
    EXPECT_EQ(2, logic->GetLevelNumber().value_or(0));
    EXPECT_FALSE(logic->m_LevelName.has_value());
    EXPECT_EQ("EMPTY", bbtest::EvalLua("GameOptions.levelName").ToString());
}

TEST_F(LevelEndTest, LosingTheLastBallServesAgainThenEndsTheGame)
{
    NewGame("{gameType = 'Levels', levelName = 'First', ballsLeft = 0}");
    logic->StartGame();
    Serve();
    ASSERT_EQ("Playing", State());

    logic->GetBalls().KillAll();
    logic->CheckForLevelEnd(0.0, 0.0);
    EXPECT_EQ("AllBallsLost", State());
    EXPECT_EQ("Ball Lost", logic->m_LostReason);
    passes.Step(24); // 750 ms: the paddles shatter
    EXPECT_TRUE(logic->GetPaddles().empty());
    EXPECT_GE(sounds.Count("Paddle Shatter.ogg"), 1);
    EXPECT_LT(StepUntilState("GameOver", 100), 100);
    EXPECT_LT(StepUntilState("LevelsGameTypeOver", 100), 100);
}

TEST_F(LevelEndTest, AWonLevelBreaksTheBricksTheGoalsDoNotNeed)
{
    Globals extra{{"Levels", R"({ Spare = { fullName = "Spare", backgroundName = "bkgSplash.jpg",
        compiledBricks = { { resource = "RedBrick", position = { 1, 1 }, necessary = true },
                           { resource = "BlueBrick", position = { 5, 1 }, necessary = false } },
        paddleStarts = { { position = { 288, 416 }, ballStart = { paddleName = "Server" } } } } })"}};
    NewGame("{gameType = 'Levels', levelName = 'Spare', ballsLeft = 3}");
    logic->StartGame();
    Serve();
    ASSERT_EQ("Playing", State());
    ASSERT_EQ(2u, logic->GetBricks().GetMembers().size());
    Brick* required = nullptr;
    for (Actor* actor : logic->GetBricks().GetMembers())
        if (Brick* brick = dynamic_cast<Brick*>(actor); brick && brick->IsNecessary())
            required = brick;
    ASSERT_NE(nullptr, required);
    required->Kill();
    logic->CheckForLevelEnd(0.0, 0.0);
    EXPECT_EQ("LevelCompleted", State());
    EXPECT_TRUE(logic->GetBricks().IsEmpty());
}

} // namespace

// A level played by the game controller: loading fills the field with the level's bricks,
// walls and shield, and the serve puts the ball on the paddle the level names.
#include "GameFixture.h"
#include "LevelTestSupport.h"

#include "field/Ball.h"
#include "field/Paddle.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"

#include <gtest/gtest.h>

using gametest::GameFixture;
using leveltest::Globals;

namespace {

class LevelLoadingTest : public GameFixture
{
};

TEST_F(LevelLoadingTest, ALoadedLevelFillsTheFieldAndServesOnItsPaddle)
{
    Globals globals{{"Levels", R"({ Tiny = {
        fullName = "Tiny", backgroundName = "bkgSplash.jpg",
        compiledBricks = { { resource = "RedBrick", position = { 1, 1 }, necessary = true },
                           { resource = "BlueBrick", position = { 3, 2 }, necessary = true } },
        paddleStarts = { { position = { 288, 416 }, ballStart = { paddleName = "Server" } } } } })"}};
    LevelManager manager;
    NewGame("{gameType = 'Levels', levelName = 'Tiny', ballsLeft = 3}");
    logic->StartGame();
    ASSERT_NE(logic->GetLevel(), nullptr);
    EXPECT_EQ(logic->GetLevel()->GetFullName(), "Tiny");
    EXPECT_EQ(logic->CountRequiredBricks(), 2);
    EXPECT_EQ(logic->GetWalls().size(), 4u);
    ASSERT_EQ(logic->GetShields().size(), 1u);
    EXPECT_EQ(logic->GetShields()[0]->GetSide(), "Bottom");

    // Through the letter and the brick drop to the serve.
    for (int i = 0; i < 20 && State() != "WaitForSpawn" && State() != "Playing"; ++i) {
        if (State() == "ShowStartLevelDialog")
            Send(ARCADE_BUTTONDOWN);
        passes.Step(20);
    }
    if (State() != "WaitForSpawn" && State() != "Playing")
        GTEST_SKIP() << "the game waits in " << State();
    StepUntilState("Playing");
    ASSERT_EQ(logic->GetPaddles().size(), 1u);
    Paddle* paddle = logic->GetPaddles()[0];
    EXPECT_EQ(paddle->GetName(), "Server");
    Ball* served = nullptr;
    for (Actor* actor : logic->GetBalls().GetMembers())
        served = dynamic_cast<Ball*>(actor);
    ASSERT_NE(served, nullptr);
    EXPECT_EQ(served->GetPaddle(), paddle);
    // The level's first serve is free.
    EXPECT_EQ(logic->GetBallsLeft(), 3);
    EXPECT_FALSE(logic->GetLevel()->IsDefeat(logic));
}

} // namespace

// The play benchmarks measure play: the way they bring a level into play (the brick drop,
// the serve's delay, a click, more balls through the controller) ends in the playing
// state with ten balls in play and the serve's paddles whole, on every level they play,
// and the check they make after each timed pass sees a game that left play.
#include "support/LevelGame.h"

#include "core/Random.h"
#include "field/Ball.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const int kBalls = 10;

// The levels the play benchmarks play: the first, Falling Gold and the busiest that ships.
std::vector<std::string> BenchmarkLevels()
{
    std::vector<std::string> shipped;
    for (const std::string& file : bbtest::LoadGameLevels()) {
        const std::string name = file.substr(0, file.size() - 4);
        if (name.rfind("Test", 0) != 0)
            shipped.push_back(name);
    }
    return {"Welcome", "FallingGold", benchgame::LevelGame::Busiest(shipped)};
}

} // namespace

TEST(LevelGame, TheBenchmarksLevelsComeIntoPlayWithTenBallsAndStayThere)
{
    bbtest::OpenGameResources();
    for (const std::string& level : BenchmarkLevels()) {
        SCOPED_TRACE(level);
        MakoSrand(7);
        benchgame::LevelGame game(level);
        game.Load();
        ASSERT_EQ("", game.Serve(kBalls, nullptr));
        EXPECT_EQ(kBalls, game.GetLogic()->CountBallsInPlay());
        // Play goes on: the passes a benchmark times begin here.
        for (int pass = 0; pass < 20; ++pass)
            game.Pass(nullptr);
        EXPECT_EQ("", game.PlayMistake(game.GetLogic()->CountBallsInPlay()));
    }
}

TEST(LevelGame, TheCheckOfPlaySeesALostBallAShatteredPaddleAndAnotherState)
{
    bbtest::OpenGameResources();
    bbtest::LoadGameLevels();
    MakoSrand(7);
    benchgame::LevelGame game("FallingGold");
    EXPECT_EQ("no game was loaded", game.PlayMistake(kBalls));
    game.Load();
    ASSERT_EQ("", game.Serve(kBalls, nullptr));
    ArcadeGameLogic* logic = game.GetLogic();

    EXPECT_EQ("10 balls are in play, not 11", game.PlayMistake(kBalls + 1));
    Ball* ball = dynamic_cast<Ball*>(logic->GetBalls().GetMembers().back());
    ASSERT_NE(nullptr, ball);
    ball->Kill();
    EXPECT_EQ("9 balls are in play, not 10", game.PlayMistake(kBalls));

    const std::vector<Paddle*> paddles = logic->GetPaddles();
    ASSERT_FALSE(paddles.empty());
    const std::string count = std::to_string(paddles.size());
    // A ball still on the paddle goes with it.
    paddles.front()->Shatter();
    EXPECT_EQ(std::to_string(paddles.size() - 1) + " of the serve's " + count +
                  " paddles are whole",
              game.PlayMistake(logic->CountBallsInPlay()));

    logic->SetState("PausedPlaying");
    EXPECT_EQ("the game is in the state \"PausedPlaying\", not \"Playing\"",
              game.PlayMistake(logic->CountBallsInPlay()));
}

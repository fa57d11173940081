// The first levels can be won: their compiled bricks, laid on the grid of the field with
// the game's walls, a paddle at the default start and its served ball, are cleared by the
// headless autoplay with the balls a player starts with.
#include "Autoplay.h"
#include "FieldScene.h"

#include "core/Random.h"
#include "field/Brick.h"
#include "field/Wall.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace fieldtest;

namespace {

struct Outcome
{
    size_t bricksLeft = 0;
    int served = 0;
    int ticks = 0;
};

// Plays the named level's bricks until they are gone, the balls run out or the time does.
// Bricks that never break (negative strength) are left out.
Outcome PlayLevelBricks(const std::string& name, int balls, int maxTicks)
{
    bbtest::LoadGameLevels();
    MakoSrand(11);
    FieldRoot* root = new FieldRoot();
    bbtest::PassHarness passes{root, 640, 480};
    RecordingLogic logic;
    root->logic = &logic;
    logic.SetField(root, &root->world);
    gBallSpeed = BallSpeedLimits();

    for (const char* wall : {"LeftWall", "RightWall", "TopWall", "BottomWallDangerous"})
        root->Place(new Wall(wall));
    ActorGroup bricks; // broken bricks leave it
    const LuaPlus::LuaObject list = bbtest::EvalLua("Levels." + name + ".compiledBricks");
    for (int i = 1; list[i].IsTable(); ++i) {
        const LuaPlus::LuaObject entry = list[i];
        Brick* brick = Brick::CreateFromEntry(entry, name + " brick " + std::to_string(i));
        brick->SetPosition(16 + (entry["position"][1].GetInteger() - 1) * 32,
                           36 + (entry["position"][2].GetInteger() - 1) * 16);
        root->Place(brick);
        if (brick->GetStrength() >= 0)
            bricks.Add(brick);
    }
    Paddle* paddle = root->Place(new Paddle());
    paddle->SetPosition(288, 416);

    Autoplay player(paddle);
    Outcome outcome;
    std::vector<Ball*> inPlay;
    while (!bricks.GetMembers().empty() && outcome.ticks < maxTicks && outcome.served <= balls) {
        inPlay.clear();
        for (Actor* member : logic.balls.GetMembers())
            inPlay.push_back(static_cast<Ball*>(member));
        if (inPlay.empty()) {
            Ball* ball = new Ball(paddle);
            logic.AddBall(ball);
            inPlay.push_back(ball);
            ++outcome.served;
        }
        player.Play(inPlay);
        passes.Step();
        ++outcome.ticks;
    }
    outcome.bricksLeft = bricks.GetMembers().size();
    passes.SetRoot(nullptr);
    delete root;
    return outcome;
}

} // namespace

// Each with the three balls a game starts with; the three differ in what they ask of the
// ball: soft rows, big crates over stone, metal bars with breakable undersides.
TEST(LevelPlay, WelcomeIsClearedWithThreeBalls)
{
    const Outcome outcome = PlayLevelBricks("Welcome", 3, 30000);
    EXPECT_EQ(0u, outcome.bricksLeft)
        << "after " << outcome.ticks << " ticks and " << outcome.served << " balls";
}

TEST(LevelPlay, CratesIsClearedWithThreeBalls)
{
    const Outcome outcome = PlayLevelBricks("Crates", 3, 30000);
    EXPECT_EQ(0u, outcome.bricksLeft)
        << "after " << outcome.ticks << " ticks and " << outcome.served << " balls";
}

TEST(LevelPlay, ScreamForHelpIsClearedWithThreeBalls)
{
    const Outcome outcome = PlayLevelBricks("ScreamForHelp", 3, 30000);
    EXPECT_EQ(0u, outcome.bricksLeft)
        << "after " << outcome.ticks << " ticks and " << outcome.served << " balls";
}

// Every written level played to its end by the game controller, with a headless player
// that gives the controller only what a player's mouse gives the game screen: relative
// pointer motion and left-button presses and releases. The controller turns them into the
// paddles' events, as in the game. A second player never moves the paddle and loses
// every ball.
#include "GameFixture.h"

#include "core/Random.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/Goober.h"
#include "field/Paddle.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "physics/PhysicsBody.h"
#include "support/engine/AutoPlayer.h"
#include "support/engine/FieldWatch.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

using gametest::GameFixture;

namespace {

// States in which the level has been won.
const std::set<std::string> kWon = {"LevelCompleted", "ShowEndLevelDialog", "ShowArtifactDialog",
                                    "AdvanceLevel", "LevelsGameTypeCompleted"};
// States in which the game has been lost.
const std::set<std::string> kLost = {"GameOver", "ShowGameOverDialog", "LevelsGameTypeOver"};

class GameAutoplayTest : public GameFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        bbtest::LoadGameLevels();
    }

    void StartLevel(const std::string& name, int balls)
    {
        m_Watch = bbtest::FieldWatch(name, 7);
        MakoSrand(7);
        NewGame("{gameType = 'Levels', levelName = '" + name +
                "', ballsLeft = " + std::to_string(balls) + "}");
        logic->StartGame();
        ASSERT_NE(logic->GetLevel(), nullptr) << name;
    }

    // Where the required bricks that are left stand, and how strong they are.
    std::string RequiredBricks()
    {
        std::string text;
        for (Actor* actor : logic->GetBricks().GetMembers())
            if (Brick* brick = dynamic_cast<Brick*>(actor); brick && brick->IsNecessary())
                text += " [" + brick->GetName() + " at " + std::to_string(brick->GetX()) + "," +
                        std::to_string(brick->GetY()) + " strength " +
                        std::to_string(brick->GetStrength()) + "]";
        return text;
    }

    // Where the balls are, how they move and what holds them.
    std::string Balls()
    {
        std::string text;
        for (Actor* actor : logic->GetBalls().GetMembers())
            if (Ball* ball = dynamic_cast<Ball*>(actor); ball && ball->GetPhysicsBody()) {
                const Vector2D v = ball->GetPhysicsBody()->GetLinearVel();
                text += " [at " + std::to_string(ball->GetX()) + "," +
                        std::to_string(ball->GetY()) + " moving " + std::to_string(int(v.x)) + "," +
                        std::to_string(int(v.y)) + (ball->GetPaddle() ? " held" : "") +
                        (ball->IsActive() ? "" : " inactive") + "]";
            }
        return text;
    }

    // Plays until the level is won or lost or the limit is reached; the passes played.
    // Nothing here looks at pixels, so the passes do not draw. A ball that leaves the
    // field or a level that stops moving on fails the test and ends the game (FieldWatch).
    int PlayToTheEnd(bool movePaddle, int limit)
    {
        passes.SetDrawing(false);
        int n = 0;
        for (; n < limit; ++n) {
            const std::string state = State();
            if (kWon.count(state) || kLost.count(state))
                break;
            if (state == "AllBallsLost")
                m_SawAllBallsLost = true;
            m_Player.PlayOnePass(logic, movePaddle);
            passes.Step();
            if (m_Watch.Check(logic, n)) {
                ADD_FAILURE() << m_Watch.Describe();
                break;
            }
        }
        return n;
    }

    LevelManager m_Manager;
    bbtest::FieldWatch m_Watch{"", 7};
    bbtest::AutoPlayer m_Player;
    bool m_SawAllBallsLost = false;
};

// Each written level, played by a player who follows the ball. The passes each took when
// this was written (seed 7) are printed; the limit is about 16 minutes of play.
class WrittenLevelTest : public GameAutoplayTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(WrittenLevelTest, IsWonByAPlayerWhoFollowsTheBall)
{
    const char* name = GetParam();
    StartLevel(name, 9);
    const int played = PlayToTheEnd(true, 30000);
    EXPECT_TRUE(kWon.count(State()))
        << name << " ended in " << State() << " after " << played << " passes, "
        << logic->CountRequiredBricks() << " required bricks left:" << RequiredBricks()
        << "; balls:" << Balls();
    std::printf("%s: won after %d passes with %d balls left\n", name, played,
                logic->GetBallsLeft());
    RecordProperty("passes", played);
}

INSTANTIATE_TEST_SUITE_P(GameLevels, WrittenLevelTest,
                         ::testing::Values("Welcome", "Crates", "FallingGold", "LottaLoot",
                                           "ScreamForHelp", "TestBricks", "TestStarts", "Bonus1",
                                           "Bonus2"));

// The bombs the dragon's head drops fall through the bricks to the paddle's line while the
// level is played.
TEST_F(GameAutoplayTest, ADragonsBombFallsToThePaddlesLine)
{
    StartLevel("Dragon", 9);
    // The paddle's top, once the paddle is on the field.
    int line = 1000, lowest = 0;
    for (int n = 0; n < 20000 && lowest < line; ++n) {
        const std::string state = State();
        if (kWon.count(state) || kLost.count(state))
            break;
        m_Player.PlayOnePass(logic, true);
        passes.Step();
        if (line == 1000 && !logic->GetPaddles().empty())
            line = logic->GetPaddles().front()->GetY();
        for (Actor* actor : logic->GetGoobers().GetMembers())
            if (auto* bomb = dynamic_cast<Goober*>(actor);
                bomb && !bomb->IsDead() && bomb->GetImageName() == "Bomb.png")
                lowest = std::max(lowest, bomb->GetY() + bomb->GetHeight());
    }
    EXPECT_GE(lowest, line) << "the lowest a bomb came; the paddle's top is at " << line;
}

TEST_F(GameAutoplayTest, APlayerWhoNeverMovesLosesEveryBallAndTheGame)
{
    // The ball drops at the left of the field, the paddle waits in the middle and is never
    // moved: every ball served falls into the lava.
    bbtest::EvalLua(R"(rawset(Levels, "Unguarded", {
        fullName = "Unguarded", music = "Harbour.mid",
        compiledBricks = { { resource = "RedBrick", position = { 10, 3 } } },
        paddleStarts = { { position = { 288, 416 } } },
        ballStarts = { { position = { 100, 200 }, velocity = { 0, 150 } } } }))");
    StartLevel("Unguarded", 2);
    PlayToTheEnd(false, 5000);
    EXPECT_TRUE(m_SawAllBallsLost);
    EXPECT_TRUE(kLost.count(State())) << State();
    EXPECT_EQ(logic->GetBallsLeft(), 0);
}

// Score that keeps coming and damage that heals are no steps towards the level's end: the
// watch calls a game that only has those stalled, and one whose bricks lose strength not.
TEST_F(GameAutoplayTest, TheWatchSeesAStallThatScoreAndHealingDamageWouldHide)
{
    bbtest::EvalLua(R"(rawset(Levels, "Stuck", {
        fullName = "Stuck", music = "Harbour.mid",
        compiledBricks = { { resource = "StoneBrick", position = { 10, 3 } },
                           { resource = "StoneBrick", position = { 12, 3 } } } }))");
    StartLevel("Stuck", 2);
    std::vector<Brick*> bricks;
    for (Actor* actor : logic->GetBricks().GetMembers())
        if (Brick* brick = dynamic_cast<Brick*>(actor))
            bricks.push_back(brick);
    ASSERT_EQ(2u, bricks.size());
    // A stone brick takes two knocks: one knock on the second brick, at pass 60, is the only
    // step towards the end; the first brick's knock heals every 20 passes.
    bbtest::FieldWatch watch("Stuck", 7, 100);
    int flagged = -1;
    for (int pass = 0; pass < 200 && flagged < 0; ++pass) {
        logic->AddScore(10);
        bricks[0]->SetDamage(pass % 20 < 10 ? 1 : 0, nullptr, logic, 0, 0);
        if (pass == 60)
            bricks[1]->SetDamage(1, nullptr, logic, 0, 0);
        if (watch.Check(logic, pass))
            flagged = pass;
    }
    EXPECT_EQ(160, flagged) << watch.Describe();
    EXPECT_EQ(bbtest::FieldWatch::STALL, watch.GetFault());
    EXPECT_NE(std::string::npos, watch.Describe().find("since pass 60")) << watch.Describe();
}

} // namespace

// The mountains, the capital and the ice: the second to fourth episodes.
INSTANTIATE_TEST_SUITE_P(Episodes2to4, WrittenLevelTest,
                         ::testing::Values("Condor", "Terraces", "CloudForest", "Altiplano",
                                           "SunGate", "Cherries", "Monument", "Rotunda",
                                           "ReflectingPool", "Archives", "ThinIce", "Geyser",
                                           "Crevasse", "AuroraNight", "Fjord"));
INSTANTIATE_TEST_SUITE_P(Episodes5to7, WrittenLevelTest,
                         ::testing::Values("Vineyard", "Lavender", "Chateau", "Gargoyles",
                                           "Catacombs", "Oasis", "Dunes", "Mirage", "Sandstorm",
                                           "BuriedCity", "Baobabs", "Lemurs", "Chameleon", "Spiny",
                                           "RedIsland"));
INSTANTIATE_TEST_SUITE_P(Episodes8to10, WrittenLevelTest,
                         ::testing::Values("Lanterns", "Terracotta", "Bamboo", "Dragon",
                                           "GreatWall", "Taiga", "Permafrost", "Tundra", "Reindeer",
                                           "LongRail", "Eucalyptus", "Wombat", "Devil", "Overland",
                                           "Wilderness", "EndOfTheWorld"));
// The lab's experiments.
INSTANTIATE_TEST_SUITE_P(Lab, WrittenLevelTest,
                         ::testing::Values("Bonus3", "Bonus4", "Bonus5", "Bonus6", "Bonus7",
                                           "Bonus8", "Bonus9", "Bonus10"));

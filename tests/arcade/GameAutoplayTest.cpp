// Every written level played to its end by the game controller, with a headless player
// that gives the controller only what a player's mouse gives the game screen: relative
// pointer motion and left-button presses and releases. The controller turns them into the
// paddles' events, as in the game. A second player never moves the paddle and loses
// every ball.
#include "GameFixture.h"

#include "autoplay/AutoPlayer.h"
#include "autoplay/FieldWatch.h"
#include "autoplay/GameOutcome.h"
#include "autoplay/PlayProgress.h"
#include "core/Random.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/Goober.h"
#include "field/Paddle.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "physics/PhysicsBody.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using gametest::GameFixture;

namespace {

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
        m_Watch = autoplay::FieldWatch(name, 7);
        MakoSrand(7);
        NewGame("{gameType = 'Levels', levelName = '" + name +
                "', ballsLeft = " + std::to_string(balls) + "}");
        logic->StartGame();
        ASSERT_NE(logic->GetLevel(), nullptr) << name;
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
            if (autoplay::OutcomeOfState(state) != autoplay::GAME_IN_PLAY)
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
    autoplay::FieldWatch m_Watch{"", 7};
    autoplay::AutoPlayer m_Player;
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
    EXPECT_EQ(autoplay::GAME_WON, autoplay::OutcomeOfState(State()))
        << name << " ended in " << State() << " after " << played << " passes, "
        << logic->CountRequiredBricks()
        << " required bricks left: " << autoplay::PlayProgress::Remaining(logic, 20)
        << "; balls:" << Balls();
    std::printf("%s: won after %d passes with %d balls left, %d put-backs (deepest %.1f px), "
                "%d escapes\n",
                name, played, logic->GetBallsLeft(), m_Watch.GetPutBacks(),
                m_Watch.GetDeepestPutBack(), m_Watch.GetPutBackEscapes());
    RecordProperty("passes", played);
    RecordProperty("putBacks", m_Watch.GetPutBacks());
}

INSTANTIATE_TEST_SUITE_P(GameLevels, WrittenLevelTest,
                         ::testing::Values("Welcome", "Crates", "FallingGold", "LottaLoot",
                                           "ScreamForHelp", "TestBricks", "TestStarts", "Bonus1",
                                           "Bonus2"));

// The bombs the dragon's head drops fall through the bricks to the paddle's line while the
// level is played (by a player who serves and never moves, so that the level lasts).
TEST_F(GameAutoplayTest, ADragonsBombFallsToThePaddlesLine)
{
    StartLevel("Dragon", 9);
    // The paddle's top, once the paddle is on the field.
    int line = 1000, lowest = 0;
    for (int n = 0; n < 20000 && lowest < line; ++n) {
        if (autoplay::OutcomeOfState(State()) != autoplay::GAME_IN_PLAY)
            break;
        m_Player.PlayOnePass(logic, false);
        passes.Step();
        if (line == 1000 && !logic->GetPaddles().empty())
            line = logic->GetPaddles().front()->GetY();
        for (Actor* actor : logic->GetGoobers().GetMembers())
            if (auto* bomb = dynamic_cast<Goober*>(actor);
                bomb && !bomb->IsDead() && bomb->GetImageName() == "Bomb.png")
                lowest = std::max(lowest, bomb->GetY() + bomb->GetHeight());
    }
    EXPECT_GE(lowest, line) << "the lowest a bomb came; the paddle's top is at " << line
                            << "; the game: " << State();
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
    EXPECT_EQ(autoplay::GAME_LOST, autoplay::OutcomeOfState(State())) << State();
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
    autoplay::FieldWatch watch("Stuck", 7, 100);
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
    EXPECT_EQ(autoplay::FieldWatch::STALL, watch.GetFault());
    EXPECT_NE(std::string::npos, watch.Describe().find("since pass 60")) << watch.Describe();
    // It names what is left to break, whatever strength the bricks have.
    bricks[0]->ApplyIntProperty("strength", -1);
    autoplay::FieldWatch plates("Stuck", 7, 10);
    for (int pass = 0; pass < 20 && !plates.Check(logic, pass); ++pass)
        ;
    EXPECT_NE(std::string::npos,
              plates.Describe().find("left to break: Brick at (" +
                                     std::to_string(bricks[0]->GetX()) + ", " +
                                     std::to_string(bricks[0]->GetY()) + ") strength -1"))
        << plates.Describe();
}

// The level's last plate gives way only from its left face, the way the plates of the
// obelisk and the vault do; metal covers its other faces, and a wall of metal hides it from
// all but steep strokes. A stroke that happens to strike it there is rare: the level stops
// moving on until the player, grown restless, aims at the open face.
TEST_F(GameAutoplayTest, ARestlessPlayerAimsAtAPlatesOneOpenFace)
{
    // A wall of metal at the left hides the open face from all but steep strokes.
    std::string bricks;
    for (int row = 1; row <= 6; ++row)
        bricks += "{ resource = 'MetalBrick', position = { 8, " + std::to_string(row) + " } }, ";
    bbtest::EvalLua(R"(rawset(Levels, "Keyhole", {
        fullName = "Keyhole", music = "Harbour.mid",
        compiledBricks = { )" +
                    bricks + R"(
            { resource = "MetalBrick", position = { 10, 4 } },
            { resource = "MetalBrick", position = { 11, 4 } },
            { resource = "MetalBrick", position = { 10, 5 }, weakEdges = { left = true },
              necessary = true },
            { resource = "MetalBrick", position = { 11, 5 } },
            { resource = "MetalBrick", position = { 10, 6 } },
            { resource = "MetalBrick", position = { 11, 6 } } } }))");
    StartLevel("Keyhole", 9);
    const int played = PlayToTheEnd(true, 20000);
    EXPECT_EQ(autoplay::GAME_WON, autoplay::OutcomeOfState(State()))
        << "after " << played << " passes: " << autoplay::PlayProgress::Remaining(logic);
    // About half a minute of aiming once the player has grown restless.
    EXPECT_LT(m_Watch.GetLongestStill(), autoplay::AutoPlayer::kRestlessPasses + 1000)
        << "won after " << played << " passes";
}

// A ball that leaves the field is put back at the wall's face before the watch looks; the
// put-back shows where it was, and counts as an escape.
TEST_F(GameAutoplayTest, TheWatchSeesABallPutBackFromOutsideTheField)
{
    StartLevel("Welcome", 9);
    passes.SetDrawing(false);
    Ball* free = nullptr;
    int pass = 0;
    for (; pass < 3000 && !free; ++pass) {
        m_Player.PlayOnePass(logic, true);
        passes.Step();
        ASSERT_FALSE(m_Watch.Check(logic, pass)) << m_Watch.Describe();
        for (Actor* actor : logic->GetBalls().GetMembers())
            if (Ball* ball = dynamic_cast<Ball*>(actor);
                pass > 200 && ball && !ball->GetPaddle() && ball->GetPhysicsBody())
                free = ball;
    }
    ASSERT_NE(nullptr, free) << "no ball in play";
    free->GetPhysicsBody()->SetPosition(-100, 200);
    passes.Step();
    EXPECT_TRUE(m_Watch.Check(logic, pass));
    EXPECT_EQ(autoplay::FieldWatch::ESCAPE, m_Watch.GetFault());
    // Where the pass's own motion took it from (-100, 200), outside the field.
    const std::string text = m_Watch.Describe();
    const std::size_t at = text.find("escape: a ball at (");
    ASSERT_NE(std::string::npos, at) << text;
    EXPECT_NEAR(-100.0, std::stod(text.substr(at + 19)), 10.0) << text;
    EXPECT_NE(std::string::npos, text.find("outside the field, put back")) << text;
    EXPECT_EQ(1, m_Watch.GetPutBackEscapes());
    EXPECT_GT(m_Watch.GetDeepestPutBack(), 100.0);
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

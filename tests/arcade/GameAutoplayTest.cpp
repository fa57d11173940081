// Every written level played to its end by the game controller, with a headless player
// that gives the controller only what a player's mouse gives the game screen: relative
// pointer motion and left-button presses and releases. The controller turns them into the
// paddles' events, as in the game. A second player never moves the paddle and loses
// every ball.
#include "GameFixture.h"

#include "core/Random.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/Paddle.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
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
        MakoSrand(7);
        NewGame("{gameType = 'Levels', levelName = '" + name +
                "', ballsLeft = " + std::to_string(balls) + "}");
        logic->StartGame();
        ASSERT_NE(logic->GetLevel(), nullptr) << name;
    }

    // A mouse motion as SDL delivers it, handed to the controller as the game screen does.
    void Move(int dx, int dy)
    {
        if (dx == 0 && dy == 0)
            return;
        Event event{};
        event.motion.type = SDL_MOUSEMOTION;
        event.motion.xrel = static_cast<Sint16>(dx);
        event.motion.yrel = static_cast<Sint16>(dy);
        logic->OnEvent(event);
    }

    // One pass of play: serve when a ball waits (press, hold a few passes, release) and
    // move the pointer so that the paddles meet the ball that is nearest to getting past
    // them, a little off their centres (a new offset after every stroke).
    void PlayOnePass(bool movePaddle)
    {
        const std::string state = State();
        std::vector<Ball*> balls;
        bool held = false;
        for (Actor* actor : logic->GetBalls().GetMembers())
            if (Ball* ball = dynamic_cast<Ball*>(actor)) {
                balls.push_back(ball);
                held = held || ball->GetPaddle() != nullptr;
            }
        if (state == "WaitForSpawn" || held || m_ButtonDown) {
            if (!m_ButtonDown && ++m_WaitTicks > 30) {
                Click(true);
                m_ButtonDown = true;
                m_PressTicks = 0;
            } else if (m_ButtonDown && ++m_PressTicks == 6) {
                Click(false);
                m_ButtonDown = false;
                m_WaitTicks = 0;
            }
        }
        if (!movePaddle || balls.empty())
            return;
        int dx = 0, dy = 0;
        for (Paddle* paddle : logic->GetPaddles()) {
            const bool vertical = paddle->IsVertical();
            Ball* target = Nearest(balls, paddle, vertical);
            if (!target)
                continue;
            const int along = (vertical ? CentreY(target) : CentreX(target)) + m_Offset;
            const int centre = vertical ? paddle->GetY() + paddle->GetHeight() / 2
                                        : paddle->GetX() + paddle->GetWidth() / 2;
            const int move = std::clamp(along - centre, -48, 48);
            int& axis = vertical ? dy : dx;
            if (axis == 0)
                axis = move;
        }
        const double y = CentreY(balls.front());
        if (y < m_LastY - 0.5 && !m_Rising)
            m_Offset = (MakoRand() % 33) - 16; // the ball turned upwards: a new stroke
        m_Rising = y < m_LastY - 0.5;
        m_LastY = y;
        Move(dx, dy);
    }

    static int CentreX(const Actor* a) { return a->GetX() + a->GetWidth() / 2; }
    static int CentreY(const Actor* a) { return a->GetY() + a->GetHeight() / 2; }

    // The ball nearest to the paddle's line among those in play.
    static Ball* Nearest(const std::vector<Ball*>& balls, Paddle* paddle, bool vertical)
    {
        Ball* best = nullptr;
        double bestDistance = 1e9;
        const double line = vertical ? paddle->GetX() + paddle->GetWidth() / 2.0
                                     : paddle->GetY() + paddle->GetHeight() / 2.0;
        for (Ball* ball : balls) {
            const double distance = std::fabs((vertical ? CentreX(ball) : CentreY(ball)) - line);
            if (distance < bestDistance) {
                best = ball;
                bestDistance = distance;
            }
        }
        return best;
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

    // Plays until the level is won or lost or the limit is reached; the passes played.
    int PlayToTheEnd(bool movePaddle, int limit)
    {
        int n = 0;
        for (; n < limit; ++n) {
            const std::string state = State();
            if (kWon.count(state) || kLost.count(state))
                break;
            if (state == "AllBallsLost")
                m_SawAllBallsLost = true;
            PlayOnePass(movePaddle);
            passes.Step();
        }
        return n;
    }

    LevelManager m_Manager;
    bool m_ButtonDown = false;
    int m_PressTicks = 0, m_WaitTicks = 0;
    int m_Offset = 0;
    double m_LastY = 0;
    bool m_Rising = false;
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
        << logic->CountRequiredBricks() << " required bricks left:" << RequiredBricks();
    std::printf("%s: won after %d passes with %d balls left\n", name, played,
                logic->GetBallsLeft());
    RecordProperty("passes", played);
}

INSTANTIATE_TEST_SUITE_P(GameLevels, WrittenLevelTest,
                         ::testing::Values("Welcome", "Crates", "FallingGold", "LottaLoot",
                                           "ScreamForHelp", "TestBricks", "TestStarts", "Bonus1",
                                           "Bonus2"));

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

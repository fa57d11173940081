// Every level must end however its ball flies. A ball can find a path that never brings the
// level nearer its end and never comes down to the paddle, such as a pull that holds it
// against bricks that never break. The sweep builds fields that hold a ball so (a metal
// ceiling; every written level's own unbreakable bricks) with pulls of several strengths and
// headings and balls served with seeds of their own, and plays each game with the headless
// player, which gives the controller only what a player's mouse gives the game screen. The
// watch is the test's own: a game fails when neither a paddle touch, nor a brick giving way,
// nor a ball lost has moved it on for kStillLimit passes, far longer than the game lets such
// a path last.
#include "GameFixture.h"

#include "autoplay/AutoPlayer.h"
#include "autoplay/GameOutcome.h"
#include "core/Random.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/Paddle.h"
#include "logic/LevelManager.h"
#include "logic/PlayProgress.h"
#include "logic/StallRule.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using gametest::GameFixture;

namespace {

// Many thousand passes: far past the game's own limit for a path that goes nowhere.
const int kStillLimit = 3 * StallRule::kStillPasses;

class StallSweepTest : public GameFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        LevelFiles() = bbtest::LoadGameLevels();
    }
    // The written levels' files, as the pack holds them.
    static std::vector<std::string>& LevelFiles()
    {
        static std::vector<std::string> files;
        return files;
    }

    // A game of its own on a fresh screen and play layer, as the game screen builds them,
    // so nothing of the game before is found on the field.
    void FreshScreen()
    {
        EndGame();
        passes.Step();
        passes.SetRoot(nullptr);
        delete screen;
        screen = new Screen("StallSweepScreen", "", nullptr);
        layer = new gametest::FieldLayer();
        screen->AddChild(layer, "PlayLayer");
        passes.SetRoot(screen);
    }

    void StartLevel(const std::string& name, unsigned seed)
    {
        FreshScreen();
        MakoSrand(seed);
        m_Player.Reset();
        NewGame("{gameType = 'Levels', levelName = '" + name + "', ballsLeft = 9}");
        logic->StartGame();
        passes.SetDrawing(false);
    }

    // Whether a ball touched a paddle in the pass just played, or a paddle holds one.
    bool PaddleTouched()
    {
        for (Actor* actor : logic->GetBalls().GetMembers())
            if (const Ball* ball = dynamic_cast<const Ball*>(actor);
                ball && !ball->IsDead() && (ball->GetPaddle() || ball->m_TicksSincePaddleHit <= 1))
                return true;
        return false;
    }

    // Plays until the game is won or lost or `limit` passes; the longest stretch of play in
    // which the level did not move on (no paddle touch, no brick's strength below its
    // least, no ball lost or won, no other state). Stops at the first stretch of
    // kStillLimit passes.
    int LongestStill(int limit, int& played)
    {
        PlayProgress best;
        int since = 0, longest = 0;
        for (played = 0; played < limit; ++played) {
            if (autoplay::OutcomeOfState(State()) != autoplay::GAME_IN_PLAY)
                break;
            m_Player.PlayOnePass(logic, true);
            passes.Step();
            const PlayProgress now = PlayProgress::Measure(logic);
            if (played == 0 || now.NewStretchAfter(best) || now.NearerThan(best) ||
                PaddleTouched()) {
                best = now;
                since = 0;
                continue;
            }
            longest = std::max(longest, ++since);
            if (since >= kStillLimit)
                break;
        }
        return longest;
    }

    // Where the balls are and how they move.
    std::string Balls()
    {
        std::string text;
        for (Actor* actor : logic->GetBalls().GetMembers())
            if (Ball* b = dynamic_cast<Ball*>(actor); b && b->GetPhysicsBody() && b->GetGeom()) {
                const Point<double> c = b->GetGeom()->GetCenter();
                const Vector2D v = b->GetPhysicsBody()->GetLinearVel();
                char line[120];
                std::snprintf(line, sizeof line, " a ball at (%.2f, %.2f) moving (%.1f, %.1f)", c.x,
                              c.y, v.x, v.y);
                text += line;
            }
        return text;
    }

    // The level manager the controller finds the levels through.
    LevelManager m_Manager;
    autoplay::AutoPlayer m_Player;
};

// A ceiling of metal across the field and a pull towards it: the ball served into it is
// held there, striking metal for ever, and the one brick the level needs stands low at the
// side. The pull lets go only of a ball adrift, and a ball striking bricks, breakable or
// not, never was; the game must turn it loose. Pulls straight up and slanted, weak and
// strong, each with two seeds.
TEST_F(StallSweepTest, APullThatHoldsTheBallAgainstMetalLetsGo)
{
    std::string ceiling;
    for (int column = 1; column <= 19; ++column)
        ceiling +=
            "{ resource = 'MetalBrick', position = { " + std::to_string(column) + ", 2 } }, ";
    const char* pulls[] = {"strength = 60, direction = { 0, -1 }",
                           "strength = 400, direction = { 0, -1 }",
                           "strength = 150, direction = { 1, -2 }"};
    for (const char* pull : pulls)
        for (unsigned seed = 1; seed <= 2; ++seed) {
            bbtest::EvalLua(std::string(R"(rawset(Levels, "Updraft", {
                fullName = "Updraft", music = "Harbour.mid",
                gravity = { )") +
                            pull + R"( },
                compiledBricks = { )" +
                            ceiling + R"(
                    { resource = "RedBrick", position = { 1, 16 }, necessary = true } } }))");
            StartLevel("Updraft", seed);
            int played = 0;
            const int longest = LongestStill(2 * kStillLimit, played);
            EXPECT_LT(longest, kStillLimit)
                << "gravity { " << pull << " }, seed " << seed << ": no progress for " << longest
                << " passes after " << played << " passes;" << Balls()
                << "; left to break: " << PlayProgress::Remaining(logic);
            std::printf("gravity { %s }, seed %u: %d passes, longest stretch without progress "
                        "%d, %s\n",
                        pull, seed, played, longest, State().c_str());
        }
}

// The rule's three promises to the player, each seen in a game of its own: a ball resting on
// the paddle is play (the rule counts no pass), a level that comes nearer its end lets its
// astray balls go, and an astray ball leaves the paddle as any ball does, so a stroke the
// player aims is never turned.
class StallRuleGame : public StallSweepTest
{
protected:
    void StartRows(unsigned seed)
    {
        bbtest::EvalLua(R"(rawset(Levels, "StallRows", {
            fullName = "Rows", music = "Harbour.mid",
            compiledBricks = { { resource = "MetalBrick", position = { 2, 4 } },
                               { resource = "RedBrick", position = { 6, 4 }, necessary = true },
                               { resource = "RedBrick", position = { 14, 4 }, necessary = true } } }))");
        StartLevel("StallRows", seed);
    }

    // Serves with the player; the first free ball.
    Ball* Serve()
    {
        for (int n = 0; n < 600; ++n) {
            for (Actor* actor : logic->GetBalls().GetMembers())
                if (Ball* ball = dynamic_cast<Ball*>(actor);
                    ball && !ball->IsDead() && !ball->GetPaddle() && ball->GetPhysicsBody())
                    return ball;
            m_Player.PlayOnePass(logic, true);
            passes.Step();
        }
        return nullptr;
    }
};

TEST_F(StallRuleGame, ABallRestingOnThePaddleIsPlayForTheStallRule)
{
    StartRows(3);
    Ball* ball = Serve();
    ASSERT_NE(nullptr, ball);
    ASSERT_FALSE(logic->GetPaddles().empty());
    // The paddle catches the ball and nobody lets it go: it rests there, in play, for
    // longer than the rule waits.
    ball->AttachToPaddle(logic->GetPaddles().front(), false);
    ball->PlaceOnPaddle();
    for (int n = 0; n < StallRule::kStillPasses + 100; ++n) {
        passes.Step();
        ASSERT_EQ(logic->GetPaddles().front(), ball->GetPaddle()) << "pass " << n;
    }
    ASSERT_EQ("Playing", State());
    EXPECT_EQ(0, logic->GetStallRule().GetStillPasses());
    EXPECT_EQ(0.0, ball->GetAstray());
}

TEST_F(StallRuleGame, ABrickGivingWayLetsTheStallRulesAstrayBallsGo)
{
    StartRows(4);
    Ball* ball = Serve();
    ASSERT_NE(nullptr, ball);
    // A rule of the test's own, over a field that stands still: no paddle touch, no brick.
    StallRule rule;
    for (int n = 0; n <= StallRule::kStillPasses; ++n) {
        ball->m_TicksSincePaddleHit = 1000;
        rule.Update(logic);
    }
    ASSERT_GT(ball->GetAstray(), 0.0);
    Brick* brick = nullptr;
    for (Actor* actor : logic->GetBricks().GetMembers())
        if (Brick* b = dynamic_cast<Brick*>(actor); b && !b->IsDead() && b->IsNecessary())
            brick = b;
    ASSERT_NE(nullptr, brick);
    brick->Kill();
    rule.Update(logic);
    EXPECT_EQ(0, rule.GetStillPasses());
    EXPECT_EQ(0.0, ball->GetAstray());
}

TEST_F(StallRuleGame, AnAstrayBallLeavesThePaddleAsAnyBallDoesDespiteTheStallRule)
{
    // The same stroke twice, with the same seed: the ball falls onto the paddle's face a
    // little off its centre, once astray and once not.
    Vector2D after[2];
    for (int astray = 0; astray < 2; ++astray) {
        StartRows(5);
        Ball* ball = Serve();
        ASSERT_NE(nullptr, ball);
        ASSERT_FALSE(logic->GetPaddles().empty());
        const Paddle* paddle = logic->GetPaddles().front();
        const Point<double> face = paddle->GetGeom()->GetCenter();
        MakoSrand(11);
        ball->GetPhysicsBody()->SetPosition(face.x + 9.0, face.y - 40.0);
        ball->GetPhysicsBody()->SetLinearVel(0.0, 250.0);
        ball->SetAstray(astray ? StallRule::kMostTurn : 0.0);
        ball->m_TicksSincePaddleHit = 1000;
        int n = 0;
        for (; n < 100 && ball->m_TicksSincePaddleHit > 1; ++n)
            passes.Step();
        ASSERT_LT(n, 100) << "the ball never reached the paddle";
        after[astray] = ball->GetPhysicsBody()->GetLinearVel();
    }
    EXPECT_NEAR(after[0].x, after[1].x, 1e-6);
    EXPECT_NEAR(after[0].y, after[1].y, 1e-6);
}

// Every written level under a strong pull towards its top, with the bricks that can break
// gone but for the lowest the level needs: whatever of the level never breaks (metal, towers'
// roofs) is all that is left to strike, and a ball the pull holds against it would never
// come down. Each level that has such bricks is played with a seed of its own.
class StallSweepLevels : public StallSweepTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(StallSweepLevels, APullTowardsALevelsMetalLetsGo)
{
    const std::vector<std::string>& files = LevelFiles();
    const int part = GetParam();
    int played = 0;
    for (std::size_t i = part; i < files.size(); i += 4) {
        const std::string level = files[i].substr(0, files[i].rfind('.'));
        const std::string table = "Levels['" + level + "']";
        bbtest::EvalLua("(function() __StallSaved = " + table + ".gravity " + table +
                        ".gravity = { strength = 400, direction = { 0, -1 } } return 1 end)()");
        StartLevel(level, 100 + unsigned(i));
        // Serve, then leave the lowest brick the level needs and what never breaks.
        for (int n = 0; n < 600 && State() != "Playing"; ++n) {
            m_Player.PlayOnePass(logic, true);
            passes.Step();
        }
        std::vector<Brick*> breakable;
        Brick* kept = nullptr;
        bool metal = false;
        for (Actor* actor : logic->GetBricks().GetMembers())
            if (Brick* brick = dynamic_cast<Brick*>(actor); brick && !brick->IsDead()) {
                if (!brick->CanBreak()) {
                    metal = true;
                    continue;
                }
                breakable.push_back(brick);
                if (brick->IsNecessary() && (!kept || brick->GetY() > kept->GetY()))
                    kept = brick;
            }
        if (metal && kept) {
            for (Brick* brick : breakable)
                if (brick != kept)
                    brick->Kill();
            int passesPlayed = 0;
            const int longest = LongestStill(kStillLimit + 500, passesPlayed);
            ++played;
            EXPECT_LT(longest, kStillLimit)
                << level << " seed " << 100 + i << ": no progress for " << longest << " passes;"
                << Balls() << "; left to break: " << PlayProgress::Remaining(logic);
            std::printf("%s seed %zu: %d passes, longest stretch without progress %d, %s\n",
                        level.c_str(), 100 + i, passesPlayed, longest, State().c_str());
        }
        bbtest::EvalLua("(function() " + table +
                        ".gravity = __StallSaved __StallSaved = nil return 1 end)()");
    }
    std::printf("%d levels with bricks that never break played\n", played);
}

INSTANTIATE_TEST_SUITE_P(Quarters, StallSweepLevels, ::testing::Range(0, 4));

} // namespace

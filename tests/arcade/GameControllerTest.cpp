// The game controller's own work: filing what the field hands it, owning its timers, and
// coping with a level that cannot be had.
#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/TimerManager.h"
#include "field/Ball.h"
#include "field/BallSpawnAnimation.h"
#include "field/Brick.h"
#include "field/Powerup.h"
#include "field/Spark.h"
#include "scene/ArcadeEventHandler.h"
#include "screens/EndOfPlayAnimation.h"
#include "screens/Marquee.h"
#include "support/engine/LogCapture.h"
#include "widgets/Label.h"

#include "GameFixture.h"

#include <algorithm>

using gametest::GameFixture;

namespace {

Actor* Make(const std::string& table)
{
    Object* made = ClassManager::GetInstance()->InstantiateObject(bbtest::EvalLua(table));
    Actor* actor = dynamic_cast<Actor*>(made);
    if (!actor)
        delete made;
    return actor;
}

bool Holds(ActorGroup& group, Actor* actor)
{
    return group.Contains(actor);
}

} // namespace

class GameControllerTest : public GameFixture
{
};

TEST_F(GameControllerTest, GroupIdsMakeTheGroupsTheyNeedAndIgnoreIdsOutOfRange)
{
    NewGame();
    Brick* five = new Brick();
    five->SetScriptField("groupID", bbtest::EvalLua("5"));
    logic->AddBrick(five);
    ASSERT_EQ(6u, logic->GetGroupsByID().size());
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_TRUE(logic->GetGroupsByID()[i]->IsEmpty()) << i;
    EXPECT_TRUE(logic->GetGroupsByID()[5]->Contains(five));

    Brick* two = new Brick();
    two->SetScriptField("groupID", bbtest::EvalLua("2"));
    logic->AddBrick(two);
    EXPECT_EQ(6u, logic->GetGroupsByID().size());
    EXPECT_TRUE(logic->GetGroupsByID()[2]->Contains(two));

    // No id, or an id that is not a whole number: in no id group, but on the field.
    Brick* loose = new Brick();
    logic->AddBrick(loose);
    Brick* half = new Brick();
    half->SetScriptField("groupID", bbtest::EvalLua("1.5"));
    logic->AddBrick(half);
    for (const auto& group : logic->GetGroupsByID())
        EXPECT_FALSE(group->Contains(loose) || group->Contains(half));
    EXPECT_TRUE(Holds(logic->GetBricks(), loose));
    EXPECT_EQ(layer, loose->GetParent());

    // An id past the largest a group may have is named and joins no group.
    bbtest::LogCapture log;
    for (const char* far : {"2^31", "1e308", "1001"}) {
        Brick* brick = new Brick();
        brick->SetScriptField("groupID", bbtest::EvalLua(far));
        logic->AddBrick(brick);
        EXPECT_EQ(6u, logic->GetGroupsByID().size()) << far;
        EXPECT_TRUE(Holds(logic->GetBricks(), brick)) << far;
    }
    EXPECT_NE(log.Text().find("\"groupID\": 2147483648 is more than 1000; it joins no group"),
              std::string::npos)
        << log.Text();

    // So is one below 0: the brick stands on the field.
    for (const char* below : {"-1", "-2^31", "-1/0"}) {
        Brick* negative = new Brick();
        negative->SetScriptField("groupID", bbtest::EvalLua(below));
        logic->AddBrick(negative);
        EXPECT_EQ(6u, logic->GetGroupsByID().size()) << below;
        EXPECT_TRUE(Holds(logic->GetBricks(), negative)) << below;
    }
    EXPECT_NE(log.Text().find("\"groupID\": -1 is below 0; it joins no group"), std::string::npos)
        << log.Text();
}

TEST_F(GameControllerTest, AddActorSortsByClass)
{
    NewGame();
    Actor* ball = Make("{class = 'Ball'}");
    Actor* spawning = Make("{class = 'Ball', useBallSpawnAnimation = true}");
    Actor* brick = Make("{class = 'Brick'}");
    Actor* coin = Make("{class = 'BlingCoin'}");
    Actor* goober = Make("{class = 'Goober', resource = 'NormalGoober'}");
    Actor* plain = Make("{class = 'Actor'}");
    for (Actor* actor : {ball, spawning, brick, coin, goober, plain}) {
        ASSERT_NE(nullptr, actor);
        logic->AddActor(actor);
    }
    EXPECT_TRUE(Holds(logic->GetBalls(), ball));
    EXPECT_EQ(8, ball->GetZOrder());
    EXPECT_TRUE(Holds(logic->GetBricks(), brick));
    // Every power-up class is a power-up, not an extra actor.
    EXPECT_TRUE(Holds(logic->GetPowerups(), coin));
    EXPECT_FALSE(Holds(logic->GetExtraActors(), coin));
    EXPECT_TRUE(Holds(logic->GetGoobers(), goober));
    EXPECT_TRUE(Holds(logic->GetExtraActors(), plain));
    for (Actor* actor : {ball, brick, coin, goober, plain})
        EXPECT_EQ(layer, actor->GetParent());

    // A ball with its spawn circle waits in the circle, not on the field.
    EXPECT_FALSE(Holds(logic->GetBalls(), spawning));
    ASSERT_EQ(1u, logic->GetBallSpawnAnimations().GetMembers().size());
    auto* circle =
        dynamic_cast<BallSpawnAnimation*>(logic->GetBallSpawnAnimations().GetMembers().front());
    ASSERT_NE(nullptr, circle);
    EXPECT_EQ(spawning, circle->GetHeldBall());  // the circle's until it has run
    EXPECT_EQ(2, logic->CountBallsInPlay() + 1); // the inactive free ball is not in play
}

// A ball waits in its spawn circle, which the end of a level, a lost serve or the end of the
// game may remove before it has run: the ball goes with it, and one taken on goes to the field.
TEST_F(GameControllerTest, ABallWaitingInItsSpawnCircleGoesWithTheCircle)
{
    NewGame();
    const int before = Actor::GetLiveCount();
    logic->SpawnBallAnimation(new Ball(300, 300, 0, 100, true));
    logic->GetBallSpawnAnimations().KillAll();
    passes.DeleteDeadActors();
    EXPECT_EQ(before, Actor::GetLiveCount());

    logic->SetState("Playing");
    logic->SpawnBallAnimation(new Ball(300, 300, 0, 100, true));
    ASSERT_EQ(1u, logic->GetBallSpawnAnimations().GetMembers().size());
    auto* circle =
        dynamic_cast<BallSpawnAnimation*>(logic->GetBallSpawnAnimations().GetMembers().front());
    ASSERT_NE(nullptr, circle);
    Ball* ball = circle->GetHeldBall();
    passes.StepUntil([&] { return logic->GetBalls().Contains(ball); }, 200);
    EXPECT_TRUE(logic->GetBalls().Contains(ball));
    EXPECT_EQ(layer, ball->GetParent());
}

TEST_F(GameControllerTest, EveryTimerDiesWithTheController)
{
    const std::uint32_t firstId = passes.Timers().GetNextId();
    NewGame();
    logic->SetState("WaitForSpawn"); // the serve's two timers
    logic->StartTimer(64, -1);
    logic->m_ClockTimer = logic->StartTimer(1000, -1);
    logic->m_BallLockTimer = logic->StartTimer(5000, 1);
    passes.Step(3);
    const std::uint32_t lastId = passes.Timers().GetNextId();
    ASSERT_GE(lastId - firstId, 5u);

    EndGame();
    for (std::uint32_t id = firstId; id < lastId; ++id)
        EXPECT_FALSE(passes.Timers().IsTimerAlive(id)) << id;
    passes.Step(100); // nothing is left to signal the deleted controller
}

// Lightning in flight when the game ends: its sparks fork and strike on timers of their own,
// through the controller and its world, and neither is there any more.
TEST_F(GameControllerTest, LightningInFlightEndsWithTheController)
{
    NewGame();
    auto* target = static_cast<ArcadeStructure*>(Make("{class = 'Brick', position = {300, 200}}"));
    ASSERT_NE(nullptr, target);
    logic->AddActor(target);
    for (int i = 0; i < 4; ++i)
        logic->AddActor(Make("{class = 'Brick', position = {" + std::to_string(270 + 20 * i) +
                             ", 230}}"));
    const double x = target->GetX() + target->GetWidth() / 2.0;
    const double y = target->GetY() + target->GetHeight() / 2.0;
    logic->AddSpark(new Spark(x, y - 100, x, y, target, 8, logic, 400, 3, 4, 2, 3));
    passes.Step(1);
    ASSERT_FALSE(logic->GetSparks().GetMembers().empty());
    EndGame();
    passes.Step(30); // the sparks' fork and life timers come due
}

// A ball's arrival circle and the caption of a play's end outlive the controller on the
// play layer; the end they report, also one already queued, never reaches the deleted
// controller.
TEST_F(GameControllerTest, ASpawnAnimationNeverSignalsTheDeletedController)
{
    NewGame();
    logic->SpawnBallAnimation(new Ball(300, 300, 0, 100, true));
    ASSERT_EQ(1u, logic->GetBallSpawnAnimations().GetMembers().size());
    Actor* animation = logic->GetBallSpawnAnimations().GetMembers().front();
    ASSERT_TRUE(animation->HasEventReceivers());
    animation->PostEvent(ARCADE_ANIMFINISH, animation);
    EndGame();
    ASSERT_FALSE(animation->HasEventReceivers());
    passes.Step(2);

    // So is the caption of a level's end, when the game ends while it stands.
    NewGame();
    logic->SetState("LevelCompleted");
    Actor* caption = nullptr;
    for (Actor* child : layer->GetChildren())
        if (dynamic_cast<EndOfPlayAnimation*>(child))
            caption = child;
    ASSERT_NE(nullptr, caption);
    ASSERT_TRUE(caption->HasEventReceivers());
    caption->PostEvent(ARCADE_ANIMFINISH, caption);
    EndGame();
    ASSERT_FALSE(caption->HasEventReceivers());
    passes.Step(2);
}

TEST_F(GameControllerTest, FinishedTimersAreForgottenAndKillingThemChangesNothing)
{
    NewGame();
    logic->SetState("GameOver");
    std::uint32_t once = logic->StartTimer(32, 1);
    passes.Step(2);
    EXPECT_FALSE(passes.Timers().IsTimerAlive(once));
    std::uint32_t other = logic->StartTimer(1000, 1);
    logic->KillTimer(once);
    EXPECT_EQ(0u, once);
    EXPECT_TRUE(passes.Timers().IsTimerAlive(other));
    logic->KillTimer(other);
    EXPECT_FALSE(passes.Timers().IsTimerAlive(other));
}

TEST_F(GameControllerTest, AMissingLevelIsLoggedByNameAndTheGameStaysStanding)
{
    {
        bbtest::LogCapture log;
        NewGame("{gameType = 'Levels', levelName = 'NoSuchLevel', ballsLeft = 2}");
        logic->StartGame();
        EXPECT_EQ("LoadingLevel", State());
        EXPECT_NE(std::string::npos, log.Text().find("NoSuchLevel")) << log.Text();
        passes.Step(5);
        EXPECT_EQ("LoadingLevel", State());
        EXPECT_EQ(2, logic->GetBallsLeft());
    }
    {
        bbtest::LogCapture log;
        NewGame("{gameType = 'Adventure', episodeNumber = 70, levelNumber = 4}");
        logic->StartGame();
        EXPECT_EQ("LoadingLevel", State());
        EXPECT_NE(std::string::npos, log.Text().find("episode 70 level 4")) << log.Text();
    }
}

TEST_F(GameControllerTest, OptionsAndHeadsUpLabels)
{
    NewGame("{gameType = 'Lab', ballsLeft = 4, episodeNumber = 11, levelNumber = 3}");
    logic->StartGame();
    EXPECT_EQ("Lab", logic->GetGameType());
    EXPECT_EQ(4, logic->GetBallsLeft());
    EXPECT_EQ(11, logic->GetEpisodeNumber().value_or(0));
    EXPECT_EQ(3, logic->GetLevelNumber().value_or(0));
    ASSERT_NE(nullptr, logic->m_ScoreLabel);
    EXPECT_EQ("Loot: 0", logic->m_ScoreLabel->GetText());

    logic->AddScore(250);
    logic->AddScore(5);
    EXPECT_EQ("Loot: 0", logic->m_ScoreLabel->GetText()); // the label follows on the tick
    passes.Step();
    EXPECT_EQ("Loot: 255", logic->m_ScoreLabel->GetText());

    const std::string balls = logic->m_BallsLabel->GetText();
    logic->SetBallsLeft(-1);
    EXPECT_EQ(-1, logic->GetBallsLeft());
    EXPECT_EQ(balls, logic->m_BallsLabel->GetText());

    logic->ShowMessage("Ball Locked!", 2000);
    EXPECT_EQ("Ball Locked!", logic->m_Marquee->GetMessage());
    EXPECT_EQ(logic->m_ScoreLabel, logic->FindActor("ScoreLabel"));
    EXPECT_EQ(nullptr, logic->FindActor("NoSuchActor"));
}

TEST_F(GameControllerTest, CollectedPowerupsCountTheirScoreLootAndBalls)
{
    NewGame();
    logic->SetBallsLeft(1);
    Powerup* coin = dynamic_cast<Powerup*>(Make("{class = 'BlingCoin'}"));
    Powerup* extra = dynamic_cast<Powerup*>(Make("{class = 'ExtraBall'}"));
    ASSERT_TRUE(coin && extra);
    logic->AddPowerup(coin);
    logic->AddPowerup(extra);
    const int coinScore = coin->RetrieveIntProperty("score");

    logic->CollectPowerup(coin, nullptr);
    EXPECT_EQ(coinScore, logic->GetScore());
    EXPECT_EQ(1, logic->m_LootCaught);
    logic->CollectPowerup(extra, nullptr);
    EXPECT_EQ(2, logic->GetBallsLeft());
    EXPECT_EQ(1, logic->m_LootCaught);

    // A power-up caught twice in one step counts once.
    coin->Kill();
    logic->CollectPowerup(coin, nullptr);
    EXPECT_EQ(1, logic->m_LootCaught);
}

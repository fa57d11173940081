// The controller's states as the player meets them: event in, states out. One pass is
// one 32 ms frame, timers included.
#include "core/ClassManager.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "physics/PhysicsGeom.h"
#include "screens/ArcadeMenu.h"
#include "screens/Dialog.h"
#include "screens/Marquee.h"
#include "widgets/Label.h"

#include "GameFixture.h"

using gametest::GameFixture;
using States = std::vector<std::string>;

namespace {

bool s_ButtonHeld = false;
bool ButtonHeld()
{
    return s_ButtonHeld;
}

} // namespace

class GameStatesTest : public GameFixture
{
protected:
    GameStatesTest()
    {
        s_ButtonHeld = false;
        NewGame();
    }

    // Play as after a serve: the clock runs.
    void StartPlaying()
    {
        logic->SetState("WaitForSpawn");
        passes.Step(27);
        Click(true);
        ASSERT_EQ("Playing", State());
    }
};

TEST_F(GameStatesTest, ThePromptWaitsForTheBallsAndAClickThenServes)
{
    logic->SetState("WaitForSpawn");
    // 850 ms is the 27th pass: until the balls are there, nothing invites a press.
    EXPECT_EQ((States{"WaitForSpawn"}), StatesOver(26));
    EXPECT_EQ("", logic->m_Marquee->GetMessage());
    EXPECT_EQ(0u, logic->m_ClockTimer);
    passes.Step();
    EXPECT_EQ("Click To Start - Space Bar For Menu", logic->m_Marquee->GetMessage());
    Click(true);
    EXPECT_EQ("Playing", State());
    EXPECT_NE(0u, logic->m_ClockTimer);
    // The serve's invitation gives way to the first tutorial prompt.
    EXPECT_EQ("Click To Swing The Paddle!", logic->m_Marquee->GetMessage());

    // The play clock counts seconds from the serve.
    passes.Step(31);
    EXPECT_EQ(0, logic->m_ElapsedTime);
    passes.Step(1);
    EXPECT_EQ(1, logic->m_ElapsedTime);
}

TEST_F(GameStatesTest, AClickOrARequestDuringTheSpawnDelayServesOnceAsTheBallsAppear)
{
    for (bool click : {true, false}) {
        SCOPED_TRACE(click ? "click" : "request");
        NewGame();
        logic->SetState("WaitForSpawn");
        passes.Step(5);
        if (click) {
            Click(true);
            Click(false);
        } else {
            Send(ARCADE_SERVE);
        }
        EXPECT_EQ("WaitForSpawn", State());
        EXPECT_EQ(0u, logic->m_ClockTimer);
        EXPECT_EQ((States{"WaitForSpawn"}), StatesOver(21));
        EXPECT_EQ((States{"Playing"}), StatesOver(1));
        EXPECT_NE(0u, logic->m_ClockTimer);
        EXPECT_NE("Click To Start - Space Bar For Menu", logic->m_Marquee->GetMessage());
        // Nothing is kept for the next serve.
        logic->SetState("WaitForSpawn");
        EXPECT_EQ((States{"WaitForSpawn"}), StatesOver(30));
    }
}

TEST_F(GameStatesTest, AButtonHeldThroughTheDelayServesAsSoonAsTheBallsAppear)
{
    s_ButtonHeld = true;
    ArcadeGameStates::SetLeftButtonProbe(&ButtonHeld);
    logic->SetState("WaitForSpawn");
    EXPECT_EQ(27, StepUntilState("Playing"));
}

TEST_F(GameStatesTest, ARequestToServeStartsPlayAfterTheDelay)
{
    logic->SetState("WaitForSpawn");
    passes.Step(27);
    Send(ARCADE_SERVE);
    EXPECT_EQ("Playing", State());
}

TEST_F(GameStatesTest, PausingFreezesPlayAndResumingCountsDownTwoAndAQuarterSeconds)
{
    StartPlaying();
    Ball* ball = new Ball(300, 300, 0, -100, true);
    logic->AddBall(ball);
    ASSERT_TRUE(ball->GetGeom()->IsEnabled());
    passes.Step(20);

    Send(MAKO_PAUSEGAME, 1);
    EXPECT_EQ("PausedPlaying", State());
    EXPECT_FALSE(ball->GetGeom()->IsEnabled());
    const int elapsed = logic->m_ElapsedTime;
    passes.Step(100); // the clock stands still
    EXPECT_EQ(elapsed, logic->m_ElapsedTime);

    Send(MAKO_PAUSEGAME, 0);
    EXPECT_EQ((States{"PausedPlaying"}), StatesOver(70));
    EXPECT_EQ((States{"Playing"}), StatesOver(1)); // 2250 ms: the 71st pass
    passes.Step(40);
    EXPECT_GT(logic->m_ElapsedTime, elapsed);
    EXPECT_TRUE(ball->GetGeom()->IsEnabled()); // the ball's own count-down woke it
}

TEST_F(GameStatesTest, FocusRegainedUnderADialogDoesNotResume)
{
    StartPlaying();
    Focus(false);
    EXPECT_EQ("PausedPlaying", State());
    Dialog* dialog = new Dialog();
    screen->StartDialog(dialog, false);
    Focus(true);
    passes.Step(100);
    EXPECT_EQ("PausedPlaying", State());

    screen->StopDialog(dialog);
    passes.Step(2);
    Focus(true);
    EXPECT_EQ(71, StepUntilState("Playing"));
}

TEST_F(GameStatesTest, LosingTheLastBallServesAgainWhileBallsAreLeft)
{
    StartPlaying();
    logic->SetBallsLeft(2);
    logic->SetState("AllBallsLost");
    const States trace = StatesOver(60);
    EXPECT_EQ((States{"AllBallsLost", "WaitForSpawn"}), trace);
    EXPECT_EQ(2, logic->m_BallsUsed);
    EXPECT_EQ(0, logic->m_OneBallEarned);
}

TEST_F(GameStatesTest, LosingTheLastBallWithNoneLeftEndsTheGameAfterTheCaption)
{
    StartPlaying();
    logic->SetBallsLeft(0);
    Ball* ball = new Ball(300, 300, 0, -100, true);
    logic->AddBall(ball);
    logic->SetState("AllBallsLost");
    EXPECT_FALSE(ball->IsDead()); // set aside until the state ends
    passes.Step(10);
    EXPECT_EQ("AllBallsLost", State()); // not before the caption has shown
    EXPECT_GT(StepUntilState("GameOver"), 20);
    EXPECT_TRUE(logic->GetBalls().IsEmpty());

    // The game-over pause, then the game-over letter.
    EXPECT_EQ((States{"GameOver", "ShowGameOverDialog"}), StatesOver(120));
}

TEST_F(GameStatesTest, AGameOverOfTheLevelsGameTypeEndsAfterHalfASecond)
{
    NewGame("{gameType = 'Levels', ballsLeft = 0}");
    logic->StartGame(); // takes the options (and stays: there is no level)
    logic->SetState("GameOver");
    EXPECT_EQ((States{"GameOver"}), StatesOver(15));
    EXPECT_EQ((States{"LevelsGameTypeOver"}), StatesOver(1));
}

TEST_F(GameStatesTest, AWonLevelMovesTheAdventureOnToTheNextLevelByNumber)
{
    NewGame("{gameType = 'Adventure', ballsLeft = 3, episodeNumber = 2, levelNumber = 4, "
            "levelName = 'FirstByName'}");
    logic->StartGame(); // no such level: stays loading
    logic->m_LevelName = "FirstByName";
    logic->SetState("LevelCompleted");
    EXPECT_EQ((States{"LevelCompleted"}), StatesOver(75));
    // After the caption: the end-of-level letter and the progress; its "next" loads the
    // next level.
    EXPECT_LT(StepUntilState("ShowEndLevelDialog", 20), 20);
    ASSERT_TRUE(ClickDialogButton("EndLevelBonusDialog", "NextButton"));
    EXPECT_EQ("LoadingLevel", State());
    EXPECT_EQ(2, logic->GetEpisodeNumber().value_or(0));
    EXPECT_EQ(5, logic->GetLevelNumber().value_or(0));
    EXPECT_FALSE(logic->m_LevelName.has_value());
    EXPECT_EQ("EMPTY", bbtest::EvalLua("GameOptions.levelName").ToString());
}

TEST_F(GameStatesTest, TheBrickDropSlidesTheFieldDownThenServes)
{
    Brick* brick = new Brick();
    brick->SetRectangle(32, 16, false);
    brick->SetPosition(100, 60 - 420);
    logic->AddBrick(brick);
    logic->SetState("BrickDrop");
    EXPECT_EQ(1, sounds.Count("levelStart.ogg"));
    EXPECT_EQ(1, sounds.Count("SlideDown.ogg"));
    EXPECT_EQ(1, sounds.Count("Mystical_EnergyColumnLoop1.ogg"));
    passes.Step(35);
    EXPECT_GT(brick->GetY(), -360);
    EXPECT_LT(brick->GetY(), 60);
    EXPECT_EQ("BrickDrop", State());
    EXPECT_EQ(35, StepUntilState("WaitForSpawn")); // 2240 ms: the 70th pass
    EXPECT_EQ(60, brick->GetY());
    EXPECT_NEAR(68.0, brick->GetGeom()->GetCenter().y, 0.5);
    EXPECT_EQ(1, sounds.Count("Smash_StoneColumn1.ogg"));
}

TEST_F(GameStatesTest, ALockedBallIsReplacedAfterASecondWhenNoBrickReleases)
{
    StartPlaying();
    Ball* ball = new Ball(300, 300, 0, -100, true);
    logic->AddBall(ball);
    logic->LockBall(ball, nullptr);
    EXPECT_TRUE(logic->m_BallLocked);
    EXPECT_EQ("Ball Locked!", logic->m_Marquee->GetMessage());
    EXPECT_FALSE(logic->GetBalls().Contains(ball));
    EXPECT_EQ(nullptr, ball->GetParent());
    EXPECT_FALSE(ball->GetGeom()->IsEnabled());
    passes.Step(31);
    EXPECT_TRUE(logic->m_BallLocked);
    passes.Step(1);
    EXPECT_FALSE(logic->m_BallLocked);
    EXPECT_EQ(0u, logic->m_BallLockTimer);
    delete ball; // a hopper would have owned it
}

TEST_F(GameStatesTest, TheDeveloperKeysNeedCtrlAndAltOfOneSide)
{
    StartPlaying();
    logic->SetBallsLeft(1);
    Event key{};
    key.key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_b;
    key.key.keysym.mod = KMOD_LCTRL;
    logic->OnEvent(key);
    EXPECT_EQ(1, logic->GetBallsLeft());
    key.key.keysym.mod = static_cast<SDLMod>(KMOD_LCTRL | KMOD_RALT);
    logic->OnEvent(key);
    EXPECT_EQ(1, logic->GetBallsLeft());
    key.key.keysym.mod = static_cast<SDLMod>(KMOD_LCTRL | KMOD_LALT | KMOD_NUM);
    logic->OnEvent(key);
    EXPECT_EQ(2, logic->GetBallsLeft());
    key.key.keysym.sym = SDLK_q;
    logic->OnEvent(key);
    EXPECT_EQ("GameOver", State());
}

namespace {

// A menu that notes the play-field events it hears.
class NotingMenu : public ArcadeMenu
{
public:
    NotingMenu() : ArcadeMenu("NotingMenu", "") {}
    bool OnAnimFinish(const Event&) override
    {
        heard.push_back(ARCADE_ANIMFINISH);
        return true;
    }
    bool OnServe(const Event&) override
    {
        heard.push_back(ARCADE_SERVE);
        return false;
    }
    std::vector<int> heard;
};

} // namespace

TEST_F(GameStatesTest, MenusHearThePlayFieldEventsAfterTheirOwnRouting)
{
    NotingMenu menu;
    EXPECT_TRUE(menu.OnEvent(MakeEvent(ARCADE_ANIMFINISH)));
    EXPECT_FALSE(menu.OnEvent(MakeEvent(ARCADE_SERVE)));
    EXPECT_FALSE(menu.OnEvent(MakeEvent(ARCADE_EVENT62)));
    EXPECT_EQ((std::vector<int>{ARCADE_ANIMFINISH, ARCADE_SERVE}), menu.heard);
}

TEST_F(GameStatesTest, HoppersOfAGroupReleaseTheirBallsOnceTheGroupHoldsEnough)
{
    StartPlaying();
    std::vector<Brick*> hoppers;
    for (int i = 0; i < 2; ++i) {
        Object* made = ClassManager::GetInstance()->InstantiateObject(
            bbtest::EvalLua("{class = 'Brick', resource = 'RedBrick', groupID = 0, "
                            "ballHopperSize = 1, ballHopperRequirement = 2, "
                            "releaseBallTimerLength = 0.5}"));
        Brick* brick = dynamic_cast<Brick*>(made);
        ASSERT_NE(nullptr, brick);
        brick->SetPosition(100 + 200 * i, 100);
        logic->AddBrick(brick);
        hoppers.push_back(brick);
    }
    Ball* first = new Ball(300, 300, 0, -100, true);
    Ball* second = new Ball(320, 300, 0, -100, true);
    logic->AddBall(first);
    logic->AddBall(second);

    ASSERT_TRUE(hoppers[0]->CatchBall(first, logic));
    EXPECT_TRUE(logic->m_BallLocked);
    EXPECT_EQ(1u, logic->GetBalls().GetMembers().size());
    passes.Step(10);
    EXPECT_EQ(1u, logic->GetBalls().GetMembers().size()); // one ball is not enough

    // The second ball fills the group: both hoppers let go after their half second, and
    // the lock ends half a second after that.
    ASSERT_TRUE(hoppers[1]->CatchBall(second, logic));
    EXPECT_TRUE(logic->GetBalls().IsEmpty());
    passes.Step(16);
    EXPECT_EQ(2u, logic->GetBalls().GetMembers().size());
    EXPECT_EQ(layer, first->GetParent());
    EXPECT_TRUE(first->GetGeom()->IsEnabled());
    EXPECT_TRUE(logic->m_BallLocked);
    passes.Step(31);
    EXPECT_FALSE(logic->m_BallLocked);
}

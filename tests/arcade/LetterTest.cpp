// The letters as the player meets them: the letter before a level (built while the bricks
// get their pictures, started with its button or the 's' key), the letter after a lost
// game, and the tip letters (seen once per player, forced, always shown, their senders
// and titles, the chains at the end of an episode and of the game).
#include "GameFixture.h"
#include "LevelTestSupport.h"

#include "core/EventQueue.h"
#include "field/Brick.h"
#include "logic/LevelManager.h"
#include "logic/states/ShowStartLevelDialog.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/EndOfPlayAnimation.h"
#include "screens/GameOverDialog.h"
#include "screens/GameTips.h"
#include "screens/StartLevelDialog.h"
#include "support/engine/GameLevels.h"
#include "support/engine/LogCapture.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <memory>

using gametest::GameFixture;
using States = std::vector<std::string>;

namespace {

class LetterTest : public GameFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        bbtest::LoadGameLevels();
        for (const char* script : {"PlayerDefaults.lua", "Player.lua"})
            MakoLuaState::DoResourceFile(GetGlobalLuaState(), script);
    }

    LetterTest()
    {
        ArcadeGameStates::ShowStartLevelDialog::ShowWithoutApplication(true);
        bbtest::EvalLua("(function() Players = CreatePlayersTable() "
                        "for i = 1, 4 do Players[i] = CreatePlayer() end "
                        "Players[1].Name = 'tess' Players.current[1] = Players[1] "
                        "return 1 end)()");
        players = std::make_unique<PlayerManager>(GetGlobalLuaState());
    }
    ~LetterTest() override
    {
        EndGame();
        ArcadeGameStates::ShowStartLevelDialog::ShowWithoutApplication(false);
        players.reset();
    }

    ArcadeGameLogic* StartLevel(const std::string& type, const std::string& level = "Welcome")
    {
        NewGame("{gameType = '" + type + "', levelName = '" + level + "', ballsLeft = 3}");
        logic->m_Player = players->GetCurrentPlayer(1);
        logic->StartGame();
        return logic;
    }

    // The posted events, delivered as the running game would: those for the application
    // reach the current screen (and so its dialogs and the controller).
    void Deliver()
    {
        EventQueue& queue = GetPostedEventQueue();
        Event event;
        while (queue.Take(event)) {
            if (event.type == MAKO_ROUTEDEVENT) {
                EventQueue::DeliverRouted(event);
            } else {
                screen->OnEvent(event);
                EventQueue::ReleaseEventData(event);
            }
        }
    }
    void Pass(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            Deliver();
            passes.Step();
        }
        Deliver();
    }
    // A key pressed and released, offered to the screen as SDL gives it, in a pass of its
    // own (which allows one click).
    void Key(SDLKey key)
    {
        ButtonClickLatch() = true;
        for (std::uint8_t type : {std::uint8_t(SDL_KEYDOWN), std::uint8_t(SDL_KEYUP)}) {
            Event event{};
            event.key.type = type;
            event.key.keysym.sym = key;
            screen->OnEvent(event);
        }
        Deliver();
    }
    void ClickButton(const std::string& name)
    {
        Button* button = dynamic_cast<Button*>(TopDialog()->GetChild(name));
        ASSERT_NE(nullptr, button) << name;
        ButtonClickLatch() = true;
        button->ReportClick();
        Deliver();
    }

    Dialog* TopDialog()
    {
        for (Dialog* dialog : screen->GetDialogs())
            if (!dialog->IsStopping())
                return dialog;
        return nullptr;
    }
    static std::string ButtonText(Dialog* dialog, const std::string& name)
    {
        Button* button = dynamic_cast<Button*>(dialog->GetChild(name));
        return button && button->GetLabel() ? button->GetLabel()->GetText() : "<none>";
    }
    static bool Shows(Dialog* dialog, const std::string& name)
    {
        Actor* child = dialog->GetChild(name);
        return child && child->IsVisible();
    }
    LuaPlus::LuaObject Options() { return players->GetCurrentPlayer(1)->GetOptionsTable(); }

    LevelManager levels;
    std::unique_ptr<PlayerManager> players;
};

} // namespace

TEST_F(LetterTest, TheStartLetterOffersStartOnceEveryBrickHasItsPicture)
{
    StartLevel("Levels");
    ASSERT_EQ("ShowStartLevelDialog", State());
    auto* letter = dynamic_cast<StartLevelDialog*>(TopDialog());
    ASSERT_NE(nullptr, letter);
    EXPECT_EQ(logic->GetLevel()->GetFullName(), letter->GetTitle()->GetText());
    EXPECT_EQ("Tess,", letter->GetToLabel()->GetText());
    EXPECT_EQ("- " + logic->GetLevel()->GetFromText(), letter->GetFromLabel()->GetText());
    EXPECT_FALSE(logic->m_ScoreLabel->IsVisible());
    EXPECT_EQ(1, sounds.Count("Pickup_PaperNote4.ogg"));

    // Eight bricks a frame; the frame after the last brick reveals "start".
    const std::list<Actor*>& bricks = logic->GetBricks().GetMembers();
    ASSERT_GT(bricks.size(), 8u);
    const int frames = static_cast<int>(bricks.size()) / 8 + 1;
    for (int i = 0; i < frames - 1; ++i) {
        Pass();
        EXPECT_EQ("loading...", ButtonText(letter, "StartButton"));
    }
    Key(SDLK_RETURN); // not usable yet
    EXPECT_EQ("ShowStartLevelDialog", State());
    Pass();
    EXPECT_EQ("start", ButtonText(letter, "StartButton"));
    EXPECT_EQ(1, sounds.Count("Pickup_GemBells06.ogg"));
    for (Actor* actor : bricks) {
        const Brick* brick = dynamic_cast<Brick*>(actor);
        EXPECT_TRUE(!brick || brick->IsImageValid() || brick->IsInvisible());
    }
    Pass(3);
    EXPECT_EQ(1, sounds.Count("Pickup_GemBells06.ogg"));

    Key(SDLK_RETURN);
    EXPECT_EQ("BrickDrop", State());
    EXPECT_TRUE(logic->m_ScoreLabel->IsVisible());
    EXPECT_EQ(nullptr, TopDialog());
}

TEST_F(LetterTest, TheSKeyStartsAtOnceWhileTheLevelIsStillLoading)
{
    StartLevel("Levels");
    Dialog* letter = TopDialog();
    ASSERT_NE(nullptr, letter);
    EXPECT_EQ("loading...", ButtonText(letter, "StartButton"));
    Key(SDLK_s);
    EXPECT_EQ("BrickDrop", State());
    EXPECT_EQ(nullptr, TopDialog());
    EXPECT_EQ(1, sounds.Count("Pickup_GemBells06.ogg"));
    // The bricks not yet built get their pictures when they first show.
    EXPECT_EQ((States{"BrickDrop"}), StatesOver(30));
}

TEST_F(LetterTest, BackLeavesTheGameAndNoLetterSkipsToTheBrickDrop)
{
    bbtest::LogCapture log;
    StartLevel("Adventure");
    Key(SDLK_b);
    EXPECT_NE(std::string::npos, log.Text().find("no screen \"MapScreen\""));

    ArcadeGameStates::ShowStartLevelDialog::ShowWithoutApplication(false);
    StartLevel("Adventure");
    EXPECT_EQ("BrickDrop", State());
    EXPECT_EQ(nullptr, TopDialog());
}

TEST_F(LetterTest, LosingTheLastBallEndsInTheGameOverLetterAndTryAgainReplaysTheLevel)
{
    bbtest::LogCapture log;
    StartLevel("Adventure");
    Key(SDLK_s);
    StepUntilState("WaitForSpawn");
    Pass(30);
    Click(true);
    Click(false);
    ASSERT_EQ("Playing", State());
    logic->SetBallsLeft(0);
    logic->GetBalls().KillAll(); // the ball went out
    logic->GetBallSpawnAnimations().KillAll();
    logic->CheckForLevelEnd(0, 0);
    ASSERT_EQ("AllBallsLost", State());
    EXPECT_EQ("Ball Lost", logic->m_LostReason);

    // The paddles shatter at 750 ms.
    Pass(23);
    EXPECT_FALSE(logic->GetPaddles().empty());
    Pass();
    EXPECT_TRUE(logic->GetPaddles().empty());
    EXPECT_EQ(1, sounds.Count("Paddle Shatter.ogg"));

    // The caption, then "Game Over" and 3000 ms later the letter.
    StepUntilState("GameOver");
    ASSERT_EQ("GameOver", State());
    EXPECT_EQ((States{"GameOver"}), StatesOver(92));
    Pass();
    ASSERT_EQ("ShowGameOverDialog", State());
    auto* letter = dynamic_cast<GameOverDialog*>(TopDialog());
    ASSERT_NE(nullptr, letter);
    EXPECT_EQ("Oh No!", letter->GetTitle()->GetText());
    EXPECT_EQ("Miriel", letter->GetFromLabel()->GetText());
    EXPECT_TRUE(letter->GetCharacterPicture()->IsVisible());
    EXPECT_EQ("map", ButtonText(letter, "MapButton"));
    EXPECT_EQ("try again", ButtonText(letter, "ReplayButton"));

    const std::string title = logic->GetLevel()->GetFullName();
    ClickButton("ReplayButton");
    EXPECT_EQ("ShowStartLevelDialog", State());
    EXPECT_EQ(title, logic->GetLevel()->GetFullName());
    EXPECT_FALSE(logic->GetBricks().IsEmpty());

    // This time "map" leaves.
    Key(SDLK_s);
    logic->SetState("GameOver");
    Pass(94);
    ASSERT_EQ("ShowGameOverDialog", State());
    EXPECT_EQ(std::string::npos, log.Text().find("no screen \"MapScreen\""));
    ClickButton("MapButton");
    EXPECT_NE(std::string::npos, log.Text().find("no screen \"MapScreen\""));
}

TEST_F(LetterTest, TheLabCallsTheMapButtonLabAndTheLevelsTypeEndsWithoutALetter)
{
    Options().SetString("game.mode", "Lab");
    StartLevel("Lab");
    Key(SDLK_s);
    logic->SetState("GameOver");
    Pass(94);
    ASSERT_NE(nullptr, TopDialog());
    EXPECT_EQ("lab", ButtonText(TopDialog(), "MapButton"));
    ClickButton("MapButton");

    StartLevel("Levels");
    Key(SDLK_s);
    logic->SetState("GameOver");
    EXPECT_EQ((States{"GameOver"}), StatesOver(15));
    EXPECT_EQ((States{"LevelsGameTypeOver"}), StatesOver(1));
    EXPECT_EQ(nullptr, TopDialog());
}

TEST_F(LetterTest, ATipShowsOncePerPlayerUnlessForcedOrAlwaysShown)
{
    NewGame();
    EXPECT_TRUE(ShowGameTip(screen, "gametip.lab", "Tinkerwit's Lab", false));
    Dialog* tip = TopDialog();
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ("gametip.lab", tip->GetName());
    EXPECT_EQ("Tinkerwit's Lab", tip->GetTitle()->GetText());
    EXPECT_TRUE(Shows(tip, "OkayButton"));
    EXPECT_FALSE(Shows(tip, "StartButton"));
    EXPECT_FALSE(Shows(tip, "QuitButton"));
    EXPECT_EQ(1, sounds.Count("Pickup_PaperNote4.ogg"));
    // Shown, the tip is seen for the run; the card is marked once the player closes it.
    EXPECT_TRUE(Options()["gametip.lab.shown"].IsNil());
    Key(SDLK_ESCAPE);
    EXPECT_EQ(nullptr, TopDialog());
    EXPECT_TRUE(Options()["gametip.lab.shown"].GetBoolean());

    EXPECT_FALSE(ShowGameTip(screen, "gametip.lab", "Tinkerwit's Lab", false));
    EXPECT_EQ(nullptr, TopDialog());
    EXPECT_TRUE(ShowGameTip(screen, "gametip.lab", "Tinkerwit's Lab", true));
    Key(SDLK_o);
    EXPECT_EQ(nullptr, TopDialog());

    leveltest::Constants always{{"alwaysShowTips", "true"}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(ShowGameTip(screen, "gametip.map", "", false));
        Key(SDLK_ESCAPE);
    }
    EXPECT_TRUE(Options()["gametip.map.shown"].IsNil());
    EXPECT_EQ(4, sounds.Count("Pickup_PaperNote4.ogg"));

    // A tip with no text is not shown, and nothing breaks.
    EXPECT_FALSE(ShowGameTip(screen, "gametip.nowhere", "", true));
    EXPECT_EQ(nullptr, TopDialog());
}

TEST_F(LetterTest, TipsAreSignedByTheirCharacterAndTitledByTheConfiguration)
{
    NewGame();
    ASSERT_TRUE(ShowGameTip(screen, "help.finds", "About The Menu", true));
    auto* tip = dynamic_cast<StartLevelDialog*>(TopDialog());
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ("About The Artifact Finds", tip->GetTitle()->GetText());
    EXPECT_EQ("- Miriel", tip->GetFromLabel()->GetText());
    EXPECT_EQ("Tess,", tip->GetToLabel()->GetText());
    EXPECT_TRUE(tip->GetCharacterPicture()->IsVisible());
    // The greeting sits on the note and the signature under it.
    const Label* note = tip->GetNoteLabel();
    EXPECT_EQ(note->GetY(), tip->GetToLabel()->GetY() + tip->GetToLabel()->GetHeight());
    EXPECT_EQ(note->GetY() + note->GetHeight(), tip->GetFromLabel()->GetY());
    Key(SDLK_ESCAPE);

    ASSERT_TRUE(ShowGameTip(screen, "finished.Lab", "Congrats!", false));
    EXPECT_EQ("- Tinkerwit", dynamic_cast<LetterDialog*>(TopDialog())->GetFromLabel()->GetText());
    Key(SDLK_ESCAPE);
}

TEST_F(LetterTest, LettersWithoutSenderOrRecipientKeepTheirLines)
{
    NewGame();
    std::unique_ptr<StartLevelDialog> start(new StartLevelDialog("", "A note.", "", "Title"));
    // Nobody to greet: no lone comma above the note, for a blank name either.
    EXPECT_EQ("", start->GetToLabel()->GetText());
    EXPECT_EQ("", LetterDialog::Greeting("  "));
    EXPECT_EQ("- ", start->GetFromLabel()->GetText());
    EXPECT_FALSE(start->GetCharacterPicture()->IsVisible());
    EXPECT_FALSE(dynamic_cast<Button*>(start->GetChild("StartButton"))->IsEnabled());

    // A tab indents a paragraph as spaces, which every font draws.
    std::unique_ptr<GameOverDialog> over(new GameOverDialog("ann", "\tA note.", "", "Title"));
    EXPECT_EQ("    A note.", over->GetNoteLabel()->GetText());
    EXPECT_EQ("Ann,", over->GetToLabel()->GetText());
    EXPECT_EQ("", over->GetFromLabel()->GetText());
    EXPECT_FALSE(over->GetCharacterPicture()->IsVisible());

    // A level's own sender has no picture in the game: it signs alone.
    std::unique_ptr<StartLevelDialog> level(
        new StartLevelDialog("ann", "A note.", "The Harbour Master", "Title"));
    EXPECT_FALSE(level->GetCharacterPicture()->IsVisible());
}

TEST_F(LetterTest, AFinishedEpisodeShowsItsLetterOnceAndLeavesWhenClosed)
{
    bbtest::LogCapture log;
    NewGame();
    logic->m_Player = players->GetCurrentPlayer(1);
    logic->m_GameType = "Adventure";
    logic->m_EpisodeNumber = 2; // the progress moved on past the first episode
    logic->SetState("ShowFinishedWorldDialog");
    Dialog* letter = TopDialog();
    ASSERT_NE(nullptr, letter);
    EXPECT_EQ("finished.CapeHorn", letter->GetName());
    EXPECT_EQ("Congrats!", letter->GetTitle()->GetText());
    EXPECT_EQ(1, sounds.Count("claps.ogg"));
    EXPECT_EQ(std::string::npos, log.Text().find("no screen \"MapScreen\""));
    Key(SDLK_ESCAPE);
    EXPECT_NE(std::string::npos, log.Text().find("no screen \"MapScreen\""));

    // Read before: the game screen is left at once.
    bbtest::LogCapture again;
    logic->SetState("ShowFinishedWorldDialog");
    EXPECT_EQ(nullptr, TopDialog());
    EXPECT_NE(std::string::npos, again.Text().find("no screen \"MapScreen\""));
}

TEST_F(LetterTest, TheFiveGameWonLettersFollowOneAnotherAndLeaveForTheLab)
{
    bbtest::LogCapture log;
    NewGame();
    logic->m_Player = players->GetCurrentPlayer(1);
    logic->SetState("ShowGameWonDialog");
    const std::vector<std::pair<std::string, std::string>> chain = {
        {"finished.Game1", "How???"},
        {"finished.Game2", "Congrats!"},
        {"finished.Game3", "Amazing!"},
        {"finished.Game4", "Thank you!"},
        {"finished.Game5", "Bonus Levels!"}};
    for (const auto& [tip, title] : chain) {
        Dialog* letter = TopDialog();
        ASSERT_NE(nullptr, letter) << tip;
        EXPECT_EQ(tip, letter->GetName());
        EXPECT_EQ(title, letter->GetTitle()->GetText());
        EXPECT_TRUE(logic->GetScriptField("useScreenOnExit").IsNil());
        Key(SDLK_o);
    }
    EXPECT_EQ(nullptr, TopDialog());
    EXPECT_EQ(5, sounds.Count("claps.ogg"));
    EXPECT_EQ(4, sounds.Count("attention5.ogg"));
    EXPECT_EQ("LabScreen", std::string(logic->GetScriptField("useScreenOnExit").GetString()));
    EXPECT_NE(std::string::npos, log.Text().find("no screen \"LabScreen\""));
}

TEST_F(LetterTest, GameWonLettersReadBeforeArePassedOver)
{
    bbtest::LogCapture log;
    NewGame();
    logic->m_Player = players->GetCurrentPlayer(1);
    Options().SetBoolean("finished.Game3.shown", true);
    logic->SetState("ShowGameWonDialog");
    for (const char* tip :
         {"finished.Game1", "finished.Game2", "finished.Game4", "finished.Game5"}) {
        ASSERT_NE(nullptr, TopDialog()) << tip;
        EXPECT_EQ(tip, TopDialog()->GetName());
        Key(SDLK_ESCAPE);
    }
    EXPECT_NE(std::string::npos, log.Text().find("no screen \"LabScreen\""));

    // All read: the game screen is left at once, for the map.
    bbtest::LogCapture again;
    NewGame();
    logic->m_Player = players->GetCurrentPlayer(1);
    logic->m_GameType = "Adventure";
    logic->SetState("ShowGameWonDialog");
    EXPECT_EQ(nullptr, TopDialog());
    EXPECT_NE(std::string::npos, again.Text().find("no screen \"MapScreen\""));
}

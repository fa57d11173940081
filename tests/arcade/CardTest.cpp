// The player card and the dialogs around it: what a card shows and how its rank follows
// the loot, its hover, press and click, the sign-in dialog, and the player chooser with
// its rename, clear and the taking back of a clear.
#include "GameApp.h"

#include "core/Config.h"
#include "core/State.h"
#include "display/Image.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/ChooseActivePlayerDialog.h"
#include "screens/EnterNameAndSkillDialog.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "support/engine/FieldWorld.h"
#include "views/CardView.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "widgets/RadioButton.h"
#include "widgets/RadioButtonGrid.h"
#include "widgets/TextBox.h"

#include <gtest/gtest.h>

#include <memory>

using namespace bbtest;

namespace {

// Counts what reaches it: card clicks sent to it and the broadcast player changes.
class CardListener : public Actor
{
public:
    bool OnCardClick(const Event&) override
    {
        ++clicks;
        return true;
    }
    bool OnPlayerChange(const Event&) override
    {
        ++playerChanges;
        return false;
    }
    int clicks = 0;
    int playerChanges = 0;
};

class CardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        app->SwitchTo("Elsewhere");
        screen = app->Screens()->GetScreen("Elsewhere");
        listener = new CardListener();
        screen->AddChild(listener, "");
        manager = PlayerManager::GetInstance();
    }
    void TearDown() override { app.reset(); }

    std::string Lua(const std::string& expression)
    {
        RunLua("__result = tostring(" + expression + ")");
        return GetGlobalLuaState()->GetGlobal("__result").GetString();
    }

    void Send(const Event& event)
    {
        app->OnEvent(event);
        app->Pass();
    }
    void MoveTo(int x, int y)
    {
        Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = static_cast<Uint16>(x);
        e.motion.y = static_cast<Uint16>(y);
        Send(e);
    }
    void Button(std::uint8_t type, int x, int y)
    {
        Event e{};
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        ButtonClickLatch() = true;
        Send(e);
    }
    void ClickOn(Actor* actor)
    {
        const SDL_Rect r = actor->GetScreenRect();
        const int x = r.x + r.w / 2, y = r.y + r.h / 2;
        MoveTo(x, y);
        Button(SDL_MOUSEBUTTONDOWN, x, y);
        Button(SDL_MOUSEBUTTONUP, x, y);
        MoveTo(0, 0);
    }
    void Type(std::uint16_t unicode)
    {
        Event e{};
        e.key.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = static_cast<SDLKey>(unicode);
        e.key.keysym.unicode = unicode;
        Send(e);
    }
    // The screen's topmost dialog of that name, or null.
    Dialog* Top(const std::string& name)
    {
        for (Actor* child : screen->GetChildren())
            if (auto* dialog = dynamic_cast<Dialog*>(child))
                if (dialog->GetName() == name && !dialog->IsStopping() && !dialog->IsDead())
                    return dialog;
        return nullptr;
    }
    std::string Text(Actor* actor)
    {
        auto* label = dynamic_cast<Label*>(actor);
        return label ? label->GetText() : "<no label>";
    }

    CardView* NewCardOnScreen(int player, int x, int y)
    {
        auto* card = new CardView(manager->GetPlayer(player));
        card->SetPosition(x, y);
        card->AddEventReceiver(listener);
        screen->AddChild(card, "");
        app->Pass();
        return card;
    }

    ChooseActivePlayerDialog* OpenChooser()
    {
        auto* dialog = new ChooseActivePlayerDialog();
        screen->StartDialog(dialog, true);
        app->Pass();
        return dialog;
    }

    std::unique_ptr<GameApp> app;
    Screen* screen = nullptr;
    CardListener* listener = nullptr;
    PlayerManager* manager = nullptr;
};

} // namespace

TEST_F(CardTest, TheCardShowsNameLootBallsSecretsStarsAndRank)
{
    RunLua("local p = Players[1] p.Name = 'ann' "
           "p.Game_Modes.Adventure = CreateGameModeTable() "
           "p.Game_Modes.Adventure.ballsLeft = 4 "
           "p.Game_Modes.Adventure.LevelRecords = { "
           "  Quay = { score = 60000, secret = 1, allLoot = 1 }, "
           "  Crates = { score = 40000, secret = 1 } } "
           "p.Game_Modes.Lab = CreateGameModeTable() "
           "p.Game_Modes.Lab.LevelRecords = { Lab1 = { score = 5500, secret = 1 } }");
    CardView* card = NewCardOnScreen(1, 100, 100);

    EXPECT_EQ("ann", Text(card->GetLabel(0)));
    EXPECT_EQ("$105,500", Text(card->GetChild("cardLootLabel", true)));
    EXPECT_EQ("4", Text(card->GetChild("cardBallsLabel", true)));
    EXPECT_EQ("3/61", Text(card->GetChild("cardSecretsLabel", true)));
    EXPECT_EQ("Complete: 3%", Text(card->GetLabel(4)));
    for (const char* shown :
         {"cardLootLabel", "cardBallsLabel", "cardSecretsLabel", "cardStarsLabel"})
        EXPECT_TRUE(card->GetChild(shown, true)->IsVisible()) << shown;
    for (int hidden : {1, 2, 3, 4})
        EXPECT_FALSE(card->GetLabel(hidden)->IsVisible()) << hidden;
    // allLoot 1 and two secrets over two levels: 1.5 stars.
    const int expectedStars[5] = {0, 2, 1, 1, 1};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(expectedStars[i],
                  card->GetChild("cardStar" + std::to_string(i + 1), true)->GetFrame())
            << i;
    // The rank counts the Adventure loot only: 100,000 makes a Student, shown, never written.
    EXPECT_EQ("the Student", Text(card->GetLabel(6)));
    EXPECT_EQ("Novice", Lua("Players[1].Game_Modes.Adventure.Rank"));
    EXPECT_EQ(1, card->GetRankPlate()->GetFrame());
    EXPECT_EQ("ZappoPlayer", Text(card->GetLabel(8)));
    // The card is as big as its highlight, which lies over the background.
    EXPECT_EQ(card->GetHighlight()->GetWidth(), card->GetWidth());
    EXPECT_EQ(card->GetHighlight()->GetHeight(), card->GetHeight());
}

TEST_F(CardTest, StrayValuesAmongADamagedCardsRecordsCountNothing)
{
    RunLua("local p = Players[1] p.Name = 'bo' "
           "p.Game_Modes.Adventure = CreateGameModeTable() "
           "p.Game_Modes.Adventure.LevelRecords = { "
           "  Quay = { score = 2500, secret = 1 }, Stray = 5, Flag = true, [3] = 'x' }");
    CardView* card = NewCardOnScreen(1, 100, 100);

    EXPECT_EQ("$2,500", Text(card->GetChild("cardLootLabel", true)));
    EXPECT_EQ("1/61", Text(card->GetChild("cardSecretsLabel", true)));
    EXPECT_EQ(1, manager->GetPlayer(1)->GetSumOfScores("Adventure", "LevelRecords", "secret"));
}

TEST_F(CardTest, BarsInACardsTextsAreShownAndNeverRun)
{
    RunLua("local p = Players[1] p.Name = '|RanName = 1|' "
           "p.Game_Modes.Adventure = CreateGameModeTable() "
           "p.Game_Modes.Adventure.Rank = '|RanRank = 1|'");
    CardView* card = NewCardOnScreen(1, 100, 100);
    EXPECT_EQ("|RanName = 1|", Text(card->GetLabel(0)));
    EXPECT_EQ("nil", Lua("RanName"));
    EXPECT_EQ("nil", Lua("RanRank"));
}

TEST_F(CardTest, TheRankFollowsTheLootAcrossTheConfiguredWinnings)
{
    RunLua("Players[1].Name = 'ann' Players[1].Game_Modes.Adventure = CreateGameModeTable()");
    CardView* card = NewCardOnScreen(1, 100, 100);
    const struct
    {
        int loot;
        const char* rank;
        int plate;
    } rows[] = {{0, "Novice", 0},       {49999, "Novice", 0},   {99999, "Novice", 0},
                {100000, "Student", 1}, {199999, "Student", 1}, {200000, "Whiz", 2},
                {300000, "Expert", 3},  {400000, "Pro", 4},     {500000, "Master", 5},
                {600000, "Champ", 6},   {799999, "Champ", 6},   {800000, "Legend", 7},
                {5000000, "Legend", 7}, {99999, "Novice", 0}};
    for (const auto& row : rows) {
        RunLua("Players[1].Game_Modes.Adventure.LevelRecords = { L = { score = " +
               std::to_string(row.loot) + " } }");
        card->Refresh();
        EXPECT_EQ(std::string("the ") + row.rank, Text(card->GetLabel(6))) << row.loot;
        // Shown, the rank is never written into the card.
        EXPECT_EQ("Novice", Lua("Players[1].Game_Modes.Adventure.Rank")) << row.loot;
        EXPECT_EQ(row.plate, card->GetRankPlate()->GetFrame()) << row.loot;
        EXPECT_EQ(row.rank, CardView::RankForLoot(row.loot));
    }
}

TEST_F(CardTest, AnEmptyCardClearsItsTextsAndShowsTheNovicePlate)
{
    RunLua("Players[1].Name = 'ann' Players[1].Game_Modes.Adventure = CreateGameModeTable() "
           "Players[1].Game_Modes.Adventure.LevelRecords = { L = { score = 900000 } }");
    CardView* card = NewCardOnScreen(1, 100, 100);
    EXPECT_EQ(7, card->GetRankPlate()->GetFrame());
    const std::string loot = Text(card->GetChild("cardLootLabel", true));

    card->SetPlayer(manager->GetPlayer(3));
    EXPECT_TRUE(card->IsEmpty());
    for (int i = 0; i <= 7; ++i)
        EXPECT_EQ("", Text(card->GetLabel(i))) << i;
    EXPECT_EQ(loot, Text(card->GetChild("cardLootLabel", true)));
    EXPECT_EQ(0, card->GetRankPlate()->GetFrame());
    // Shown, the empty card gains nothing.
    EXPECT_EQ("nil", Lua("Players[3].Game_Modes.Adventure"));
}

TEST_F(CardTest, HoverLightsTheCardAPressSinksItAndAReleaseOnItClicks)
{
    RunLua("Players[1].Name = 'ann'");
    CardView* card = NewCardOnScreen(1, 100, 100);
    SoundLog sounds;
    auto state = [&] { return std::string(card->GetCurrentState()->GetName()); };
    EXPECT_EQ("Active", state());
    EXPECT_FALSE(card->GetHighlight()->IsVisible());

    MoveTo(150, 150);
    EXPECT_EQ("Highlighted", state());
    EXPECT_TRUE(card->GetHighlight()->IsVisible());
    Button(SDL_MOUSEBUTTONDOWN, 150, 150);
    EXPECT_EQ("Pressed", state());
    EXPECT_EQ(Point<int>(2, 2), card->GetDrawOffset());
    EXPECT_EQ(1, sounds.Count("click.ogg"));
    Button(SDL_MOUSEBUTTONUP, 150, 150);
    EXPECT_EQ(1, listener->clicks);
    EXPECT_EQ("Highlighted", state());
    EXPECT_EQ(Point<int>(0, 0), card->GetDrawOffset());

    // Pressed, dragged out and released outside: no click, and the next entry only lights.
    Button(SDL_MOUSEBUTTONDOWN, 150, 150);
    MoveTo(20, 20);
    EXPECT_EQ("Active", state());
    EXPECT_FALSE(card->GetHighlight()->IsVisible());
    Button(SDL_MOUSEBUTTONUP, 20, 20);
    MoveTo(150, 150);
    EXPECT_EQ("Highlighted", state());
    EXPECT_EQ(1, listener->clicks);

    // Pressed, out and back in while held: pressed again, and the release clicks.
    Button(SDL_MOUSEBUTTONDOWN, 150, 150);
    MoveTo(20, 20);
    MoveTo(150, 150);
    EXPECT_EQ("Pressed", state());
    Button(SDL_MOUSEBUTTONUP, 150, 150);
    EXPECT_EQ(2, listener->clicks);

    // A disabled card neither lights up nor presses.
    MoveTo(20, 20);
    card->SetEnabled(false);
    MoveTo(150, 150);
    Button(SDL_MOUSEBUTTONDOWN, 150, 150);
    Button(SDL_MOUSEBUTTONUP, 150, 150);
    EXPECT_EQ("Active", state());
    EXPECT_EQ(2, listener->clicks);
}

TEST_F(CardTest, ACardShownUnderARestingPointerLightsUpWithoutMotion)
{
    int x = 0, y = 0;
    app->GetMousePosition(x, y);
    CardView* card = NewCardOnScreen(1, x - 20, y - 20);
    card->SetVisible(false, true);
    app->Pass(2);
    EXPECT_EQ(std::string("Active"), card->GetCurrentState()->GetName());
    card->SetVisible(true, true);
    app->Pass(2);
    EXPECT_EQ(std::string("Highlighted"), card->GetCurrentState()->GetName());
}

TEST_F(CardTest, SignInStartsOnCasualTakesNineCharactersAndSkillsKeepItOpen)
{
    RunLua("Players[1].Options['player.skill'] = nil");
    auto* dialog = new EnterNameAndSkillDialog("");
    screen->StartDialog(dialog, true);
    app->Pass();

    EXPECT_EQ("Please Sign In", dialog->GetTitle()->GetText());
    EXPECT_EQ("casual", Lua("Players[1].Options['player.skill']"));
    auto checked = [&](const char* name) {
        return dynamic_cast<RadioButton*>(dialog->GetSkillGrid()->GetChild(name, true))
            ->IsChecked();
    };
    EXPECT_TRUE(checked("casual"));
    EXPECT_FALSE(checked("kid"));
    EXPECT_EQ("Likes some fun and a bit of challenge", dialog->GetDescription()->GetText());

    for (char c : std::string("ann"))
        Type(static_cast<std::uint16_t>(c));
    EXPECT_EQ("ann", dialog->GetName());

    ClickOn(dialog->GetSkillGrid()->GetChild("gamer", true));
    EXPECT_EQ("gamer", Lua("Players[1].Options['player.skill']"));
    EXPECT_TRUE(checked("gamer"));
    EXPECT_FALSE(checked("casual"));
    EXPECT_EQ("Likes a real challenge", dialog->GetDescription()->GetText());
    EXPECT_EQ(dialog, Top("EnterNameAndSkillDialog"));

    // The buttons' shortcut letters are typed into the name; with Alt they act.
    for (char c : std::string("ckgo"))
        Type(static_cast<std::uint16_t>(c));
    EXPECT_EQ("annckgo", dialog->GetName());
    EXPECT_TRUE(checked("gamer"));
    Type('e');
    Type('x');
    EXPECT_EQ("annckgoex", dialog->GetName());
    Type('y');
    EXPECT_EQ("annckgoex", dialog->GetName());
    Event altK{};
    altK.key.type = SDL_KEYDOWN;
    altK.key.state = SDL_PRESSED;
    altK.key.keysym.sym = SDLK_k;
    altK.key.keysym.mod = KMOD_LALT;
    Send(altK);
    ButtonClickLatch() = true;
    altK.key.type = SDL_KEYUP;
    altK.key.state = SDL_RELEASED;
    Send(altK);
    EXPECT_EQ("kid", Lua("Players[1].Options['player.skill']"));
    EXPECT_EQ("annckgoex", dialog->GetName());

    ClickOn(dialog->GetChild("OkayButton"));
    EXPECT_EQ(nullptr, Top("EnterNameAndSkillDialog"));
}

TEST_F(CardTest, TheChooserShowsFourSlotsAndAClickMakesThatPlayerCurrent)
{
    RunLua("Players[2].Name = 'bob'");
    ChooseActivePlayerDialog* dialog = OpenChooser();
    const auto& cards = dialog->GetCards();
    ASSERT_EQ(4u, cards.size());
    EXPECT_EQ("Choose Player", dialog->GetTitle()->GetText());
    EXPECT_EQ(cards[0]->GetWidth() + 32, cards[1]->GetX() - cards[0]->GetX());
    EXPECT_EQ(2 * (cards[0]->GetHeight() / 2 + 8), cards[2]->GetY() - cards[0]->GetY());
    EXPECT_EQ(cards[1]->GetX(), cards[3]->GetX());
    EXPECT_EQ(cards[2]->GetY(), cards[3]->GetY());
    EXPECT_NE(nullptr, dialog->GetChild("OkayButton"));
    // The current player's card is the bright one.
    EXPECT_EQ(cards[0], dialog->GetSelectedCard());
    EXPECT_FALSE(cards[0]->GetDisabledOverlay()->IsVisible());
    for (int i = 1; i < 4; ++i)
        EXPECT_TRUE(cards[i]->GetDisabledOverlay()->IsVisible()) << i;

    listener->playerChanges = 0;
    ClickOn(cards[1]);
    EXPECT_EQ("bob", Lua("Players.current[1].Name"));
    EXPECT_EQ(cards[1], dialog->GetSelectedCard());
    EXPECT_TRUE(cards[0]->GetDisabledOverlay()->IsVisible());
    EXPECT_FALSE(cards[1]->GetDisabledOverlay()->IsVisible());
    EXPECT_EQ(1, listener->playerChanges);
    ClickOn(cards[1]);
    EXPECT_EQ(1, listener->playerChanges);

    // An empty slot opens the sign-in; cancelling it goes back to bob.
    ClickOn(cards[2]);
    Dialog* signIn = Top("EnterNameAndSkillDialog");
    ASSERT_NE(nullptr, signIn);
    ClickOn(signIn->GetChild("CancelButton"));
    EXPECT_EQ("bob", Lua("Players.current[1].Name"));
    EXPECT_EQ("nil", Lua("Players[3].Name"));
    EXPECT_EQ(cards[1], dialog->GetSelectedCard());
    EXPECT_EQ(dialog, Top("ChooseActivePlayerDialog"));

    // Rename offers the current name.
    ClickOn(dialog->GetChild("ChangeNameButton"));
    auto* rename = dynamic_cast<EnterNameAndSkillDialog*>(Top("EnterNameAndSkillDialog"));
    ASSERT_NE(nullptr, rename);
    EXPECT_EQ("bob", rename->GetName());
    ClickOn(rename->GetChild("CancelButton"));
    EXPECT_EQ("bob", Lua("Players[2].Name"));

    ClickOn(dialog->GetChild("OkayButton"));
    EXPECT_EQ(nullptr, Top("ChooseActivePlayerDialog"));
}

TEST_F(CardTest, CancellingTheSignInAfterAClearBringsThePlayerBackIntoItsSlot)
{
    RunLua("Players[2].Name = 'bob' Players[2].Game_Modes.Adventure = CreateGameModeTable() "
           "Players[2].Game_Modes.Adventure.LevelRecords = { L = { score = 123 } } "
           "Players.current[1] = Players[2]");
    const int guid = manager->GetPlayer(2)->GetGuid();
    ChooseActivePlayerDialog* dialog = OpenChooser();

    ClickOn(dialog->GetChild("ClearPlayerButton"));
    EXPECT_EQ("nil", Lua("Players[2].Name"));
    EXPECT_EQ("bob", Lua("LastClearedPlayer.Name"));
    EXPECT_TRUE(dialog->GetCards()[1]->IsEmpty());
    Dialog* signIn = Top("EnterNameAndSkillDialog");
    ASSERT_NE(nullptr, signIn);
    ClickOn(signIn->GetChild("CancelButton"));

    EXPECT_EQ("bob", Lua("Players[2].Name"));
    EXPECT_EQ(guid, manager->GetPlayer(2)->GetGuid());
    EXPECT_EQ("123", Lua("Players[2].Game_Modes.Adventure.LevelRecords.L.score"));
    EXPECT_EQ("bob", Lua("Players.current[1].Name"));
    EXPECT_EQ("nil", Lua("LastClearedPlayer"));
    EXPECT_EQ("bob", Text(dialog->GetCards()[1]->GetLabel(0)));
    EXPECT_EQ(dialog, Top("ChooseActivePlayerDialog"));
}

TEST_F(CardTest, AConfirmedSignInAfterAClearForgetsTheClearedPlayer)
{
    RunLua("Players[2].Name = 'bob' Players.current[1] = Players[2]");
    ChooseActivePlayerDialog* dialog = OpenChooser();
    ClickOn(dialog->GetChild("ClearPlayerButton"));
    Dialog* signIn = Top("EnterNameAndSkillDialog");
    ASSERT_NE(nullptr, signIn);
    // The sign-in's owner names the new player when it closes with okay.
    RunLua("Players[2].Name = 'cy'");
    ClickOn(signIn->GetChild("OkayButton"));
    EXPECT_EQ("nil", Lua("LastClearedPlayer"));
    EXPECT_EQ(nullptr, Top("ChooseActivePlayerDialog"));

    // A later cancelled sign-in of an empty slot brings nobody back.
    dialog = OpenChooser();
    ClickOn(dialog->GetCards()[2]);
    signIn = Top("EnterNameAndSkillDialog");
    ASSERT_NE(nullptr, signIn);
    ClickOn(signIn->GetChild("CancelButton"));
    EXPECT_EQ("nil", Lua("Players[3].Name"));
    EXPECT_EQ("cy", Lua("Players[2].Name"));
    EXPECT_EQ("cy", Lua("Players.current[1].Name"));
}

TEST_F(CardTest, ClosingTheChooserAlsoForgetsAClearedPlayer)
{
    RunLua("LastClearedPlayer = CreatePlayer({ Name = 'old' })");
    ChooseActivePlayerDialog* dialog = OpenChooser();
    ClickOn(dialog->GetChild("OkayButton"));
    EXPECT_EQ("nil", Lua("LastClearedPlayer"));
}

TEST_F(CardTest, ACancelledFirstSignInNamesThePlayerAfterItsSlot)
{
    RunLua("Players[1].Name = nil");
    ChooseActivePlayerDialog* dialog = OpenChooser();
    ClickOn(dialog->GetChild("ChangeNameButton"));
    Dialog* signIn = Top("EnterNameAndSkillDialog");
    ASSERT_NE(nullptr, signIn);
    ClickOn(signIn->GetChild("CancelButton"));
    EXPECT_EQ("Player 1", Lua("Players[1].Name"));
    EXPECT_EQ("Player 1", Text(dialog->GetCards()[0]->GetLabel(0)));
}

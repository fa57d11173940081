// A click that comes with the pointer's move onto what it clicks: touch screens, remote
// desktops, tablets and accessibility tools move and press at once, so the move, the
// press and the release reach the program in one pass. They are offered to the
// application in that order before its posted events (the entry the move made) are
// delivered, as the event phase does, and what lies under the press acts: a letter's
// start, a menu button, a skill button, the name box, a cell of the options' grid, a
// player card.
#include "GameApp.h"

#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/ChooseActivePlayerDialog.h"
#include "screens/EnterNameAndSkillDialog.h"
#include "screens/OptionsDialog.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "screens/StartLevelDialog.h"
#include "support/engine/InputEvents.h"
#include "support/engine/PassHarness.h"
#include "views/CardView.h"
#include "widgets/Button.h"
#include "widgets/RadioButton.h"
#include "widgets/RadioButtonGrid.h"
#include "widgets/TextBox.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

using namespace bbtest;

namespace {

Point<int> Centre(Actor* actor)
{
    const SDL_Rect r = actor->GetScreenRect();
    return Point<int>(r.x + r.w / 2, r.y + r.h / 2);
}

class MoveAndClickTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        app->SwitchTo("Elsewhere");
        screen = app->Screens()->GetScreen("Elsewhere");
    }
    void TearDown() override { app.reset(); }

    // One pass whose input is the events, in order: the pass's click is allowed, the
    // events go through the application's own handling, then the pass runs (its posted
    // events, timers and tick).
    void Batch(std::initializer_list<Event> events)
    {
        ButtonClickLatch() = true;
        for (const Event& event : events)
            app->OnEvent(event);
        app->Pass();
    }
    // The pointer rests in the corner, away from every widget, for a few passes.
    void RestAway()
    {
        Batch({MouseMotion(1, 1)});
        app->Pass(2);
    }
    // Moves from the corner onto the actor and clicks its centre, all in one pass.
    void MoveAndClick(Actor* actor)
    {
        ASSERT_NE(nullptr, actor);
        RestAway();
        const Point<int> c = Centre(actor);
        Batch({MouseMotion(c.x, c.y), MouseDown(c.x, c.y), MouseUp(c.x, c.y)});
    }
    template <typename T> T* OpenOnScreen(T* dialog)
    {
        screen->StartDialog(dialog, true);
        app->Pass(2);
        return dialog;
    }
    static bool Checked(Actor* grid, const char* name)
    {
        auto* button = dynamic_cast<RadioButton*>(grid->GetChild(name, true));
        return button && button->IsChecked();
    }
    static std::string Skill()
    {
        RunLua("__skill = tostring(Players.current[1].Options['player.skill'])");
        return GetGlobalLuaState()->GetGlobal("__skill").GetString();
    }

    std::unique_ptr<GameApp> app;
    Screen* screen = nullptr;
};

} // namespace

TEST_F(MoveAndClickTest, TheLettersStartButtonStartsTheLevel)
{
    app->OpenLetter();
    ArcadeGameScreen* game = app->GameScreen();
    auto letterOpen = [&]() -> StartLevelDialog* {
        for (Dialog* dialog : game->GetDialogs())
            if (auto* letter = dynamic_cast<StartLevelDialog*>(dialog))
                if (!letter->IsStopping() && !letter->IsDead())
                    return letter;
        return nullptr;
    };
    Button* start = nullptr;
    for (int i = 0; i < 300 && !(start && start->IsEnabled()); ++i) {
        app->Pass();
        if (StartLevelDialog* letter = letterOpen())
            start = dynamic_cast<Button*>(letter->Actor::GetChild("StartButton", true));
    }
    ASSERT_TRUE(start && start->IsEnabled());
    MoveAndClick(start);
    app->Pass(3);
    EXPECT_EQ(nullptr, letterOpen());
    ASSERT_NE(nullptr, game->GetGameLogic());
    EXPECT_NE("ShowStartLevelDialog", game->GetGameLogic()->GetStateName());
}

TEST_F(MoveAndClickTest, TheMenusMapButtonOpensTheMapAndAPressDraggedOffDoesNot)
{
    auto* menu = new ArcadeMenuScreen();
    app->Screens()->AddScreen(menu);
    app->Screens()->AddScreen(new Screen("SplashScreen", "", nullptr));
    app->Screens()->AddScreen(new Screen("MapScreen", "", nullptr));
    auto current = [&] { return app->Screens()->GetCurrentScreen()->GetName(); };
    app->Show("MenuScreen");
    Actor* map = menu->GetChild("MapButton", false);
    ASSERT_NE(nullptr, map);

    // Pressed where the pointer rests, then moved off and let go in one pass: no click.
    const Point<int> c = Centre(map);
    Batch({MouseMotion(c.x, c.y)});
    Batch({MouseDown(c.x, c.y)});
    Batch({MouseMotion(1, 1), MouseUp(1, 1)});
    app->Pass(2);
    EXPECT_EQ("MenuScreen", current());

    MoveAndClick(map);
    app->Pass(2);
    EXPECT_EQ("MapScreen", current());
}

TEST_F(MoveAndClickTest, TheSignInsSkillButtonsTakeTheClickWhereItLands)
{
    RunLua("Players.current[1].Options['player.skill'] = nil");
    auto* signIn = OpenOnScreen(new EnterNameAndSkillDialog(""));
    Actor* grid = signIn->GetSkillGrid();
    ASSERT_EQ("casual", Skill());

    MoveAndClick(grid->GetChild("gamer", true));
    EXPECT_EQ("gamer", Skill());
    EXPECT_TRUE(Checked(grid, "gamer"));

    // The last move went onto "casual", the press and release land on "kid": "kid" wins.
    const Point<int> casual = Centre(grid->GetChild("casual", true));
    const Point<int> kid = Centre(grid->GetChild("kid", true));
    RestAway();
    Batch({MouseMotion(casual.x, casual.y), MouseDown(kid.x, kid.y), MouseUp(kid.x, kid.y)});
    EXPECT_EQ("kid", Skill());
    EXPECT_FALSE(Checked(grid, "casual"));

    // The pointer rests on "gamer", lit; a press and release on "casual" without a move.
    const Point<int> gamer = Centre(grid->GetChild("gamer", true));
    Batch({MouseMotion(gamer.x, gamer.y)});
    app->Pass();
    Batch({MouseDown(casual.x, casual.y), MouseUp(casual.x, casual.y)});
    EXPECT_EQ("casual", Skill());
    EXPECT_TRUE(Checked(grid, "casual"));
    EXPECT_FALSE(Checked(grid, "gamer"));
}

TEST_F(MoveAndClickTest, TheSignInsNameBoxTakesTheClickAtItsLeftEdge)
{
    auto* signIn = OpenOnScreen(new EnterNameAndSkillDialog("ann"));
    TextBox* box = signIn->GetTextBox();
    ASSERT_EQ(3u, box->GetCursor());
    RestAway();
    const SDL_Rect r = box->GetScreenRect();
    const int x = r.x + 1, y = r.y + r.h / 2;
    Batch({MouseMotion(x, y), MouseDown(x, y), MouseUp(x, y)});
    EXPECT_EQ(0u, box->GetCursor());
    Batch({KeyDown(SDLK_j, KMOD_NONE, 'j')});
    EXPECT_EQ("jann", signIn->GetName());
}

TEST_F(MoveAndClickTest, ACellOfTheOptionsGridTakesTheClick)
{
    auto* options = OpenOnScreen(new OptionsDialog());
    Actor* grid = options->Actor::GetChild("Grid", false);
    ASSERT_NE(nullptr, grid);
    ASSERT_FALSE(Checked(grid, "kid"));
    MoveAndClick(grid->GetChild("kid", true));
    EXPECT_TRUE(Checked(grid, "kid"));
}

TEST_F(MoveAndClickTest, APlayerCardTakesTheClick)
{
    RunLua("Players[2].Name = 'bob'");
    auto* chooser = OpenOnScreen(new ChooseActivePlayerDialog());
    ASSERT_EQ(4u, chooser->GetCards().size());
    MoveAndClick(chooser->GetCards()[1]);
    EXPECT_EQ(chooser->GetCards()[1], chooser->GetSelectedCard());
    RunLua("__name = tostring(Players.current[1].Name)");
    EXPECT_EQ(std::string("bob"), GetGlobalLuaState()->GetGlobal("__name").GetString());
}

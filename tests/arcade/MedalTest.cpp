// Medals: their texts and goals come from the constants by game type, category and level,
// they answer the pointer as a three-state button that reports MAKO_MEDALCLICK, and the
// menu answers a click with the medal card, which names the medal, tells the next goal and
// plays a fanfare that grows with the level.
#include "GameApp.h"

#include "core/Event.h"
#include "players/Player.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/MedalDialog.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/InputEvents.h"
#include "views/Medal.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <memory>

using namespace bbtest;

namespace {

Event MouseButton(bool down, int x, int y)
{
    return bbtest::MouseButton(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, x, y);
}

class MedalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        RunLua("Players[1].Name = 'Ann'");
        menu = new ArcadeMenuScreen();
        app->Screens()->AddScreen(menu);
        app->Screens()->AddScreen(new Screen("SplashScreen", "", nullptr));
        app->SwitchTo("MenuScreen");
        app->Pass();
    }
    void TearDown() override { app.reset(); }

    Medal* AddMedal(const std::string& category, int level)
    {
        auto* medal = new Medal(category, "medal" + category + ".png", "Arcade", menu);
        medal->SetLevel(level, Medal::LevelName(level));
        medal->SetPosition(100, 100);
        menu->AddChild(medal, "");
        return medal;
    }
    MedalDialog* OpenDialog() const
    {
        for (Actor* child : menu->GetChildren())
            if (auto* dialog = dynamic_cast<MedalDialog*>(child))
                if (dialog->IsVisible() && !dialog->IsDead())
                    return dialog;
        return nullptr;
    }
    // Hands an event to the medal and delivers what it posted.
    void Send(Medal* medal, const Event& event)
    {
        medal->OnEvent(event);
        app->DispatchPosted();
    }

    std::unique_ptr<GameApp> app;
    ArcadeMenuScreen* menu = nullptr;
};

} // namespace

TEST_F(MedalTest, LevelsNameTheirGoalsAndTextsFromTheConstants)
{
    struct Row
    {
        int level;
        const char* name;
        int goal;
        const char* picture;
    };
    const Row rows[] = {{0, "Bronze", 25000, "25K"},
                        {1, "Silver", 50000, "50K"},
                        {2, "Gold", 100000, "100K"},
                        {3, "Platinum", 250000, "250K"},
                        {4, "No More Left!", 0, ""},
                        {5, "", 0, ""},
                        {-1, "", 0, ""}};
    for (const Row& row : rows)
        EXPECT_EQ(row.name, Medal::LevelName(row.level)) << row.level;

    Medal* medal = AddMedal("Score", 2);
    EXPECT_EQ("Score", medal->GetRibbonText());
    EXPECT_EQ("Points", medal->GetUnits());
    for (const Row& row : rows)
        if (row.level >= 0 && row.level < 4) {
            EXPECT_EQ(row.goal, medal->GetGoal(row.name)) << row.name;
        }
    EXPECT_EQ(100000, medal->GetGoal());

    // The value on the picture; a second level replaces the picture and its label.
    auto value = [&] {
        return static_cast<Label*>(medal->Actor::GetChild("MedalValueLabel", true))->GetText();
    };
    EXPECT_EQ("100K", value());
    medal->SetLevel(3, "Platinum");
    EXPECT_EQ("250K", value());
    int pictures = 0;
    for (Actor* child : medal->GetChildren())
        pictures += child->GetName() == "MedalMedal";
    EXPECT_EQ(1, pictures);

    // A number stored where a text is wanted is written out plainly.
    EXPECT_EQ("6", Medal::ConstantText("medal.Arcade.Word.Bronze.Goal"));
    EXPECT_EQ("6L", Medal::ConstantText("medal.Arcade.Word.Bronze.Name"));
    EXPECT_EQ("", Medal::ConstantText("medal.Arcade.Nothing.Name"));
}

TEST_F(MedalTest, PointerMovesItThroughItsStatesAndOnlyAReleaseOnItClicks)
{
    SoundLog sounds;
    Medal* medal = AddMedal("Percent", 0);
    const int x = medal->GetX();
    const int inside = medal->GetX() + 2;
    const int y = medal->GetY() + 2;

    Send(medal, MouseMotion(inside, y));
    EXPECT_EQ("Highlighted", medal->GetStateName());
    Send(medal, MouseButton(true, inside, y));
    EXPECT_EQ("Pressed", medal->GetStateName());
    EXPECT_EQ(x + 1, medal->GetX());
    EXPECT_EQ(1, sounds.Count("click2.ogg"));

    // Leaving while held and releasing outside clears the press: coming back only lights.
    Send(medal, MouseMotion(0, 0));
    EXPECT_EQ("Active", medal->GetStateName());
    EXPECT_EQ(x, medal->GetX());
    Send(medal, MouseButton(false, 0, 0));
    EXPECT_FALSE(medal->IsPressed());
    Send(medal, MouseMotion(inside, y));
    EXPECT_EQ("Highlighted", medal->GetStateName());
    EXPECT_EQ(nullptr, OpenDialog());

    // Leaving while held and coming back returns to the press; the release clicks.
    Send(medal, MouseButton(true, inside, y));
    Send(medal, MouseMotion(0, 0));
    Send(medal, MouseMotion(inside + 1, y));
    EXPECT_EQ("Pressed", medal->GetStateName());
    Send(medal, MouseButton(false, inside + 1, y));
    EXPECT_EQ("Highlighted", medal->GetStateName());
    EXPECT_EQ(x, medal->GetX());

    MedalDialog* dialog = OpenDialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(app->GamePauseAsked());
    Medal* shown = dialog->GetMedal();
    EXPECT_NE(medal, shown);
    EXPECT_EQ("Percent", shown->GetName());
    EXPECT_EQ("Bronze", shown->GetStoredLevelName());
    EXPECT_EQ("Arcade", shown->GetGameType());
    EXPECT_EQ("A Medal For Ann!", dialog->GetTitle()->GetText());
    EXPECT_EQ(nullptr, dialog->GetRecipientLabel());
    EXPECT_EQ(1, sounds.Count("Pickup_Magic33.ogg"));

    // The medal on the card neither lights up nor presses.
    const int shownX = dialog->GetX() + shown->GetX() + 2;
    const int shownY = dialog->GetY() + shown->GetY() + 2;
    Send(shown, MouseMotion(shownX, shownY));
    Send(shown, MouseButton(true, shownX, shownY));
    EXPECT_NE("Pressed", shown->GetStateName());
}

TEST_F(MedalTest, AMoveOntoItAndAClickInOnePassClicksIt)
{
    Medal* medal = AddMedal("Score", 1);
    const int x = medal->GetX() + 2;
    const int y = medal->GetY() + 2;
    for (const Event& event :
         {MouseMotion(x, y), MouseButton(true, x, y), MouseButton(false, x, y)})
        medal->OnEvent(event);
    app->DispatchPosted();
    EXPECT_EQ("Highlighted", medal->GetStateName());
    EXPECT_NE(nullptr, OpenDialog());
}

TEST_F(MedalTest, TheCardNamesTheMedalTheNextGoalAndTheRecipient)
{
    struct Row
    {
        const char* category;
        int level;
        const char* medalLine;
        const char* nextLine;
    };
    const Row rows[] = {
        {"Score", 2, "A Gold Score Medal!", "The Next Medal Is:\n Platinum At 250000 Points"},
        {"Word", 0, "A Bronze Word Medal!", "The Next Medal Is:\n Silver At 12 Levels"},
        {"Percent", 3, "A Platinum Percent Medal!", "There are no\n more medals."},
    };
    for (const Row& row : rows) {
        auto* medal = new Medal(row.category, std::string("medal") + row.category + ".png",
                                "Arcade", nullptr);
        medal->SetLevel(row.level, Medal::LevelName(row.level));
        MedalDialog dialog("Ann", medal, " ");
        EXPECT_EQ(row.medalLine, dialog.GetMedalLabel()->GetText());
        EXPECT_EQ(row.nextLine, dialog.GetNextLabel()->GetText());
        EXPECT_EQ(medal->GetY(),
                  dialog.GetMedalLabel()->GetY() + dialog.GetMedalLabel()->GetHeight());
        EXPECT_FALSE(medal->IsClickable());
    }

    auto* medal = new Medal("Score", "medalScore.png", "Arcade", nullptr);
    medal->SetLevel(0, "Bronze");
    MedalDialog empty("Ann", medal, "");
    ASSERT_NE(nullptr, empty.GetRecipientLabel());
    EXPECT_EQ("For ,\nyou are awarded a", empty.GetRecipientLabel()->GetText());
    EXPECT_EQ(empty.GetMedalLabel()->GetY(),
              empty.GetRecipientLabel()->GetY() + empty.GetRecipientLabel()->GetHeight());

    using Sounds = std::vector<std::string>;
    EXPECT_EQ(Sounds({"Pickup_Secret03.ogg", "claps.ogg"}), MedalDialog::FanfareFor("Platinum"));
    EXPECT_EQ(Sounds({"Pickup_Magic35.ogg", "claps.ogg"}), MedalDialog::FanfareFor("Gold"));
    EXPECT_EQ(Sounds(), MedalDialog::FanfareFor("No More Left!"));
}

// The in-game menu, the options and the credits as the game shows them: Space resumes as
// "resume" does, the options open over the menu with the skill locked (and unlocked
// anywhere else), close back to the still-open menu and leave the music where it was, and
// their controls change the volumes, the screen mode, the acceleration and the skill.
#include "GameApp.h"

#include "core/Config.h"
#include "core/EventQueue.h"
#include "logic/ArcadeGameLogic.h"
#include "players/Player.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/CreditsDialog.h"
#include "screens/Dialog.h"
#include "screens/GameStart.h"
#include "screens/OptionsDialog.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"
#include "widgets/Button.h"
#include "widgets/Label.h"
#include "widgets/RadioButton.h"
#include "widgets/Scrollbar.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class InGameDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<bbtest::GameApp>();
        screen = app->GameScreen();
        app->StartGame();
        app->ClickLeft();
        app->Pass(30);
        if (!Sound::IsMusicActive())
            Sound::InitDirectMusic(true);
    }
    void TearDown() override { app.reset(); }

    void SendKey(SDLKey key) { app->SendKey(key); }
    // A click on the named button of the dialog, as the button reports it.
    void ClickOn(Dialog* dialog, const std::string& name)
    {
        Actor* button = dialog->Actor::GetChild(name, true);
        ASSERT_NE(nullptr, button) << name;
        dialog->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(button)));
        app->DispatchPosted();
    }
    // The open dialogs of that name.
    int Open(const std::string& name) const
    {
        int n = 0;
        for (Dialog* dialog : screen->GetDialogs())
            n += dialog->GetName() == name && !dialog->IsStopping();
        return n;
    }
    Dialog* Top() const { return screen->IsDialogVisible() ? screen->GetTopDialog("") : nullptr; }
    std::string State() const { return gLogic ? gLogic->GetStateName() : ""; }
    static int Volume() { return Sound::GetDirectMusic()->GetMasterVolume(); }
    static bool SkillLocked(Dialog* options, const char* skill)
    {
        auto* button = dynamic_cast<Button*>(options->Actor::GetChild(skill, true));
        return button && !button->IsEnabled();
    }

    std::unique_ptr<bbtest::GameApp> app;
    ArcadeGameScreen* screen = nullptr;
};

} // namespace

TEST_F(InGameDialogTest, SpaceInTheMenuResumesExactlyAsResumeDoes)
{
    ASSERT_EQ("Playing", State());
    const int before = Volume();
    ArcadeGameLogic* game = gLogic;
    for (const bool bySpace : {false, true}) {
        SendKey(SDLK_ESCAPE);
        ASSERT_EQ(1, Open("InGameMenuDialog"));
        app->Pass(2);
        ASSERT_EQ("PausedPlaying", State());
        if (bySpace)
            SendKey(SDLK_SPACE);
        else
            ClickOn(Top(), "ReturnButton");
        EXPECT_EQ(0, Open("InGameMenuDialog")) << bySpace;
        EXPECT_EQ(before, Volume()) << bySpace;
        EXPECT_FALSE(app->GamePauseAsked()) << bySpace;
        EXPECT_EQ(game, gLogic) << "neither restarted nor left";
        app->Pass(74);
        EXPECT_EQ("Playing", State()) << bySpace;
    }
}

TEST_F(InGameDialogTest, OptionsOpenOverTheMenuWithTheSkillLockedAndCloseBackToIt)
{
    SendKey(SDLK_ESCAPE);
    Dialog* menu = Top();
    ASSERT_NE(nullptr, menu);
    ClickOn(menu, "OptionsButton");
    Dialog* options = Top();
    ASSERT_NE(nullptr, options);
    EXPECT_EQ("OptionsDialog", options->GetName());
    EXPECT_EQ(1, Open("InGameMenuDialog")) << "the menu stays open underneath";
    for (const char* skill : {"kid", "casual", "gamer"})
        EXPECT_TRUE(SkillLocked(options, skill)) << skill;

    ClickOn(options, "OkayButton");
    EXPECT_EQ(0, Open("OptionsDialog"));
    ASSERT_EQ(menu, Top());
    EXPECT_TRUE(app->GamePauseAsked());
    EXPECT_EQ("PausedPlaying", State());

    // Opened anywhere else, the skill can be changed.
    std::unique_ptr<OptionsDialog> elsewhere(new OptionsDialog());
    for (const char* skill : {"kid", "casual", "gamer"})
        EXPECT_FALSE(SkillLocked(elsewhere.get(), skill)) << skill;
}

TEST_F(InGameDialogTest, VisitingTheOptionsFromTheMenuLeavesTheMusicWhereItWas)
{
    const int playing = Volume();
    SendKey(SDLK_ESCAPE);
    Dialog* menu = Top();
    const int inMenu = Volume();
    ASSERT_EQ(playing - 1000, inMenu);
    for (int visit = 0; visit < 10; ++visit) {
        ClickOn(menu, "OptionsButton");
        ASSERT_EQ("OptionsDialog", Top()->GetName());
        ClickOn(Top(), "OkayButton");
        ASSERT_EQ(menu, Top());
        EXPECT_EQ(inMenu, Volume()) << "visit " << visit + 1;
    }
    ClickOn(menu, "ReturnButton");
    EXPECT_EQ(playing, Volume());

    // Moving the music slider sets the configured level; closing the menu brings the music
    // to exactly that level.
    SendKey(SDLK_ESCAPE);
    menu = Top();
    ClickOn(menu, "OptionsButton");
    auto* slider = dynamic_cast<Scrollbar*>(Top()->Actor::GetChild("MusicVolumeScrollbar", true));
    ASSERT_NE(nullptr, slider);
    slider->ChooseValue(60, true);
    app->DispatchPosted();
    ClickOn(Top(), "OkayButton");
    ClickOn(menu, "ReturnButton");
    EXPECT_EQ(Sound::MusicMasterVolume(60), Volume());
}

TEST_F(InGameDialogTest, TheOptionsSetVolumesScreenModeAccelerationAndSkill)
{
    Config* config = Config::GetCurrent();
    ASSERT_NE(nullptr, config);
    Player* player = app->CurrentPlayer();
    ASSERT_NE(nullptr, player);
    player->GetOptionsTable().SetNil("player.skill");
    std::unique_ptr<OptionsDialog> options(new OptionsDialog());
    screen->StartDialog(options.get(), true);
    Dialog* dialog = options.release();

    // A card without a skill shows "casual" and keeps none.
    auto* casual = dynamic_cast<RadioButton*>(dialog->Actor::GetChild("casual", true));
    ASSERT_NE(nullptr, casual);
    EXPECT_TRUE(casual->IsChecked());
    EXPECT_TRUE(player->GetOptionsTable()["player.skill"].IsNil());

    // The sliders start at the configured volumes and write what they are moved to.
    auto* music = dynamic_cast<Scrollbar*>(dialog->Actor::GetChild("MusicVolumeScrollbar", true));
    auto* effects =
        dynamic_cast<Scrollbar*>(dialog->Actor::GetChild("SoundEffectsScrollbar", true));
    ASSERT_TRUE(music && effects);
    EXPECT_EQ(config->GetNumber("music_volume"), music->GetValue().ToDouble());
    music->ChooseValue(40, true);
    effects->ChooseValue(15, true);
    app->DispatchPosted();
    EXPECT_EQ(40, config->GetNumber("music_volume"));
    EXPECT_EQ(15, config->GetNumber("sfx_volume"));
    // A change from elsewhere moves the slider.
    config->Set("sfx_volume", Variant(70.0));
    app->DispatchPosted();
    EXPECT_EQ(70, effects->GetValue().ToDouble());

    // The screen mode switches at the next pass; the label follows the configuration.
    auto* mode = dynamic_cast<Label*>(dialog->GetChild("DisplayLabel"));
    ASSERT_NE(nullptr, mode);
    EXPECT_EQ("Window", mode->GetText());
    ClickOn(dialog, "FullScreenButton");
    EXPECT_TRUE(app->TakeDisplayToggle());
    EXPECT_EQ(dialog, Top()) << "the dialog stays open";
    config->SetBoolean("full_screen", true);
    app->DispatchPosted();
    EXPECT_EQ("Full Screen", mode->GetText());

    // Acceleration flips and is written to the configuration; the dialog stays.
    auto* accel = dynamic_cast<Label*>(dialog->GetChild("3DAccelerationLabel"));
    ASSERT_NE(nullptr, accel);
    const bool wasOn = app->IsHWAccelEnabled();
    EXPECT_EQ(wasOn ? "On" : "Off", accel->GetText());
    ClickOn(dialog, "3DAccelerationButton");
    EXPECT_EQ(!wasOn, app->IsHWAccelEnabled());
    EXPECT_EQ(!wasOn ? "On" : "Off", accel->GetText());
    EXPECT_EQ(dialog, Top());

    // A skill button files the skill on the player's card and marks it.
    ClickOn(dialog, "gamer");
    EXPECT_EQ("gamer", player->GetSkill());
    EXPECT_TRUE(dynamic_cast<RadioButton*>(dialog->Actor::GetChild("gamer", true))->IsChecked());
    EXPECT_FALSE(casual->IsChecked());

    ClickOn(dialog, "OkayButton");
    EXPECT_EQ(0, Open("OptionsDialog"));
}

TEST_F(InGameDialogTest, TheCreditsShowTheConfiguredText)
{
    std::unique_ptr<OptionsDialog> options(new OptionsDialog());
    screen->StartDialog(options.get(), true);
    Dialog* dialog = options.release();
    ClickOn(dialog, "CreditsButton");
    Dialog* credits = Top();
    ASSERT_NE(nullptr, credits);
    ASSERT_EQ("CreditsDialog", credits->GetName());
    EXPECT_EQ("Credits", credits->GetTitle()->GetText());
    auto* text = dynamic_cast<Label*>(credits->GetChild("CreditsText"));
    ASSERT_NE(nullptr, text);
    const std::string configured = Config::GetCurrent()->GetString("credits");
    EXPECT_EQ(configured, text->GetText());
    EXPECT_NE(configured.find("the Bumperlux developers"), std::string::npos);
    ClickOn(credits, "OkayButton");
    EXPECT_EQ(dialog, Top()) << "back to the options";
}

// Every text the game ships, shown where the game shows it and in the longest forms it
// can take (every level title and land, prompt, letter, tip, artefact and rank, and a
// name of nine wide letters), keeps inside its button, plate, paper or the window and off
// every other text. Each place is built once and its texts go through it in turn.
#include "GameApp.h"
#include "TextLayout.h"

#include "core/Config.h"
#include "core/Utility.h"
#include "display/Font.h"
#include "display/Image.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "players/GameDataIO.h"
#include "players/Player.h"
#include "screens/ArcadeArtifactScreen.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeLabScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/ArcadeSplashScreen.h"
#include "screens/Artefact.h"
#include "screens/ArtifactDialog.h"
#include "screens/ChooseActivePlayerDialog.h"
#include "screens/CreditsDialog.h"
#include "screens/EndLevelBonusDialog.h"
#include "screens/EnterNameAndSkillDialog.h"
#include "screens/GameOverDialog.h"
#include "screens/GameTips.h"
#include "screens/InGameMenuDialog.h"
#include "screens/Marquee.h"
#include "screens/MedalDialog.h"
#include "screens/OptionsDialog.h"
#include "screens/ScreenManager.h"
#include "screens/StartLevelDialog.h"
#include "views/CardView.h"
#include "views/Medal.h"
#include "widgets/Button.h"
#include "widgets/IBeam.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <string>
#include <vector>

using bbtest::TextLayout;

namespace {

const char* const kWideName = "WWWWWWWWW";

// The constant configuration's string entries whose keys start with the prefix.
std::vector<std::string> ConfigKeys(const std::string& prefix)
{
    std::vector<std::string> keys;
    for (const std::string& key : bbtest::TableKeys("ConstConfig"))
        if (key.compare(0, prefix.size(), prefix) == 0 &&
            GetGlobalLuaState()->GetGlobal("ConstConfig")[key.c_str()].IsString())
            keys.push_back(key);
    return keys;
}

class LayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<bbtest::GameApp>();
        app->CurrentPlayer()->GetTable().SetString("Name", kWideName);
        // The paper keeps text right of its red margin line (at 60) and short of the rules'
        // right end, the artefact card inside its inset line.
        layout.SetMargins("bkgLetter.png", 64, 8, 30, 14);
        layout.SetMargins("bkgArtifactCard.png", 14, 14, 22, 22);
    }
    void TearDown() override { app.reset(); }

    // Full screen: the overlay's window buttons stand over the place, and nothing may lie
    // under them or touch them.
    void AddWindowButtons()
    {
        Actor* buttons = app->Screens()->GetGlobalOverlay()->GetChild("WindowButtons", false);
        ASSERT_NE(nullptr, buttons);
        for (const char* name : {"MinimizeButton", "RestoreButton", "CloseButton"})
            layout.AddObstacle(buttons->GetChild(name, false), name);
    }
    // The play field between the side walls, below the top wall: the bottom line's texts
    // keep inside it.
    static SDL_Rect Field() { return RectOf(16, 36, 608, 444); }
    void HoldBottomLine(ArcadeGameLogic& logic)
    {
        for (Label* label : {logic.m_LevelLabel, logic.m_EpisodeLabel, logic.m_Marquee->GetLabel()})
            layout.Hold(label, "the field between the walls", Field());
    }

    // Gathers what the root shows and reports each fault as a failure of the place, and a
    // place that shows fewer texts than it must.
    void Check(const Actor* root, const std::string& place, std::size_t atLeast = 2)
    {
        layout.Collect(root);
        HoldCardTexts();
        Report(place, atLeast);
    }
    // A player card's texts keep inside the card, clear of its rim.
    void HoldCardTexts()
    {
        for (const bbtest::ShownText& text : std::vector<bbtest::ShownText>(layout.Texts()))
            for (const Actor* up = text.label->GetParent(); up; up = up->GetParent())
                if (const auto* card = dynamic_cast<const CardView*>(up)) {
                    layout.Hold(text.label, "the card", CardFace(*card));
                    break;
                }
    }
    // The card's face inside its rim.
    static SDL_Rect CardFace(const CardView& card)
    {
        const SDL_Rect r = card.GetScreenRect();
        return RectOf(r.x + kCardRim, r.y + kCardRim, r.w - 2 * kCardRim, r.h - 2 * kCardRim);
    }
    static constexpr int kCardRim = 5;
    void Report(const std::string& place, std::size_t atLeast = 2)
    {
        EXPECT_GE(layout.Texts().size(), atLeast) << place << " shows too few texts";
        for (const std::string& fault : layout.Faults(place))
            ADD_FAILURE() << fault;
        layout.Clear();
    }
    // The names of the levels that ship.
    std::vector<std::string> LevelNames() { return bbtest::TableKeys("Levels"); }
    Level* LevelNamed(const std::string& name)
    {
        return LevelManager::GetLevelManager()->GetLevel(name);
    }
    static SDL_Rect RectOf(int x, int y, int w, int h)
    {
        SDL_Rect r;
        r.x = Sint16(x), r.y = Sint16(y), r.w = Uint16(w), r.h = Uint16(h);
        return r;
    }
    // Starts the dialog on the screen, checks it (a letter's lines on its rules too), and
    // puts it away.
    void CheckDialog(Screen* screen, Dialog* dialog, const std::string& place, bool letter = false)
    {
        screen->StartDialog(dialog, false);
        Check(dialog, place);
        if (letter)
            ExpectOnRules(*dialog, place);
        screen->StopDialog(dialog);
        app->Pass();
    }
    // The written lines of a letter stand on the paper's rules: the paper names its rules,
    // the handwriting's lines are as far apart as the rules, and each line's foot is on one.
    // A note written smaller than the greeting to fit is let off.
    static void ExpectOnRules(const Dialog& letter, const std::string& place)
    {
        const Image* paper = letter.GetImage();
        ASSERT_NE(nullptr, paper) << place;
        const LuaPlus::LuaObject metadata = paper->GetMetadata();
        ASSERT_TRUE(metadata.IsTable()) << place << ": the paper has no metadata";
        const LuaPlus::LuaObject rules = metadata["rules"];
        ASSERT_TRUE(rules.IsTable() && rules["top"].IsNumber() && rules["pitch"].IsNumber())
            << place << ": the paper names no rules";
        const int top = rules["top"].GetInteger(), pitch = rules["pitch"].GetInteger();
        const auto* greeting = dynamic_cast<const Label*>(letter.Actor::GetChild("toLabel", false));
        ASSERT_NE(nullptr, greeting) << place;
        for (const char* name : {"toLabel", "noteLabel", "fromLabel"}) {
            const auto* line = dynamic_cast<const Label*>(letter.Actor::GetChild(name, false));
            ASSERT_NE(nullptr, line) << place << ": " << name;
            const Font* font = line->GetFont();
            if (line->GetText().empty() ||
                font->GetPointSize() < greeting->GetFont()->GetPointSize())
                continue;
            EXPECT_EQ(pitch, font->GetTextSize("Ag").y)
                << place << ": the lines of " << name << " and the rules are not as far apart";
            const int foot = line->GetY() + font->GetAscent() - top;
            EXPECT_EQ(0, (foot % pitch + pitch) % pitch)
                << place << ": " << name << " stands " << (foot % pitch + pitch) % pitch
                << " px below a rule";
        }
    }

    std::unique_ptr<bbtest::GameApp> app;
    TextLayout layout{640, 480};
};

// The widest of the texts as the label draws them.
std::string Widest(Label* label, const std::vector<std::string>& texts)
{
    std::string widest;
    int width = -1;
    for (const std::string& text : texts) {
        label->SetText(text, true);
        const int w = TextLayout::InkOf(*label).w;
        if (w > width)
            width = w, widest = text;
    }
    return widest;
}

} // namespace

TEST_F(LayoutTest, ThePlayScreenKeepsTitleLandAndPromptsApart)
{
    app->StartGame();
    ArcadeGameLogic* logic = gLogic;
    ASSERT_NE(nullptr, logic);
    Actor* play = logic->m_Marquee->GetParent();
    std::vector<std::string> titles, lands = {"The Lab", "Cape Horn"}, messages;
    for (const std::string& name : LevelNames()) {
        Level* level = LevelNamed(name);
        if (level)
            titles.push_back(level->GetFullName().empty() ? name : level->GetFullName());
    }
    for (int episode = 1; episode <= GameProgress::EpisodeCount(); ++episode)
        lands.push_back(GameProgress::EpisodeName(episode));
    for (const std::string& key : ConfigKeys("prompt."))
        if (EndsWith(key, ".show") || EndsWith(key, ".check"))
            messages.push_back(bbtest::ConfigText(key));
    for (const char* text :
         {"Click To Start - Space Bar For Menu", "Ball Locked!", "ARCADE bonus awarded!",
          "99 hits! Paddle Power Up!", "Paddle Power Maximized!"})
        messages.push_back(text);
    ASSERT_GT(titles.size(), 50u);
    ASSERT_GT(messages.size(), 5u);
    logic->m_LevelLabel->SetVisible(true, true);
    logic->m_EpisodeLabel->SetVisible(true, true);
    logic->m_ScoreLabel->SetText("Loot: 9,999,999", true);
    // Each text against the widest of the others: the three labels move independently.
    const std::string widestTitle = Widest(logic->m_LevelLabel, titles);
    const std::string widestLand = Widest(logic->m_EpisodeLabel, lands);
    const std::string widestMessage = Widest(logic->m_Marquee->GetLabel(), messages);
    auto show = [&](const std::string& title, const std::string& land, const std::string& text) {
        logic->m_LevelLabel->SetText(title, true);
        logic->m_EpisodeLabel->SetText(land, true);
        logic->m_Marquee->SetMessage(text, 0);
        HoldBottomLine(*logic);
        Check(play, "play screen", 4);
    };
    for (const std::string& title : titles)
        show(title, widestLand, widestMessage);
    for (const std::string& land : lands)
        show(widestTitle, land, widestMessage);
    for (const std::string& message : messages)
        show(widestTitle, widestLand, message);
}

TEST_F(LayoutTest, APromptLeavesWithThePlayThatShowedIt)
{
    // Game over straight from play (the last level lost, the quit key), and a prompt a
    // paddle still in the field raised after that: the letter opens over an empty marquee.
    for (const char* end : {"LevelCompleted", "AllBallsLost", "GameOver"}) {
        app->StartGame();
        ArcadeGameLogic* logic = gLogic;
        ASSERT_NE(nullptr, logic);
        logic->ShowMessage(bbtest::ConfigText("prompt.click.show"), 0);
        logic->SetState(end);
        EXPECT_EQ("", logic->m_Marquee->GetMessage()) << end;
        if (std::string(end) == "GameOver") {
            logic->ShowMessage(bbtest::ConfigText("prompt.click.show"), 0);
            logic->SetState("ShowGameOverDialog");
            EXPECT_EQ("", logic->m_Marquee->GetMessage()) << "game-over letter";
        }
        app->SwitchTo("Elsewhere");
        app->Pass(2);
    }
}

TEST_F(LayoutTest, EveryArtefactCardKeepsItsTextsOnTheCard)
{
    Screen* screen = app->Screens()->GetScreen("Elsewhere");
    auto* card = new ArtifactDialog();
    screen->StartDialog(card, false);
    const std::vector<std::string> artefacts = bbtest::TableKeys("Artifacts");
    ASSERT_GT(artefacts.size(), 10u);
    for (const std::string& name : artefacts) {
        card->ShowArtefact(name);
        Check(card, "artefact card " + name);
    }
    screen->StopDialog(card);
    app->Pass();
}

TEST_F(LayoutTest, EveryLetterAndTipKeepsToThePaper)
{
    Screen* screen = app->Screens()->GetScreen("Elsewhere");
    for (const std::string& name : LevelNames()) {
        const Level* level = LevelNamed(name);
        if (!level || level->GetNoteText().empty())
            continue;
        // The letter as it reads once its level is ready.
        auto* letter = new StartLevelDialog(kWideName, level->GetNoteText(), level->GetFromText(),
                                            level->GetFullName());
        letter->RevealFinalText();
        CheckDialog(screen, letter, "letter of " + name, true);
    }
    CheckDialog(screen,
                new GameOverDialog(kWideName, bbtest::ConfigText("gameOverNoteText"),
                                   bbtest::ConfigText("gameOverFromText"),
                                   bbtest::ConfigText("gameOverTitleText")),
                "game-over letter", true);
    std::vector<std::string> tips;
    for (const char* prefix : {"gametip.", "help.", "finished."})
        for (const std::string& key : ConfigKeys(prefix))
            if (!EndsWith(key, ".Title") && !EndsWith(key, ".Character"))
                tips.push_back(key);
    ASSERT_GT(tips.size(), 15u);
    for (const std::string& tip : tips) {
        ASSERT_TRUE(ShowGameTip(screen, tip, "Congrats!", true)) << tip;
        for (Dialog* letter : screen->GetDialogs()) {
            Check(letter, "tip " + tip);
            ExpectOnRules(*letter, "tip " + tip);
            screen->StopDialog(letter);
        }
        app->Pass();
    }
}

TEST_F(LayoutTest, TheTallyFitsEveryLevelTitle)
{
    Screen* screen = app->Screens()->GetScreen("Elsewhere");
    auto* tally = new EndLevelBonusDialog("Mission", 9999999);
    screen->StartDialog(tally, false);
    Label* mission = dynamic_cast<Label*>(tally->Actor::GetChild("missionLabel", true));
    ASSERT_NE(nullptr, mission);
    for (const std::string& name : LevelNames()) {
        const Level* level = LevelNamed(name);
        if (!level)
            continue;
        mission->SetText(level->GetFullName() + " Complete", true);
        mission->UpdateAlignment();
        Check(tally, "tally of " + name);
    }
    // The amount the tally counts up reads on the paper as well as body text would.
    auto* amount = dynamic_cast<Label*>(tally->Actor::GetChild("scoreLabel", true));
    ASSERT_NE(nullptr, amount);
    amount->SetText("$2,775", true);
    amount->SetVisible(true, true);
    EXPECT_GE(TextLayout::Contrast(*amount, *tally), 4.5) << "the amount on the paper";
    screen->StopDialog(tally);
    app->Pass();
}

TEST_F(LayoutTest, ACardKeepsAWideNameOffItsRank)
{
    Screen* screen = app->Screens()->GetScreen("Elsewhere");
    Player* player = app->CurrentPlayer();
    auto* card = new CardView(player);
    card->SetPosition(20, 150);
    screen->AddChild(card, "");
    for (int rank = 1; rank <= CardView::kRankCount; ++rank) {
        const std::string name = bbtest::ConfigText("rank." + std::to_string(rank));
        player->GetGameModeTable("Adventure").SetString("Rank", name.c_str());
        for (const std::string& who : {std::string(kWideName), std::string("Player 2")}) {
            player->GetTable().SetString("Name", who.c_str());
            card->Refresh();
            // Drawn smaller, but still to be read.
            EXPECT_GE(card->GetLabel(0)->GetFont()->GetPointSize(), 12) << who;
            layout.Collect(card);
            HoldCardTexts();
            Report("card of " + who + ", rank " + name);
        }
    }
}

TEST_F(LayoutTest, ACardPlayedWithoutSavingSaysSoClearOfItsStars)
{
    Player* player = app->CurrentPlayer();
    auto* card = new CardView(player);
    card->SetPosition(20, 150);
    app->Screens()->GetScreen("Elsewhere")->AddChild(card, "");
    const auto starsAt = [card] {
        std::vector<std::pair<int, int>> places;
        for (int i = 1; i <= 5; ++i) {
            const Actor* star = card->GetChild("cardStar" + std::to_string(i), true);
            places.emplace_back(star ? star->GetScreenRect().x : -1,
                                star ? star->GetScreenRect().y : -1);
        }
        return places;
    };
    const auto stars = starsAt();
    {
        // The cards' folder is never looked at: the card's file is only held.
        GameDataIO io("/nonexistent/cards/");
        io.HoldFile(io.GetCardPath(player->GetIndex()), "held for the layout");
        for (const std::string& who : {std::string(kWideName), std::string("Al")}) {
            player->GetTable().SetString("Name", who.c_str());
            card->Refresh();
            ASSERT_EQ(GameDataIO::kUnsavedNotice, card->GetLabel(5)->GetText());
            layout.Collect(card);
            HoldCardTexts();
            Report("held card of " + who, 3);
            EXPECT_EQ(stars, starsAt()) << "the stars keep their places";
        }
    }
    // Saved again, the card shows its caption over the stars where they were.
    card->Refresh();
    EXPECT_EQ("", card->GetLabel(5)->GetText());
    const auto* caption = dynamic_cast<const Label*>(card->GetChild("cardStarsLabel", true));
    ASSERT_NE(nullptr, caption);
    EXPECT_EQ("star average", caption->GetText());
    EXPECT_EQ(stars, starsAt());
}

TEST_F(LayoutTest, TheFirstStartMenuKeepsTheMissingFindInItsPanel)
{
    Player* player = app->CurrentPlayer();
    player->GetGameModeTable("Adventure").SetNil("latestArtifact");
    Screen* menu = app->ShowWithoutItsTip(new ArcadeMenuScreen(), "MenuScreen");
    // The find's recess in the menu's backdrop.
    const SDL_Rect panel = RectOf(450, 110, 180, 250);
    layout.Collect(menu);
    layout.Hold(dynamic_cast<Label*>(menu->GetChild("artifactName", false)), "the find's panel",
                panel);
    layout.AddPicture(menu->GetChild("artifact", false), "the missing find", panel);
    Report("first-start menu");
    for (const std::string& artefact : bbtest::TableKeys("Artifacts")) {
        player->GetGameModeTable("Adventure").SetString("latestArtifact", artefact.c_str());
        static_cast<ArcadeMenuScreen*>(menu)->Update();
        layout.Collect(menu);
        layout.Hold(dynamic_cast<Label*>(menu->GetChild("artifactName", false)), "the find's panel",
                    panel);
        layout.AddPicture(menu->GetChild("artifact", false), artefact, panel);
        Report("menu with " + artefact);
    }
}

TEST_F(LayoutTest, TheLabListAndNotepadFitEveryLabLevel)
{
    app->Screens()->AddScreen(new ArcadeLabScreen());
    LuaPlus::LuaObject records =
        app->CurrentPlayer()->GetGameModeTable("Adventure").CreateTable("LevelRecords");
    records.CreateTable("Welcome").SetInteger("secret", 60);
    app->SwitchTo("LabScreen");
    Screen* lab = app->Screens()->GetScreen("LabScreen");
    for (Dialog* dialog : lab->GetDialogs())
        lab->StopDialog(dialog);
    app->Pass();
    for (int i = 1; i <= ArcadeLabScreen::kLevelCount; ++i) {
        auto* button =
            dynamic_cast<Button*>(lab->GetChild("buttonLevel" + std::to_string(i), true));
        ASSERT_NE(nullptr, button);
        lab->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(button)));
        app->DispatchPosted();
        layout.Collect(lab);
        // The secrets a level needs are written on the note beside its plaque.
        for (int j = 1; j <= ArcadeLabScreen::kLevelCount; ++j) {
            Actor* row = lab->GetChild("buttonLevel" + std::to_string(j), true);
            ASSERT_NE(nullptr, row) << j;
            layout.Hold(dynamic_cast<Label*>(row->GetChild("labelSecretsNeeded", true)),
                        "the sticky note", row->GetParent()->GetScreenRect());
        }
        Report("lab with level " + std::to_string(i));
    }
}

// The lab as the first screen after start, with its tip letter and without: the plaques'
// names were laid out before any of them had been shown, and read as on every later visit.
TEST_F(LayoutTest, TheLabOnItsFirstVisitReadsAsOnEveryLaterOne)
{
    app->CurrentPlayer()
        ->GetGameModeTable("Adventure")
        .CreateTable("LevelRecords")
        .CreateTable("Welcome")
        .SetInteger("secret", 60);
    app->Screens()->AddScreen(new ArcadeLabScreen());
    app->SwitchTo("LabScreen");
    app->Pass();
    Screen* lab = app->Screens()->GetScreen("LabScreen");
    // The secrets a level needs are written on the note beside its plaque.
    auto holdNotes = [&] {
        for (int j = 1; j <= ArcadeLabScreen::kLevelCount; ++j) {
            Actor* row = lab->GetChild("buttonLevel" + std::to_string(j), true);
            ASSERT_NE(nullptr, row) << j;
            layout.Hold(dynamic_cast<Label*>(row->GetChild("labelSecretsNeeded", true)),
                        "the sticky note", row->GetParent()->GetScreenRect());
        }
    };
    ASSERT_FALSE(lab->GetDialogs().empty()) << "the lab's tip letter does not show";
    layout.Collect(lab->GetChild("LevelListView10", false));
    holdNotes();
    Report("the lab on its first visit, under its tip", 4);
    for (Dialog* dialog : lab->GetDialogs())
        lab->StopDialog(dialog);
    app->Pass();
    layout.Collect(lab);
    holdNotes();
    Report("the lab on its first visit");

    // Away and back: the second visit lays out the same.
    std::vector<SDL_Rect> first;
    for (int i = 1; i <= ArcadeLabScreen::kLevelCount; ++i)
        if (auto* button =
                dynamic_cast<Button*>(lab->GetChild("buttonLevel" + std::to_string(i), true));
            button && button->IsVisible() && button->GetLabel())
            first.push_back(TextLayout::InkOf(*button->GetLabel()));
    app->SwitchTo("Elsewhere");
    app->SwitchTo("LabScreen");
    for (Dialog* dialog : lab->GetDialogs())
        lab->StopDialog(dialog);
    app->Pass();
    std::vector<SDL_Rect> second;
    for (int i = 1; i <= ArcadeLabScreen::kLevelCount; ++i)
        if (auto* button =
                dynamic_cast<Button*>(lab->GetChild("buttonLevel" + std::to_string(i), true));
            button && button->IsVisible() && button->GetLabel())
            second.push_back(TextLayout::InkOf(*button->GetLabel()));
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(TextLayout::Describe(first[i]), TextLayout::Describe(second[i]))
            << "plaque " << i + 1;
}

TEST_F(LayoutTest, TheMapFitsEveryLandAndLevelInFullScreen)
{
    app->Screens()->AddScreen(new ArcadeMapScreen());
    auto* map = static_cast<ArcadeMapScreen*>(app->Screens()->GetScreen("MapScreen"));
    LuaPlus::LuaObject adventure = app->CurrentPlayer()->GetGameModeTable("Adventure");
    // Full screen: what the window shows and the window buttons over its corner.
    app->SetFullScreen(true);
    app->SwitchTo("MapScreen");
    for (Dialog* dialog : map->GetDialogs())
        map->StopDialog(dialog);
    app->Pass();
    int shown = 0;
    // Every level selected with all of them open, then as the newest open level, which
    // carries the red seal beside its caption.
    for (bool newest : {false, true})
        for (int episode = 1; episode <= GameProgress::EpisodeCount(); ++episode)
            for (int level = 1; !LevelManager::GetLevelNameAt(episode, level).empty(); ++level) {
                adventure.SetInteger("EpisodeUnlocked",
                                     newest ? episode : GameProgress::EpisodeCount());
                adventure.SetInteger("LevelUnlocked", newest ? level : 99);
                adventure.SetInteger("EpisodeSelected", episode);
                adventure.SetInteger("LevelSelected", level);
                map->Update();
                AddWindowButtons();
                Check(map, "map at " + LevelManager::GetLevelNameAt(episode, level), 6);
                // The plaques of one list read alike: their captions share one size.
                std::set<int> sizes;
                for (const char* name : {"LevelListView5", "LevelListView6"}) {
                    const Actor* list = map->GetChild(name, true);
                    ASSERT_NE(nullptr, list) << name;
                    for (const Actor* child :
                         list->IsVisible() ? list->GetChildren() : std::list<Actor*>())
                        if (auto* plaque = dynamic_cast<const Button*>(child))
                            if (plaque->IsVisible() && !plaque->GetLabel()->GetText().empty())
                                sizes.insert(plaque->GetLabel()->GetFont()->GetPointSize());
                }
                EXPECT_EQ(1u, sizes.size()) << "episode " << episode;
                ++shown;
            }
    EXPECT_GT(shown, 100);
}

TEST_F(LayoutTest, TheFindsShowEveryArtefactsNameUnderIt)
{
    Screen* finds = app->ShowWithoutItsTip(new ArcadeArtifactScreen(), "ArtifactScreen");
    auto* right = dynamic_cast<Button*>(finds->GetChild("RightButton", false));
    ASSERT_NE(nullptr, right);
    // Stolen first, then every one found.
    for (bool found : {false, true}) {
        if (found)
            app->SendKey(SDLK_BACKSLASH, KMOD_LCTRL | KMOD_LALT);
        for (std::size_t turn = 0; turn < bbtest::TableKeys("Artifacts").size(); ++turn) {
            Check(finds,
                  std::string(found ? "finds" : "stolen finds") + ", turn " + std::to_string(turn));
            finds->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(right)));
            app->DispatchPosted();
        }
    }
}

TEST_F(LayoutTest, TheMenusDialogsAndMedalsFitTheirPlates)
{
    for (int i = 1; i <= 4; ++i)
        bbtest::RunLua("Players[" + std::to_string(i) + "].Name = '" + kWideName + "'");
    app->Screens()->AddScreen(new ArcadeMenuScreen());
    Screen* menu = app->ShowWithoutItsTip(new ArcadeSplashScreen(), "MenuScreen");
    Check(menu, "main menu", 8);
    CheckDialog(menu, new InGameMenuDialog(), "in-game menu");
    CheckDialog(menu, new OptionsDialog(), "options");
    CheckDialog(menu, new CreditsDialog(), "credits");
    CheckDialog(menu, new EnterNameAndSkillDialog(kWideName), "sign-in");
    CheckDialog(menu, new ChooseActivePlayerDialog(), "player chooser");
    for (const std::string& key : ConfigKeys("medal.Arcade.")) {
        if (!EndsWith(key, ".Units"))
            continue;
        const std::string category = key.substr(13, key.size() - 13 - 6);
        for (int level = 0; level < 4; ++level) {
            auto* medal = new Medal(category, "medal" + category + ".png", "Arcade", menu);
            medal->SetLevel(level, Medal::LevelName(level));
            CheckDialog(menu, new MedalDialog(kWideName, medal, " "),
                        "medal " + category + " " + Medal::LevelName(level));
        }
    }
    app->SwitchTo("SplashScreen");
    Screen* splash = app->Screens()->GetScreen("SplashScreen");
    for (int i = 0; i < 400 && splash->GetStateName() != "Loaded"; ++i)
        app->Pass();
    Check(splash, "splash", 1);
}

TEST_F(LayoutTest, TheNameFieldKeepsWhatIsTypedAndItsCaretInsideTheBox)
{
    Screen* menu = app->ShowWithoutItsTip(new ArcadeMenuScreen(), "MenuScreen");
    auto* signIn = new EnterNameAndSkillDialog("");
    menu->StartDialog(signIn, false);
    TextBox* box = signIn->GetTextBox();
    ASSERT_NE(nullptr, box);
    auto key = [&](SDLKey sym, unsigned unicode) {
        Event event{};
        event.key.type = SDL_KEYDOWN;
        event.key.keysym.sym = sym;
        event.key.keysym.unicode = static_cast<Uint16>(unicode);
        box->OnEvent(event);
    };
    auto check = [&](const std::string& what) {
        layout.Collect(signIn);
        layout.AddPicture(box->GetCaret(), "the caret", box->GetScreenRect());
        Report("sign-in, " + what, 1);
    };
    // The widest letter and the narrowest, typed one by one past the limit, then the caret
    // walked back to the start of the line.
    for (char letter : {'W', 'i', 'M'}) {
        for (int typed = 1; typed <= 16; ++typed) {
            key(static_cast<SDLKey>(std::tolower(letter)), static_cast<unsigned char>(letter));
            check(std::to_string(typed) + " of " + letter + " typed");
        }
        EXPECT_LE(box->GetText().size(), std::size_t(EnterNameAndSkillDialog::kMaxNameLength));
        for (std::size_t left = 0; left < box->GetText().size(); ++left)
            key(SDLK_LEFT, 0);
        check(std::string("the caret at the start of the ") + letter + "s");
        while (!box->GetText().empty() && box->GetCursor() < box->GetText().size())
            key(SDLK_DELETE, 127);
    }
    menu->StopDialog(signIn);
    app->Pass();
}

TEST_F(LayoutTest, PlayInFullScreenKeepsClearOfTheWindowButtons)
{
    app->SetFullScreen(true);
    app->StartGame();
    ArcadeGameLogic* logic = gLogic;
    ASSERT_NE(nullptr, logic);
    Actor* play = logic->m_Marquee->GetParent();
    // Paused under the in-game menu: the window buttons stand over the play.
    app->SendKey(SDLK_SPACE);
    app->Pass();
    ASSERT_FALSE(app->GameScreen()->GetDialogs().empty());
    logic->m_ScoreLabel->SetText("Loot: 9,999,999", true);
    logic->m_BallsLabel->SetText("99", true);
    logic->m_LevelLabel->SetVisible(true, true);
    logic->m_EpisodeLabel->SetVisible(true, true);
    logic->m_LevelLabel->SetText("Crates on the Quay", true);
    logic->m_EpisodeLabel->SetText("Madagascar", true);
    for (int seconds : {0, 3 * 60 + 15, 9 * 60 + 59, 59 * 60 + 59, 99 * 60 + 59}) {
        logic->m_TimeLabel->SetText(FormatMinutesSeconds(seconds), true);
        layout.Collect(play);
        AddWindowButtons();
        HoldBottomLine(*logic);
        // The top row's small pictures (the letter tiles left of the loot, the ball before
        // the count of balls) keep clear of its texts.
        for (const Actor* child : play->GetChildren())
            if (!dynamic_cast<const Label*>(child) && child->GetImage() && child->IsVisible() &&
                child->GetScreenRect().y < 30 && child->GetWidth() < 100)
                layout.AddObstacle(child, child->GetImageName());
        Report("play clock at " + FormatMinutesSeconds(seconds), 5);
    }
}

TEST_F(LayoutTest, TheTextsOverThePlayFieldReadAgainstWhatLiesUnderThem)
{
    app->StartGame();
    ArcadeGameLogic* logic = gLogic;
    ASSERT_NE(nullptr, logic);
    logic->m_LevelLabel->SetVisible(true, true);
    logic->m_EpisodeLabel->SetVisible(true, true);
    logic->m_LevelLabel->SetText("Crates on the Quay", true);
    logic->m_EpisodeLabel->SetText("Madagascar", true);
    logic->m_ScoreLabel->SetText("Loot: 9,999,999", true);
    logic->m_TimeLabel->SetText("03:15", true);
    const std::vector<Label*> texts = {logic->m_LevelLabel,          logic->m_EpisodeLabel,
                                       logic->m_Marquee->GetLabel(), logic->m_ScoreLabel,
                                       logic->m_BallsLabel,          logic->m_TimeLabel};
    // The lava below the bottom line moves: every picture of its loop.
    for (const char* message :
         {"Click To Start - Space Bar For Menu", "Click To Swing The Paddle!"}) {
        logic->m_Marquee->SetMessage(message, 0);
        for (int pass = 0; pass < 8; ++pass) {
            app->Pass();
            for (Label* text : texts)
                EXPECT_GE(TextLayout::ContrastOver(*text, *app->GameScreen()), 4.5)
                    << '"' << text->GetText() << "\" at pass " << pass;
        }
    }
}

TEST_F(LayoutTest, TheNameBoxHoldsNineOfAnyLetterAtOneSize)
{
    Screen* menu = app->ShowWithoutItsTip(new ArcadeMenuScreen(), "MenuScreen");
    auto* signIn = new EnterNameAndSkillDialog("");
    menu->StartDialog(signIn, false);
    TextBox* box = signIn->GetTextBox();
    ASSERT_NE(nullptr, box);
    const int size = box->GetLabel()->GetFont()->GetPointSize();
    const int limit = EnterNameAndSkillDialog::kMaxNameLength;
    auto type = [&](unsigned unicode) {
        Event event{};
        event.key.type = SDL_KEYDOWN;
        event.key.keysym.sym = static_cast<SDLKey>(std::tolower(static_cast<int>(unicode)));
        event.key.keysym.unicode = static_cast<Uint16>(unicode);
        box->OnEvent(event);
    };
    // Every printable letter of the keyboard, as many as the box takes and one more: all
    // of them are taken at the box's one size, and the tenth is not.
    for (unsigned letter = 33; letter < 127; ++letter) {
        if (!TextBox::IsAcceptedCharacter(letter))
            continue;
        for (int typed = 0; typed <= limit; ++typed)
            type(letter);
        const std::string shown(static_cast<std::size_t>(limit), static_cast<char>(letter));
        EXPECT_EQ(shown, box->GetText()) << "typing " << static_cast<char>(letter);
        EXPECT_EQ(size, box->GetLabel()->GetFont()->GetPointSize())
            << "nine of " << static_cast<char>(letter) << " drawn smaller";
        for (int left = 0; left < limit; ++left)
            type(SDLK_BACKSPACE);
        ASSERT_EQ("", box->GetText());
    }
    // The box shows its limit: nine of the widest letter fill it, with no room for a tenth.
    for (int typed = 0; typed < limit; ++typed)
        type('W');
    const int oneW = box->GetLabel()->GetFont()->GetTextSize("W").x;
    EXPECT_LT(box->GetWidth() - TextLayout::InkOf(*box->GetLabel()).w, oneW);
    menu->StopDialog(signIn);
    app->Pass();
}

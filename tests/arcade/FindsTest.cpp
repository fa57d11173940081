// The finds: the carousel's arithmetic over rings of every size, and the screen that shows
// the adventure's artefacts (found first, then the stolen ones) through it.
#include "GameApp.h"
#include "ScreenProbe.h"

#include "core/Event.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "screens/ArcadeArtifactScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/Artefact.h"
#include "screens/ArtifactCarousel.h"
#include "screens/Dialog.h"
#include "screens/ScreenManager.h"
#include "screens/StartLevelDialog.h"
#include "support/engine/FieldWorld.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace bbtest;

namespace {

// The entries the three slots show at a position (-1 for an empty slot).
std::vector<int> Slots(int position, int total)
{
    std::vector<int> entries;
    for (int slot = 0; slot < ArtifactCarousel::kSlots; ++slot)
        entries.push_back(ArtifactCarousel::EntryAt(position, slot, total));
    return entries;
}

} // namespace

TEST(ArtifactCarouselTest, EverySlotStaysInRangeAndShortRingsLeaveSurplusSlotsEmpty)
{
    using V = std::vector<int>;
    struct Row
    {
        int position, total;
        V slots;
        int right, left;
    };
    const Row rows[] = {
        {0, 0, V{-1, -1, -1}, 0, 0},
        {5, 0, V{-1, -1, -1}, 0, 0},
        {0, 1, V{0, -1, -1}, 0, 0},
        {0, 2, V{0, 1, -1}, 1, 1},
        {1, 2, V{1, 0, -1}, 0, 0},
        {0, 3, V{0, 1, 2}, 1, 2},
        {0, 10, V{0, 1, 2}, 1, 9},
        {8, 10, V{8, 9, 0}, 9, 7},
        {9, 10, V{9, 0, 1}, 0, 8},
        // A position left over from a longer ring comes back into range.
        {12, 10, V{2, 3, 4}, 3, 1},
        {-1, 10, V{9, 0, 1}, 0, 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "position " << row.position << " of " << row.total);
        EXPECT_EQ(row.slots, Slots(row.position, row.total));
        EXPECT_EQ(row.right, ArtifactCarousel::TurnRight(row.position, row.total));
        EXPECT_EQ(row.left, ArtifactCarousel::TurnLeft(row.position, row.total));
    }
    // A full turn either way comes back to the start.
    int position = 0;
    for (int i = 0; i < 10; ++i)
        position = ArtifactCarousel::TurnLeft(position, 10);
    EXPECT_EQ(0, position);
}

namespace {

const char* const kTenArtefacts[] = {
    "artifactScream.jpg", "artifactLighthouse.jpg", "artifactCondor.jpg", "artifactCapitol.jpg",
    "artifactGeyser.jpg", "artifactBaker.jpg",      "artifactScarab.jpg", "artifactLemur.jpg",
    "artifactSledge.jpg", "artifactKite.jpg"};

class FindsTest : public ::testing::Test, protected ScreenProbe
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        app->Screens()->AddScreen(new Screen("MenuScreen", "", nullptr));
        app->Screens()->AddScreen(new Screen("MapScreen", "", nullptr));
        finds = new ArcadeArtifactScreen();
        app->Screens()->AddScreen(finds);
        Probe(app.get(), finds);
        Adventure().SetNil("LevelRecords");
        // The finds' tip letter has been read (its own test shows it).
        app->CurrentPlayer()->GetOptionsTable().SetBoolean("gametip.finds.shown", true);
    }
    void TearDown() override
    {
        // The levels table HideArtefacts replaced goes back, with its compiling metatable.
        if (!m_PackLevels.IsNil())
            GetGlobalLuaState()->GetGlobals().SetObject("Levels", m_PackLevels);
        app.reset();
    }

    // The Adventure of a player who has played it.
    LuaPlus::LuaObject Adventure() { return app->CurrentPlayer()->MakeGameModeTable("Adventure"); }

    // The first `count` adventure levels (in level order) hide one artefact each; no other
    // level hides one.
    void HideArtefacts(int count)
    {
        // Copies of the pack's levels without their artefacts, so that games still start.
        if (m_PackLevels.IsNil())
            m_PackLevels = GetGlobalLuaState()->GetGlobal("Levels");
        RunLua("local copies = {} "
               "for name, level in pairs(Levels or {}) do "
               "  local copy = {} "
               "  if type(level) == 'table' then for k, v in pairs(level) do copy[k] = v end end "
               "  copy.artefact = nil copies[name] = copy "
               "end "
               "Levels = copies");
        const char* levels[] = {"Welcome", "Crates",   "FallingGold", "LottaLoot", "ScreamForHelp",
                                "Condor",  "Terraces", "CloudForest", "Altiplano", "SunGate"};
        for (int i = 0; i < count; ++i)
            RunLua(std::string("Levels.") + levels[i] + " = Levels." + levels[i] +
                   " or {} Levels." + levels[i] + ".artefact = { name = \"" + kTenArtefacts[i] +
                   "\" }");
    }
    void Found(const char* level, const char* artefact)
    {
        LuaPlus::LuaObject table = Adventure();
        LuaPlus::LuaObject records = table["LevelRecords"];
        if (!records.IsTable())
            records = table.CreateTable("LevelRecords");
        records.CreateTable(level).SetString("artifact", artefact);
    }
    void Open() { app->SwitchTo("ArtifactScreen"); }

    Artefact* Slot(int i)
    {
        return dynamic_cast<Artefact*>(finds->GetChild("artifact" + std::to_string(i), true));
    }
    // The slot's label as one line (long titles wrap), or "<hidden>".
    std::string Text(int i)
    {
        auto* label =
            dynamic_cast<Label*>(finds->GetChild("artifact" + std::to_string(i) + "Name", true));
        if (!label)
            return "<no label>";
        if (!label->IsVisible())
            return "<hidden>";
        std::string text = label->GetText();
        std::replace(text.begin(), text.end(), '\n', ' ');
        return text;
    }
    std::vector<std::string> Texts() { return {Text(1), Text(2), Text(3)}; }
    void Click(const std::string& name)
    {
        Object* button = finds->GetChild(name, true);
        ASSERT_NE(nullptr, button) << name;
        EXPECT_TRUE(finds->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, button)));
        app->DispatchPosted();
    }
    bool Current(const char* name) const
    {
        return app->Screens()->GetCurrentScreen() == app->Screens()->GetScreen(name);
    }
    Dialog* OpenDialog(const char* name) const
    {
        for (Actor* child : finds->GetChildren()) {
            auto* dialog = dynamic_cast<Dialog*>(child);
            if (dialog && dialog->GetName() == name && dialog->IsVisible() && !dialog->IsDead())
                return dialog;
        }
        return nullptr;
    }

    std::unique_ptr<GameApp> app;
    LuaPlus::LuaObject m_PackLevels; // the levels table before HideArtefacts
    ArcadeArtifactScreen* finds = nullptr;
};

using Texts3 = std::vector<std::string>;

} // namespace

TEST_F(FindsTest, APlayersFirstVisitBringsTheFindsTipAndLaterVisitsDoNot)
{
    LuaPlus::LuaObject options = app->CurrentPlayer()->GetOptionsTable();
    options.SetNil("gametip.finds.shown");
    Open();
    Dialog* tip = OpenDialog("gametip.finds");
    ASSERT_NE(nullptr, tip);
    EXPECT_TRUE(app->CurrentPlayer()->WasShown("gametip.finds.shown"));
    EXPECT_TRUE(options["gametip.finds.shown"].IsNil()) << "a tip shown changes no card";
    finds->StopDialog(tip);
    app->DispatchPosted();

    app->SwitchTo("MenuScreen");
    Open();
    EXPECT_EQ(nullptr, OpenDialog("gametip.finds"));
    EXPECT_TRUE(finds->GetDialogs().empty());
}

TEST_F(FindsTest, TenStolenArtefactsTurnBothWaysAndNoneOpensACard)
{
    HideArtefacts(10);
    Adventure().SetString("game.mode", "Lab");
    app->CurrentPlayer()->GetOptionsTable().SetString("game.mode", "Lab");
    Open();
    EXPECT_EQ("Adventure", app->CurrentPlayer()->GetMode());
    EXPECT_EQ(10, finds->GetTotalArtifacts());
    EXPECT_EQ(Texts3({"#1 Stolen!!!", "#2 Stolen!!!", "#3 Stolen!!!"}), Texts());
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(Slot(i)->IsMissing());
        EXPECT_FALSE(Slot(i)->IsActive());
        EXPECT_TRUE(Slot(i)->IsVisible());
    }
    EXPECT_EQ("artifactScream.jpg", Slot(1)->GetArtefactName());

    Click("RightButton");
    EXPECT_EQ(Texts3({"#2 Stolen!!!", "#3 Stolen!!!", "#4 Stolen!!!"}), Texts());
    Click("LeftButton");
    Click("LeftButton");
    EXPECT_EQ(9, finds->GetCurrentPosition());
    EXPECT_EQ(Texts3({"#10 Stolen!!!", "#1 Stolen!!!", "#2 Stolen!!!"}), Texts());
    Click("RightButton");
    EXPECT_EQ(0, finds->GetCurrentPosition());

    // A stolen artefact is no button: its key opens nothing.
    EXPECT_FALSE(Key('1'));
    EXPECT_EQ(nullptr, OpenDialog("ArtifactDialog"));
    // Coming back starts again at the first entry.
    Click("RightButton");
    app->SwitchTo("MenuScreen");
    Open();
    EXPECT_EQ(0, finds->GetCurrentPosition());
    EXPECT_EQ("#1 Stolen!!!", Text(1));
}

TEST_F(FindsTest, FoundArtefactsComeFirstTitledAndOpenTheirCard)
{
    HideArtefacts(10);
    Found("Crates", "artifactLighthouse.jpg");
    Found("Condor", "artifactCondor.jpg");
    Found("Welcome", "EMPTY");
    Found("FallingGold", "");
    Open();
    ASSERT_EQ(2u, finds->GetFoundList().size());
    EXPECT_EQ("artifactLighthouse.jpg", finds->GetFoundList()[0]);
    EXPECT_EQ(8u, finds->GetMissingList().size());
    const std::string lighthouse = Slot(1)->GetTitle();
    EXPECT_NE("artifactLighthouse.jpg", lighthouse);
    EXPECT_EQ(lighthouse, Text(1));
    EXPECT_TRUE(Slot(1)->IsActive());
    EXPECT_FALSE(Slot(1)->IsMissing());
    EXPECT_EQ("#3 Stolen!!!", Text(3));
    EXPECT_EQ("artifactScream.jpg", Slot(3)->GetArtefactName());

    Click("RightButton");
    EXPECT_EQ(Slot(1)->GetTitle(), Text(1));
    EXPECT_EQ("artifactCondor.jpg", Slot(1)->GetArtefactName());
    EXPECT_EQ(Texts3({Text(1), "#3 Stolen!!!", "#4 Stolen!!!"}), Texts());
    Click("LeftButton");
    Click("LeftButton");
    EXPECT_EQ("#10 Stolen!!!", Text(1));
    EXPECT_EQ(lighthouse, Text(2));

    SoundLog sounds;
    Click("artifact2");
    Dialog* card = OpenDialog("ArtifactDialog");
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(1, sounds.Count("Pickup_PaperNote4.ogg"));
    EXPECT_TRUE(app->GamePauseAsked());
    auto* title = dynamic_cast<Label*>(card->Actor::GetChild("artifactTitle", true));
    ASSERT_NE(nullptr, title);
    EXPECT_EQ(lighthouse, title->GetText());
}

// A record's artefact name that no entry of Artifacts knows is shown as its title, as
// written: whatever it holds, no script code runs and the screen goes on.
TEST_F(FindsTest, UnknownArtefactNamesShowAsWrittenAndRunNothing)
{
    RunLua("function FindsTripWire() FindsTripped = (FindsTripped or 0) + 1 return 'x' end");
    const std::vector<std::string> hostile = {"|FindsTripWire() or 'x'|", "|nil..nil|", "|1\n|",
                                              "|(function() while true do end end)()|"};
    HideArtefacts(0);
    const char* levels[] = {"Welcome", "Crates", "FallingGold", "LottaLoot"};
    for (std::size_t i = 0; i < hostile.size(); ++i)
        Found(levels[i], hostile[i].c_str());
    Open();
    ASSERT_EQ(4u, finds->GetFoundList().size());
    // Long titles wrap: the words are compared, not where the lines break.
    const auto words = [](std::string text) {
        std::replace(text.begin(), text.end(), '\n', ' ');
        return text;
    };
    std::vector<std::string> shown;
    for (int turn = 0; turn < 4; ++turn) {
        shown.push_back(Slot(1)->GetTitle());
        EXPECT_EQ(words(Slot(1)->GetTitle()), Text(1));
        Click("RightButton");
    }
    std::sort(shown.begin(), shown.end());
    std::vector<std::string> expected = hostile;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, shown);
    Click("artifact1");
    Dialog* card = OpenDialog("ArtifactDialog");
    ASSERT_NE(nullptr, card);
    auto* title = dynamic_cast<Label*>(card->Actor::GetChild("artifactTitle", true));
    ASSERT_NE(nullptr, title);
    EXPECT_EQ(words(Slot(1)->GetTitle()), words(title->GetText()));
    EXPECT_TRUE(GetGlobalLuaState()->GetGlobal("FindsTripped").IsNil());
}

TEST_F(FindsTest, DeveloperKeyShowsEveryArtefactFoundUntilPressedAgain)
{
    HideArtefacts(4);
    Found("Crates", "artifactLighthouse.jpg");
    Open();
    EXPECT_FALSE(Key('\\', KMOD_LCTRL | KMOD_RALT));
    EXPECT_EQ(1u, finds->GetFoundList().size());

    EXPECT_FALSE(Key('\\', KMOD_LCTRL | KMOD_LALT | KMOD_NUM));
    EXPECT_EQ(4u, finds->GetFoundList().size());
    EXPECT_TRUE(finds->GetMissingList().empty());
    EXPECT_EQ("artifactLighthouse.jpg", finds->GetFoundList()[0]);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(Slot(i)->IsActive());
        EXPECT_EQ(Slot(i)->GetTitle(), Text(i));
    }
    EXPECT_FALSE(Key('\\', KMOD_RCTRL | KMOD_RALT));
    EXPECT_EQ(3u, finds->GetMissingList().size());
    EXPECT_EQ("#2 Stolen!!!", Text(2));
}

TEST_F(FindsTest, ShortRingsHideTheirSurplusSlots)
{
    HideArtefacts(0);
    Open();
    EXPECT_EQ(Texts3({"<hidden>", "<hidden>", "<hidden>"}), Texts());
    Click("RightButton");
    Click("LeftButton");
    EXPECT_EQ(0, finds->GetCurrentPosition());
    for (int i = 1; i <= 3; ++i)
        EXPECT_FALSE(Slot(i)->IsVisible());

    HideArtefacts(1);
    Found("Welcome", "artifactScream.jpg");
    Open();
    EXPECT_EQ(Texts3({Slot(1)->GetTitle(), "<hidden>", "<hidden>"}), Texts());
    EXPECT_TRUE(Slot(1)->IsVisible());
    EXPECT_FALSE(Slot(2)->IsVisible());
    Click("LeftButton");
    EXPECT_EQ(0, finds->GetCurrentPosition());

    HideArtefacts(2);
    Open();
    EXPECT_EQ(Texts3({Slot(1)->GetTitle(), "#2 Stolen!!!", "<hidden>"}), Texts());
    Click("LeftButton");
    EXPECT_EQ(1, finds->GetCurrentPosition());
    EXPECT_EQ(Texts3({"#2 Stolen!!!", Slot(2)->GetTitle(), "<hidden>"}), Texts());
    EXPECT_TRUE(Slot(2)->IsActive());
    EXPECT_FALSE(Slot(3)->IsActive());
}

TEST_F(FindsTest, ButtonsLeadToTheOtherScreensAndPlayResumesTheAdventure)
{
    HideArtefacts(3);
    Open();
    Button* finds_button = dynamic_cast<Button*>(finds->GetChild("FindsButton", true));
    ASSERT_NE(nullptr, finds_button);
    EXPECT_FALSE(finds_button->IsEnabled());
    EXPECT_TRUE(Key(SDLK_ESCAPE));
    EXPECT_TRUE(Current("ArtifactScreen"));

    // Escape is the menu button's key: the screen itself takes the key down and does
    // nothing with it, the button's release goes to the menu.
    ButtonClickLatch() = true;
    Event up{};
    up.key.type = SDL_KEYUP;
    up.key.keysym.sym = SDLK_ESCAPE;
    finds->OnEvent(up);
    app->Pass();
    EXPECT_TRUE(Current("MenuScreen"));
    Open();

    Click("HelpButton");
    StartLevelDialog* tip = nullptr;
    for (Actor* child : finds->GetChildren())
        if (auto* letter = dynamic_cast<StartLevelDialog*>(child))
            tip = letter;
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ("About The Artifact Finds", tip->GetTitle()->GetText());

    Click("MapButton");
    EXPECT_TRUE(Current("MapScreen"));
    Open();
    Click("MenuButton");
    EXPECT_TRUE(Current("MenuScreen"));

    Open();
    Adventure().SetInteger("EpisodeSelected", 1);
    Adventure().SetInteger("LevelSelected", 3);
    RunLua("GameOptions = { levelName = \"Welcome\" }");
    Click("PlayButton");
    EXPECT_TRUE(Current("GameScreen"));
    LuaPlus::LuaObject options = GetGlobalLuaState()->GetGlobal("GameOptions");
    EXPECT_EQ(3, options["levelNumber"].GetInteger());
    EXPECT_EQ(1, options["episodeNumber"].GetInteger());
    EXPECT_EQ("Adventure", std::string(options["gameType"].GetString()));
    EXPECT_EQ("Welcome", std::string(options["levelName"].GetString()));
}

TEST(FindsMenuTest, NewPlayersMenuCornerReadsStillMissingAndItsButtonOpensTheFinds)
{
    GameApp app;
    app.Screens()->AddScreen(new Screen("SplashScreen", "", nullptr));
    app.CurrentPlayer()->GetGameModeTable("Adventure").SetString("latestArtifact", "EMPTY");
    auto* menu = new ArcadeMenuScreen();
    app.Screens()->AddScreen(menu);
    auto* label = dynamic_cast<Label*>(menu->GetChild("artifactName", true));
    ASSERT_NE(nullptr, label);
    EXPECT_EQ("Still Missing!!!", label->GetText());
    auto* artefact = dynamic_cast<Artefact*>(menu->GetChild("artifact", true));
    ASSERT_NE(nullptr, artefact);
    EXPECT_TRUE(artefact->IsMissing());
    EXPECT_FALSE(artefact->IsActive());

    // The menu's finds button leads to the finds, now that they exist.
    app.Screens()->AddScreen(new ArcadeArtifactScreen());
    app.SwitchTo("MenuScreen");
    menu->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, menu->GetChild("FindsButton", true)));
    app.DispatchPosted();
    EXPECT_EQ(app.Screens()->GetScreen("ArtifactScreen"), app.Screens()->GetCurrentScreen());
}

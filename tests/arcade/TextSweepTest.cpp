// Cards holding odd texts in every text a screen shows (the name, the rank, the latest find,
// a level's find, a word record): a NUL, a NUL before bars, control characters, bytes that
// are not UTF-8, bars, and 10,000 characters. The card is read through the game's loader,
// then the menu, the chooser, the sign-in, the map, the lab, the finds and a won level's
// tally are shown: nothing fails, each text is one the screens can draw, the card's file
// and key are named in the log, and every text drawn from the card keeps inside its frame.
#include "CardAppTest.h"
#include "TextLayout.h"
#include "core/Event.h"
#include "core/Utf8.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "screens/ArcadeArtifactScreen.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeLabScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/ChooseActivePlayerDialog.h"
#include "screens/Dialog.h"
#include "screens/EnterNameAndSkillDialog.h"
#include "screens/ScreenManager.h"
#include "support/TempHome.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace bbtest;

namespace {

// A card in the saver's form, every shown text %T% (a Lua string literal's inside).
const char kCard[] =
    "Player {\n    Card_Version = 4,\n    Game_Modes = {\n        Adventure = { EpisodeSelected "
    "= 1, EpisodeUnlocked = 1, LevelRecords = { [\"Welcome\"] = { artifact = \"%T%\", award = "
    "0, balls = 3, loot = 40, score = 100, secret = 1, time = 30 } }, LevelSelected = 1, "
    "LevelUnlocked = 2, Rank = \"%T%\", Top_Words = { { game_guid = 5, word = \"%T%\", "
    "word_score = 9 } }, ballsLeft = 3, latestArtifact = \"%T%\" },\n        Lab = { "
    "LevelRecords = { [\"Bonus1\"] = { artifact = \"%T%\", score = 5, secret = 1 } }, Rank = "
    "\"%T%\" },\n    },\n    Game_Records = {},\n    Game_Saves = { Adventure = { Board = {}, "
    "CurrentRound = 0 } },\n    Name = \"%T%\",\n    Options = { [\"game.mode\"] = "
    "\"Adventure\", [\"player.skill\"] = \"casual\" },\n    guid = 77,\n}\n";

std::string CardText(const std::string& text)
{
    std::string card = kCard;
    for (std::size_t at = card.find("%T%"); at != std::string::npos; at = card.find("%T%", at))
        card.replace(at, 3, text), at += text.size();
    return card;
}

// Whether the text is one the screens can draw: no control character, valid UTF-8, no bar.
bool IsDrawable(const std::string& text)
{
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        const std::uint32_t cp = Utf8::Decode(text, at, length);
        if (cp == Utf8::kInvalid || cp < 0x20 || cp == 0x7F || cp == '|')
            return false;
        at += length;
    }
    return true;
}

class TextSweepTest : public CardAppTest
{
protected:
    // The layout faults of what root shows that concern a text from the card.
    void CheckLayout(const Actor* root, const std::string& place)
    {
        layout.Collect(root);
        for (const std::string& fault : layout.Faults(place))
            for (const std::string& text : cardTexts)
                if (text.size() >= 3 && fault.find(text) != std::string::npos) {
                    ADD_FAILURE() << fault;
                    break;
                }
        layout.Clear();
    }

    // Wins the current player's first level and lets the tally count against the card.
    void WinAndTally()
    {
        app->StartGame();
        ASSERT_TRUE(app->WinToTally(500));
        app->Pass(30);
        CheckLayout(app->GameScreen(), "tally");
        app->Pass(170);
    }

    TextLayout layout{640, 480};
    std::vector<std::string> cardTexts;
};

} // namespace

TEST_F(TextSweepTest, EveryScreenShowsOddCardTextsDrawableAndInsideTheirFrames)
{
    const std::string wide(10000, 'W');
    std::string accents;
    for (int i = 0; i < 10000; ++i)
        accents += "\\195\\137"; // É
    const std::vector<std::string> texts = {
        "\\0", "\\0|Q()|", "a\\1\\9\\n\\27\\127b", "\\255\\192\\175\\237\\160\\128x", "|Q()|x|",
        wide,  accents};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 40));
        LogCapture log;
        Start(CardText(text));
        Player* player = app->CurrentPlayer();
        ASSERT_NE(nullptr, player);
        LuaPlus::LuaObject card = player->GetTable();
        LuaPlus::LuaObject adventure = player->GetGameModeTable("Adventure");
        cardTexts.clear();
        for (LuaPlus::LuaObject value :
             {card["Name"], adventure["Rank"], adventure["latestArtifact"],
              adventure["LevelRecords"]["Welcome"]["artifact"],
              adventure["Top_Words"][1]["word"]}) {
            ASSERT_TRUE(value.IsString());
            const std::string shown(value.GetString(), value.GetStrLen());
            EXPECT_TRUE(IsDrawable(shown)) << shown.substr(0, 80);
            EXPECT_LE(Utf8::Length(shown), 64u);
            cardTexts.push_back(shown);
        }
        EXPECT_LE(Utf8::Length(cardTexts[0]), 9u);
        // The card's file and the key are named.
        EXPECT_NE(std::string::npos, log.Text().find("Player1.card\" was mended: "))
            << log.Text().substr(0, 2000);
        EXPECT_NE(std::string::npos, log.Text().find("Name ")) << log.Text().substr(0, 2000);
        EXPECT_NE(std::string::npos, log.Text().find(".latestArtifact "))
            << log.Text().substr(0, 2000);

        Screen* menu = Show("MenuScreen");
        CheckLayout(menu, "menu");
        auto* chooser = new ChooseActivePlayerDialog("CardView");
        menu->StartDialog(chooser, true);
        app->Pass(3);
        CheckLayout(chooser, "chooser");
        menu->StopDialog(chooser);
        app->Pass();
        auto* signIn = new EnterNameAndSkillDialog(cardTexts[0]);
        menu->StartDialog(signIn, true);
        app->Pass(3);
        CheckLayout(signIn, "sign-in");
        menu->StopDialog(signIn);
        app->Pass();
        CheckLayout(Show("MapScreen"), "map");
        CheckLayout(Show("LabScreen"), "lab");
        CheckLayout(Show("ArtifactScreen"), "finds");
        ASSERT_NO_FATAL_FAILURE(WinAndTally());
    }
}

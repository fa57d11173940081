// Cards holding extreme numbers in every numeric field (±2^31, 2^53, 1e308, -0, NaN, ±inf,
// fractions), written as the game writes a card and read through the game's own loader:
// every screen that shows a card or its records (menu, chooser, map, lab, finds, the tally
// of a won level) opens without a fault, and every figure it shows lies within what can
// exist.
#include "CardAppTest.h"
#include "core/Event.h"
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
#include "screens/ScreenManager.h"
#include "support/TempHome.h"
#include "support/engine/LogCapture.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace bbtest;

namespace {

// One level's record with every field the game writes; %V% stands for the value.
const char* const kRecord =
    "{ allLoot = %V%, artifact = \"EMPTY\", award = %V%, balls = %V%, ballsLeft = %V%, "
    "ballsUsed = %V%, best_BallsUsed = %V%, best_FinalScore = %V%, best_LootPercent = %V%, "
    "best_TimeTook = %V%, fastTime = %V%, gotBigScore = %V%, loot = %V%, noBallsLost = %V%, "
    "score = %V%, secret = %V%, time = %V%, timeTook = %V% }";

// A game-mode table whose level records are those of levels; %V% stands for the value.
std::string ModeTable(const std::vector<std::string>& levels)
{
    std::string records;
    for (const std::string& level : levels)
        records += "[\"" + level + "\"] = " + kRecord + ", ";
    return "{ EpisodeSelected = %V%, EpisodeUnlocked = %V%, LevelRecords = { " + records +
           "}, LevelSelected = %V%, LevelUnlocked = %V%, Rank = \"Novice\", "
           "Top_Percentages = { { game_guid = %V%, percentage = %V%, total_score = %V% } }, "
           "Top_Scores = { { date = %V%, game_guid = %V%, percentage = %V%, total_score = %V% } "
           "}, Top_Words = { { game_guid = %V%, word = \"zap\", word_score = %V% } }, "
           "ballsLeft = %V%, latestArtifact = \"EMPTY\" }";
}

// The card file, in the saver's form ("Player " and the sorted table), every number value.
std::string CardText(const std::string& value, const std::string& mode)
{
    std::string text =
        "Player {\n    Card_Version = %V%,\n    Game_Modes = {\n        Adventure = " +
        ModeTable({"Welcome", "Archives", "Catacombs"}) +
        ",\n        Lab = " + ModeTable({"Bonus1", "Bonus2"}) +
        ",\n    },\n    Game_Records = { { gameRecordGuid = %V%, gameRecordType = \"game\", "
        "gameScore = %V%, playerGuid = %V% } },\n    Game_Saves = { Adventure = { Board = { "
        "%V% }, CurrentRound = %V% } },\n    Name = \"sweep\",\n    Options = { [\"game.mode\"] "
        "= \"" +
        mode + "\", [\"player.skill\"] = \"casual\" },\n    guid = %V%,\n}\n";
    for (std::size_t at = text.find("%V%"); at != std::string::npos; at = text.find("%V%", at))
        text.replace(at, 3, value), at += value.size();
    return text;
}

// The whole number text begins with (after a "$"), thousands separators dropped; -1 for
// none, or for a sign.
long long Figure(const std::string& text)
{
    std::string digits;
    for (char c : text) {
        if (c == ',' || (c == '$' && digits.empty()))
            continue;
        if (c < '0' || c > '9')
            break;
        digits += c;
    }
    return digits.empty() || digits.size() > 12 ? -1 : std::atoll(digits.c_str());
}

class ExtremeCardTest : public CardAppTest
{
protected:
    static std::string Text(const Actor* parent, const std::string& name)
    {
        auto* label = dynamic_cast<Label*>(const_cast<Actor*>(parent)->GetChild(name, true));
        return label ? label->GetText() : "<no label " + name + ">";
    }
    // The figures a card view under parent shows: secrets of the 61, loot and balls.
    static void ExpectCardFiguresInRange(const Actor* parent)
    {
        const std::string secrets = Text(parent, "cardSecretsLabel");
        const long long found = Figure(secrets);
        EXPECT_TRUE(found >= 0 && found <= Player::kLevelCount &&
                    secrets.find("/61") != std::string::npos)
            << secrets;
        const std::string loot = Text(parent, "cardLootLabel");
        EXPECT_TRUE(Figure(loot) >= 0 && Figure(loot) <= 2147483647) << loot;
        const long long balls = Figure(Text(parent, "cardBallsLabel"));
        EXPECT_TRUE(balls >= 0 && balls <= 9999) << Text(parent, "cardBallsLabel");
    }

    // Plays the current player's adventure level, wins it with a secret and lets the bonus
    // letter tally against the card's record of the level.
    void WinAndTally()
    {
        app->StartGame();
        ASSERT_TRUE(app->WinToTally(500, 1));
        app->Pass(200);
    }

};

} // namespace

TEST_F(ExtremeCardTest, EveryScreenShowingTheCardOpensAndShowsFiguresInRange)
{
    const char* const values[] = {
        "2147483647", "2147483648", "-2147483648", "-2147483649", "9007199254740992",
        "1e308",      "-1e308",     "-0",          "0/0",         "1/0",
        "-1/0",       "0.5",        "1.5",         "1e9"};
    int round = 0;
    for (const char* value : values) {
        // The stars are counted over the current mode's records: both modes take turns.
        const char* mode = round++ % 2 == 0 ? "Lab" : "Adventure";
        SCOPED_TRACE(std::string(mode) + " " + value);
        LogCapture log;
        Start(CardText(value, mode));
        Player* player = app->CurrentPlayer();
        ASSERT_NE(nullptr, player);
        ASSERT_TRUE(player->GetTable()["Name"].IsString()) << log.Text().substr(0, 3000);
        ASSERT_EQ("sweep", std::string(player->GetTable()["Name"].GetString()));
        // The menu's card, and each card of the chooser over it.
        Screen* menu = Show("MenuScreen");
        ExpectCardFiguresInRange(menu);
        auto* chooser = new ChooseActivePlayerDialog("CardView");
        menu->StartDialog(chooser, true);
        app->Pass(3);
        ExpectCardFiguresInRange(chooser);
        menu->StopDialog(chooser);
        app->Pass();

        Show("MapScreen");
        Screen* lab = Show("LabScreen");
        const std::string found = Text(lab, "labelSecretsFound");
        if (found != "No Secrets Found Yet") {
            const long long secrets = Figure(found);
            EXPECT_TRUE(secrets >= 1 && secrets <= Player::kLevelCount) << found;
        }
        Show("ArtifactScreen");
        if (std::string(mode) == "Adventure") {
            ASSERT_NO_FATAL_FAILURE(WinAndTally());
            // The card's records, tallied and saved, hold flags and scores in range.
            LuaPlus::LuaObject records = player->GetGameModeTable("Adventure")["LevelRecords"];
            for (LuaPlus::LuaTableIterator it(records); it; it.Next()) {
                const double secret = it.GetValue()["secret"].GetNumber();
                const double score = it.GetValue()["score"].GetNumber();
                EXPECT_TRUE(secret == 0 || secret == 1) << it.GetKey().ToString();
                EXPECT_TRUE(score >= 0 && score <= 9999999) << it.GetKey().ToString();
            }
        }
        // Each mended value is named in the log, with the card it came from and its key.
        const std::string& text = log.Text();
        EXPECT_NE(std::string::npos, text.find("Player1.card\" was mended: "))
            << text.substr(0, 2000);
        EXPECT_NE(std::string::npos, text.find(".secret was ")) << text.substr(0, 2000);
    }
}

// The top-ten rule of the score and word lists, the native top-record list, and what the
// saver writes back to the cards from it.
#include "players/GameDataIO.h"
#include "players/GameRecord.h"
#include "players/GameRecordManager.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "players/TopRecordsList.h"
#include "players/TopRecordsManager.h"
#include "support/MessageOf.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/LogCapture.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace bbtest;

namespace {

class TopTenTest : public LuaFixture
{
protected:
    TopTenTest()
    {
        PrepareEngine();
        for (const char* name : {"PlayerDefaults.lua", "Player.lua", "PlayerManager.lua"})
            AddScript(name,
                      ReadFile(std::string(BB_SOURCE_DIR) + "/MakoEngine/Source/scripts/" + name));
        RunResource("PlayerDefaults.lua");
        RunResource("Player.lua");
        // Lists are written as the fields of their entries joined: "9 7 7".
        Run("function Fields(list, field) local t = {} "
            "for i, e in ipairs(list) do t[i] = tostring(e[field]) end "
            "return table.concat(t, ' ') end");
    }
    std::string Eval(const std::string& expression)
    {
        Run("Result__ = tostring(" + expression + ")");
        return GlobalString("Result__");
    }
};

} // namespace

TEST_F(TopTenTest, TheInsertionRuleKeepsTenBestWithNewTiesFirst)
{
    struct Case
    {
        const char* start;  // the scores already listed, best first
        int score;          // the new record's score
        const char* result; // the scores afterwards
        const char* tag;    // where the new record went: its tag's position
    };
    const Case cases[] = {
        {"", 5, "5", "1"},
        {"9 7 3", 7, "9 7 7 3", "2"},
        {"9 7 3", 1, "9 7 3 1", "4"},
        {"10 9 8 7 6 5 4 3 2 1", 6, "10 9 8 7 6 6 5 4 3 2", "5"},
        {"10 9 8 7 6 5 4 3 2 1", 0, "10 9 8 7 6 5 4 3 2 1", "nil"},
        {"10 9 8 7 6 5 4 3 2 1", 1, "10 9 8 7 6 5 4 3 2 1", "10"},
        {"10 9 8 7 6 5 4 3 2 1", 11, "11 10 9 8 7 6 5 4 3 2", "1"},
    };
    for (const Case& c : cases) {
        Run(std::string("L = {} for s in string.gmatch('") + c.start +
            "', '%d+') do table.insert(L, { score = tonumber(s) }) end");
        Run("InsertTopTenRecord({ score = " + std::to_string(c.score) +
            ", new = true }, 'score', L)");
        EXPECT_EQ(c.result, Eval("Fields(L, 'score')")) << c.start << " + " << c.score;
        EXPECT_EQ(c.tag, Eval("(function() for i, e in ipairs(L) do if e.new then return i end "
                              "end return nil end)()"))
            << c.start << " + " << c.score;
    }
}

TEST_F(TopTenTest, ACardFilesEachGameOnceButAnotherWordOfTheSameGameAgain)
{
    Run("M = {}"
        "FileScoreRecord(M, { game_guid = 1, total_score = 50, percentage = 10 })"
        "FileScoreRecord(M, { game_guid = 1, total_score = 50, percentage = 10 })"
        "FileScoreRecord(M, { game_guid = 2, total_score = 20, percentage = 90 })"
        "FileWordRecord(M, { game_guid = 1, word = 'cat', word_score = 3 })"
        "FileWordRecord(M, { game_guid = 1, word = 'cat', word_score = 3 })"
        "FileWordRecord(M, { game_guid = 1, word = 'zebra', word_score = 9 })");
    EXPECT_EQ("50 20", Eval("Fields(M.Top_Scores, 'total_score')"));
    EXPECT_EQ("2 1", Eval("Fields(M.Top_Percentages, 'game_guid')"));
    EXPECT_EQ("zebra cat", Eval("Fields(M.Top_Words, 'word')"));
}

TEST_F(TopTenTest, TheListKeepsTheTenBestAndTheSaverWritesBackWhatItHolds)
{
    TempHome home;
    std::string folder = home.Path() + "/cards/";
    Run("Paths = { PlayerData = '" + folder + "' }");
    auto records = std::make_unique<GameRecordManager>(State());
    auto players = std::make_unique<PlayerManager>(State());
    auto top = std::make_unique<TopRecordsManager>();
    auto list =
        std::make_unique<TopGameRecordsList>("Top Ten Scores", &TopGameRecordsList::ByGameScore);
    TopGameRecordsList* scores = list.get();
    top->AddList(std::move(list));
    auto io = std::make_unique<GameDataIO>(folder);
    io->LoadAllPlayerData(false);

    // Player 1 owns eleven records, player 2 one low one: twelve distinct scores.
    Run("P1, P2 = Players[1].guid, Players[2].guid");
    Run("Players[2].Game_Records = { { gameRecordGuid = 99, gameRecordType = 'g', playerGuid = "
        "P2, gameScore = 1 } }");
    Run("Players[3].Game_Records = { { gameRecordGuid = 98, gameRecordType = 'g', playerGuid = "
        "12345, gameScore = 0 } }");
    for (int i = 1; i <= 11; ++i) {
        Run("R = { gameRecordGuid = " + std::to_string(i) +
            ", gameRecordType = 'g', playerGuid = P1, gameScore = " + std::to_string(i * 10) +
            " } table.insert(Players[1].Game_Records, R)");
        GameRecord record(Global("R"));
        records->NotifyObservers(record);
    }
    GameRecord low(Global("Players")[2]["Game_Records"][1]);
    records->NotifyObservers(low);

    ASSERT_EQ(10, scores->GetCount());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(110 - 10 * i, scores->GetRecord(i).GetTable()["gameScore"].GetInteger());

    EXPECT_EQ(0, io->SaveAllPlayerData());
    // Card 1 keeps the ten listed records, best first; card 2's record fell out of every list,
    // so its card keeps what it had; card 3 was never listed.
    EXPECT_EQ("110 100 90 80 70 60 50 40 30 20",
              Eval("Fields(Players[1].Game_Records, 'gameScore')"));
    EXPECT_EQ("1", Eval("Fields(Players[2].Game_Records, 'gameScore')"));
    EXPECT_EQ("0", Eval("Fields(Players[3].Game_Records, 'gameScore')"));

    io.reset();
    top.reset();
    players.reset();
    records.reset();
}

// A record without a score (none, a text, a table, not finite) counts as none: the list
// orders it after every scored record, a score of 0 or below among them, in the order such
// records came, never raises, and names each once however often the list compares it.
TEST_F(TopTenTest, ARecordWithoutAScoreCountsAsNoneNamedOnce)
{
    bbtest::LogCapture log;
    auto records = std::make_unique<GameRecordManager>(State());
    TopGameRecordsList list("Top Ten Scores", &TopGameRecordsList::ByGameScore);
    const char* const scores[] = {"5", "nil", "'many'", "9", "{ 1 }", "0/0", "7", "0", "-3"};
    for (int i = 0; i < 9; ++i) {
        Run("R = { gameRecordGuid = " + std::to_string(301 + i) +
            ", gameRecordType = 'g', gameScore = " + scores[i] + " }");
        GameRecord record(Global("R"));
        EXPECT_NO_THROW(list.OnGameRecord(record)) << scores[i];
    }
    std::string order;
    for (int i = 0; i < list.GetCount(); ++i)
        order += std::to_string(list.GetRecord(i).GetGuid()) + " ";
    EXPECT_EQ("304 307 301 308 309 302 303 305 306 ", order);
    for (const char* said : {"Game record 302: \"gameScore\" is nil, not a number; the record "
                             "counts as having no score",
                             "Game record 303: \"gameScore\" is the string \"many\"",
                             "Game record 305: \"gameScore\" is a table",
                             "Game record 306: \"gameScore\" is the number "}) {
        const std::size_t at = log.Text().find(said);
        EXPECT_NE(std::string::npos, at) << said << "\n" << log.Text();
        EXPECT_EQ(std::string::npos, log.Text().find(said, at + 1)) << "said twice: " << said;
    }
}

// A card's game record the game cannot read (not a table, no whole guid, no type, a guid
// known already) is refused with what is wrong, naming the key: never an assertion.
TEST_F(TopTenTest, ARecordTheGameCannotReadIsRefusedNamingTheKey)
{
    auto records = std::make_unique<GameRecordManager>(State());
    Run("Known = { gameRecordGuid = 7, gameRecordType = 'g' }");
    GameRecord known(Global("Known"));
    const struct
    {
        const char* record;
        const char* said;
    } cases[] = {
        {"7", "a game record is a table, not the number 7"},
        {"{ gameRecordGuid = 7.5, gameRecordType = 'g' }", "\"gameRecordGuid\" needs a whole"},
        {"{ gameRecordGuid = 'x', gameRecordType = 'g' }", "\"gameRecordGuid\" needs a whole"},
        {"{ gameRecordGuid = 8 }", "\"gameRecordType\" needs a string, not nil"},
        {"{ gameRecordGuid = 7, gameRecordType = 'g' }",
         "\"gameRecordGuid\": a game record with the guid 7 is known already"},
    };
    for (const auto& c : cases) {
        Run(std::string("R = ") + c.record);
        const std::string message = MessageOf([&] { GameRecord record(Global("R")); });
        EXPECT_EQ(std::string::npos, message.find("Assertion failed")) << c.record << message;
        EXPECT_NE(std::string::npos, message.find(c.said)) << c.record << ": " << message;
    }
    EXPECT_EQ(7, known.GetGuid());
}

// A card whose game records the game cannot read is loaded; the log names the card file and
// each record's key, and the card keeps the records.
TEST_F(TopTenTest, ACardsUnreadableRecordsAreNamedWithTheFileAndKeyAndKept)
{
    TempHome home;
    const std::string folder = home.Path() + "/cards/";
    Run("Paths = { PlayerData = '" + folder + "' }");
    std::filesystem::create_directories(folder);
    {
        std::ofstream card(folder + "Player1.card");
        card << "local c = { Card_Version = 4, Game_Modes = {}, Game_Records = { 7, "
                "{ gameRecordGuid = 8 }, { gameRecordGuid = 9, gameRecordType = 'g' } }, "
                "Name = 'Keeper', Options = {}, guid = 77 }\nPlayer(c)\n";
    }
    auto records = std::make_unique<GameRecordManager>(State());
    auto players = std::make_unique<PlayerManager>(State());
    auto io = std::make_unique<GameDataIO>(folder);
    LogCapture log;
    io->LoadAllPlayerData(false);
    const std::string text = log.Text();
    for (const char* said :
         {"Warning: the card \"",
          "Player1.card\", Game_Records[1]: a game record is a table, not "
          "the number 7; the record is left out of the lists and kept on "
          "the card",
          "Player1.card\", Game_Records[2]: \"gameRecordType\" needs a string, not nil"})
        EXPECT_NE(std::string::npos, text.find(said)) << said << "\n" << text;
    EXPECT_EQ(std::string::npos, text.find("Assertion failed")) << text;
    EXPECT_EQ("3", Eval("#Players[1].Game_Records"));
    io.reset();
    players.reset();
    records.reset();
}

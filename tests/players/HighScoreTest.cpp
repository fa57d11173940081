// The machine-wide high-score lists: the dummy seeding, filing records from scripts into
// cards and lists, and paging through the lists.
#include "core/Exception.h"
#include "players/GameRecordManager.h"
#include "players/HighScoreManager.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "support/MessageOf.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace bbtest;

namespace {

class HighScoreTest : public LuaFixture
{
protected:
    HighScoreTest()
    {
        PrepareEngine();
        for (const char* name : {"PlayerDefaults.lua", "Player.lua", "PlayerManager.lua",
                                 "HighScoreManager.lua", "DummyHighScores.lua"})
            AddScript(name, ReadScript(name));
        RunResource("PlayerDefaults.lua");
        RunResource("Player.lua");
        Run("Players = CreatePlayersTable() DummyPlayers = CreateDummyPlayersTable()"
            "for i = 1, 4 do Players[i] = CreatePlayer() end Players.current[1] = Players[1]");
        Run("function Fields(list, field) local t = {} "
            "for i, e in ipairs(list) do t[i] = tostring(e[field]) end "
            "return table.concat(t, ' ') end");
        m_Records = std::make_unique<GameRecordManager>(State());
        m_Scores = std::make_unique<HighScoreManager>(State());
        m_Players = std::make_unique<PlayerManager>(State());
    }
    ~HighScoreTest() override
    {
        m_Players.reset();
        m_Scores.reset();
        m_Records.reset();
    }
    static std::string ReadScript(const std::string& name);
    std::string Eval(const std::string& expression)
    {
        Run("Result__ = tostring(" + expression + ")");
        return GlobalString("Result__");
    }

    std::unique_ptr<GameRecordManager> m_Records;
    std::unique_ptr<HighScoreManager> m_Scores;
    std::unique_ptr<PlayerManager> m_Players;
};

std::string HighScoreTest::ReadScript(const std::string& name)
{
    std::string path = std::string(BB_SOURCE_DIR) + "/MakoEngine/Source/scripts/" + name;
    FILE* file = std::fopen(path.c_str(), "rb");
    std::string text;
    char buffer[4096];
    for (std::size_t n; file && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    if (file)
        std::fclose(file);
    return text;
}

} // namespace

TEST_F(HighScoreTest, TheDummyScoresFillEveryListBestFirst)
{
    EXPECT_EQ("26 24 18 17 11 11 7 7 5 5", Eval("Fields(HighScores.CompeteScores, 'total_score')"));
    EXPECT_EQ("35 27 21 20 16 15 12 10 8",
              Eval("Fields(HighScores.SolitaireScores, 'total_score')"));
    EXPECT_EQ(10, State()->GetGlobal("HighScores")["BlastScores"].GetCount());
    // Blast scores never enter the percentages: their best, 6 and 5, would lead otherwise.
    EXPECT_EQ("Solitaire", Eval("HighScores.Percentages[1].game_mode"));
    EXPECT_EQ("26", Eval("HighScores.Percentages[1].percentage"));
    EXPECT_EQ("0", Eval("(function() local n = 0 for _, e in ipairs(HighScores.Percentages) do "
                        "if e.game_mode == 'Blast' then n = n + 1 end end return n end)()"));
    // Words got their byte lengths; ties go to the newer entry.
    EXPECT_EQ("5 5 5 4 4 3 3 3 3 3", Eval("Fields(HighScores.WordsByLength, 'word_length')"));
    EXPECT_EQ("raced", Eval("HighScores.WordsByLength[1].word"));
    EXPECT_EQ("Top Ratings", Eval("HighScores.Ratings.name"));
}

TEST_F(HighScoreTest, RecordsFiledFromScriptsReachTheCardAndTheListsOnce)
{
    Run("P = Players[2].guid");
    Run("AddScoreRecords({ { game_guid = 1, player_guid = P, game_mode = 'Compete', "
        "total_score = 30, percentage = 99 }, 'not a record' })");
    Run("AddScoreRecords({ { game_guid = 1, player_guid = P, game_mode = 'Compete', "
        "total_score = 30, percentage = 99 } })");
    EXPECT_EQ("30 26 24 18 17 11 11 7 7 5",
              Eval("Fields(HighScores.CompeteScores, 'total_score')"));
    EXPECT_EQ("99 26", Eval("HighScores.Percentages[1].percentage .. ' ' .. "
                            "HighScores.Percentages[2].percentage"));
    EXPECT_EQ("30", Eval("Fields(Players[2].Game_Modes.Compete.Top_Scores, 'total_score')"));

    Run("AddWordRecords({ { game_guid = 1, player_guid = P, game_mode = 'Blast', word = 'quartz', "
        "word_score = 7 } })");
    EXPECT_EQ("quartz", Eval("HighScores.WordsByScore[1].word"));
    EXPECT_EQ("6", Eval("HighScores.WordsByLength[1].word_length"));

    std::string unknown = MessageOf([&] {
        Run("AddScoreRecords({ { game_guid = 2, player_guid = 424242, game_mode = 'Blast' } })");
    });
    EXPECT_NE(std::string::npos, unknown.find("AddScoreRecords")) << unknown;

    // Refreshing files the card's lists again without doubling them.
    Run("Players[2].Name = 'pat' Players[2].Options['game.mode'] = 'Compete'");
    Run("RefreshRecordsFromPlayers()");
    EXPECT_EQ("30 26", Eval("HighScores.CompeteScores[1].total_score .. ' ' .. "
                            "HighScores.CompeteScores[2].total_score"));
    EXPECT_EQ("pat's Top Scores", Eval("GetPlayerHighScores(2).name"));
    EXPECT_EQ("30", Eval("GetPlayerHighScores(2)[1].total_score"));
    // A list never filed is empty, not an error.
    EXPECT_EQ("nil", Eval("GetPlayerTopWords(2)[1]"));
    EXPECT_EQ("true", Eval("GetPlayerTopWords(3).skippable"));
}

TEST_F(HighScoreTest, PagingWrapsAroundAndSkipsEmptySlots)
{
    Run("Players[1].Name = 'ann'");
    Run("DisplayList('Player1Scores')");
    EXPECT_EQ("ann's Top Scores", Eval("HighScores.GetDisplayed().name"));
    Run("ShowNextHighScore()");
    EXPECT_EQ("Top Solitaire Scores", Eval("HighScores.GetDisplayed().name"));
    Run("ShowPrevHighScore()");
    EXPECT_EQ("ann's Top Scores", Eval("HighScores.GetDisplayed().name"));
    Run("ShowPrevHighScore()");
    EXPECT_EQ("ann's Top Words", Eval("HighScores.GetDisplayed().name"));
    Run("ShowPrevHighScore()");
    EXPECT_EQ("Top Ratings", Eval("HighScores.GetDisplayed().name"));
    Run("DisplayList('NoSuchList')");
    EXPECT_EQ("Top Ratings", Eval("HighScores.GetDisplayed().name"));
}

// Player cards on disk: fresh starts, round trips, hostile and damaged files, copied cards,
// failed saves, and the player manager's calls on empty slots.
#include "core/AtomicFile.h"
#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/StopSignal.h"
#include "lua/MakoLuaState.h"
#include "players/CardCheck.h"
#include "players/GameDataIO.h"
#include "players/GameRecordManager.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "support/HostileScripts.h"
#include "support/MessageOf.h"
#include "support/TempHome.h"
#include "support/UnreadableFile.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/LogCapture.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <set>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

class PlayerCardTest : public LuaFixture
{
protected:
    PlayerCardTest()
    {
        PrepareEngine();
        m_Folder = m_Home.Path() + "/cards/";
        LoadPlayerScripts(m_Folder);
        m_Records = std::make_unique<GameRecordManager>(State());
        m_Players = std::make_unique<PlayerManager>(State());
        m_IO = std::make_unique<GameDataIO>(m_Folder);
    }
    ~PlayerCardTest() override
    {
        m_IO.reset();
        m_Players.reset();
        m_Records.reset();
    }

    std::string Card(int slot) const
    {
        return m_Folder + "Player" + std::to_string(slot) + ".card";
    }
    void WriteCard(int slot, const std::string& text)
    {
        fs::create_directories(m_Folder);
        WriteFile(Card(slot), text);
    }
    std::string Eval(const std::string& expression)
    {
        Run("Result__ = tostring(" + expression + ")");
        return GlobalString("Result__");
    }
    void Load(bool force = true) { m_IO->LoadAllPlayerData(force); }

    TempHome m_Home;
    std::string m_Folder;
    std::unique_ptr<GameRecordManager> m_Records;
    std::unique_ptr<PlayerManager> m_Players;
    std::unique_ptr<GameDataIO> m_IO;
};

const char* kRichCard = R"(Player {
    guid = 77,
    Card_Version = 4,
    Name = "Zoë \"\\",
    Motto = "Zoë \"the\" \\wall\\ \n second line",
    Options = { ["game.mode"] = "Adventure", ["player.skill"] = "gamer", ["tip.shown"] = true },
    Game_Modes = { Adventure = { LevelRecords = { ["1-1"] = { rate = 12.5, score = 12 } },
                                 Top_Scores = { { total_score = 9, game_guid = 4 } } } },
    Game_Saves = { Adventure = { CurrentRound = 2,
                                 Board = { 1, 2, { deep = { deeper = "é" } } } } },
    Game_Records = { { gameRecordGuid = 5, gameRecordType = "game", playerGuid = 77,
                       gameScore = 40 } },
    [3] = false,
}
)";

} // namespace

TEST_F(PlayerCardTest, AFreshStartMakesFourNamelessCardsWrittenOnlyWhenSaved)
{
    Load(false);
    EXPECT_EQ(4, m_Players->GetPlayerCount());
    std::set<int> guids;
    for (int i = 1; i <= 4; ++i) {
        Player* player = m_Players->GetPlayer(i);
        ASSERT_NE(nullptr, player);
        EXPECT_TRUE(player->IsEmpty());
        EXPECT_EQ(i, player->GetIndex());
        guids.insert(player->GetGuid());
    }
    EXPECT_EQ(4u, guids.size());
    EXPECT_EQ(m_Players->GetPlayer(1), m_Players->GetCurrentPlayer(1));
    EXPECT_EQ(1, m_Players->GetPlayer(1)->GetCurrentIndex());
    EXPECT_FALSE(fs::exists(Card(1)));
    // Only once per run, unless forced.
    EXPECT_NE(std::string::npos, MessageOf([&] { Load(false); }).find("only be loaded once"));

    Run("Players[1].Name = 'ann'");
    EXPECT_EQ(0, m_IO->SaveAllPlayerData());
    std::string first = ReadFile(Card(1));
    EXPECT_EQ(0u, first.find("Player {\n"));
    EXPECT_NE(std::string::npos, first.find("    Name = \"ann\",\n"));
    EXPECT_NE(std::string::npos, first.find("    Card_Version = 4,\n"));
    EXPECT_NE(std::string::npos, first.find("        [\"player.skill\"] = \"casual\",\n"));
    // No player was made in the other slots: they get no file.
    for (int i = 2; i <= 4; ++i)
        EXPECT_FALSE(fs::exists(Card(i))) << i;

    // The reloaded cards are new tables: lookups hand out players wrapping them.
    Player* before = m_Players->GetPlayer(1);
    int guid = before->GetGuid();
    Load();
    Player* after = m_Players->GetPlayer(1);
    EXPECT_EQ(guid, after->GetGuid());
    EXPECT_EQ("ann", Eval("Players[1].Name"));
    EXPECT_TRUE(after->GetTable() == m_Players->GetPlayerWithGuid(guid)->GetTable());
    EXPECT_TRUE(after->GetTable() == State()->GetGlobal("Players")[1]);
}

TEST_F(PlayerCardTest, EveryValueKindSurvivesARoundTripByteForByte)
{
    WriteCard(2, kRichCard);
    Load();
    EXPECT_EQ("Zoë \"\\", Eval("Players[2].Name"));
    EXPECT_EQ("Zoë \"the\" \\wall\\ \n second line", Eval("Players[2].Motto"));
    EXPECT_EQ("gamer", m_Players->GetPlayer(2)->GetSkill());
    EXPECT_EQ("é", Eval("Players[2].Game_Saves.Adventure.Board[3].deep.deeper"));
    EXPECT_EQ("12.5", Eval("Players[2].Game_Modes.Adventure.LevelRecords['1-1'].rate"));
    ASSERT_EQ(0, m_IO->SaveAllPlayerData());
    std::string first = ReadFile(Card(2));

    Load();
    ASSERT_EQ(0, m_IO->SaveAllPlayerData());
    EXPECT_EQ(first, ReadFile(Card(2)));
    EXPECT_EQ("Zoë \"the\" \\wall\\ \n second line", Eval("Players[2].Motto"));
    EXPECT_EQ("false", Eval("Players[2][3]"));
    EXPECT_EQ(9, m_Players->GetPlayer(2)->GetSumOfScores("Adventure", "Top_Scores", "total_score"));
}

TEST_F(PlayerCardTest, TheSerialisersMarkInACardIsDroppedSoTheCardStillSaves)
{
    WriteCard(1, "Player { guid = 9, Name = \"marked\", Do_Not_Serialize = true }\n");
    Load();
    EXPECT_EQ("nil", Eval("Players[1].Do_Not_Serialize"));
    Run("Players[1].Motto = 'saved'");
    ASSERT_EQ(0, m_IO->SaveAllPlayerData());
    EXPECT_NE(std::string::npos, ReadFile(Card(1)).find("    Name = \"marked\",\n"));
    Load();
    EXPECT_EQ("marked", Eval("Players[1].Name"));
    EXPECT_FALSE(fs::exists(Card(1) + ".bad"));
}

TEST_F(PlayerCardTest, HostileAndDamagedCardsAreSetAsideAndTheOthersLoad)
{
    std::string marker = m_Home.Path() + "/executed";
    std::string hostile[] = {
        "os.execute('touch " + marker + "')\nPlayer { guid = 1, Name = 'x' }\n",
        "Player { guid = 2, Name = 'y' }\nPlayer { guid = 3, Name = 'z' }\n",
        std::string("\x1bLua\x51\x00\x01\x04garbage\xff\xfe", 16),
    };
    const std::string good = "Player { guid = 40, Name = \"kept\", Options = {} }\n";
    for (const std::string& text : hostile) {
        for (int slot = 1; slot <= 4; ++slot)
            fs::remove(Card(slot) + ".bad");
        WriteCard(1, text);
        WriteCard(2, good);
        WriteCard(3, "local t = nil\nPlayer(t.field)\n");
        WriteCard(4, "-- nothing here\n");
        Load();
        EXPECT_FALSE(fs::exists(marker));
        EXPECT_EQ(text, ReadFile(Card(1) + ".bad"));
        EXPECT_FALSE(fs::exists(Card(1)));
        EXPECT_TRUE(fs::exists(Card(3) + ".bad"));
        EXPECT_TRUE(fs::exists(Card(4) + ".bad"));
        EXPECT_FALSE(fs::exists(Card(2) + ".bad"));
        // Each file's card stays at its own slot; the set-aside slots start empty.
        EXPECT_EQ("kept", Eval("Players[2].Name"));
        EXPECT_TRUE(m_Players->GetPlayer(1)->IsEmpty());
        EXPECT_TRUE(m_Players->GetPlayer(3)->IsEmpty());
        EXPECT_EQ(4, m_Players->GetPlayerCount());
    }

    // Random binary bytes and a file that never ends are no cards either.
    std::string noise;
    for (int i = 0; i < 512; ++i)
        noise += static_cast<char>((i * 7919 + 13) & 0xff);
    WriteCard(1, noise);
    WriteCard(3, "while true do end\n");
    Load();
    EXPECT_EQ(noise, ReadFile(Card(1) + ".1.bad"));
    EXPECT_EQ("while true do end\n", ReadFile(Card(3) + ".1.bad"));
    EXPECT_EQ("kept", Eval("Players[2].Name"));
}

TEST_F(PlayerCardTest, ACopiedCardBecomesAPlayerOfItsOwnAndItsRecordsCountOnce)
{
    WriteCard(1, kRichCard);
    WriteCard(3, kRichCard);
    Load();
    EXPECT_EQ(77, m_Players->GetPlayer(1)->GetGuid());
    EXPECT_NE(77, m_Players->GetPlayer(3)->GetGuid());
    EXPECT_EQ("Zoë \"the\" \\wall\\ \n second line", Eval("Players[3].Motto"));
    EXPECT_EQ("40", Eval("GetPlayerWithGuid(77).Game_Records[1].gameScore"));
    EXPECT_NO_THROW(m_Records->GetTableWithGuid(5));
}

TEST_F(PlayerCardTest, AFailedSaveKeepsTheOldCardAndTheMissingFolderIsMade)
{
    Load();
    Run("Players[1].Name = 'first'");
    ASSERT_EQ(0, m_IO->SaveAllPlayerData());

    // A folder in the way of card 2: that card fails, the others are written.
    fs::remove(Card(2));
    fs::create_directories(Card(2));
    Run("Players[1].Name = 'second' Players[2].Name = 'two'");
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_NE(std::string::npos, ReadFile(Card(1)).find("\"second\""));
    EXPECT_TRUE(fs::is_directory(Card(2)));
    for (const auto& entry : fs::directory_iterator(m_Folder))
        EXPECT_EQ(std::string::npos, entry.path().string().find(".tmp.")) << entry.path();

    // A card that cannot be written as text (a value that contains itself) keeps its file.
    fs::remove(Card(2));
    // Card 2, held since something else stood in its place, still holds play not saved.
    Run("Players[1].Self = Players[1]");
    EXPECT_EQ(2, m_IO->SaveAllPlayerData());
    EXPECT_EQ(2u, m_IO->GetUnsavedCards().size());
    EXPECT_NE(std::string::npos, ReadFile(Card(1)).find("\"second\""));
    Run("Players[1].Self = nil");

    fs::remove_all(m_Folder);
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_EQ("", m_IO->GetSaveFailure(1));
    EXPECT_TRUE(fs::exists(Card(1)));
}

TEST_F(PlayerCardTest, CallsOnEmptySlotsAndBadSlotsRaiseNamedErrorsAndChangeNothing)
{
    Load();
    Run("Players[3] = nil");
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     Run("SetCurrentPlayerFromIndex(3, 1)");
                                 }).find("SetCurrentPlayerFromIndex"));
    EXPECT_NE(std::string::npos, MessageOf([&] { Run("ClearPlayer(3)"); }).find("ClearPlayer"));
    EXPECT_EQ("false", Eval("SetCurrentPlayerFromGuid(12345, 1)"));
    EXPECT_TRUE(m_Players->GetCurrentPlayer(1)->IsEqualTo(m_Players->GetPlayer(1)));

    for (int slot : {0, 3})
        EXPECT_NE(std::string::npos, MessageOf([&] {
                                         m_Players->SetCurrentPlayer(m_Players->GetPlayer(2), slot);
                                     }).find("index"));
    EXPECT_EQ(nullptr, m_Players->GetCurrentPlayer(2));

    // Clearing the current player makes the fresh card current in its place.
    Run("Players[1].Name = 'gone'");
    int old = m_Players->GetPlayer(1)->GetGuid();
    Run("Old__ = ClearPlayer(1)");
    EXPECT_EQ("gone", Eval("Old__.Name"));
    EXPECT_NE(old, m_Players->GetPlayer(1)->GetGuid());
    EXPECT_TRUE(m_Players->GetCurrentPlayer(1)->IsEqualTo(m_Players->GetPlayer(1)));
    EXPECT_TRUE(m_Players->GetCurrentPlayer(1)->IsEmpty());
}

// Cards that load but do not have the shape the game needs. Each row is a card in slot 1
// (slot 2 holds a good card throughout): what the game must find after loading it, and the
// log line that must say what happened.
TEST_F(PlayerCardTest, DamagedCardsAreMendedOrSetAsideAndNamedInTheLog)
{
    const std::string good = "Player { guid = 40, Name = \"kept\" }\n";
    struct Row
    {
        std::string card;
        std::string check; // a script expression on the loaded slot 1 that must be true
        std::string logged;
    };
    const std::string aside = "could not be read and was kept as \"" + Card(1) + ".bad\": ";
    const std::vector<Row> rows = {
        {"Player { guid = 1, Name = 'a', Options = {} }",
         "Players[1].Game_Modes.Adventure == nil and Players[1].Name == 'a'",
         "Game_Modes was missing; the card starts with no progress"},
        {"Player { guid = 1, Name = 'a', Game_Modes = {} }",
         "Players[1].Options['game.mode'] == 'Adventure' and Players[1].Name == 'a'",
         "Options was missing; the card was given the options of a new card"},
        {"Player { guid = 1, Name = 'a', Options = { ['game.mode'] = 3 } }",
         "Players[1].Options['game.mode'] == 'Adventure'",
         "Options[\"game.mode\"] was 3; it was set to \"Adventure\""},
        {"Player { guid = 1, Name = 'a', Game_Records = 5 }", "Players[1].Name == nil",
         aside + "Game_Records is 5, not a table"},
        {"Player { guid = 1, Name = 'a', Game_Modes = 'x' }", "Players[1].Name == nil",
         aside + "Game_Modes is a string, not a table"},
        {"Player { guid = 1, Name = 'a', Options = true }", "Players[1].Name == nil",
         aside + "Options is a boolean, not a table"},
        {"Player { guid = 1, Name = {} }", "Players[1].Name == nil",
         aside + "Name is a table, not text"},
        {"Player { guid = 1, Game_Modes = { Adventure = { Top_Scores = { {}, 4, { x = 2 } } } } }",
         "#Players[1].Game_Modes.Adventure.Top_Scores == 2 and "
         "Players[1].Game_Modes.Adventure.Top_Scores[2].x == 2",
         "Game_Modes.Adventure.Top_Scores[2] was 4, not a record; it was dropped"},
        {"Player { guid = 1, Game_Modes = { Adventure = { LevelRecords = { Welcome = 2 } } } }",
         "next(Players[1].Game_Modes.Adventure.LevelRecords) == nil",
         "Game_Modes.Adventure.LevelRecords.Welcome was 2, not a record; it was dropped"},
        {"Player { guid = 1, Game_Modes = { Adventure = { Top_Words = 'x' } } }",
         "Players[1].guid ~= 1", aside + "Game_Modes.Adventure.Top_Words is a string, not a table"},
        {"Player { guid = 1, Name = '" + std::string(5 << 20, 'n') + "' }",
         "Players[1].Name == 'nnnnnnnnn'", "Name was 5242880 characters long; it was cut to 9"},
        {"Player { guid = 1, Name = 'ÅÅÅÅÅÅÅÅÅÅÅ' }", "Players[1].Name == 'ÅÅÅÅÅÅÅÅÅ'",
         "Name was 11 characters long; it was cut to 9"},
        {"Player { guid = 1, Name = '|x=1|' }", "Players[1].Name == '/x=1/'",
         "Name held a bar; each was replaced by '/'"},
        // Texts are taken by their length: what follows a NUL is mended too.
        {"Player { guid = 1, Name = '\\0|Q()|' }", "Players[1].Name == '/Q()/'",
         "Name held a NUL or another control character; each was dropped"},
        {"Player { guid = 1, Name = '\\0' }", "Players[1].Name == ''",
         "Name held a NUL or another control character; each was dropped"},
        {"Player { guid = 1, Game_Modes = { Adventure = { Rank = 'a\\9\\27\\255b' } } }",
         "Players[1].Game_Modes.Adventure.Rank == 'a?b'",
         "Game_Modes.Adventure.Rank held bytes that are not UTF-8; each was replaced by '?'"},
        {"Player { guid = 1, Game_Modes = { Adventure = { LevelRecords = { Welcome = { "
         "artifact = '" +
             std::string(70000, 'x') + "' } } } } }",
         "#Players[1].Game_Modes.Adventure.LevelRecords.Welcome.artifact == 64",
         "Game_Modes.Adventure.LevelRecords.Welcome.artifact was 70000 characters long; it was "
         "cut to 64"},
        {"Player { guid = 1, Game_Modes = { Adventure = { ballsLeft = 1/0, LevelUnlocked = 0/0, "
         "LevelSelected = 1e12, Rank = 7 } } }",
         "Players[1].Game_Modes.Adventure.ballsLeft == 0 and "
         "Players[1].Game_Modes.Adventure.LevelUnlocked == 1 and "
         "Players[1].Game_Modes.Adventure.LevelSelected == 1 and "
         "Players[1].Game_Modes.Adventure.Rank == '?\?\?'",
         "Game_Modes.Adventure.ballsLeft was inf (it must be 0 to 9999); it was set to 0"},
        {"Player { guid = 1, Game_Modes = { Adventure = { ballsLeft = -(0/0) } } }",
         "Players[1].Game_Modes.Adventure.ballsLeft == 0", "ballsLeft was "},
        {"Player { guid = 1, Game_Saves = { Adventure = { Board = { -1/0, 3e9, 2 } } } }",
         "Players[1].Game_Saves.Adventure.Board[1] == 0 and "
         "Players[1].Game_Saves.Adventure.Board[2] == 0 and "
         "Players[1].Game_Saves.Adventure.Board[3] == 2",
         "Game_Saves.Adventure.Board[2] was 3000000000; it was set to 0"},
        {"Player { guid = 1, Game_Saves = { [1/0] = 1, [2] = 2 } }",
         "Players[1].Game_Saves[1/0] == nil and Players[1].Game_Saves[2] == 2",
         "Game_Saves[inf] has a key that is not a finite number; the entry was dropped"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.card.substr(0, 120));
        fs::remove_all(m_Folder);
        WriteCard(1, row.card + "\n");
        WriteCard(2, good);
        LogCapture log;
        Load();
        EXPECT_EQ("true", Eval(row.check));
        EXPECT_NE(std::string::npos, log.Text().find(row.logged)) << log.Text().substr(0, 2000);
        EXPECT_EQ("kept", Eval("Players[2].Name"));
        // What loads saves back, once played, as a card that loads again unchanged, with
        // finite numbers.
        Run("Players[1].Played = true");
        ASSERT_EQ(0, m_IO->SaveAllPlayerData());
        const std::string saved = ReadFile(Card(1));
        EXPECT_EQ(std::string::npos, saved.find("inf")) << saved.substr(0, 500);
        EXPECT_EQ(std::string::npos, saved.find("nan")) << saved.substr(0, 500);
        EXPECT_LT(saved.size(), 1000u);
        Load();
        ASSERT_EQ(0, m_IO->SaveAllPlayerData());
        EXPECT_EQ(saved, ReadFile(Card(1)));
    }
}

TEST_F(PlayerCardTest, EverySetAsideFileKeepsItsOwnNumberedName)
{
    const std::string damaged[] = {"Player { guid = 1, Game_Records = 5 }\n", "garbage(\n",
                                   "Player { guid = 1, Options = 2 }\n"};
    for (const std::string& text : damaged) {
        WriteCard(1, text);
        Load();
    }
    EXPECT_EQ(damaged[0], ReadFile(Card(1) + ".bad"));
    EXPECT_EQ(damaged[1], ReadFile(Card(1) + ".1.bad"));
    EXPECT_EQ(damaged[2], ReadFile(Card(1) + ".2.bad"));
    EXPECT_FALSE(fs::exists(Card(1)));
}

// The numbers of records are held to what their sums and the screens can hold: a goal flag
// is 0 or 1, a score or a percentage lies in its range, a fraction is the whole number below
// it, -0 is 0. Each mend names the card and the key once: saving the mended card mends
// nothing more.
TEST_F(PlayerCardTest, RecordNumbersAreBroughtIntoTheirRangesAndNamedOnce)
{
    WriteCard(1, "Player { guid = 1, Name = 'n', Game_Modes = { Adventure = { LevelSelected = "
                 "2.5, LevelRecords = { Welcome = { secret = 2147483647, fastTime = -0, score = "
                 "-5, loot = 150.7, allLoot = 0.5, best_FinalScore = 1e308, time = 0/0 } }, "
                 "Top_Scores = { { total_score = 3e9, percentage = -1 } } } }, Game_Records = { "
                 "{ gameRecordGuid = 3, gameRecordType = 'game', playerGuid = 1, gameScore = -7 "
                 "} } }\n");
    LogCapture log;
    Load();
    const std::string record = "Players[1].Game_Modes.Adventure.LevelRecords.Welcome.";
    const std::pair<const char*, const char*> expected[] = {
        {"secret", "1"}, {"fastTime", "0"}, {"score", "0"},
        {"loot", "100"}, {"allLoot", "0"},  {"best_FinalScore", "9999999"},
        {"time", "0"},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(value, Eval(record + key)) << key;
    EXPECT_EQ("2", Eval("Players[1].Game_Modes.Adventure.LevelSelected"));
    EXPECT_EQ("999999999", Eval("Players[1].Game_Modes.Adventure.Top_Scores[1].total_score"));
    EXPECT_EQ("0", Eval("Players[1].Game_Modes.Adventure.Top_Scores[1].percentage"));
    EXPECT_EQ("0", Eval("Players[1].Game_Records[1].gameScore"));
    EXPECT_EQ("true",
              Eval("1 / Players[1].Game_Modes.Adventure.LevelRecords.Welcome.fastTime > 0"));
    const std::string text = log.Text();
    EXPECT_NE(std::string::npos,
              text.find("Warning: the card \"" + Card(1) +
                        "\" was mended: Game_Modes.Adventure.LevelRecords.Welcome.secret was "
                        "2147483647 (it must be a whole number from 0 to 1); it was set to 1\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("LevelRecords.Welcome.fastTime was -0")) << text;
    ASSERT_EQ(0, m_IO->SaveAllPlayerData());
    EXPECT_EQ(std::string::npos, log.Text().find("was mended", text.size()))
        << "mended again at the save: " << log.Text().substr(text.size());
}

// A card that cannot be set aside (every set-aside name taken) stays where it is: its slot
// is played without saving, and no save ever writes over it.
TEST_F(PlayerCardTest, ACardThatCannotBeSetAsideIsKeptAndItsSlotIsNeverSaved)
{
    const std::string damaged = "Player { guid = 1, Game_Records = 5 }\n";
    WriteCard(1, "old");
    for (int number = 0; number < kMaxSetAsideFiles; ++number)
        fs::copy_file(Card(1), SetAsideNameOf(Card(1), number));
    WriteCard(1, damaged);
    WriteCard(2, "Player { guid = 40, Name = \"kept\" }\n");
    LogCapture log;
    Load();
    const std::string held =
        "Warning: the card \"" + Card(1) + "\" stays where it is (it could not be set aside: ";
    EXPECT_NE(std::string::npos, log.Text().find(held)) << log.Text();
    EXPECT_TRUE(m_IO->IsSlotUnsaved(1));
    EXPECT_FALSE(m_IO->IsSlotUnsaved(2));
    // Played and saved again and again: the file is the one the player had, and every save
    // names the card as not saved.
    EXPECT_EQ(0, m_IO->SaveAllPlayerData());
    Run("Players[1].Name = 'fresh'");
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_NE("", m_IO->GetSaveFailure(1));
    EXPECT_EQ(damaged, ReadFile(Card(1)));
    EXPECT_EQ("kept", Eval("Players[2].Name"));
    EXPECT_EQ(std::string::npos, log.Text().find(held, log.Text().find(held) + 1)) << "said once";
    // Once a set-aside name is free again, the next load sets it aside and saves the slot.
    fs::remove(SetAsideNameOf(Card(1), 500));
    Load();
    EXPECT_FALSE(m_IO->IsSlotUnsaved(1));
    EXPECT_EQ(damaged, ReadFile(SetAsideNameOf(Card(1), 500)));
    Run("Players[1].Name = 'new'");
    EXPECT_EQ(0, m_IO->SaveAllPlayerData());
    EXPECT_TRUE(fs::exists(Card(1)));
}

TEST_F(PlayerCardTest, ACardStoppedByASignalIsNotSetAsideNorWrittenOver)
{
    // A stop during the read ends it at once; the card counts as unread, not as damaged.
    const std::string endless = "while true do end Player { guid = 1, Name = 'one' }\n";
    WriteCard(1, endless);
    StopSignal::Request(SIGTERM);
    LogCapture log;
    Load();
    StopSignal::Reset();
    EXPECT_FALSE(fs::exists(Card(1) + ".bad"));
    EXPECT_NE(std::string::npos, log.Text().find("reading it was stopped by SIGTERM"))
        << log.Text();
    EXPECT_EQ(endless, ReadFile(Card(1)));
    // Held like any card that could not be read: a save leaves the file as it was.
    m_IO->SaveAllPlayerData();
    EXPECT_EQ(endless, ReadFile(Card(1)));
}

// The keys of a game-mode table are the game's, handed to the check: without them a
// counter out of range stays as it is; with them it takes the new card's value.
TEST_F(PlayerCardTest, TheGameModeKeysHeldAreTheOnesTheGameHandsOver)
{
    const CardCheck::ModeShape game = CardCheck::GetModeShape();
    ASSERT_FALSE(game.counters.empty()) << "the game registers its keys when it starts";
    const std::string card =
        "Player { guid = 1, Game_Modes = { Adventure = { ballsLeft = -5 } } }\n";
    CardCheck::SetModeShape({});
    WriteCard(1, card);
    Load();
    EXPECT_EQ("-5", Eval("Players[1].Game_Modes.Adventure.ballsLeft"));
    CardCheck::SetModeShape(game);
    WriteCard(1, card);
    Load();
    EXPECT_EQ("0", Eval("Players[1].Game_Modes.Adventure.ballsLeft"));
}

TEST_F(PlayerCardTest, ACardDamagedInPlayIsMendedOrKeptOffTheDiskWhenSaved)
{
    Load();
    Run("Players[1].Name = 'ann' Players[1].Game_Modes.Adventure = CreateGameModeTable()");
    ASSERT_EQ(0, m_IO->SaveAllPlayerData());
    EXPECT_EQ("", m_IO->GetLastSaveFailure());

    // A count that went infinite is saved as the count of a new card.
    Run("Players[1].Game_Modes.Adventure.ballsLeft = 1/0 "
        "Players[1].Game_Modes.Adventure.LevelRecords.Welcome = { score = 0/0 }");
    ASSERT_EQ(0, m_IO->SaveAllPlayerData());
    const std::string saved = ReadFile(Card(1));
    EXPECT_NE(std::string::npos, saved.find("        ballsLeft = 0,\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("                score = 0,\n")) << saved;

    // A card the game could not read back keeps its old file, and the failure says why.
    Run("Players[1].Game_Modes = 5 Players[1].Name = 'bo'");
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_EQ("the card is damaged: Game_Modes is 5, not a table", m_IO->GetLastSaveFailure());
    EXPECT_EQ(saved, ReadFile(Card(1)));
    // Native calls on it name the fault instead of stopping the program.
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     m_Players->GetPlayer(1)->GetGameModeTable("Adventure");
                                 }).find("Game_Modes is not a table"));
    // A card grown in play past what the next start would read keeps its old file.
    Run("Players[1].Game_Modes = {} Players[1].Game_Saves = {} "
        "for i = 1, 17 do Players[1].Game_Saves[i] = string.rep('s', 1024 * 1024) end");
    const std::string before = ReadFile(Card(1));
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_EQ("the card cannot be saved: it would be larger than the 16 MiB a card file may hold",
              m_IO->GetLastSaveFailure());
    EXPECT_EQ(before, ReadFile(Card(1)));
    Run("Players[1].Game_Saves = nil");
    // A card whose tables went missing in play gets them back on first use.
    Run("Players[1].Game_Modes = nil Players[1].Options = nil");
    EXPECT_EQ("", m_Players->GetPlayer(1)->GetSkill());
    EXPECT_TRUE(m_Players->GetPlayer(1)->GetGameModeTable("Adventure").IsTable());
    EXPECT_EQ(0, m_IO->SaveAllPlayerData());
    EXPECT_EQ("", m_IO->GetLastSaveFailure());
}

TEST_F(PlayerCardTest, CardsThatExhaustTimeOrMemoryOrCannotBeSavedAreSetAsideAndTheOthersLoad)
{
    const std::string good = "Player { guid = 40, Name = \"kept\" }\n";
    struct Row
    {
        std::string card;
        std::string logged;
    };
    const std::string aside = "could not be read and was kept as \"" + Card(1) + ".bad\": ";
    const std::vector<Row> rows = {
        // A string that grows without end stops at the memory budget.
        {std::string(bbtest::kGrowsWithoutEnd) + " Player { guid = 1, Name = s }",
         aside + "the file needs more than 128 MiB of memory"},
        {"local t = { guid = 1 } t.Game_Saves = { t } Player(t)",
         aside + "the card cannot be saved: it holds itself"},
        {"local t = {} for i = 1, 40 do t = { t, t } end Player { guid = 1, Game_Saves = t }",
         aside + "the card cannot be saved: it would be written as more than 100000 tables"},
        // A card that loads but whose text would be over the file budget: saving it would
        // fail at every quit, and everything played since the start would be lost.
        {"local s = 'x' for i = 1, 24 do s = s .. s end Player { guid = 1, Motto = s }",
         aside + "the card cannot be saved: it would be larger than the 16 MiB a card file "
                 "may hold"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.card);
        fs::remove_all(m_Folder);
        WriteCard(1, row.card + "\n");
        WriteCard(2, good);
        LogCapture log;
        Load();
        EXPECT_NE(std::string::npos, log.Text().find(row.logged)) << log.Text().substr(0, 2000);
        EXPECT_EQ(row.card + "\n", ReadFile(Card(1) + ".bad"));
        EXPECT_TRUE(m_Players->GetPlayer(1)->IsEmpty());
        EXPECT_EQ("kept", Eval("Players[2].Name"));
        EXPECT_EQ(0, m_IO->SaveAllPlayerData());
    }
}

TEST_F(PlayerCardTest, SharedTablesAreCheckedAndMendedOnce)
{
    // 2^14 ways to the innermost table, but only 15 tables: each is checked once, and its
    // number mended once. (Shared past what the writer would write, the card is refused:
    // see above.)
    WriteCard(1, "local t = { 1/0 } for i = 1, 14 do t = { t, t } end\n"
                 "Player { guid = 1, Name = 'ann', Game_Saves = { Board = t } }\n");
    LogCapture log;
    // Checked once each is what the single mending line below shows; a clock would measure
    // the machine's load rather than the check.
    Load();
    EXPECT_EQ("ann", Eval("Players[1].Name"));
    EXPECT_EQ("0", Eval("(function() local t = Players[1].Game_Saves.Board "
                        "for i = 1, 14 do t = t[i % 2 + 1] end return t[1] end)()"));
    const std::string text = log.Text();
    const std::size_t first = text.find("; it was set to 0");
    ASSERT_NE(std::string::npos, first) << text;
    EXPECT_EQ(std::string::npos, text.find("; it was set to 0", first + 1)) << text;
}

TEST_F(PlayerCardTest, AGuidThatIsNoWholeNumberIsRenumberedAndTheCardKept)
{
    for (const std::string guid : {"34.5", "0/0", "1/0", "'seven'", "3e10"}) {
        SCOPED_TRACE(guid);
        fs::remove_all(m_Folder);
        WriteCard(1, "Player { guid = " + guid +
                         ", Name = 'ann', Game_Modes = { Adventure = { LevelUnlocked = 7 } } }\n");
        LogCapture log;
        Load();
        EXPECT_FALSE(fs::exists(Card(1) + ".bad"));
        EXPECT_EQ("ann", Eval("Players[1].Name"));
        EXPECT_EQ("7", Eval("Players[1].Game_Modes.Adventure.LevelUnlocked"));
        EXPECT_EQ("true", Eval("math.floor(Players[1].guid) == Players[1].guid and "
                               "Players[1].guid > 0"));
        EXPECT_NE(std::string::npos,
                  log.Text().find("guid was " + std::string(guid == "34.5" ? "34.5" : "")))
            << log.Text();
        EXPECT_NE(std::string::npos,
                  log.Text().find(", not a whole number; it was given the guid " +
                                  Eval("Players[1].guid") + "\n"))
            << log.Text();
        ASSERT_EQ(0, m_IO->SaveAllPlayerData());
        const std::string saved = ReadFile(Card(1));
        Load();
        EXPECT_EQ(saved, (m_IO->SaveAllPlayerData(), ReadFile(Card(1))));
    }
    // Without any guid the file is no card.
    WriteCard(1, "Player { Name = 'ann' }\n");
    Load();
    EXPECT_TRUE(fs::exists(Card(1) + ".bad"));
}

// Only a missing card file is a fresh start. One that is there but cannot be read (no
// permission, an I/O error, a folder, a link loop, a FIFO, a link to a device) is never
// waited on, and stays as it is: its slot is played without saving, and the card says so.
TEST_F(PlayerCardTest, ACardThatIsThereButCannotBeReadIsKeptAndItsSlotNeverSaved)
{
    const std::string precious = "Player { guid = 7, Name = \"Precious\" }\n";
    for (const UnreadableKind kind : kUnreadableKinds) {
        SCOPED_TRACE(NameOf(kind));
        fs::remove_all(m_Folder);
        UnreadableFile file(Card(1), kind, precious);
        WriteCard(2, "Player { guid = 40, Name = \"kept\" }\n");
        LogCapture log;
        Load();
        const std::string held = "Warning: the card \"" + Card(1) +
                                 "\" stays where it is (it could not be read: " + ReasonOf(kind) +
                                 "): its slot is played without saving";
        EXPECT_NE(std::string::npos, log.Text().find(held)) << log.Text();
        EXPECT_TRUE(m_IO->IsSlotUnsaved(1));
        EXPECT_FALSE(m_IO->IsSlotUnsaved(2));
        Run("Players[1].Name = 'fresh' Players[2].Name = 'saved'");
        EXPECT_EQ(1, m_IO->SaveAllPlayerData());
        EXPECT_EQ(1, m_IO->SaveAllPlayerData());
        EXPECT_EQ(1u, m_IO->GetUnsavedCards().count(1));
        EXPECT_EQ("", file.Changed());
        EXPECT_FALSE(fs::exists(fs::symlink_status(Card(1) + ".bad")));
        EXPECT_NE(std::string::npos, ReadFile(Card(2)).find("\"saved\""));
        EXPECT_EQ(std::string::npos,
                  log.Text().find("stays where it is", log.Text().find(held) + held.size()))
            << "said once";
    }
    fs::remove_all(m_Folder);
    fs::create_directories(m_Folder);
    ASSERT_EQ(0, ::symlink("/dev/zero", Card(3).c_str()));
    LogCapture log;
    Load();
    EXPECT_NE(std::string::npos, log.Text().find("it is a device, not a regular file"))
        << log.Text();
    EXPECT_TRUE(m_IO->IsSlotUnsaved(3));
    EXPECT_EQ(0, m_IO->SaveAllPlayerData());
    EXPECT_TRUE(fs::is_symlink(Card(3)));
}

// A card that loads is one the game can save again once a game has added to it: a card
// with no room left for that is played without saving, and says so, rather than losing the
// progress of every later game at each save.
TEST_F(PlayerCardTest, ACardThatLoadsSavesAgainAfterPlayOrItsSlotSaysItIsNotSaved)
{
    WriteCard(1, "Player { guid = 1, Name = 'ann', Motto = '' }\n");
    Load();
    Run("Players[1].Played = true");
    ASSERT_EQ(0, m_IO->SaveAllPlayerData());
    const std::string saved = ReadFile(Card(1));
    const std::size_t motto = saved.find("Motto = \"\"");
    ASSERT_NE(std::string::npos, motto);
    // The card file with a motto that makes its saved text `size` bytes.
    const auto cardOfSize = [&](std::size_t size) {
        std::string text = saved;
        text.insert(motto + 9, std::string(size - saved.size(), 'x'));
        return text;
    };
    // What a game adds: a level's record in each mode.
    const std::string play =
        "for _, mode in ipairs({'Adventure', 'Lab'}) do "
        "Players[1].Game_Modes[mode] = Players[1].Game_Modes[mode] or {} "
        "Players[1].Game_Modes[mode].LevelRecords = { Welcome = { score = 9999999, "
        "allLoot = 1, secret = 1, time = 1234, ballsUsed = 3 } } end";

    // 60 bytes under what a card file may hold: it loads, but could not be saved after play.
    const std::string full = cardOfSize((std::size_t(16) << 20) - 60);
    WriteCard(1, full);
    LogCapture log;
    Load();
    EXPECT_EQ("ann", Eval("Players[1].Name"));
    EXPECT_TRUE(m_IO->IsSlotUnsaved(1));
    EXPECT_NE(std::string::npos,
              log.Text().find("Warning: the card \"" + Card(1) +
                              "\" stays where it is (it leaves no room for what a game adds"))
        << log.Text().substr(0, 2000);
    Run(play);
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_TRUE(ReadFile(Card(1)) == full) << "the held card was written over";

    // With room to spare it loads and saves as ever, after play too.
    WriteCard(1, cardOfSize((std::size_t(15) << 20) - 60));
    Load();
    EXPECT_FALSE(m_IO->IsSlotUnsaved(1));
    Run(play);
    EXPECT_EQ(0, m_IO->SaveAllPlayerData());
    EXPECT_NE(std::string::npos, ReadFile(Card(1)).find("score = 9999999"));
}

// Two copies of the game with one card folder: a save never undoes what the other saved
// after this copy read its cards. A card this copy changed is held (the newer file kept,
// the slot said to be unsaved, the save reported failed); one it did not change is left to
// the other; a missing card the other made is not replaced by a fresh one.
TEST_F(PlayerCardTest, ASaveNeverUndoesACardAnotherCopySavedAfterThisOneReadIt)
{
    WriteCard(1, "Player { guid = 11, Name = 'ann', "
                 "Game_Modes = { Adventure = { LevelUnlocked = 2 } } }\n");
    WriteCard(2, "Player { guid = 12, Name = 'bo' }\n");
    Load();
    // The other copy wins a level on card 1 and makes card 3.
    const std::string theirs = "Player { guid = 11, Name = 'ann', "
                               "Game_Modes = { Adventure = { LevelUnlocked = 3 } } }\n";
    WriteCard(1, theirs);
    const std::string made = "Player { guid = 13, Name = 'cy' }\n";
    WriteCard(3, made);

    LogCapture log;
    Run("Players[1].Options['player.skill'] = 'gamer'");
    // Card 1 holds this copy's change, and is named; card 3 holds nothing of this copy's.
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_EQ(std::string("another copy of the game saved this card after this one read it, and "
                          "its card was kept"),
              m_IO->GetSaveFailure(1));
    EXPECT_EQ("", m_IO->GetSaveFailure(3));
    EXPECT_EQ(theirs, ReadFile(Card(1)));
    EXPECT_EQ(made, ReadFile(Card(3)));
    EXPECT_TRUE(m_IO->IsSlotUnsaved(1));
    EXPECT_FALSE(m_IO->IsSlotUnsaved(3));
    EXPECT_FALSE(m_IO->IsSlotUnsaved(2));
    EXPECT_NE(std::string::npos,
              log.Text().find("Warning: the card \"" + Card(1) +
                              "\" stays where it is (it changed after this copy"))
        << log.Text();
    EXPECT_NE(std::string::npos, log.Text().find("Not saved: the card of \"ann\" (slot 1)."));
    // Card 2, unchanged in a form of its own, stays as it is; no player was made in slot 4.
    EXPECT_EQ("Player { guid = 12, Name = 'bo' }\n", ReadFile(Card(2)));
    EXPECT_FALSE(fs::exists(Card(4)));

    // Held cards stay held; an unchanged card is left to whoever saved it since.
    const std::string otherSecond = "Player { guid = 12, Name = 'bo', Motto = 'theirs' }\n";
    WriteCard(2, otherSecond);
    Run("Players[4].Name = 'di'");
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_EQ(1u, m_IO->GetUnsavedCards().count(1));
    EXPECT_EQ(theirs, ReadFile(Card(1)));
    EXPECT_EQ(otherSecond, ReadFile(Card(2)));
    EXPECT_FALSE(m_IO->IsSlotUnsaved(2));
    EXPECT_NE(std::string::npos, ReadFile(Card(4)).find("\"di\""));
    // This copy's own saves follow one another.
    Run("Players[4].Name = 'ed'");
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_NE(std::string::npos, ReadFile(Card(4)).find("\"ed\""));
}

// A copy that may not save (its single-instance lock could not be taken) plays every slot
// without saving, also after its cards are loaded again.
TEST_F(PlayerCardTest, ACopyThatMayNotSaveHoldsEveryCard)
{
    WriteCard(1, "Player { guid = 11, Name = 'ann' }\n");
    LogCapture log;
    m_IO->HoldEveryFile("the single-instance lock cannot be taken: Read-only file system");
    Load();
    Run("Players[1].Name = 'bo' Players[2].Name = 'cy'");
    // The two cards changed are named as not saved; the others lost nothing.
    EXPECT_EQ(2, m_IO->SaveAllPlayerData());
    EXPECT_EQ(2u, m_IO->GetUnsavedCards().size());
    EXPECT_EQ("Player { guid = 11, Name = 'ann' }\n", ReadFile(Card(1)));
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_TRUE(m_IO->IsSlotUnsaved(slot)) << slot;
    EXPECT_FALSE(fs::exists(Card(2)));
    EXPECT_NE(std::string::npos,
              log.Text().find("Warning: no player card is saved in this run (the single-instance "
                              "lock cannot be taken: Read-only file system)"))
        << log.Text();
}

// Two slots whose files link to one card: another copy saves that card, and this copy
// changes slot 1 only. Slot 1 is named as not saved, slot 2 (nothing of this copy's to save)
// is not, and the other copy's card stays.
TEST_F(PlayerCardTest, TwoSlotsOnOneFileNameOnlyTheSlotThatLostPlay)
{
    const std::string shared = m_Folder + "shared.card";
    WriteFile(shared, "Player { guid = 21, Name = 'ann' }\n");
    fs::create_symlink(shared, Card(1));
    fs::create_symlink(shared, Card(2));
    Load();
    const std::string theirs = "Player { guid = 21, Name = 'ann', Motto = 'theirs' }\n";
    WriteFile(shared, theirs);
    Run("Players[1].Options['player.skill'] = 'gamer'");
    EXPECT_EQ(1, m_IO->SaveAllPlayerData());
    EXPECT_NE("", m_IO->GetSaveFailure(1));
    EXPECT_EQ("", m_IO->GetSaveFailure(2));
    Run("SaveOk__, Unsaved__ = SaveData()");
    EXPECT_EQ("false", Eval("SaveOk__"));
    EXPECT_EQ("true", Eval("Unsaved__[1] ~= nil and Unsaved__[2] == nil"));
    EXPECT_EQ(theirs, ReadFile(shared));
    EXPECT_TRUE(fs::is_symlink(Card(1)));
}

// A card an editor saved with a byte order mark, or that begins with a "#!" line, is the
// player's card all the same: it loads, and an error further down names its own line.
TEST_F(PlayerCardTest, AByteOrderMarkOrAHashLineBeforeTheCardIsReadPast)
{
    const std::string card = "Player { guid = 31, Name = 'marked' }\n";
    for (const std::string& before : {std::string("\xEF\xBB\xBF"), std::string("#!/bin/lua\n"),
                                      std::string("\xEF\xBB\xBF#!/bin/lua\n")}) {
        SCOPED_TRACE(before);
        fs::remove_all(m_Folder);
        WriteCard(1, before + card);
        Load();
        EXPECT_EQ("marked", Eval("Players[1].Name"));
        EXPECT_EQ(31, m_Players->GetPlayer(1)->GetGuid());
        EXPECT_FALSE(fs::exists(Card(1) + ".bad"));
    }
    fs::remove_all(m_Folder);
    WriteCard(1, "#!/bin/lua\nPlayer {\n  guid = 31 +\n}\n");
    LogCapture log;
    Load();
    EXPECT_NE(std::string::npos, log.Text().find("Player1.card:4:")) << log.Text();
}

// Two slots whose files are one file (a link, a second name) are one card: the first slot's.
// The later slot plays a fresh card that is never saved, and the file's guid stays the
// same from start to start, whatever the slots played.
TEST_F(PlayerCardTest, TwoSlotsNamingOneFileAreOneCardAndTheFileIsNeverRewrittenForIt)
{
    WriteCard(1, "Player { guid = 11, Name = 'one' }\n");
    fs::create_symlink("Player1.card", Card(2));
    fs::create_hard_link(Card(1), Card(4));
    for (int start = 1; start <= 3; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        LogCapture log;
        Load();
        EXPECT_EQ(11, m_Players->GetPlayer(1)->GetGuid());
        EXPECT_EQ("one", Eval("Players[1].Name"));
        EXPECT_NE(11, m_Players->GetPlayer(2)->GetGuid());
        EXPECT_TRUE(m_IO->IsSlotUnsaved(2));
        // A second name is the same file: card 1, unchanged, is never written anew.
        EXPECT_TRUE(m_IO->IsSlotUnsaved(4));
        EXPECT_FALSE(m_IO->IsSlotUnsaved(1));
        EXPECT_NE(std::string::npos,
                  log.Text().find("it is the same file as the card \"" + Card(1) + "\""))
            << log.Text();
        Run("Players[2].Name = 'two' Players[4].Name = 'four'");
        m_IO->SaveAllPlayerData();
        const std::string saved = ReadFile(Card(1));
        EXPECT_NE(std::string::npos, saved.find("guid = 11,")) << saved;
        EXPECT_NE(std::string::npos, saved.find("Name = 'one'")) << saved;
        EXPECT_TRUE(fs::is_symlink(Card(2)));
    }
}

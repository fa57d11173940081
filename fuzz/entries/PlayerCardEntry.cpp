// A player card file read at start-up as the game reads its four slots, then saved and
// read again; and, where the asset pack is at hand, shown on the menu and played.
#include "CardStage.h"
#include "FuzzEntries.h"
#include "FuzzHost.h"
#include "FuzzSeeds.h"

#include "core/AtomicFile.h"
#include "core/Exception.h"
#include "lua/MakoLuaState.h"
#include "players/GameDataIO.h"
#include "players/GameRecordManager.h"
#include "players/Player.h"
#include "players/PlayerManager.h"

#include <filesystem>
#include <memory>

namespace fuzz {

namespace {

// The script state, managers and card reader of the game's start-up, over the cards of
// folder.
class CardWorld
{
public:
    explicit CardWorld(const std::string& folder)
    {
        InitLuaState(m_State.Get());
        MakoLuaState::DoResourceFile(m_State.Get(), "PlayerDefaults.lua");
        MakoLuaState::DoResourceFile(m_State.Get(), "Player.lua");
        m_State.Get()->GetGlobals().CreateTable("Paths").SetString("PlayerData", folder);
        m_Records = std::make_unique<GameRecordManager>(m_State.Get());
        m_Players = std::make_unique<PlayerManager>(m_State.Get());
        m_IO = std::make_unique<GameDataIO>(folder);
    }
    ~CardWorld()
    {
        m_IO.reset();
        m_Players.reset();
        m_Records.reset();
    }

    LuaPlus::LuaState* State() const { return m_State.Get(); }
    PlayerManager& Players() { return *m_Players; }
    GameDataIO& IO() { return *m_IO; }

private:
    OwnedState m_State;
    std::unique_ptr<GameRecordManager> m_Records;
    std::unique_ptr<PlayerManager> m_Players;
    std::unique_ptr<GameDataIO> m_IO;
};

// Asks the loaded card in slot 1 what the game asks of a player.
void TouchPlayer(PlayerManager& players)
{
    Player* player = players.GetPlayer(1);
    if (!player)
        Fail("slot 1 holds no player after loading");
    try {
        player->GetGuid();
        player->GetSkill();
        player->IsEmpty();
        player->GetGameRecords();
        player->GetSumOfScores("Adventure", "Top_Scores", "total_score");
        player->GetModeValue("Adventure", "CurrentRound");
    } catch (const Exception&) {
    }
}

// The card in slot 1 of the game around it: its card on the menu, its game started.
void PlayCard(const uint8_t* data, size_t size)
{
    CardStage* stage = CardStage::Get();
    if (!stage)
        return;
    const std::string folder = ScratchFolder() + "stage-cards/";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    WriteScratchFile(folder + "Player1.card", data, size);
    try {
        stage->Play(folder);
    } catch (const std::exception& e) {
        Fail(std::string("the game could not show and play a card it loaded: ") + e.what());
    }
}

} // namespace

void RunPlayerCard(const uint8_t* data, size_t size)
{
    PrepareEngineOnce();
    PlayCard(data, size);
    const std::string folder = ScratchFolder() + "cards/";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    const std::string card = folder + "Player1.card";
    WriteScratchFile(card, data, size);

    std::string saved;
    {
        CardWorld world(folder);
        try {
            // Besides the game's own budget for the file: a memory limit for the input.
            ScriptLimits limits(world.State()->GetCState(), 50000000, 256u << 20);
            world.IO().LoadAllPlayerData(true);
        } catch (const Exception&) {
            return; // a card the game refuses at start-up is reported as such
        }
        TouchPlayer(world.Players());
        const ValueFacts facts = InspectValue(world.State()->GetGlobal("Players")[1]);
        if (facts.cycle)
            Fail("the game took in a card that holds itself: it cannot be saved");
        if (!facts.Repeatable())
            return;
        if (world.IO().SaveAllPlayerData() != 0)
            return;
        if (!std::filesystem::exists(card))
            return; // a fresh card is written only once it has something to keep
        saved = ReadScratchFile(card);
    }
    CardWorld world(folder);
    world.IO().LoadAllPlayerData(true);
    for (int number = 0; number < 2; ++number) {
        const std::string aside = SetAsideNameOf(card, number);
        if (std::filesystem::exists(aside) && ReadScratchFile(aside) == saved)
            Fail("the card the game saved was set aside when read back:\n" + saved);
    }
    TouchPlayer(world.Players());
    if (world.IO().SaveAllPlayerData() != 0)
        Fail("the card read back from the game's own file cannot be saved");
    if (ReadScratchFile(card) != saved)
        Fail("the card changed on its way through its file:\n" + saved + "\n---- became ----\n" +
             ReadScratchFile(card));
}

std::vector<Seed> SavedCardSeeds()
{
    PrepareEngineOnce();
    std::vector<Seed> seeds;
    const std::string folder = ScratchFolder() + "seed-cards/";
    // The cards written inside the card tests' source, each read and saved again.
    std::vector<std::string> fixtures;
    const std::string tests = ReadScratchFile(SourceFolder() + "/tests/players/PlayerCardTest.cpp");
    for (size_t at = tests.find("R\"(Player"); at != std::string::npos;
         at = tests.find("R\"(Player", at + 1)) {
        const size_t end = tests.find(")\"", at);
        if (end != std::string::npos)
            fixtures.push_back(tests.substr(at + 3, end - at - 3));
    }
    // A fresh card signed in, with a record, an option and a saved game.
    const std::string signIn =
        "Players[1].Name = 'ann'\n"
        "Players[1].Options['game.mode'] = 'Adventure'\n"
        "Players[1].Game_Records = { { gameRecordGuid = 5, gameRecordType = 'game',"
        " playerGuid = Players[1].guid, gameScore = 40 } }\n";
    // Cards whose game records lack what the lists order them by, or hold it as another
    // kind, huge, or twice: each record is one object made from the card.
    const std::string head = "Player { guid = 77, Card_Version = 4, Name = \"Zed\", Options = { "
                             "[\"game.mode\"] = \"Adventure\", [\"player.skill\"] = \"gamer\" }, "
                             "Game_Records = { ";
    for (const char* records :
         {"{ gameRecordGuid = 1, gameRecordType = \"game\" }, { gameRecordGuid = 2, "
          "gameRecordType = \"game\" }",
          "{ gameRecordGuid = 1, gameRecordType = \"game\" }, { gameRecordGuid = 2, "
          "gameRecordType = \"game\", gameScore = 40 }, { gameRecordGuid = 3, gameRecordType = "
          "\"game\", gameScore = \"many\" }, { gameRecordGuid = 4, gameRecordType = \"game\", "
          "gameScore = { 5 } }",
          "{ gameRecordGuid = 1, gameRecordType = \"game\", gameScore = 1e308 }, { "
          "gameRecordGuid = 1, gameRecordType = \"game\", gameScore = -1 }, { gameRecordGuid = "
          "2.5, gameRecordType = \"game\", gameScore = 0/0 }, 7, { gameRecordType = 5 }"})
        fixtures.push_back(head + records + " } }");
    std::string many = head;
    for (int i = 1; i <= 40; ++i)
        many += "{ gameRecordGuid = " + std::to_string(i) + ", gameRecordType = \"game\"" +
                (i % 3 ? ", gameScore = " + std::to_string(i * 7919 % 1000) : std::string()) +
                " }, ";
    fixtures.push_back(many + "} }");
    fixtures.push_back(std::string());
    for (size_t i = 0; i < fixtures.size(); ++i) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        std::filesystem::create_directories(folder);
        if (!fixtures[i].empty()) {
            const std::string& text = fixtures[i];
            WriteScratchFile(folder + "Player1.card", reinterpret_cast<const uint8_t*>(text.data()),
                             text.size());
            seeds.push_back({"fixture-" + std::to_string(i) + ".card", text});
        }
        CardWorld world(folder);
        world.IO().LoadAllPlayerData(true);
        if (fixtures[i].empty())
            MakoLuaState::LoadString(world.State(), signIn);
        world.IO().SaveAllPlayerData();
        if (std::filesystem::exists(folder + "Player1.card"))
            seeds.push_back(
                {"saved-" + std::to_string(i) + ".card", ReadScratchFile(folder + "Player1.card")});
    }
    return seeds;
}

} // namespace fuzz

#include "players/GameRecordManager.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "lua/LuaFunctionList.h"
#include "players/GameRecord.h"
#include "players/GameRecordObserver.h"
#include "players/HighScoreManager.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "players/PlayerScript.h"

#include <boost/format.hpp>

#include <algorithm>
#include <string>

namespace {
GameRecordManager* gGameRecordManager = nullptr;
}

GameRecordManager::GameRecordManager(LuaPlus::LuaState* state)
{
    m_Records.AssignNewTable(state);
    gGameRecordManager = this;
}

GameRecordManager::~GameRecordManager()
{
    if (gGameRecordManager == this)
        gGameRecordManager = nullptr;
}

GameRecordManager* GameRecordManager::GetInstance()
{
    return gGameRecordManager;
}

void GameRecordManager::AddObserver(GameRecordObserver* observer)
{
    m_Observers.push_back(observer);
}

void GameRecordManager::RemoveObserver(GameRecordObserver* observer)
{
    m_Observers.erase(std::remove(m_Observers.begin(), m_Observers.end(), observer),
                      m_Observers.end());
}

void GameRecordManager::NotifyObservers(const GameRecord& record)
{
    std::vector<GameRecordObserver*> observers = m_Observers;
    for (GameRecordObserver* observer : observers)
        observer->OnGameRecord(record);
}

void GameRecordManager::RestoreTable(int guid, const LuaPlus::LuaObject& table)
{
    // A copied card brings records known already: each counts once.
    if (!m_Records[guid].IsNil())
        MAKO_THROW(Exception, "\"gameRecordGuid\": a game record with the guid " +
                                  std::to_string(guid) + " is known already; it counts once");
    m_Records.SetObject(guid, table);
}

LuaPlus::LuaObject GameRecordManager::GetTableWithGuid(int guid) const
{
    LuaPlus::LuaObject record = m_Records[guid];
    MAKO_ASSERT_MSG(
        record.IsTable(),
        boost::str(boost::format("Invalud guid, record is of type \"%1%\"") % record.TypeName()));
    return record;
}

namespace {

// The configured name of game mode i (1 to 3), or its usual name.
std::string GameModeName(int i)
{
    static const char* const kDefaults[3] = {"Solitaire", "Compete", "Blast"};
    std::string key = "GameMode" + std::to_string(i);
    if (Config* config = Config::GetCurrent()) {
        LuaPlus::LuaObject value = config->GetObject(key);
        if (value.IsString())
            return value.GetString();
    }
    return kDefaults[i - 1];
}

// Every table value of the list, in ascending order of integer keys first.
std::vector<LuaPlus::LuaObject> Entries(const LuaPlus::LuaObject& list)
{
    std::vector<LuaPlus::LuaObject> entries;
    if (!list.IsTable())
        return entries;
    for (int i = 1; !list[i].IsNil(); ++i)
        entries.push_back(list[i]);
    return entries;
}

void FileScoreRecord(Player& player, const LuaPlus::LuaObject& record)
{
    player.AddScoreRecord(record);
    if (HighScoreManager* scores = HighScoreManager::GetInstance())
        scores->AddScoreRecord(record, true);
}

void FileWordRecord(Player& player, const LuaPlus::LuaObject& record)
{
    player.AddWordRecord(record);
    if (HighScoreManager* scores = HighScoreManager::GetInstance())
        scores->AddWordRecord(record);
}

// The owner of a score or word record; raises naming the call when there is none.
Player& OwnerOf(const LuaPlus::LuaObject& record, const char* call)
{
    PlayerManager* players = PlayerManager::GetInstance();
    LuaPlus::LuaObject guid = record["player_guid"];
    Player* player = players && PlayerScript::IsInteger(guid)
                         ? players->GetPlayerWithGuid(guid.GetInteger())
                         : nullptr;
    if (!player)
        MAKO_THROW(ScriptError, std::string(call) + ": no player has the guid " +
                                    (guid.IsNil() ? std::string("nil") : guid.ToString()) + ".");
    return *player;
}

} // namespace

void GameRecordManager::AddRecordsFromPlayer(Player* player, bool alsoGameRecords)
{
    MAKO_ASSERT(player != nullptr);
    MAKO_ASSERT(player->IsEmpty() == false);
    for (int i = 1; i <= 3; ++i) {
        LuaPlus::LuaObject modeTable = player->GetGameModeTable(GameModeName(i));
        for (const LuaPlus::LuaObject& record : Entries(modeTable["Top_Scores"]))
            FileScoreRecord(*player, record);
        for (const LuaPlus::LuaObject& record : Entries(modeTable["Top_Percentages"]))
            FileScoreRecord(*player, record);
        for (const LuaPlus::LuaObject& record : Entries(modeTable["Top_Words"]))
            FileWordRecord(*player, record);
    }
    if (!alsoGameRecords)
        return;
    for (const LuaPlus::LuaObject& table : Entries(player->GetGameRecords())) {
        LuaPlus::LuaObject guid = table["gameRecordGuid"];
        if (!PlayerScript::IsInteger(guid) || !m_Records[guid.GetInteger()].IsNil() ||
            !table["gameRecordType"].IsString())
            continue;
        GameRecord record(table);
        NotifyObservers(record);
    }
}

void GameRecordManager::RefreshRecordsFromPlayers()
{
    PlayerManager* players = PlayerManager::GetInstance();
    MAKO_ASSERT(players != nullptr);
    for (int i = 1; i <= 4; ++i) {
        Player* player = players->GetPlayer(i);
        if (player && !player->IsEmpty())
            AddRecordsFromPlayer(player, false);
    }
}

// AddScoreRecords(list): files every table of the list into its owner's card and the
// high-score lists. A record whose player_guid names no player raises.
MAKO_LUA_FUNCTION(AddScoreRecords)
{
    LuaPlus::LuaObject list(L, 1);
    if (!list.IsTable())
        return 0;
    for (LuaPlus::LuaTableIterator it(list); it; it.Next())
        if (it.GetValue().IsTable())
            FileScoreRecord(OwnerOf(it.GetValue(), "AddScoreRecords"), it.GetValue());
    return 0;
}

// AddWordRecords(list): the same for word records.
MAKO_LUA_FUNCTION(AddWordRecords)
{
    LuaPlus::LuaObject list(L, 1);
    if (!list.IsTable())
        return 0;
    for (LuaPlus::LuaTableIterator it(list); it; it.Next()) {
        if (!it.GetValue().IsTable())
            MAKO_THROW(ScriptError, "AddWordRecords: a word record must be a table.");
        FileWordRecord(OwnerOf(it.GetValue(), "AddWordRecords"), it.GetValue());
    }
    return 0;
}

// RefreshRecordsFromPlayers(): files every signed-in player's top lists again.
MAKO_LUA_FUNCTION(RefreshRecordsFromPlayers)
{
    GameRecordManager* manager = GameRecordManager::GetInstance();
    if (!manager)
        MAKO_THROW(ScriptError, "RefreshRecordsFromPlayers: there are no game records.");
    manager->RefreshRecordsFromPlayers();
    return 0;
}

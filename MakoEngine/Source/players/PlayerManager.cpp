#include "players/PlayerManager.h"

#include "core/AppHost.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/Event.h"
#include "core/Exception.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "lua/Variant.h"
#include "players/GameRecordManager.h"
#include "players/Player.h"
#include "players/PlayerScript.h"

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

namespace {

PlayerManager* gPlayerManager = nullptr;

void PostPlayerChange()
{
    if (AppHost* host = GetAppHost())
        host->PostEvent(nullptr, MAKO_PLAYERCHANGE);
}

} // namespace

PlayerManager::PlayerManager(LuaPlus::LuaState* state) : m_State(state)
{
    m_Cache.reserve(100);
    MakoLuaState::DoResourceFile(m_State, "PlayerManager.lua");
    if (GameRecordManager* records = GameRecordManager::GetInstance())
        records->AddObserver(this);
    m_PlayerClass = ClassManager::GetInstance()->GetClass("Player");
    gPlayerManager = this;
}

PlayerManager::~PlayerManager()
{
    if (GameRecordManager* records = GameRecordManager::GetInstance())
        records->RemoveObserver(this);
    if (gPlayerManager == this)
        gPlayerManager = nullptr;
}

PlayerManager* PlayerManager::GetInstance()
{
    return gPlayerManager;
}

Player* PlayerManager::CurrentFirstPlayer()
{
    return gPlayerManager ? gPlayerManager->GetCurrentPlayer(1) : nullptr;
}

LuaObject PlayerManager::Global(const char* name) const
{
    return m_State->GetGlobal(name);
}

Player* PlayerManager::GetPlayerWithGuid(int guid)
{
    LuaObject table = PlayerScript::CallGlobal(m_State, "GetPlayerWithGuid", guid, true);
    if (!table.IsTable())
        return nullptr;
    auto cached = m_Cache.find(guid);
    if (cached != m_Cache.end() && cached->second->GetTable() == table)
        return cached->second;

    LuaObject params;
    params.AssignNewTable(m_State);
    std::unique_ptr<Object> object(m_PlayerClass->Instantiate(params));
    auto* player = dynamic_cast<Player*>(object.get());
    MAKO_ASSERT(player != nullptr);
    object.release();
    m_Made.emplace_back(player);
    player->SetPlayerData(table);
    m_Cache[guid] = player;
    return player;
}

Player* PlayerManager::WrapEntry(const LuaObject& list, int key)
{
    if (!list.IsTable())
        return nullptr;
    LuaObject entry = list[key];
    if (!entry.IsTable() || !PlayerScript::IsInteger(entry["guid"]))
        return nullptr;
    return GetPlayerWithGuid(entry["guid"].GetInteger());
}

Player* PlayerManager::GetPlayer(int index)
{
    return WrapEntry(Global("Players"), index);
}

Player* PlayerManager::GetDummyPlayer(int index)
{
    return WrapEntry(Global("DummyPlayers"), index);
}

Player* PlayerManager::GetCurrentPlayer(int slot)
{
    LuaObject players = Global("Players");
    return players.IsTable() ? WrapEntry(players["current"], slot) : nullptr;
}

int PlayerManager::CountPositiveKeys(const LuaObject& table)
{
    if (!table.IsTable())
        return 0;
    int count = 0;
    for (LuaTableIterator it(table); it; it.Next())
        if (PlayerScript::IsInteger(it.GetKey()) && it.GetKey().GetInteger() > 0)
            ++count;
    return count;
}

int PlayerManager::GetPlayerCount() const
{
    return CountPositiveKeys(Global("Players"));
}

int PlayerManager::GetDummyPlayerCount() const
{
    return CountPositiveKeys(Global("DummyPlayers"));
}

void PlayerManager::SetCurrentPlayer(Player* player, int index, bool remember)
{
    LuaObject players = Global("Players");
    MAKO_ASSERT(players.IsTable());
    LuaObject currentPlayersTable = players["current"];
    MAKO_ASSERT(currentPlayersTable.IsTable());
    MAKO_ASSERT(index >= 1);
    MAKO_ASSERT(index <= 2);
    MAKO_ASSERT(player != nullptr);
    MAKO_ASSERT(player->GetTable().IsTable());
    currentPlayersTable.SetObject(index, player->GetTable());
    if (index == 1 && remember) {
        if (Config* config = Config::GetCurrent())
            config->Set("current_player_1_guid", Variant(static_cast<double>(player->GetGuid())));
    }
    PostPlayerChange();
}

LuaObject PlayerManager::ClearPlayer(int index)
{
    Player* old = GetPlayer(index);
    MAKO_ASSERT(old != nullptr);
    int slot = old->GetCurrentIndex();
    LuaObject newPlayerTable = PlayerScript::CallGlobal(m_State, "CreatePlayer");
    MAKO_ASSERT(newPlayerTable.IsTable());
    LuaObject players = Global("Players");
    players.SetObject(index, newPlayerTable);
    if (slot > 0)
        players["current"].SetObject(slot, newPlayerTable);
    return old->GetTable();
}

void PlayerManager::SetIndex(Player* player, int index)
{
    MAKO_ASSERT(player != nullptr);
    MAKO_ASSERT(player->GetIndex() == 0);
    int slot = 0;
    if (Player* old = GetPlayer(index)) {
        slot = old->GetCurrentIndex();
        ClearPlayer(index);
    }
    LuaObject players = Global("Players");
    players.SetObject(index, player->GetTable());
    if (slot > 0)
        players["current"].SetObject(slot, player->GetTable());
    PostPlayerChange();
}

void PlayerManager::OnGameRecord(const GameRecord& record)
{
    int count = GetPlayerCount();
    for (int i = 1; i <= count; ++i)
        if (Player* player = GetPlayer(i))
            player->OnGameRecord(record);
}

namespace {

PlayerManager& RequireManager(const char* call)
{
    PlayerManager* manager = PlayerManager::GetInstance();
    if (!manager)
        MAKO_THROW(ScriptError, std::string(call) + ": there is no player manager.");
    return *manager;
}

} // namespace

// SetCurrentPlayerFromGuid(guid, slot): true when a player has that guid (it is then
// current in the slot), else false.
MAKO_LUA_FUNCTION(SetCurrentPlayerFromGuid)
{
    PlayerManager& manager = RequireManager("SetCurrentPlayerFromGuid");
    int guid = static_cast<int>(lua_tonumber(L, 1));
    int slot = static_cast<int>(lua_tonumber(L, 2));
    Player* player = manager.GetPlayerWithGuid(guid);
    if (player)
        manager.SetCurrentPlayer(player, slot);
    lua_pushboolean(L, player != nullptr);
    return 1;
}

// SetCurrentPlayerFromIndex(index, slot, remember): the card in Players[index] becomes
// current; with remember false the configuration keeps the player it names.
MAKO_LUA_FUNCTION(SetCurrentPlayerFromIndex)
{
    PlayerManager& manager = RequireManager("SetCurrentPlayerFromIndex");
    int index = static_cast<int>(lua_tonumber(L, 1));
    Player* player = manager.GetPlayer(index);
    if (!player)
        MAKO_THROW(ScriptError, "SetCurrentPlayerFromIndex: there is no player in slot " +
                                    std::to_string(index) + ".");
    const bool remember = lua_isnone(L, 3) || lua_toboolean(L, 3);
    manager.SetCurrentPlayer(player, static_cast<int>(lua_tonumber(L, 2)), remember);
    return 0;
}

// ClearPlayer(index): a fresh card in the slot; returns the old card.
MAKO_LUA_FUNCTION(ClearPlayer)
{
    PlayerManager& manager = RequireManager("ClearPlayer");
    int index = static_cast<int>(lua_tonumber(L, 1));
    if (!manager.GetPlayer(index))
        MAKO_THROW(ScriptError,
                   "ClearPlayer: there is no player in slot " + std::to_string(index) + ".");
    manager.ClearPlayer(index).Push(L);
    return 1;
}

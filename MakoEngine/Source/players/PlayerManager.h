#pragma once
// Finds, selects, clears and places the players. The cards live in the script globals
// Players (slots 1 to 4, and Players.current[1..2]) and DummyPlayers; the manager hands
// out one Player per card table and keeps every Player it made until it is destroyed, so
// pointers others hold stay valid after a card is replaced. One manager exists at a time
// (GetInstance); the application makes it at start-up.
#include "players/GameRecordObserver.h"

#include "luaplus/LuaPlus.h"

#include <memory>
#include <unordered_map>
#include <vector>

class Class;
class Player;

class PlayerManager : public GameRecordObserver
{
public:
    // Runs "PlayerManager.lua" in the state the cards live in.
    explicit PlayerManager(LuaPlus::LuaState* state);
    ~PlayerManager() override;
    PlayerManager(const PlayerManager&) = delete;
    PlayerManager& operator=(const PlayerManager&) = delete;

    // The manager that exists now; null when there is none.
    static PlayerManager* GetInstance();
    // The first current player (slot 1) of that manager; null when there is no manager or
    // no current player.
    static Player* CurrentFirstPlayer();

    // The player of the card with that guid (real or dummy); null when there is none.
    Player* GetPlayerWithGuid(int guid);
    // Players[index], DummyPlayers[index], Players.current[slot]; null when empty.
    Player* GetPlayer(int index);
    Player* GetDummyPlayer(int index);
    Player* GetCurrentPlayer(int slot);
    int GetPlayerCount() const;
    int GetDummyPlayerCount() const;
    // The script state the cards live in.
    LuaPlus::LuaState* GetState() const { return m_State; }

    // Makes the player current in slot 1 or 2; slot 1 is remembered in the configuration
    // (current_player_1_guid) unless remember is false: a stand-in the game chose because
    // the player named there was not loaded leaves that name for the next start. Posts
    // MAKO_PLAYERCHANGE.
    void SetCurrentPlayer(Player* player, int index, bool remember = true);
    // Puts a fresh card in slot index (also where it was current); returns the old card.
    LuaPlus::LuaObject ClearPlayer(int index);
    // Places a card that is in no slot yet at index, replacing the card there.
    void SetIndex(Player* player, int index);

    void OnGameRecord(const GameRecord& record) override;

private:
    LuaPlus::LuaState* m_State;
    Class* m_PlayerClass = nullptr;
    std::unordered_map<int, Player*> m_Cache;
    // Every Player made, including those the cache no longer hands out.
    std::vector<std::unique_ptr<Player>> m_Made;

    Player* WrapEntry(const LuaPlus::LuaObject& table, int key);
    LuaPlus::LuaObject Global(const char* name) const;
    static int CountPositiveKeys(const LuaPlus::LuaObject& table);
};

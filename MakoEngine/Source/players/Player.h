#pragma once
// One player's card, seen from native code. The card itself is a script table (the one in
// Players[i] or DummyPlayers[i]); a Player wraps it and reads and files into it. Players
// are made and cached by the PlayerManager, one per guid and card table.
#include "core/Class.h"
#include "core/Object.h"
#include "players/GameRecordObserver.h"

#include <string>

class Player : public Object, public GameRecordObserver
{
    MAKO_DECLARE_CLASS();

public:
    Player() = default;
    explicit Player(const LuaPlus::LuaObject& data);

    // Replaces the card table this player wraps (it must be a table).
    void SetPlayerData(const LuaPlus::LuaObject& data);
    // The card table; raises when none has been given yet.
    LuaPlus::LuaObject GetTable() const;
    // The card's Options, made empty when missing.
    LuaPlus::LuaObject GetOptionsTable() const;
    // Options["player.skill"]: the skill name ("casual", "gamer").
    std::string GetSkill() const;
    // Game_Modes[mode], made from CreateGameModeTable() on first use (and in place of a
    // value that is not a table). An empty mode means the first current player's option
    // "game.mode" ("Adventure" when it has none).
    LuaPlus::LuaObject GetGameModeTable(const std::string& mode) const;
    // True when the card has no Name (nobody has signed in on it).
    bool IsEmpty() const;
    int GetGuid() const;
    // The card's slot in Players (or DummyPlayers); 0 when it is in neither.
    int GetIndex() const;
    // The current-player slot this player is in; 0 when none.
    int GetCurrentIndex() const;
    bool IsEqualTo(const Player* player) const;
    // The card's Game_Records, made empty when missing.
    LuaPlus::LuaObject GetGameRecords() const;
    // File a score or word record into the card's top lists of the record's game_mode.
    void AddScoreRecord(const LuaPlus::LuaObject& record) const;
    void AddWordRecord(const LuaPlus::LuaObject& record) const;
    // Sum of entry[field] over the tables in modeTable[listKey] (truncated to an integer at each
    // step); other entries count nothing.
    int GetSumOfScores(const std::string& mode, const std::string& listKey,
                       const std::string& field) const;
    int GetSumOfScores(const std::string& listKey, const std::string& field) const;
    // The levels a card counts its progress and secrets against; each hides one secret.
    static constexpr int kLevelCount = 61;
    // The secrets found in the Adventure and Lab level records together, at most
    // kLevelCount: a count never exceeds what exists.
    int CountSecretsFound() const;
    // modeTable[key] as an integer, 0 when nil.
    int GetModeValue(const std::string& mode, const std::string& key) const;
    // The number of entries in modeTable[listKey] of the current mode.
    int GetNumberOfRecords(const std::string& listKey) const;

    void OnGameRecord(const GameRecord&) override {}

private:
    LuaPlus::LuaObject m_Data;

    // The card's table under key, made empty when missing; raises ScriptError when the key
    // holds something else (the card check at load keeps that from happening).
    LuaPlus::LuaObject GetCardTable(const char* key) const;
    // The first current player's game mode.
    std::string GetCurrentMode() const;
};

#pragma once
// One player's card, seen from native code. The card itself is a script table (the one in
// Players[i] or DummyPlayers[i]); a Player wraps it and reads and files into it. Players
// are made and cached by the PlayerManager, one per guid and card table.
#include "core/Class.h"
#include "core/Object.h"
#include "players/GameRecordObserver.h"

#include <map>
#include <set>
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
    // Game_Modes[mode] as the card holds it. Showing a mode adds nothing to the card: a mode
    // the card has no table for reads as a table of defaults (CreateGameModeTable()) held
    // outside the card, the same one at every call in this run, which joins the card when the
    // mode is played (MakeGameModeTable): what a screen writes into it before (a selection
    // shown) is not kept. An empty mode means the first current player's mode (GetMode).
    // Raises ScriptError when the card's Game_Modes is no table.
    LuaPlus::LuaObject GetGameModeTable(const std::string& mode) const;
    // Game_Modes[mode], put on the card now when it has none (the table held outside it, with
    // what was written into it): for the play of the mode, which is the player's data.
    LuaPlus::LuaObject MakeGameModeTable(const std::string& mode) const;
    // The mode this player is in: the one shown (ShowMode) in this run, else the card's
    // option "game.mode", else "Adventure".
    std::string GetMode() const;
    // The mode a screen shows this player (the map, the lab): held outside the card, so that
    // a screen opened and left changes nothing the card keeps.
    void ShowMode(const std::string& mode);
    // The mode played from now on: shown, and kept on the card as its option "game.mode".
    void PlayMode(const std::string& mode);
    // What was shown to this player in this run (a tip's letter, by its key), held outside
    // the card: shown once a run, and kept on the card only by what the player does with it.
    void NoteShown(const std::string& key) { m_Shown.insert(key); }
    bool WasShown(const std::string& key) const { return m_Shown.count(key) != 0; }
    void ForgetShown() { m_Shown.clear(); }
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
    // Mode name -> its table of defaults, for a mode the card has no table for.
    mutable std::map<std::string, LuaPlus::LuaObject> m_ModesOutside;
    // The mode shown in this run; "" for the card's own.
    std::string m_ShownMode;
    std::set<std::string> m_Shown;

    // The card's table under key, made empty when missing; raises ScriptError when the key
    // holds something else (the card check at load keeps that from happening).
    LuaPlus::LuaObject GetCardTable(const char* key) const;
    // The first current player's game mode.
    std::string GetCurrentMode() const;
};

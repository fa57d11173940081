#pragma once
// Every game record of the run, by guid, and the observers told of each new one. Records
// come from the players' cards when they are loaded. One manager exists at a time
// (GetInstance); the application makes it first of the player managers.
#include "luaplus/LuaPlus.h"

#include <vector>

class GameRecord;
class GameRecordObserver;
class Player;

class GameRecordManager
{
public:
    explicit GameRecordManager(LuaPlus::LuaState* state);
    ~GameRecordManager();
    GameRecordManager(const GameRecordManager&) = delete;
    GameRecordManager& operator=(const GameRecordManager&) = delete;

    static GameRecordManager* GetInstance();

    // Observers are told in the order they were added; the manager does not own them.
    void AddObserver(GameRecordObserver* observer);
    void RemoveObserver(GameRecordObserver* observer);
    void NotifyObservers(const GameRecord& record);

    // Stores the record table under guid; raises when a record already has that guid.
    void RestoreTable(int guid, const LuaPlus::LuaObject& table);
    // The table stored under guid; raises when there is none.
    LuaPlus::LuaObject GetTableWithGuid(int guid) const;

    // Files the player's per-mode top lists (scores, percentages, words of the configured
    // game modes GameMode1 to GameMode3) into the high-score lists; with alsoGameRecords,
    // also takes in the card's game records not known yet and tells the observers.
    void AddRecordsFromPlayer(Player* player, bool alsoGameRecords);
    // AddRecordsFromPlayer(player, false) for every signed-in player of slots 1 to 4.
    void RefreshRecordsFromPlayers();

private:
    LuaPlus::LuaObject m_Records;
    std::vector<GameRecordObserver*> m_Observers;
};

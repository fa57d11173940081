#pragma once
// The machine-wide high-score lists (the script global HighScores, built by
// "HighScoreManager.lua"), seeded at every start with the dummy scores of
// "DummyHighScores.lua" so that no list is empty. They are never saved. One manager exists
// at a time (GetInstance); the application makes it after the record manager.
#include "luaplus/LuaPlus.h"

class HighScoreManager
{
public:
    explicit HighScoreManager(LuaPlus::LuaState* state);
    ~HighScoreManager();
    HighScoreManager(const HighScoreManager&) = delete;
    HighScoreManager& operator=(const HighScoreManager&) = delete;

    static HighScoreManager* GetInstance();

    // Files a score record into its mode's list and the percentages (not for "Blast");
    // with rebuild, the ratings list is made anew.
    void AddScoreRecord(const LuaPlus::LuaObject& record, bool rebuild);
    // Files a word record by score and by length.
    void AddWordRecord(const LuaPlus::LuaObject& record);
    void AddDummyScores();
    void ClearRatingsList();

private:
    LuaPlus::LuaState* m_State;
    LuaPlus::LuaObject m_HighScores;

    // Every entry of the global table under an integer key, in ascending key order.
    void ForEachEntry(const char* global,
                      void (HighScoreManager::*file)(const LuaPlus::LuaObject&));
    void AddDummyScore(const LuaPlus::LuaObject& record) { AddScoreRecord(record, false); }
};

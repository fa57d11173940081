#include "players/HighScoreManager.h"

#include "core/Exception.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "players/PlayerScript.h"

#include <map>

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

namespace {
HighScoreManager* gHighScoreManager = nullptr;
}

HighScoreManager::HighScoreManager(LuaPlus::LuaState* state) : m_State(state)
{
    MakoLuaState::DoResourceFile(m_State, "HighScoreManager.lua");
    m_HighScores = m_State->GetGlobal("HighScores");
    MAKO_ASSERT(m_HighScores.IsTable());
    PlayerScript::CallGlobal(m_State, "ClearHighScores");
    PlayerScript::CallGlobal(m_State, "ClearRatingsList");
    gHighScoreManager = this;
    AddDummyScores();
}

HighScoreManager::~HighScoreManager()
{
    if (gHighScoreManager == this)
        gHighScoreManager = nullptr;
}

HighScoreManager* HighScoreManager::GetInstance()
{
    return gHighScoreManager;
}

void HighScoreManager::AddScoreRecord(const LuaObject& record, bool rebuild)
{
    MAKO_ASSERT(record.IsTable());
    PlayerScript::CallGlobal(m_State, "HighScores_AddScoreRecord", record);
    if (rebuild)
        ClearRatingsList();
}

void HighScoreManager::AddWordRecord(const LuaObject& record)
{
    MAKO_ASSERT_MSG(record.IsTable(), "wordRecord.IsTable()");
    PlayerScript::CallGlobal(m_State, "HighScores_AddWordRecord", record);
}

void HighScoreManager::ClearRatingsList()
{
    PlayerScript::CallGlobal(m_State, "ClearRatingsList");
}

void HighScoreManager::ForEachEntry(const char* global,
                                    void (HighScoreManager::*file)(const LuaObject&))
{
    std::map<int, LuaObject> entries;
    for (LuaTableIterator it(m_State->GetGlobal(global)); it; it.Next())
        if (PlayerScript::IsInteger(it.GetKey()))
            entries.emplace(it.GetKey().GetInteger(), it.GetValue());
    for (const auto& entry : entries)
        (this->*file)(entry.second);
}

void HighScoreManager::AddDummyScores()
{
    MakoLuaState::DoResourceFile(m_State, "DummyHighScores.lua");
    MAKO_ASSERT_MSG(m_State->GetGlobal("DummyHighScores").IsTable(),
                    "Dummy high scores could not be found.");
    ForEachEntry("DummyHighScores", &HighScoreManager::AddDummyScore);
    MAKO_ASSERT_MSG(m_State->GetGlobal("DummyWordScores").IsTable(),
                    "Dummy word scores could not be found.");
    ForEachEntry("DummyWordScores", &HighScoreManager::AddWordRecord);
}

// RebuildRatingsList(): the ratings list is made anew.
MAKO_LUA_FUNCTION(RebuildRatingsList)
{
    if (HighScoreManager* manager = HighScoreManager::GetInstance())
        manager->ClearRatingsList();
    return 0;
}

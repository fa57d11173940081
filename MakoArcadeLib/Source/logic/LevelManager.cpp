#include "logic/LevelManager.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "lua/DataScript.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptDebugHandoff.h"
#include "lua/ScriptSource.h"

#include <physfs.h>

#include <map>

using LuaPlus::LuaObject;

LevelManager* LevelManager::s_LevelManager = nullptr;

LevelManager::LevelManager()
{
    s_LevelManager = this;
    // The level scripts' set-up hook; a game without one has nothing to set up.
    const LuaObject setup = GetGlobalLuaState()->GetGlobal("SetupLevel");
    if (setup.IsFunction())
        setup.Call();
}

LevelManager::~LevelManager()
{
    if (s_LevelManager == this)
        s_LevelManager = nullptr;
}

LevelManager* LevelManager::GetLevelManager()
{
    MAKO_ASSERT(s_LevelManager != 0);
    return s_LevelManager;
}

bool LevelManager::Exists()
{
    return s_LevelManager != nullptr;
}

Level* LevelManager::GetLevel(const std::string& name) const
{
    const LuaObject levelsTable = GetGlobalLuaState()->GetGlobal("Levels");
    MAKO_ASSERT(levelsTable.IsTable());
    const LuaObject table = levelsTable[name];
    if (!table.IsTable())
        return nullptr;
    return new Level(name, table);
}

Level* LevelManager::GetLevelAt(int episode, int level) const
{
    const std::string name = GetLevelNameAt(episode, level);
    return name.empty() ? nullptr : GetLevel(name);
}

std::string LevelManager::GetLevelNameAt(int episode, int level)
{
    const LuaObject order = GameProgress::ConfigTable("LevelOrder");
    if (!order.IsTable())
        return std::string();
    const LuaObject levels = order[episode];
    if (!levels.IsTable())
        return std::string();
    const LuaObject name = levels[level];
    return name.IsConvertibleToString() ? name.ToString() : std::string();
}

std::vector<std::string> LevelManager::GetLevelFileNames()
{
    std::vector<std::string> names;
    if (!PHYSFS_isInit())
        return names;
    char** list = PHYSFS_enumerateFiles("Levels");
    if (!list)
        return names;
    for (char** name = list; *name; ++name)
        names.push_back(*name);
    PHYSFS_freeList(list);
    return names;
}

namespace {

// What a level file sees beside the bounded base library: the levels table and the level
// compiler's functions and measures. Nothing else of the game's scripts is reachable.
const std::vector<std::string>& LevelFileGlobals()
{
    static const std::vector<std::string> names = {
        "Levels",    "CompileLevel",   "AddPowerupTo", "DropOnDestroy",
        "DropOnHit", "FlareOnDestroy", "BrickWidth",   "BrickHeight"};
    return names;
}

} // namespace

namespace {

// The tables Levels holds, by name.
std::map<std::string, const void*> LevelTables(lua_State* L)
{
    std::map<std::string, const void*> tables;
    lua_getglobal(L, "Levels");
    if (lua_istable(L, -1)) {
        for (lua_pushnil(L); lua_next(L, -2); lua_pop(L, 1))
            if (lua_type(L, -2) == LUA_TSTRING)
                tables[lua_tostring(L, -2)] = lua_topointer(L, -1);
    }
    lua_pop(L, 1);
    return tables;
}

// Drops from Levels each level the file assigned (a name that is new or holds another
// table than before) that holds a function the file made: the game would call it when it
// builds the level, outside the file's budget. The first one dropped is described in
// error; false when there was none.
bool DropLevelsWithOwnFunctions(LuaPlus::LuaState* state, const LuaObject& environment,
                                const std::map<std::string, const void*>& before,
                                std::string& error)
{
    lua_State* L = state->GetCState();
    bool dropped = false;
    for (const auto& [name, table] : LevelTables(L)) {
        const auto old = before.find(name);
        if (old != before.end() && old->second == table)
            continue;
        const LuaObject levels = state->GetGlobal("Levels");
        const std::string where = DataScript::FindOwnFunction(levels[name.c_str()], environment);
        if (where.empty())
            continue;
        if (!dropped)
            error = "Levels." + name + " holds a function the file made, at " + where +
                    "; the level was dropped";
        dropped = true;
        levels.Push(L);
        lua_pushstring(L, name.c_str());
        lua_pushnil(L);
        lua_rawset(L, -3);
        lua_pop(L, 1);
    }
    return dropped;
}

} // namespace

int LevelManager::RunLevelText(LuaPlus::LuaState* state, const std::string& text,
                               const std::string& chunkName, std::string& error)
{
    const LuaObject environment = DataScript::MakeEnvironment(state, LevelFileGlobals());
    const std::map<std::string, const void*> before = LevelTables(state->GetCState());
    const int status =
        DataScript::Run(state, text, chunkName, environment, "level file " + chunkName, error);
    std::string dropped;
    if (DropLevelsWithOwnFunctions(state, environment, before, dropped) && status == 0) {
        error = dropped;
        return LUA_ERRRUN;
    }
    return status;
}

void LevelManager::RunLevelFile(LuaPlus::LuaState* state, const std::string& name)
{
    if (!EndsWith(name, ".lua"))
        return;
    std::string why;
    try {
        LogAtLevel(2, "Loading script file: %s\n", name.c_str());
        const std::string text = ScriptSource::Read(name);
        if (ScriptDebugHandoff::IsActive())
            ScriptDebugHandoff::SendFile(name, text.data(), text.size());
        std::string error;
        const int status = RunLevelText(state, text, name, error);
        if (status == LUA_ERRSYNTAX)
            why = "Could not compile Lua resource file:\nfile = " + name + "\nerror = " + error;
        else if (status == LUA_ERRMEM)
            why = error;
        else if (status != 0)
            why = "Could not execute Lua resource file\nfile = " + name + "\nerror = " + error;
    } catch (const Exception& e) {
        why = e.GetMessage();
    }
    if (!why.empty())
        Log("ERROR: The level file \"%s\" was skipped: %s\n", name.c_str(), why.c_str());
}

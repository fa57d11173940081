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

#include <vector>

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

// Where the entry of Levels under key (its key or its value) holds a function the file run
// with environment made; "" when it holds none.
std::string OwnFunctionOfEntry(const LuaObject& key, const LuaObject& value,
                               const LuaObject& environment)
{
    const std::string inValue = DataScript::FindOwnFunction(value, environment);
    if (!inValue.empty())
        return inValue;
    const std::string inKey = DataScript::FindOwnFunction(key, environment);
    if (inKey.empty())
        return inKey;
    return inKey == "(the value itself)" ? "(its key)" : "(its key) " + inKey;
}

// Drops from Levels every entry that holds, at any key or depth, a function the file made:
// the game would call it when it builds the level, outside the file's budget. The whole
// table is searched, for a file can write into the levels of the files before it. The first
// entry dropped is described in error; false when there was none.
bool DropLevelsWithOwnFunctions(LuaPlus::LuaState* state, const LuaObject& environment,
                                std::string& error)
{
    const LuaObject levels = state->GetGlobal("Levels");
    if (!levels.IsTable())
        return false;
    std::vector<LuaObject> dropped;
    for (LuaPlus::LuaTableIterator it(levels); it; it.Next()) {
        const std::string where = OwnFunctionOfEntry(it.GetKey(), it.GetValue(), environment);
        if (where.empty())
            continue;
        if (dropped.empty())
            error = "Levels" + DataScript::KeyPathText(it.GetKey()) +
                    " holds a function the file made, at " + where + "; the level was dropped";
        dropped.push_back(it.GetKey());
    }
    lua_State* L = state->GetCState();
    for (const LuaObject& key : dropped) {
        levels.Push(L);
        key.Push(L);
        lua_pushnil(L);
        lua_rawset(L, -3);
        lua_pop(L, 1);
    }
    return !dropped.empty();
}

} // namespace

int LevelManager::RunLevelText(LuaPlus::LuaState* state, const std::string& text,
                               const std::string& chunkName, std::string& error)
{
    const LuaObject environment = DataScript::MakeEnvironment(state, LevelFileGlobals());
    const int status =
        DataScript::Run(state, text, chunkName, environment, "level file " + chunkName, error);
    // A file makes a function only through the word "function" in its text (precompiled
    // chunks are refused, and nothing that makes one from text is within its reach): a file
    // without it leaves none, and the whole table need not be searched after it.
    std::string dropped;
    if (text.find("function") != std::string::npos &&
        DropLevelsWithOwnFunctions(state, environment, dropped) && status == 0) {
        error = dropped;
        return LUA_ERRRUN;
    }
    return status;
}

bool LevelManager::ReadLevelFile(const std::string& name, std::string& text, std::string& error)
{
    try {
        text = ScriptSource::Read(name);
        return true;
    } catch (const Exception& e) {
        error = e.GetMessage();
        return false;
    }
}

void LevelManager::RunLevelFile(LuaPlus::LuaState* state, const std::string& name)
{
    if (!EndsWith(name, ".lua"))
        return;
    LogAtLevel(2, "Loading script file: %s\n", name.c_str());
    std::string text, why;
    if (ReadLevelFile(name, text, why)) {
        try {
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
    }
    if (!why.empty())
        Log("ERROR: The level file \"%s\" was skipped: %s\n", name.c_str(), why.c_str());
}

#include "logic/LevelManager.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/Utility.h"
#include "core/WorkMeter.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "lua/DataScript.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptDebugHandoff.h"
#include "lua/ScriptSource.h"

#include <physfs.h>

#include <unordered_set>
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

// Where the entry under key (its key or its value) holds a function the file run with
// environment made; "" when it holds none. Tables in clean are known to hold none.
std::string OwnFunctionOfEntry(const LuaObject& key, const LuaObject& value,
                               const LuaObject& environment, std::unordered_set<const void*>& clean)
{
    const std::string inValue = DataScript::FindOwnFunction(value, environment, &clean);
    if (!inValue.empty())
        return inValue;
    const std::string inKey = DataScript::FindOwnFunction(key, environment, &clean);
    if (inKey.empty())
        return inKey;
    return inKey == "(the value itself)" ? "(its key)" : "(its key) " + inKey;
}

// The keys of the entries of table that hold, at any key or depth, a function the file
// made: the game would call it when it builds the level, outside the file's budget. The
// first is described in error (when it is empty).
std::vector<LuaObject> EntriesWithOwnFunctions(const LuaObject& table, const LuaObject& environment,
                                               std::string& error)
{
    std::vector<LuaObject> found;
    std::unordered_set<const void*> clean;
    for (LuaPlus::LuaTableIterator it(table); it; it.Next()) {
        const std::string where =
            OwnFunctionOfEntry(it.GetKey(), it.GetValue(), environment, clean);
        if (where.empty())
            continue;
        if (error.empty())
            error = "Levels" + DataScript::KeyPathText(it.GetKey()) +
                    " holds a function the file made, at " + where + "; the level was dropped";
        found.push_back(it.GetKey());
    }
    return found;
}

void RawSet(lua_State* L, const LuaObject& table, const LuaObject& key, const LuaObject& value)
{
    table.Push(L);
    key.Push(L);
    value.Push(L);
    lua_rawset(L, -3);
    lua_pop(L, 1);
}

// The levels table a file that may make functions writes to: a table of its own, whose
// __newindex is that of Levels (a level is compiled as it is set) and whose __index reads
// Levels, noting in the table `reached` that the file read a level it did not set. What
// the file set is all that must be searched after it, unless it reached into Levels.
int ReadThrough(lua_State* L)
{
    lua_pushvalue(L, 2);
    lua_gettable(L, lua_upvalueindex(1));
    if (!lua_isnil(L, -1)) {
        lua_pushboolean(L, 1);
        lua_rawseti(L, lua_upvalueindex(2), 1);
    }
    return 1;
}

LuaObject MakeLevelsView(LuaPlus::LuaState* state, const LuaObject& levels,
                         const LuaObject& reached)
{
    lua_State* L = state->GetCState();
    lua_newtable(L);
    lua_newtable(L);
    levels.Push(L);
    reached.Push(L);
    lua_pushcclosure(L, &ReadThrough, 2);
    lua_setfield(L, -2, "__index");
    levels.Push(L);
    if (lua_getmetatable(L, -1)) {
        lua_getfield(L, -1, "__newindex");
        lua_setfield(L, -4, "__newindex");
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
    lua_setmetatable(L, -2);
    LuaObject view(state, -1);
    lua_pop(L, 1);
    return view;
}

// After a file that may have made functions: its levels (what it set in view) that hold
// one are dropped, the others go into Levels; when the file read a level of the files
// before it (reached), it may have written into it, and Levels is searched whole. The first
// level dropped is described in error; false when there was none.
bool TakeInLevels(LuaPlus::LuaState* state, const LuaObject& view, bool reached,
                  const LuaObject& environment, std::string& error)
{
    const LuaObject levels = state->GetGlobal("Levels");
    lua_State* L = state->GetCState();
    std::vector<LuaObject> dropped = EntriesWithOwnFunctions(view, environment, error);
    if (levels.IsTable() && reached) {
        std::vector<LuaObject> earlier = EntriesWithOwnFunctions(levels, environment, error);
        dropped.insert(dropped.end(), earlier.begin(), earlier.end());
    }
    if (!levels.IsTable())
        return !dropped.empty();
    LuaObject nil;
    nil.AssignNil(state);
    for (LuaPlus::LuaTableIterator it(view); it; it.Next())
        RawSet(L, levels, it.GetKey(), it.GetValue());
    for (const LuaObject& key : dropped)
        RawSet(L, levels, key, nil);
    return !dropped.empty();
}

} // namespace

int LevelManager::RunLevelText(LuaPlus::LuaState* state, const std::string& text,
                               const std::string& chunkName, std::string& error)
{
    // The run and the search after it are the work of this one file: one meter for both.
    WorkMeter meter("level file " + chunkName);
    LuaObject environment = DataScript::MakeEnvironment(state, LevelFileGlobals());
    // A file makes a function only through the word "function" in its text (precompiled
    // chunks are refused, and nothing that makes one from text is within its reach): a file
    // without it leaves none, and writes to Levels itself. One with it writes to a table of
    // its own, searched when it ends.
    const bool mayMakeFunctions = text.find("function") != std::string::npos;
    const LuaObject levels = state->GetGlobal("Levels");
    LuaObject view, reached;
    if (mayMakeFunctions && levels.IsTable()) {
        reached.AssignNewTable(state);
        view = MakeLevelsView(state, levels, reached);
        environment.SetObject("Levels", view);
    }
    const int status =
        DataScript::Run(state, text, chunkName, environment, "level file " + chunkName, error);
    std::string dropped;
    if (view.IsTable() &&
        TakeInLevels(state, view, !reached.RawGet(1).IsNil(), environment, dropped) &&
        status == 0) {
        error = dropped;
        return LUA_ERRRUN;
    }
    return status;
}

bool LevelManager::ReadLevelFile(const std::string& name, std::string& text, std::string& error)
{
    // What the pack's reader raises is the file's (missing, too large, unreadable).
    return ObjectBoundary::Contain([&] { text = ScriptSource::Read(name); }, &error);
}

void LevelManager::RunLevelFile(LuaPlus::LuaState* state, const std::string& name)
{
    if (!EndsWith(name, ".lua"))
        return;
    LogAtLevel(2, "Loading script file: %s\n", name.c_str());
    std::string text, why, error;
    int status = 0;
    try {
        if (ReadLevelFile(name, text, why)) {
            if (ScriptDebugHandoff::IsActive())
                ScriptDebugHandoff::SendFile(name, text.data(), text.size());
            status = RunLevelText(state, text, name, error);
        }
    } catch (const std::exception& e) {
        // The file's meter ran out (or was stopped), or the file's data failed the search.
        if (ObjectBoundary::FaultOf(&e) == ObjectBoundary::Fault::Program)
            throw;
        why = ObjectBoundary::TextOf(e);
    }
    if (status == LUA_ERRSYNTAX)
        why = "Could not compile Lua resource file:\nfile = " + name + "\nerror = " + error;
    else if (status == LUA_ERRMEM)
        why = error;
    else if (status != 0)
        why = "Could not execute Lua resource file\nfile = " + name + "\nerror = " + error;
    if (why.empty())
        return;
    // A stop cut the file short: it is not skipped for a fault of its own.
    if (ObjectBoundary::FaultOf(nullptr) == ObjectBoundary::Fault::Stop)
        Log("The level file \"%s\" was not run to its end: %s\n", name.c_str(),
            (status != 0 ? error : why).c_str());
    else
        Log("ERROR: The level file \"%s\" was skipped: %s\n", name.c_str(), why.c_str());
}

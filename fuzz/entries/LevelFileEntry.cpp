// A level file run as the game runs the level files of its pack: into an emptied Levels,
// which compiles the brick text of every level assigned; then every level it made is read
// by the native Level, as a game starting that level does.
#include "FuzzEntries.h"
#include "FuzzHost.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptSource.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace fuzz {

namespace {

// The scripts the game has run before it runs the level files, as far as levels use them.
const char* const kLevelScripts[] = {"StartupHelperFunctions.lua", "LevelCompiler.lua",
                                     "Level.lua"};

// Puts the global environment back as it was when the snapshot was taken (top-level
// names and the standard library tables, one level deep), so that one level file cannot
// change what the next one meets.
const char kSnapshotChunk[] = R"lua(
local saved, libraries = {}, {}
for k, v in pairs(_G) do saved[k] = v end
for _, name in ipairs({ "string", "table", "math", "coroutine", "os", "debug" }) do
    if type(_G[name]) == "table" then
        local copy = {}
        for k, v in pairs(_G[name]) do copy[k] = v end
        libraries[_G[name]] = copy
    end
end
local rawset, next, setmetatable, pairs = rawset, next, setmetatable, pairs
return function()
    setmetatable(_G, nil)
    for k in pairs(_G) do if saved[k] == nil then rawset(_G, k, nil) end end
    for k, v in pairs(saved) do rawset(_G, k, v) end
    for library, copy in pairs(libraries) do
        setmetatable(library, nil)
        for k in pairs(library) do if copy[k] == nil then rawset(library, k, nil) end end
        for k, v in pairs(copy) do rawset(library, k, v) end
    end
end
)lua";

const char kLevelResource[] = "FuzzLevel.lua";

LuaPlus::LuaObject& RestoreGlobals()
{
    static LuaPlus::LuaObject restore;
    return restore;
}

// The level scripts compiled once, run again before every file.
std::vector<LuaPlus::LuaObject>& LevelScripts()
{
    static std::vector<LuaPlus::LuaObject> scripts;
    return scripts;
}

void PrepareLevels()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    PrepareEngineOnce();
    LuaPlus::LuaState* state = GetGlobalLuaState();
    // The game's configuration lives in the global state for the whole run (Level.lua
    // publishes its constants there).
    static Config* configuration = new Config(state);
    (void)configuration;
    SandboxScriptState(state->GetCState());
    lua_State* L = state->GetCState();
    for (const char* script : kLevelScripts) {
        const std::string text = ScriptSource::Read(script);
        if (luaL_loadbuffer(L, text.data(), text.size(), script) != 0)
            Fail(std::string("the level script ") + script + " does not compile");
        LevelScripts().emplace_back(state, -1);
        lua_pop(L, 1);
        LevelScripts().back().Call();
    }
    MakoLuaState::LoadString(state, kSnapshotChunk, 0, 1);
    RestoreGlobals() = LuaPlus::LuaObject(state, -1);
    lua_pop(state->GetCState(), 1);
}

// Reads a level as a game starting it does and asks it what the game asks.
void ReadLevel(const std::string& name, const LuaPlus::LuaObject& table)
{
    try {
        Level level(name, table);
        level.GetFullName();
        level.GetLootAmount();
        level.GetBallStarts();
        level.GetPaddleStarts();
    } catch (const std::exception&) {
    }
}

} // namespace

void RunLevelFile(const uint8_t* data, size_t size)
{
    PrepareLevels();
    LuaPlus::LuaState* state = GetGlobalLuaState();
    RestoreGlobals().Call();
    // Levels' own tables (the brick letters, the defaults) afresh for every file.
    for (const LuaPlus::LuaObject& script : LevelScripts())
        script.Call();

    const std::string text(reinterpret_cast<const char*>(data), size);
    // The input is the script resource kLevelResource while it runs.
    struct ServeInput
    {
        explicit ServeInput(const std::string& text)
        {
            previous = ScriptSource::SetProvider([this, &text](const std::string& name) {
                return name == kLevelResource ? text : previous(name);
            });
        }
        ~ServeInput() { ScriptSource::SetProvider(previous); }
        ScriptSource::Provider previous;
    } serve(text);
    {
        ScriptLimits limits(state->GetCState(), 2000000, 64u << 20);
        // As the game runs it, under its own budget: a file that fails is skipped, and the
        // levels it assigned before it failed stay.
        LevelManager::RunLevelFile(state, kLevelResource);
        std::vector<std::pair<std::string, LuaPlus::LuaObject>> levels;
        LuaPlus::LuaObject table = state->GetGlobal("Levels");
        if (table.IsTable()) {
            for (LuaPlus::LuaTableIterator it(table); it; it.Next())
                if (it.GetKey().IsString())
                    levels.emplace_back(it.GetKey().GetString(), it.GetValue());
        }
        std::sort(levels.begin(), levels.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& level : levels)
            ReadLevel(level.first, level.second);
    }
    RestoreGlobals().Call();
    MakoLuaState::LoadString(state, "ClearLevels()");
    // What the file made is garbage now: collected here, the run frees what it allocated
    // (the fuzzer looks for leaks in every run that does not).
    lua_gc(state->GetCState(), LUA_GCCOLLECT, 0);
}

} // namespace fuzz

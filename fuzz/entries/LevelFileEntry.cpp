// A level file run as the game runs the level files of its pack: into an emptied Levels,
// which compiles the brick text of every level assigned; then every level it made is read
// by the native Level, as a game starting that level does.
#include "FuzzEntries.h"
#include "FuzzHost.h"

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

// Run before a file, answers a function that puts the global environment back as it was
// then (top-level names, the standard library tables one level deep, and their
// metatables): neither the level scripts, the sandbox nor the file change what the next
// file or another entry sharing the global state (the card stage) meets.
const char kSnapshotChunk[] = R"lua(
local saved, libraries, metatables = {}, {}, {}
local getmetatable = getmetatable
for k, v in pairs(_G) do saved[k] = v end
metatables[_G] = getmetatable(_G) or false
for _, name in ipairs({ "string", "table", "math", "coroutine", "os", "debug", "package" }) do
    if type(_G[name]) == "table" then
        local copy = {}
        for k, v in pairs(_G[name]) do copy[k] = v end
        libraries[_G[name]] = copy
        metatables[_G[name]] = getmetatable(_G[name]) or false
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
    for t, meta in pairs(metatables) do setmetatable(t, meta or nil) end
end
)lua";

const char kLevelResource[] = "FuzzLevel.lua";

// The snapshot chunk, compiled once: each call takes a snapshot and answers its restorer.
LuaPlus::LuaObject& SnapshotTaker()
{
    static LuaPlus::LuaObject taker;
    return taker;
}

// The level scripts, compiled once, run before every file.
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
    // Level.lua publishes its constants in the game's configuration.
    GlobalConfig();
    LuaPlus::LuaState* state = GetGlobalLuaState();
    lua_State* L = state->GetCState();
    for (const char* script : kLevelScripts) {
        const std::string text = ScriptSource::Read(script);
        if (luaL_loadbuffer(L, text.data(), text.size(), script) != 0)
            Fail(std::string("the level script ") + script + " does not compile");
        LevelScripts().emplace_back(state, -1);
        lua_pop(L, 1);
    }
    if (luaL_loadbuffer(L, kSnapshotChunk, sizeof kSnapshotChunk - 1, "=snapshot") != 0)
        Fail("the snapshot chunk does not compile");
    SnapshotTaker() = LuaPlus::LuaObject(state, -1);
    lua_pop(L, 1);
}

// The global environment as it was made, put back when it goes.
class KeepGlobals
{
public:
    explicit KeepGlobals(LuaPlus::LuaState* state)
    {
        lua_State* L = state->GetCState();
        SnapshotTaker().Push(L);
        if (lua_pcall(L, 0, 1, 0) != 0)
            Fail(std::string("the snapshot failed: ") + lua_tostring(L, -1));
        m_Restore = LuaPlus::LuaObject(state, -1);
        lua_pop(L, 1);
    }
    ~KeepGlobals() { m_Restore.Call(); }
    KeepGlobals(const KeepGlobals&) = delete;
    KeepGlobals& operator=(const KeepGlobals&) = delete;

private:
    LuaPlus::LuaObject m_Restore;
};

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

// Runs the input as the level file kLevelResource and reads every level it made.
void ReadLevelFile(LuaPlus::LuaState* state, const uint8_t* data, size_t size)
{
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
}

} // namespace

void RunLevelFile(const uint8_t* data, size_t size)
{
    PrepareLevels();
    LuaPlus::LuaState* state = GetGlobalLuaState();
    {
        KeepGlobals keep(state);
        SandboxScriptState(state->GetCState());
        // Levels' own tables (the brick letters, the defaults, an empty Levels) afresh for
        // every file.
        for (const LuaPlus::LuaObject& script : LevelScripts())
            script.Call();
        ReadLevelFile(state, data, size);
    }
    // What the file made is garbage now: collected here, the run frees what it allocated
    // (the fuzzer looks for leaks in every run that does not).
    lua_gc(state->GetCState(), LUA_GCCOLLECT, 0);
}

} // namespace fuzz

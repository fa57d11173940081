#pragma once
// What every fuzz entry shares: a quiet log, a private scratch folder, the program's
// embedded scripts as the script source, the engine's one-time preparation, and the check
// that turns a broken promise of the code under test into a finding.
//
// Each entry (FuzzEntries.h) calls PrepareFuzzHost itself, so the libFuzzer targets and the
// replay test in the ordinary test suite run the inputs the same way.
#include "luaplus/LuaPlus.h"

#include <cstddef>
#include <cstdint>
#include <string>

class Config;

namespace fuzz {

// Once per process: log lines kept in memory only (the echo on standard output is muted
// unless BB_FUZZ_VERBOSE is set, when the process is a fuzz target), the scratch folder
// made, the embedded scripts installed as the script source. Later calls do nothing.
void PrepareFuzzHost();

// Once per process, after PrepareFuzzHost: the global script state with its start-up
// chunk and natives, "Resource.lua", the property types and the class registry, as the
// engine's start-up makes them before any object.
void PrepareEngineOnce();

// The game's configuration in the global script state, made once per process (after
// PrepareEngineOnce, which it calls): one state holds one configuration's tables, so every
// entry that runs game scripts there shares this one.
Config& GlobalConfig();

// The process's scratch folder, ending in '/' (below $TMPDIR, else /dev/shm when
// writable, else /tmp; removed at exit). Every entry writes only below it.
const std::string& ScratchFolder();

// Writes bytes to path (replacing it); aborts when it cannot, as the input would be lost.
void WriteScratchFile(const std::string& path, const uint8_t* data, size_t size);
std::string ReadScratchFile(const std::string& path);

// The text of an embedded script or configuration file (the program's own copy).
std::string EmbeddedFile(const std::string& name);

// A script state of its own (standard libraries open), destroyed with the holder.
class OwnedState
{
public:
    OwnedState() : m_State(LuaPlus::LuaState::Create(true)) {}
    ~OwnedState() { LuaPlus::LuaState::Destroy(m_State); }
    OwnedState(const OwnedState&) = delete;
    OwnedState& operator=(const OwnedState&) = delete;
    LuaPlus::LuaState* Get() const { return m_State; }
    lua_State* L() const { return m_State->GetCState(); }

private:
    LuaPlus::LuaState* m_State;
};

// What decides whether a value's serialiser text is repeatable: a table used as a key is
// written in traversal order (which follows addresses), a table with Do_Not_Serialize and
// a function are written as nil (so they are gone once read back), and a table that holds
// itself cannot be written at all.
struct ValueFacts
{
    bool tableKeys = false;
    bool doNotSerialize = false;
    bool functions = false;
    bool cycle = false;
    // Whether writing, reading back and writing again gives the same text.
    bool Repeatable() const { return !tableKeys && !doNotSerialize && !functions && !cycle; }
    long visits = 0; // tables visited (the inspection stops after 100000)
};
ValueFacts InspectValue(const LuaPlus::LuaObject& value);

// Reports a broken promise of the code under test (what was expected and what came) and
// aborts, which the fuzzer and the sanitizers record as a finding.
[[noreturn]] void Fail(const std::string& what);

// Makes a script state safe to run fuzzed script text in: nothing reaches files, programs
// or the process (io, os.execute/exit/remove/rename/tmpname/getenv, loaders of native code
// and files) and string.rep is capped at 1 MiB. The game's scripts need none of these.
void SandboxScriptState(lua_State* L);

// While it lives, a script state raises an error once it has run `instructions` more
// instructions (a count hook, replacing the state's hook until the limits end) and fails any
// allocation that would grow it by more than `bytes` over what it held when the limits began, so an
// endless or ever-growing fuzzed script ends as a script error instead of a hang or an exhausted
// machine.
class ScriptLimits
{
public:
    ScriptLimits(lua_State* L, int instructions, size_t bytes);
    ~ScriptLimits();
    ScriptLimits(const ScriptLimits&) = delete;
    ScriptLimits& operator=(const ScriptLimits&) = delete;

private:
    static void* Allocate(void* self, void* block, size_t oldSize, size_t newSize);

    lua_State* m_L;
    lua_Alloc m_Previous;
    void* m_PreviousData = nullptr;
    lua_Hook m_PreviousHook;
    int m_PreviousMask;
    int m_PreviousCount;
    long long m_Grown = 0;
    long long m_Cap;
};

} // namespace fuzz

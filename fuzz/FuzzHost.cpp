#include "FuzzHost.h"

#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/PropertyType.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptSource.h"
#include "win32/ProgramResources.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fuzz {

namespace {

std::string gScratch;

void RemoveScratchFolder()
{
    std::error_code ignored;
    if (!gScratch.empty())
        std::filesystem::remove_all(gScratch, ignored);
}

// Raised by the count hook of a sandboxed state: the script ran past its budget.
void BudgetHook(lua_State* L, lua_Debug*)
{
    luaL_error(L, "the fuzz input ran past its instruction budget");
}

const char kSandboxChunk[] = R"lua(
io = nil
if os then
    os.execute, os.exit, os.remove, os.rename, os.tmpname, os.getenv = nil, nil, nil, nil, nil, nil
end
loadlib, require, dofile, loadfile = nil, nil, nil, nil
if package then package.loadlib, package.loaders = nil, {} end
local rep = string.rep
string.rep = function(s, n, ...)
    if type(n) == "number" and n > 0 and #tostring(s) * n > 1048576 then
        error("string.rep of more than 1 MiB")
    end
    return rep(s, n, ...)
end
)lua";

// Tables visited before the inspection gives up (a value that shares tables many times
// over unfolds to far more nodes than it holds).
const long kMaxVisits = 100000;
// Nesting the inspection follows (deeper tables are not looked into).
const size_t kMaxDepth = 1000;

void Inspect(const LuaPlus::LuaObject& value, std::vector<const void*>& path, ValueFacts& facts)
{
    if (value.IsFunction())
        facts.functions = true;
    if (!value.IsTable() || facts.visits > kMaxVisits || path.size() > kMaxDepth)
        return;
    ++facts.visits;
    lua_State* L = value.GetCState();
    value.Push(L);
    const void* address = lua_topointer(L, -1);
    lua_pop(L, 1);
    if (std::find(path.begin(), path.end(), address) != path.end()) {
        facts.cycle = true;
        return;
    }
    if (!value["Do_Not_Serialize"].IsNil())
        facts.doNotSerialize = true;
    path.push_back(address);
    for (LuaPlus::LuaTableIterator it(value); it; it.Next()) {
        if (it.GetKey().IsTable()) {
            facts.tableKeys = true;
            Inspect(it.GetKey(), path, facts);
        }
        if (it.GetKey().IsFunction())
            facts.functions = true;
        Inspect(it.GetValue(), path, facts);
    }
    path.pop_back();
}

} // namespace

ValueFacts InspectValue(const LuaPlus::LuaObject& value)
{
    ValueFacts facts;
    std::vector<const void*> path;
    Inspect(value, path, facts);
    return facts;
}

void PrepareFuzzHost()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    SetLogFilePath("");
    // In memory when the system has a memory file system: the writers under test sync
    // every file they replace.
    const char* base = std::getenv("TMPDIR");
    std::string folder = base && *base ? base : "/tmp";
    if (!(base && *base) && access("/dev/shm", W_OK) == 0)
        folder = "/dev/shm";
    std::string pattern = folder + "/bbfuzz.XXXXXX";
    if (!mkdtemp(pattern.data()))
        Fail("could not make the scratch folder " + pattern);
    gScratch = pattern + "/";
    std::atexit(RemoveScratchFolder);
    ScriptSource::SetProvider([](const std::string& name) {
        std::string text = EmbeddedFile(name);
        if (text.empty() && !FindResourceExA(nullptr, "MAKO_RESOURCE", name.c_str(), 0))
            throw ResourceNotFoundException(
                MAKO_WHERE, "Could not find resource info with name = " + name, name);
        return text;
    });
    // Every script it serves is embedded in the program: the program's own.
    ScriptSource::SetOwnCheck([](const std::string&) { return true; });
}

void PrepareEngineOnce()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    PrepareFuzzHost();
    LuaPlus::LuaState* state = GetGlobalLuaState();
    InitLuaState(state);
    MakoLuaState::LoadString(state, EmbeddedFile("Resource.lua"));
    BuildPropertyTypeTable();
    ClassManager::GetInstance()->InitializeClasses();
}

Config& GlobalConfig()
{
    PrepareEngineOnce();
    static Config* config = new Config(GetGlobalLuaState());
    return *config;
}

const std::string& ScratchFolder()
{
    return gScratch;
}

void WriteScratchFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    out.close();
    if (!out)
        Fail("could not write the scratch file " + path);
}

std::string ReadScratchFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string EmbeddedFile(const std::string& name)
{
    HRSRC found = FindResourceExA(nullptr, "MAKO_RESOURCE", name.c_str(), 0);
    if (!found)
        return std::string();
    const void* bytes = LockResource(LoadResource(nullptr, found));
    return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "==fuzz== broken promise: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

void SandboxScriptState(lua_State* L)
{
    if (luaL_loadbuffer(L, kSandboxChunk, sizeof kSandboxChunk - 1, "=sandbox") != 0 ||
        lua_pcall(L, 0, 0, 0) != 0)
        Fail(std::string("the sandbox chunk failed: ") + lua_tostring(L, -1));
}

ScriptLimits::ScriptLimits(lua_State* L, int instructions, size_t bytes)
    : m_L(L), m_Cap(static_cast<long long>(bytes))
{
    m_Previous = lua_getallocf(L, &m_PreviousData);
    lua_setallocf(L, &ScriptLimits::Allocate, this);
    m_PreviousHook = lua_gethook(L);
    m_PreviousMask = lua_gethookmask(L);
    m_PreviousCount = lua_gethookcount(L);
    lua_sethook(L, BudgetHook, LUA_MASKCOUNT, instructions);
}

ScriptLimits::~ScriptLimits()
{
    // A hook the script's own code installed meanwhile (the debugger's) stays.
    if (lua_gethook(m_L) == BudgetHook)
        lua_sethook(m_L, m_PreviousHook, m_PreviousMask, m_PreviousCount);
    lua_setallocf(m_L, m_Previous, m_PreviousData);
}

void* ScriptLimits::Allocate(void* self, void* block, size_t oldSize, size_t newSize)
{
    auto* limits = static_cast<ScriptLimits*>(self);
    const long long change = static_cast<long long>(newSize) - static_cast<long long>(oldSize);
    if (newSize > 0 && change > 0 && limits->m_Grown + change > limits->m_Cap)
        return nullptr;
    void* result = limits->m_Previous(limits->m_PreviousData, block, oldSize, newSize);
    if (result || newSize == 0)
        limits->m_Grown += change;
    return result;
}

} // namespace fuzz

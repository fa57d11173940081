#include "lua/DataScript.h"

#include "core/WorkMeter.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptBudget.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unordered_set>
#include <vector>

using LuaPlus::LuaObject;

const std::size_t kDataScriptLongestRep = std::size_t(1) << 20;

namespace {

// The string methods a data file may use: each does work in proportion to its arguments or
// its result, which the memory budget bounds. No pattern function is among them.
const char* const kBoundedStringMethods[] = {"byte",  "char",    "format", "len",
                                             "lower", "reverse", "sub",    "upper"};

// string.rep that refuses a result longer than kDataScriptLongestRep (an empty string
// repeated counts one byte a copy: the loop that makes it is work all the same). A count that
// is not a number of times (NaN) is refused; none or fewer than none makes "", a fraction is
// cut to its whole part, as string.rep does.
int BoundedRep(lua_State* L)
{
    std::size_t length = 0;
    luaL_checklstring(L, 1, &length);
    const lua_Number count = luaL_checknumber(L, 2);
    if (std::isnan(count))
        return luaL_error(L, "string.rep: the count is not a number");
    if (count < 1) {
        lua_pushliteral(L, "");
        return 1;
    }
    const lua_Number cost = count * static_cast<lua_Number>(length > 0 ? length : 1);
    if (cost > static_cast<lua_Number>(kDataScriptLongestRep))
        return luaL_error(L, "string.rep: the result would be longer than %d bytes",
                          static_cast<int>(kDataScriptLongestRep));
    // Within the limit, the count is a whole number of at most kDataScriptLongestRep.
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_pushvalue(L, 1);
    lua_pushinteger(L, static_cast<lua_Integer>(count));
    lua_call(L, 2, 1);
    return 1;
}

// Pushes a new table of the bounded string methods, taken from the string library table at
// index `library`.
void PushBoundedStrings(lua_State* L, int library)
{
    library = library < 0 ? lua_gettop(L) + library + 1 : library;
    lua_newtable(L);
    if (!lua_istable(L, library))
        return;
    for (const char* name : kBoundedStringMethods) {
        lua_getfield(L, library, name);
        lua_setfield(L, -2, name);
    }
    lua_getfield(L, library, "rep");
    lua_pushcclosure(L, &BoundedRep, 1);
    lua_setfield(L, -2, "rep");
}

// While it lives, the string metatable's __index holds the bounded methods instead of the
// string library; the library comes back when it goes, however the run ended.
class StringMethodsScope
{
public:
    explicit StringMethodsScope(lua_State* L) : m_L(L)
    {
        lua_pushliteral(L, "");
        if (!lua_getmetatable(L, -1)) {
            lua_pop(L, 1);
            return;
        }
        lua_getfield(L, -1, "__index");
        PushBoundedStrings(L, -1);
        lua_setfield(L, -3, "__index");
        m_Library = luaL_ref(L, LUA_REGISTRYINDEX);
        lua_pop(L, 2);
    }
    ~StringMethodsScope()
    {
        if (m_Library == LUA_NOREF)
            return;
        lua_pushliteral(m_L, "");
        lua_getmetatable(m_L, -1);
        lua_rawgeti(m_L, LUA_REGISTRYINDEX, m_Library);
        lua_setfield(m_L, -2, "__index");
        lua_pop(m_L, 2);
        luaL_unref(m_L, LUA_REGISTRYINDEX, m_Library);
    }
    StringMethodsScope(const StringMethodsScope&) = delete;
    StringMethodsScope& operator=(const StringMethodsScope&) = delete;

private:
    lua_State* m_L;
    int m_Library = LUA_NOREF;
};

// table.insert and table.remove as script code, so that moving the elements of a long
// table is counted instruction by instruction; they return the functions as a pair.
const char kTableHelpers[] = R"lua(
local function insert(t, place, value)
    local n = #t
    if value == nil then
        t[n + 1] = place
        return
    end
    for i = n, place, -1 do
        t[i + 1] = t[i]
    end
    t[place] = value
end
local function remove(t, place)
    local n = #t
    if n == 0 then
        return nil
    end
    place = place or n
    local value = t[place]
    for i = place, n - 1 do
        t[i] = t[i + 1]
    end
    t[n] = nil
    return value
end
return insert, remove
)lua";

// Copies field `name` of the table at index `from` into the table at the top of the stack.
void CopyField(lua_State* L, int from, const char* name)
{
    lua_getfield(L, from, name);
    lua_setfield(L, -2, name);
}

// Pushes the table library of a data file, built from the global table library.
void PushBoundedTable(lua_State* L)
{
    lua_newtable(L);
    lua_getglobal(L, "table");
    if (lua_istable(L, -1)) {
        lua_insert(L, -2);
        CopyField(L, -2, "concat");
        CopyField(L, -2, "getn");
        lua_remove(L, -2);
    } else {
        lua_pop(L, 1);
    }
    if (luaL_loadbuffer(L, kTableHelpers, sizeof kTableHelpers - 1, "=table") != 0) {
        lua_pop(L, 1);
        return;
    }
    lua_newtable(L);
    lua_setfenv(L, -2);
    lua_call(L, 0, 2);
    lua_setfield(L, -3, "remove");
    lua_setfield(L, -2, "insert");
}

// Pushes a copy of the global math library without its random generator (whose seed the
// game's own randomness shares).
void PushBoundedMath(lua_State* L)
{
    lua_newtable(L);
    lua_getglobal(L, "math");
    if (lua_istable(L, -1)) {
        for (lua_pushnil(L); lua_next(L, -2);) {
            const char* key = lua_type(L, -2) == LUA_TSTRING ? lua_tostring(L, -2) : "";
            if (std::strcmp(key, "random") != 0 && std::strcmp(key, "randomseed") != 0) {
                lua_pushvalue(L, -2);
                lua_insert(L, -2);
                lua_rawset(L, -5);
            } else {
                lua_pop(L, 1);
            }
        }
    }
    lua_pop(L, 1);
}

const char* const kBaseFunctions[] = {"assert", "error",    "ipairs",   "pairs", "next",
                                      "select", "tonumber", "tostring", "type",  "unpack"};

// The text of a table key in a path: .name for a name, [key] otherwise; a number as the
// script writes it ([7], [1.5], [1e+300], [inf]).
std::string KeyText(lua_State* L, int index)
{
    if (lua_type(L, index) == LUA_TSTRING)
        return std::string(".") + lua_tostring(L, index);
    if (lua_type(L, index) == LUA_TNUMBER) {
        char text[64];
        std::snprintf(text, sizeof text, LUA_NUMBER_FMT, lua_tonumber(L, index));
        return std::string("[") + text + "]";
    }
    return std::string("[") + luaL_typename(L, index) + "]";
}

// A table met by FindOwnFunction: where it hangs (its holder's index among the nodes, and
// the step from the holder: ".name", "[7]", ".(metatable)").
struct FoundTable
{
    LuaObject table;
    const void* identity;
    int parent;
    std::string step;
};

// The path from the value searched down to the entry `step` of node `index`, built only once
// a function was found: each node keeps its holder, so nothing is spent on paths before.
std::string PathTo(const std::vector<FoundTable>& nodes, int index, const std::string& step)
{
    std::vector<const std::string*> steps{&step};
    for (int i = index; i >= 0; i = nodes[std::size_t(i)].parent)
        steps.push_back(&nodes[std::size_t(i)].step);
    WorkMeter::Charge((long long)steps.size());
    std::string path;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        path += **it;
    return path;
}

// Whether the value at index is a script function whose environment is the one at envIndex.
bool IsOwnFunction(lua_State* L, int index, int envIndex)
{
    if (!lua_isfunction(L, index) || lua_iscfunction(L, index))
        return false;
    lua_getfenv(L, index);
    const bool own = lua_rawequal(L, -1, envIndex) != 0;
    lua_pop(L, 1);
    return own;
}

// Adds the value at index to nodes when it is a table not met before.
void NoteTable(LuaPlus::LuaState* state, lua_State* L, int index, int parent, std::string step,
               std::vector<FoundTable>& nodes, std::unordered_set<const void*>& seen)
{
    if (lua_istable(L, index) && seen.insert(lua_topointer(L, index)).second)
        nodes.push_back(
            {LuaObject(state, index), lua_topointer(L, index), parent, std::move(step)});
}

// Where the script of a data file starts: past a UTF-8 byte order mark, which editors put
// before the text, and past a first line starting with '#' (a "#!" line), as the interpreter
// reads a script file. The line end of that line stays, so line numbers hold.
std::size_t StartOfScript(const std::string& text)
{
    std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (start < text.size() && text[start] == '#')
        start = std::min(text.find('\n', start), text.size());
    return start;
}

} // namespace

namespace DataScript {

std::string FindOwnFunction(const LuaObject& value, const LuaObject& environment,
                            std::unordered_set<const void*>* clean)
{
    LuaPlus::LuaState* state = environment.GetState();
    lua_State* L = environment.GetCState();
    const int top = lua_gettop(L);
    environment.Push(L);
    const int envIndex = top + 1;
    value.Push(L);
    if (IsOwnFunction(L, -1, envIndex)) {
        lua_settop(L, top);
        return "(the value itself)";
    }
    // Breadth first with an explicit list, so a table nested at any depth is searched
    // without recursion; each table once, each entry charged to the open WorkMeter.
    std::vector<FoundTable> nodes;
    std::unordered_set<const void*> own;
    std::unordered_set<const void*>& seen = clean ? *clean : own;
    NoteTable(state, L, -1, -1, std::string(), nodes, seen);
    lua_settop(L, envIndex);
    std::string path;
    for (std::size_t index = 0; index < nodes.size() && path.empty(); ++index) {
        nodes[index].table.Push(L);
        const int table = lua_gettop(L);
        const int at = int(index);
        for (lua_pushnil(L); lua_next(L, table); lua_pop(L, 1)) {
            WorkMeter::Charge();
            const int key = lua_gettop(L) - 1;
            if (IsOwnFunction(L, key, envIndex) || IsOwnFunction(L, key + 1, envIndex)) {
                path = PathTo(nodes, at, KeyText(L, key));
                break;
            }
            if (lua_istable(L, key) || lua_istable(L, key + 1)) {
                const std::string step = KeyText(L, key);
                NoteTable(state, L, key, at, step, nodes, seen);
                NoteTable(state, L, key + 1, at, step, nodes, seen);
            }
        }
        // The game's scripts may give a table a metatable whose fields are called later.
        if (path.empty() && lua_getmetatable(L, table)) {
            if (IsOwnFunction(L, -1, envIndex))
                path = PathTo(nodes, at, ".(metatable)");
            NoteTable(state, L, -1, at, ".(metatable)", nodes, seen);
        }
        lua_settop(L, envIndex);
    }
    lua_settop(L, top);
    if (path.empty())
        return path;
    // The tables of this search are not known to be clean: another value holding one is
    // searched again.
    for (const FoundTable& node : nodes)
        seen.erase(node.identity);
    if (path[0] == '.')
        path.erase(0, 1);
    return path;
}

std::string KeyPathText(const LuaObject& key)
{
    lua_State* L = key.GetCState();
    key.Push(L);
    std::string text = KeyText(L, -1);
    lua_pop(L, 1);
    return text;
}

LuaObject MakeEnvironment(LuaPlus::LuaState* state, const std::vector<std::string>& shared)
{
    lua_State* L = state->GetCState();
    lua_newtable(L);
    const int environment = lua_gettop(L);
    for (const char* name : kBaseFunctions) {
        lua_getglobal(L, name);
        lua_setfield(L, environment, name);
    }
    PushBoundedMath(L);
    lua_setfield(L, environment, "math");
    lua_getglobal(L, "string");
    PushBoundedStrings(L, -1);
    lua_setfield(L, environment, "string");
    lua_pop(L, 1);
    PushBoundedTable(L);
    lua_setfield(L, environment, "table");
    for (const std::string& name : shared) {
        lua_getglobal(L, name.c_str());
        lua_setfield(L, environment, name.c_str());
    }
    LuaObject result(state, environment);
    lua_settop(L, environment - 1);
    return result;
}

int Run(LuaPlus::LuaState* state, const std::string& text, const std::string& chunkName,
        const LuaObject& environment, const std::string& what, std::string& error)
{
    const std::size_t start = StartOfScript(text);
    // Precompiled chunks can break the interpreter itself: data files are text only.
    if (start < text.size() && text[start] == LUA_SIGNATURE[0]) {
        error = "the file is a precompiled chunk, not text";
        return LUA_ERRSYNTAX;
    }
    lua_State* L = state->GetCState();
    const int top = lua_gettop(L);
    // The walks the file makes the game do over its values (a loader function reading the
    // table it is given) count against the meter of the file's load: the caller's, when it
    // opened one to take in the values after the run too, else one of its own.
    std::optional<WorkMeter> meter;
    if (!WorkMeter::Current())
        meter.emplace(what);
    StringMethodsScope strings(L);
    ScriptBudget budget(L, kUserFileLimits);
    const auto reason = [&budget](const std::string& text) {
        // The budget's own text, however a handler the file reached reworded it.
        if (budget.IsSpent() && text.find(budget.GetReason()) == std::string::npos)
            return "the file " + budget.GetReason();
        return budget.RanOutOfMemory() ? "the file " + budget.GetReason() : text;
    };
    int status = luaL_loadbuffer(L, text.data() + start, text.size() - start, chunkName.c_str());
    if (status != 0) {
        error = reason(LuaPlus::GetErrorText(L));
        lua_settop(L, top);
        return status;
    }
    environment.Push(L);
    lua_setfenv(L, -2);

    LuaPlus::CallFailure failure;
    if (MakoLuaState::Call(L, 0, 0, what, failure)) {
        lua_settop(L, top);
        return 0;
    }
    error = reason(failure.Message());
    lua_settop(L, top);
    if (budget.RanOutOfMemory())
        return LUA_ERRMEM;
    return failure.status != 0 ? failure.status : LUA_ERRRUN;
}

} // namespace DataScript

// What the debugger reports of the debugged state (locals, watches, the call stack) and
// how it reads and changes variables named by dotted paths.
#include "debugger/DebugReplyFormat.h"
#include "debugger/LuaDebugger.h"

#include "luaplus/LuaCall.h"

#include <algorithm>
#include <cstring>

namespace {
int GetFieldBody(lua_State* L)
{
    lua_gettable(L, 1);
    return 1;
}

int SetFieldBody(lua_State* L)
{
    lua_settable(L, 1);
    return 0;
}

// Pushes object[key] for the value at objectIndex (absolute), running metamethods inside
// the error boundary. False, with the error text and nil pushed, when the lookup failed.
bool ProtectedGet(lua_State* L, int objectIndex, const std::string& key, std::string& error)
{
    lua_pushvalue(L, objectIndex);
    lua_pushlstring(L, key.data(), key.size());
    LuaPlus::PushNativeFunction<GetFieldBody>(L);
    lua_insert(L, -3);
    LuaPlus::CallFailure failure;
    if (LuaPlus::ProtectedCall(L, 2, 1, "a debugger look-up", failure))
        return true;
    error = failure.Message();
    lua_pushnil(L);
    return false;
}

// object[key] = the value on top (popped), inside the error boundary.
bool ProtectedSet(lua_State* L, int objectIndex, const std::string& key, std::string& error)
{
    lua_pushvalue(L, objectIndex);
    lua_pushlstring(L, key.data(), key.size());
    lua_pushvalue(L, -3);
    lua_remove(L, -4);
    LuaPlus::PushNativeFunction<SetFieldBody>(L);
    lua_insert(L, -4);
    LuaPlus::CallFailure failure;
    if (LuaPlus::ProtectedCall(L, 3, 0, "a debugger assignment", failure))
        return true;
    error = failure.Message();
    return false;
}

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> segments;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = path.find('.', start);
        segments.push_back(path.substr(start, dot - start));
        if (dot == std::string::npos)
            return segments;
        start = dot + 1;
    }
}

// The index of the level-0 local named `name` (first match), or 0.
int FindLocal(lua_State* L, lua_Debug& ar, const std::string& name)
{
    for (int i = 1;; ++i) {
        const char* local = lua_getlocal(L, &ar, i);
        if (!local)
            return 0;
        lua_pop(L, 1);
        if (name == local)
            return i;
    }
}

bool HasPrefix(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

void RemoveStartingWith(std::vector<std::string>& list, const std::string& prefix)
{
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const std::string& entry) { return HasPrefix(entry, prefix); }),
               list.end());
}

void AddUnique(std::vector<std::string>& list, const std::string& entry)
{
    if (std::find(list.begin(), list.end(), entry) == list.end())
        list.push_back(entry);
}

// Frame source: the short source with its leading '[' and trailing ']' runs removed.
std::string FrameSource(const lua_Debug& ar)
{
    std::string source = ar.short_src;
    const std::size_t first = source.find_first_not_of('[');
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = source.find_last_not_of(']');
    return source.substr(first, last - first + 1);
}
} // namespace

void LuaDebugger::EvaluatePath(lua_State* L, const std::string& path)
{
    lua_checkstack(L, 8);
    const std::vector<std::string> segments = SplitPath(path);
    std::size_t next = 0;
    lua_Debug ar;
    int local = 0;
    if (lua_getstack(L, 0, &ar))
        local = FindLocal(L, ar, segments[0]);
    if (local) {
        lua_getlocal(L, &ar, local);
        next = 1;
    } else {
        lua_pushvalue(L, LUA_GLOBALSINDEX);
    }
    std::string error;
    for (; next < segments.size(); ++next) {
        if (lua_isnil(L, -1))
            return;
        ProtectedGet(L, lua_gettop(L), segments[next], error);
        lua_remove(L, -2);
    }
}

void LuaDebugger::AppendEntry(lua_State* L, std::string& out, std::vector<std::string>& expand,
                              const std::string& name, int valueIndex)
{
    out += "{" + DebugReplyFormat::Quote(name) + ",1," +
           DebugReplyFormat::FormatValue(L, valueIndex) + "}, ";
    if (lua_type(L, valueIndex) == LUA_TTABLE)
        AppendExpandedTable(L, out, expand, name, valueIndex, 2);
}

void LuaDebugger::AppendExpandedTable(lua_State* L, std::string& out,
                                      std::vector<std::string>& expand, const std::string& name,
                                      int tableIndex, int level)
{
    if (expand.empty())
        return;
    struct Item
    {
        bool stringKey;
        std::string keyText, printedKey, printedValue;
        bool isTable;
    };
    std::vector<Item> items;
    lua_checkstack(L, 8);
    lua_pushnil(L);
    while (lua_next(L, tableIndex) != 0) {
        Item item;
        item.stringKey = lua_type(L, -2) == LUA_TSTRING;
        if (item.stringKey) {
            std::size_t length = 0;
            const char* text = lua_tolstring(L, -2, &length);
            item.keyText.assign(text, length);
        }
        item.printedKey = DebugReplyFormat::FormatValue(L, -2);
        item.printedValue = DebugReplyFormat::FormatValue(L, -1);
        item.isTable = lua_type(L, -1) == LUA_TTABLE;
        items.push_back(item);
        lua_pop(L, 1);
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return a.printedKey < b.printedKey; });
    for (const Item& item : items) {
        out +=
            "{" + item.printedKey + "," + std::to_string(level) + "," + item.printedValue + "}, ";
        if (!item.stringKey || !item.isTable)
            continue;
        const std::string path = name + "." + item.keyText;
        if (std::find(expand.begin(), expand.end(), path) == expand.end())
            continue;
        lua_pushlstring(L, item.keyText.data(), item.keyText.size());
        lua_rawget(L, tableIndex);
        if (lua_type(L, -1) == LUA_TTABLE)
            AppendExpandedTable(L, out, expand, path, lua_gettop(L), level + 1);
        lua_pop(L, 1);
    }
}

void LuaDebugger::SendLocals()
{
    lua_State* L = Inspected();
    lua_Debug ar;
    if (!L || !lua_getstack(L, 0, &ar))
        return;
    lua_checkstack(L, 8);
    std::string entries;
    for (int i = 1;; ++i) {
        const char* name = lua_getlocal(L, &ar, i);
        if (!name)
            break;
        AppendEntry(L, entries, m_LocalExpand, name, lua_gettop(L));
        lua_pop(L, 1);
    }
    Send("DebugUpdateLocals({" + entries + "})");
}

void LuaDebugger::SendWatches()
{
    lua_State* L = Inspected();
    std::string entries;
    for (WatchEntry& watch : m_Watches) {
        if (L) {
            EvaluatePath(L, watch.expression);
            AppendEntry(L, entries, watch.expand, watch.expression, lua_gettop(L));
            lua_pop(L, 1);
        } else {
            entries += "{" + DebugReplyFormat::Quote(watch.expression) + ",1,'!!!NIL!!!'}, ";
        }
    }
    Send("DebugUpdateWatch({" + entries + "})");
}

void LuaDebugger::SendCallStack()
{
    // The first frames and the last ones of a deep stack: a runaway recursion shows where
    // it started and where it is.
    const int head = 12, tail = 10;
    lua_State* L = Inspected();
    int count = 0;
    lua_Debug ar;
    while (L && lua_getstack(L, count, &ar))
        ++count;
    std::string frames;
    for (int level = 0; level < count; ++level) {
        if (count > head + tail + 1 && level >= head && level < count - tail)
            continue;
        if (!lua_getstack(L, level, &ar) || !lua_getinfo(L, "nSl", &ar))
            continue;
        const std::string kind = ar.namewhat ? ar.namewhat : "";
        const std::string source = FrameSource(ar);
        std::string description;
        if (ar.name && (kind == "global" || kind == "local" || kind == "field" || kind == "method"))
            description = DebugReplyFormat::Quote(ar.name) + ",'function'";
        else if (ar.what && std::strcmp(ar.what, "main") == 0)
            description = DebugReplyFormat::Quote(source) + ", 'main chunk'";
        else if (ar.what && std::strcmp(ar.what, "C") == 0)
            description = DebugReplyFormat::Quote(source) + ",'c function'";
        else
            description = DebugReplyFormat::Quote("function <" + std::to_string(ar.linedefined) +
                                                  ":" + source) +
                          ",''";
        frames += "{" + description + "," + std::to_string(ar.currentline) + "},\n";
    }
    Send("DebugUpdateCallStack()");
    Send("CallStack={" + frames + "}");
}

void LuaDebugger::SetVariable(const std::string& path, lua_State* from, int valueIndex)
{
    const int type = lua_type(from, valueIndex);
    if (!m_Debugged || (type != LUA_TNUMBER && type != LUA_TSTRING && type != LUA_TNIL &&
                        type != LUA_TBOOLEAN && type != LUA_TNONE))
        return;
    lua_State* L = Inspected();
    lua_checkstack(L, 8);
    const int top = lua_gettop(L);
    if (type == LUA_TNUMBER) {
        lua_pushnumber(L, lua_tonumber(from, valueIndex));
    } else if (type == LUA_TSTRING) {
        std::size_t length = 0;
        const char* text = lua_tolstring(from, valueIndex, &length);
        lua_pushlstring(L, text, length);
    } else if (type == LUA_TBOOLEAN) {
        lua_pushboolean(L, lua_toboolean(from, valueIndex));
    } else {
        lua_pushnil(L);
    }
    std::string error;
    if (!AssignPath(L, SplitPath(path), top + 1, error))
        ReportFailure("DebugSetVariable " + DebugReplyFormat::Quote(path) + ": " + error);
    lua_settop(L, top);
}

bool LuaDebugger::AssignPath(lua_State* L, const std::vector<std::string>& segments, int valueIndex,
                             std::string& error)
{
    std::size_t next = 0;
    lua_Debug ar;
    const int local = lua_getstack(L, 0, &ar) ? FindLocal(L, ar, segments[0]) : 0;
    if (local && segments.size() == 1) {
        lua_pushvalue(L, valueIndex);
        lua_setlocal(L, &ar, local);
        return true;
    }
    if (local) {
        lua_getlocal(L, &ar, local);
        if (!lua_istable(L, -1)) {
            error = "the local " + segments[0] + " is not a table";
            return false;
        }
        next = 1;
    } else {
        lua_pushvalue(L, LUA_GLOBALSINDEX);
    }
    std::string reached = local ? segments[0] : std::string();
    for (; next + 1 < segments.size(); ++next) {
        const int current = lua_gettop(L);
        if (!ProtectedGet(L, current, segments[next], error))
            return false;
        reached += (reached.empty() ? "" : ".") + segments[next];
        if (lua_isnil(L, -1)) {
            // Only a missing step is made: an existing value is never replaced.
            lua_pop(L, 1);
            lua_newtable(L);
            lua_pushvalue(L, -1);
            if (!ProtectedSet(L, current, segments[next], error))
                return false;
        } else if (!lua_istable(L, -1) && !lua_isuserdata(L, -1)) {
            error = reached + " is a " + luaL_typename(L, -1) + ", not a table";
            return false;
        }
        lua_remove(L, current);
    }
    lua_pushvalue(L, valueIndex);
    return ProtectedSet(L, lua_gettop(L) - 1, segments.back(), error);
}

void LuaDebugger::AddWatch(int position, const std::string& expression)
{
    if (position < 0)
        return;
    if (std::size_t(position) >= m_Watches.size())
        m_Watches.push_back(WatchEntry{expression, {}});
    else
        m_Watches[std::size_t(position)].expression = expression;
}

void LuaDebugger::RemoveWatch(int position)
{
    if (position >= 0 && std::size_t(position) < m_Watches.size())
        m_Watches.erase(m_Watches.begin() + position);
}

void LuaDebugger::AddLocalExpand(const std::string& path)
{
    AddUnique(m_LocalExpand, path);
    SendLocals();
}

void LuaDebugger::RemoveLocalExpand(const std::string& path)
{
    RemoveStartingWith(m_LocalExpand, path);
    SendLocals();
}

void LuaDebugger::AddWatchExpand(int position, const std::string& path)
{
    if (position >= 0 && std::size_t(position) < m_Watches.size())
        AddUnique(m_Watches[std::size_t(position)].expand, path);
    SendWatches();
}

void LuaDebugger::RemoveWatchExpand(int position, const std::string& path)
{
    if (position >= 0 && std::size_t(position) < m_Watches.size())
        RemoveStartingWith(m_Watches[std::size_t(position)].expand, path);
    SendWatches();
}

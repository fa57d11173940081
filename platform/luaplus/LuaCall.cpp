#include "luaplus/LuaCall.h"

#include "luaplus/LuaErrorStash.h"
#include "luaplus/LuaException.h"

#include <new>

namespace LuaPlus {

namespace {

// Levels shown before and after the elided middle of a deep traceback.
const int kFirstLevels = 12;
const int kLastLevels = 10;

// Its address is the registry key of the state's traceback handler.
const char kHandlerKey = 0;

// Where the handler writes: the traceback of the innermost ProtectedCall running in the
// state, or null. The handler's upvalue 1 holds it.
struct TracebackSlot
{
    std::string* traceback = nullptr;
};

// The error handler of every ProtectedCall: records the traceback from the function that
// raised the error (none when nothing ran, as when the value called is not a function) and
// hands the error value on unchanged, so the text scripts and callers
// compare stays exactly Lua's.
int TracebackHandler(lua_State* L)
{
    lua_settop(L, 1);
    TracebackSlot* slot = static_cast<TracebackSlot*>(lua_touserdata(L, lua_upvalueindex(1)));
    lua_Debug ar;
    if (slot && slot->traceback && lua_getstack(L, 1, &ar))
        *slot->traceback = GetTraceback(L, 1);
    return 1;
}

// Pushes the state's handler (made on first use) and returns its slot.
TracebackSlot* PushHandler(lua_State* L)
{
    lua_pushlightuserdata(L, const_cast<char*>(&kHandlerKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_isfunction(L, -1)) {
        lua_getupvalue(L, -1, 1);
        TracebackSlot* slot = static_cast<TracebackSlot*>(lua_touserdata(L, -1));
        lua_pop(L, 1);
        return slot;
    }
    lua_pop(L, 1);
    TracebackSlot* slot = new (lua_newuserdata(L, sizeof(TracebackSlot))) TracebackSlot();
    PushNativeClosure<TracebackHandler>(L, 1);
    lua_pushlightuserdata(L, const_cast<char*>(&kHandlerKey));
    lua_pushvalue(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
    return slot;
}

// Points the slot at one call's traceback for as long as that call runs.
class SlotScope
{
public:
    SlotScope(TracebackSlot* slot, std::string* traceback) : m_Slot(slot), m_Outer(slot->traceback)
    {
        slot->traceback = traceback;
    }
    ~SlotScope() { m_Slot->traceback = m_Outer; }
    SlotScope(const SlotScope&) = delete;
    SlotScope& operator=(const SlotScope&) = delete;

private:
    TracebackSlot* m_Slot;
    std::string* m_Outer;
};

} // namespace

void PrepareProtectedCalls(lua_State* L)
{
    PushHandler(L);
    lua_pop(L, 1);
}

std::string CallFailure::Message() const
{
    if (errorType == LUA_TSTRING)
        return text;
    return std::string("(error object is a ") + lua_typename(nullptr, errorType) + " value)";
}

std::string CallFailure::Describe() const
{
    std::string description = what + ": " + (hasText ? text : Message());
    if (!traceback.empty())
        description += "\n" + traceback;
    return description;
}

bool ProtectedCall(lua_State* L, int nargs, int nresults, const char* what, CallFailure& failure)
{
    if (!what)
        what = "a Lua function";
    const int function = lua_gettop(L) - nargs;
    if (!lua_checkstack(L, 3))
        throw LuaException(std::string("stack overflow calling ") + what);
    TracebackSlot* slot = PushHandler(L);
    lua_insert(L, function);

    std::string traceback;
    int status;
    {
        SlotScope scope(slot, &traceback);
        ClearStashedException(L);
        status = lua_pcall(L, nargs, nresults, function);
    }
    if (status == 0) {
        lua_remove(L, function);
        ClearStashedException(L);
        return true;
    }

    failure.status = status;
    failure.what = what;
    failure.errorType = lua_type(L, -1);
    failure.hasText = lua_isstring(L, -1) != 0;
    failure.text.clear();
    if (failure.hasText) {
        std::size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        failure.text.assign(text, length);
    }
    failure.traceback = std::move(traceback);
    failure.original = TakeStashedException(L);
    lua_settop(L, function - 1);
    ClearStashedException(L);
    return false;
}

void CallOrThrow(lua_State* L, int nargs, int nresults, const char* what)
{
    CallFailure failure;
    if (ProtectedCall(L, nargs, nresults, what, failure))
        return;
    if (failure.original)
        std::rethrow_exception(failure.original);
    throw LuaException(failure.Message(), failure.traceback);
}

void PCallOrThrow(lua_State* L, int nargs, int nresults)
{
    CallOrThrow(L, nargs, nresults, "a Lua function");
}

void ThrowLuaError(lua_State* L, int status)
{
    (void)status;
    std::string text = GetErrorText(L);
    lua_pop(L, 1);
    throw LuaException(text);
}

std::string GetTraceback(lua_State* L, int level)
{
    std::string traceback = "stack traceback:";
    lua_Debug ar;
    bool firstPart = true;
    while (lua_getstack(L, level++, &ar)) {
        if (level > kFirstLevels && firstPart) {
            // Elide the middle unless at most kLastLevels more levels remain.
            if (!lua_getstack(L, level + kLastLevels, &ar)) {
                level--;
            } else {
                traceback += "\n\t...";
                while (lua_getstack(L, level + kLastLevels, &ar))
                    level++;
            }
            firstPart = false;
            continue;
        }
        lua_getinfo(L, "Snl", &ar);
        traceback += "\n\t";
        traceback += ar.short_src;
        traceback += ':';
        if (ar.currentline > 0)
            traceback += std::to_string(ar.currentline) + ":";
        if (*ar.namewhat != '\0')
            traceback += std::string(" in function '") + ar.name + "'";
        else if (*ar.what == 'm')
            traceback += " in main chunk";
        else if (*ar.what == 'C' || *ar.what == 't')
            traceback += " ?";
        else
            traceback += std::string(" in function <") + ar.short_src + ":" +
                         std::to_string(ar.linedefined) + ">";
    }
    return traceback;
}

} // namespace LuaPlus

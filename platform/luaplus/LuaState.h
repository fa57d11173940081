#pragma once
// One Lua state and the entry to everything the wrapper offers on it.
//
// Made by Create (or LuaStateOwner) and ended by Destroy; the state must outlive the
// LuaObjects bound to it. Objects that are still alive when it is destroyed become unset
// (their later use raises LuaException, their destruction is safe).
//
// Errors: operations that run script code run it protected (luaplus/LuaCall.h); a failure
// raises LuaException with Lua's text (and the traceback of where it was raised), or the
// original C++ exception when a native function's exception caused it
// (luaplus/LuaErrorStash.h). A Lua error raised where no protected call is active (through
// the raw C API) also becomes a LuaException instead of ending the process.
#include "luaplus/LuaException.h"

#include <lua.hpp>

#include <cstddef>

namespace LuaPlus {

class LuaObject;
class LuaStackObject;

class LuaState
{
public:
    // A new state; with the standard libraries opened when asked (pcall, xpcall and
    // coroutine.resume then cooperate with the exception stash).
    static LuaState* Create(bool initStandardLibrary = true);
    // Closes the state (running its finalisers) and unbinds every LuaObject still bound.
    // Null is ignored.
    static void Destroy(LuaState* state);
    // The wrapper of a C state made by Create (any of its threads); null for other states.
    static LuaState* CastState(lua_State* L);

    LuaState(const LuaState&) = delete;
    LuaState& operator=(const LuaState&) = delete;

    lua_State* GetCState() const { return m_L; }

    LuaObject GetGlobals();
    LuaObject GetRegistry();
    // globals[name], read raw (globals have no metatable by default).
    LuaObject GetGlobal(const char* name);

    // The stack slot at index (negative counts from the top); StackTop is index -1.
    LuaStackObject Stack(int index);
    LuaStackObject StackTop();
    int GetTop() const;
    void SetTop(int index);
    void Pop(int count = 1);

    // Compiles and runs text (chunk name: the text itself, as Lua's own loaders do),
    // discarding its results. Raises on compile or run errors; the stack is unchanged.
    void DoString(const char* text);
    void DoBuffer(const char* data, std::size_t size, const char* chunkName);
    // Compiles only: the chunk as a function. Raises LuaException on a syntax error.
    LuaObject LoadString(const char* text);
    LuaObject LoadBuffer(const char* data, std::size_t size, const char* chunkName);

    // A full garbage collection cycle.
    void CollectGarbage();

private:
    friend class LuaObject;

    LuaState();
    ~LuaState();

    lua_State* m_L = nullptr;
    // The LuaObjects bound to this state: an intrusive list, so Destroy can unbind them.
    LuaObject* m_Objects = nullptr;
};

} // namespace LuaPlus

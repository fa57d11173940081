// The commands a debugging client runs: Lua functions of the debugger's own state. A
// command with arguments takes one text first that it does not use; a missing text counts
// as empty, a missing or non-numeric number as 0.
#include "debugger/LuaDebugger.h"

#include "luaplus/LuaNative.h"

namespace {
LuaDebugger& Debugger()
{
    // Commands run only in the state of the active debugger.
    return *LuaDebugger::Get();
}

std::string TextArg(lua_State* L, int index)
{
    std::size_t length = 0;
    const char* text = lua_isstring(L, index) ? lua_tolstring(L, index, &length) : nullptr;
    return text ? std::string(text, length) : std::string();
}

int NumberArg(lua_State* L, int index)
{
    const lua_Number value = lua_tonumber(L, index);
    if (!(value > -2147483648.0 && value < 2147483647.0))
        return 0;
    return static_cast<int>(value);
}

int DebugOn(lua_State*)
{
    Debugger().SetHook(true);
    return 0;
}

int DebugOff(lua_State*)
{
    Debugger().SetHook(false);
    return 0;
}

int DebugSetBreakpoint(lua_State* L)
{
    Debugger().SetBreakpoint(TextArg(L, 2), NumberArg(L, 3), lua_toboolean(L, 4) != 0);
    return 0;
}

int DebugStepOver(lua_State*)
{
    Debugger().SetMode(LuaDebugger::StepOver);
    return 0;
}

int DebugStepInto(lua_State*)
{
    Debugger().SetMode(LuaDebugger::StepInto);
    return 0;
}

int DebugStepOut(lua_State*)
{
    Debugger().SetMode(LuaDebugger::StepOut);
    return 0;
}

int DebugGo(lua_State*)
{
    Debugger().SetMode(LuaDebugger::Running);
    return 0;
}

int DebugBreak(lua_State*)
{
    Debugger().SetMode(LuaDebugger::Break);
    return 0;
}

int DebugSetVariable(lua_State* L)
{
    Debugger().SetVariable(TextArg(L, 2), L, 3);
    return 0;
}

int DebugReadWatchVariables(lua_State*)
{
    Debugger().SendWatches();
    return 0;
}

int DebugReadLocalVariables(lua_State*)
{
    Debugger().SendLocals();
    return 0;
}

int DebugAddWatch(lua_State* L)
{
    Debugger().AddWatch(NumberArg(L, 2), TextArg(L, 3));
    return 0;
}

int DebugRemoveWatch(lua_State* L)
{
    Debugger().RemoveWatch(NumberArg(L, 2));
    return 0;
}

int DebugAddLocalExpandIdent(lua_State* L)
{
    Debugger().AddLocalExpand(TextArg(L, 2));
    return 0;
}

int DebugRemoveLocalExpandIdent(lua_State* L)
{
    Debugger().RemoveLocalExpand(TextArg(L, 2));
    return 0;
}

int DebugAddWatchExpandIdent(lua_State* L)
{
    Debugger().AddWatchExpand(NumberArg(L, 2), TextArg(L, 3));
    return 0;
}

int DebugRemoveWatchExpandIdent(lua_State* L)
{
    Debugger().RemoveWatchExpand(NumberArg(L, 2), TextArg(L, 3));
    return 0;
}

int DebugDoBuffer(lua_State* L)
{
    Debugger().DoBuffer(TextArg(L, 2));
    return 0;
}

int DebugOutput(lua_State* L)
{
    Debugger().Output(TextArg(L, 2));
    return 0;
}

int LuaClientConnect(lua_State*)
{
    Debugger().ClientConnect();
    return 0;
}

template <lua_CFunction F> void Register(lua_State* L, const char* name)
{
    LuaPlus::PushNativeFunction<F>(L);
    lua_setglobal(L, name);
}
} // namespace

// Publishes every command as a global of the debugger's state.
void RegisterLuaDebuggerCommands(lua_State* L)
{
    Register<DebugOn>(L, "DebugOn");
    Register<DebugOff>(L, "DebugOff");
    Register<DebugSetBreakpoint>(L, "DebugSetBreakpoint");
    Register<DebugStepOver>(L, "DebugStepOver");
    Register<DebugStepInto>(L, "DebugStepInto");
    Register<DebugStepOut>(L, "DebugStepOut");
    Register<DebugGo>(L, "DebugGo");
    Register<DebugBreak>(L, "DebugBreak");
    Register<DebugSetVariable>(L, "DebugSetVariable");
    Register<DebugReadWatchVariables>(L, "DebugReadWatchVariables");
    Register<DebugReadLocalVariables>(L, "DebugReadLocalVariables");
    Register<DebugAddWatch>(L, "DebugAddWatch");
    Register<DebugRemoveWatch>(L, "DebugRemoveWatch");
    Register<DebugAddLocalExpandIdent>(L, "DebugAddLocalExpandIdent");
    Register<DebugRemoveLocalExpandIdent>(L, "DebugRemoveLocalExpandIdent");
    Register<DebugAddWatchExpandIdent>(L, "DebugAddWatchExpandIdent");
    Register<DebugRemoveWatchExpandIdent>(L, "DebugRemoveWatchExpandIdent");
    Register<DebugDoBuffer>(L, "DebugDoBuffer");
    Register<DebugOutput>(L, "DebugOutput");
    Register<LuaClientConnect>(L, "LuaClientConnect");
}

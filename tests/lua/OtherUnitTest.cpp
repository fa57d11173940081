// A second source unit that registers a native function from its static initialisers.
#include "lua/LuaFunctionList.h"

MAKO_LUA_FUNCTION(TestOtherUnit)
{
    lua_pushstring(L, "other unit");
    return 1;
}

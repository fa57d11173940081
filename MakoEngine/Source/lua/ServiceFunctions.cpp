// The native script functions of the engine's lowest services (the log, the file system
// helpers of core/Utility), which lie below the Lua layer and so register nothing
// themselves.
#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"
#include "lua/LuaFunctionList.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

// logprint(text): writes text and a line end to the log. The text is never a format.
MAKO_LUA_FUNCTION(logprint)
{
    const char* text = lua_gettop(L) > 0 ? lua_tostring(L, -1) : nullptr;
    Log("%s\n", text ? text : "nil");
    return 0;
}

// chdir(path): makes path the working directory. A folder that cannot be entered is an error
// of the script that named it, not a failed check of the program's.
MAKO_LUA_FUNCTION(chdir)
{
    const char* path = luaL_checkstring(L, 1);
    if (::chdir(path) != 0)
        return luaL_error(L, "chdir(\"%s\") failed: %s", path, std::strerror(errno));
    return 0;
}

// CreateDirectory(path) -> whether any directory was made.
MAKO_LUA_FUNCTION(CreateDirectory)
{
    lua_pushboolean(L, CreateDirectories(luaL_checkstring(L, 1)));
    return 1;
}

// IsDirectory(path) -> whether path is an existing directory.
MAKO_LUA_FUNCTION(IsDirectory)
{
    lua_pushboolean(L, FileExists(luaL_checkstring(L, 1), EXISTS_DIRECTORY));
    return 1;
}

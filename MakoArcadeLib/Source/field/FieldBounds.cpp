#include "field/FieldBounds.h"

#include "core/DataReport.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"

FieldBounds FieldBounds::FromScripts()
{
    FieldBounds bounds;
    LuaPlus::LuaState* state = GetGlobalLuaState();
    if (!state)
        return bounds;
    const LuaPlus::LuaObject globals = state->GetGlobals();
    const struct
    {
        int FieldBounds::*edge;
        const char* name;
    } kEdges[] = {{&FieldBounds::left, "x2"},
                  {&FieldBounds::right, "x3"},
                  {&FieldBounds::top, "y2"},
                  {&FieldBounds::bottom, "y3"}};
    for (const auto& edge : kEdges) {
        const LuaPlus::LuaObject value =
            ReadDataKey(globals, edge.name, LUA_TNUMBER, "The field's walls");
        if (value.IsNumber())
            bounds.*edge.edge = value.GetInteger();
    }
    return bounds;
}

FieldBounds FieldBounds::Current()
{
    if (gLogic && gLogic->GetLevel() && gLogic->GetLevel()->HasFieldBounds())
        return gLogic->GetLevel()->GetFieldBounds();
    return FromScripts();
}

// GetFieldBounds(): the play field's inner rectangle as a table {left, right, top, bottom}
// (screen pixels), as the running level has it.
MAKO_LUA_FUNCTION(GetFieldBounds)
{
    const FieldBounds bounds = FieldBounds::Current();
    lua_createtable(L, 0, 4);
    lua_pushinteger(L, bounds.left);
    lua_setfield(L, -2, "left");
    lua_pushinteger(L, bounds.right);
    lua_setfield(L, -2, "right");
    lua_pushinteger(L, bounds.top);
    lua_setfield(L, -2, "top");
    lua_pushinteger(L, bounds.bottom);
    lua_setfield(L, -2, "bottom");
    return 1;
}

#include "geometry/Rect.h"

#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

using LuaPlus::LuaObject;
using LuaPlus::LuaState;

void SetRectFromLuaObject(SDL_Rect& rect, const LuaObject& table)
{
    const int x = ReadIntegerFromObject(table[1]);
    const int y = ReadIntegerFromObject(table[2]);
    const int w = ReadIntegerFromObject(table[3]);
    const int h = ReadIntegerFromObject(table[4]);
    rect = MakeRect(x, y, w, h);
}

LuaObject RectToLuaObject(const SDL_Rect& rect, LuaState* state)
{
    LuaObject table;
    table.AssignNewTable(state ? state : GetGlobalLuaState(), 4, 0);
    table.SetInteger(1, rect.x);
    table.SetInteger(2, rect.y);
    table.SetInteger(3, rect.w);
    table.SetInteger(4, rect.h);
    return table;
}

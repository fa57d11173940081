#include "geometry/Rect.h"

#include "geometry/ScriptCoordinates.h"
#include "lua/MakoLuaState.h"

using LuaPlus::LuaObject;
using LuaPlus::LuaState;

void SetRectFromLuaObject(SDL_Rect& rect, const LuaObject& table, const char* name)
{
    const CoordinateLabel label{"rectangle", name};
    RequireCoordinateTable(table, label);
    // Entries 1 to 4, or the fields x, y, w, h.
    const int x = CheckCoordinateRange(ReadCoordinate(table, "x", 1, label), kRectCoordinateMin,
                                       kRectCoordinateMax, "x", label);
    const int y = CheckCoordinateRange(ReadCoordinate(table, "y", 2, label), kRectCoordinateMin,
                                       kRectCoordinateMax, "y", label);
    const int w =
        CheckCoordinateRange(ReadCoordinate(table, "w", 3, label), 0, kRectExtentMax, "w", label);
    const int h =
        CheckCoordinateRange(ReadCoordinate(table, "h", 4, label), 0, kRectExtentMax, "h", label);
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

Point<int> ReadRectSize(const LuaObject& value, const char* name)
{
    const CoordinateLabel label{"size", name};
    RequireCoordinateTable(value, label);
    // A size read back from an actor is a point {x, y}: it reads as one, under its keys.
    const bool pointKeys =
        value["w"].IsNil() && value["h"].IsNil() && (!value["x"].IsNil() || !value["y"].IsNil());
    const char* const wKey = pointKeys ? "x" : "w";
    const char* const hKey = pointKeys ? "y" : "h";
    const int w =
        CheckCoordinateRange(ReadCoordinate(value, wKey, 1, label), 0, kRectExtentMax, wKey, label);
    const int h =
        CheckCoordinateRange(ReadCoordinate(value, hKey, 2, label), 0, kRectExtentMax, hKey, label);
    return Point<int>(w, h);
}

Point<int> ReadRectPosition(const LuaObject& value, const char* name)
{
    // Read as doubles so that the range check sees the script's number, not a saturated
    // int.
    const Point<double> point(value, name);
    const CoordinateLabel label{"point", name};
    const int x = CheckCoordinateRange(point.x, kRectCoordinateMin, kRectCoordinateMax, "x", label);
    const int y = CheckCoordinateRange(point.y, kRectCoordinateMin, kRectCoordinateMax, "y", label);
    return Point<int>(x, y);
}

#pragma once
// Reading single coordinates of points, sizes and rectangles out of script tables, with
// failure messages that say which value, which key and what was wanted:
//   The point "position" needs a number for "y".
//   The size "size" needs "w" in 0..65535, not 70000.
// The value is described by its kind ("point", "size", "rectangle") and, when known, its
// name (the property being applied); without a name the message reads "The point needs
// ...". Every failure is the engine's assertion exception of "false" with that message.
#include "luaplus/LuaPlus.h"

#include <string>

struct CoordinateLabel
{
    const char* kind = "point"; // what the value is
    const char* name = nullptr; // the property (or other) name, null when none
};

// "The point \"position\"" or "The point".
std::string DescribeCoordinateOwner(const CoordinateLabel& label);

// The coordinate of a table: the field `key` when it is a number (or a function giving
// one), else the list entry `index` likewise. Nothing else is taken: a missing entry, a
// string, or a function giving anything but a number fails naming `key`.
double ReadCoordinate(const LuaPlus::LuaObject& table, const char* key, int index,
                      const CoordinateLabel& label);

// The coordinate truncated toward zero, which must lie in low..high (NaN never does);
// otherwise fails naming `key`, the range and the value.
int CheckCoordinateRange(double value, int low, int high, const char* key,
                         const CoordinateLabel& label);

// Fails when the value is not a table: "The point \"position\" needs a table, not a
// number.".
void RequireCoordinateTable(const LuaPlus::LuaObject& value, const CoordinateLabel& label);

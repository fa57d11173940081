#pragma once
// Helpers shared by the widgets' script properties.
#include "luaplus/LuaPlus.h"
#include "widgets/HorizontalAlignment.h"

// Gives the widget keys whose effect depends on other keys of the same parameter table a
// rank in the script table PropertyOrder, so a table applies the same way whatever its
// key order: the settings a text is rendered with come before the text; margins come
// before the cells they place, and the cells before the buttons put into them.
void RankWidgetProperties();

// "Center", "Left" or "Right"; false (and `out` unchanged) for any other value.
bool ReadHorizontalAlignment(const LuaPlus::LuaObject& value, HorizontalAlignment& out);
const char* HorizontalAlignmentName(HorizontalAlignment alignment);

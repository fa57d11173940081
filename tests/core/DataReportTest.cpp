// What the game's readers do with a value of the wrong type (the places problems are
// found in: tests/arcade/LevelPlaceTest.cpp).
#include "core/DataReport.h"
#include "core/ValueTypeError.h"
#include "lua/MakoLuaState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using LuaPlus::LuaObject;

TEST(ValueTypeError, TheMessageNamesTheValueSeenThenTheKeyAndItsObject)
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    LuaObject value;
    value.AssignString(state, "nine");
    const ValueTypeError bare(MAKO_WHERE, "a number", DescribeScriptValue(value));
    EXPECT_EQ("A number is needed, not the string \"nine\".", bare.GetMessage());
    const ValueTypeError named = bare.ForKey("Brick \"RedBrick\"", "strength");
    EXPECT_EQ("Brick \"RedBrick\": \"strength\" needs a number, not the string \"nine\"",
              named.GetMessage());
    // The innermost key is the one the value was for; an outer setter does not rename it.
    EXPECT_EQ(named.GetMessage(), named.ForKey("Level", "resource").GetMessage());

    value.AssignString(state, std::string(60, 'x').c_str());
    EXPECT_EQ("the string \"" + std::string(40, 'x') + "...\"", DescribeScriptValue(value));
    value.AssignNumber(state, 2.5);
    EXPECT_EQ("the number 2.5", DescribeScriptValue(value));
    value.AssignBoolean(state, false);
    EXPECT_EQ("the boolean false", DescribeScriptValue(value));
    value.AssignNewTable(state);
    EXPECT_EQ("a table", DescribeScriptValue(value));
    EXPECT_EQ("nil", DescribeScriptValue(LuaObject()));
}

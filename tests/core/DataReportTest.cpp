// What the game's readers do with a value of the wrong type, and how a problem names the
// place it was found.
#include "core/DataReport.h"
#include "core/ValueTypeError.h"
#include "lua/MakoLuaState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using LuaPlus::LuaObject;

TEST(DataReport, ProblemsNameTheirPlaceAndAreReportedOnceWithinIt)
{
    std::vector<std::string> seen;
    DataReport::Listener previous =
        DataReport::SetListener([&](const DataIssue& issue) { seen.push_back(issue.ToString()); });
    LuaPlus::LuaState* state = GetGlobalLuaState();
    LuaObject table;
    table.AssignNewTable(state);
    table.SetString("speed", "fast");
    table.SetInteger("size", 3);
    {
        DataReport::Place level("Welcome");
        EXPECT_TRUE(DataReport::InPlace());
        EXPECT_TRUE(ReadDataKey(table, "speed", LUA_TNUMBER).IsNil());
        EXPECT_EQ(3, ReadDataKey(table, "size", LUA_TNUMBER).GetInteger());
        EXPECT_TRUE(ReadDataKey(table, "missing", LUA_TSTRING).IsNil());
        {
            // An inner place keeps the level and adds the brick's cell.
            DataReport::Place brick("", 2, 5);
            DataReport::Report("Brick \"RedBrick\"", "\"strenght\": no such key");
            DataReport::Report("Brick \"RedBrick\"", "\"strenght\": no such key");
        }
        ReadDataKey(table, "speed", LUA_TNUMBER); // read again: reported once in the place
        {
            DataReport::Place actor("", 0, 0, "levelActors[2]");
            DataReport::Report("Goober", "\"speed\" needs a number, not a table");
        }
    }
    EXPECT_FALSE(DataReport::InPlace());
    // Outside any place every problem is reported, naming only what it is about.
    ReadDataKey(table, "speed", LUA_TNUMBER, "The game's defaults");
    ReadDataKey(table, "speed", LUA_TNUMBER, "The game's defaults");
    DataReport::SetListener(previous);

    const std::vector<std::string> expected = {
        "Level \"Welcome\": \"speed\" needs a number, not the string \"fast\"; the default is used",
        "Brick \"RedBrick\" (level \"Welcome\", row 2, column 5): \"strenght\": no such key",
        "Goober (level \"Welcome\", levelActors[2]): \"speed\" needs a number, not a table",
        "The game's defaults: \"speed\" needs a number, not the string \"fast\"; the default is "
        "used",
        "The game's defaults: \"speed\" needs a number, not the string \"fast\"; the default is "
        "used",
    };
    EXPECT_EQ(expected, seen);
}

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

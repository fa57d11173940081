// How a problem found while a level is read names its place: the level, a brick's cell,
// an entry; and that each problem is reported once within the outermost place.
#include "logic/LevelPlace.h"
#include "core/DataReport.h"
#include "lua/MakoLuaState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using LuaPlus::LuaObject;

TEST(LevelPlace, ProblemsNameTheirPlaceAndAreReportedOnceWithinIt)
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
        LevelPlace level("Welcome");
        EXPECT_TRUE(DataReport::InPlace());
        EXPECT_TRUE(ReadDataKey(table, "speed", LUA_TNUMBER).IsNil());
        EXPECT_EQ(3, ReadDataKey(table, "size", LUA_TNUMBER).GetInteger());
        EXPECT_TRUE(ReadDataKey(table, "missing", LUA_TSTRING).IsNil());
        {
            // An inner place keeps the level and adds the brick's cell.
            LevelPlace brick("", 2, 5);
            DataReport::Report("Brick \"RedBrick\"", "\"strenght\": no such key");
            DataReport::Report("Brick \"RedBrick\"", "\"strenght\": no such key");
        }
        ReadDataKey(table, "speed", LUA_TNUMBER); // read again: reported once in the place
        {
            LevelPlace actor("", 0, 0, "levelActors[2]");
            DataReport::Report("Goober", "\"speed\" needs a number, not a table");
        }
    }
    EXPECT_FALSE(DataReport::InPlace());
    {
        // A cell outside any level still reads as a sentence.
        LevelPlace cell("", 3, 4);
        DataReport::Report("", "\"x\": no such key");
    }
    // Outside any place every problem is reported, naming only what it is about.
    ReadDataKey(table, "speed", LUA_TNUMBER, "The game's defaults");
    ReadDataKey(table, "speed", LUA_TNUMBER, "The game's defaults");
    DataReport::SetListener(previous);

    const std::vector<std::string> expected = {
        "Level \"Welcome\": \"speed\" needs a number, not the string \"fast\"; the default is used",
        "Brick \"RedBrick\" (level \"Welcome\", row 2, column 5): \"strenght\": no such key",
        "Goober (level \"Welcome\", levelActors[2]): \"speed\" needs a number, not a table",
        "Row 3, column 4: \"x\": no such key",
        "The game's defaults: \"speed\" needs a number, not the string \"fast\"; the default is "
        "used",
        "The game's defaults: \"speed\" needs a number, not the string \"fast\"; the default is "
        "used",
    };
    EXPECT_EQ(expected, seen);
}

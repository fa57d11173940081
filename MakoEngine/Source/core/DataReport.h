#pragma once
// Problems found in data the game reads from authors (level tables and the object tables
// in them): a value of the wrong type, a key that nothing of the game reads. Each problem
// is logged at log level 1 (the game's default), naming where it is, and handed to the listener
// when one is installed (the level check collects them); the game goes on with the default.
//
// While a place is open (DataReport::Place: a level, and a brick's row and column or an
// entry such as "levelActors[2]"), a property of the wrong type applied to an object is
// reported here and the property keeps its value, instead of raising: data that is wrong
// in one key still builds. Outside a place such a property raises its ValueTypeError, so a
// script sees the error. Within the outermost open place each distinct problem is reported
// once.
//
// Main thread only.
#include "luaplus/LuaPlus.h"

#include <functional>
#include <string>

// One problem and where it is.
struct DataIssue
{
    std::string level; // the level's name; empty outside a level
    int row = 0;       // brick text row and cell column; 0 when the problem has no cell
    int column = 0;
    std::string where;   // the entry inside the level ("levelActors[2]"), may be empty
    std::string subject; // what the key belongs to (`Brick "RedBrick"`); empty: the level
    std::string text;    // the problem itself, naming the key

    // `Brick "RedBrick" (level "Welcome", row 2, column 5): <text>`, or
    // `Level "Welcome": <text>` for the level table's own keys.
    std::string ToString() const;
};

class DataReport
{
public:
    using Listener = std::function<void(const DataIssue&)>;

    // Opens a place for what is read until it is destroyed. Places nest; the innermost
    // is where problems are. A place names its level; an inner place without one keeps
    // the outer level.
    class Place
    {
    public:
        explicit Place(const std::string& level, int row = 0, int column = 0,
                       const std::string& where = std::string());
        ~Place();
        Place(const Place&) = delete;
        Place& operator=(const Place&) = delete;
    };

    // Whether a place is open.
    static bool InPlace();
    // Reports a problem at the current place: logs it (once within the outermost place)
    // and hands it to the listener.
    static void Report(const std::string& subject, const std::string& text);
    // Installs the listener (an empty one removes it); returns the one it replaces.
    static Listener SetListener(Listener listener);
};

// The key of a table when it has the Lua type wanted (LUA_TNUMBER ...); nil when the
// table or the key is missing. A value of another type is reported at the current place
// ("\"minBallSpeed\" needs a number, not the string \"fast\"; the default is used") and
// read as missing, so the caller takes its default.
LuaPlus::LuaObject ReadDataKey(const LuaPlus::LuaObject& table, const char* key, int luaType,
                               const std::string& subject = std::string());

// The global of that name when it is a number, else def; a global of another type is
// reported as the game's default and counts as missing.
double ReadGlobalNumber(const char* name, double def);
int ReadGlobalInt(const char* name, int def);

// The words for a Lua type a key needs: "a number", "a string", "a boolean", "a table".
const char* NeededTypeWords(int luaType);

#pragma once
// The keys of a level table that the game reads, each with the Lua type it must have: the
// level reader's own keys (Level::ReadKey refuses any other, so the list cannot fall
// behind the reader), the ball speed keys (BallSpeedLimits), and the keys the level
// scripts read (the script table LevelScriptKeys). The level check and the game's log on
// loading a level take the known keys from here.
//
// Main thread only.
#include <string>
#include <vector>

class LevelKeys
{
public:
    struct Key
    {
        std::string name;
        int luaType; // LUA_TNUMBER, LUA_TSTRING, LUA_TBOOLEAN or LUA_TTABLE
    };

    // Every known key, the reader's first, then the ball speeds, then the scripts'.
    static std::vector<Key> All();
    // The type the level reader reads the key as; LUA_TNONE for a key it does not read.
    static int TypeOf(const std::string& key);
};

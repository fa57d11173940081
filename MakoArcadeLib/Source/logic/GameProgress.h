#pragma once
// Reading the game's progress tables: the player's table of the game mode in play, the
// episode and level order of the constant configuration, and the application's switches
// the game states consult. Every reader tolerates a missing table (a test, a tool, a game
// started before the level order was loaded) and answers with the fallback.
//
// Main thread only.
#include "luaplus/LuaPlus.h"

#include <string>

class Player;

namespace GameProgress {

// The player's option "game.mode" ("Adventure" when the player has none or is null).
std::string ModeName(const Player* player);
// The player's table of that game mode; nil when there is no player.
LuaPlus::LuaObject ModeTable(const Player* player);
// A table of the constant configuration (LevelOrder, EpisodeNames), else the user
// configuration's, else the Lua global of that name (tools and tests without a
// configuration); nil when none is a table.
LuaPlus::LuaObject ConfigTable(const char* name);
// The number of entries of EpisodeNames (0 when it is not a table).
int EpisodeCount();
// The number of levels of episode e in LevelOrder (0 when there is no such entry).
int LevelCount(int episode);
// The most levels of one episode the map lists (ArcadeMapScreen: rows of five, or six
// once the sixth is open); a level past them could be reached only by the map's arrow,
// so the level check names an episode that lists more.
constexpr int kMostLevelsShown = 6;
// The entry of EpisodeNames for episode e; "" when there is none.
std::string EpisodeName(int episode);
// table[key] truncated to an integer, or the fallback when it is not a number.
int IntField(const LuaPlus::LuaObject& table, const char* key, int fallback);
// The application's boolean property, or the fallback without an application or when the
// property is not a boolean.
bool AppFlag(const char* name, bool fallback);

} // namespace GameProgress

#pragma once
// Starting a game: the screens that choose what to play fill the script table GameOptions
// and switch to the game screen, which builds its controller from that table. The table
// outlives games and screens; a writer that finds it updates only the keys it sets.
//
// Keys: player (light user data, the Player), gameType ("Adventure" or "Lab"), ballsLeft,
// episodeNumber, levelNumber (1-based), levelName (a level to load instead of the numbered
// one; "EMPTY" for none).
//
// Every start plays as the first current player, with 3 balls in the table (the skill and
// the controller replace that count when the level loads). Main thread only.
#include "luaplus/LuaPlus.h"

#include <string>

// The map's Play button: the current mode's selection (the Adventure's held to what this
// game has, as the map shows it), mode "Adventure", levelName reset
// to "EMPTY"; then switches to the named screen.
void StartAdventureFromMap(const std::string& screenName);
// The menu's Play button: the Adventure selection as the map shows it (a missing one, or
// one past what this game has, becomes the place held) and stored so, levelName left as it
// is; then switches to the named screen.
void StartAdventureFromMenu(const std::string& screenName);
// The lab's Play button: the Lab table's selection (1 for a missing level or episode),
// mode "Lab", levelName reset to "EMPTY"; then switches to the named screen.
void StartLabGame(const std::string& screenName);
// The program's start straight into the game: a new GameOptions table from the current
// mode's selection (1 for a missing level or episode), no levelName. Switches nothing.
LuaPlus::LuaObject CreateGameOptionsForCurrentPlayer();

// The game screen's GameOptions for the game it begins: the table as a start left it, or,
// when it names no current player (a table made by NextLevel or a script alone, or one left
// from another player's game), the table with the start keys of the current player's
// selection written in; its levelName stays. Without a current player the global is given
// as it is (nil when there is none).
LuaPlus::LuaObject GameOptionsForNewGame();

// Lua: NextLevel(name) makes GameOptions.levelName the name, so the next controller built
// from the table loads that level; anything but a string logs
// "A level name must be specified.\n" and changes nothing.

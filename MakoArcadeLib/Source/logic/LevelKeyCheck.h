#pragma once
// Finds the slips of a level author that the game would otherwise take silently: a key
// that nothing of the game reads (a misspelt `strenght` would quietly become a script
// field of the brick) and a level key of the wrong type. It looks at the level table
// itself, its brick entries (compiledBricks), its actor tables (levelActors,
// extraActors), its paddle and ball starts (with their ballProps) and its artefact, and
// reports each slip through DataReport with the level and, for bricks, the row and
// column:
//
//   "strenght": no such key; did you mean "strength"?
//
// The known keys are the game's own: the level keys of LevelKeys, and for an object table
// the properties its class and its parents register, the fields a fresh object of the
// class holds (Classes.<name>.defaults), and the keys of the resources the table builds on.
//
// Main thread only; the class registry and the game's scripts must be loaded.
#include "luaplus/LuaPlus.h"

#include <set>
#include <string>

class Class;

class LevelKeyCheck
{
public:
    // Reports every slip of the level table (nothing for a table that is not one), after
    // removing from it what level data may not build (LevelClasses::Screen).
    static void Run(const std::string& levelName, const LuaPlus::LuaObject& level);

    // The keys an object table may hold for an object of class c (see above).
    static std::set<std::string> KnownObjectKeys(const Class* c, const LuaPlus::LuaObject& table);
};

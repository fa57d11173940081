#pragma once
// The classes a level's data may build. A level table names classes (`class = "Goober"`) in
// its brick entries, actors, starts, motions, factories and anything nested in them, and the
// game turns each such table into an object of that class. Level data may build the field's
// own kinds with the game's subclasses of them (bricks, goobers, power-ups, factories,
// colliders, shields and every motion) and plain actors, field actors and structures,
// balls, paddles, explosions and sparks; nothing else: no label, button, dialog, screen,
// view, player, spawner, game logic or engine object.
//
// Screen walks a level table before anything of it is built: every table in it (at any
// depth) whose `class` names a class the registry knows that level data may not build, or
// that names none but builds one through the resources it names (`resource =
// "PaddleLabel"`: the class an object made of it would get), is reported through DataReport
// at the level and its key
//   `levelActors[2].motion: class "Label" is not one a level may build; it is left out`
// (`class "Label" (of its resources) is not ...` for one of its resources) and removed
// from the table that holds it, so no path of the game builds it. A class the registry
// does not know is left to the readers that report it; the level table's own
// `class` and its artefact's (which nothing builds by class) are not looked at. Tables of
// the game's own (the shared resources a start was flattened from) are never looked into.
// A list of names an object is made with (`resources`, `powerups`) that holds more than 100
// entries is reported and left out of its table (every object sharing it would walk it, and
// the resource tree sort it, again).
// Each table is walked once however many places hold it, so the work is linear in the
// tables the level reaches (a path is put into words only for a report the open cap will
// say); the game's resources are walked once and kept while Resources stays as it was.
// Every entry walked charges the open WorkMeter, which ends the walk (WorkSpent) when the
// level's work runs out or a stop is asked for.
//
// Main thread only; the class registry must exist.
#include "luaplus/LuaPlus.h"

#include <string>
#include <unordered_set>

class Class;

class LevelClasses
{
public:
    // Whether level data may build an object of the class.
    static bool MayBuild(const Class& c);
    // Reports and removes every class the level may not build (see above). Tables in walked
    // are not walked again (a session's earlier levels walked them), and the tables walked
    // now are added to it; null: a walk of its own.
    static void Screen(const std::string& levelName, const LuaPlus::LuaObject& level,
                       std::unordered_set<const void*>* walked = nullptr);
};

#pragma once
// What a value of a level's own tables may be, judged by its key: level data holds no
// function (neither as a key nor as a value), and a key that names a resource of one kind
// (`image` a picture, `collisionSound` a sound) holds only a name of that kind. The walk of
// a level's tables before anything of it is built (LevelClasses::Screen, run by
// LevelKeyCheck::Run, which the game and the level check share) asks this of every entry
// of every table that is not one of the game's `Resources`, reports each refusal at the
// level and key and removes the entry, so no reader meets such a value from a level.
// A function a level file calls while it runs (`DropOnHit("Boulder", 0.3)` making a
// table) is no value of the level: only what it returned is.
//
// Main thread only.
#include "luaplus/LuaPlus.h"

#include <string>

class LevelValueKinds
{
public:
    // Why the entry key = value of a table of level data may not stay: "" when it may, else
    // the report's text ("a function is not a value level data may hold; it is left out",
    // "no such sound \"Ball.png\" (the resource of that name is a picture); the key is left
    // out", "\"Gone.ogg\" is not among the resources; the key is left out"). holder: the key
    // of the table that holds the entry in its own holder ("resources" for the names of a
    // `resources` list, which are what an object is made of as `resource` is: a table
    // resource or a picture).
    static std::string Refusal(const std::string& holder, const LuaPlus::LuaObject& key,
                               const LuaPlus::LuaObject& value);
    // The kind of resource (a ResourceType) a key of an object table names; RESOURCE_UNKNOWN
    // for a key that names none.
    static int WantedKind(const std::string& key);
};

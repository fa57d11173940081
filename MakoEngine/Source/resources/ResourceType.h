#pragma once
// The kinds of loaded resource. A scanned entry is RESOURCE_UNKNOWN until a loader loads
// it and sets its kind; table resources made by scripts are RESOURCE_TABLE from the start.
#include <string>

enum ResourceType {
    RESOURCE_UNKNOWN = 0, // scanned, not loaded yet (or no loader accepts it)
    RESOURCE_IMAGE = 1,
    RESOURCE_SOUND = 2,
    RESOURCE_TABLE = 3, // a Lua table (TableResource)
    RESOURCE_MUSIC = 4,
};

// Number of resource kinds; codes run from 0 to RESOURCE_TYPE_COUNT - 1.
const int RESOURCE_TYPE_COUNT = 5;

// The kind's name as written ("RESOURCE_IMAGE"). Any other code is the assertion failure
// "false".
std::string ResTypeToString(int type);

// The kind as a player reads it: "picture", "sound", "table resource", "song"; for an entry
// no loader makes (RESOURCE_UNKNOWN), what its name says it is: "script" (.lua), "font"
// (.ttf, .otf), "configuration file" (.cfg), else "file the game does not load".
std::string ResourceKindName(int type, const std::string& name = std::string());

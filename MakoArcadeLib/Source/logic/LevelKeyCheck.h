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
// A string key nothing reads is left out of its table once reported, so nothing builds
// on it.
//
// The work is bounded by what the file is, not by how often it repeats itself: within a
// session (one level built by the game; one level file's levels in the level check) each
// table is checked once, however many entries or levels hold it; at most kListedKeys
// unknown keys are listed in a session, with their closest names, and one line counts the
// rest; the session's reports are capped as a whole (DataReport::Cap). Every entry walked
// charges the open WorkMeter (core/WorkMeter), which ends the check with WorkSpent when the
// level's work runs out or a stop is asked for.
//
// Main thread only; the class registry and the game's scripts must be loaded.
#include "luaplus/LuaPlus.h"

#include "core/DataReport.h"

#include <memory>
#include <set>
#include <string>

class Class;

class LevelKeyCheck
{
public:
    // How many unknown keys a session lists one a line.
    static const int kListedKeys = 100;

    // One session (see above) while it lives. Sessions nest; the outermost holds. Run
    // opens one of its own when none is open.
    class Session
    {
    public:
        Session();
        ~Session();
        Session(const Session&) = delete;
        Session& operator=(const Session&) = delete;

        struct State;

    private:
        DataReport::Cap m_Cap;
        std::unique_ptr<State> m_State; // null in an inner session
    };

    // Reports every slip of the level table (nothing for a table that is not one), after
    // removing from it what level data may not build (LevelClasses::Screen).
    static void Run(const std::string& levelName, const LuaPlus::LuaObject& level);

    // The keys an object table may hold for an object of class c (see above).
    static std::set<std::string> KnownObjectKeys(const Class* c, const LuaPlus::LuaObject& table);
};

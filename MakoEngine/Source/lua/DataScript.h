#pragma once
// The one way the game runs script text it did not compile in: the user's configuration
// and player cards, level files, a package's metadata files. Such a file is data; running
// it promises:
// - it sees only the environment its caller gives (for configuration, cards and metadata,
//   their loader function; for level files, what the level compiler needs, built by
//   MakeEnvironment): no io, os, debug, load, loadstring, loadfile, dofile, require, module,
//   setfenv, getfenv, getmetatable, setmetatable, collectgarbage, newproxy, coroutine,
//   pcall or xpcall;
// - it runs under a ScriptBudget it can neither catch nor remove (instructions, allocations,
//   memory, processor time and a stop signal): once spent, the budget raises its error again
//   at every instruction, so no handler the file reaches can go on;
// - strings reach only bounded methods through their metatable while it runs (no pattern
//   function, a string.rep of at most kDataScriptLongestRep bytes): no single C call runs
//   for long;
// - a UTF-8 byte order mark and a first line starting with '#' (a "#!" line) are read past,
//   line numbers kept;
// - precompiled chunks are refused;
// - the walks the game makes over its values charge a WorkMeter (core/WorkMeter): the one
//   its caller opened for the file's load, else one Run opens for the run.
// A failure of any kind comes back as a status and a text naming the reason; nothing
// escapes as a script error. The start-up script the user writes on purpose
// (MakoStartup.lua) is no data file and keeps the full library.
#include "luaplus/LuaPlus.h"

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

// The longest string string.rep makes for a data file, in bytes.
extern const std::size_t kDataScriptLongestRep;

namespace DataScript {

// Compiles text under chunkName (as given: "@path" names a file) and calls it with
// environment as its only globals, under kUserFileLimits. `what` names the file in the log
// line of a failed call.
// Returns 0 on success; else the status of the failed compile (LUA_ERRSYNTAX, also for a
// precompiled chunk) or call (LUA_ERRMEM when the file outgrew its memory), with the reason
// in error. The stack is left as it was found. A native exception raised under the file
// (not a script error) passes through, after the state is restored. A stop signal ends the
// file at its next instruction ("the file was stopped by SIGTERM").
int Run(LuaPlus::LuaState* state, const std::string& text, const std::string& chunkName,
        const LuaPlus::LuaObject& environment, const std::string& what, std::string& error);

// A fresh environment for one file that may compute: the bounded base functions (assert,
// error, ipairs, pairs, next, select, tonumber, tostring, type, unpack), copies of math
// (without random and randomseed), the bounded string methods, and table.insert,
// table.remove, table.concat and table.getn, each running as counted script code or
// bounded by memory; plus the globals of the state named in shared (those that exist), as
// they are. A file that replaces a library function changes only its own copy.
LuaPlus::LuaObject MakeEnvironment(LuaPlus::LuaState* state,
                                   const std::vector<std::string>& shared);

// Where value (a table searched through, each table once: keys, values and metatables) holds
// a script function that a data file run with environment made: such a function would run
// later, outside any budget, when the game reads the value. "" when there is none, else the
// path to it from value ("bricks[3].x", "[1.5]", "x.(metatable).__index", or "(the value
// itself)"). Tables are followed at any depth, each once; every entry looked at charges the
// open WorkMeter, which ends a search too long for the file (WorkSpent).
// clean, when given, holds tables known to hold no such function (they are not searched),
// and gains the tables searched when none is found: one set shared by the searches of many
// values walks a table they share once.
std::string FindOwnFunction(const LuaPlus::LuaObject& value, const LuaPlus::LuaObject& environment,
                            std::unordered_set<const void*>* clean = nullptr);

// The text of a table key in such a path: ".name" for a string, "[7]", "[1.5]", "[inf]" for a
// number (as a script writes it), "[table]" and the like for other kinds.
std::string KeyPathText(const LuaPlus::LuaObject& key);

} // namespace DataScript

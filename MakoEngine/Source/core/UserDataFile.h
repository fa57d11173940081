#pragma once
// Running a file the user's own data lives in (configuration, player cards) as data: the
// chunk sees only the environment the caller gives it (its loader functions), runs under an
// instruction budget, and never runs precompiled code. A failure of any kind comes back as
// a status and a text; nothing escapes as a script error.
#include "luaplus/LuaPlus.h"

#include <string>

// Instructions a user file may run: far more than any list of values needs, so that only
// a file that never ends (a stray endless loop) reaches it.
extern const int kUserFileInstructionBudget;

// Reads a whole file; false (errno set) when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& text);

// Compiles the file's text (chunk name "@" + path) and calls it with environment as its
// only globals. `what` names the file for the log of a failed call. Returns 0 on success;
// LUA_ERRFILE when the file cannot be read (errno kept, error holds the system's text);
// otherwise the status of the failed compile or call with its message in error (a binary
// chunk fails as LUA_ERRSYNTAX). The stack is left as it was found.
int RunUserDataFile(LuaPlus::LuaState* state, const std::string& path,
                    const LuaPlus::LuaObject& environment, const std::string& what,
                    std::string& error);

#pragma once
// Running a file the user's own data lives in (configuration, player cards) as data,
// through the one runner of data files (lua/DataScript): the chunk sees only the
// environment the caller gives it (its loader functions), runs under an instruction and
// memory budget it cannot catch, reaches no unbounded string method, and never runs
// precompiled code. This is also the one reader of files in the user's folders: only a
// regular file of at most kUserFileMaxBytes is read: a FIFO, a device or a link to one is
// refused without waiting on it or reading it. A failure of any kind comes back as a status
// and a text; nothing escapes as a script error.
#include "luaplus/LuaPlus.h"

#include <cstddef>
#include <string>

// The largest user file read, in bytes: far more than any configuration or card holds.
extern const std::size_t kUserFileMaxBytes;

// How reading a whole file ended.
enum UserFileReadResult {
    USERFILE_READ,       // text holds the file
    USERFILE_UNREADABLE, // it could not be opened or read, or is a folder (errno set: ENOENT
                         // when missing, EISDIR for a folder)
    USERFILE_REFUSED,    // it is not a regular file, or larger than the limit
};

// Reads the whole regular file at path, at most maxBytes of it. Never blocks on a FIFO
// or reads from a device. On USERFILE_REFUSED, reason says why ("it is a FIFO, not a
// regular file").
UserFileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& text,
                                   std::string& reason);

// Compiles the file's text (chunk name "@" + path) and calls it with environment as its
// only globals. `what` names the file for the log of a failed call. Returns 0 on success;
// LUA_ERRFILE when the file cannot be read (errno kept, error holds the system's text), or
// when a stop signal ended its run (errno EINTR, error "reading it was stopped by SIGTERM");
// otherwise the status of the failed compile or call with its message in error (a binary
// chunk, a file that is not a regular one or is too large, fails as LUA_ERRSYNTAX; a file
// over its memory budget as LUA_ERRMEM). The stack is left as it was found.
int RunUserDataFile(LuaPlus::LuaState* state, const std::string& path,
                    const LuaPlus::LuaObject& environment, const std::string& what,
                    std::string& error);

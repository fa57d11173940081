#pragma once
// Running a file the user's own data lives in (configuration, player cards) as data,
// through the one runner of data files (lua/DataScript): the chunk sees only the
// environment the caller gives it (its loader functions), runs under an instruction and
// memory budget it cannot catch, reaches no unbounded string method, and never runs
// precompiled code. This is also the one reader of files in the user's folders: only a
// regular file of at most kUserFileMaxBytes is read: a FIFO, a device or a link to one is
// refused without waiting on it or reading it. A failure of any kind comes back as a status
// and a text; nothing escapes as a script error.
//
// A link is read through to the file it names (core/AtomicFile's FollowLinks), as the
// writer writes through it. Only "there is no such file" means a fresh start. A file that is
// there but cannot be read (no permission, a folder, a link loop, a link that leads nowhere,
// a FIFO or a device, an I/O error) is the user's all the same: its callers keep it where it
// is and never write over it; the reason names the link and where it leads.
#include "luaplus/LuaPlus.h"

#include <cstddef>
#include <string>

// The largest user file read, in bytes: far more than any configuration or card holds.
extern const std::size_t kUserFileMaxBytes;

// How reading a whole file ended.
enum UserFileReadResult {
    USERFILE_READ,       // text holds the file
    USERFILE_MISSING,    // there is no such file (ENOENT): a fresh start
    USERFILE_UNREADABLE, // it is there but cannot be read: no permission, a folder, a link
                         // loop or to nothing, not a regular file, an I/O error. Keep it.
    USERFILE_REFUSED,    // a regular file larger than the limit
};

// Reads the whole regular file at path, at most maxBytes of it. Never blocks on a FIFO
// or reads from a device. Unless the file was read, reason says why ("Permission denied",
// "it is a FIFO, not a regular file", "it is larger than the 16 MiB ...").
UserFileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& text,
                                   std::string& reason);

// For tests of what callers do with a file they cannot read (where permissions do not bind
// the test's user, or to make an I/O error): while errnum is not 0, reading the file at
// exactly path fails with it, as if the system refused it. 0 ends the fault for that path.
void SetInjectedReadFault(const std::string& path, int errnum);

// Compiles the file's text (chunk name "@" + path) and calls it with environment as its
// only globals. `what` names the file for the log of a failed call. Returns 0 on success;
// USERFILE_STATUS_MISSING when there is no such file; LUA_ERRFILE when it is there but
// cannot be read (error says why: the caller keeps it as it is), or when a stop signal ended
// its run (errno EINTR, error "reading it was stopped by SIGTERM"); otherwise the status of
// the failed compile or call with its message in error (a binary chunk or a file that is too
// large fails as LUA_ERRSYNTAX; a file over its memory budget as LUA_ERRMEM). The stack is
// left as it was found.
const int USERFILE_STATUS_MISSING = LUA_ERRFILE + 16;
int RunUserDataFile(LuaPlus::LuaState* state, const std::string& path,
                    const LuaPlus::LuaObject& environment, const std::string& what,
                    std::string& error);

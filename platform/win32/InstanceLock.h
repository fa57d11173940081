#pragma once
// The single-instance lock: an exclusive advisory lock (flock) on a lock file. The process
// that takes it holds it until it ends (the system releases it then, also after a crash),
// so a second start of the same program can tell that the first still runs. The lock file
// itself is left in place; its presence alone means nothing.
#include <string>

enum InstanceLockResult {
    INSTANCE_LOCK_TAKEN,          // this process holds the lock (now or from before)
    INSTANCE_LOCK_HELD_ELSEWHERE, // another process holds it
    INSTANCE_LOCK_UNAVAILABLE,    // the lock file could not be opened or locked
};

// What stands at a lock file's place (status from lstat or fstat) when no lock may be taken
// on it: "" for a plain file of this user's with one name, else what it is ("a link to
// \"...\"", "a FIFO", "a folder", "a socket", "a device", "a file of another user", "a second
// name of another file"). The one rule of every lock file of the game: this lock, and the
// turn to save (core/SaveTurn).
struct stat;
std::string LockFileMisfit(const std::string& path, const struct stat& status);

// Takes the lock on the file at path (created with mode 0600 when missing; its folder
// must exist). Never blocks. Asking again for a path this process already holds answers
// INSTANCE_LOCK_TAKEN. The lock is a plain file of its own (LockFileMisfit): anything else at
// path (a link, wherever it leads; a FIFO, a folder, a device; a file of another user or a
// second name of another file) is a lock that cannot be taken, and is neither followed nor
// opened (a link, a FIFO, a folder, a device), nor waited on, nor changed. On
// INSTANCE_LOCK_UNAVAILABLE, errno tells why, and reason (when given) says it in words ("it is a
// link to \"...\", not a plain file", or the system's text of errno).
InstanceLockResult TakeInstanceLock(const std::string& path, std::string* reason = nullptr);

// Whether this process holds the lock on path.
bool IsInstanceLockHeld(const std::string& path);

// Gives up the lock on path if this process holds it (programs need not call this).
void ReleaseInstanceLock(const std::string& path);

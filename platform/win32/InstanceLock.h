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

// Takes the lock on the file at path (created with mode 0600 when missing; its folder
// must exist). Never blocks. Asking again for a path this process already holds answers
// INSTANCE_LOCK_TAKEN. The lock is a plain file of its own: anything else at path (a link,
// wherever it leads; a FIFO, a folder, a device) is a lock that cannot be taken, and is
// neither followed nor opened, nor waited on, nor changed. On INSTANCE_LOCK_UNAVAILABLE,
// errno tells why, and reason (when given) says it in words ("it is a link to \"...\", not a
// plain file", or the system's text of errno).
InstanceLockResult TakeInstanceLock(const std::string& path, std::string* reason = nullptr);

// Whether this process holds the lock on path.
bool IsInstanceLockHeld(const std::string& path);

// Gives up the lock on path if this process holds it (programs need not call this).
void ReleaseInstanceLock(const std::string& path);

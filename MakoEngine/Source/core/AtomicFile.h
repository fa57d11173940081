#pragma once
// Writing and setting aside the player's files (configuration, player cards, the debugger's
// connection list): the player's kind of file of the one writer (core/FileWriter.h; the game's
// own output goes through FileWriter::WriteOutput instead). A file is written whole to a
// temporary file in the same folder, named after it (IsTemporaryFileNameOf), synced, and
// renamed over the old one, and the folder is synced after the rename, so a crash, a power cut
// or a full disk never leaves half a file behind. The new file keeps the permissions of the one
// it replaces; a file that was not there gets the umask's (0666 & ~umask).
//
// A path that is a link (a card kept in a synced folder or on another drive) is followed
// to the file it names, through a chain of at most kMaxLinkHops links: that file is written
// and cleaned up where it lives, and the link stays a link; a damaged file behind a link is
// held, not set aside. A link that leads
// nowhere (its drive not mounted), in a loop or through too long a chain is never written
// through nor replaced: writing fails, and the readers (core/UserDataFile) hold it as a file
// that cannot be read.
#include "core/Exception.h"

#include <functional>
#include <string>

// The failure of a whole-file write: Exception "Could not write file:\nfile = %1%\nerror =
// %2%", which also keeps the file and the system's error text apart for messages meant for
// the user.
class FileWriteError : public Exception
{
public:
    FileWriteError(const std::string& file, int line, const std::string& function,
                   const std::string& date, const std::string& time, const std::string& path,
                   int errnum);
    // The same with the cause in words (a refusal of the writer: "it is a link to ...").
    FileWriteError(const std::string& file, int line, const std::string& function,
                   const std::string& date, const std::string& time, const std::string& path,
                   const std::string& cause);
    const std::string& GetPath() const MAKO_LIFETIMEBOUND { return m_Path; }
    // The system's text for the cause ("No space left on device").
    const std::string& GetCause() const MAKO_LIFETIMEBOUND { return m_Cause; }

private:
    std::string m_Path;
    std::string m_Cause;
};

// The longest chain of links followed to a file of the user's.
const int kMaxLinkHops = 16;

// Where a path leads once its links are followed.
struct LinkTarget
{
    std::string path;   // the file the path names: path itself when it is no link
    bool viaLink;       // whether a link led there
    int error;          // 0; ENOENT for a link to nothing, ELOOP for a loop or a long chain
    std::string reason; // unless error is 0, what is wrong, naming the link and its target
};

// Follows path through its links. A path that is no link comes back as it is (error 0,
// whether or not there is such a file); only a link that leads nowhere fails.
LinkTarget FollowLinks(const std::string& path);

// The folder part of path: "." for a bare name, "/" for a name right under the root. The one
// rule by which every writer, and the turn to save, names the folder that holds a file.
std::string FolderOf(const std::string& path);

// Replaces the file at path (through its links) with bytes. Returns 0, or the errno value of the
// failure: the old file (if any) is then untouched and the temporary file removed.
int TryWriteFileAtomically(const std::string& path, const std::string& bytes);

// The same, asking beforeRename (given the file the links lead to) once the bytes are written
// and synced, immediately before the rename: a value other than 0 abandons the write (the
// temporary file is removed, the old file untouched) and is returned.
int TryWriteFileAtomically(const std::string& path, const std::string& bytes,
                           const std::function<int(const std::string& target)>& beforeRename);

// For tests of what callers do with a refused write (a read-only folder, where permissions
// do not bind the test's user): while errnum is not 0, every whole-file write fails with it
// before touching the disk, and so does the start of the log file. 0 ends the fault.
void SetInjectedWriteFault(int errnum);
int GetInjectedWriteFault();

// The same, raising FileWriteError on failure.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

// Whether name (a bare file name) is one of the temporary names of the file named target:
// target + ".tmp." and six letters or digits.
bool IsTemporaryFileNameOf(const std::string& name, const std::string& target);

// Removes the temporary files of the file at path (beside the file its links lead to) that a
// write cut short (a killed process)
// left in its folder, and logs each one. Only safe while no other process may be writing
// the file. Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& path);

// How many set-aside files one file may have: ".bad" and ".1.bad" to ".999.bad".
const int kMaxSetAsideFiles = 1000;

// The name of the set-aside file with that number: path + ".bad" for 0, else path + "." +
// number + ".bad" ("Player1.card.2.bad").
std::string SetAsideNameOf(const std::string& path, int number);

// Renames the file at path to the first set-aside name that is free (never replacing an
// older one, so every damaged file stays for the user), so that it is no longer read, and
// logs a warning naming both files and the reason. A link (whatever it leads to) is never
// moved, nor the file it leads to: it is the user's way of keeping the file elsewhere, and
// the caller holds it as a file it cannot set aside. A device node is never renamed. Returns
// whether the rename succeeded; a failure is logged, never raised.
bool KeepFileAside(const std::string& path, const std::string& reason);

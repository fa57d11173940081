#pragma once
// The steps every writer of the game's own files takes, in the one place both the engine
// (core/FileWriter, core/Utility's CreateDirectories) and the crash reporter (which sits
// below the engine and runs them in a signal handler) reach: the game's folders are the
// user's alone (0700); a new file is made only where nothing stands, never through a link;
// a finished temporary file is given its name only where nothing stands, never over what was
// put there meanwhile; everything written is written whole or the failure is said.
//
// Everything here is async-signal-safe: it allocates nothing and calls only the system.
#include <cstddef>

#include <sys/types.h>

namespace ownfiles {

// The mode of every folder the game makes: its user's alone.
constexpr mode_t kFolderMode = 0700;

// The longest path these functions take, terminator included; a longer one is ENAMETOOLONG.
constexpr std::size_t kMaxPath = 4096;

// Makes the folder at path and each missing folder on the way to it, every one kFolderMode.
// A folder that is there already (also through a link) is used as it is. Calls
// made(folder, context), when given, for each folder it made: folder is the path up to and
// including its '/' (the whole path for the last). 0, or the errno value of the folder that
// could not be made (EEXIST when something other than a folder stands there), whose path is
// then copied into failed (kMaxPath bytes) when given.
int MakeFolders(const char* path, void (*made)(const char* folder, void* context) = nullptr,
                void* context = nullptr, char* failed = nullptr);

// Makes the folder at path, which must be new (EEXIST when anything stands there). 0, or the
// errno value of the failure.
int MakeNewFolder(const char* path);

// Opens a new file at path with access (O_WRONLY, O_RDWR) and permissions mode (less the
// umask): never through a link at path, never over anything that stands there (EEXIST).
// The descriptor, close-on-exec, or -1 with errno set.
int OpenNewFile(const char* path, int access, mode_t mode);

// Gives the finished file temporary the name path, where nothing stands: never over what
// was put there meanwhile (EEXIST). On a file system without an exclusive rename a second
// name is made and the first removed; on one without second names either (FAT), path is
// looked at and then renamed to. 0, or the errno value of the failure; temporary is then
// left for the caller to remove.
int PlaceNewFile(const char* temporary, const char* path);

// Writes all of length bytes to fd, going on after an interrupted or a short write. 0, or
// the errno value of the refusal (EIO when the system wrote nothing and said no more).
int WriteAll(int fd, const void* bytes, std::size_t length);

} // namespace ownfiles

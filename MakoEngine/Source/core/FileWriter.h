#pragma once
// The one writer of every file the game writes. Each file is one of two kinds, and each kind
// has one rule:
//
// - The player's files (cards, the configuration, the debugger's connection list) are written
//   through the links the player made, by their keeper under its turn
//   (core/PlayerFileKeeper, which writes with TryWriteFileAtomically, core/AtomicFile.h).
// - The game's own output (the log, resource and memory reports, performance counters,
//   screenshots, crash reports, a file a script serialises to) never follows a link at its
//   own place and never replaces a file the game did not make: WriteOutput, AppendOutput,
//   OpenScratchFile.
//
// Both kinds are written whole: to a new temporary file beside the target (made with
// O_EXCL, never through a link), synced, and renamed over it. A file that replaces another
// keeps the other's permissions; a new file gets the process's umask (0666 & ~umask), never
// wider. Nothing outside this class and core/AtomicFile opens a file for writing.
//
// A file the game made is a plain file of the game's own user with no other name (link count
// 1). A link, a FIFO, a device, a folder, a file of another user or a second name of another
// file at the place of an output is left as it is, and the output is refused with a reason
// the caller logs. Main thread only (the umask and the temporary names are the process's).
#include <cstdio>
#include <functional>
#include <string>

class FileWriter
{
public:
    // What may stand at the place of an output that is written whole.
    enum Place {
        NEW_ONLY,    // nothing: the output takes a free name (a screenshot) or is refused
        REPLACE_OWN, // nothing, or a file the game made (a report written again)
    };

    // What became of a write of the game's output.
    struct Result
    {
        int error = 0;      // 0, or the errno value of the failure (EEXIST: the place is taken)
        std::string reason; // unless error is 0, why, for the log: "it is a link to \"x\", ..."
        bool Ok() const { return error == 0; }
    };

    // Writes bytes whole as the file at path, a file of the game's own output, under the rule
    // of place. On failure nothing at path has changed and no temporary file is left.
    static Result WriteOutput(const std::string& path, const std::string& bytes, Place place);

    // Opens the output file at path to append to (O_APPEND), made when missing (create): the
    // log and traces. Never through a link (ELOOP), never a FIFO or a socket (EINVAL, or ENXIO
    // when no reader holds it: they would wait for a reader, or feed one), never a plain file with
    // another name (EMLINK); a device is written as it is. With empty, a plain file is emptied
    // first. The descriptor, or -1 with errno set.
    static int AppendOutput(const std::string& path, bool create, bool empty);
    // The same for a path in place; async-signal-safe (a signal handler's last line in the
    // log).
    static int AppendOutput(const char* path, bool create, bool empty);
    // The same, as a stream to append to; null with errno set.
    static std::FILE* AppendOutputStream(const std::string& path, bool create, bool empty);

    // A temporary file with no name in folder, for data kept until an output is written:
    // it goes with the process whatever happens. Read and write; null with errno set.
    static std::FILE* OpenScratchFile(const std::string& folder);

    // The player's files: writes bytes over the file at target (which the caller reached
    // through the player's links; it may be missing), asking beforeRename once the bytes are
    // synced: a value other than 0 abandons the write and is returned. The file keeps the mode
    // of the one it replaces. 0, or the errno value of the failure; nothing changed then.
    // Called by core/AtomicFile only.
    static int ReplaceFollowed(const std::string& target, const std::string& bytes,
                               const std::function<int()>& beforeRename);

    // Called by WriteOutput with the output's place once its bytes are in the temporary file
    // and before it is put at the place (tests: to put something there meanwhile, which the
    // write must then leave as it is). Null for none.
    using PlaceProbe = void (*)(const std::string& path);
    static void SetPlaceProbe(PlaceProbe probe);
};

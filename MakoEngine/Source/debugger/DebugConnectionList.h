#pragma once
// The file through which the game reattaches, at its next start, to the debugging clients
// that were attached before: for each client, in order, a line with its name and a line
// with its connect-back address "a.b.c.d:port" (or "[::1]:port"), always one of this
// machine.
#include "core/PlayerFileKeeper.h"
#include "winsock/NetAddress.h"

#include <string>
#include <vector>

class DebugConnectionList
{
public:
    struct Entry
    {
        std::string name;
        NetAddress address;
    };

    // Reads the pairs of the file. Each line is cut to 199 characters and trimmed of
    // blanks; the list ends at an empty name line, at an empty address line (the half pair
    // is dropped) or at the end of the file. Only the last 16 pairs count. A pair whose
    // address is not a loopback address of this machine written in numbers ("127.0.0.1:5001",
    // "[::1]:5001"; a host name is never resolved) is dropped with a warning naming it and
    // its client. A
    // missing file reads as no
    // entries. One that is there but cannot be read (no permission, a folder, a link loop, a
    // FIFO or a device, an I/O error) reads as no entries too, is not waited on, and is
    // named with the reason in a warning; *unreadable is then set, and whoever writes the
    // list must leave that file as it is. One larger than 64 KiB is ignored with a warning.
    static std::vector<Entry> Read(const std::string& path, bool* unreadable = nullptr);
    // The same through a keeper of the player's files (core/PlayerFileKeeper), which notes
    // what the file was when read, holds one that could not be read, and saves it under its
    // turn, never over a list another copy wrote since. The list is written only so: whole,
    // replacing the file (through the player's links), by its keeper.
    static std::vector<Entry> Read(PlayerFileKeeper& keeper, const std::string& path);
    // A list that is what the file holds is not written, nor an empty one where none was
    // (no file is made for no clients); NO_WAIT
    // tries the turn once and leaves the list for a later write when another copy holds it.
    static KeeperSave Write(PlayerFileKeeper& keeper, const std::string& path,
                            const std::vector<Entry>& entries,
                            SaveTurn::Patience patience = SaveTurn::WAIT);
    // The wording of the connection list's holds, for its keeper.
    static const PlayerFileKeeper::Wording kWording;

private:
    // The pairs of the text read (result and reason as ReadRegularFile gave them).
    static std::vector<Entry> Parse(const std::string& path, UserFileReadResult result,
                                    const std::string& text, const std::string& reason);
};

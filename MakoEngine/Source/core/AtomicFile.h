#pragma once
// Writing and setting aside the files the user would miss (configuration, player cards,
// screenshots, reports). A file is written whole to a temporary file in the same folder,
// named after it (TemporaryFileNameOf), synced, and renamed over the old one, and the folder
// is synced after the rename, so a crash, a power cut or a full disk never leaves half a
// file behind.
#include "core/Exception.h"

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
    const std::string& GetPath() const MAKO_LIFETIMEBOUND { return m_Path; }
    // The system's text for the cause ("No space left on device").
    const std::string& GetCause() const MAKO_LIFETIMEBOUND { return m_Cause; }

private:
    std::string m_Path;
    std::string m_Cause;
};

// Replaces the file at path with bytes. Returns 0, or the errno value of the failure: the
// old file (if any) is then untouched and the temporary file removed.
int TryWriteFileAtomically(const std::string& path, const std::string& bytes);

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

// Removes the temporary files of the file at path that a write cut short (a killed process)
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
// logs a warning naming both files and the reason. A device node standing at path itself is
// never renamed. Returns whether the rename succeeded; a failure is logged, never raised.
bool KeepFileAside(const std::string& path, const std::string& reason);

#pragma once
// The build's level check program run over a pack folder, as a maintainer runs it: headless,
// its log beside the temporary home's other files, killed (and so failed) past 300 s.
#include <string>

namespace bbtest {

struct LevelCheckRun
{
    int status = -1;    // the exit status; -1 when the check was ended by a signal
    std::string report; // standard output
    std::string errors; // standard error
};

// Checks the pack folder, with the options given ("--budget 64"); the check's log is written
// to <home>/check.log.
LevelCheckRun RunLevelCheck(const std::string& home, const std::string& pack,
                            const std::string& options = "");

// Removes every level file of the pack folder's Levels but the one named ("Welcome.lua"), so
// a check or a game reads that level alone.
void KeepOnlyLevel(const std::string& pack, const std::string& file);

} // namespace bbtest

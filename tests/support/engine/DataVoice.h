#pragma once
// Listens, while it lives, to what the game's one reporter of data problems (DataReport)
// says, and holds a run's log up against it: the log must hold no "Assertion failed", and
// every line the game logged about level data (a line naming a level, `Level "Welcome"...`
// or `... (level "Welcome", row 2, column 5): ...`, or a brick entry) or about a file of the
// pack it mends or plays without (`the metadata file "..."`, `Warning: the resource "..."`,
// `Warning: the font ...`) must be one the reporter said, whole, so the level check, which
// hears the same reporter, names it too (the controller's line for a level it refuses to
// build is the one other: the check names every refusal as "the build throws"); none the log
// had to cut for its length. A listener that was installed before goes on
// hearing every problem. Main thread only.
#include "core/DataReport.h"

#include <set>
#include <string>

namespace bbtest {

class DataVoice
{
public:
    DataVoice();
    ~DataVoice();
    DataVoice(const DataVoice&) = delete;
    DataVoice& operator=(const DataVoice&) = delete;

    // What is wrong with the log: each line that breaks the rule above, with why; empty
    // when nothing is. At most a few lines, so a failure stays readable.
    std::string Faults(const std::string& log) const;
    // Whether the log line speaks of level data (and so must have been reported).
    static bool IsDataLine(const std::string& line);
    // The lines the reporter said so far, as the log writes them.
    const std::set<std::string>& Reported() const { return m_Reported; }

private:
    bool WasReported(const std::string& line) const;

    std::set<std::string> m_Reported;
    DataReport::Listener m_Previous;
};

} // namespace bbtest

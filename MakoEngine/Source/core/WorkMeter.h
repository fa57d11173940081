#pragma once
// The work the engine does on the values of one file, and the stop signal, looked at in one
// place. Whoever loads a file the game did not write (a level file, a picture folder's
// metadata, a card) or builds a level from one opens a WorkMeter for it; every walk over
// values read from that file charges the innermost open meter, one unit a step. Walks over
// Lua tables charge through LuaPlus::LuaTableIterator (the few raw lua_next loops call
// Charge at each step), so a walk written later is metered without anyone remembering to.
//
// A charge raises WorkSpent once the meter has no units left, or when a stop of the program
// was asked for (core/StopSignal). Once spent, the meter raises again at every charge, so
// code that catches the error (a script, a per-entry guard) cannot go on working; the one
// that opened the meter asks IsSpent() and names the file or level as left out.
//
// Charges made with no meter open count nothing and raise nothing: the game's own work (a
// shutdown that saves the cards after a stop) is never cut short by the meter.
// Meters nest: a charge counts against every open meter (a file read while a level builds
// is work of the level too), and one spent ends the work of those inside it. Main thread
// only.
#include "core/Exception.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

// The work on one file's values ran out, or a stop was asked for while it went on.
MAKO_DECLARE_EXCEPTION(WorkSpent);

class WorkMeter
{
public:
    // Opens the meter for `what` (the file or level, as a message names it: "Levels/Zz.lua",
    // `level "Welcome"`), with `units` steps of work.
    explicit WorkMeter(std::string what, long long units = kDefaultUnits);
    ~WorkMeter();
    WorkMeter(const WorkMeter&) = delete;
    WorkMeter& operator=(const WorkMeter&) = delete;

    // Charges every open meter; raises WorkSpent, naming the innermost, when one is spent or
    // a stop was asked for. With no meter open, does nothing.
    static void Charge(long long units = 1);
    // The innermost open meter; null when none.
    static WorkMeter* Current();

    // Whether this meter ran out or was stopped, and why: "" while it holds, else a text
    // to follow the name ("needs more than 20000000 steps of work", "was stopped by
    // SIGTERM").
    bool IsSpent() const { return !m_Reason.empty(); }
    const std::string& GetReason() const MAKO_LIFETIMEBOUND { return m_Reason; }
    // "<what> <reason>": the sentence a caller logs when it leaves the file out.
    std::string Describe() const;
    const std::string& GetWhat() const MAKO_LIFETIMEBOUND { return m_What; }
    // Names the file or level anew (its opener learns the name after it opened the meter).
    void Rename(std::string what) { m_What = std::move(what); }
    long long GetUsed() const { return m_Used; }
    long long GetUnits() const { return m_Units; }

    // What a walk keeps for the meter's scope under its own tag (a cache of what a table
    // read once came to, so the objects made from it share it): empty until set, dropped
    // when the meter closes, before the values it was made from could go.
    std::shared_ptr<void>& Kept(const void* tag) { return m_Kept[tag]; }

    // Called at every charge of an open meter with the units charged, after they were
    // counted and before the meter is checked (tests: to count the work, or to ask for a stop
    // while a walk is in progress). Null for none.
    using Probe = void (*)(const WorkMeter& meter, long long units);
    static void SetProbe(Probe probe);

    // Steps a meter allows unless its opener says otherwise: far above what the busiest
    // written level or file takes (some tens of thousands), and a second or two of work.
    static const long long kDefaultUnits = 1000000;

private:
    [[noreturn]] void Spend(const std::string& reason);

    std::string m_What;
    long long m_Units;
    long long m_Used = 0;
    std::string m_Reason;
    WorkMeter* m_Outer;
    std::map<const void*, std::shared_ptr<void>> m_Kept;
};

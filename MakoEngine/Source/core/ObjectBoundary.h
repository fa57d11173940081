#pragma once
// The boundary around one object made from data. Making, animating, drawing or comparing
// an object whose table, picture or record came from a file the game did not write is one
// unit: an error data can cause there stops at that object. The object is left out or a
// plain stand-in takes its place, the problem is named once through DataReport (the
// object, what was wrong, what was done), and the screen, the level and the game go on.
//
// Which errors are data's and which are the program's is decided here, once:
//  - the program's own mistakes pass on to the crash reporter: a failed check
//    (MAKO_ASSERT, MAKO_VERIFY), a standard library logic or allocation error, anything
//    that is not an engine Exception or a script value error;
//  - the end of a work meter (WorkSpent: a stop asked for, or a file past its bound)
//    passes on to the meter's opener, which names the file;
//  - every other engine Exception (DataError below, ValueTypeError and the other
//    property, class, resource, image and script errors, and a sentence raised as a plain
//    Exception) and every error of the Lua wrapper (a value of the wrong type or missing
//    where a table was read) is data's.
//
// The boundaries stand where objects are made, not at each object: a list of objects
// made from tables (ClassManager::InstantiateObjects), a child ticked or drawn by its
// parent (Actor), a picture's animation and frame (scene/Animation, Actor::FrameWithin),
// a record taken in from a card and ordered by its score (players/), an entry of a level
// (the level build's GuardEntry), a key of an object's properties (the level build's
// MakeWithProperties), a table's class (FindClassToMake). An object added later is made,
// ticked and drawn through them. Code that stops an error from data does it through Guard or
// Contain below, never with a catch of its own; a meter's opener adds only its own meter's
// end (the level's loading state).
//
// A stop asked for (core/StopSignal) is no one's fault. Whoever would name a file or a level
// for a failure (the opener of its meter, the loader of a file) asks FaultOf first: once a
// stop was asked for, the failure of the work it cut short is the stop's, never the data's,
// and nothing is named, left out as damaged or set aside for it. Reports said while a stop is
// asked for are dropped (ReportOnce).
//
// Main thread only.
#include "core/Exception.h"

#include <exception>
#include <string>
#include <type_traits>

// An error in data that no more particular kind names: a picture's metadata without the
// animation asked of it, a record without the value it is ordered by.
MAKO_DECLARE_EXCEPTION(DataError);

namespace ObjectBoundary {

// Whether data can cause the error (see above): false for the program's own mistakes and
// for the end of a work meter.
bool IsDataError(const std::exception& error);

// What a failure in the work on data is, and so who answers it.
enum class Fault {
    Data,    // the data's: the file or object is left out, or a stand-in takes its place
    Stop,    // a stop asked for cut the work short: nothing is blamed, the program ends
    Program, // the program's own mistake: it passes on to the crash reporter
};
// For whoever names a file or level for its failure: the program's own mistakes (see above)
// are Program; else, while a stop is asked for, Stop, whatever the failure says (a meter's
// WorkSpent, a script's budget ended by the stop, an error met in half-done work); else Data,
// the end of a meter by its bound included (the opener names the file as too costly). error
// is null for a failure told without one (a script's status).
Fault FaultOf(const std::exception* error);

// The error's own text (an engine Exception's message, else what()), without the full stop
// and line end it may close with. Line ends inside it stay: the reporter folds every line
// it writes (OneLineText, core/DataReport.h).
std::string TextOf(const std::exception& error);

// Reports the problem through DataReport, once per game session: the same subject and
// text said again is not repeated (an animation that misses its name on every loop, a
// record compared in every sort). Nothing is said while a stop is asked for. At most kRemembered
// lines are remembered; past that a line may be said again.
void ReportOnce(const std::string& subject, const std::string& text);
constexpr int kRemembered = 4096;

// Runs make. A data error it raises stops there and false is returned, its text (TextOf)
// in why when given; every other error passes on. True when make ran through. For a site
// that says what was wrong in words of its own (a key left out of an object's properties),
// or that says nothing because another pass names it.
template <typename Make> bool Contain(const Make& make, std::string* why = nullptr)
{
    try {
        make();
        return true;
    } catch (const std::exception& error) {
        if (!IsDataError(error))
            throw;
        if (why)
            *why = TextOf(error);
    }
    return false;
}

// Runs make. A data error it raises is reported once as `<subject>: <error>; <outcome>`
// and false returned (the caller leaves the object out or puts its stand-in there);
// every other error passes on. True when make ran through. The subject is text, or a
// function giving it, called only when there is something to report (a boundary crossed
// every pass costs nothing more than the call).
template <typename Subject, typename Make>
bool Guard(const Subject& subject, const char* outcome, const Make& make)
{
    std::string why;
    if (Contain(make, &why))
        return true;
    std::string words;
    if constexpr (std::is_invocable_v<const Subject&>)
        words = subject();
    else
        words = subject;
    ReportOnce(words, why + "; " + outcome);
    return false;
}

} // namespace ObjectBoundary

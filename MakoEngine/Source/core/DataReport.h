#pragma once
// Problems found in data the game reads from authors (level tables and the object tables
// in them): a value of the wrong type, a key that nothing of the game reads. Each problem
// is logged at log level 1 (the game's default), naming where it is, and handed to the listener
// when one is installed (the level check collects them); the game goes on with the default.
//
// While a place is open (DataReport::Place over a DataPlace, which the code reading the
// data defines: the game's is a level, and a brick's row and column or an entry such as
// "levelActors[2]"), a property of the wrong type applied to an object is reported here and
// the property keeps its value, instead of raising: data that is wrong in one key still
// builds. Outside a place such a property raises its ValueTypeError, so a script sees the
// error. Within the outermost open place each distinct problem is reported once.
//
// While a cap is open (DataReport::Cap, opened by the code that reads one file's data), at
// most its number of problems are logged and handed on; the rest are only counted, and
// closing the outermost cap reports one line with their count. So however a file is made,
// what is said about it stays a few hundred lines.
//
// A problem is one line: line ends in its text (an error text of many lines, a level named
// with a line end) are folded into " / " by DataIssue::ToString, the one place the
// reporter's lines are made; its callers need not fold. Nor need they cut: a subject longer
// than kLongestSubject bytes, or a text longer than kLongestText (one that quotes a value of a
// megabyte), is cut to its first whole characters and "..." as it is reported, so every line
// said, logged and kept once said stays short, whatever a file holds. A problem is the
// author's to fix; a warning (Warn) says what the game mended or did without and goes on,
// and is logged after "Warning: ". What concerns a file of the pack itself (a picture's
// metadata, a damaged font or sound: WarnOfPack) stands at no place, whatever level is being
// built when it is met. Every mend or refusal of data goes through here, so the level check,
// which listens, names what the game logs.
//
// Main thread only.
#include "luaplus/LuaPlus.h"

#include <cstddef>
#include <functional>
#include <string>

// Where in the data a problem is. What a place holds is its maker's; the report knows it
// only by its words.
class DataPlace
{
public:
    virtual ~DataPlace() = default;
    // The place in words, starting lower case (`level "Welcome", row 2, column 5`); empty
    // when it names nothing.
    virtual std::string Describe() const = 0;
};

// One problem and where it is.
struct DataIssue
{
    // The innermost open place; null outside every place. It lives only as long as the
    // listener's call: a listener keeps what it needs of it.
    const DataPlace* place = nullptr;
    std::string subject;  // what the key belongs to (`Brick "RedBrick"`); empty: the place's own
    std::string text;     // the problem itself, naming the key
    bool warning = false; // a mend or a thing done without, not a fault that stops anything
    bool ofPack = false;  // about a file of the pack, at no place (WarnOfPack)
    std::string resource; // the resource of the pack it is about, when it names one

    // `Brick "RedBrick" (level "Welcome", row 2, column 5): <text>`, or, without a subject,
    // the place's words with a capital (`Level "Welcome": <text>`); always one line.
    std::string ToString() const;
};

class DataReport
{
public:
    using Listener = std::function<void(const DataIssue&)>;

    // Opens the place (which must outlive it) for what is read until it is destroyed.
    // Places nest; the innermost is where problems are.
    class Place
    {
    public:
        explicit Place(const DataPlace& place);
        ~Place();
        Place(const Place&) = delete;
        Place& operator=(const Place&) = delete;
    };

    // Caps the problems reported until it is destroyed (see above). Caps nest; the
    // outermost holds.
    class Cap
    {
    public:
        explicit Cap(int lines = kCappedLines);
        ~Cap();
        Cap(const Cap&) = delete;
        Cap& operator=(const Cap&) = delete;
    };
    static const int kCappedLines = 200;
    static const std::size_t kLongestSubject = 200;
    static const std::size_t kLongestText = 2000;

    // Whether a place is open.
    static bool InPlace();
    // The innermost open place; null when none is open.
    static const DataPlace* CurrentPlace();
    // Reports a problem at the current place: logs it (once within the outermost place)
    // and hands it to the listener.
    static void Report(const std::string& subject, const std::string& text);
    // The same for a warning: what the game mended or goes on without.
    static void Warn(const std::string& subject, const std::string& text);
    // A warning about a file of the pack (its metadata, a picture, a font or a sound that
    // cannot be loaded): at no place, naming the resource when there is one.
    static void WarnOfPack(const std::string& text, const std::string& resource = std::string());
    // When an open cap allows no more lines, counts one more problem as not listed and
    // returns true: the caller need not put into words (or find the place of) a problem that
    // would not be said. False otherwise, when the caller reports it.
    static bool CountIfCapped();
    // Installs the listener (an empty one removes it); returns the one it replaces.
    static Listener SetListener(Listener listener);
};

// The key of a table when it has the Lua type wanted (LUA_TNUMBER ...); nil when the
// table or the key is missing. A value of another type is reported at the current place
// ("\"minBallSpeed\" needs a number, not the string \"fast\"; the default is used") and
// read as missing, so the caller takes its default.
LuaPlus::LuaObject ReadDataKey(const LuaPlus::LuaObject& table, const char* key, int luaType,
                               const std::string& subject = std::string());

// The global of that name when it is a number, else def; a global of another type is
// reported as the game's default and counts as missing.
double ReadGlobalNumber(const char* name, double def);
int ReadGlobalInt(const char* name, int def);

// A key of data as a report names it, whatever its type: a string as it is (a long one cut
// to its first 64 bytes and "..."), a number as a script writes it, any other value by its
// type ("<table>", "<boolean>"). Never raises.
std::string DataKeyText(const LuaPlus::LuaObject& key);

// The text on one line: each line end ("\r\n", "\n" or "\r") becomes " / ". Linear in the
// text's length.
std::string OneLineText(const std::string& text);

// The text cut to its first whole characters within `longest` bytes and "..." when it is
// longer.
std::string ShortenedText(const std::string& text, std::size_t longest = 64);

// The words for a Lua type a key needs: "a number", "a string", "a boolean", "a table".
const char* NeededTypeWords(int luaType);

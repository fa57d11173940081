#pragma once
// Holds a player card to the shape the game relies on, when the card is read and again
// before it is written. What the game indexes must be a table, every number must be finite
// and fit the game's whole numbers, the progress counters must lie in their ranges, and the
// name must be one the sign-in dialog could have typed, every text a screen shows (the name,
// the mode's names, the records' texts) one the screens can draw (no NUL or control
// character, valid UTF-8, no bar, no longer than a screen shows), and the card must be one
// the file writer can write back.
//
// What a game-mode table (Game_Modes[mode]) holds is the game's: it names the keys at
// start-up (SetModeShape); until then a mode table is checked only as a table of values.
//
// A value that can be mended without losing what the player earned is mended in place and
// described in GetRepairs() (a missing options table, an infinite count of balls, a secret
// flag of 2147483647, a negative score, a name too long); anything else makes the card unusable,
// described by GetProblem(), and the card is left as it was found. Main thread only; the card's
// script state must hold the functions of PlayerDefaults.lua.
#include "luaplus/LuaPlus.h"

#include <string>
#include <unordered_set>
#include <vector>

class CardCheck
{
public:
    // The longest name the sign-in dialog lets a player type, in characters.
    static constexpr std::size_t kMaxNameLength = 9;
    // How deeply the card's tables may nest.
    static constexpr int kMaxDepth = 64;

    // The keys of a game-mode table that the game relies on. A value of the wrong type or
    // outside its range takes the value of a new game-mode table (CreateGameModeTable).
    struct ModeShape
    {
        // A progress counter and the values it may hold.
        struct Counter
        {
            const char* key;
            int low;
            int high;
        };
        std::vector<Counter> counters;
        // Names the game shows or looks up by name: strings, each one the screens can draw
        // (core/ShownText), of at most ShownText::kMaxLength characters.
        std::vector<const char*> names;
        // Top-ten lists: arrays of record tables (a list of another type makes the card
        // unusable).
        std::vector<const char*> lists;
        // The numbers a record of those lists may hold, each a whole number in its range
        // (a flag is 0 or 1), so that a sum over every record and every mode stays within
        // an int. A value outside is brought to the nearest end, a fraction to the whole
        // number below it, a value that is not finite to 0.
        std::vector<Counter> recordFields;
        // The texts a record of those lists may hold that a screen shows (the name of a
        // find, a word): mended as names are, to at most ShownText::kMaxLength characters.
        std::vector<const char*> recordTexts;
        // A text of the mode table or of those records that names an entry of a global table
        // of the game (the finds): a name the table does not hold (when the table exists)
        // is set to `none`, as a thing the player never found.
        struct Lookup
        {
            const char* key;
            const char* table;
            const char* none;
        };
        std::vector<Lookup> lookups;
    };
    // The numbers a card's Game_Records entries may hold, as ModeShape::recordFields.
    static void SetGameRecordFields(std::vector<ModeShape::Counter> fields);
    // Sets the shape every later check holds mode tables to; the keys are texts that live
    // as long as the program.
    static void SetModeShape(ModeShape shape);
    static const ModeShape& GetModeShape();

    explicit CardCheck(const LuaPlus::LuaObject& card);

    // Checks the card and mends what can be mended; true when the card can be used.
    bool Run();
    // What makes the card unusable ("" when it can be used).
    const std::string& GetProblem() const MAKO_LIFETIMEBOUND { return m_Problem; }
    // One line per value that was mended, naming its key, in the order they were found.
    const std::vector<std::string>& GetRepairs() const MAKO_LIFETIMEBOUND { return m_Repairs; }

private:
    LuaPlus::LuaObject m_Card;
    std::string m_Problem;
    std::vector<std::string> m_Repairs;

    bool Reject(const std::string& problem);
    void Repaired(const std::string& what) { m_Repairs.push_back(what); }
    bool CheckName();
    bool CheckOptions();
    bool CheckGameModes();
    bool CheckModeTable(LuaPlus::LuaObject mode, const std::string& where);
    bool CheckRecordLists();
    // holder[key] is nil or a table of tables; other values in it are dropped (and a list
    // of records closes up behind them).
    bool CheckTableOfTables(const LuaPlus::LuaObject& holder, const char* key,
                            const std::string& where);
    // Brings each number of the records in list (a table of record tables) named by fields
    // into its range.
    void CheckRecordFields(const LuaPlus::LuaObject& list,
                           const std::vector<ModeShape::Counter>& fields, const std::string& where);
    // Sets holder[lookup.key] to lookup.none when it names nothing in its table.
    void CheckLookup(LuaPlus::LuaObject holder, const ModeShape::Lookup& lookup,
                     const std::string& where);
    // Mends each text of the records in list named by keys (MendText).
    void CheckRecordTexts(const LuaPlus::LuaObject& list, const std::vector<const char*>& keys,
                          const std::string& where);
    // Brings the text under holder[key], when it is one, into what the screens can draw
    // (core/ShownText: no control character, valid UTF-8, no bar, at most maxLength
    // characters), naming it as where.
    void MendText(LuaPlus::LuaObject holder, const char* key, const std::string& where,
                  std::size_t maxLength);
    // Renumbers the list's number keys 1, 2, ... in their order.
    static void CloseGaps(LuaPlus::LuaObject list);
    // A guid that is not a whole number is replaced by a new one; a card without one is
    // unusable.
    bool CheckGuid();
    // Mends every number of the table and below that is not finite or does not fit an int.
    // Each table is walked once (visited holds those seen), however often it is shared.
    bool CheckNumbers(LuaPlus::LuaObject table, const std::string& where, int depth,
                      std::unordered_set<const void*>& visited);
};

#pragma once
// The Lua text form of script values, in which the program keeps its persistent data
// (configuration file, player cards) and logs its tables. Running the text as a script
// rebuilds the value; with an on-open text such as "LoadConfig " in front, running it
// calls that function with the value.
//
// Layout (all output is byte for byte repeatable with SERIALIZE_SORTED):
//   {
//       full_screen = false,
//       Name = "a\nb",
//       [1] = {
//           x = 1,
//       },
//       [2] = 7,
//   }
// Entries are indented four blanks per level; a table nested in a table closes with "},"
// at its key's indent. Sorted order is: keys that are neither texts nor numbers (in
// traversal order), then text keys by case-insensitive comparison (ties by bytes), then
// number keys ascending. Text keys that are Lua names and not reserved words are written
// bare; every other key in brackets. Texts are quoted so that Lua reads back exactly the
// same bytes. Numbers are written as Lua writes them ("%.14g"); infinities and NaN as the
// expressions 1/0, -1/0 and 0/0. A number key that "%.14g" would not read back as the same
// key is written with 17 digits, so that keys differing past Lua's digits stay apart. nil
// and functions are written as nil (function keys are left out, as Lua could not read them
// back). A table with a non-nil field "Do_Not_Serialize" is written as "nil," in place
// (plain "nil" at the top level).
// User data, threads, tables that contain themselves and tables nested more than
// MAX_SERIALIZE_NESTING deep (Lua could not read their text back) cannot be written: they
// fail an assertion, and the file forms then leave the old file untouched.
#include "luaplus/LuaPlus.h"

#include <cstddef>
#include <string>

// The deepest nesting of tables the serialiser writes (the value itself counts as 1).
const size_t MAX_SERIALIZE_NESTING = 100;

enum SerializeFlags {
    SERIALIZE_SORTED = 1, // write table entries in the sorted order above
    SERIALIZE_BARE = 2,   // write a text value without quotes, line feeds as \n (plain-name keys)
};

// Appends the text of value to out, entries indented by indent (blanks; "" at the top).
// On failure the text written so far stays in out.
void Serialize(const LuaPlus::LuaObject& value, const std::string& indent, int flags,
               std::string& out);

// The file form: the on-open part, then the value's text at the top level. onOpen is
// written when it is a text; when it is a function its result (text or number) is
// written; anything else writes nothing. With a file name, the file is replaced whole
// (core/AtomicFile.h); with an empty one the text goes to the state's script default
// output (io.write). state may be null: the engine's global script state.
void Serialize(const LuaPlus::LuaObject& value, const std::string& fileName,
               const LuaPlus::LuaObject& onOpen, int flags, LuaPlus::LuaState* state);
void Serialize(const LuaPlus::LuaObject& value, const std::string& fileName,
               const std::string& onOpenText, int flags, LuaPlus::LuaState* state);

// Appends the top-level text of value to out; on failure out is left as it was.
void SerializeToString(std::string& out, const LuaPlus::LuaObject& value, int flags,
                       LuaPlus::LuaState* state = nullptr);

// Whether a text key is written bare: a Lua name ([A-Za-z_][A-Za-z0-9_]*) that is not one
// of Lua's reserved words.
bool IsPlainKeyName(const std::string& key);

// The text as a Lua string literal that reads back as exactly the same bytes: in double
// quotes, with backslash, double quote, line feed, carriage return and NUL escaped.
std::string QuoteLuaString(const std::string& text);

// A number as Lua writes it ("%.14g"), infinities and NaN as 1/0, -1/0 and 0/0, and
// negative zero as 0.
std::string FormatLuaNumber(double value);

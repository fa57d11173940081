#include "lua/LuaSerializer.h"

#include "core/AtomicFile.h"
#include "core/Exception.h"
#include "core/FileWriter.h"
#include "core/Utility.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <boost/format.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

using LuaPlus::LuaException;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using LuaPlus::LuaTableIterator;

namespace {

const char* const kReservedWords[] = {
    "and",   "break", "do",  "else", "elseif", "end",    "false", "for",  "function", "if",    "in",
    "local", "nil",   "not", "or",   "repeat", "return", "then",  "true", "until",    "while",
};

std::string ObjectText(const LuaObject& value)
{
    return std::string(value.GetString(), value.GetStrLen());
}

// Case-insensitive order of text keys (letters compared as lower case, other bytes by
// value); keys equal that way are ordered by their bytes, so the order is strict.
bool TextKeyLess(const std::string& a, const std::string& b)
{
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int ca = std::tolower(static_cast<unsigned char>(a[i]));
        int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

// Writes one value and, recursively, the entries of tables.
class Writer
{
public:
    Writer(int flags, std::string& out) : m_Flags(flags), m_Out(out) {}

    void Value(const LuaObject& value, const std::string& indent, int flags);

private:
    void Table(const LuaObject& table, const std::string& indent);
    void Entries(const LuaObject& table, const std::string& indent);
    void SortedEntries(const LuaObject& table, const std::string& indent);
    void Entry(const LuaObject& key, const LuaObject& value, const std::string& indent);

    int m_Flags;
    std::string& m_Out;
    std::set<const void*> m_Open; // tables being written, to refuse cycles
};

// A number key as Lua writes numbers when that reads back as the same key, else with the
// 17 digits that always do: two keys that differ only past Lua's 14 digits stay two keys.
std::string NumberKeyText(double key)
{
    std::string text = FormatLuaNumber(key);
    if (std::isfinite(key) && std::strtod(text.c_str(), nullptr) != key) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.17g", key);
        text = buffer;
    }
    return text;
}

void Writer::Value(const LuaObject& value, const std::string& indent, int flags)
{
    switch (value.Type()) {
    case LUA_TNONE:
    case LUA_TNIL:
    case LUA_TFUNCTION:
        m_Out += "nil";
        break;
    case LUA_TBOOLEAN:
        m_Out += value.GetBoolean() ? "true" : "false";
        break;
    case LUA_TNUMBER:
        m_Out += FormatLuaNumber(value.GetNumber());
        break;
    case LUA_TSTRING:
        m_Out += (flags & SERIALIZE_BARE) ? EscapeNewlines(ObjectText(value))
                                          : QuoteLuaString(ObjectText(value));
        break;
    case LUA_TTABLE:
        Table(value, indent);
        break;
    default:
        MAKO_THROW(Exception, boost::str(boost::format("Cannot serialize a LuaObject of type, "
                                                       "\"%1%\". Only numbers, strings, booleans "
                                                       "and tables can be saved.") %
                                         value.TypeName()));
    }
}

void Writer::Table(const LuaObject& table, const std::string& indent)
{
    if (!table.GetByName("Do_Not_Serialize").IsNil()) {
        // Inside a table "nil," stands in the entry's place; at the top level the comma
        // would make the text unreadable ("return nil," is not Lua), so it is left off.
        m_Out += indent.empty() ? "nil" : "nil,";
        return;
    }
    const void* identity = TableIdentity(table);
    MAKO_ASSERT_MSG(m_Open.insert(identity).second, "Cannot serialize a table that contains "
                                                    "itself.");
    if (m_Open.size() > MAX_SERIALIZE_NESTING) {
        m_Open.erase(identity);
        MAKO_THROW(Exception, boost::str(boost::format("Cannot serialize tables nested more than "
                                                       "%1% deep.") %
                                         MAX_SERIALIZE_NESTING));
    }

    m_Out += "{\n";
    if (m_Flags & SERIALIZE_SORTED)
        SortedEntries(table, indent);
    else
        Entries(table, indent);
    m_Out += indent.empty() ? "}\n" : indent + "},\n";
    m_Open.erase(identity);
}

void Writer::Entries(const LuaObject& table, const std::string& indent)
{
    for (LuaTableIterator it(table); it; it.Next())
        Entry(it.GetKey(), it.GetValue(), indent);
}

void Writer::SortedEntries(const LuaObject& table, const std::string& indent)
{
    std::vector<std::pair<std::string, LuaObject>> texts;
    std::vector<std::pair<double, std::pair<LuaObject, LuaObject>>> numbers;
    for (LuaTableIterator it(table); it; it.Next()) {
        const LuaObject& key = it.GetKey();
        if (key.IsString())
            texts.emplace_back(ObjectText(key), it.GetValue());
        else if (key.IsNumber())
            numbers.push_back({key.GetNumber(), {key, it.GetValue()}});
        else
            Entry(key, it.GetValue(), indent);
    }
    std::sort(texts.begin(), texts.end(),
              [](const auto& a, const auto& b) { return TextKeyLess(a.first, b.first); });
    std::sort(numbers.begin(), numbers.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [name, value] : texts) {
        LuaObject key;
        key.AssignString(table.GetState(), name);
        Entry(key, value, indent);
    }
    for (const auto& number : numbers)
        Entry(number.second.first, number.second.second, indent);
}

void Writer::Entry(const LuaObject& key, const LuaObject& value, const std::string& indent)
{
    if (key.IsFunction())
        return; // Lua could not read "[nil] = ..." back; the entry is dropped like a value
    std::string entryIndent = indent + "    ";
    m_Out += entryIndent;
    if (key.IsString() && IsPlainKeyName(ObjectText(key))) {
        Value(key, "", m_Flags | SERIALIZE_BARE);
        m_Out += " = ";
    } else if (key.IsNumber()) {
        m_Out += "[" + NumberKeyText(key.GetNumber()) + "] = ";
    } else {
        m_Out += "[";
        Value(key, "", m_Flags & ~SERIALIZE_BARE);
        m_Out += "] = ";
    }
    Value(value, entryIndent, m_Flags & ~SERIALIZE_BARE);
    if (!value.IsTable())
        m_Out += ",\n";
}

// The text the on-open value of the file form stands for: a text as it stands; for a
// function, the text or number it returns; anything else (a number among them) nothing.
std::string OnOpenText(const LuaObject& onOpen)
{
    if (onOpen.IsString())
        return ObjectText(onOpen);
    if (!onOpen.IsFunction())
        return "";
    LuaObject result;
    try {
        result = onOpen.Call();
    } catch (const LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
    if (result.IsString())
        return ObjectText(result);
    if (result.IsNumber())
        return FormatLuaNumber(result.GetNumber());
    return "";
}

// The wrapper of the state a native function runs in.
LuaState* CallerState(lua_State* L)
{
    LuaState* state = LuaState::CastState(L);
    MAKO_ASSERT(state != nullptr);
    return state;
}

} // namespace

void Serialize(const LuaObject& value, const std::string& indent, int flags, std::string& out)
{
    Writer writer(flags, out);
    writer.Value(value, indent, flags);
}

void Serialize(const LuaObject& value, const std::string& fileName, const LuaObject& onOpen,
               int flags, LuaState* state)
{
    if (!state)
        state = GetGlobalLuaState();
    std::string text = OnOpenText(onOpen);
    Serialize(value, "", flags, text);
    if (!fileName.empty()) {
        // A file a script names is the game's own output: never written through a link, nor
        // over a file the game did not make.
        const FileWriter::Result written =
            FileWriter::WriteOutput(fileName, text, FileWriter::REPLACE_OWN);
        if (!written.Ok())
            throw FileWriteError(MAKO_WHERE, fileName, written.reason);
        return;
    }
    LuaObject write = state->GetGlobal("io")["write"];
    MAKO_ASSERT(write.IsFunction());
    try {
        write.Call(text);
    } catch (const LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
}

void Serialize(const LuaObject& value, const std::string& fileName, const std::string& onOpenText,
               int flags, LuaState* state)
{
    if (!state)
        state = GetGlobalLuaState();
    LuaObject onOpen;
    onOpen.AssignString(state, onOpenText);
    Serialize(value, fileName, onOpen, flags, state);
}

void SerializeToString(std::string& out, const LuaObject& value, int flags, LuaState* /*state*/)
{
    std::string text;
    Serialize(value, "", flags, text);
    out += text;
}

bool IsPlainKeyName(const std::string& key)
{
    if (key.empty())
        return false;
    auto isNameStart = [](unsigned char c) { return std::isalpha(c) || c == '_'; };
    if (!isNameStart(static_cast<unsigned char>(key[0])))
        return false;
    for (char c : key) {
        unsigned char u = static_cast<unsigned char>(c);
        if (!isNameStart(u) && !std::isdigit(u))
            return false;
    }
    return std::find(std::begin(kReservedWords), std::end(kReservedWords), key) ==
           std::end(kReservedWords);
}

std::string QuoteLuaString(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\0':
            quoted += "\\000";
            break;
        default:
            quoted += c;
            break;
        }
    }
    quoted += '"';
    return quoted;
}

std::string FormatLuaNumber(double value)
{
    if (std::isnan(value))
        return "0/0";
    if (std::isinf(value))
        return value > 0 ? "1/0" : "-1/0";
    // Negative zero is written 0: a chunk that holds both -0 and 0 gives both the constant
    // it met first, so a file with both would not read back as it was written.
    if (value == 0)
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14g", value);
    return buffer;
}

// Do_Serialize(o, file, on_open): writes o with on_open in front to the file (replacing
// it), or to the script default output when file is "".
MAKO_LUA_FUNCTION(Do_Serialize)
{
    LuaState* state = CallerState(L);
    MAKO_ASSERT_MSG(lua_type(L, 2) == LUA_TSTRING, "Do_Serialize expects a file name text");
    std::size_t length = 0;
    const char* file = lua_tolstring(L, 2, &length);
    Serialize(LuaObject(state, 1), std::string(file, length), LuaObject(state, 3), SERIALIZE_SORTED,
              state);
    return 0;
}

// SerializeToString(o) -> the text of o.
MAKO_LUA_FUNCTION(SerializeToString)
{
    LuaState* state = CallerState(L);
    std::string text;
    SerializeToString(text, LuaObject(state, 1), SERIALIZE_SORTED, state);
    lua_pushlstring(L, text.data(), text.size());
    return 1;
}

// Load(name): runs the script resource of that name.
MAKO_LUA_FUNCTION(Load)
{
    LuaState* state = CallerState(L);
    MAKO_ASSERT_MSG(lua_type(L, 1) == LUA_TSTRING, "Load expects a resource name text");
    std::string name = lua_tostring(L, 1);
    MakoLuaState::DoResourceFile(state, name);
    return 0;
}

#pragma once
// Lua values written as Lua source text, the form in which the engine reads metadata:
// nil, booleans, integers, numbers, strings and tables (an array part followed by named
// fields). Field order in the text is sorted by name, so the text does not depend on
// the order in which a recipe set the fields.
#include <string>
#include <utility>
#include <vector>

namespace assetgen {

class LuaValue
{
public:
    LuaValue() = default; // nil
    LuaValue(bool v) : m_Kind(Kind::Bool), m_Bool(v) {}
    LuaValue(int v) : m_Kind(Kind::Integer), m_Int(v) {}
    LuaValue(long long v) : m_Kind(Kind::Integer), m_Int(v) {}
    LuaValue(double v) : m_Kind(Kind::Number), m_Number(v) {}
    LuaValue(const char* v) : m_Kind(Kind::String), m_String(v) {}
    LuaValue(std::string v) : m_Kind(Kind::String), m_String(std::move(v)) {}

    static LuaValue Table() { return LuaValue(Kind::Table); }
    // A table whose array part holds the values in order.
    static LuaValue Array(std::vector<LuaValue> items);

    bool IsNil() const { return m_Kind == Kind::Nil; }
    bool IsTable() const { return m_Kind == Kind::Table; }
    bool IsInteger() const { return m_Kind == Kind::Integer; }
    long long ToInteger() const { return m_Int; }

    // Sets a named field (a nil value removes it); turns a nil value into a table.
    // Throws std::logic_error on a value that is neither nil nor a table.
    LuaValue& Set(const std::string& key, LuaValue value);
    // The named field, or nil.
    const LuaValue& Get(const std::string& key) const;
    // Appends to the array part.
    LuaValue& Append(LuaValue value);
    const std::vector<std::pair<std::string, LuaValue>>& Fields() const { return m_Fields; }

    // Lua source of the value; tables holding tables spread over lines indented by
    // `indent` levels of four spaces. Throws std::domain_error for a non-finite number.
    std::string ToLua(int indent = 0) const;

private:
    enum class Kind { Nil, Bool, Integer, Number, String, Table };
    explicit LuaValue(Kind kind) : m_Kind(kind) {}

    Kind m_Kind = Kind::Nil;
    bool m_Bool = false;
    long long m_Int = 0;
    double m_Number = 0;
    std::string m_String;
    std::vector<LuaValue> m_Array;
    std::vector<std::pair<std::string, LuaValue>> m_Fields; // sorted by key
};

// A string as a Lua string literal (quoted, escaped).
std::string LuaQuote(const std::string& text);
// A table key as Lua writes it in a constructor: bare when it is a name, else ["..."].
std::string LuaKey(const std::string& key);

// The text of a folder's metadata file: one call of Metadata with a table from file
// name to that file's metadata table, files in name order.
std::string MetadataFileText(const std::vector<std::pair<std::string, LuaValue>>& entries);

} // namespace assetgen

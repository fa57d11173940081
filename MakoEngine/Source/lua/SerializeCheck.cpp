#include "lua/SerializeCheck.h"

#include "lua/LuaSerializer.h"
#include "lua/ScriptValueReaders.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

namespace {

// What the serialiser makes of a table: how many tables it writes (capped just past the
// limit) and how deep they nest (the table itself counts as 1).
struct Written
{
    std::size_t tables = 1;
    std::size_t height = 1;
};

class Walk
{
public:
    explicit Walk(std::size_t maxTables) : m_MaxTables(maxTables) {}

    // Adds what value writes at nesting depth (1 for the top) to into; false once a
    // problem is found.
    bool Value(const LuaObject& value, std::size_t depth, Written& into);
    const std::string& Problem() const { return m_Problem; }

private:
    bool Table(const LuaObject& table, std::size_t depth, Written& out);
    bool Fail(const std::string& problem)
    {
        m_Problem = problem;
        return false;
    }

    std::size_t m_MaxTables;
    std::unordered_map<const void*, Written> m_Done;
    std::unordered_set<const void*> m_Open;
    std::string m_Problem;
};

bool Walk::Value(const LuaObject& value, std::size_t depth, Written& into)
{
    if (value.IsUserData() || value.IsLightUserData() || value.Type() == LUA_TTHREAD)
        return Fail(std::string("holds a ") + value.TypeName() + " value, which cannot be saved");
    if (!value.IsTable())
        return true;
    Written child;
    if (!Table(value, depth, child))
        return false;
    into.tables = std::min(m_MaxTables + 1, into.tables + child.tables);
    into.height = std::max(into.height, child.height + 1);
    if (into.tables > m_MaxTables)
        return Fail("would be written as more than " + std::to_string(m_MaxTables) + " tables");
    return true;
}

bool Walk::Table(const LuaObject& table, std::size_t depth, Written& out)
{
    const void* identity = TableIdentity(table);
    const auto done = m_Done.find(identity);
    if (done != m_Done.end())
        out = done->second;
    else if (m_Open.count(identity))
        return Fail("holds itself");
    else if (depth <= MAX_SERIALIZE_NESTING && table.GetByName("Do_Not_Serialize").IsNil()) {
        m_Open.insert(identity);
        for (LuaTableIterator it(table); it; it.Next())
            if (!it.GetKey().IsFunction() &&
                (!Value(it.GetKey(), depth + 1, out) || !Value(it.GetValue(), depth + 1, out)))
                return false;
        m_Open.erase(identity);
        m_Done[identity] = out;
    }
    if (depth - 1 + out.height > MAX_SERIALIZE_NESTING)
        return Fail("is nested more than " + std::to_string(MAX_SERIALIZE_NESTING) +
                    " tables deep");
    return true;
}

} // namespace

std::string WhyCannotSerialize(const LuaObject& value, std::size_t maxTables)
{
    Walk walk(maxTables);
    Written top;
    top.tables = 0;
    top.height = 0;
    walk.Value(value, 1, top);
    return walk.Problem();
}

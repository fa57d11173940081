#pragma once
// Walks the entries of a table in Lua's own order (lua_next), holding the current key and
// value as LuaObjects:
//   for (LuaTableIterator it(table); it; it.Next()) Use(it.GetKey(), it.GetValue());
// The table may have values of existing keys changed or cleared during the walk, but no
// keys added (Lua's rule); a walk broken that way raises LuaException.
#include "luaplus/LuaObject.h"

namespace LuaPlus {

// Called at every step of every walk, before the next entry is read: the engine's meter of
// the work done on a file's values (core/WorkMeter). It may raise; the walk then ends where
// it is. Null (the default) for none.
using TableWalkHook = void (*)();
void SetTableWalkHook(TableWalkHook hook);
// One step of a walk that does not go through LuaTableIterator: calls the hook.
void ChargeTableWalkStep();

// The one index walk over a list (list[1], list[2], ... up to its length as Lua's # gives
// it), each step charged as a step of LuaTableIterator is, so a walk over a list from data
// is metered like any other. visit(i, list[i]) returns false to stop the walk there. A
// value that is not a table is an empty list.
template <typename Visit> void ForEachListElement(const LuaObject& list, const Visit& visit)
{
    if (!list.IsTable())
        return;
    const int count = list.GetCount();
    for (int i = 1; i <= count; ++i) {
        ChargeTableWalkStep();
        if (!visit(i, list[i]))
            return;
    }
}

class LuaTableIterator
{
public:
    // Starts at the first entry. A value that is not a table raises LuaException.
    explicit LuaTableIterator(const LuaObject& table);

    // Back to the first entry.
    void Reset();
    // On to the next entry; false (and invalid) after the last one.
    bool Next();
    LuaTableIterator& operator++()
    {
        Next();
        return *this;
    }
    bool IsValid() const { return m_Valid; }
    explicit operator bool() const { return m_Valid; }

    // The current entry; unset when the iterator is not valid.
    const LuaObject& GetKey() const { return m_Key; }
    const LuaObject& GetValue() const { return m_Value; }

private:
    void Step();

    LuaObject m_Table;
    LuaObject m_Key;
    LuaObject m_Value;
    bool m_Valid = false;
};

} // namespace LuaPlus

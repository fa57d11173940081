#pragma once
// A Lua table registered as a resource, such as the tables that describe screens, bricks
// and particles (`Resources.Foo = { ... }` in a script).
#include "luaplus/LuaPlus.h"
#include "resources/Resource.h"

#include <memory>
#include <string>

class TableResource : public Resource
{
public:
    // Takes ownership of the reference. Null is the assertion failure "table != 0", a
    // value that is not a table "table->IsTable()".
    explicit TableResource(LuaPlus::LuaObject* table);
    ~TableResource() override;

    int CalcMemoryUsage() override { return 0; }
    LuaPlus::LuaObject* GetTable() const MAKO_LIFETIMEBOUND { return m_Table.get(); }

    // The table of the table resource `name` of the current resource manager. A missing
    // name throws ResourceNotFoundException. A resource that is not a table answers null
    // when nullIfNotTable is set, else fails the assertion
    // "resInfo->GetType() == RESOURCE_TABLE" with "The resource, \"<name>\", is not a table.".
    static LuaPlus::LuaObject* GetTableFromResource(const std::string& name,
                                                    bool nullIfNotTable = false);

private:
    std::unique_ptr<LuaPlus::LuaObject> m_Table;
};

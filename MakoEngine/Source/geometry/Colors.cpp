#include "geometry/Colors.h"

#include "core/Exception.h"
#include "lua/LuaFunctionList.h"

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

Colors::Table& Colors::GetTable()
{
    // Never destroyed: the built-in constants enter it during static initialisation and
    // lookups may run until the process ends.
    static Table* table = new Table();
    return *table;
}

Color Colors::ByName(const std::string& name)
{
    const Table& table = GetTable();
    auto it = table.find(name);
    if (it == table.end())
        MAKO_THROW(Exception, "\"" + name + "\" is not the name of a colour.");
    return it->second;
}

void Colors::Define(const std::string& name, const Color& color)
{
    GetTable()[name] = color;
}

// Colors{Name = colour, ...}: defines or redefines named colours. Keys that are not
// strings and the key "n" are skipped; a value is a colour name or a component table.
// A definition that fails raises; the ones stored before it remain.
MAKO_LUA_FUNCTION(Colors)
{
    LuaObject definitions(L, 1);
    for (LuaTableIterator it(definitions); it; it.Next()) {
        const LuaObject& key = it.GetKey();
        if (!key.IsString())
            continue;
        const std::string name(key.GetString(), key.GetStrLen());
        if (name == "n")
            continue;
        Colors::Define(name, Color(it.GetValue()));
    }
    return 0;
}

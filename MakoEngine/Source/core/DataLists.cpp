#include "core/DataLists.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Object.h"
#include "core/ObjectBoundary.h"
#include "core/TableOrder.h"
#include "core/ValueTypeError.h"

#include <exception>

using LuaPlus::LuaObject;

namespace {

// `the number 5`, `a table naming no class`, `a table of class "Label"`.
std::string DescribeElement(const LuaObject& value, const Class* c)
{
    if (!value.IsTable())
        return DescribeScriptValue(value);
    if (!c)
        return "a table naming no class the game has";
    return "a table of class \"" + c->GetName() + "\"";
}

} // namespace

const Class* FindClassToMake(const LuaObject& table)
{
    if (!table.IsTable() || !ClassManager::Exists())
        return nullptr;
    // A resource it names that does not exist, or a table that refuses to be read, names no
    // class: a data error, as the object boundary decides (the meter's end and the
    // program's own mistakes pass on).
    const Class* found = nullptr;
    ObjectBoundary::Contain([&] {
        const LuaObject name = table["class"];
        found = name.IsString() ? ClassManager::GetInstance()->GetClass(name.GetString(), true)
                                : FindClassInResourceTree(table);
    });
    return found;
}

std::vector<std::pair<LuaObject, LuaObject>>
DataListTables(const LuaObject& list, const std::string& subject, const std::string& where)
{
    std::vector<std::pair<LuaObject, LuaObject>> tables;
    for (const LuaObject& key : GetOrderedKeys(list)) {
        const LuaObject element = list.RawGet(key);
        if (element.IsTable())
            tables.emplace_back(key, element);
        else
            DataReport::Report(subject, where + "[" + DataKeyText(key) +
                                            "]: " + DescribeScriptValue(element) +
                                            " is not a table; it is left out");
    }
    return tables;
}

bool IsDataTableOfKind(const LuaObject& table, const char* kind, const std::string& subject,
                       const std::string& where)
{
    const Class* c = FindClassToMake(table);
    if (c && c->DerivesFrom(kind) && c->CanInstantiate())
        return true;
    const bool ofKind = c && c->DerivesFrom(kind);
    DataReport::Report(
        subject, (where.empty() ? std::string() : where + ": ") + DescribeElement(table, c) +
                     (ofKind ? " cannot be made by name" : " is no \"" + std::string(kind) + "\"") +
                     "; it is left out");
    return false;
}

Object* MakeDataObjectOfKind(const LuaObject& table, const char* kind, const std::string& subject,
                             const std::string& where)
{
    if (!IsDataTableOfKind(table, kind, subject, where))
        return nullptr;
    // The class is the one InstantiateObject finds: what it makes is of the kind.
    Object* made = ClassManager::GetInstance()->InstantiateObject(table);
    MAKO_ASSERT(made && made->GetClass()->DerivesFrom(kind));
    return made;
}

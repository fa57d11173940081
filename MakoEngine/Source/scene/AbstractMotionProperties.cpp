// AbstractMotion: the keys that add children and select the current one.
#include "scene/AbstractMotion.h"

#include "core/DataLists.h"
#include "core/DataReport.h"
#include "core/ObjectDescription.h"
#include "core/PropertyAccessor.h"
#include "core/TableOrder.h"
#include "core/ValueTypeError.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <memory>
#include <vector>

using LuaPlus::LuaObject;

void AbstractMotion::RegisterProperties(Class& c)
{
    for (const char* name : {"currentMotion", "addMotion", "addMotionList"}) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
}

void AbstractMotion::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "currentMotion") {
        SetCurrentMotion(ReadIntegerFromObject(value));
        return;
    }
    if (name == "addMotion" || name == "addMotionList") {
        if (!value.IsTable())
            MAKO_THROW_VALUE_TYPE(
                name == "addMotion" ? "a motion table" : "a list of motion tables", value);
        // Each child must be a motion: an element of another kind is reported and left
        // out, and the others are added.
        const std::string subject = DescribeObject(*this);
        std::vector<std::pair<LuaObject, LuaObject>> tables;
        if (name == "addMotion")
            tables.emplace_back(LuaObject(), value);
        else
            tables = DataListTables(value, subject, name);
        for (const auto& [key, table] : tables) {
            const std::string where = key.IsNil() ? name : name + "[" + DataKeyText(key) + "]";
            if (std::unique_ptr<Motion> motion =
                    MakeDataObject<Motion>(table, "Motion", subject, where))
                AddMotion(motion.release(), true);
        }
        return;
    }
    Motion::ApplyClassicProperty(name, value);
}

void AbstractMotion::RetrieveClassicProperties(LuaObject& table)
{
    Motion::RetrieveClassicProperties(table);
    table.SetInteger("currentMotion", m_Current);
    LuaObject list;
    list.AssignNewTable(GetGlobalLuaState());
    for (std::size_t i = 0; i < m_Children.size(); ++i) {
        LuaObject child;
        child.AssignNewTable(GetGlobalLuaState());
        m_Children[i]->RetrieveProperties(child);
        list.SetObject(static_cast<int>(i + 1), child);
    }
    table.SetObject("addMotionList", list);
}

void AbstractMotion::RetrieveProperties(LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table, {"currentMotion", "addMotionList"});
}

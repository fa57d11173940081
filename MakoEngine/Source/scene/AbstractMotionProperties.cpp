// AbstractMotion: the keys that add children and select the current one.
#include "scene/AbstractMotion.h"

#include "core/ClassManager.h"
#include "core/PropertyAccessor.h"
#include "core/TableOrder.h"
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
        MAKO_ASSERT(value.IsTable());
        // Every table is checked before any child is made; each child must be a motion.
        std::vector<LuaObject> tables;
        if (name == "addMotion") {
            tables.push_back(value);
        } else {
            for (const LuaObject& key : GetOrderedKeys(value)) {
                const LuaObject subMotion = value[key];
                MAKO_ASSERT(subMotion.IsTable());
                tables.push_back(subMotion);
            }
        }
        for (const LuaObject& table : tables) {
            std::unique_ptr<Object> object(ClassManager::GetInstance()->InstantiateObject(table));
            Motion* tempMotion = dynamic_cast<Motion*>(object.get());
            MAKO_ASSERT(tempMotion);
            object.release();
            AddMotion(tempMotion, true);
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

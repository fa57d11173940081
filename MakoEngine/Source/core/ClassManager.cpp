#include "core/ClassManager.h"

#include "core/Class.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/Object.h"
#include "core/ObjectBoundary.h"
#include "core/TableOrder.h"
#include "core/ValueTypeError.h"
#include "lua/LuaFunctionList.h"
#include "lua/LuaSerializer.h"
#include "lua/MakoLuaState.h"

#include <boost/format.hpp>

#include <algorithm>
#include <memory>

using LuaPlus::LuaException;
using LuaPlus::LuaObject;

namespace {

ClassManager* gClassManager = nullptr;

// The class a class table's `instance` holds; null for anything else.
Class* ClassOfTable(const LuaObject& classObject)
{
    if (!classObject.IsTable())
        return nullptr;
    LuaObject instance = classObject.RawGet("instance");
    if (!instance.IsLightUserData())
        return nullptr;
    return static_cast<Class*>(instance.GetLightUserData());
}

// canInstantiate(classTable): true when the class has an instantiator.
int CanInstantiateBody(lua_State* L)
{
    Class* c = ClassOfTable(LuaObject(L, 1));
    MAKO_ASSERT_MSG(c != nullptr, "canInstantiate takes a class table of Classes.");
    lua_pushboolean(L, c->CanInstantiate());
    return 1;
}

void LogClassTree(const Class& c, const std::string& indent)
{
    Log("%s%s\n", indent.c_str(), c.GetName().c_str());
    for (const Class* subClass : c.GetSubClasses())
        LogClassTree(*subClass, indent + "    ");
}

} // namespace

ClassManager::ClassManager()
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    m_ClassTable.AssignNewTable(state);
    state->GetGlobals().SetObject("Classes", m_ClassTable);
}

ClassManager* ClassManager::GetInstance()
{
    if (!gClassManager)
        gClassManager = new ClassManager;
    return gClassManager;
}

bool ClassManager::Exists()
{
    return gClassManager != nullptr;
}

void ClassManager::DestroyInstance()
{
    if (!gClassManager)
        return;
    for (Class* c : gClassManager->GetAllClasses())
        delete c;
    delete gClassManager;
    gClassManager = nullptr;
}

void ClassManager::RegisterClass(Class* newClass)
{
    const std::string& className = newClass->GetName();
    MAKO_ASSERT_MSG(m_ClassTable[className.c_str()].IsNil(),
                    boost::str(boost::format("\"%1%\" has already been registered with the "
                                             "ClassManager.") %
                               className));
    LuaObject classObject = m_ClassTable.CreateTable(className);
    classObject.SetLightUserData("instance", newClass);
    classObject.SetCFunction("canInstantiate", CanInstantiateBody);
    newClass->m_ClassObject = classObject;
}

void ClassManager::UnregisterClass(Class* oldClass)
{
    const std::string& className = oldClass->GetName();
    if (ClassOfTable(m_ClassTable.RawGet(className)) == oldClass)
        m_ClassTable.SetNil(className);
    oldClass->m_ClassObject.Reset();
}

std::vector<Class*> ClassManager::GetAllClasses() const
{
    std::vector<Class*> classes;
    for (const LuaObject& key : GetOrderedKeys(m_ClassTable)) {
        if (Class* c = ClassOfTable(m_ClassTable.RawGet(key)))
            classes.push_back(c);
    }
    return classes;
}

void ClassManager::InitializeClasses()
{
    const std::vector<Class*> classes = GetAllClasses();
    for (Class* c : classes) {
        if (c->m_Parent || c->GetParentName() == "NULL")
            continue;
        Class* parent = GetClass(c->GetParentName(), false);
        parent->AddSubClass(c);
        c->m_Parent = parent;
    }
    for (Class* c : classes) {
        if (!c->m_Parent)
            RegisterPropertiesDepthFirst(*c);
    }
}

void ClassManager::RegisterPropertiesDepthFirst(Class& c)
{
    if (!c.m_PropertiesRegistered) {
        c.m_PropertiesRegistered = true;
        if (c.m_PropertyRegistrationFunction)
            c.m_PropertyRegistrationFunction(c);
    }
    const std::vector<Class*> subClasses = c.GetSubClasses();
    for (Class* subClass : subClasses)
        RegisterPropertiesDepthFirst(*subClass);
}

Class* ClassManager::GetClass(const std::string& name, bool allowMissing) const
{
    LuaObject classObject = m_ClassTable.RawGet(name);
    if (allowMissing)
        return ClassOfTable(classObject);
    // The name often comes from data (a level's `class =`): a missing class is a plain error.
    if (!classObject.IsTable())
        MAKO_THROW(ClassNotFoundException,
                   boost::str(boost::format("Could not find class with name \"%1%\"") % name));
    MAKO_ASSERT_MSG(
        classObject["instance"].IsUserData(),
        boost::str(boost::format("The entry \"%1%\" of Classes is not a class.") % name));
    return ClassOfTable(classObject);
}

Object* ClassManager::InstantiateObject(const LuaObject& paramTable)
{
    // The table comes from data as often as from the game: what it lacks is a sentence.
    if (!paramTable.IsTable())
        MAKO_THROW(DataError, "An object is made from a table, not from " +
                                  DescribeScriptValue(paramTable) + ".");
    LuaObject className = paramTable["class"];
    Class* c = className.IsString() ? GetClass(className.GetString(), true)
                                    : FindClassInResourceTree(paramTable);
    // A name the table gives is data: one the game lacks is said, not asserted.
    if (!c && className.IsString())
        MAKO_THROW(ClassNotFoundException, "The table names the class \"" +
                                               ShortenedText(className.GetString()) +
                                               "\", which the game does not have.");
    if (!c)
        MAKO_THROW(DataError, "The table names no class, neither by itself nor by its resources.");
    return c->Instantiate(paramTable);
}

void ClassManager::InstantiateObjects(const LuaObject& paramTables, std::vector<Object*>& objects,
                                      LuaObject* keyTable, const std::string& owner)
{
    if (!paramTables.IsTable())
        MAKO_THROW_VALUE_TYPE("a table of object tables", paramTables);
    // The new objects are this call's until every one stands: a program's failure deletes
    // them and leaves the list as it was.
    std::vector<std::unique_ptr<Object>> made;
    int keyIndex = 1;
    for (const LuaObject& key : GetOrderedKeys(paramTables)) {
        LuaObject params = paramTables.RawGet(key);
        if (!params.IsTable())
            continue;
        // Each entry is one object made from data: one its data cannot make is left out.
        std::unique_ptr<Object> object;
        const auto subject = [&owner, &key] {
            return (owner.empty() ? std::string("An object list") : owner) + ", entry [" +
                   DataKeyText(key) + "]";
        };
        if (!ObjectBoundary::Guard(subject, "it is left out",
                                   [&] { object.reset(InstantiateObject(params)); }))
            continue;
        made.push_back(std::move(object));
        if (keyTable) {
            LuaObject entry = keyTable->CreateTable(keyIndex++);
            entry.SetObject("key", key);
        }
    }
    objects.reserve(objects.size() + made.size());
    for (std::unique_ptr<Object>& object : made)
        objects.push_back(object.release());
}

Class* FindClassInResourceTree(const LuaObject& params)
{
    LuaObject finder = GetGlobalLuaState()->GetGlobal("findKeysInResourceTree");
    std::vector<LuaObject> searchResult;
    try {
        searchResult = finder.CallMultiple("class", params);
    } catch (const LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
    if (searchResult.empty())
        return nullptr;
    const std::size_t n = searchResult.size() - 1;
    // The class a resource tree gives may come from data: what is wrong is a sentence.
    if (!searchResult[n].IsString())
        MAKO_THROW(ClassNotFoundException, "The class a table's resources give is " +
                                               DescribeScriptValue(searchResult[n]) +
                                               ", not the name of a class.");
    Class* c = ClassManager::GetInstance()->GetClass(searchResult[n].GetString(), true);
    if (!c)
        MAKO_THROW(ClassNotFoundException, "The table's resources name the class \"" +
                                               ShortenedText(searchResult[n].GetString()) +
                                               "\", which the game does not have.");
    return c;
}

// getPropertiesFromClassAndResourceNames(className, resources): the properties a new
// object of that class built from those resources would have.
MAKO_LUA_FUNCTION(getPropertiesFromClassAndResourceNames)
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    LuaObject params;
    params.AssignNewTable(state);
    params.SetObject("class", LuaObject(L, 1));
    params.SetObject("resources", LuaObject(L, 2));
    LuaObject debugFlag = state->GetGlobal("DebugPropertyReducer");
    if (debugFlag.IsBoolean() && debugFlag.GetBoolean()) {
        std::string text;
        SerializeToString(text, params, SERIALIZE_SORTED, state);
        Log("applying properties to dummy object = %s", text.c_str());
    }
    LuaObject properties;
    properties.AssignNewTable(state);
    {
        std::unique_ptr<Object> object(ClassManager::GetInstance()->InstantiateObject(params));
        object->RetrieveProperties(properties);
    }
    properties.Push(L);
    return 1;
}

// PrintClassTree(): the class tree below "Object", one class a line, four blanks deeper
// per level.
MAKO_LUA_FUNCTION(PrintClassTree)
{
    LogClassTree(*ClassManager::GetInstance()->GetClass("Object", false), "");
    return 0;
}

#include "core/Class.h"

#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/Object.h"
#include "core/ObjectBoundary.h"
#include "lua/MakoLuaState.h"

#include <boost/format.hpp>

#include <algorithm>

using LuaPlus::LuaObject;

namespace {

std::string DuplicateAccessorMessage(const char* kindWord, const std::string& className,
                                     const std::string& propertyName)
{
    return boost::str(boost::format("An attempt was made to register two property %1% with "
                                    "the same name in the same class.\nclass = %2%\n"
                                    "property name = %3%") %
                      kindWord % className % propertyName);
}

const PropertyAccessor* FindAccessor(const Class* start, const std::string& name,
                                     bool searchParents,
                                     const Class::AccessorMap& (Class::*mapOf)() const)
{
    for (const Class* c = start; c; c = searchParents ? c->GetParent() : nullptr) {
        const Class::AccessorMap& accessors = (c->*mapOf)();
        auto found = accessors.find(name);
        if (found != accessors.end())
            return found->second.get();
    }
    return MakeScriptPropertyAccessor();
}

} // namespace

Class::Class(const std::string& name, const std::string& parentName,
             PropertyRegistrationFunction registration, InstantiatorFunction instantiator)
    : m_Name(name), m_ParentName(parentName), m_PropertyRegistrationFunction(registration),
      m_InstantiatorFunction(instantiator)
{
    ClassManager::GetInstance()->RegisterClass(this);
}

Class::~Class()
{
    if (m_Parent) {
        auto& siblings = m_Parent->m_SubClasses;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Class* subClass : m_SubClasses)
        subClass->m_Parent = nullptr;
    if (m_ClassObject.IsSet() && ClassManager::Exists())
        ClassManager::GetInstance()->UnregisterClass(this);
}

void Class::RegisterPropertyGetter(PropertyAccessor* accessor)
{
    std::unique_ptr<PropertyAccessor> owned(accessor);
    MAKO_ASSERT(accessor != nullptr);
    const std::string& propertyName = accessor->name;
    MAKO_ASSERT_MSG(m_PropertyGetters.find(propertyName) == m_PropertyGetters.end(),
                    DuplicateAccessorMessage("getters", m_Name, propertyName));
    m_PropertyGetters.emplace(propertyName, std::move(owned));
}

void Class::RegisterPropertySetter(PropertyAccessor* accessor)
{
    std::unique_ptr<PropertyAccessor> owned(accessor);
    MAKO_ASSERT(accessor != nullptr);
    const std::string& propertyName = accessor->name;
    MAKO_ASSERT_MSG(m_PropertySetters.find(propertyName) == m_PropertySetters.end(),
                    DuplicateAccessorMessage("setters", m_Name, propertyName));
    m_PropertySetters.emplace(propertyName, std::move(owned));
}

const PropertyAccessor* Class::FindGetter(const std::string& name, bool searchParents) const
{
    return FindAccessor(this, name, searchParents, &Class::GetPropertyGetters);
}

const PropertyAccessor* Class::FindSetter(const std::string& name, bool searchParents) const
{
    return FindAccessor(this, name, searchParents, &Class::GetPropertySetters);
}

void Class::AddSubClass(Class* subClass)
{
    MAKO_ASSERT(subClass != nullptr);
    MAKO_ASSERT(IsA(subClass) == false);
    // Linking an ancestor below its own descendant would close a loop in the tree.
    MAKO_ASSERT_MSG(subClass->IsA(m_Name) == false,
                    boost::str(boost::format("The classes \"%1%\" and \"%2%\" are each other's "
                                             "ancestors.") %
                               m_Name % subClass->GetName()));
    m_SubClasses.push_back(subClass);
}

bool Class::IsA(const std::string& className) const
{
    if (m_Name == className)
        return true;
    for (const Class* subClass : m_SubClasses)
        if (subClass->IsA(className))
            return true;
    return false;
}

bool Class::DerivesFrom(const std::string& className) const
{
    for (const Class* c = this; c; c = c->GetParent())
        if (c->m_Name == className)
            return true;
    return false;
}

Object* Class::Instantiate(const LuaObject& params) const
{
    // A class named by data may be one that is never made by name (Powerup, Motion).
    if (!m_InstantiatorFunction)
        MAKO_THROW(DataError, "Objects of the class \"" + m_Name + "\" cannot be made by name.");
    return m_InstantiatorFunction(params);
}

Object* Class::InstantiateDefault() const
{
    LuaObject params;
    params.AssignNewTable(GetGlobalLuaState());
    return Instantiate(params);
}

void Class::BuildDefaults()
{
    LuaObject defaults;
    defaults.AssignNewTable(GetGlobalLuaState());
    {
        std::unique_ptr<Object> instance(InstantiateDefault());
        instance->RetrieveProperties(defaults);
    }
    defaults.SetNil("class");
    m_ClassObject.SetObject("defaults", defaults);
}

#pragma once
// The run-time class record of a scripted engine class: its name, its parent's name, the
// property accessors it declares, the function that declares them and the function that
// makes an instance from a script parameter table.
//
// Records register themselves with the ClassManager (core/ClassManager.h) when they are
// made, normally by a static definition (MAKO_IMPLEMENT_CLASS below) before the program's
// entry; the manager links them to their parents and runs their property registrations
// at engine start-up. A record lives until ClassManager::DestroyInstance, or until it is
// deleted; deleting one takes it out of the registry and out of its parent's subclasses.
//
// Main thread only.
#include "core/PropertyAccessor.h"
#include "luaplus/LuaPlus.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class Class;
class Object;

using PropertyRegistrationFunction = void (*)(Class& objectClass);
// Makes a new object from a parameter table; the caller owns it.
using InstantiatorFunction = Object* (*)(const LuaPlus::LuaObject& params);

class Class
{
public:
    using AccessorMap = std::unordered_map<std::string, std::unique_ptr<PropertyAccessor>>;

    // Registers the record under its name; a name already registered raises and nothing
    // is registered. parentName is "NULL" for a root.
    Class(const std::string& name, const std::string& parentName,
          PropertyRegistrationFunction registration, InstantiatorFunction instantiator);
    ~Class();
    Class(const Class&) = delete;
    Class& operator=(const Class&) = delete;

    const std::string& GetName() const MAKO_LIFETIMEBOUND { return m_Name; }
    const std::string& GetParentName() const MAKO_LIFETIMEBOUND { return m_ParentName; }
    Class* GetParent() const { return m_Parent; }
    const std::vector<Class*>& GetSubClasses() const MAKO_LIFETIMEBOUND { return m_SubClasses; }
    // The class's table in the script table `Classes` (instance, canInstantiate, defaults).
    const LuaPlus::LuaObject& GetClassObject() const MAKO_LIFETIMEBOUND { return m_ClassObject; }
    const AccessorMap& GetPropertyGetters() const MAKO_LIFETIMEBOUND { return m_PropertyGetters; }
    const AccessorMap& GetPropertySetters() const MAKO_LIFETIMEBOUND { return m_PropertySetters; }

    // Take ownership of the accessor and file it under its name. A second accessor of the
    // same name in this class raises (and is deleted); a subclass may hide a parent's.
    void RegisterPropertyGetter(PropertyAccessor* accessor);
    void RegisterPropertySetter(PropertyAccessor* accessor);
    // This class's accessor of that name, else (when asked) the nearest parent's, else the
    // shared default accessor (ACCESSOR_DEFAULT). Never null.
    const PropertyAccessor* FindGetter(const std::string& name, bool searchParents) const;
    const PropertyAccessor* FindSetter(const std::string& name, bool searchParents) const;

    // Links a direct subclass. A class of that name already below this one, or a link that
    // would make a class its own ancestor, raises.
    void AddSubClass(Class* subClass);
    // True when this class or any class below it has that name (the given class's name).
    bool IsA(const std::string& className) const;
    bool IsA(const Class* other) const { return IsA(other->GetName()); }
    // True when this class is the named one or derives from it (the run-time type test
    // of objects made from scripts, subclasses included).
    bool DerivesFrom(const std::string& className) const;

    bool CanInstantiate() const { return m_InstantiatorFunction != nullptr; }
    // A new object from the parameter table (the caller owns it). A class without an
    // instantiator raises.
    Object* Instantiate(const LuaPlus::LuaObject& params) const;
    // A new object from an empty parameter table.
    Object* InstantiateDefault() const;
    // Stores the properties of a fresh default instance (without "class") as `defaults` in
    // the class's table, where resource trees find them as their first layer.
    void BuildDefaults();

private:
    friend class ClassManager;

    std::string m_Name;
    std::string m_ParentName;
    AccessorMap m_PropertyGetters;
    AccessorMap m_PropertySetters;
    Class* m_Parent = nullptr;
    std::vector<Class*> m_SubClasses;
    LuaPlus::LuaObject m_ClassObject;
    PropertyRegistrationFunction m_PropertyRegistrationFunction;
    InstantiatorFunction m_InstantiatorFunction;
    bool m_PropertiesRegistered = false; // the registration function has run
};

// The instantiator every instantiable class uses: a default-constructed T, the parameter
// table applied, Initialize; an object that fails on the way is deleted and the failure
// passes on.
template <typename T> Object* InstantiateObjectOfClass(const LuaPlus::LuaObject& params)
{
    std::unique_ptr<T> object(new T());
    object->ApplyProperties(params);
    object->Initialize();
    return object.release();
}

// Registers a member as a property that scripts both read and set:
//   RegisterMemberProperty<PROPERTY_FLOAT>(c, &MotionRotate::m_Angle, "angle");
template <int Id, typename C, typename M>
void RegisterMemberProperty(Class& c, M C::*member, const std::string& name)
{
    c.RegisterPropertyGetter(MakeMemberAccessor<Id>(member, name));
    c.RegisterPropertySetter(MakeMemberAccessor<Id>(member, name));
}

// Inside the body of a registered class derived from Object:
//   class Actor : public Object { MAKO_DECLARE_CLASS(); ... };
#define MAKO_DECLARE_CLASS()                                                                       \
public:                                                                                            \
    Class* GetClass() const override;                                                              \
    static Class* GetStaticClass()

// In the class's source file, at namespace scope: defines the record and registers it
// before the program's entry.
//   MAKO_IMPLEMENT_CLASS(Actor, "Actor", "Object", &Actor::RegisterProperties,
//                        &InstantiateObjectOfClass<Actor>);
#define MAKO_IMPLEMENT_CLASS(Type, name, parentName, registration, instantiator)                   \
    Class* Type::GetStaticClass()                                                                  \
    {                                                                                              \
        static Class* const record = new Class(name, parentName, registration, instantiator);      \
        return record;                                                                             \
    }                                                                                              \
    Class* Type::GetClass() const                                                                  \
    {                                                                                              \
        return GetStaticClass();                                                                   \
    }                                                                                              \
    [[maybe_unused]] static Class* const Type##_ClassRecord = Type::GetStaticClass()

#pragma once
// The class registry: every class record under its name in the script table `Classes`
// (in the engine's script state), the start-up step that links classes to their parents
// and runs their property registrations from the root down, and the creation of objects
// from script tables whose `class` entry (or whose inherited resources) names the class.
//
// Main thread only.
#include "luaplus/LuaPlus.h"

#include <string>
#include <vector>

class Class;
class Object;

class ClassManager
{
public:
    // The one manager, made (with the table `Classes`) on the first call.
    static ClassManager* GetInstance();
    // Deletes every class record in the registry, then the manager (engine shut-down).
    static void DestroyInstance();
    // Whether the manager exists now (without making it).
    static bool Exists();

    // Files the class under its name with its script table {instance, canInstantiate}.
    // A name already registered raises; the registry is then unchanged.
    void RegisterClass(Class* newClass);
    // Takes the class out of `Classes` (when it is the record filed there); records call
    // it as they are deleted.
    void UnregisterClass(Class* oldClass);

    // The start-up step: links every class not yet linked to its parent (a parent that is
    // not registered raises ClassNotFoundException), then runs, root first and depth first,
    // every property registration that has not run yet, so a class's accessors are always
    // declared after its parent's. Classes are visited in order of their names, so the
    // result does not depend on script table order. Safe to run again for classes
    // registered later.
    void InitializeClasses();

    // The class of that name. Missing: null when allowMissing, else ClassNotFoundException.
    Class* GetClass(const std::string& name, bool allowMissing = false) const;

    // A new object (the caller owns it) of the class the table names by its `class`
    // entry, else by the last `class` found in its resource tree.
    Object* InstantiateObject(const LuaPlus::LuaObject& params);
    // An object for every entry of the table whose value is a table, in a fixed key order
    // (numbers ascending, then names); with a key table, entry i of it is {key = <key of
    // the i-th object>}. Each entry is one object made from data (core/ObjectBoundary): an
    // entry its data cannot make is left out, named once with owner (what the list
    // belongs to, `Actor "Menu"`) and its key. When the program fails (a failed check), the
    // objects this call made are deleted and taken off the list again, and the failure
    // passes on.
    void InstantiateObjects(const LuaPlus::LuaObject& paramTables, std::vector<Object*>& objects,
                            LuaPlus::LuaObject* keyTable = nullptr,
                            const std::string& owner = std::string());

    // The script table `Classes`.
    const LuaPlus::LuaObject& GetClassTable() const MAKO_LIFETIMEBOUND { return m_ClassTable; }
    // Every registered class, ordered by name.
    std::vector<Class*> GetAllClasses() const;

private:
    ClassManager();
    ~ClassManager() = default;
    // Runs the property registrations not yet run of the class and every class below it,
    // each class before its subclasses (in their linking order).
    static void RegisterPropertiesDepthFirst(Class& c);

    LuaPlus::LuaObject m_ClassTable;
};

// The most derived class named in the parameter table's resource tree (script function
// findKeysInResourceTree); null when none is named.
Class* FindClassInResourceTree(const LuaPlus::LuaObject& params);

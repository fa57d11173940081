#pragma once
// Object: the base of every scripted engine object (the application, actors, screens,
// dialogs, motions, fonts, play-field objects, game logic).
//
// An object has a run-time class (core/Class.h), a name, named properties that scripts
// read and write through a proxy value, a script table for properties no class declares,
// named states of which one is current, and observers per event type. Its event entry
// offers an event to the current state first and then routes it by type.
//
// Lua: everything lives in the application's script state (GetGlobalLuaState). Nothing
// touches Lua until a property, the proxy or the script table is first needed. The proxy
// is a full user data; when the object dies the proxy is cleared, so a script that kept it
// gets a script error naming the object's class instead of reaching freed memory.
//
// Main thread only.
#include "core/EventReceiver.h"
#include "core/EventRouter.h"
#include "luaplus/LuaPlus.h"

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class Class;
class State;
class Resource;
class ResourceInfo;

class Object : public EventReceiver, public EventRouter
{
public:
    Object();
    ~Object() override;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // The current state's HandleEvent first; when it does not consume the event, the
    // object's own RouteEvent.
    bool OnEvent(const Event& event) override;
    // The object's class record; every registered class returns its own.
    virtual Class* GetClass() const;
    // Called by instantiators once the parameter table has been applied.
    virtual void Initialize() {}
    // Ticks the current state; nothing without one.
    virtual void Tick();
    // table[functionName]: a function is called with this object's proxy as its only
    // argument and its first result returned; any other value is returned as it is (nil
    // when missing).
    virtual void CallScriptMethod(LuaPlus::LuaObject& result, const LuaPlus::LuaObject& table,
                                  const char* functionName);
    // Writes one property by the kind of the setter found through the class chain. A
    // locked property raises Exception and leaves the object unchanged.
    virtual void ApplyProperty(const std::string& name, const LuaPlus::LuaObject& value);
    // Properties a class handles by hand (classic accessors). Empty in the base.
    virtual void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) {}
    // Applies every entry of a parameter table through the script function
    // applyPropertiesToObject: "resource" and "resources" first, the others after in a
    // fixed order. A non-table or an empty table does nothing (and needs no script). A
    // failing property raises its exception out of this call (instantiators rely on it to
    // discard half-made objects); so does a missing applyPropertiesToObject.
    virtual void ApplyProperties(const LuaPlus::LuaObject& table);
    // Every member property of the object's own class, then the classic ones, then the
    // script table's fields.
    virtual void RetrieveAllProperties(LuaPlus::LuaObject& table);
    // The entry `name` of a fresh table filled by RetrieveClassicProperties.
    virtual void RetrieveClassicProperty(LuaPlus::LuaObject& value, const std::string& name);
    // Writes "name" (only when not empty) and "class".
    virtual void RetrieveClassicProperties(LuaPlus::LuaObject& table);
    // "class", "name", then every script-table field.
    virtual void RetrieveProperties(LuaPlus::LuaObject& table);
    // Applies a loaded resource; the base takes table resources only, applying their
    // table with ApplyProperties.
    virtual void ApplyResource(const std::string& name, Resource* resource, ResourceInfo* info);
    // Adds an observer for an event type: NotifyObservers then posts to it.
    virtual void AddObserver(int eventType, Object* observer);

    const std::string& GetName() const MAKO_LIFETIMEBOUND { return m_Name; }

    // States. AddState takes ownership and files the state under its GetName (a state of
    // the same name replaces the entry, and the replaced state is deleted unless it is the
    // current one, which stays alive until the object dies). SetState leaves the current
    // state and enters the named one; an unknown name raises and changes nothing.
    void AddState(State* state);
    void SetState(const std::string& name);
    std::string GetStateName() const;
    State* GetCurrentState() const { return m_CurrentState; }

    // The script table: created on first write; reads without a table give nil.
    void SetScriptField(const std::string& key, const LuaPlus::LuaObject& value);
    void GetScriptField(LuaPlus::LuaObject& value, const std::string& key) const;
    LuaPlus::LuaObject GetScriptField(const std::string& key) const
    {
        LuaPlus::LuaObject value;
        GetScriptField(value, key);
        return value;
    }

    // The object's proxy, created on first use.
    void GetLuaObject(LuaPlus::LuaObject& out);
    LuaPlus::LuaObject GetLuaObject();
    // The live object a proxy stands for; null for any other value. A proxy whose object
    // died raises a script-style Exception naming the class.
    static Object* GetObjectFromLua(const LuaPlus::LuaObject& value);

    // Reads one property by the kind of the getter found through the class chain.
    void RetrieveProperty(LuaPlus::LuaObject& value, const std::string& name);

    // Typed conveniences over ApplyProperty and RetrieveProperty. A pointer travels as
    // light user data.
    void ApplyIntProperty(const std::string& name, int value);
    void ApplyBoolProperty(const std::string& name, bool value);
    void ApplyStringProperty(const std::string& name, const std::string& value);
    void ApplyPointerProperty(const std::string& name, void* value);
    int RetrieveIntProperty(const std::string& name);
    bool RetrieveBoolProperty(const std::string& name);
    std::string RetrieveStringProperty(const std::string& name);
    void* RetrievePointerProperty(const std::string& name);

    // Acquires the named resource from the current resource manager and applies it
    // (ApplyResource); no manager, or an unknown name, raises. So does a resource that
    // comes round again while it is being applied to this object (it names itself through
    // its resources): it is refused rather than applied without end.
    void AcquireAndApplyResource(const std::string& name);
    // Records the resources an object was built from under "resources" (once, and only for
    // the outermost resources applied).
    void TryToRecordResource(const LuaPlus::LuaObject& value);
    // The functions of the properties "resource" and "resources".
    void ApplyResourceProperty(const LuaPlus::LuaObject& value);
    void ApplyResourcesProperty(const LuaPlus::LuaObject& value);

    // Posts eventType to every observer of that type, each event carrying a shared
    // reference on the payload (released when the last event is done with it). Observers
    // that died since they were added are skipped.
    void NotifyObservers(int eventType, const boost::shared_ptr<void>& payload);
    template <typename T> void NotifyObservers(int eventType, T* payload)
    {
        NotifyObservers(eventType, boost::shared_ptr<void>(boost::shared_ptr<T>(payload)));
    }

    // Whether a parameter table can only take effect on a new object rather than on this
    // one (script function objectPropertiesRequireObjectRecreation). Script failures raise.
    bool PropertiesRequireRecreation(const LuaPlus::LuaObject& table);

    // The property registration of the class "Object".
    static void RegisterProperties(Class& objectClass);

private:
    using StateMap = std::unordered_map<std::string, std::unique_ptr<State>>;

    LuaPlus::LuaObject& RequireScriptTable() MAKO_LIFETIMEBOUND;

    std::unique_ptr<LuaPlus::LuaObject> m_LuaObject;   // the proxy; null until asked
    std::unique_ptr<LuaPlus::LuaObject> m_ScriptTable; // null until first written
    State* m_CurrentState = nullptr;
    std::unique_ptr<StateMap> m_States; // null until the first state is added
    // States replaced in the map while current; kept alive until the object dies.
    std::unique_ptr<std::vector<std::unique_ptr<State>>> m_RetiredStates;
    int m_ResourceDepth = 0; // ApplyResource calls of this object now running
    std::string m_Name;
};

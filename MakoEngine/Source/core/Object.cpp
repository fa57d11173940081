#include "core/Object.h"

#include "core/Class.h"
#include "core/DataReport.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/ObjectDescription.h"
#include "core/ObjectProxy.h"
#include "core/PropertyAccessor.h"
#include "core/ResourceAccess.h"
#include "core/State.h"
#include "core/TableOrder.h"
#include "core/ValueTypeError.h"
#include "core/WorkMeter.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <boost/format.hpp>

#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>
#include <utility>
#include <vector>

using LuaPlus::LuaException;
using LuaPlus::LuaObject;

namespace {

LuaPlus::LuaState* EngineState()
{
    return GetGlobalLuaState();
}

LuaObject Nil()
{
    return LuaObject(EngineState());
}

// The demangled run-time type name of the object ("GameScreen").
std::string RunTimeTypeName(const Object& object)
{
    const char* mangled = typeid(object).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = (status == 0 && demangled) ? demangled : mangled;
    std::free(demangled);
    return name;
}

// The script function of that name; a missing one raises naming it.
LuaObject ScriptFunction(const char* name)
{
    LuaObject function = EngineState()->GetGlobal(name);
    MAKO_ASSERT_MSG(function.IsFunction(),
                    boost::str(boost::format("The script function %1% is not loaded.") % name));
    return function;
}

// Keeps the resource depth counted while an ApplyResource runs, also when it raises.
class ResourceDepthScope
{
public:
    explicit ResourceDepthScope(int& depth) : m_Depth(depth) { ++m_Depth; }
    ~ResourceDepthScope() { --m_Depth; }

private:
    int& m_Depth;
};

// The resources now being applied, innermost last, each with the object it is applied to.
// Applications nest strictly (a resource's table applies the resources it names), so a
// name that comes round again for the same object names itself through its resources.
std::vector<std::pair<const Object*, std::string>>& ResourcesBeingApplied()
{
    static std::vector<std::pair<const Object*, std::string>> applying;
    return applying;
}

// Files one resource as being applied to an object while it lives; a resource already
// being applied to that object raises instead of recursing without end.
class ResourceApplicationScope
{
public:
    ResourceApplicationScope(const Object& object, const std::string& name)
    {
        for (const auto& entry : ResourcesBeingApplied())
            MAKO_ASSERT_MSG(entry.first != &object || entry.second != name,
                            boost::str(boost::format("The resource \"%1%\" names itself through "
                                                     "its resources.") %
                                       name));
        ResourcesBeingApplied().emplace_back(&object, name);
    }
    ~ResourceApplicationScope() { ResourcesBeingApplied().pop_back(); }
    ResourceApplicationScope(const ResourceApplicationScope&) = delete;
    ResourceApplicationScope& operator=(const ResourceApplicationScope&) = delete;
};

Class* ObjectClass()
{
    static Class* const record = new Class("Object", "NULL", &Object::RegisterProperties, nullptr);
    return record;
}

[[maybe_unused]] Class* const gObjectClassRecord = ObjectClass();

// ApplyProperty's work: acts by the kind of the setter found through the class chain.
void ApplyBySetter(Object& object, const std::string& name, const LuaObject& value)
{
    const PropertyAccessor* setter = object.GetClass()->FindSetter(name, true);
    switch (setter->kind) {
    case ACCESSOR_FUNCTION:
        setter->function(object, value);
        break;
    case ACCESSOR_CLASSIC:
        object.ApplyClassicProperty(name, value);
        break;
    case ACCESSOR_SCRIPT:
    case ACCESSOR_DEFAULT:
        object.SetScriptField(name, value);
        break;
    case ACCESSOR_LOCKED:
        MAKO_THROW(ApplyPropertyError, "Cannot apply the locked property, \"" + name + "\". " +
                                           DescribeObject(object) + ": \"" + name +
                                           "\" cannot be set; it is read-only.");
    case ACCESSOR_MEMBER:
        SetMemberProperty(object, *setter, value);
        break;
    case ACCESSOR_IGNORED:
    default:
        break;
    }
}

} // namespace

Object::Object() = default;

Object::~Object()
{
    // States die with the object; the current one is not exited.
    m_CurrentState = nullptr;
    m_States.reset();
    m_RetiredStates.reset();
    if (m_LuaObject)
        ObjectProxy::Detach(*m_LuaObject);
    // Events still queued for this object are dropped by ~EventReceiver.
}

Class* Object::GetClass() const
{
    return ObjectClass();
}

bool Object::OnEvent(const Event& event)
{
    if (m_CurrentState && m_CurrentState->HandleEvent(event))
        return true;
    return RouteEvent(event);
}

void Object::Tick()
{
    if (m_CurrentState)
        m_CurrentState->Tick();
}

// ---- States ------------------------------------------------------------------------

void Object::AddState(State* state)
{
    std::unique_ptr<State> owned(state);
    MAKO_ASSERT(state != nullptr);
    if (!m_States)
        m_States.reset(new StateMap);
    std::unique_ptr<State>& slot = (*m_States)[state->GetName()];
    if (slot && slot.get() == m_CurrentState) {
        if (!m_RetiredStates)
            m_RetiredStates.reset(new std::vector<std::unique_ptr<State>>);
        m_RetiredStates->push_back(std::move(slot));
    }
    slot = std::move(owned);
}

void Object::SetState(const std::string& name)
{
    State* next = nullptr;
    if (m_States) {
        auto found = m_States->find(name);
        if (found != m_States->end())
            next = found->second.get();
    }
    if (!next)
        MAKO_THROW(Exception, boost::str(boost::format("Could not find state \"%1%\" in \"%2%\"") %
                                         name % RunTimeTypeName(*this)));
    if (m_CurrentState)
        m_CurrentState->OnExitState();
    m_CurrentState = next;
    m_CurrentState->OnEnterState();
}

std::string Object::GetStateName() const
{
    if (!m_CurrentState)
        MAKO_THROW(Exception, DescribeObject(*this) + " has no current state.");
    return m_CurrentState->GetName();
}

// ---- Script table and proxy -----------------------------------------------------------

LuaObject& Object::RequireScriptTable() MAKO_LIFETIMEBOUND
{
    if (!m_ScriptTable) {
        m_ScriptTable.reset(new LuaObject);
        m_ScriptTable->AssignNewTable(EngineState());
    }
    return *m_ScriptTable;
}

void Object::SetScriptField(const std::string& key, const LuaObject& value)
{
    RequireScriptTable().RawSetObject(key, value);
}

void Object::GetScriptField(LuaObject& value, const std::string& key) const
{
    if (m_ScriptTable)
        value = m_ScriptTable->RawGet(key);
    else
        value = Nil();
}

void Object::GetLuaObject(LuaObject& out)
{
    if (!m_LuaObject)
        m_LuaObject.reset(new LuaObject(ObjectProxy::Create(EngineState(), this)));
    ObjectProxy::RefreshClassName(*m_LuaObject, *this);
    out = *m_LuaObject;
}

LuaObject Object::GetLuaObject()
{
    LuaObject proxy;
    GetLuaObject(proxy);
    return proxy;
}

Object* Object::GetObjectFromLua(const LuaObject& value)
{
    return ObjectProxy::GetObject(value);
}

// ---- Properties -------------------------------------------------------------------------

void Object::ApplyProperty(const std::string& name, const LuaObject& value)
{
    // A property applied from a table is a step of the walk over that table's values, made
    // by the game's scripts: it counts against the open WorkMeter like a native walk's step.
    WorkMeter::Charge();
    try {
        ApplyBySetter(*this, name, value);
    } catch (const ValueTypeError& e) {
        // A value read from data inside a place is reported and the property keeps its
        // value; anywhere else the error names the property and this object.
        const ValueTypeError named = e.ForKey(DescribeObject(*this), name);
        if (!DataReport::InPlace())
            throw named;
        DataReport::Report(named.GetSubject(), named.GetDetail() + "; the default is used");
    }
}

void Object::RetrieveProperty(LuaObject& value, const std::string& name)
{
    const PropertyAccessor* getter = GetClass()->FindGetter(name, true);
    switch (getter->kind) {
    case ACCESSOR_CLASSIC:
        RetrieveClassicProperty(value, name);
        break;
    case ACCESSOR_SCRIPT:
    case ACCESSOR_DEFAULT:
        GetScriptField(value, name);
        break;
    case ACCESSOR_MEMBER:
        GetMemberProperty(*this, value, *getter);
        break;
    case ACCESSOR_IGNORED:
        value = Nil();
        break;
    case ACCESSOR_LOCKED:
        MAKO_THROW(ApplyPropertyError, "Cannot apply the invalid property, \"" + name + "\". " +
                                           DescribeObject(*this) + ": \"" + name +
                                           "\" cannot be read; it can only be set.");
    case ACCESSOR_FUNCTION:
    default:
        MAKO_THROW(ApplyPropertyError, DescribeObject(*this) + ": \"" + name +
                                           "\" cannot be read; it can only be set.");
    }
}

void Object::ApplyProperties(const LuaObject& table)
{
    if (!table.IsTable())
        return;
    // An empty table applies nothing, and needs no script: class defaults are built from
    // empty tables at start-up, before the resource script is loaded.
    if (!LuaPlus::LuaTableIterator(table))
        return;
    LuaObject apply = ScriptFunction("applyPropertiesToObject");
    try {
        apply.Call(GetLuaObject(), table);
    } catch (const LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
}

void Object::RetrieveAllProperties(LuaObject& table)
{
    for (const auto& entry : GetClass()->GetPropertyGetters()) {
        if (entry.second->kind != ACCESSOR_MEMBER)
            continue;
        LuaObject value;
        GetMemberProperty(*this, value, *entry.second);
        table.SetObject(entry.first, value);
    }
    RetrieveClassicProperties(table);
    if (m_ScriptTable)
        for (LuaPlus::LuaTableIterator it(*m_ScriptTable); it; it.Next())
            table.SetObject(it.GetKey(), it.GetValue());
}

void Object::RetrieveClassicProperty(LuaObject& value, const std::string& name)
{
    LuaObject classic;
    classic.AssignNewTable(EngineState());
    RetrieveClassicProperties(classic);
    value = classic.RawGet(name);
}

void Object::CallScriptMethod(LuaObject& result, const LuaObject& table, const char* functionName)
{
    LuaObject found = table[functionName];
    if (!found.IsFunction()) {
        result = found.IsSet() ? found : Nil();
        return;
    }
    try {
        result = found.Call(GetLuaObject());
    } catch (const LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
}

// ---- Typed conveniences ------------------------------------------------------------------

void Object::ApplyIntProperty(const std::string& name, int value)
{
    ApplyProperty(name, LuaObject(EngineState()).AssignInteger(EngineState(), value));
}

void Object::ApplyBoolProperty(const std::string& name, bool value)
{
    ApplyProperty(name, LuaObject(EngineState()).AssignBoolean(EngineState(), value));
}

void Object::ApplyStringProperty(const std::string& name, const std::string& value)
{
    ApplyProperty(name, LuaObject(EngineState()).AssignString(EngineState(), value));
}

void Object::ApplyPointerProperty(const std::string& name, void* value)
{
    ApplyProperty(name, LuaObject(EngineState()).AssignLightUserData(EngineState(), value));
}

int Object::RetrieveIntProperty(const std::string& name)
{
    LuaObject value;
    RetrieveProperty(value, name);
    return ReadIntegerFromObject(value);
}

bool Object::RetrieveBoolProperty(const std::string& name)
{
    LuaObject value;
    RetrieveProperty(value, name);
    return ReadBooleanFromObject(value);
}

std::string Object::RetrieveStringProperty(const std::string& name)
{
    LuaObject value;
    RetrieveProperty(value, name);
    return ReadStringFromObject(value);
}

void* Object::RetrievePointerProperty(const std::string& name)
{
    LuaObject value;
    RetrieveProperty(value, name);
    return ReadPointerFromObject(value);
}

// ---- Resources ----------------------------------------------------------------------------

void Object::ApplyResource(const std::string& name, Resource* resource, ResourceInfo* info)
{
    ResourceDepthScope depth(m_ResourceDepth);
    int type = 0;
    const LuaObject* table = GetResourceAccess().GetPropertyTable(resource, info, &type);
    if (!table)
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("Cannot apply resource of type %1% to object %2%\n"
                                            "%3%: the resource \"%4%\" is not a table of "
                                            "properties, so it cannot be applied.") %
                              type % m_Name % DescribeObject(*this) % name));
    ApplyProperties(*table);
}

void Object::AcquireAndApplyResource(const std::string& name)
{
    ResourceApplicationScope applying(*this, name);
    ResourceInfo* info = nullptr;
    Resource* resource = GetResourceAccess().Acquire(name, &info);
    ApplyResource(name, resource, info);
}

void Object::TryToRecordResource(const LuaObject& value)
{
    if (m_ResourceDepth >= 2)
        return;
    LuaObject recorded;
    GetScriptField(recorded, "resources");
    if (!recorded.IsNil())
        return;
    if (value.IsString()) {
        LuaObject list;
        list.AssignNewTable(EngineState());
        list.SetObject(1, value);
        SetScriptField("resources", list);
    } else if (value.IsTable()) {
        SetScriptField("resources", value);
    } else {
        MAKO_THROW_VALUE_TYPE_SAYING(std::string("Cannot record unknown record resource type: ") +
                                         value.TypeName(),
                                     "a resource name or a table of them", value);
    }
}

bool Object::PropertiesRequireRecreation(const LuaObject& table)
{
    LuaObject decide = EngineState()->GetGlobal("objectPropertiesRequireObjectRecreation");
    try {
        return decide.Call(GetLuaObject(), table).GetBoolean();
    } catch (const LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
}

// ---- Observers ----------------------------------------------------------------------------

void Object::AddObserver(int eventType, Object* observer)
{
    MAKO_ASSERT(observer != nullptr);
    LuaObject observers;
    RetrieveProperty(observers, "observers");
    if (observers.IsNil()) {
        observers.AssignNewTable(EngineState());
        ApplyProperty("observers", observers);
    }
    LuaObject list = observers[eventType];
    if (list.IsNil())
        list = observers.CreateTable(eventType);
    // The observer's proxy is the box of its pointer: it is cleared when the observer
    // dies, so a dead observer is never posted to.
    list.SetObject(list.GetCount() + 1, observer->GetLuaObject());
}

void Object::NotifyObservers(int eventType, const boost::shared_ptr<void>& payload)
{
    LuaObject observers;
    RetrieveProperty(observers, "observers");
    if (!observers.IsTable())
        return;
    LuaObject list = observers[eventType];
    if (!list.IsTable())
        return;
    for (const LuaObject& key : GetOrderedKeys(list)) {
        Object* observer = ObjectProxy::GetLiveObjectOrNull(list.RawGet(key));
        if (observer)
            GetPostedEventQueue().PostShared(static_cast<std::uint8_t>(eventType), observer, this,
                                             payload);
    }
}

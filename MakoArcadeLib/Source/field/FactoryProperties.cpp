// Factory: the properties level and resource tables set and scripts read.
#include "field/Factory.h"

#include "core/Class.h"
#include "core/DataLists.h"
#include "core/DataReport.h"
#include "core/ObjectDescription.h"
#include "core/PropertyAccessor.h"

using LuaPlus::LuaObject;

namespace {

// The trigger and creation lists: parsed by ApplyClassicProperty, kept as given in the
// factory's script table for reading back.
const char* const kListProperties[] = {"hitTriggers", "destroyTriggers", "locationTriggers",
                                       "timeTriggers", "creations"};

// A wrong Lua type leaves the field's default, entry by entry and key by key.
void ReadNumber(const LuaObject& entry, const char* key, double& out)
{
    const LuaObject value = entry[key];
    if (value.IsNumber())
        out = value.GetNumber();
}

void ReadInt(const LuaObject& entry, const char* key, int& out)
{
    const LuaObject value = entry[key];
    if (value.IsNumber())
        out = value.GetInteger();
}

void ReadBool(const LuaObject& entry, const char* key, bool& out)
{
    const LuaObject value = entry[key];
    if (value.IsBoolean())
        out = value.GetBoolean();
}

void ReadPoint(const LuaObject& entry, const char* key, Vector2D& out)
{
    const LuaObject value = entry[key];
    if (!value.IsTable())
        return;
    const Point<double> point(value, key);
    out = Vector2D(point.x, point.y);
}

void ReadNames(const LuaObject& entry, const char* key, Factory::NameSet& out)
{
    const LuaObject value = entry[key];
    if (!value.IsTable())
        return;
    for (LuaPlus::LuaTableIterator it(value); it; it.Next())
        if (it.GetValue().IsString())
            out.insert(it.GetValue().GetString());
}

// The records of a list of tables; an element that is not a table is reported (naming the
// factory and the list's key) and left out. parse returns false for a record it leaves out.
template <typename Record, typename Parse>
void ParseList(const Factory& factory, const char* name, const LuaObject& table,
               std::vector<Record>& out, Parse parse)
{
    out.clear();
    const std::string subject = DescribeObject(factory);
    for (const auto& [key, entry] : DataListTables(table, subject, name)) {
        Record record;
        if (parse(entry, record, subject, std::string(name) + "[" + DataKeyText(key) + "]"))
            out.push_back(record);
    }
}

// A trigger list: every table is a trigger, its keys read by read (a wrong Lua type leaves
// the key's default).
template <typename Record, typename Read>
void ParseTriggers(const Factory& factory, const char* name, const LuaObject& table,
                   std::vector<Record>& out, Read read)
{
    ParseList(factory, name, table, out,
              [&read](const LuaObject& e, Record& r, const std::string&, const std::string&) {
                  read(e, r);
                  return true;
              });
}

} // namespace

void Factory::RegisterProperties(Class& c)
{
    for (const char* name : kListProperties) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Factory::m_Simultaneous, "simultaneous");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Factory::m_Random, "random");
    RegisterMemberProperty<PROPERTY_INT>(c, &Factory::m_NumCreations, "numCreations");
    RegisterMemberProperty<PROPERTY_INT>(c, &Factory::m_CurrentObject, "currentObject");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Factory::m_DestroyOnLastCreate,
                                          "destroyOnLastCreate");
    RegisterMemberProperty<PROPERTY_INT>(c, &Factory::m_CreationDelay, "creationDelay");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Factory::m_MoveWithinWalls, "moveWithinWalls");
}

void Factory::ParseHitTriggers(const LuaObject& table)
{
    ParseTriggers(*this, "hitTriggers", table, m_HitTriggers,
                  [](const LuaObject& e, HitTrigger& t) {
                      ReadInt(e, "edges", t.edges);
                      ReadNames(e, "hittableClasses", t.hittableClasses);
                      ReadNumber(e, "chance", t.chance);
                      ReadInt(e, "repetitions", t.repetitions);
                  });
}

void Factory::ParseDestroyTriggers(const LuaObject& table)
{
    ParseTriggers(*this, "destroyTriggers", table, m_DestroyTriggers,
                  [](const LuaObject& e, DestroyTrigger& t) {
                      ReadNames(e, "destroyableClasses", t.destroyableClasses);
                      ReadNumber(e, "chance", t.chance);
                      ReadInt(e, "repetitions", t.repetitions);
                  });
}

void Factory::ParseLocationTriggers(const LuaObject& table)
{
    ParseTriggers(*this, "locationTriggers", table, m_LocationTriggers,
                  [](const LuaObject& e, LocationTrigger& t) {
                      ReadPoint(e, "center", t.center);
                      ReadPoint(e, "locationVariance", t.locationVariance);
                      ReadNumber(e, "distance", t.distance);
                      ReadNumber(e, "chance", t.chance);
                      ReadInt(e, "repetitions", t.repetitions);
                  });
}

void Factory::ParseTimeTriggers(const LuaObject& table)
{
    ParseTriggers(*this, "timeTriggers", table, m_TimeTriggers,
                  [](const LuaObject& e, TimeTrigger& t) {
                      ReadNumber(e, "duration", t.duration);
                      ReadNumber(e, "chance", t.chance);
                      ReadInt(e, "repetitions", t.repetitions);
                      t.remaining = t.duration;
                  });
}

void Factory::ParseCreations(const LuaObject& table)
{
    ParseList(
        *this, "creations", table, m_Creations,
        [](const LuaObject& e, Creation& s, const std::string& subject, const std::string& where) {
            // What a creation makes stands on the field: a structure, checked before any is
            // made; a creation of anything else is left out.
            s.objectTable = e["objectSpec"];
            if (!IsDataTableOfKind(s.objectTable, "ArcadeStructure", subject,
                                   where + ".objectSpec"))
                return false;
            const LuaObject count = e["numberCreated"];
            if (count.IsNumber() && count.GetNumber() == double(count.GetInteger()))
                s.numberCreated = count.GetInteger();
            ReadPoint(e, "positionVariance", s.positionVariance);
            ReadPoint(e, "velocityVariance", s.velocityVariance);
            ReadBool(e, "useTriggerVelocity", s.useTriggerVelocity);
            ReadBool(e, "useFactoryPosition", s.useFactoryPosition);
            ReadNumber(e, "triggerAngleOffset", s.triggerAngleOffset);
            ReadNumber(e, "translateAlongVelocity", s.translateAlongVelocity);
            ReadNumber(e, "triggerVelocityLimit", s.triggerVelocityLimit);
            return true;
        });
}

void Factory::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "hitTriggers")
        ParseHitTriggers(value);
    else if (name == "destroyTriggers")
        ParseDestroyTriggers(value);
    else if (name == "locationTriggers")
        ParseLocationTriggers(value);
    else if (name == "timeTriggers")
        ParseTimeTriggers(value);
    else if (name == "creations")
        ParseCreations(value);
    else {
        Object::ApplyClassicProperty(name, value);
        return;
    }
    SetScriptField(name, value);
}

void Factory::RetrieveClassicProperties(LuaObject& table)
{
    Object::RetrieveClassicProperties(table);
    for (const char* name : kListProperties) {
        LuaObject value;
        GetScriptField(value, name);
        table.SetObject(name, value);
    }
}

void Factory::RetrieveProperties(LuaObject& table)
{
    Object::RetrieveProperties(table);
    // The animation is read back under the key the factory plays it from.
    const char* const names[] = {"simultaneous",       "random",           "numCreations",
                                 "currentObject",      "hitTriggers",      "destroyTriggers",
                                 "locationTriggers",   "timeTriggers",     "creations",
                                 "creationDelay",      "factoryAnimation", "moveWithinWalls",
                                 "destroyOnLastCreate"};
    for (const char* name : names) {
        LuaObject value;
        if (name == std::string("factoryAnimation"))
            GetScriptField(value, name);
        else
            RetrieveProperty(value, name);
        table.SetObject(name, value);
    }
}

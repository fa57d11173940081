// Wall: the properties scripts and resource tables set and read.
#include "field/Wall.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "core/TableOrder.h"
#include "lua/ScriptValueReaders.h"

using LuaPlus::LuaObject;

namespace {

const char* const kClassicWallProperties[] = {"dangerous", "attractPowerup", "wallName", "variant"};

} // namespace

void Wall::RegisterProperties(Class& c)
{
    for (const char* name : kClassicWallProperties) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
    // The table of the image child, read while a wall's resource is applied.
    c.RegisterPropertySetter(MakeClassicAccessor("child"));
    // The name picks the tables, so it comes before everything they set and before
    // "dangerous" and "variant", which depend on it.
    RankPropertyKey("wallName", 13.5);
}

void Wall::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "dangerous") {
        SetDangerous(ReadBooleanFromObject(value));
    } else if (name == "attractPowerup") {
        m_AttractPowerups = ReadBooleanFromObject(value);
    } else if (name == "wallName") {
        m_WallName = ReadStringFromObject(value);
        SetDangerous(m_Dangerous);
    } else if (name == "variant") {
        const std::string variant = ReadStringFromObject(value);
        m_Variant = variant.empty() ? "" : "." + variant;
        m_HasVariant = true;
        UpdateVariantImage();
    } else if (name == "child") {
        m_ChildTable = value;
    } else {
        ArcadeStructure::ApplyClassicProperty(name, value);
    }
}

void Wall::RetrieveClassicProperties(LuaObject& table)
{
    ArcadeStructure::RetrieveClassicProperties(table);
    table.SetBoolean("dangerous", m_Dangerous);
    table.SetBoolean("attractPowerup", m_AttractPowerups);
    table.SetString("wallName", m_WallName.c_str());
    table.SetString("variant", m_Variant.empty() ? "" : m_Variant.substr(1).c_str());
}

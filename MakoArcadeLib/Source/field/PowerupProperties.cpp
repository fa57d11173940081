// Powerup: the properties scripts and resource tables set and read.
#include "field/Powerup.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "lua/MakoLuaState.h"

using LuaPlus::LuaObject;

void Powerup::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(MakeClassicAccessor("score"));
    c.RegisterPropertySetter(MakeClassicAccessor("score"));
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Powerup::m_IsLoot, "isLoot");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Powerup::m_IsSecret, "isSecret");
    // Kept in the script table: the sound the power-up makes when it appears.
    c.RegisterPropertyGetter(MakeScriptAccessor("powerupCreationSound"));
    c.RegisterPropertySetter(MakeScriptAccessor("powerupCreationSound"));
}

void Powerup::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "score") {
        m_Score = value.IsNumber() ? value.GetInteger() : 0;
        return;
    }
    // Shapes, motions and collision lists are the structure's; a power-up is always the
    // circle it makes when it enters the world.
    Actor::ApplyClassicProperty(name, value);
}

void Powerup::RetrieveClassicProperties(LuaObject& table)
{
    ArcadeStructure::RetrieveClassicProperties(table);
    table.SetInteger("score", m_Score);
}

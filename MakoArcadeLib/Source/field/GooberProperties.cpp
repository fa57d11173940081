// Goober: the properties resource tables set and scripts read.
#include "field/Goober.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "core/Utility.h"
#include "lua/ScriptValueReaders.h"
#include "physics/CollisionCategory.h"

#include <vector>

using LuaPlus::LuaObject;

namespace {

const char* const kClassicGooberProperties[] = {"damage", "takeDamageOnCollision", "noBlockBall",
                                                "passThruBricks", "passThruShields"};

} // namespace

void Goober::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Goober::m_ShowScore, "showScore");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Goober::m_DestroyOnPaddle, "destroyOnPaddle");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Goober::m_DestroyOnShield, "destroyOnShield");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Goober::m_StealLoot, "stealLoot");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Goober::m_LifetimeSoundLoop, "lifetimeSoundLoop");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Goober::m_LifetimeSound2Loop, "lifetimeSound2Loop");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Goober::m_ExplosionDangerous, "explosionDangerous");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Goober::m_HomingBlink, "homingBlink");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Goober::m_DamageFrames, "damageFrames");
    RegisterMemberProperty<PROPERTY_INT>(c, &Goober::m_Strength, "strength");
    RegisterMemberProperty<PROPERTY_INT>(c, &Goober::m_GooberScore, "gooberScore");
    RegisterMemberProperty<PROPERTY_INT>(c, &Goober::m_ExplosiveRadius, "explosiveRadius");
    RegisterMemberProperty<PROPERTY_INT>(c, &Goober::m_ExplosivePower, "explosivePower");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &Goober::m_SpeedLimit, "speedLimit");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &Goober::m_RandomWalk, "randomWalk");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &Goober::m_SeekPaddle, "seekPaddle");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &Goober::m_SeekDistance, "seekDistance");
    RegisterMemberProperty<PROPERTY_POINT2F>(c, &Goober::m_Gravity, "gravity");
    RegisterMemberProperty<PROPERTY_POINT2F>(c, &Goober::m_Velocity, "velocity");
    RegisterMemberProperty<PROPERTY_STRING>(c, &Goober::m_DestructionSound, "destructionSound");
    RegisterMemberProperty<PROPERTY_STRING>(c, &Goober::m_ScoreSound, "scoreSound");
    RegisterMemberProperty<PROPERTY_STRING>(c, &Goober::m_LifetimeSound, "lifetimeSound");
    RegisterMemberProperty<PROPERTY_STRING>(c, &Goober::m_LifetimeSound2, "lifetimeSound2");
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_LUAOBJECT>(&Goober::m_Powerups, "powerups"));
    c.RegisterPropertySetter(MakeFunctionAccessor(&Goober::SetPowerups, "powerups"));
    for (const char* name : kClassicGooberProperties) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
}

void Goober::SetNoBlockBall(bool on)
{
    if (on == m_NoBlockBall)
        return;
    m_NoBlockBall = on;
    if (on) {
        SetCollideBits(GetCollideBits() & ~unsigned(COLLISION_BALL));
    } else {
        // Balls it overlaps now push it out gently instead of knocking it away.
        StartSoftPeriod();
        SetCollideBits(GetCollideBits() | COLLISION_BALL);
    }
}

void Goober::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "damage") {
        SetDamage(ClampToInt(ReadNumberFromObject(value)), nullptr, nullptr,
                  GetX() + GetWidth() / 2.0, GetY() + GetHeight() / 2.0);
    } else if (name == "takeDamageOnCollision") {
        std::vector<std::string> names(GetBehaviourSet(TAKE_DAMAGE_ON_COLLISION).begin(),
                                       GetBehaviourSet(TAKE_DAMAGE_ON_COLLISION).end());
        if (value.IsTable())
            for (LuaPlus::LuaTableIterator it(value); it; it.Next())
                if (it.GetValue().IsString())
                    names.emplace_back(it.GetValue().GetString());
        m_Behaviour[TAKE_DAMAGE_ON_COLLISION] =
            MakeBehaviourList(TAKE_DAMAGE_ON_COLLISION, std::move(names));
        RemoveHitCallback(&Goober::TakeDamageCallback, this);
        AddHitCallback(&Goober::TakeDamageCallback, this);
        SetScriptField(name, value);
    } else if (name == "noBlockBall") {
        SetNoBlockBall(ReadBooleanFromObject(value));
    } else if (name == "passThruBricks") {
        m_PassThruBricks = ReadBooleanFromObject(value);
        SetCollideBits(m_PassThruBricks ? GetCollideBits() & ~unsigned(COLLISION_BRICK)
                                        : GetCollideBits() | COLLISION_BRICK);
    } else if (name == "passThruShields") {
        m_PassThruShields = ReadBooleanFromObject(value);
        SetCollideBits(m_PassThruShields ? GetCollideBits() & ~unsigned(COLLISION_SHIELD)
                                         : GetCollideBits() | COLLISION_SHIELD);
    } else {
        ArcadeStructure::ApplyClassicProperty(name, value);
    }
}

void Goober::RetrieveClassicProperties(LuaObject& table)
{
    ArcadeStructure::RetrieveClassicProperties(table);
    table.SetNumber("damage", m_Damage);
    table.SetBoolean("noBlockBall", m_NoBlockBall);
    table.SetBoolean("passThruBricks", m_PassThruBricks);
    table.SetBoolean("passThruShields", m_PassThruShields);
    LuaObject takeDamage;
    GetScriptField(takeDamage, "takeDamageOnCollision");
    table.SetObject("takeDamageOnCollision", takeDamage);
}

void Goober::RetrieveProperties(LuaObject& table)
{
    ArcadeStructure::RetrieveProperties(table);
    const char* const names[] = {
        "velocity",       "damage",          "strength",         "showScore",  "speedLimit",
        "randomWalk",     "gravity",         "destructionSound", "scoreSound", "lifetimeSound",
        "lifetimeSound2", "destroyOnPaddle", "noBlockBall",      "stealLoot",  "seekPaddle",
        "seekDistance",   "passThruBricks",  "passThruShields",  "powerups"};
    for (const char* name : names) {
        LuaObject value;
        RetrieveProperty(value, name);
        table.SetObject(name, value);
    }
}

// Ball: the properties scripts and resource tables set and read.
#include "field/Ball.h"

#include "core/Class.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/ObjectDescription.h"
#include "core/PropertyAccessor.h"
#include "core/Utility.h"
#include "lua/ScriptValueReaders.h"

#include <algorithm>
#include <cmath>

using LuaPlus::LuaObject;

namespace {

// Read and written: the position, the substance, the size index, the target speed, the
// velocity and the activity. Written only: the corona and a speed change.
const char* const kReadWritten[] = {"position", "substance", "size",
                                    "speed",    "velocity",  "activateBall"};
const char* const kWrittenOnly[] = {"corona", "addSpeed"};

// The speed a key gives; NaN and the infinities (a velocity of unbounded length too) are
// refused naming the key.
double FiniteSpeed(const std::string& key, double speed)
{
    if (!std::isfinite(speed))
        MAKO_THROW(ApplyPropertyError,
                   "'" + key + "' must be a finite speed, but was " + std::to_string(speed) + ".");
    return speed;
}

} // namespace

void Ball::RegisterProperties(Class& c)
{
    for (const char* name : kReadWritten) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
    for (const char* name : kWrittenOnly)
        c.RegisterPropertySetter(MakeClassicAccessor(name));
}

void Ball::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "position") {
        SyncFromPhysics();
        ArcadeStructure::ApplyClassicProperty(name, value);
        // The recorded position is the ball's centre at the actor's new place.
        m_Position = Point<double>(GetX() + GetWidth() / 2, GetY() + GetHeight() / 2);
    } else if (name == "substance" || name == "corona") {
        const std::string wanted = ReadStringFromObject(value);
        const bool substance = name == "substance";
        if (substance ? IsSubstance(wanted) : IsCorona(wanted)) {
            if (substance)
                SetSubstance(wanted, false);
            else
                SetCorona(wanted);
            return;
        }
        DataReport::Report(DescribeObject(*this),
                           "\"" + name + "\": \"" + ShortenedText(wanted) + "\" is no " +
                               (substance ? "substance (None, Lead, Air, Rubber)"
                                          : "corona (None, Breakthru, Lightning, Glue)") +
                               "; the ball keeps \"" + (substance ? m_Substance : m_Corona) + "\"");
    } else if (name == "size") {
        int index = ClampToInt(ReadNumberFromObject(value));
        if (index < 0 || index > 6) {
            DataReport::Report(DescribeObject(*this),
                               "\"size\": " + std::to_string(index) + " is outside 0 to 6; " +
                                   std::to_string(std::clamp(index, 0, 6)) + " is used");
            index = std::clamp(index, 0, 6);
        }
        SetSize(BallRadii[index], BallRadii[index], index);
        PlaceOnPaddle();
    } else if (name == "addSpeed") {
        AddSpeed(FiniteSpeed(name, ReadNumberFromObject(value)), false);
    } else if (name == "speed") {
        m_Speed = FiniteSpeed(name, ReadNumberFromObject(value));
    } else if (name == "velocity") {
        const Point<double> velocity(value, "velocity");
        const double length = FiniteSpeed(name, std::hypot(velocity.x, velocity.y));
        m_Velocity = velocity;
        m_Speed = std::clamp(length, gBallSpeed.minBallSpeed, gBallSpeed.maxBallSpeed);
    } else if (name == "rectangle" || name == "polygon") {
        MAKO_THROW(ApplyPropertyError, "'" + name +
                                           "' is not a shape for a ball: a ball is "
                                           "round, its size sets its circle.");
    } else if (name == "activateBall") {
        SetActive(value.GetBoolean());
    } else {
        ArcadeStructure::ApplyClassicProperty(name, value);
    }
}

void Ball::RetrieveClassicProperties(LuaObject& table)
{
    ArcadeStructure::RetrieveClassicProperties(table);
    table.SetString("substance", m_Substance.c_str());
    table.SetInteger("size", m_SizeIndex);
    table.SetNumber("speed", m_Speed);
    table.SetObject("velocity", m_Velocity.ToLuaObject());
    table.SetBoolean("activateBall", m_Active);
}

void Ball::RetrieveProperties(LuaObject& table)
{
    ArcadeStructure::RetrieveProperties(table);
    for (const char* name : kReadWritten) {
        LuaObject value;
        RetrieveProperty(value, name);
        table.SetObject(name, value);
    }
}

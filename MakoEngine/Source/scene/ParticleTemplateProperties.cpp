// ParticleTemplate: the properties scripts set, each read into the template's fields.
#include "scene/ParticleTemplate.h"

#include "core/Class.h"
#include "core/ObjectBoundary.h"
#include "core/PropertyAccessor.h"
#include "display/Image.h"
#include "lua/ScriptValueReaders.h"
#include "scene/Particle.h"

#include <string>

using LuaPlus::LuaObject;

namespace {

// A number field of a table; 0 when missing.
float FieldOrZero(const LuaObject& table, const char* name)
{
    const LuaObject value = table[name];
    return value.IsNil() ? 0.0f : static_cast<float>(ReadNumberFromObject(value));
}

} // namespace

void ParticleTemplate::RegisterProperties(Class& c)
{
    using Setter = void (ParticleTemplate::*)(const LuaObject&);
    const std::pair<const char*, Setter> setters[] = {
        {"lifetime", &ParticleTemplate::SetLifetime},
        {"alpha", &ParticleTemplate::SetAlpha},
        {"destAlpha", &ParticleTemplate::SetDestAlpha},
        {"size", &ParticleTemplate::SetSize},
        {"velocity", &ParticleTemplate::SetVelocity},
        {"randomizedVelocity", &ParticleTemplate::SetRandomizedVelocity},
        {"acceleration", &ParticleTemplate::SetAcceleration},
        {"color", &ParticleTemplate::SetColor},
        {"image", &ParticleTemplate::SetImage},
        {"randomizedImage", &ParticleTemplate::SetRandomizedImage},
        {"position", &ParticleTemplate::SetPosition},
        {"randomizedPosition", &ParticleTemplate::SetRandomizedPosition},
    };
    for (const auto& setter : setters)
        c.RegisterPropertySetter(MakeFunctionAccessor(setter.second, setter.first));
}

void ParticleTemplate::SetLifetime(const LuaObject& value)
{
    m_Lifetime = ReadIntegerFromObject(value);
    m_HasLifetime = true;
}

void ParticleTemplate::SetAlpha(const LuaObject& value)
{
    m_Alpha = ReadIntegerFromObject(value);
    m_HasAlpha = true;
}

void ParticleTemplate::SetDestAlpha(const LuaObject& value)
{
    m_DestAlpha = ReadIntegerFromObject(value);
    m_HasDestAlpha = true;
}

void ParticleTemplate::SetSize(const LuaObject& value)
{
    m_Size = Point<int>(value, "size");
    m_HasSize = true;
}

void ParticleTemplate::SetVelocity(const LuaObject& value)
{
    m_Velocity = Point<float>(value, "velocity");
    m_HasVelocity = true;
    m_RandomizedVelocity = false;
}

void ParticleTemplate::SetRandomizedVelocity(const LuaObject& value)
{
    m_MinRadius = FieldOrZero(value, "minRadius");
    m_MaxRadius = FieldOrZero(value, "maxRadius");
    m_MinAngle = FieldOrZero(value, "minAngle");
    m_MaxAngle = FieldOrZero(value, "maxAngle");
    m_HasVelocity = true;
    m_RandomizedVelocity = true;
}

void ParticleTemplate::SetAcceleration(const LuaObject& value)
{
    m_Acceleration = Point<float>(value, "acceleration");
    m_HasAcceleration = true;
}

void ParticleTemplate::SetColor(const LuaObject& value)
{
    m_Color = Color(value);
    m_HasColor = true;
}

void ParticleTemplate::SetImage(const LuaObject& value)
{
    const std::string name = ReadStringFromObject(value);
    m_Image.reset();
    // The particles' picture is made here, once for every particle of the emitter: one the
    // pack lacks (or cannot make) is named once, and the particles go without a picture.
    ObjectBoundary::Guard("The particle picture \"" + name + "\"", "the particles go without it",
                          [&] { m_Image.reset(Actor::NewImageFromResource(name)); });
}

void ParticleTemplate::SetRandomizedImage(const LuaObject& value)
{
    std::vector<std::string> names;
    LuaPlus::ForEachListElement(value, [&](int, const LuaObject& name) {
        names.push_back(ReadStringFromObject(name));
        return true;
    });
    m_ImageNames.swap(names);
    m_RandomizedImage = true;
}

void ParticleTemplate::SetPosition(const LuaObject& value)
{
    m_Position = Point<int>(value, "position");
    m_HasPosition = true;
    m_RandomizedPosition = false;
}

void ParticleTemplate::SetRandomizedPosition(const LuaObject& value)
{
    m_MinX = FieldOrZero(value, "minX");
    m_MaxX = FieldOrZero(value, "maxX");
    m_MinY = FieldOrZero(value, "minY");
    m_MaxY = FieldOrZero(value, "maxY");
    m_HasPosition = true;
    m_RandomizedPosition = true;
}

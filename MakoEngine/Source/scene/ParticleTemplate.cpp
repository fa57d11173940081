#include "scene/ParticleTemplate.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "lua/ScriptValueReaders.h"
#include "scene/Particle.h"

#include <cmath>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(ParticleTemplate, "ParticleTemplate", "Object",
                     &ParticleTemplate::RegisterProperties, nullptr);

namespace {

// A number field of a table; 0 when missing.
float FieldOrZero(const LuaObject& table, const char* name)
{
    const LuaObject value = table[name];
    return value.IsNil() ? 0.0f : static_cast<float>(ReadNumberFromObject(value));
}

} // namespace

ParticleTemplate::ParticleTemplate() = default;
ParticleTemplate::~ParticleTemplate() = default;

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
    m_Size = Point<int>(value);
    m_HasSize = true;
}

void ParticleTemplate::SetVelocity(const LuaObject& value)
{
    m_Velocity = Point<float>(value);
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
    m_Acceleration = Point<float>(value);
    m_HasAcceleration = true;
}

void ParticleTemplate::SetColor(const LuaObject& value)
{
    m_Color = Color(value);
    m_HasColor = true;
}

void ParticleTemplate::SetImage(const LuaObject& value)
{
    m_Image.reset(Actor::NewImageFromResource(ReadStringFromObject(value)));
}

void ParticleTemplate::SetRandomizedImage(const LuaObject& value)
{
    std::vector<std::string> names;
    for (int i = 1; i <= value.GetCount(); ++i)
        names.push_back(ReadStringFromObject(value[i]));
    m_ImageNames.swap(names);
    m_RandomizedImage = true;
}

void ParticleTemplate::SetPosition(const LuaObject& value)
{
    m_Position = Point<int>(value);
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

void ParticleTemplate::ApplyTo(Particle* particle) const
{
    if (m_HasLifetime)
        particle->m_Lifetime = m_Lifetime;
    if (m_HasAlpha)
        particle->m_ParticleAlpha = static_cast<float>(m_Alpha);
    if (m_HasDestAlpha)
        particle->SetDestAlpha(static_cast<float>(m_DestAlpha));
    if (m_HasSize)
        particle->SetSize(m_Size.x, m_Size.y);
    if (m_HasAcceleration)
        particle->m_Acceleration = m_Acceleration;
    if (m_HasVelocity) {
        if (m_RandomizedVelocity) {
            const float angle = RandomFloatInRange(m_MinAngle, m_MaxAngle);
            const float radius = RandomFloatInRange(m_MinRadius, m_MaxRadius);
            particle->m_Velocity = Point<float>(radius * std::cos(angle), radius * std::sin(angle));
        } else {
            particle->m_Velocity = m_Velocity;
        }
    }
    if (m_HasColor)
        particle->SetColor(m_Color);
    if (m_Image) {
        particle->SetImage(Image::CreateReference(m_Image.get()), "");
    } else if (m_RandomizedImage && !m_ImageNames.empty()) {
        const std::string& name = m_ImageNames[static_cast<std::size_t>(
            RandomInt(static_cast<int>(m_ImageNames.size())))];
        particle->SetImage(Actor::NewImageFromResource(name), "");
    }
    if (m_HasPosition) {
        int dx = m_Position.x;
        int dy = m_Position.y;
        if (m_RandomizedPosition) {
            dy = static_cast<int>(RandomFloatInRange(m_MinY, m_MaxY));
            dx = static_cast<int>(RandomFloatInRange(m_MinX, m_MaxX));
        }
        particle->SetPosition(particle->GetX() + dx, particle->GetY() + dy);
    }
}

#include "scene/ParticleTemplate.h"

#include "core/Class.h"
#include "core/ObjectBoundary.h"
#include "core/PropertyAccessor.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "lua/ScriptValueReaders.h"
#include "scene/Particle.h"

#include <cmath>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(ParticleTemplate, "ParticleTemplate", "Object",
                     &ParticleTemplate::RegisterProperties, nullptr);

ParticleTemplate::ParticleTemplate() = default;
ParticleTemplate::~ParticleTemplate() = default;

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
        // A picture of the list the pack lacks is named once; that particle goes without.
        ObjectBoundary::Guard("The particle picture \"" + name + "\"",
                              "the particles go without it",
                              [&] { particle->SetImage(Actor::NewImageFromResource(name), ""); });
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

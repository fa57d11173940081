#include "scene/Particle.h"

#include "core/Class.h"
#include "core/FramePeriod.h"
#include "core/PropertyAccessor.h"
#include "display/Canvas.h"
#include "lua/ScriptValueReaders.h"

#include <algorithm>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(Particle, "Particle", "Actor", &Particle::RegisterProperties, nullptr);

Particle::Particle()
{
    SetSize(5, 5);
    SetColor(Palette::Red);
    m_ShaderType = SHADERTYPE_BLENDCOMBINEDALPHA;
    m_RotationAlignment = Center;
}

Particle::~Particle()
{
    if (m_DestroyCallback)
        m_DestroyCallback(this);
}

void Particle::SetDestAlpha(float destAlpha)
{
    m_DestAlpha = destAlpha;
    m_DestAlphaPending = true;
}

void Particle::Update(int ms)
{
    if (m_Expired) {
        Kill();
        return;
    }
    m_Age += ms;
    if (m_Lifetime >= 0 && m_Age >= m_Lifetime) {
        ms -= m_Age - m_Lifetime;
        m_Expired = true;
        m_Age = m_Lifetime;
    }
    const float dt = static_cast<float>(ms) * 0.001f;
    m_Position.x += dt * m_Velocity.x;
    m_Position.y += dt * m_Velocity.y;
    m_Velocity.x += dt * m_Acceleration.x;
    m_Velocity.y += dt * m_Acceleration.y;
    if (m_DestAlphaPending && m_Lifetime >= 0) {
        const int remaining = std::max(0, m_Lifetime - m_Age);
        m_AlphaStep = remaining > 0 ? (m_DestAlpha - m_ParticleAlpha) * 1000.0f /
                                          static_cast<float>(remaining)
                                    : m_DestAlpha;
        m_DestAlphaPending = false;
    }
    m_ParticleAlpha += dt * m_AlphaStep;
}

void Particle::Tick()
{
    Update(FRAME_PERIOD_MS);
}

void Particle::Draw(Canvas& canvas)
{
    const int dx = static_cast<int>(m_Position.x);
    const int dy = static_cast<int>(m_Position.y);
    canvas.Translate(dx, dy);
    const float a = std::min(255.0f, std::max(0.0f, m_ParticleAlpha));
    const std::uint8_t previous = GetAlpha();
    SetAlpha(static_cast<std::uint8_t>(a));
    Actor::Draw(canvas);
    SetAlpha(previous);
    canvas.Translate(-dx, -dy);
}

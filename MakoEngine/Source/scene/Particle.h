#pragma once
// A short-lived sprite: a small actor (by default a 5 x 5 red fill) that moves with a
// float velocity and acceleration in pixels per second, fades toward a target alpha
// over its lifetime and kills itself once its lifetime is over. Particles live as
// children of a ParticleManager, whose tick moves them 32 ms at a time.
#include "scene/Actor.h"

class Particle;
using ParticleDestroyCallback = void (*)(Particle* particle);

class Particle : public Actor
{
    MAKO_DECLARE_CLASS();

public:
    Particle();
    // Calls the destroy callback when one is set.
    ~Particle() override;

    // One step of ms milliseconds (0 at emission fixes the fade from the lifetime). An
    // expired particle kills itself instead.
    void Update(int ms);
    // Moves 32 ms.
    void Tick() override;
    // Draws at the integer position plus the float offset, with the float alpha clamped
    // to 0..255.
    void Draw(Canvas& canvas) override;
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;

    void SetDestAlpha(float destAlpha);
    void SetDestroyCallback(ParticleDestroyCallback callback) { m_DestroyCallback = callback; }
    bool IsExpired() const { return m_Expired; }

    static void RegisterProperties(Class& particleClass);

    float m_ParticleAlpha = 255.0f;
    float m_AlphaStep = 0.0f;
    bool m_DestAlphaPending = false;
    float m_DestAlpha = 0.0f;
    bool m_Expired = false;
    std::int32_t m_Age = 0;
    std::int32_t m_Lifetime = -1;
    Point<float> m_Position;
    float m_RotationStep = 0.0f;
    Point<float> m_Velocity;
    Point<float> m_Acceleration;

private:
    ParticleDestroyCallback m_DestroyCallback = nullptr;
};

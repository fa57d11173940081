#pragma once
// The settings an identical emitter gives each particle, read once from a script table
// rather than applied as a table per particle: lifetime, alpha, destAlpha, size,
// acceleration, a fixed or randomised velocity (polar: radius and angle in radians), a
// colour, a fixed or randomly chosen image, and a fixed or randomised offset. Only the
// settings given are applied. Randomness comes from the engine's 15-bit generator. A
// picture its data names that cannot be made (missing from the pack) is named once through
// ObjectBoundary and the particles go without a picture.
#include "core/Class.h"
#include "core/Object.h"
#include "geometry/Color.h"
#include "geometry/Point.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Image;
class Particle;

class ParticleTemplate : public Object
{
    MAKO_DECLARE_CLASS();

public:
    ParticleTemplate();
    ~ParticleTemplate() override;

    // Applies the settings present, in a fixed order: lifetime, alpha, destAlpha, size,
    // acceleration, velocity, colour, image, offset.
    void ApplyTo(Particle* particle) const;

    static void RegisterProperties(Class& templateClass);

private:
    void SetLifetime(const LuaPlus::LuaObject& value);
    void SetAlpha(const LuaPlus::LuaObject& value);
    void SetDestAlpha(const LuaPlus::LuaObject& value);
    void SetSize(const LuaPlus::LuaObject& value);
    void SetVelocity(const LuaPlus::LuaObject& value);
    void SetRandomizedVelocity(const LuaPlus::LuaObject& value);
    void SetAcceleration(const LuaPlus::LuaObject& value);
    void SetColor(const LuaPlus::LuaObject& value);
    void SetImage(const LuaPlus::LuaObject& value);
    void SetRandomizedImage(const LuaPlus::LuaObject& value);
    void SetPosition(const LuaPlus::LuaObject& value);
    void SetRandomizedPosition(const LuaPlus::LuaObject& value);

    bool m_HasLifetime = false;
    std::int32_t m_Lifetime = 0;
    bool m_HasAlpha = false;
    std::int32_t m_Alpha = 0;
    bool m_HasDestAlpha = false;
    std::int32_t m_DestAlpha = 0;
    bool m_HasSize = false;
    Point<int> m_Size;
    bool m_HasVelocity = false;
    Point<float> m_Velocity;
    bool m_RandomizedVelocity = false;
    float m_MinRadius = 0, m_MaxRadius = 0, m_MinAngle = 0, m_MaxAngle = 0;
    bool m_HasAcceleration = false;
    Point<float> m_Acceleration;
    bool m_HasColor = false;
    Color m_Color;
    std::unique_ptr<Image> m_Image;
    bool m_RandomizedImage = false;
    std::vector<std::string> m_ImageNames;
    bool m_HasPosition = false;
    Point<int> m_Position;
    bool m_RandomizedPosition = false;
    float m_MinX = 0, m_MinY = 0, m_MaxX = 0, m_MaxY = 0;
};

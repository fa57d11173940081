#pragma once
// The speed ramp shared by the moving motions: from a start the current speed climbs to
// the configured speed over rampUpTicks + 1 ticks, cruises, and brakes once the way left
// falls within what rampDownTicks ticks at half the current speed would cover. Speeds
// carry a sign for the turning motions (the sign is the direction). Single precision.
#include "core/Class.h"
#include "core/PropertyAccessor.h"

#include <cstdint>

class MotionRamp
{
public:
    enum Phase : std::int32_t { ACCELERATING = 0, CRUISING = 1, DECELERATING = 2 };

    // Back to rest: speed 0, accelerating.
    void Restart();
    // The start of a tick: the speed moves along the ramp. `signedSpeed` clamps towards
    // the configured speed's sign; otherwise the speed is clamped only from above.
    void Advance(bool signedSpeed);
    // Starts (or keeps) braking when `remaining` is within the braking way: remaining <=
    // rampDownTicks * |speed| * 0.5 (with the plain speed when not `signedSpeed`).
    void BrakeIfNear(float remaining, bool signedSpeed);

    float GetSpeed() const { return m_Current; }

    float m_Speed = 1.0f;         // configured speed S per tick
    std::int32_t m_UpTicks = 0;   // rampUpTicks
    std::int32_t m_DownTicks = 0; // rampDownTicks

    // Registers "speed", "rampUpTicks" and "rampDownTicks" of class C, whose member
    // `ramp` is the ramp.
    template <typename C> static void RegisterProperties(Class& c, MotionRamp C::*ramp);

private:
    float m_Current = 0.0f; // current speed V
    std::int32_t m_Phase = ACCELERATING;
    float m_BrakeFrom = 0.0f; // the speed braking started from
};

template <typename C> void MotionRamp::RegisterProperties(Class& c, MotionRamp C::*ramp)
{
    auto field = [ramp](auto member) {
        return [ramp, member](Object& object) -> void* {
            return &(CastPropertyObject<C>(object).*ramp.*member);
        };
    };
    const auto speed = field(&MotionRamp::m_Speed);
    const auto up = field(&MotionRamp::m_UpTicks);
    const auto down = field(&MotionRamp::m_DownTicks);
    c.RegisterPropertyGetter(MakeMemberAccessor(PROPERTY_FLOAT, speed, "speed"));
    c.RegisterPropertySetter(MakeMemberAccessor(PROPERTY_FLOAT, speed, "speed"));
    c.RegisterPropertyGetter(MakeMemberAccessor(PROPERTY_INT, up, "rampUpTicks"));
    c.RegisterPropertySetter(MakeMemberAccessor(PROPERTY_INT, up, "rampUpTicks"));
    c.RegisterPropertyGetter(MakeMemberAccessor(PROPERTY_INT, down, "rampDownTicks"));
    c.RegisterPropertySetter(MakeMemberAccessor(PROPERTY_INT, down, "rampDownTicks"));
}

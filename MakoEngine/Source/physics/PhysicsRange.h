#pragma once
// What the physics is given is always a number it can step. Values from data (a level's
// places, turns, speeds and sizes) reach ODE only through the play field's bodies and
// geometries, and those hold every value here first: a place within kFarthest pixels of
// the origin, a speed within kFastest pixels per second, a force within kStrongest, a length
// from kShortest to kFarthest, a density from kLightest to kHeaviest; a value that is not a
// number counts as 0 (as the shortest length, or a density of 1), and an angle is taken
// within one turn. Nothing out of range can
// then make ODE's own checks fail in a later step.
#include <algorithm>
#include <cmath>

namespace PhysicsRange {

constexpr double kFarthest = 1.0e7;
constexpr double kFastest = 1.0e7;
constexpr double kStrongest = 1.0e15;
constexpr double kShortest = 1.0e-3;
constexpr double kLightest = 1.0e-9;
constexpr double kHeaviest = 1.0e9;

// value within -limit..limit; NaN is 0.
inline double Held(double value, double limit)
{
    return std::isnan(value) ? 0.0 : std::clamp(value, -limit, limit);
}

inline double Place(double value)
{
    return Held(value, kFarthest);
}

inline double Speed(double value)
{
    return Held(value, kFastest);
}

inline double Force(double value)
{
    return Held(value, kStrongest);
}

inline double Length(double value)
{
    return std::isnan(value) ? kShortest : std::clamp(value, kShortest, kFarthest);
}

inline double Density(double value)
{
    return std::isnan(value) ? 1.0 : std::clamp(value, kLightest, kHeaviest);
}

// An angle in degrees within one turn; one that is not finite is 0.
inline double Turn(double degrees)
{
    return std::isfinite(degrees) ? std::fmod(degrees, 360.0) : 0.0;
}

} // namespace PhysicsRange

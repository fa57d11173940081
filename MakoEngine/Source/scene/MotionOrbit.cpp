#include "scene/MotionOrbit.h"

#include "physics/PhysicsGeom.h"
#include "scene/MotionTarget.h"

#include <cmath>

MAKO_IMPLEMENT_CLASS(MotionOrbit, "MotionOrbit", "Motion", &MotionOrbit::RegisterProperties,
                     &InstantiateObjectOfClass<MotionOrbit>);

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

// The geometry's position (x, y).
Point<float> PositionOf(const PhysicsGeom& geom)
{
    const auto position = geom.GetPosition();
    return Point<float>(position[0], position[1]);
}

} // namespace

MotionStep MotionOrbit::Update()
{
    if (!m_Running)
        return MotionStep();
    MotionTarget* target = GetMotionTarget();
    PhysicsGeom* geom = target ? target->GetMotionGeom() : nullptr;
    if (!geom)
        return MotionStep();
    if (!m_CenterName.empty()) {
        MotionTarget* centre = target->FindFieldTarget(m_CenterName);
        PhysicsGeom* centreGeom = centre ? centre->GetMotionGeom() : nullptr;
        if (!centreGeom)
            return MotionStep();
        m_Center = PositionOf(*centreGeom);
    }
    m_Ramp.Advance(true);
    const float remaining = m_Angle - m_Progress;
    if (!m_Infinite)
        m_Ramp.BrakeIfNear(remaining, true);
    const float speed = std::fabs(m_Ramp.GetSpeed());
    const float turn = speed < remaining ? speed : remaining;
    if (turn <= 0) {
        m_Progress = 0;
        Finish();
        return MotionStep();
    }
    if (!m_Infinite)
        m_Progress += turn;
    const float sign = m_Ramp.GetSpeed() <= 0 ? -1.0f : 1.0f;
    const float t = static_cast<float>(turn * sign * kRadiansPerDegree);
    const Point<float> rel = PositionOf(*geom) - m_Center;
    const float c = std::cos(t), s = std::sin(t);
    return MotionStep(c * rel.x - s * rel.y - rel.x, s * rel.x + c * rel.y - rel.y, 0);
}

Point<float> MotionOrbit::GetNextPosition(float x, float y)
{
    const float sign = m_Ramp.m_Speed <= 0 ? -1.0f : 1.0f;
    const double t = sign * m_Angle * kRadiansPerDegree;
    const double dx = x - m_Center.x, dy = y - m_Center.y;
    return Point<float>(static_cast<float>(m_Center.x + std::cos(t) * dx - std::sin(t) * dy),
                        static_cast<float>(m_Center.y + std::sin(t) * dx + std::cos(t) * dy));
}

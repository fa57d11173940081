#include "scene/MotionAbsolute.h"

#include "physics/PhysicsGeom.h"
#include "scene/MotionTarget.h"

MAKO_IMPLEMENT_CLASS(MotionAbsolute, "MotionAbsolute", "Motion",
                     &MotionAbsolute::RegisterProperties,
                     &InstantiateObjectOfClass<MotionAbsolute>);

MotionStep MotionAbsolute::Update()
{
    if (!m_Running)
        return MotionStep();
    MotionTarget* target = GetMotionTarget();
    PhysicsGeom* geom = target ? target->GetMotionGeom() : nullptr;
    if (!geom)
        return MotionStep();
    const auto position = geom->GetPosition();
    const Point<float> here(position[0], position[1]);
    Point<float> way = m_Destination - here;
    if (m_IgnoreHorizontal)
        way.x = 0;
    if (m_IgnoreVertical)
        way.y = 0;
    m_Ramp.Advance(false);
    m_Ramp.BrakeIfNear(way.GetLength(), false);
    if (way.x == 0 && way.y == 0) {
        Finish();
        return MotionStep();
    }
    const float length = way.GetLength();
    way.SetLength(length <= m_Ramp.GetSpeed() ? length : m_Ramp.GetSpeed());
    return MotionStep(way.x, way.y, 0);
}

Point<float> MotionAbsolute::GetNextPosition(float, float)
{
    return m_Destination;
}

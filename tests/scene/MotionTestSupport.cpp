#include "MotionTestSupport.h"

#include "core/ClassManager.h"
#include "physics/PhysicsBody.h"

#include <algorithm>
#include <ostream>

namespace scenetest {

FieldTarget::FieldTarget(World& world, double x, double y)
    : m_World(world), m_Geom(world.CreateBox(10, 10))
{
    m_Geom->SetPosition(x, y);
}

FieldTarget::~FieldTarget()
{
    delete m_Geom;
}

void FieldTarget::MakeMovable()
{
    if (m_Geom->GetBody())
        return;
    const Point<double> here = m_Geom->GetCenter();
    m_Geom->SetBody(new PhysicsBody(&m_World));
    m_Geom->SetPosition(static_cast<float>(here.x), static_cast<float>(here.y));
}

void FieldTarget::AddCollideBits(std::uint32_t bits)
{
    collideBits |= bits;
    m_Geom->SetCollideBits(collideBits);
}

void FieldTarget::AddMotionHitCallback(MotionHitCallback callback, void* argument)
{
    m_Hooks.emplace_back(callback, argument);
}

void FieldTarget::RemoveMotionHitCallback(MotionHitCallback callback, void* argument)
{
    const auto hook = std::make_pair(callback, argument);
    m_Hooks.erase(std::remove(m_Hooks.begin(), m_Hooks.end(), hook), m_Hooks.end());
}

MotionTarget* FieldTarget::FindFieldTarget(const std::string& name) const
{
    if (!field)
        return nullptr;
    auto it = field->find(name);
    return it == field->end() ? nullptr : it->second;
}

void FieldTarget::Hit(FieldTarget& other, double nx, double ny, double depth)
{
    MotionContact contact;
    contact.nx = nx;
    contact.ny = ny;
    contact.depth = depth;
    const auto hooks = m_Hooks; // a callback may change the list
    for (const auto& hook : hooks)
        hook.first(this, &other, contact, hook.second);
}

void FieldTarget::Apply(const MotionStep& step)
{
    const Point<float> here = Position();
    m_Geom->SetPosition(here.x + step.x, here.y + step.y);
}

Point<float> FieldTarget::Position() const
{
    const auto position = m_Geom->GetPosition();
    return Point<float>(position[0], position[1]);
}

std::unique_ptr<Motion> MakeMotion(const std::string& table)
{
    Object* object = ClassManager::GetInstance()->InstantiateObject(SceneTest::Table(table));
    Motion* motion = dynamic_cast<Motion*>(object);
    if (!motion)
        delete object;
    return std::unique_ptr<Motion>(motion);
}

std::ostream& operator<<(std::ostream& out, const TraceEntry& entry)
{
    out.precision(9);
    return out << "(" << entry.x << ", " << entry.y << ", " << entry.z << ", "
               << (entry.running ? "running" : "stopped") << ")";
}

std::vector<TraceEntry> Trace(Motion& motion, int updates, FieldTarget* mover)
{
    std::vector<TraceEntry> trace;
    for (int i = 0; i < updates; ++i) {
        const MotionStep step = motion.Update();
        if (mover)
            mover->Apply(step);
        trace.push_back({step.x, step.y, step.z, motion.IsRunning()});
    }
    return trace;
}

} // namespace scenetest

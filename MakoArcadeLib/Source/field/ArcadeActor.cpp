#include "field/ArcadeActor.h"

#include "core/Class.h"
#include "core/Utility.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "sound/Sound.h"

#include <algorithm>
#include <cmath>

MAKO_IMPLEMENT_CLASS(ArcadeActor, "ArcadeActor", "Actor", nullptr,
                     &InstantiateObjectOfClass<ArcadeActor>);

ArcadeActor::ArcadeActor() = default;

ArcadeActor::~ArcadeActor()
{
    delete m_Geom;
    m_Geom = nullptr;
}

bool ArcadeActor::RouteEvent(const Event& event)
{
    if (HandleArcadeEvent(event))
        return true;
    return Actor::RouteEvent(event);
}

void ArcadeActor::SyncFromPhysics()
{
    if (!m_Geom)
        return;
    const Point<double> c = m_Geom->GetCenter();
    // Counted wide, so a body flung far away is placed at the end of the int range.
    SetPosition(ClampToInt(double(RoundToInt(float(c.x))) - GetWidth() / 2),
                ClampToInt(double(RoundToInt(float(c.y))) - GetHeight() / 2));
}

void ArcadeActor::SyncToPhysics()
{
    const int cx = GetX() + GetWidth() / 2;
    const int cy = GetY() + GetHeight() / 2;
    if (m_Body)
        m_Body->SetPosition(cx, cy);
    else if (m_Geom)
        m_Geom->SetPosition(float(cx), float(cy));
}

bool ArcadeActor::AcceptsCollision(CollisionOwner* other, double x, double y)
{
    const Object* object = dynamic_cast<const Object*>(other);
    return object && object->GetClass()->GetName() == "Collider";
}

PhysicsBody* ArcadeActor::GetPhysicsBody() const
{
    return m_Geom ? m_Geom->GetBody() : nullptr;
}

void ArcadeActor::SetGeom(PhysicsGeom* geom)
{
    m_Geom = geom;
    SyncToPhysics();
}

int ArcadeActor::GetSoundPan() const
{
    const double centre = GetX() + GetWidth() / 2;
    const double pan = std::trunc(centre * 0.3125 - 100.0);
    return int(std::clamp(pan, -100.0, 100.0));
}

void ArcadeActor::SetSoundPan(const std::string& name)
{
    const int pan = GetSoundPan();
    Sound::SetPan(name, pan);
    if (Sound::IsPlaying(name))
        Sound::PanChannel(name, pan);
}

std::uint32_t ArcadeActor::PlaySound(const std::string& name, bool loop)
{
    SetSoundPan(name);
    return Sound::PlaySound(name, loop);
}

void ArcadeActor::PanChannel(std::uint32_t channel)
{
    Sound::SetChannelPan(channel, GetSoundPan());
}

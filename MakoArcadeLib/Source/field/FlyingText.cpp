#include "field/FlyingText.h"

#include "core/Class.h"
#include "field/FieldBounds.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "physics/PhysicsMass.h"
#include "physics/World.h"
#include "widgets/Label.h"

#include <algorithm>

MAKO_IMPLEMENT_CLASS(FlyingText, "FlyingText", "ArcadeActor", nullptr, nullptr);

namespace {

constexpr double kStartSoftness = 0.9;
constexpr double kSoftness = 0.3;

} // namespace

FlyingText::FlyingText(const std::string& text, int duration, double originX, double originY,
                       double velocityX, double velocityY)
    : m_OriginX(originX), m_OriginY(originY), m_VelocityX(velocityX), m_VelocityY(velocityY)
{
    Build(text, duration, nullptr);
}

FlyingText::FlyingText(const std::string& text, int duration, double originX, double originY,
                       double velocityX, double velocityY, const Color& color)
    : m_OriginX(originX), m_OriginY(originY), m_VelocityX(velocityX), m_VelocityY(velocityY)
{
    Build(text, duration, &color);
}

FlyingText::~FlyingText() = default;

void FlyingText::Build(const std::string& text, int duration, const Color* color)
{
    Label* label = Label::CreateFromResource(kFontTemplate);
    AddChild(label, "");
    m_Label = label;
    if (color)
        label->SetColor(*color, false);
    label->SetWidthLimit(kWidthLimit);
    label->SetText(text, false);
    label->UpdateImage();
    label->SetPosition(0, 0);
    SetSize(label->GetWidth(), label->GetHeight());
    SetPosition(int(m_OriginX) - GetWidth() / 2, int(m_OriginY) - GetHeight() / 2);
    const int fadeMs = std::max(duration, 0) * 30;
    label->FadeOut(fadeMs, true);
    // The label's shadow and highlight copies are children of their own: they fade with it.
    for (Label* copy : {label->GetShadow(), label->GetHighlight()})
        if (copy)
            copy->FadeOut(fadeMs, false);
    FadeOut(fadeMs, true);
}

void FlyingText::KeepInsideField()
{
    const FieldBounds field = FieldBounds::Current();
    const int left = field.left, right = field.right, top = field.top, bottom = field.bottom;
    int x = GetX(), y = GetY();
    if (x < left)
        x = left;
    else if (x + GetWidth() > right)
        x = right - GetWidth();
    if (y < top)
        y = top;
    else if (y + GetHeight() > bottom)
        y = bottom - GetHeight();
    SetPosition(x, y);
}

void FlyingText::UpdatePhysics(World* world)
{
    if (m_Geom || !world)
        return;
    SetPosition(int(m_OriginX) - GetWidth() / 2, int(m_OriginY) - GetHeight() / 2);
    KeepInsideField();

    const double width = std::max<int>(GetWidth(), 1);
    const double height = std::max<int>(GetHeight(), 1);
    PhysicsBody* body = new PhysicsBody(world);
    PhysicsMass mass;
    // A box of mass 1 whatever its size: with the density of 1 that its pixel volume would
    // give, the soft contacts would barely move it, and texts would sink into each other
    // and into the walls.
    mass.SetBox(1.0 / (width * height), width, height, 1.0);
    body->SetMass(mass);
    PhysicsGeom* geom = world->CreateBox(float(width), float(height));
    geom->SetCategoryBits(kCategoryBits);
    geom->SetCollideBits(kCollideBits);
    geom->SetBody(body);
    geom->SetOwner(this);
    geom->SetSoftness(float(kStartSoftness));
    SetGeom(geom);
    body->SetLinearVel(m_VelocityX, m_VelocityY);
    body->LockRotation();
    geom->SetSoftness(float(kSoftness));
}

void FlyingText::Tick()
{
    ArcadeActor::Tick();
    SyncFromPhysics();
    PhysicsBody* body = GetPhysicsBody();
    if (!body)
        return;
    Vector2D velocity = body->GetLinearVel();
    if (velocity.Length() > kSpeedCap)
        velocity.SetLength(kSpeedCap);
    // Where no wall holds it (the open bottom of the field), the text is held at the edge.
    const int x = GetX(), y = GetY();
    KeepInsideField();
    if (GetX() != x)
        velocity.x = 0.0;
    if (GetY() != y)
        velocity.y = 0.0;
    if (GetX() != x || GetY() != y)
        SyncToPhysics();
    body->SetLinearVel(velocity.x, velocity.y);
}

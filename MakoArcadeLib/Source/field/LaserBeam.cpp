#include "field/LaserBeam.h"

#include "core/Class.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "field/FieldBounds.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"

#include <algorithm>
#include <cmath>

MAKO_IMPLEMENT_CLASS(LaserBeam, "LaserBeam", "ArcadeStructure", nullptr,
                     &InstantiateObjectOfClass<LaserBeam>);

namespace {

constexpr unsigned kLaserCategory = 256;
constexpr unsigned kLaserCollides = 2 | 8; // bricks and goobers

} // namespace

LaserBeam::LaserBeam()
{
    SetMovable(true);
    m_PreventRotation = true;
    // The fired beam sets its own; a beam of the registry keeps at least a pixel.
    SetRectangle(std::max(1, GetWidth()), std::max(1, GetHeight()), true);
}

SDL_Rect LaserBeam::PlayArea()
{
    const FieldBounds field = FieldBounds::Current();
    const int left = field.left, right = field.right, top = field.top, bottom = field.bottom;
    return MakeRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

LaserBeam::LaserBeam(Paddle* paddle) : LaserBeam()
{
    m_Paddle.Set(paddle);
    m_FromVertical = paddle->IsVertical();
    const int cx = paddle->GetX() + paddle->GetWidth() / 2;
    const int cy = paddle->GetY() + paddle->GetHeight() / 2;
    ApplyStringProperty("resource", m_FromVertical ? "LaserVertical" : "LaserHorizontal");
    // The beam's image runs upright; a vertical paddle fires across the field.
    if (m_FromVertical && GetImage())
        SetImage(ImageEffects::RotateImageRightAngle(GetImage(), 90), GetImageName());
    int x, y;
    if (m_FromVertical) {
        x = paddle->FacesPositive() ? cx : cx - GetWidth();
        y = cy - GetHeight() / 2;
    } else {
        x = cx - GetWidth() / 2;
        y = paddle->FacesPositive() ? cy : cy - GetHeight();
    }
    SetCategoryBits(kLaserCategory);
    SetCollideBits(kLaserCollides);

    // Cut to the play area: the near edges raised, the far edges lowered.
    const SDL_Rect area = PlayArea();
    const int left = std::max(x, int(area.x));
    const int top = std::max(y, int(area.y));
    const int right = std::min(x + GetWidth(), area.x + int(area.w));
    const int bottom = std::min(y + GetHeight(), area.y + int(area.h));
    const int width = std::max(1, right - left);
    const int height = std::max(1, bottom - top);

    // The image is stretched along the beam to the length left.
    if (Image* image = GetImage()) {
        const Point<int> size = image->GetFrameSize();
        const double fx = m_FromVertical ? double(width) / size.x : 1.0;
        const double fy = m_FromVertical ? 1.0 : double(height) / size.y;
        SetImage(ImageEffects::ZoomImageXY(image, fx, fy, true), GetImageName());
    }
    SetPosition(left, top);
    SetSize(width, height);
    SetRectangle(width, height, true);
}

void LaserBeam::Tick()
{
    Actor::Tick();
    if (Paddle* paddle = m_Paddle.Get()) {
        if (m_FromVertical)
            SetPosition(GetX(), paddle->GetY() + paddle->GetHeight() / 2 - GetHeight() / 2);
        else
            SetPosition(paddle->GetX() + paddle->GetWidth() / 2 - GetWidth() / 2, GetY());
    }
    SyncToPhysics();
    // What contacts did to the body does not carry the beam off its place.
    if (PhysicsBody* body = GetPhysicsBody())
        body->SetLinearVel(0.0, 0.0);
}

#include "field/BallSpawnAnimation.h"

#include "core/Class.h"
#include "core/FramePeriod.h"
#include "display/Canvas.h"
#include "field/Ball.h"
#include "scene/ArcadeEventHandler.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

Object* InstantiateSpawnAnimation(const LuaPlus::LuaObject& params)
{
    std::unique_ptr<BallSpawnAnimation> animation(new BallSpawnAnimation());
    animation->ApplyProperties(params);
    animation->Initialize();
    return animation.release();
}

} // namespace

MAKO_IMPLEMENT_CLASS(BallSpawnAnimation, "BallSpawnAnimation", "ArcadeActor",
                     &BallSpawnAnimation::RegisterProperties, &InstantiateSpawnAnimation);

BallSpawnAnimation::BallSpawnAnimation(const std::string& resourceName)
{
    SetColor(Palette::White);
    if (!resourceName.empty())
        ApplyStringProperty("resource", resourceName);
}

BallSpawnAnimation::~BallSpawnAnimation() = default;

void BallSpawnAnimation::HoldBall(std::unique_ptr<Ball> ball)
{
    m_Ball = std::move(ball);
}

std::unique_ptr<Ball> BallSpawnAnimation::TakeBall()
{
    return std::move(m_Ball);
}

void BallSpawnAnimation::SetCenter(int x, int y)
{
    m_Center = Point<int>(x, y);
    PlaceAroundCircle();
}

void BallSpawnAnimation::SetInitialRadius(unsigned radius)
{
    m_InitialRadius = radius;
    PlaceAroundCircle();
}

void BallSpawnAnimation::PlaceAroundCircle()
{
    const int r = int(m_InitialRadius);
    SetPosition(m_Center.x - r, m_Center.y - r);
    SetSize(2 * r, 2 * r);
}

double BallSpawnAnimation::Progress() const
{
    if (m_LifeTime == 0)
        return 1.0;
    return double(m_Elapsed) / double(m_LifeTime);
}

int BallSpawnAnimation::CurrentRadius() const
{
    return std::max(0, int(std::trunc((1.0 - Progress()) * m_InitialRadius)));
}

int BallSpawnAnimation::CurrentAlpha() const
{
    return std::clamp(int(std::trunc(Progress() * 255.0)), 0, 255);
}

void BallSpawnAnimation::Tick()
{
    ArcadeActor::Tick();
    if (m_Elapsed == 0)
        PlaySound("ballspawn.ogg", false);
    m_Elapsed += FRAME_PERIOD_MS;
    if (m_Elapsed >= m_LifeTime)
        PostEvent(ARCADE_ANIMFINISH, this);
}

void BallSpawnAnimation::Draw(Canvas& canvas)
{
    const int radius = CurrentRadius();
    if (radius <= 0)
        return;
    Color color = GetColor();
    color.a = std::uint8_t(CurrentAlpha());
    // The canvas origin is the actor's corner; the centre is in the parent's coordinates.
    canvas.FillCircle(m_Center.x - GetX(), m_Center.y - GetY(), radius, color);
}

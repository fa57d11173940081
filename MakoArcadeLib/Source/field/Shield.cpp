#include "field/Shield.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/ObjectBoundary.h"
#include "display/Canvas.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "display/ImageRenderer.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/CollisionCategory.h"
#include "physics/PhysicsGeom.h"
#include "scene/IdenticalParticleEmitter.h"

#include <algorithm>
#include <cmath>
#include <memory>

MAKO_IMPLEMENT_CLASS(Shield, "Shield", "ArcadeStructure", nullptr, nullptr);

namespace {

// The band images by level, 1 (outermost when full) to 6 (nearest the field when full).
const char* const kLevelImages[Shield::kMaxLevel] = {"Shield.Indigo.png", "Shield.Blue.png",
                                                     "Shield.Green.png",  "Shield.Yellow.png",
                                                     "Shield.Orange.png", "Shield.Red.png"};

} // namespace

Shield::Shield(const std::string& side) : m_Side(side)
{
    SetZOrder(8);
    ApplyStringProperty("resource", side + "Shield");
    // The band images are drawn along the side: turned upright for the left and right.
    const bool upright = !IsHorizontal();
    for (int level = 0; level <= kMaxLevel; ++level) {
        std::unique_ptr<Actor> band(new Actor());
        // A band's picture the pack lacks is named once; the shield holds that level all the
        // same, and shows nothing for it.
        const char* name = level > 0 ? kLevelImages[level - 1] : nullptr;
        if (name &&
            ObjectBoundary::Guard(
                [name] { return std::string("The shield's band \"") + name + "\""; },
                "the shield shows that level without it",
                [&] { band->SetImageFromResource(name); }) &&
            upright)
            band->SetImage(ImageEffects::RotateImageRightAngle(band->GetImage(), 90),
                           band->GetImageName());
        m_LevelActors.push_back(std::move(band));
    }
    m_MaxLevel = kMaxLevel;
    SetVisible(false, false);
}

void Shield::SetShieldLevel(int level)
{
    if (level == 0) {
        if (m_Geom && m_Geom->IsEnabled())
            m_Geom->Disable();
        SetVisible(false, false);
        m_Level = 0;
    } else if (level >= 1 && level <= m_MaxLevel) {
        if (m_Geom && !m_Geom->IsEnabled())
            m_Geom->Enable();
        SetVisible(true, false);
        m_Level = level;
    } else {
        MAKO_THROW(Exception, "Shield level " + std::to_string(level) + " is out of range; a " +
                                  "shield has levels 0 to " + std::to_string(m_MaxLevel) + ".");
    }
}

void Shield::IncreaseLevel()
{
    if (m_Level >= m_MaxLevel)
        return;
    SetShieldLevel(m_Level + 1);
    PlaySound("shield_added.ogg", false);
}

void Shield::Tick()
{
    m_HitThisTick = false;
}

void Shield::UpdatePhysics(World* world)
{
    SetRectangle(GetWidth(), GetHeight(), true);
    SetCategoryBits(COLLISION_SHIELD);
    SetCollideBits(COLLISION_BALL);
    SetBounciness(0); // BounceAlways
    ArcadeStructure::UpdatePhysics(world);
    if (m_Level == 0 && m_Geom && m_Geom->IsEnabled())
        m_Geom->Disable();
}

void Shield::HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                             double nx, double ny, double depth, bool solid)
{
    if (m_HitThisTick || !other)
        return;
    const std::string& name = other->GetClass()->GetName();
    if (name != "Ball" && name != "Goober")
        return;
    m_HitThisTick = true;
    if (m_Level <= 0)
        return;
    logic = logic ? logic : gLogic;
    std::vector<Shield*> shields;
    if (logic)
        shields = logic->GetShields();
    // A shield the controller does not list still takes its own hit.
    if (std::find(shields.begin(), shields.end(), this) == shields.end())
        shields.push_back(this);
    for (Shield* shield : shields)
        if (shield->GetLevel() > 0)
            shield->SetShieldLevel(shield->GetLevel() - 1);
    StartHitSpray(logic, x, y);
    PlaySound("shield_hit.ogg", false);
}

void Shield::StartHitSpray(ArcadeGameLogic* logic, double x, double y)
{
    ParticleManager* particles = ArcadeGameLogic::GetParticleManager();
    if (!logic || !particles)
        return;
    ParticleEmitter* spray = new IdenticalParticleEmitter("ShieldHitEmitter", particles);
    spray->SetPosition(int(std::lround(x)) - spray->GetWidth() / 2,
                       int(std::lround(y)) - spray->GetHeight() / 2);
    logic->AddEmitter(spray);
    spray->Start();
}

void Shield::Draw(Canvas& canvas)
{
    if (m_Level <= 0)
        return;
    const bool horizontal = IsHorizontal();
    const int thickness = horizontal ? GetHeight() : GetWidth();
    const int side = horizontal ? GetWidth() : GetHeight();
    // Outward from the field: down below it, up above it, left and right beside it.
    const int outward = (m_Side == "Bottom" || m_Side == "Right") ? thickness : -thickness;
    int along = m_CornerStart ? kCornerInset : 0;
    int length = side - (m_CornerStart ? kCornerInset : 0) - (m_CornerEnd ? kCornerInset : 0);
    int offset = 0;
    for (int level = m_Level; level >= 1; --level) {
        DrawBand(canvas, level, along, length, offset);
        offset += outward;
        if (m_CornerStart) {
            along -= thickness;
            length += thickness;
        }
        if (m_CornerEnd)
            length += thickness;
    }
}

void Shield::DrawBand(Canvas& canvas, int level, int along, int length, int outward) const
{
    Image* image = m_LevelActors[level]->GetImage();
    if (!image || length <= 0)
        return;
    const bool horizontal = IsHorizontal();
    const int thickness = horizontal ? GetHeight() : GetWidth();
    const Point<int> size = image->GetFrameSize();
    const int imageLength = horizontal ? size.x : size.y;
    const int imageThickness = std::min(thickness, horizontal ? size.y : size.x);
    const CanvasState& state = canvas.GetState();
    // Longer bands repeat the image along the side.
    for (int done = 0; done < length && imageLength > 0; done += imageLength) {
        const int piece = std::min(imageLength, length - done);
        SDL_Rect src, dst;
        if (horizontal) {
            src = MakeRect(0, 0, piece, imageThickness);
            dst = MakeRect(state.x + along + done, state.y + outward, piece, imageThickness);
        } else {
            src = MakeRect(0, 0, imageThickness, piece);
            dst = MakeRect(state.x + outward, state.y + along + done, imageThickness, piece);
        }
        canvas.GetRenderer()->DrawImage(image, SHADERTYPE_BLENDPIXELALPHA, &dst, &src, GetAlpha(),
                                        0.0, 0);
    }
}

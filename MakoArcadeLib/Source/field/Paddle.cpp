// Paddle: set-up, placement in the world, size, power and glow, catch and laser modes, the
// label, the loot bag, the shatter and tint effects, and the tick.
#include "field/Paddle.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/DataReport.h"
#include "core/FramePeriod.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/State.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/LaserBeam.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/PlayerSkill.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "scene/BufferedIdenticalParticleEmitter.h"
#include "scene/IdenticalParticleEmitter.h"
#include "scene/Particle.h"
#include "scene/ParticleManager.h"
#include "sound/Sound.h"
#include "widgets/Label.h"

#include <algorithm>
#include <cmath>

MAKO_IMPLEMENT_CLASS(Paddle, "Paddle", "ArcadeStructure", &Paddle::RegisterProperties,
                     &InstantiateObjectOfClass<Paddle>);

const double PaddleSizes[7] = {32, 40, 52, 64, 88, 128, 160};

namespace {

// The paddle's only object state: the swing machine lives in the paddle itself.
class PaddleIdleState : public State
{
public:
    const char* GetName() const override { return "Idle"; }
};

// The resource table of that name, nil when there is none.
LuaPlus::LuaObject ResourceTable(const std::string& name)
{
    return GetGlobalLuaState()->GetGlobal("Resources")[name.c_str()];
}

// An actor of the class its resource table names (Actor without one); null when the
// resource does not exist. The paddle's parts made this way (its glow, its laser emitter,
// its label) are decorations: one its data cannot make (a picture the pack lacks) is named
// once and left out, and the paddle plays without it.
Actor* MakeActorFromResource(const std::string& name)
{
    LuaPlus::LuaObject table = ResourceTable(name);
    if (!table.IsTable())
        return nullptr;
    std::unique_ptr<Object> made;
    ObjectBoundary::Guard([&name] { return "The paddle's part \"" + name + "\""; },
                          "the paddle plays without it",
                          [&] {
                              if (table["class"].IsString())
                                  made.reset(ClassManager::GetInstance()->InstantiateObject(table));
                              else
                                  made.reset(Actor::CreateFromResource(name));
                          });
    if (!dynamic_cast<Actor*>(made.get()))
        return nullptr;
    return static_cast<Actor*>(made.release());
}

// The stroke trail's particles: a copy of the stroke picture centred on the paddle.
Particle* MakeStrokeParticle(ParticleEmitter* emitter, void* argument)
{
    Paddle* paddle = static_cast<Paddle*>(argument);
    Particle* particle = static_cast<Particle*>(ParticleEmitter::CreateParticle(emitter, nullptr));
    if (!particle)
        return nullptr;
    if (const Image* stroke = paddle->GetStrokeImage())
        particle->SetImage(stroke->Clone(), "");
    particle->CenterOn(paddle);
    particle->m_Position = Point<float>(float(particle->GetX()), float(particle->GetY()));
    return particle;
}

} // namespace

Paddle::Paddle(bool vertical, bool facePositive)
    : m_Vertical(vertical), m_FacePositive(facePositive)
{
    // A paddle is needed to play: when its table cannot be applied (its picture missing from
    // the pack), it is named once and a plain bar of the picture's usual size stands in.
    if (!ObjectBoundary::Guard("The paddle", "a plain bar stands in for its picture",
                               [this] { ApplyStringProperty("resource", "Paddle"); }))
        SetImage(
            new Image(kStandInLength, kStandInThickness, 1, IMAGE_SRCALPHA, Color(200, 160, 60)),
            "");
    if (Image* image = GetImage())
        m_BaseImage.reset(image->Clone());
    SetMovable(true);
    SetImmobileCollisions(true);
    SetRectangle(GetWidth(), GetHeight(), false);

    m_Glow = MakeActorFromResource("PaddleGlow");
    if (m_Glow) {
        m_Glow->SetVisible(false, false);
        AddChild(m_Glow, "Glow");
        m_Glow->SetAlignment(Center);
        m_Glow->UpdateAlignment();
        if (m_Glow->GetImage())
            m_BaseGlowImage.reset(m_Glow->GetImage()->Clone());
    }

    m_LaserEmitter = MakeActorFromResource("LaserEmitter");
    if (m_LaserEmitter) {
        m_LaserEmitter->SetVisible(false, false);
        AddChild(m_LaserEmitter, "LaserEmitter");
    }

    LoadSwingParameters();
    const int sizeIndex = GetPaddleInitialSizeIndex(-1);
    if (sizeIndex >= 0)
        SetSizeIndex(sizeIndex);
    else
        SetWidth(m_Width, m_TargetWidth, m_SizeIndex);

    AddState(new PaddleIdleState());
    SetState("Idle");
}

Paddle::~Paddle() = default;

// ---- Placement ------------------------------------------------------------------------------

EdgeMask Paddle::FaceSide() const
{
    if (m_Vertical)
        return m_FacePositive ? 2 : 8;
    return m_FacePositive ? 4 : 1;
}

EdgeMask Paddle::BackSide() const
{
    if (m_Vertical)
        return m_FacePositive ? 8 : 2;
    return m_FacePositive ? 1 : 4;
}

void Paddle::UpdatePhysics(World* world)
{
    m_RestPosition = m_Vertical ? GetX() + GetWidth() / 2 : GetY() + GetHeight() / 2;
    // The box stands upright for a vertical paddle; the actor keeps its horizontal layout.
    const int x = GetX(), y = GetY(), w = GetWidth(), h = GetHeight();
    if (m_Vertical)
        SetRectangle(h, w, true);
    else
        SetRectangle(w, h, false);
    SetPosition(x, y);
    SetSize(w, h);

    // The picture turns; the box does not (it is built upright already).
    static const double kRotation[2][2] = {{0.0, 180.0}, {90.0, 270.0}};
    const double degrees = kRotation[m_Vertical][m_FacePositive];
    if (degrees != 0.0) {
        Actor::SetRotation(-degrees, Center, false);
        if (m_Glow)
            m_Glow->SetRotation(-degrees, Center, false);
    }
    static const char* const kLaserEmitter[2][2] = {{"LaserEmitterTop", "LaserEmitterBottom"},
                                                    {"LaserEmitterRight", "LaserEmitterLeft"}};
    if (m_LaserEmitter && ResourceTable(kLaserEmitter[m_Vertical][m_FacePositive]).IsTable())
        m_LaserEmitter->ApplyStringProperty("resource", kLaserEmitter[m_Vertical][m_FacePositive]);

    static const char* const kEnergy[2][2] = {{"PaddleEnergyBottom", "PaddleEnergyTop"},
                                              {"PaddleEnergyRight", "PaddleEnergyLeft"}};
    if (!m_EnergyEmitter) {
        m_EnergyEmitter = MakeEmitter(kEnergy[m_Vertical][m_FacePositive]);
        if (m_EnergyEmitter) {
            AddChild(m_EnergyEmitter, "EnergyEmitter");
            m_EnergyEmitter->SetAlignment(Center);
            m_EnergyEmitter->UpdateAlignment();
        }
    }
    if (!m_StrokeTrail && ArcadeGameLogic::GetParticleManager()) {
        m_StrokeTrail =
            new ParticleEmitter("PaddlePowerupTrail", ArcadeGameLogic::GetParticleManager());
        m_StrokeTrail->SetFactory(&MakeStrokeParticle, this);
        AddChild(m_StrokeTrail, "StrokeTrail");
        m_StrokeTrail->SetAlignment(Center);
        m_StrokeTrail->UpdateAlignment();
    }
    UpdateGlow();
    SetCategoryBits(16);
    SetCollideBits(1 | 8 | 128);
    ArcadeStructure::UpdatePhysics(world);
}

ParticleEmitter* Paddle::MakeEmitter(const std::string& resource)
{
    ParticleManager* manager = ArcadeGameLogic::GetParticleManager();
    if (!manager)
        return nullptr;
    return new IdenticalParticleEmitter(resource, manager);
}

Vector2D Paddle::GetVelocity() const
{
    const PhysicsBody* body = GetPhysicsBody();
    return body ? body->GetLinearVel() : Vector2D(0, 0);
}

void Paddle::SetVelocity(const Vector2D& velocity)
{
    if (PhysicsBody* body = GetPhysicsBody())
        body->SetLinearVel(velocity.x, velocity.y);
}

// ---- Size -------------------------------------------------------------------------------

void Paddle::Expand()
{
    m_SizeIndex = std::min(m_SizeIndex + 1, 6);
    m_TargetWidth = PaddleSizes[m_SizeIndex];
}

void Paddle::Contract()
{
    m_SizeIndex = std::max(m_SizeIndex - 1, 0);
    m_TargetWidth = PaddleSizes[m_SizeIndex];
}

void Paddle::SetSizeIndex(int index)
{
    if (index < 0 || index > 6) {
        // A size from data: said where the paddle is made (its start in a level), as every
        // mend of data is.
        const int clamped = std::clamp(index, 0, 6);
        DataReport::Report(std::string(), "\"paddleSize\": " + std::to_string(index) +
                                              " is outside 0 to 6; " + std::to_string(clamped) +
                                              " is used");
        index = clamped;
    }
    SetWidth(PaddleSizes[index], PaddleSizes[index], index);
}

void Paddle::SetWidth(double width, double targetWidth, int sizeIndex)
{
    m_Width = width;
    m_TargetWidth = targetWidth;
    m_SizeIndex = sizeIndex;
    const int height = GetHeight();
    if (m_BaseImage) {
        const double factor = width / m_BaseImage->GetFrameSize().x;
        SetImage(ImageEffects::ZoomImageXY(m_BaseImage.get(), factor, 1.0, true), GetImageName());
    }
    if (m_Glow && m_BaseGlowImage) {
        const double factor = width / m_BaseGlowImage->GetFrameSize().x;
        m_Glow->SetImage(ImageEffects::ZoomImageXY(m_BaseGlowImage.get(), factor, 1.0, true),
                         m_Glow->GetImageName());
    }
    // The actor keeps the horizontal layout; the box of a vertical paddle stands upright.
    if (m_Vertical)
        SetRectangle(height, width, true);
    else
        SetRectangle(width, height, true);
    SetSize(int(width), height);
    for (Actor* child : GetChildren())
        child->UpdateAlignment();
    if (m_Geom)
        m_Geom->SetBoxSize(float(m_ShapeWidth - 0.01), float(m_ShapeHeight - 0.01));
    UpdateGlow();
}

void Paddle::StepWidth()
{
    if (m_Width < m_TargetWidth)
        SetWidth(std::min(m_Width + 2.0, m_TargetWidth), m_TargetWidth, m_SizeIndex);
    if (m_Width > m_TargetWidth)
        SetWidth(std::max(m_Width - 2.0, m_TargetWidth), m_TargetWidth, m_SizeIndex);
}

// ---- Power and glow -----------------------------------------------------------------------

void Paddle::AddPower(double amount)
{
    m_Power += amount;
    m_BasePower += amount;
    m_Power = std::max(m_Power, m_BasePower);
    UpdateGlow();
    if (!gLogic)
        return;
    const char* resource = amount <= 0 ? "PaddlePowerDownEmitter" : "PaddlePowerUpEmitter";
    for (int end = 0; end < 2; ++end) {
        ParticleEmitter* emitter = MakeEmitter(resource);
        if (!emitter)
            return;
        const int ex = end == 0 ? GetX() : GetX() + GetWidth() - emitter->GetWidth();
        emitter->SetPosition(ex, GetY() + GetHeight() / 2 - emitter->GetHeight() / 2);
        gLogic->AddEmitter(emitter);
        emitter->Start();
    }
}

void Paddle::UpdateGlow()
{
    const double level = m_Power + m_Charge;
    const double alpha =
        std::min((0.2 * std::max(m_SwingOffset, 0.0) + level) * 0.125 * 255.0, 255.0);
    const std::uint8_t byte = std::uint8_t(int(alpha) & 0xFF);
    if (m_Glow) {
        m_Glow->SetVisible(byte != 0, false);
        if (byte != 0)
            m_Glow->SetAlpha(byte);
    }
    if (!m_EnergyEmitter)
        return;
    if (level > 0) {
        LuaPlus::LuaObject interval;
        interval.AssignInteger(GetGlobalLuaState(), int(800.0 / (level * level + 2.0)));
        m_EnergyEmitter->ApplyProperty("interval", interval);
        if (!m_EnergyEmitter->IsEmitting())
            m_EnergyEmitter->Start();
    } else {
        m_EnergyEmitter->Stop();
    }
}

// ---- Held balls and modes -----------------------------------------------------------------

void Paddle::AddHeldBall(Ball* ball)
{
    if (!m_HeldBalls.Contains(ball))
        m_HeldBalls.Add(ball);
}

void Paddle::RemoveHeldBall(Ball* ball)
{
    m_HeldBalls.Remove(ball);
}

void Paddle::LaunchHeldBalls()
{
    m_CatchCooldown = 6;
    if (m_HeldBalls.IsEmpty())
        return;
    PlaySound("paddleLaunch.ogg", false);
    const Vector2D velocity = GetVelocity();
    // A copy: releasing a ball takes it out of the group.
    const std::vector<Actor*> held(m_HeldBalls.GetMembers().begin(),
                                   m_HeldBalls.GetMembers().end());
    for (Actor* actor : held) {
        Ball* ball = static_cast<Ball*>(actor);
        ball->ReleaseFromPaddle();
        m_HeldBalls.Remove(ball);
        PhysicsBody* body = ball->GetPhysicsBody();
        if (m_CatchEnabled || !body)
            continue;
        Vector2D v = body->GetLinearVel();
        if (m_Vertical)
            v.x += velocity.x;
        else
            v.y += velocity.y;
        body->SetLinearVel(v.x, v.y);
    }
}

void Paddle::SetCatch(bool on)
{
    m_CatchEnabled = on;
    if (on)
        return;
    const std::vector<Actor*> held(m_HeldBalls.GetMembers().begin(),
                                   m_HeldBalls.GetMembers().end());
    for (Actor* actor : held) {
        static_cast<Ball*>(actor)->ReleaseFromPaddle();
        m_HeldBalls.Remove(actor);
    }
}

void Paddle::SetLaser(bool on)
{
    const bool changed = on != m_LaserEnabled;
    m_LaserEnabled = on;
    if (m_LaserEmitter)
        m_LaserEmitter->SetVisible(on, false);
    if (changed) {
        StopChargeSounds();
        ReadSwingFromBody();
        // A displaced paddle heads back to its rest line from where it is: pulled back it
        // strokes forwards, pushed forwards it returns; at the rest line nothing changes.
        if (m_SwingOffset > 0) {
            m_SwingState = WhackStroke;
            m_SwingSpeed = m_Swing.returnRate;
        } else if (m_SwingOffset < 0) {
            m_SwingState = SwingReturn;
            m_SwingSpeed = -m_Swing.returnRate;
        }
        ApplySwingVelocity();
    }
    if (!on) {
        if (LaserBeam* beam = m_LaserBeam.Get())
            beam->Kill();
        m_LaserBeam.Clear();
    }
}

LaserBeam* Paddle::GetLaserBeam() const
{
    return m_LaserBeam.Get();
}

// ---- Label, loot and effects -----------------------------------------------------------------

Actor* Paddle::GetLabel() const
{
    return m_LabelGroup.IsEmpty() ? nullptr : m_LabelGroup.GetMembers().front();
}

Actor* Paddle::MakeLabel()
{
    if (Actor* label = GetLabel())
        return label;
    const char* resource = !m_Vertical      ? "PaddleLabel"
                           : m_FacePositive ? "PaddleLabelVerticalLeft"
                                            : "PaddleLabelVerticalRight";
    Actor* label = MakeActorFromResource(resource);
    if (!label)
        return nullptr;
    label->SetVisible(false, false);
    // Placed by its resource against the paddle, then kept at that offset from its centre.
    AddChild(label, "Label");
    label->UpdateAlignment();
    m_LabelOffsetX = label->GetX() + label->GetWidth() / 2 - GetWidth() / 2;
    m_LabelOffsetY = label->GetY() + label->GetHeight() / 2 - GetHeight() / 2;
    m_LabelGroup.Add(label);
    // The label lives in the level, not on the paddle, so it is not turned with it.
    if (gLogic) {
        RemoveChild(label);
        label->SetAlignment(NoAlignment);
        gLogic->AddActor(label);
    }
    return label;
}

void Paddle::ShowLabel(const std::string& text, int durationMs)
{
    Label* label = dynamic_cast<Label*>(MakeLabel());
    if (!label)
        return;
    label->SetText(text, true);
    label->SetVisible(true, false);
    label->SetAlpha(255);
    PlaceLabelAndFollowers();
    label->FadeOut(durationMs, false);
}

void Paddle::AddPhrase(const std::string& text)
{
    m_Phrases.push_back(text);
}

std::string Paddle::TakeRandomPhrase()
{
    if (m_Phrases.empty())
        return std::string();
    const int index = RandomInt(int(m_Phrases.size()));
    std::string taken = m_Phrases[index];
    m_Phrases.erase(m_Phrases.begin() + index);
    return taken;
}

void Paddle::Shatter()
{
    PlaySound("Paddle Shatter.ogg", false);
    const int pieces = (GetWidth() * GetHeight()) / 40;
    // The pieces are cut from the paddle's picture (there is an emitter only while a
    // controller with a particle manager runs).
    if (ParticleEmitter* emitter =
            Brick::CreateExplosionEmitter("BrickExplosionEmitter1", this, nullptr, 0, 0, pieces)) {
        gLogic->AddEmitter(emitter);
        emitter->Start();
    }
    Kill();
}

void Paddle::TintFlash(const std::string& colour)
{
    Image* tint = Actor::NewImageFromResource("Paddle.Tint." + colour + ".png");
    if (!tint)
        return;
    Actor* overlay = new Actor();
    overlay->SetDrawMode(DRAWMODE_DEFAULT);
    Image* scaled = ImageEffects::ZoomImageXY(tint, m_Width / 64.0, 1.0, true);
    delete tint;
    overlay->SetImage(scaled, "");
    if (ParticleManager* manager = gLogic ? ArcadeGameLogic::GetParticleManager() : nullptr)
        manager->AddChild(overlay, "");
    else
        AddChild(overlay, "");
    overlay->SetAlignment(Center);
    if (m_Vertical)
        overlay->SetRotation(90.0, Center, false);
    overlay->FadeOut(500, true);
    m_Followers.Add(overlay);
    PlaceLabelAndFollowers();
}

// ---- Lifetime ------------------------------------------------------------------------------

void Paddle::Kill()
{
    StopChargeSounds();
    m_HeldBalls.KillAll();
    ArcadeStructure::Kill();
    // The kill took the children (glow, emitters) with it.
    m_Glow = nullptr;
    m_EnergyEmitter = nullptr;
    m_StrokeTrail = nullptr;
    m_LaserEmitter = nullptr;
    if (LaserBeam* beam = m_LaserBeam.Get())
        beam->Kill();
    m_LaserBeam.Clear();
}

void Paddle::Tick()
{
    ArcadeStructure::Tick();
    if (IsDead())
        return;
    ReadSwingFromBody();
    TickSwing();
    StepWidth();
    if (m_CatchCooldown > 0)
        --m_CatchCooldown;
    ApplySwingVelocity();
    SyncFromPhysics();
    PlaceLabelAndFollowers();
}

void Paddle::PlaceLabelAndFollowers()
{
    const int cx = GetX() + GetWidth() / 2;
    const int cy = GetY() + GetHeight() / 2;
    // Positions are relative to each actor's parent: the paddle's own children are placed
    // in its frame, actors elsewhere in the field's.
    auto place = [&](Actor* actor, int dx, int dy) {
        const bool mine = actor->GetParent() == this;
        const int ox = mine ? GetWidth() / 2 : cx;
        const int oy = mine ? GetHeight() / 2 : cy;
        actor->SetPosition(ox + dx - actor->GetWidth() / 2, oy + dy - actor->GetHeight() / 2);
    };
    if (Actor* label = GetLabel())
        place(label, m_LabelOffsetX, m_LabelOffsetY);
    for (Actor* follower : m_Followers.GetMembers())
        place(follower, 0, 0);
}

// ---- Events -----------------------------------------------------------------------------------

bool Paddle::OnPointerMove(const Event& event)
{
    const auto dx = static_cast<int>(reinterpret_cast<std::intptr_t>(event.user.data1));
    const auto dy = static_cast<int>(reinterpret_cast<std::intptr_t>(event.user.data2));
    m_MoveAccumulator += m_Vertical ? dy : dx;
    return false;
}

bool Paddle::OnPaddleUpdate(const Event& event)
{
    m_CentreX = GetX() + GetWidth() / 2;
    m_CentreY = GetY() + GetHeight() / 2;
    m_MoveAccumulator = std::clamp(m_MoveAccumulator, -640, 640);
    Vector2D velocity = GetVelocity();
    if (m_Vertical)
        velocity.y = m_MoveAccumulator / FRAME_PERIOD_SECONDS;
    else
        velocity.x = m_MoveAccumulator / FRAME_PERIOD_SECONDS;
    SetVelocity(velocity);
    m_MoveAccumulator = 0;
    SyncFromPhysics();
    return false;
}

bool Paddle::OnButtonDown(const Event& event)
{
    Press();
    return false;
}

bool Paddle::OnButtonUp(const Event& event)
{
    Release();
    return false;
}

bool Paddle::OnReload(const Event& event)
{
    LoadSwingParameters();
    return ArcadeStructure::OnReload(event);
}

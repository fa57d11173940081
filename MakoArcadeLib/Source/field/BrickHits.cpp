// Brick: what strikers do to a brick, damage stages, destruction and the per-tick
// behaviour (flash, cooldowns, healing, regeneration, phasing).
#include "field/Brick.h"

#include "core/Class.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/ObjectBoundary.h"
#include "core/ObjectDescription.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "field/Ball.h"
#include "field/Explosion.h"
#include "field/FlashPicture.h"
#include "field/FlyingText.h"
#include "field/Spark.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "perf/PerformanceCounterManager.h"
#include "perf/ScopedPerformanceTimer.h"
#include "physics/PhysicsBody.h"
#include "scene/BufferedIdenticalParticleEmitter.h"
#include "scene/IdenticalParticleEmitter.h"
#include "scene/ParticleManager.h"

#include <algorithm>
#include <cmath>

using LuaPlus::LuaObject;

namespace {

const std::string& ClassNameOf(const ArcadeStructure* other)
{
    return other->GetClass()->GetName();
}

struct MaterialSounds
{
    const char* material;
    const char* hit;
    const char* crash;
};
// Hit and crash sounds by material; the others crack like stone.
const MaterialSounds kMaterials[] = {
    {"Brick", "Stone Crack.ogg", "Stone Shatter.ogg"},
    {"Ice", "hitIce.ogg", "crashIce.ogg"},
    {"Snow", "Stone Crack.ogg", "crashSnow.ogg"},
    {"Stone", "Stone Crack.ogg", "Stone Shatter.ogg"},
    {"Gold", "Stone Crack.ogg", "gold.ogg"},
    {"Wood", "hitWood.ogg", "crashWood.ogg"},
    {"Crate", "hitWood.ogg", "crashWood.ogg"},
    {"JungleWood", "hitWood.ogg", "crashWood.ogg"},
    {"OldWood", "hitWood.ogg", "crashWood.ogg"},
    {"Chain", "hitChain.ogg", "crashChain.ogg"},
    {"Leaf", "Stone Crack.ogg", "crashBush.ogg"},
    {"Jar", "Stone Crack.ogg", "crashJar.ogg"},
};

Vector2D RectCentreOf(const Actor& actor)
{
    return Vector2D(actor.GetX() + actor.GetWidth() / 2.0, actor.GetY() + actor.GetHeight() / 2.0);
}

const MaterialSounds* FindMaterial(const std::string& material)
{
    for (const MaterialSounds& m : kMaterials)
        if (material == m.material)
            return &m;
    return nullptr;
}

} // namespace

// ---- Sounds ---------------------------------------------------------------------------------

std::string Brick::HitSound(bool paddle) const
{
    if (!paddle && (m_Material == "Steel" || m_Material == "EvilPaddle"))
        return "Metal Bounce.ogg";
    const MaterialSounds* m = FindMaterial(m_Material);
    return m ? m->hit : "Stone Crack.ogg";
}

std::string Brick::CrashSound() const
{
    if (m_Glass)
        return "Glass.ogg";
    if (m_Material == "EvilPaddle")
        return "Big Explosion.ogg";
    if (const MaterialSounds* m = FindMaterial(m_Material))
        return m->crash;
    return m_Strength < 2 ? "crashStone.ogg" : "Stone Shatter.ogg";
}

void Brick::PlayWithCooldown(const std::string& name)
{
    if (m_HitSoundCooldown != 0)
        return;
    PlaySound(name, false);
    m_HitSoundCooldown = kSoundCooldown;
}

// ---- Contacts -------------------------------------------------------------------------------

bool Brick::AcceptsCollision(CollisionOwner* otherOwner, double x, double y)
{
    ArcadeStructure* other = dynamic_cast<ArcadeStructure*>(otherOwner);
    if (!other)
        return false;
    const std::string& name = ClassNameOf(other);
    if (Ball* ball = dynamic_cast<Ball*>(other))
        return AcceptsBall(ball, x, y);
    static const char* const kPass[] = {"Brick",     "Goober",     "Wall",    "Paddle",
                                        "LaserBeam", "DropTarget", "Collider"};
    for (const char* pass : kPass)
        if (name == pass || other->GetClass()->DerivesFrom(pass))
            return true;
    return false;
}

bool Brick::PhaseBlocks() const
{
    return m_PhaseStrong || m_PhaseProgress != 0;
}

void Brick::HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                            double nx, double ny, double depth, bool solid)
{
    if (IsDead() || m_RegenerationCountdown != 0 || !other)
        return;
    SyncFromPhysics();
    other->SyncFromPhysics();
    const std::string& name = ClassNameOf(other);
    const int touched = WhichSides(x, y);
    const bool breakable = m_Strength >= 0 || Touches(m_WeakEdges, touched);
    if (Ball* ball = dynamic_cast<Ball*>(other)) {
        HandleBallHit(ball, logic, x, y, nx, ny, touched);
    } else if (name == "Explosion" || name == "Spark") {
        const bool proof = name == "Spark" ? m_LightningProof : m_BombProof;
        if (!proof && breakable && !PhaseBlocks() && m_BallHopperSize == 0) {
            // Explosions and sparks tell the damage of their blow at the struck point.
            const int amount = std::max(other->GetStrikeDamage(x, y), 1);
            Flash();
            SetDamage(std::min(m_Damage + amount, std::max(m_Strength, 0)), other, logic, x, y);
        }
    } else if (name == "LaserBeam") {
        if (RandomDouble(1.0) < 0.02 && !m_BombProof && breakable && !PhaseBlocks())
            SetDamage(std::min(m_Damage + 1, std::max(m_Strength, 0)), other, logic, x, y);
    } else if (name == "Paddle") {
        HandlePaddleHit(other, logic, x, y, touched);
    } else if (name == "Goober") {
        if (m_AddEnergy != 0 && (m_EnergyEdges == 0 || Touches(m_EnergyEdges, touched))) {
            Flash();
            PlaySound("bumperPinball.ogg", false);
            if (PhysicsBody* body = other->GetPhysicsBody()) {
                const Vector2D v = body->GetLinearVel();
                body->SetLinearVel(v.x + nx * m_AddEnergy * 40, v.y + ny * m_AddEnergy * 40);
            }
        }
    }
    OnHit(logic, other, x, y, nx, ny, depth, solid);
}

void Brick::HandlePaddleHit(ArcadeStructure* paddle, ArcadeGameLogic* logic, double x, double y,
                            int touched)
{
    // The paddle breaks bricks only in play (not while a level is being laid out or ends).
    if (m_PaddleHitThisTick || (logic && !logic->IsInState("Playing")))
        return;
    m_PaddleHitThisTick = true;
    Flash();
    if (m_Invisible) {
        if (m_Strength != -2) {
            m_Invisible = false;
            m_ImageValid = false;
        }
        return;
    }
    const bool weak = Touches(m_WeakEdges, touched);
    // Every negative strength is indestructible by the paddle's own rule.
    if (!weak && m_Strength < 0)
        return;
    if (m_Strength > 1)
        PlaySound(HitSound(true), false);
    SetDamage(weak ? std::max(m_Strength, 0) : std::min(m_Damage + 1, m_Strength), paddle, logic, x,
              y);
}

void Brick::OnHit(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y, double nx,
                  double ny, double depth, bool)
{
    // The structure's own contact handling starts the hit motion and runs the callbacks;
    // below the damage the hit motion asks for, only the callbacks run.
    if (m_Damage >= m_HitMotionRequiresDamage) {
        ArcadeStructure::HandleCollision(logic, other, x, y, nx, ny, depth, false);
        return;
    }
    const auto callbacks = m_HitCallbacks;
    for (const auto& entry : callbacks)
        entry.first(logic, other, x, y, nx, ny, depth, entry.second);
    CountSoftContact();
}

void Brick::TakeDamageOnCollisionHit(ArcadeGameLogic* logic, ArcadeStructure* other, double x,
                                     double y, double, double, double, void* context)
{
    Brick* self = static_cast<Brick*>(context);
    if (!other || self->IsDead())
        return;
    const NameSet* from = self->m_TakeDamageFrom ? &self->m_TakeDamageFrom->set : nullptr;
    bool match = from && from->count(ClassNameOf(other)) != 0;
    if (from && !match)
        if (const char* alias = other->GetBehaviourAlias())
            match = from->count(alias) != 0;
    if (!match)
        return;
    self->Flash();
    if (self->m_Strength > 0 && self->m_Damage < self->m_Strength)
        self->SetDamage(self->m_Damage + 1, other, logic, x, y);
}

void Brick::DestroyedBy(ArcadeStructure* cause, ArcadeGameLogic* logic, double x, double y)
{
    Destroy(cause, logic, x, y, true);
}

void Brick::DamagedBy(ArcadeStructure* cause, ArcadeGameLogic* logic, double x, double y)
{
    // A brick that cannot take damage is left alone.
    if (m_Strength > 0 && m_Damage < m_Strength) {
        Flash();
        SetDamage(m_Damage + 1, cause, logic, x, y);
    }
}

// ---- Damage and destruction -------------------------------------------------------------------

void Brick::ShowDamageFrame()
{
    Image* image = GetImage();
    if (!image)
        return;
    const int frame = StageForDamage(m_Damage);
    if (frame < image->GetNumFrames())
        SetFrame(frame);
}

void Brick::SetDamage(int damage, ArcadeStructure* destroyer, ArcadeGameLogic* logic, double x,
                      double y)
{
    m_Damage = damage;
    ShowDamageFrame();
    if (damage != 0 && m_Heals != 0 && m_HealCountdown == 0)
        m_HealCountdown = m_Heals;
    if (damage == m_Strength && m_Strength > 0)
        Destroy(destroyer, logic, x, y, true);
}

void Brick::Destroy(ArcadeStructure* destroyer, ArcadeGameLogic* logic, double x, double y,
                    bool awardScore)
{
    ScopedPerformanceTimer timer("Brick Destruction");
    if (!logic)
        logic = gLogic;
    if (!logic)
        return;
    PerformanceCounterManager::AddToIntCounter("Bricks Destroyed", 1);
    if (m_RegenerationCountdown != 0 || m_Destroying || IsDead())
        return;
    m_Destroying = true;
    const Vector2D centre = GetCentre();
    Vector2D impulse(0, 0);
    double effect = 0;
    if (destroyer) {
        logic->OnBrickCombo(this, 1, x, y);
        impulse = PushFrom(*destroyer, centre, effect);
    }
    if (awardScore)
        logic->AddScore(m_Score);
    if (m_ShowScore)
        logic->AddFlyingText(
            new FlyingText(FormatWithThousandsSeparators(m_Score), 50, GetX(), GetY(), 2, -20));
    {
        ScopedPerformanceTimer sound("Brick Destruction Sound");
        if (effect < 1)
            PlayCrashSounds();
    }
    if (destroyer || m_PowerupIsLoot) {
        ScopedPerformanceTimer powerups("Powerups");
        ReleasePowerups(destroyer, logic, x, y, impulse);
    }
    ReleaseTrappedBall(destroyer, logic);
    for (std::size_t i = 0; i < m_HopperSlots.size(); ++i)
        Launch(logic, 0);
    if (m_ExplosivePower > 0 && destroyer)
        GoOff(logic, centre);
    if (m_DestroyGroup >= 0) {
        // Groups are walked by the controller once it keeps them; the brick's own mark
        // prevents a second walk of the same group meanwhile.
        const int group = m_DestroyGroup;
        m_DestroyGroup = -1;
        DestroyGroupMembers(group, destroyer, logic);
        m_DestroyGroup = group;
    }
    if (effect < 1)
        BreakIntoChunks(logic, impulse);
    m_Destroying = false;
    if (m_Regenerates < 1)
        Kill();
    else
        Revive(logic, destroyer, centre);
    const auto callbacks = m_DestroyedCallbacks;
    for (const auto& entry : callbacks)
        entry.first(logic, destroyer, x, y, 0, 0, 0, entry.second);
}

Vector2D Brick::PushFrom(ArcadeStructure& destroyer, const Vector2D& centre, double& effect)
{
    const std::string& name = ClassNameOf(&destroyer);
    if (name == "Ball" || destroyer.GetClass()->DerivesFrom("Ball")) {
        PhysicsBody* body = destroyer.GetPhysicsBody();
        return body ? body->GetLinearVel() : Vector2D(0, 0);
    }
    if (name == "Paddle")
        return Vector2D(0, -350);
    const Vector2D from = RectCentreOf(destroyer);
    Vector2D d(centre.x - from.x, centre.y - from.y);
    const double length = std::sqrt(d.x * d.x + d.y * d.y);
    const double size = name == "Explosion" ? std::fabs(destroyer.GetRadius() - length) + 200 : 200;
    Vector2D impulse(0, 0);
    if (length > 0)
        impulse = Vector2D(d.x / length * size, d.y / length * size);
    if (name == "Explosion")
        effect = RandomDouble(4.0);
    return impulse;
}

void Brick::PlayCrashSounds()
{
    if (m_CrashSoundCooldown != 0)
        return;
    PlaySound(CrashSound(), false);
    if (m_Material == "EvilPaddle")
        PlaySound("Smash_StoneColumn1.ogg", false);
    if (m_Key) {
        PlaySound("Pickup_GemBells03.ogg", false);
        PlaySound("Heal.ogg", false);
    }
    m_CrashSoundCooldown = kSoundCooldown;
}

void Brick::GoOff(ArcadeGameLogic* logic, const Vector2D& centre)
{
    const int power = m_ExplosivePower;
    if (!m_ExplodeAsLightning) {
        logic->AddExplosion(
            Explosion::FromPower(centre.x, centre.y, power, m_ExplosiveRadius, false));
        return;
    }
    PlaySound("LightningConnect.ogg", false);
    const double gather = m_ExplosiveRadius != 0 ? m_ExplosiveRadius : 4.0 * power;
    logic->AddSpark(
        new Spark(centre.x, centre.y, centre.x, centre.y, this, power, logic, gather, 2, 4, 1, 2));
}

void Brick::BreakIntoChunks(ArcadeGameLogic* logic, const Vector2D& impulse)
{
    // The chunks show the brick nearly broken; they share the image's pixels.
    if (m_Strength >= 1 && GetImage())
        SetFrame(std::min(GetImage()->GetNumFrames() - 1,
                          (m_Strength - 1) * m_DamageStages / m_Strength));
    if (GetImage()) {
        const int count = std::max(1, int(GetShapeWidth()) * int(GetShapeHeight()) / 40);
        if (BufferedIdenticalParticleEmitter* chunks = CreateExplosionEmitter(
                "BrickExplosionEmitter1", this, nullptr, impulse.x, impulse.y, count)) {
            logic->AddEmitter(chunks);
            chunks->Start();
        }
    }
    StartEmitter("BrickExplosionEmitter2");
}

void Brick::Revive(ArcadeGameLogic* logic, ArcadeStructure* destroyer, const Vector2D& centre)
{
    LuaObject traits;
    GetScriptField(traits, "reviveTraits");
    if (traits.IsTable()) {
        LuaObject copy;
        copy.AssignNewTable(GetGlobalLuaState());
        for (LuaPlus::LuaTableIterator it(traits); it; it.Next())
            copy.SetObject(it.GetKey(), it.GetValue());
        ApplyProperties(copy);
    }
    if (destroyer)
        logic->CheckForLevelEnd(centre.x, centre.y);
    m_RegenerationCountdown = m_Regenerates;
    m_Damage = 0;
    if (m_Regenerates == 0) {
        Kill();
        return;
    }
    m_SavedCollideBits = m_CollideBits;
    SetCategoryBits(0);
    SetCollideBits(0);
    m_ImageValid = false;
}

void Brick::DestroyGroupMembers(int group, ArcadeStructure* destroyer, ArcadeGameLogic* logic)
{
    // The group is the bricks beside this one whose groupID is the group (killed actors
    // are deleted later, so the pointers stay good during the walk).
    Actor* parent = GetParent();
    if (!parent)
        return;
    std::vector<Brick*> members;
    for (Actor* child : parent->GetChildren()) {
        Brick* brick = dynamic_cast<Brick*>(child);
        if (!brick || brick == this || brick->IsDead())
            continue;
        LuaObject id;
        brick->GetScriptField(id, "groupID");
        if (id.IsNumber() && id.GetInteger() == group)
            members.push_back(brick);
    }
    for (Brick* brick : members) {
        const int own = brick->m_DestroyGroup;
        if (own == group)
            brick->m_DestroyGroup = -1;
        const Vector2D c = RectCentreOf(*brick);
        brick->Destroy(destroyer, logic, c.x, c.y, true);
        brick->m_DestroyGroup = own;
    }
}

void Brick::StartEmitter(const char* resource)
{
    ParticleManager* manager = ArcadeGameLogic::GetParticleManager();
    ArcadeGameLogic* logic = gLogic;
    if (!manager || !logic)
        return;
    IdenticalParticleEmitter* emitter = nullptr;
    try {
        emitter = new IdenticalParticleEmitter(resource, manager);
    } catch (const std::exception& e) {
        // A missing effect never stops play; the name may come from data.
        if (!ObjectBoundary::IsDataError(e))
            throw;
        DataReport::Report(DescribeObject(*this), "no emitter \"" + ShortenedText(resource) +
                                                      "\" (" + e.what() +
                                                      "); the brick shows no effect");
        return;
    }
    const Vector2D centre = GetCentre();
    emitter->SetPosition(int(centre.x) - emitter->GetWidth() / 2,
                         int(centre.y) - emitter->GetHeight() / 2);
    logic->AddEmitter(emitter);
    emitter->Start();
}

// ---- Flash
// ----------------------------------------------------------------------------------------

void Brick::Flash()
{
    if (m_FlashActor.Get() || m_NoFlash)
        return;
    const int w = std::max(1, int(GetShapeWidth()));
    const int h = std::max(1, int(GetShapeHeight()));
    const bool ownOutline = m_FlashPoly.GetNumVertices() != 0;
    Image* picture = NewFlashPicture(ownOutline ? STRUCTURE_SHAPE_TRIMESH : GetShape(),
                                     ownOutline ? m_FlashPoly : GetPolygon(), w, h);
    const Point<int> size = picture->GetFrameSize();
    Image* scaled =
        ImageEffects::ZoomImageXY(picture, double(w) / size.x, double(h) / size.y, true);
    delete picture;
    Actor* flash = new Actor();
    flash->SetImage(scaled, "");
    if (m_Rotation != 0)
        flash->SetRotation(-m_Rotation, Center, true);
    AddChild(flash, "flash");
    m_FlashActor.Set(flash);
    m_FlashCountdown = kFlashTicks;
}

// ---- Tick
// -------------------------------------------------------------------------------------------

void Brick::Tick()
{
    const int stepBefore = int(m_Rotation) / 15;
    m_LastBall = nullptr;
    ArcadeStructure::Tick();
    if (IsDead())
        return;
    if (IsBevelled() && int(m_Rotation) / 15 != stepBefore)
        InvalidateImage(true, true);
    m_PaddleHitThisTick = false;
    if (m_FlashActor.Get()) {
        if (m_FlashCountdown < 1) {
            m_FlashActor.Get()->Kill();
            m_FlashActor.Clear();
        }
        --m_FlashCountdown;
    }
    if (m_HitSoundCooldown > 0)
        --m_HitSoundCooldown;
    if (m_CrashSoundCooldown > 0)
        --m_CrashSoundCooldown;
    if (m_HealCountdown > 0 && --m_HealCountdown == 0) {
        const Vector2D c = GetCentre();
        SetDamage(std::max(0, m_Damage - 1), nullptr, nullptr, c.x, c.y);
        if (!m_HealsSilently) {
            PlaySound("Heal2.ogg", false);
            StartEmitter("HealEmitter");
        }
    }
    if (m_RegenerationCountdown > 0) {
        SetDrawMode(DRAWMODE_DEFAULT);
        SetAlpha(std::uint8_t(
            (1 - (double(m_RegenerationCountdown) / std::max(1, m_Regenerates) * 0.5 + 0.5)) *
            255));
        if (--m_RegenerationCountdown == 0) {
            SetDrawMode(DRAWMODE_HAS_IMAGE);
            SetAlpha(255);
            m_Damage = 0;
            SetCategoryBits(2);
            SetCollideBits(m_SavedCollideBits);
            StartSoftPeriod();
            if (!m_HealsSilently) {
                PlaySound("pop3.ogg", false);
                StartEmitter("ReviveEmitter");
            }
            m_ImageValid = false;
        }
    }
    if (m_PhaseStrongTicks || m_PhaseWeakTicks)
        PhaseTick();
    SyncFromPhysics();
}

void Brick::PhaseTick()
{
    if (m_PhaseProgress == 0) {
        ++m_StageProgress;
        const int length = m_PhaseStrong ? m_PhaseStrongTicks : m_PhaseWeakTicks;
        if (m_StageProgress > length) {
            m_PhaseProgress = 1;
            m_StageProgress = 0;
            if (!m_PhaseStrong && m_PhaseToInvisible)
                SetNoBlockBall(true);
        }
    } else if (++m_PhaseProgress > kPhaseChange) {
        m_PhaseProgress = 0;
        m_PhaseStrong = !m_PhaseStrong;
        if (!m_PhaseStrong && m_PhaseToInvisible)
            SetNoBlockBall(false);
    }
    const double v = m_PhaseProgress / double(kPhaseChange);
    if (m_PhaseToInvisible) {
        SetDrawMode(DRAWMODE_DEFAULT);
        SetAlpha(std::uint8_t(255 * (m_PhaseStrong ? v : 1 - v)));
    } else if (Actor* marking = GetChild("phaseEdges", false)) {
        marking->SetDrawMode(DRAWMODE_DEFAULT);
        marking->SetAlpha(std::uint8_t(255 * (m_PhaseStrong ? 1 - v : v)));
    }
}

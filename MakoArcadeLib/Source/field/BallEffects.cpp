// Ball: what a ball leaves behind. The trail and motion-blur emitters (children of the
// ball, built on the controller's particle manager), the glue splash of a glued bounce
// and the lightning connection to what a lightning ball strikes.
#include "field/Ball.h"

#include "core/Utility.h"
#include "display/Image.h"
#include "field/Spark.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "scene/IdenticalParticleEmitter.h"
#include "scene/Particle.h"
#include "scene/ParticleEmitter.h"

#include <algorithm>
#include <cmath>

namespace {

bool s_LowEffects = false;

const double kTrailAlphaPerEnergy = 14.8667;

LuaPlus::LuaObject IntValue(int value)
{
    LuaPlus::LuaObject object;
    object.AssignInteger(GetGlobalLuaState(), value);
    return object;
}

LuaPlus::LuaObject ScriptText(const char* value)
{
    LuaPlus::LuaObject object;
    object.AssignString(GetGlobalLuaState(), value);
    return object;
}

// The splash of one glued bounce: its particles fly along the ball's direction, spread
// along the contact surface.
struct GlueSplash
{
    Point<double> direction;
    Point<double> normal;
};

class GlueSplashEmitter : public IdenticalParticleEmitter
{
public:
    GlueSplashEmitter(ParticleManager* manager, const GlueSplash& splash)
        : ParticleEmitter(manager), IdenticalParticleEmitter("GlueCollisionEmitter", manager),
          m_Splash(splash)
    {
        SetFactory(&Ball::CreateGlueParticle, &m_Splash);
    }

private:
    GlueSplash m_Splash;
};

} // namespace

void Ball::SetLowEffects(bool low)
{
    s_LowEffects = low;
}

bool Ball::GetLowEffects()
{
    return s_LowEffects;
}

void Ball::CreateEmitters()
{
    ParticleManager* manager = ArcadeGameLogic::GetParticleManager();
    if (!manager)
        return;
    auto* trail = new IdenticalParticleEmitter("BallTrailEmitter1", manager);
    trail->SetFactory(&Ball::CreateTrailParticle, this);
    AddChild(trail, "");
    m_TrailEmitter.Set(trail);
    auto* blur = new IdenticalParticleEmitter("MotionBlurEmitter", manager);
    blur->SetFactory(&Ball::CreateMotionBlurParticle, this);
    AddChild(blur, "");
    m_MotionBlurEmitter.Set(blur);
    CentreEmitters();
    StartEmitters();
}

void Ball::StartEmitters()
{
    if (m_EmittersStarted || s_LowEffects)
        return;
    ParticleEmitter* trail = m_TrailEmitter.Get();
    ParticleEmitter* blur = m_MotionBlurEmitter.Get();
    if (!trail && !blur)
        return;
    if (trail)
        trail->Start();
    if (blur)
        blur->Start();
    m_EmittersStarted = true;
}

void Ball::CentreEmitters()
{
    for (ParticleEmitter* emitter : {m_TrailEmitter.Get(), m_MotionBlurEmitter.Get()})
        if (emitter) {
            emitter->Actor::SetSize(0, 0);
            emitter->SetPosition(GetWidth() / 2, GetHeight() / 2);
        }
}

void Ball::UpdateBlurCount()
{
    ParticleEmitter* blur = m_MotionBlurEmitter.Get();
    if (!blur)
        return;
    const double moved = std::sqrt(m_MoveDelta.x * m_MoveDelta.x + m_MoveDelta.y * m_MoveDelta.y);
    // Three copies per radius moved, at most kMostBlurCopies a pass however far the ball
    // went: the work of the blur follows the ball's size, never its speed.
    const double wanted = GetRadius() > 0.0 ? 3.0 * moved / GetRadius() : 0.0;
    int count = std::isfinite(wanted) ? int(std::min(wanted, double(kMostBlurCopies))) : 0;
    if (count <= 3 || m_Paddle.Get())
        count = 0;
    blur->SetScriptField("numParticles", IntValue(count));
}

Particle* Ball::CreateTrailParticle(ParticleEmitter* emitter, void* argument)
{
    Ball* ball = static_cast<Ball*>(argument);
    if (!ball->m_Active || ball->m_Paddle.Get())
        return nullptr;
    const bool breakthru = ball->m_Corona == "Breakthru";
    if (ball->m_Energy <= 0 && !breakthru)
        return nullptr;
    Particle* particle = IdenticalParticleEmitter::CreateParticle(emitter, nullptr);
    if (!particle)
        return nullptr;
    float alpha = particle->m_ParticleAlpha;
    if (breakthru) {
        particle->SetColor(Palette::Yellow);
    } else {
        const int k = std::min(17 * ball->m_Energy, 255);
        particle->SetColor(Color(255, 255, std::uint8_t(255 - k)));
        alpha = float(std::min(kTrailAlphaPerEnergy * ball->m_Energy + 32.0, 255.0));
    }
    const double seconds = std::max(particle->m_Lifetime, 0) / 1000.0;
    particle->m_ParticleAlpha = alpha;
    particle->m_DestAlphaPending = false;
    particle->m_AlphaStep = float(-alpha / (seconds + 0.2));
    // Behind the ball along its last movement, a little scattered.
    const Point<double>& d = ball->m_MoveDelta;
    const double moved = std::sqrt(d.x * d.x + d.y * d.y);
    double bx = 0.0, by = 0.0;
    if (moved > 0.0) {
        const double back = RandomDouble(moved);
        bx = -d.x / moved * back;
        by = -d.y / moved * back;
    }
    particle->m_Position.x += float(bx + RandomDouble(4.0) - 2.0);
    particle->m_Position.y += float(by + RandomDouble(4.0) - 2.0);
    return particle;
}

Particle* Ball::CreateMotionBlurParticle(ParticleEmitter* emitter, void* argument)
{
    Ball* ball = static_cast<Ball*>(argument);
    if (ball->m_Paddle.Get())
        return nullptr;
    Image* image = ball->GetScaledImage();
    if (!image)
        return nullptr;
    Particle* particle = IdenticalParticleEmitter::CreateParticle(emitter, nullptr);
    if (!particle)
        return nullptr;
    particle->SetImage(Image::CreateReference(image), "");
    particle->SetFrame(std::min(ball->GetFrame(), image->GetNumFrames() - 1));
    particle->SetShaderType(IntValue(SHADERTYPE_BLENDCOMBINEDALPHA));
    // Centred on the ball, then moved back along the path of the last tick.
    const SDL_Rect r = ball->GetScreenRect();
    particle->SetPosition(r.x + r.w / 2 - particle->GetWidth() / 2,
                          r.y + r.h / 2 - particle->GetHeight() / 2);
    const int n = std::max(1, emitter->GetNumParticles());
    const int i = ball->m_BlurIndex++;
    const double back = double(n - i + 1) / n;
    particle->m_Position.x -= float(ball->m_MoveDelta.x * back);
    particle->m_Position.y -= float(ball->m_MoveDelta.y * back);
    return particle;
}

Particle* Ball::CreateGlueParticle(ParticleEmitter* emitter, void* argument)
{
    const GlueSplash* splash = static_cast<const GlueSplash*>(argument);
    Particle* particle = IdenticalParticleEmitter::CreateParticle(emitter, nullptr);
    if (!particle)
        return nullptr;
    // Along the surface (the normal turned by 90 degrees), denser near the contact.
    const double tx = -splash->normal.y, ty = splash->normal.x;
    const double r = RandomDouble(3.0) - RandomDouble(3.0);
    const double s = 0.5 * std::sqrt(std::max(std::fabs(r) / 3.0 - 0.1, 0.0));
    const double f = s + RandomDouble(0.5 - s);
    const double g = RandomInt(2) ? f + 0.5 : 0.5 - f;
    particle->m_Position.x += float(tx * r);
    particle->m_Position.y += float(ty * r);
    particle->m_Velocity =
        Point<float>(float(g * splash->direction.x), float(g * splash->direction.y));
    return particle;
}

void Ball::EmitGlueSplash(double x, double y, double nx, double ny)
{
    ParticleManager* manager = ArcadeGameLogic::GetParticleManager();
    ArcadeGameLogic* logic = gLogic;
    if (!manager || !logic)
        return;
    Point<double> velocity = m_Velocity;
    if (const PhysicsBody* body = GetPhysicsBody()) {
        const Vector2D v = body->GetLinearVel();
        velocity = Point<double>(v.x, v.y);
    }
    GlueSplash splash;
    const double length = std::sqrt(velocity.x * velocity.x + velocity.y * velocity.y);
    // The ball's direction at its target speed (1.2 x the velocity, set to the speed).
    splash.direction =
        length > 0.0 ? Point<double>(velocity.x / length * m_Speed, velocity.y / length * m_Speed)
                     : Point<double>(m_Speed, 0.0);
    splash.normal = Point<double>(nx, ny);
    auto* drops = new GlueSplashEmitter(manager, splash);
    const bool big = m_SizeIndex > 2;
    if (big) {
        drops->SetParticleProperty("image", ScriptText("Particle_White_Tiny.png"));
        drops->SetParticleProperty("lifetime", IntValue((m_SizeIndex + 5) * 20));
        drops->SetScriptField("numParticles", IntValue((m_SizeIndex + 10) * 5));
    }
    drops->Actor::SetSize(0, 0);
    drops->SetPosition(int(std::lround(x)), int(std::lround(y)));
    logic->AddEmitter(drops);
    drops->Start();

    auto* burst = new IdenticalParticleEmitter("GlueCollisionExplosionEmitter", manager);
    if (big)
        burst->ApplyClassicProperty("delay", IntValue((m_SizeIndex + 5) * 20));
    burst->Actor::SetSize(0, 0);
    burst->SetPosition(int(std::lround(x + velocity.x / 8.0)),
                       int(std::lround(y + velocity.y / 8.0)));
    logic->AddEmitter(burst);
    burst->Start();
}

void Ball::LightningConnect(ArcadeStructure* other, ArcadeGameLogic* logic)
{
    if (!m_Active || m_Corona != "Lightning" || !other)
        return;
    PlaySound("LightningConnect.ogg", false);
    ArcadeGameLogic* controller = logic ? logic : gLogic;
    if (!controller)
        return;
    // The bolt: from the ball's centre to the struck object's centre, with that object as
    // its target.
    const Point<double> from =
        m_Geom ? m_Geom->GetCenter()
               : Point<double>(GetX() + GetWidth() / 2.0, GetY() + GetHeight() / 2.0);
    const Point<double> to = other->GetGeom()
                                 ? other->GetGeom()->GetCenter()
                                 : Point<double>(other->GetX() + other->GetWidth() / 2.0,
                                                 other->GetY() + other->GetHeight() / 2.0);
    const int power = 3 * m_LightningStrength;
    const double gatherRadius = 64.0;
    const int minForks = 1, maxForks = 2, childMinForks = 1, childMaxForks = 2;
    controller->AddSpark(new Spark(from.x, from.y, to.x, to.y, other, power, controller,
                                   gatherRadius, minForks, maxForks, childMinForks, childMaxForks));
}

// Paddle: the swing machine. The button's press and release choose a stroke (serve, swing,
// whack); each tick moves the current state along: pull back, charge, stroke, follow
// through, return. Power grows during strokes and falls back to the base power after them.
#include "field/Paddle.h"

#include "core/Config.h"
#include "core/FramePeriod.h"
#include "display/Image.h"
#include "field/LaserBeam.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/Variant.h"
#include "physics/PhysicsBody.h"
#include "scene/ParticleEmitter.h"
#include "sound/Sound.h"

#include <algorithm>

namespace {

const char* const kChargeStart = "paddleChargeUpStart.ogg";
const char* const kChargeLoop = "paddleChargeUpLoop.ogg";

// The configuration keys of the swing parameters.
struct SwingKey
{
    const char* key;
    double PaddleSwingParameters::*member;
};
const SwingKey kSwingKeys[] = {
    {"paddleReturnRate", &PaddleSwingParameters::returnRate},
    {"paddleServeDistance", &PaddleSwingParameters::serveDistance},
    {"paddleServeReleaseSpot", &PaddleSwingParameters::serveReleaseSpot},
    {"paddleServeAcceleration", &PaddleSwingParameters::serveAcceleration},
    {"paddleServeDeceleration", &PaddleSwingParameters::serveDeceleration},
    {"paddleServeEnergyGain", &PaddleSwingParameters::serveEnergyGain},
    {"paddleServeEnergyLoss", &PaddleSwingParameters::serveEnergyLoss},
    {"paddleServeChargeRate", &PaddleSwingParameters::serveChargeRate},
    {"paddleServeMaxCharge", &PaddleSwingParameters::serveMaxCharge},
    {"paddleSwingDistance", &PaddleSwingParameters::swingDistance},
    {"paddleSwingSweetSpot", &PaddleSwingParameters::swingSweetSpot},
    {"paddleSwingAcceleration", &PaddleSwingParameters::swingAcceleration},
    {"paddleSwingDeceleration", &PaddleSwingParameters::swingDeceleration},
    {"paddleSwingEnergyGain", &PaddleSwingParameters::swingEnergyGain},
    {"paddleSwingEnergyLoss", &PaddleSwingParameters::swingEnergyLoss},
    {"paddlePowerDelay", &PaddleSwingParameters::powerDelay},
    {"paddlePullRate", &PaddleSwingParameters::pullRate},
    {"paddlePullDistance", &PaddleSwingParameters::pullDistance},
    {"paddleChargeRate", &PaddleSwingParameters::chargeRate},
    {"paddleWhackMaxCharge", &PaddleSwingParameters::whackMaxCharge},
    {"paddleWhackDistance", &PaddleSwingParameters::whackDistance},
    {"paddleWhackSweetSpot", &PaddleSwingParameters::whackSweetSpot},
    {"paddleWhackAcceleration", &PaddleSwingParameters::whackAcceleration},
    {"paddleWhackDeceleration", &PaddleSwingParameters::whackDeceleration},
    {"paddleWhackEnergyGain", &PaddleSwingParameters::whackEnergyGain},
    {"paddleWhackEnergyLoss", &PaddleSwingParameters::whackEnergyLoss},
};

} // namespace

void Paddle::LoadSwingParameters()
{
    Config* config = Config::GetCurrent();
    if (!config)
        return;
    for (const SwingKey& entry : kSwingKeys)
        m_Swing.*entry.member = config->Retrieve(entry.key).ToDouble();
}

void Paddle::ReadSwingFromBody()
{
    const PhysicsBody* body = GetPhysicsBody();
    if (!body)
        return;
    const Vector2D position = body->GetPosition();
    const Vector2D velocity = body->GetLinearVel();
    m_SwingOffset = m_RestPosition - (m_Vertical ? position.x : position.y);
    m_SwingSpeed = m_Vertical ? velocity.x : velocity.y;
    if (!m_FacePositive) {
        m_SwingOffset = -m_SwingOffset;
        m_SwingSpeed = -m_SwingSpeed;
    }
    m_SwingSpeed *= FRAME_PERIOD_SECONDS;
}

void Paddle::ApplySwingVelocity()
{
    PhysicsBody* body = GetPhysicsBody();
    if (!body)
        return;
    Vector2D velocity = body->GetLinearVel();
    const double along = (m_FacePositive ? m_SwingSpeed : -m_SwingSpeed) / FRAME_PERIOD_SECONDS;
    if (m_Vertical)
        velocity.x = along;
    else
        velocity.y = along;
    body->SetLinearVel(velocity.x, velocity.y);
}

// ---- Charge sounds ----------------------------------------------------------------------

void Paddle::StartChargeSounds()
{
    PlaySound(kChargeStart, false);
    PlaySound(kChargeLoop, true);
    Sound::SetVolume(kChargeLoop, 0);
    Sound::SlideVolume(kChargeLoop, 100, 6000);
}

void Paddle::StopChargeSounds()
{
    Sound::StopSound(kChargeLoop);
    Sound::StopSound(kChargeStart);
}

void Paddle::PanChargeSounds()
{
    SetSoundPan(kChargeStart);
    SetSoundPan(kChargeLoop);
}

// ---- Tick rules -----------------------------------------------------------------------------

void Paddle::TickSwing()
{
    switch (m_SwingState) {
    case ServePullBack:
    case ServeCharge:
    case ServeStroke:
    case ServeFollowThrough:
        TickServe();
        break;
    case SwingStroke:
    case SwingFollowThrough:
        TickStroke();
        break;
    case SwingReturn:
        TickReturn(false);
        break;
    case PowerDelay:
        m_Power = m_BasePower;
        UpdateGlow();
        if (--m_PowerDelayTicks < 1) {
            m_PowerDelayTicks = 0;
            m_SwingSpeed = -m_Swing.pullRate;
            m_Power = m_BasePower;
            m_Charge = 0;
            UpdateGlow();
            StartChargeSounds();
            m_SwingState = DrawBack;
        }
        break;
    case DrawBack:
    case WhackCharge:
    case WhackStroke:
    case WhackFollowThrough:
        TickWhack();
        break;
    case WhackReturn:
        TickReturn(true);
        break;
    default:
        break;
    }
}

void Paddle::TickServe()
{
    switch (m_SwingState) {
    case ServePullBack:
        PullBackInto(ServeCharge);
        break;
    case ServeCharge:
        m_Charge = std::min(m_Charge + m_Swing.serveChargeRate, m_Swing.serveMaxCharge);
        UpdateGlow();
        PanChargeSounds();
        break;
    case ServeStroke:
        m_Power += m_Swing.serveEnergyGain;
        UpdateGlow();
        m_SwingSpeed += m_Swing.serveAcceleration;
        if (Reached(m_Swing.serveReleaseSpot)) {
            m_SwingState = ServeFollowThrough;
            LaunchHeldBalls();
        }
        break;
    case ServeFollowThrough:
        if (FollowThrough(m_Swing.serveDeceleration, m_Swing.serveEnergyLoss, m_Swing.serveDistance,
                          false, SwingReturn) &&
            m_StrokeTrail)
            m_StrokeTrail->Stop();
        break;
    default:
        break;
    }
}

void Paddle::TickStroke()
{
    if (m_SwingState == SwingStroke) {
        if (!Reached(m_Swing.swingSweetSpot)) {
            m_SwingSpeed += m_Swing.swingAcceleration;
            m_Power += m_Swing.swingEnergyGain;
            UpdateGlow();
        } else {
            m_SweetSpotHit = true;
            m_SwingState = SwingFollowThrough;
            LaunchHeldBalls();
        }
        return;
    }
    m_SweetSpotHit = false;
    FollowThrough(m_Swing.swingDeceleration, m_Swing.swingEnergyLoss, m_Swing.swingDistance, false,
                  SwingReturn);
}

void Paddle::TickWhack()
{
    switch (m_SwingState) {
    case DrawBack:
        if (PullBackInto(WhackCharge) && gLogic)
            gLogic->ShowPrompt("powerup", "check");
        break;
    case WhackCharge:
        m_Charge = std::min(m_Charge + m_Swing.chargeRate, m_Swing.whackMaxCharge);
        UpdateGlow();
        PanChargeSounds();
        break;
    case WhackStroke:
        UpdateGlow();
        if (!Reached(m_Swing.whackSweetSpot)) {
            m_SwingSpeed += m_Swing.whackAcceleration;
            m_Power += m_Swing.whackEnergyGain;
        } else {
            m_SweetSpotHit = true;
            m_SwingState = WhackFollowThrough;
            LaunchHeldBalls();
        }
        break;
    case WhackFollowThrough:
        m_SweetSpotHit = false;
        if (FollowThrough(m_Swing.whackDeceleration, m_Swing.whackEnergyLoss, m_Swing.whackDistance,
                          true, WhackReturn) &&
            m_StrokeTrail)
            m_StrokeTrail->Stop();
        break;
    default:
        break;
    }
}

bool Paddle::PullBackInto(int chargeState)
{
    m_Power = m_BasePower;
    UpdateGlow();
    if (!PulledBack(m_Swing.pullDistance))
        return false;
    m_SwingState = chargeState;
    m_SwingSpeed = 0;
    PanChargeSounds();
    return true;
}

bool Paddle::FollowThrough(double deceleration, double energyLoss, double distance, bool stopEnds,
                           int returnState)
{
    m_SwingSpeed -= deceleration;
    m_Power = std::max(m_Power - energyLoss, m_BasePower);
    UpdateGlow();
    const bool turned = stopEnds ? m_SwingSpeed <= 0 : m_SwingSpeed < 0;
    if (!Reached(distance) && !turned)
        return false;
    m_SwingState = returnState;
    m_SwingSpeed = -m_Swing.returnRate;
    return true;
}

void Paddle::TickReturn(bool afterWhack)
{
    if (m_SwingOffset < -kDistanceTolerance)
        return;
    m_Power = m_BasePower;
    m_Charge = 0;
    if (m_Released) {
        m_SwingOffset = 0;
        m_SwingSpeed = 0;
        m_SwingState = SwingIdle;
    } else if (m_Swing.powerDelay == 0) {
        m_SwingState = DrawBack;
        if (afterWhack) {
            m_SwingSpeed = -m_Swing.returnRate;
        } else {
            m_SwingSpeed = -m_Swing.pullRate;
            StartChargeSounds();
        }
    } else {
        m_SwingState = PowerDelay;
        m_PowerDelayTicks = int(m_Swing.powerDelay);
        m_SwingOffset = 0;
        m_SwingSpeed = 0;
    }
    UpdateGlow();
}

// ---- Button -----------------------------------------------------------------------------------

void Paddle::StartSwing()
{
    m_SwingSpeed = m_Swing.swingAcceleration;
    m_SwingState = SwingStroke;
    m_Power = m_BasePower + m_Swing.swingEnergyGain;
    m_Charge = 0;
    UpdateGlow();
    m_Released = false;
}

void Paddle::Press()
{
    if (IsDead())
        return;
    if (!m_HeldBalls.IsEmpty() && m_SwingState != DrawBack && m_SwingState != WhackCharge) {
        m_SwingState = ServePullBack;
        if (m_StrokeTrail)
            m_StrokeTrail->Stop();
        m_SwingSpeed = -m_Swing.pullRate;
        m_Released = true;
        m_Power = m_BasePower;
        m_Charge = 0;
        UpdateGlow();
        StartChargeSounds();
        ApplySwingVelocity();
        return;
    }
    if (m_LaserEnabled && !m_LaserBeam) {
        // The press fires a beam from the paddle instead of swinging; the controller takes
        // it over and the release ends it.
        LaserBeam* beam = new LaserBeam(this);
        if (beam) {
            m_LaserBeam.Set(beam);
            if (gLogic)
                gLogic->AddLaserBeam(beam);
        }
        return;
    }
    ReadSwingFromBody();
    switch (m_SwingState) {
    case SwingIdle:
        PlaySound("paddleSwing.ogg", false);
        StartSwing();
        break;
    case SwingReturn:
    case WhackReturn:
        StartSwing();
        break;
    case ServeStroke:
    case ServeFollowThrough:
    case SwingStroke:
    case SwingFollowThrough:
        m_Released = false;
        break;
    case WhackStroke:
    case WhackFollowThrough:
        m_SwingState = SwingStroke;
        if (m_StrokeTrail)
            m_StrokeTrail->Stop();
        m_Released = false;
        break;
    default:
        break;
    }
    ApplySwingVelocity();
}

void Paddle::Release()
{
    if (IsDead())
        return;
    if (LaserBeam* beam = m_LaserBeam.Get())
        beam->Kill();
    m_LaserBeam.Clear();
    ReadSwingFromBody();
    switch (m_SwingState) {
    case ServePullBack:
        m_SwingState = ServeStroke;
        m_Released = true;
        m_Power = m_BasePower + (m_SwingOffset > 2.0 ? m_Swing.serveEnergyGain : 0.0) + m_Charge;
        m_Charge = 0;
        StartStroke(m_Swing.serveAcceleration);
        break;
    case ServeCharge:
        m_SwingState = ServeStroke;
        m_Released = true;
        m_Power = m_BasePower + m_Swing.serveEnergyGain + m_Charge;
        if (gLogic)
            gLogic->ShowPrompt("serve", "check");
        StartStroke(m_Swing.serveAcceleration);
        break;
    case DrawBack:
    case WhackCharge:
        m_Power = m_BasePower + m_Swing.whackEnergyGain + m_Charge;
        if (m_SwingState == DrawBack)
            m_Charge = 0;
        m_SwingState = WhackStroke;
        m_Released = true;
        StartStroke(m_Swing.whackAcceleration);
        break;
    case ServeStroke:
    case ServeFollowThrough:
    case SwingStroke:
    case SwingFollowThrough:
    case SwingReturn:
    // A whack entered by a release is released already; one the laser switch started
    // while the button was down ends at rest once the button is up.
    case WhackStroke:
    case WhackFollowThrough:
    case WhackReturn:
        m_Released = true;
        break;
    case PowerDelay:
        m_SwingState = SwingIdle;
        m_PowerDelayTicks = 0;
        break;
    default:
        break;
    }
    ApplySwingVelocity();
}

void Paddle::StartStroke(double speed)
{
    m_SwingSpeed = speed;
    UpdateGlow();
    StopChargeSounds();
    Sound::SetVolume("paddleWhack.ogg", int(std::min(m_Power * 30.0, 100.0)));
    PlaySound("paddleWhack.ogg", false);
    m_StrokeImage.reset();
    if (Image* image = GetImage()) {
        m_StrokeImage.reset(image->ExtractFrame(GetFrame()));
        m_StrokeImage->Fade(64);
    }
    if (m_StrokeTrail)
        m_StrokeTrail->Start();
}

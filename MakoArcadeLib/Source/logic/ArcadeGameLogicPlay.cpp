// What play earns: score, caught power-ups (their effects stand in PowerupEffect), the
// split of the balls, paddle power raised by runs of paddle hits with its music and tempo,
// and the one-time tutorial prompts.
#include "core/Config.h"
#include "core/Log.h"
#include "field/Ball.h"
#include "field/Paddle.h"
#include "field/Powerup.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/PowerupEffect.h"
#include "lua/MakoLuaState.h"
#include "lua/Variant.h"
#include "perf/ScopedPerformanceTimer.h"
#include "physics/PhysicsBody.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "scene/IdenticalParticleEmitter.h"
#include "scene/ParticleManager.h"
#include "screens/HitMeter.h"
#include "screens/Marquee.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"

#include <boost/format.hpp>

#include <cmath>
#include <vector>

using LuaPlus::LuaObject;

namespace {

// How long a paddle-power message stays on the marquee.
const int kPowerMessageMs = 3000;
// A split ball's two new balls leave at this angle to either side of it.
const double kSplitAngle = 0.5235988;

// The music part of a paddle power level (a level starts on "Play1").
std::string PowerMusicPart(int power)
{
    if (power <= 0)
        return "Play1";
    return "Play" + std::to_string(std::min(power, 9) + 1);
}

bool GainsPower(Paddle* paddle)
{
    LuaObject value;
    paddle->GetScriptField(value, "noLevelUp");
    return !(value.IsBoolean() && value.GetBoolean());
}

Point<double> ActorCentre(const Actor* actor)
{
    return Point<double>(actor->GetX() + actor->GetWidth() / 2.0,
                         actor->GetY() + actor->GetHeight() / 2.0);
}

Point<double> Rotated(const Vector2D& v, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    return Point<double>(v.x * c - v.y * s, v.x * s + v.y * c);
}

// The current player's Options table (nil when no player is signed in).
LuaObject PlayerOptions()
{
    PlayerManager* players = PlayerManager::GetInstance();
    Player* player = players ? players->GetCurrentPlayer(1) : nullptr;
    return player ? player->GetOptionsTable() : LuaObject();
}

} // namespace

void ArcadeGameLogic::AddScore(int points)
{
    m_Score += points;
    m_ScoreChanged = true;
}

// ---- Power-ups --------------------------------------------------------------------------------

void ArcadeGameLogic::CollectPowerup(Powerup* powerup, Paddle* paddle)
{
    ScopedPerformanceTimer timer("PowerupCollected");
    if (!powerup || powerup->IsDead())
        return;
    powerup->OnCollected(paddle, this);
    Sound::PlaySound("pop2.ogg", false);
    if (powerup->IsLoot()) {
        ++m_LootCaught;
        if (paddle)
            paddle->AddCaughtLoot(powerup->GetKindName());
    }
    if (const PowerupEffect* effect = PowerupEffect::Find(powerup->GetClass()))
        effect->Apply(*this, *powerup, paddle);
}

void ArcadeGameLogic::SplitBalls()
{
    std::vector<Ball*> made;
    const ActorGroup balls(m_Balls);
    for (Actor* actor : balls.GetMembers()) {
        Ball* ball = dynamic_cast<Ball*>(actor);
        if (!ball)
            continue;
        if (m_ParticleManager) {
            auto* burst = new IdenticalParticleEmitter("BallSplitEmitter", m_ParticleManager);
            burst->Actor::SetSize(0, 0);
            const Point<double> c = ActorCentre(ball);
            burst->SetPosition(static_cast<int>(std::lround(c.x)),
                               static_cast<int>(std::lround(c.y)));
            AddEmitter(burst);
            burst->Start();
        }
        if (!ball->IsActive())
            continue;
        Ball* first = ball->Split();
        Ball* second = ball->Split();
        if (PhysicsBody* body = ball->GetPhysicsBody()) {
            const Vector2D v = body->GetLinearVel();
            const Point<double> left = Rotated(v, kSplitAngle);
            const Point<double> right = Rotated(Vector2D(left.x, left.y), -2.0 * kSplitAngle);
            second->SetLaunchVelocity(left.x, left.y);
            first->SetLaunchVelocity(right.x, right.y);
        }
        for (Ball* b : {ball, first, second})
            b->SetBallPass(true);
        made.push_back(first);
        made.push_back(second);
    }
    for (Ball* ball : made)
        AddBall(ball);
}

// ---- Paddle power -----------------------------------------------------------------------------

void ArcadeGameLogic::CountPaddleHit()
{
    if (m_Bonus < kMaxPaddlePower) {
        if (m_HitMeter)
            m_HitMeter->AddHit();
        ++m_PaddleHits;
    }
    if (m_PaddleHits % m_HitCounterLimit == 0)
        PaddlePowerUp(true);
}

void ArcadeGameLogic::PaddlePowerUp(bool fromHits)
{
    if (m_Bonus >= kMaxPaddlePower)
        return;
    ++m_Bonus;
    for (Paddle* paddle : GetPaddles())
        if (GainsPower(paddle))
            paddle->AddPower(0.5);
    if (m_Bonus < kMaxPaddlePower) {
        if (fromHits && m_HitMeter)
            m_HitMeter->Reset();
        ShowMessage(fromHits ? boost::str(boost::format("%d hits! Paddle Power Up!") % m_PaddleHits)
                             : std::string("Paddle Power Up!"),
                    kPowerMessageMs);
        Sound::PlaySound("COMBO.ogg", false);
        AdjustTempo();
        PlayLevelMusic(PowerMusicPart(m_Bonus));
    } else {
        if (m_HitMeter) {
            m_HitMeter->Fill();
            m_HitMeter->SetHoldWhenFull(true);
        }
        ShowMessage("Paddle Power Maximized!", kPowerMessageMs);
    }
}

void ArcadeGameLogic::PaddlePowerDown()
{
    if (m_Bonus == kMaxPaddlePower && m_HitMeter)
        m_HitMeter->SetHoldWhenFull(false);
    if (m_Bonus == 0)
        return;
    --m_Bonus;
    ShowMessage("Paddle Power Down!", kPowerMessageMs);
    Sound::PlaySound("caughtPowerDown.ogg", false);
    AdjustTempo();
    PlayLevelMusic(PowerMusicPart(m_Bonus));
    for (Paddle* paddle : GetPaddles())
        if (GainsPower(paddle))
            paddle->AddPower(-0.5);
}

float ArcadeGameLogic::TempoFor(int power, int speed)
{
    const double bonusFactor = power > 0 ? power * 0.02 : 0.0;
    const double speedFactor = speed * 0.02;
    return static_cast<float>(1.0 + speedFactor + bonusFactor);
}

void ArcadeGameLogic::AdjustTempo()
{
    const double bonusFactor = m_Bonus > 0 ? m_Bonus * 0.02 : 0.0;
    const double speedFactor = m_Speed * 0.02;
    const float tempo = TempoFor(m_Bonus, m_Speed);
    LogAtLevel(4,
               "AdjustTempo: m_Bonus=%d m_Speed=%d speedFactor=%f bonusFactor=%f "
               "increaseTempo=%f\n",
               m_Bonus, m_Speed, speedFactor, bonusFactor, static_cast<double>(tempo));
    if (tempo <= 2.0f)
        if (DirectMusic* music = Sound::GetDirectMusic())
            music->SetMasterTempo(tempo);
}

// ---- Prompts ----------------------------------------------------------------------------------

bool ArcadeGameLogic::ShowPrompt(const std::string& id, const std::string& kind)
{
    LuaObject options = PlayerOptions();
    const std::string shownKey = boost::str(boost::format("prompt.%1%.check.shown") % id);
    if (options.IsTable()) {
        const LuaObject shown = options[shownKey.c_str()];
        if (shown.IsBoolean() && shown.GetBoolean())
            return false;
    }
    Config* config = Config::GetCurrent();
    if (!config)
        return true;
    const Variant text = config->Retrieve(boost::str(boost::format("prompt.%1%.%2%") % id % kind));
    if (text.GetType() != Variant::V_STRING)
        return true;
    if (kind == "check" && options.IsTable())
        options.SetBoolean(shownKey.c_str(), true);
    ShowMessage(text.ToString(), kind == "check" ? 5000 : 0);
    return true;
}

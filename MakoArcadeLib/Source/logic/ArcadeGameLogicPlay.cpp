// What play earns: score, the effects of caught power-ups, paddle power raised by runs of
// paddle hits with its music and tempo, and the one-time tutorial prompts.
#include "core/Config.h"
#include "core/Log.h"
#include "core/Utility.h"
#include "field/Ball.h"
#include "field/FlyingText.h"
#include "field/Paddle.h"
#include "field/Powerup.h"
#include "field/Shield.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/PlayerSkill.h"
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
#include "screens/PowerMeter.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"

#include <boost/format.hpp>

#include <cmath>
#include <functional>
#include <vector>

using LuaPlus::LuaObject;

namespace {

// How long a paddle-power message stays on the marquee.
const int kPowerMessageMs = 3000;
// The ball speed level the Faster and Slower power-ups step within.
const int kMaxSpeedLevel = 10;
// A flying text of a caught power-up lives this many frames.
const int kFlyingTextFrames = 50;
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

Point<double> CentreOf(const Actor* actor)
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
    const int value = powerup->GetScore();
    if (powerup->IsLoot()) {
        ++m_LootCaught;
        if (paddle)
            paddle->AddCaughtLoot(powerup->GetKindName());
    }

    const Class* kind = powerup->GetClass();
    auto is = [kind](const char* name) { return kind && kind->DerivesFrom(name); };
    Paddle* target = paddle;
    if (!target && !GetPaddles().empty())
        target = GetPaddles().front();
    std::vector<Ball*> active;
    for (Actor* actor : m_Balls.GetMembers())
        if (Ball* ball = dynamic_cast<Ball*>(actor); ball && ball->IsActive())
            active.push_back(ball);
    auto eachActive = [&active](const std::function<void(Ball*)>& effect) {
        for (Ball* ball : active)
            effect(ball);
    };
    auto sound = [powerup](const char* name) { powerup->PlaySound(name, false); };
    auto score = [this, value]() { AddScore(value); };
    auto valueText = [this, powerup, value](double rise) {
        const Point<double> c = CentreOf(powerup);
        AddFlyingText(
            new FlyingText(GroupThousands(value), kFlyingTextFrames, c.x, c.y, 2.0, rise));
    };

    std::string message;
    if (is("IncreaseShield")) {
        for (Shield* shield : GetShields())
            shield->IncreaseLevel();
        message = "Shield!";
    } else if (is("Breakthru")) {
        eachActive([](Ball* b) { b->SetCorona("Breakthru"); });
        message = "Breakthru Ball!";
    } else if (is("ExtraBall")) {
        SetBallsLeft(m_BallsLeft + 1);
        score();
        sound("score8.ogg");
        message = "Extra Ball!";
    } else if (is("BlingCoin")) {
        score();
        valueText(-50.0);
        sound("coins.ogg");
    } else if (is("GoldBrickPowerup")) {
        powerup->SyncFromPhysics();
        score();
        valueText(-50.0);
        sound("collectGold.ogg");
    } else if (is("Secret")) {
        m_SecretFound = 1;
        powerup->SyncFromPhysics();
        if (value != 0) {
            score();
            valueText(-50.0);
        }
        sound("Pickup_Secret03.ogg");
        message = "Found Secret!";
    } else if (is("BlingDiamond")) {
        score();
        valueText(-50.0);
        sound("magic2.ogg");
    } else if (is("BlingEmerald")) {
        score();
        valueText(-40.0);
        sound("magic1.ogg");
    } else if (is("BlingRuby")) {
        score();
        valueText(-20.0);
        sound("magic1.ogg");
    } else if (const char letter = LetterOf(kind); letter != 0) {
        // Every letter lights its own tile; all eight lit earn the level's arcade bonus.
        if (m_PowerMeter) {
            m_PowerMeter->SetLetter(letter, true);
            if (m_PowerMeter->AllLettersLit()) {
                m_PowerMeter->Reset();
                if (m_Level)
                    m_Level->AwardArcadeBonus(this);
                ShowMessage("ARCADE bonus awarded!", 0);
            }
        }
        message = std::string(1, letter) + "!";
    } else if (is("GlueBall")) {
        eachActive([](Ball* b) { b->SetCorona("Glue"); });
        message = "Glue Ball!";
    } else if (is("Lightning")) {
        eachActive([](Ball* b) { b->SetCorona("Lightning"); });
        message = "Lightning Ball!";
    } else if (is("RubberBall")) {
        eachActive([](Ball* b) { b->SetSubstance("Rubber", true); });
        message = "Rubber Ball!";
    } else if (is("HeavyBall")) {
        eachActive([](Ball* b) {
            if (b->GetSubstance() != "Lead") {
                b->SetSubstance("Lead", true);
                b->Grow();
            }
        });
        message = "Lead Ball!";
    } else if (is("LightBall")) {
        eachActive([](Ball* b) {
            for (int i = 0; i < 5; ++i)
                b->Grow();
            b->SetSubstance("Air", true);
        });
        message = "Beach Ball!";
    } else if (is("BigBall")) {
        eachActive([](Ball* b) { b->Grow(); });
        sound("caughtBig.ogg");
        message = "Bigger Ball!";
    } else if (is("SmallBall")) {
        eachActive([](Ball* b) { b->Shrink(); });
        sound("caughtSmall.ogg");
        message = "Smaller Ball!";
    } else if (is("NormalBall")) {
        eachActive([](Ball* b) {
            if (b->GetSizeIndex() != 2)
                b->SetSize(b->GetRadius(), BallRadii[2], 2);
            b->SetSubstance("None", false);
            b->SetCorona("None");
        });
        sound("caughtNormal.ogg");
        message = "Normal Ball!";
    } else if (is("Faster") || is("Slower")) {
        const bool faster = is("Faster");
        eachActive([faster](Ball* b) { b->AddSpeed(faster ? 60.0 : -60.0, true); });
        if (!active.empty()) {
            m_Speed = std::clamp(m_Speed + (faster ? 1 : -1), -kMaxSpeedLevel, kMaxSpeedLevel);
            AdjustTempo();
        }
        sound(faster ? "caughtFaster.ogg" : "caughtSlower.ogg");
        message = faster ? "Faster!" : "Slower!";
    } else if (is("Split")) {
        SplitBalls();
        sound("caughtSplit.ogg");
        message = "Splitter!";
    } else if (is("ExpandPaddle")) {
        if (target)
            target->Expand();
        sound("caughtExpand.ogg");
        message = "Expand!";
    } else if (is("ContractPaddle")) {
        if (target)
            target->Contract();
        sound("caughtShrink.ogg");
        message = "Shrink!";
    } else if (is("NormalPaddle")) {
        if (target) {
            target->SetLaser(false);
            target->SetCatch(false);
            const int index = GetPaddleInitialSizeIndex(3);
            target->SetWidth(target->GetWidthPx(), PaddleSizes[index], index);
        }
        sound("caughtNormal.ogg");
        message = "Normal Paddle!";
    } else if (is("PaddleCatch")) {
        if (target)
            target->SetCatch(true);
        if (paddle) {
            sound("paddleCatch.ogg");
            sound("Spring.ogg");
        }
        message = "Ball Catcher!";
    } else if (is("IncreasePaddlePower")) {
        PaddlePowerUp(false);
        message = "Power Up!";
    } else if (is("DecreasePaddlePower")) {
        PaddlePowerDown();
        message = "Power Down!";
    } else if (is("Laser")) {
        if (target)
            target->SetLaser(true);
        message = "Laser!";
    }

    if (!message.empty() && paddle) {
        const Point<double> c = CentreOf(powerup);
        AddFlyingText(new FlyingText(message, kFlyingTextFrames, c.x, c.y, 2.0, -50.0));
    }
}

char ArcadeGameLogic::LetterOf(const Class* kind)
{
    if (!kind)
        return 0;
    for (int i = 0; i < PowerMeter::kLetters; ++i) {
        const char letter = PowerMeter::IdxToChar(i);
        if (kind->DerivesFrom(std::string("Letter") + letter))
            return letter;
    }
    return 0;
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
            const Point<double> c = CentreOf(ball);
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

#include "logic/PowerupEffect.h"

#include "core/Class.h"
#include "core/Utility.h"
#include "field/Ball.h"
#include "field/FlyingText.h"
#include "field/Paddle.h"
#include "field/Powerup.h"
#include "field/Shield.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/PlayerSkill.h"
#include "screens/PowerMeter.h"

#include <algorithm>
#include <string>

namespace {

using Catch = PowerupEffect::Catch;

// The ball speed level the Faster and Slower power-ups step within.
const int kMaxSpeedLevel = 10;
// A value text or message of a caught power-up lives this many frames.
const int kFlyingTextFrames = 50;
// The speed one Faster adds to each ball in play (one Slower takes), pixels per second.
const double kSpeedStep = 60.0;

void FlyFromPowerup(Catch& c, const std::string& text, double rise)
{
    const double x = c.powerup.GetX() + c.powerup.GetWidth() / 2.0;
    const double y = c.powerup.GetY() + c.powerup.GetHeight() / 2.0;
    c.logic.AddFlyingText(new FlyingText(text, kFlyingTextFrames, x, y, 2.0, rise));
}

// ---- Score and loot ---------------------------------------------------------------------------

// The power-up's value added to the score, its figure rising by `rise` from the power-up.
void ScoreWithText(Catch& c, double rise)
{
    c.logic.AddScore(c.value);
    FlyFromPowerup(c, GroupThousands(c.value), rise);
}

void CatchGold(Catch& c)
{
    c.powerup.SyncFromPhysics();
    ScoreWithText(c, -50.0);
}

void FindSecret(Catch& c)
{
    c.logic.m_SecretFound = 1;
    c.powerup.SyncFromPhysics();
    if (c.value != 0)
        ScoreWithText(c, -50.0);
}

void AddReserveBall(Catch& c)
{
    c.logic.SetBallsLeft(c.logic.GetBallsLeft() + 1);
    c.logic.AddScore(c.value);
}

// Lights the letter's tile; the eighth lit tile pays the level's arcade bonus and starts
// the word again.
void LightLetter(Catch& c, char letter)
{
    PowerMeter* meter = c.logic.m_PowerMeter.get();
    if (!meter)
        return;
    meter->SetLetter(letter, true);
    if (!meter->AllLettersLit())
        return;
    meter->Reset();
    if (Level* level = c.logic.GetLevel())
        level->AwardArcadeBonus(&c.logic);
    c.logic.ShowMessage("ARCADE bonus awarded!", 0);
}

void RaiseShields(Catch& c)
{
    for (Shield* shield : c.logic.GetShields())
        shield->IncreaseLevel();
}

// ---- Balls ------------------------------------------------------------------------------------

template <typename F> void EachActive(Catch& c, F effect)
{
    for (Ball* ball : c.activeBalls)
        effect(ball);
}

void SetCorona(Catch& c, const char* corona)
{
    EachActive(c, [corona](Ball* b) { b->SetCorona(corona); });
}

void GrowBalls(Catch& c)
{
    EachActive(c, [](Ball* b) { b->Grow(); });
}

void ShrinkBalls(Catch& c)
{
    EachActive(c, [](Ball* b) { b->Shrink(); });
}

void MakeRubber(Catch& c)
{
    EachActive(c, [](Ball* b) { b->SetSubstance("Rubber", true); });
}

void MakeLead(Catch& c)
{
    EachActive(c, [](Ball* b) {
        if (b->GetSubstance() != "Lead") {
            b->SetSubstance("Lead", true);
            b->Grow();
        }
    });
}

void MakeBeachBall(Catch& c)
{
    EachActive(c, [](Ball* b) {
        for (int i = 0; i < 5; ++i)
            b->Grow();
        b->SetSubstance("Air", true);
    });
}

void MakeNormalBall(Catch& c)
{
    EachActive(c, [](Ball* b) {
        if (b->GetSizeIndex() != 2)
            b->SetSize(b->GetRadius(), BallRadii[2], 2);
        b->SetSubstance("None", false);
        b->SetCorona("None");
    });
}

// Every ball in play gains (or loses) speed; with a ball in play the speed level and the
// music's tempo follow.
void StepSpeed(Catch& c, int step)
{
    EachActive(c, [step](Ball* b) { b->AddSpeed(step * kSpeedStep, true); });
    if (c.activeBalls.empty())
        return;
    c.logic.m_Speed = std::clamp(c.logic.m_Speed + step, -kMaxSpeedLevel, kMaxSpeedLevel);
    c.logic.AdjustTempo();
}

// ---- Paddles ----------------------------------------------------------------------------------

template <typename F> void OnTarget(Catch& c, F effect)
{
    if (c.target)
        effect(c.target);
}

void ExpandPaddle(Catch& c)
{
    OnTarget(c, [](Paddle* p) { p->Expand(); });
}

void ContractPaddle(Catch& c)
{
    OnTarget(c, [](Paddle* p) { p->Contract(); });
}

void CatchBalls(Catch& c)
{
    OnTarget(c, [](Paddle* p) { p->SetCatch(true); });
}

void ArmLaser(Catch& c)
{
    OnTarget(c, [](Paddle* p) { p->SetLaser(true); });
}

void MakeNormalPaddle(Catch& c)
{
    OnTarget(c, [](Paddle* p) {
        p->SetLaser(false);
        p->SetCatch(false);
        const int index = GetPaddleInitialSizeIndex(3);
        p->SetWidth(p->GetWidthPx(), PaddleSizes[index], index);
    });
}

// ---- The rows ---------------------------------------------------------------------------------

// One row a kind: its effect, message and sounds side by side.
const std::vector<PowerupEffect>& Rows()
{
    static const std::vector<PowerupEffect> rows = {
        {"IncreaseShield", "Shield!", {}, RaiseShields},
        {"Breakthru", "Breakthru Ball!", {}, [](Catch& c) { SetCorona(c, "Breakthru"); }},
        {"ExtraBall", "Extra Ball!", {"score8.ogg"}, AddReserveBall},
        {"BlingCoin", nullptr, {"coins.ogg"}, [](Catch& c) { ScoreWithText(c, -50.0); }},
        {"GoldBrickPowerup", nullptr, {"collectGold.ogg"}, CatchGold},
        {"Secret", "Found Secret!", {"Pickup_Secret03.ogg"}, FindSecret},
        {"BlingDiamond", nullptr, {"magic2.ogg"}, [](Catch& c) { ScoreWithText(c, -50.0); }},
        {"BlingEmerald", nullptr, {"magic1.ogg"}, [](Catch& c) { ScoreWithText(c, -40.0); }},
        {"BlingRuby", nullptr, {"magic1.ogg"}, [](Catch& c) { ScoreWithText(c, -20.0); }},
        {"LetterB", "B!", {}, [](Catch& c) { LightLetter(c, 'B'); }},
        {"LetterR", "R!", {}, [](Catch& c) { LightLetter(c, 'R'); }},
        {"LetterE", "E!", {}, [](Catch& c) { LightLetter(c, 'E'); }},
        {"LetterA", "A!", {}, [](Catch& c) { LightLetter(c, 'A'); }},
        {"LetterK", "K!", {}, [](Catch& c) { LightLetter(c, 'K'); }},
        {"LetterO", "O!", {}, [](Catch& c) { LightLetter(c, 'O'); }},
        {"LetterU", "U!", {}, [](Catch& c) { LightLetter(c, 'U'); }},
        {"LetterT", "T!", {}, [](Catch& c) { LightLetter(c, 'T'); }},
        {"GlueBall", "Glue Ball!", {}, [](Catch& c) { SetCorona(c, "Glue"); }},
        {"Lightning", "Lightning Ball!", {}, [](Catch& c) { SetCorona(c, "Lightning"); }},
        {"RubberBall", "Rubber Ball!", {}, MakeRubber},
        {"HeavyBall", "Lead Ball!", {}, MakeLead},
        {"LightBall", "Beach Ball!", {}, MakeBeachBall},
        {"BigBall", "Bigger Ball!", {"caughtBig.ogg"}, GrowBalls},
        {"SmallBall", "Smaller Ball!", {"caughtSmall.ogg"}, ShrinkBalls},
        {"NormalBall", "Normal Ball!", {"caughtNormal.ogg"}, MakeNormalBall},
        {"Faster", "Faster!", {"caughtFaster.ogg"}, [](Catch& c) { StepSpeed(c, 1); }},
        {"Slower", "Slower!", {"caughtSlower.ogg"}, [](Catch& c) { StepSpeed(c, -1); }},
        {"Split", "Splitter!", {"caughtSplit.ogg"}, [](Catch& c) { c.logic.SplitBalls(); }},
        {"ExpandPaddle", "Expand!", {"caughtExpand.ogg"}, ExpandPaddle},
        {"ContractPaddle", "Shrink!", {"caughtShrink.ogg"}, ContractPaddle},
        {"NormalPaddle", "Normal Paddle!", {"caughtNormal.ogg"}, MakeNormalPaddle},
        // The catcher's sounds only when a paddle caught it.
        {"PaddleCatch",
         "Ball Catcher!",
         {"paddleCatch.ogg", "Spring.ogg"},
         CatchBalls,
         PowerupEffect::SOUNDS_WHEN_CAUGHT},
        {"IncreasePaddlePower", "Power Up!", {}, [](Catch& c) { c.logic.PaddlePowerUp(false); }},
        {"DecreasePaddlePower", "Power Down!", {}, [](Catch& c) { c.logic.PaddlePowerDown(); }},
        {"Laser", "Laser!", {}, ArmLaser},
    };
    return rows;
}

} // namespace

void PowerupEffect::Apply(ArcadeGameLogic& logic, Powerup& powerup, Paddle* catcher) const
{
    Catch c{logic, powerup, catcher, catcher, {}, powerup.GetScore()};
    if (!c.target && !logic.GetPaddles().empty())
        c.target = logic.GetPaddles().front();
    for (Actor* actor : logic.GetBalls().GetMembers())
        if (Ball* ball = dynamic_cast<Ball*>(actor); ball && ball->IsActive())
            c.activeBalls.push_back(ball);

    apply(c);
    if (catcher || soundRule == SOUNDS_ALWAYS)
        for (const char* sound : sounds)
            if (sound)
                powerup.PlaySound(sound, false);
    if (message && catcher)
        FlyFromPowerup(c, message, -50.0);
}

const PowerupEffect* PowerupEffect::Find(const Class* kind)
{
    if (!kind)
        return nullptr;
    for (const PowerupEffect& effect : Rows())
        if (kind->DerivesFrom(effect.kind))
            return &effect;
    return nullptr;
}

const std::vector<PowerupEffect>& PowerupEffect::GetAll()
{
    return Rows();
}

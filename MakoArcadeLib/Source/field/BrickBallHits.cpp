// Brick: what a ball does to a brick. Whether the ball passes (it breaks the brick and
// goes on through) is decided before the contact's response; the hit itself runs in
// order: hoppers' own balls and eaters first, then flash, score and energy, revealing
// invisible bricks, steel edges and strong phases, hoppers, indestructible bricks, and
// last the damage.
#include "field/Ball.h"
#include "field/Brick.h"

#include "core/Utility.h"
#include "field/FieldBounds.h"
#include "field/FlyingText.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "sound/Sound.h"

#include <algorithm>

using LuaPlus::LuaObject;

bool Brick::AcceptsBall(Ball* ball, double x, double y)
{
    if (m_NoBlockBall || ball->GetPaddle())
        return true;
    const int touched = WhichSides(x, y);
    const bool weak = Touches(m_WeakEdges, touched);
    if ((m_Strength < 0 && !weak) || Touches(m_SteelEdges, touched) || PhaseBlocks())
        return false;
    // A full hopper bounces every ball, however many slots it has.
    if (IsHopperFull())
        return false;
    if (m_Glass || m_Bush || ball->GetCorona() == "Breakthru")
        return true;
    const int remaining = weak ? 1 : m_Strength - m_Damage;
    return remaining < ball->GetHitStrength();
}

void Brick::HandleBallHit(Ball* ball, ArcadeGameLogic* logic, double x, double y, double nx,
                          double ny, int touched)
{
    if (m_NoBlockBall)
        return;
    const FieldBounds field = FieldBounds::Current();
    if (x < field.left || x > field.right || y < field.top || y > field.bottom)
        return;
    if (ball->GetPaddle() || ball == m_LastBall)
        return;
    m_LastBall = ball;
    if (HoldsBall(ball))
        return;
    if (m_BallEater) {
        PlaySound("lostLoot.ogg", false);
        ball->Kill();
        if (logic) {
            const Vector2D c = GetCentre();
            logic->CheckForLevelEnd(c.x, c.y);
            logic->ResetHitCounter();
        }
        return;
    }
    if (!ball->IsActive())
        return;
    if (logic)
        logic->OnBrickCombo(this, 0, x, y);
    if (m_FlashEdges == 0 || Touches(m_FlashEdges, touched))
        Flash();
    if (Touches(m_ScoreOnEdges, touched) && logic) {
        logic->AddScore(m_Score);
        if (m_ShowScore) {
            const Vector2D c = GetCentre();
            logic->AddFlyingText(
                new FlyingText(FormatWithThousandsSeparators(m_Score), 150, c.x, c.y, 2, -20));
        }
    }
    if (Touches(m_SpringEdges, touched)) {
        if (m_HitSoundCooldown == 0)
            PlaySound("Spring.ogg", false);
        ball->SpringBounce(-nx, -ny);
    }
    int energy = 0;
    if (m_AddEnergy != 0 && (m_EnergyEdges == 0 || Touches(m_EnergyEdges, touched))) {
        if (m_HitSoundCooldown == 0) {
            // Louder the more energy the brick gives.
            Sound::SetVolume("energize.ogg", int(std::clamp(3LL * m_AddEnergy, 0LL, 100LL)));
            PlaySound("energize.ogg", false);
            const std::string& name = GetName();
            if (name == "LeftBumper" || name == "RightBumper" || name == "Bumper" ||
                m_Material == "Rubber")
                PlaySound("bumperPinball.ogg", false);
        }
        energy = m_AddEnergy;
    }
    auto giveEnergy = [&] {
        if (energy != 0)
            ball->RaiseSpeedLevelAlong(energy, nx, ny);
    };
    const bool breakthru = ball->GetCorona() == "Breakthru";
    if (m_Invisible) {
        giveEnergy();
        if (m_Strength != -2) {
            m_Invisible = false;
            m_ImageValid = false;
        }
        if (!breakthru || m_Strength < 0)
            return;
    }
    if (Touches(m_SteelEdges, touched) || PhaseBlocks()) {
        PlayWithCooldown("Metal Bounce.ogg");
        ball->CapSpeedLevel(2);
        giveEnergy();
        return;
    }
    if (m_BallHopperSize > 0) {
        if (!CatchBall(ball, logic)) {
            PlayWithCooldown(m_Material == "Steel" ? "Metal Bounce.ogg" : "bounce.ogg");
            ball->CapSpeedLevel(2);
            giveEnergy();
        }
        return;
    }
    const bool weak = Touches(m_WeakEdges, touched);
    // Every negative strength is indestructible by ordinary hits, a breakthrough ball too.
    if (!weak && m_Strength < 0) {
        PlayWithCooldown(m_Material == "Steel" ? "Metal Bounce.ogg" : "bounce.ogg");
        ball->ShedEnergy(2);
        giveEnergy();
        return;
    }
    int damage;
    if (weak) {
        damage = std::max(m_Strength, 1);
        ball->ShedEnergy(1);
    } else {
        const int increase = std::min(m_Strength - m_Damage, ball->GetHitStrength());
        damage = m_Damage + increase;
        ball->ShedEnergy(increase);
    }
    giveEnergy();
    if (breakthru)
        damage = std::max(m_Strength, 1);
    if (m_Strength > 1)
        PlayWithCooldown(HitSound(false));
    if (weak && m_Strength < 0) {
        // A weak edge breaks even an indestructible brick.
        Destroy(ball, logic, x, y, true);
        return;
    }
    SetDamage(damage, ball, logic, x, y);
}

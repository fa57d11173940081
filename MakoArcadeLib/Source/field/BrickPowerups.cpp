// Brick: the power-ups it carries, their release when it breaks and the loot they count.
#include "field/Brick.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/Utility.h"
#include "field/Powerup.h"
#include "logic/ArcadeGameLogic.h"
#include "perf/PerformanceCounterManager.h"
#include "physics/PhysicsBody.h"

#include <cmath>
#include <memory>

using LuaPlus::LuaObject;

namespace {

constexpr int kExtraLootValue = 250;
constexpr int kPaddleReleaseLift = 40;
// Columns and rows a release spreads over beyond one per power-up.
constexpr int kSpareSpreadSlots = 4;

// A slot in 0..m-1 that no earlier power-up of the release took.
int TakeFreeSlot(std::vector<bool>& taken)
{
    const int m = int(taken.size());
    int i = RandomInt(m);
    while (taken[std::size_t(i)])
        i = RandomInt(m);
    taken[std::size_t(i)] = true;
    return i;
}

} // namespace

void Brick::DeletePowerupObjects()
{
    for (Powerup* powerup : m_PowerupObjects)
        delete powerup;
    m_PowerupObjects.clear();
}

std::vector<Powerup*> Brick::CreatePowerups()
{
    if (m_PowerupObjects.empty() && m_Powerups.IsTable()) {
        // Ours until every one is made: one that raises takes none of the others with it.
        std::vector<std::unique_ptr<Powerup>> made;
        for (int i = 1;; ++i) {
            const LuaObject name = m_Powerups[i];
            if (!name.IsString())
                break;
            // A kind its data cannot make is named by CreateOfKind and left out.
            if (Powerup* powerup = Powerup::CreateOfKind(name.GetString()))
                made.emplace_back(powerup);
        }
        for (std::unique_ptr<Powerup>& powerup : made)
            m_PowerupObjects.push_back(powerup.release());
    }
    return m_PowerupObjects;
}

void Brick::ReleasePowerups(ArcadeStructure* destroyer, ArcadeGameLogic* logic, double x, double y,
                            const Vector2D& impulse)
{
    if (!logic)
        return;
    // Ours from here until each is handed to the controller: one that raises on its way
    // takes the others with it rather than leaving them to nobody.
    std::vector<std::unique_ptr<Powerup>> powerups;
    for (Powerup* powerup : CreatePowerups())
        powerups.emplace_back(powerup);
    m_PowerupObjects.clear();
    const int m = int(powerups.size()) + kSpareSpreadSlots;
    std::vector<bool> columns(std::size_t(m), false), rows(std::size_t(m), false);
    const bool byPaddle = destroyer && destroyer->GetClass()->DerivesFrom("Paddle");
    const bool byBall = destroyer && destroyer->GetClass()->DerivesFrom("Ball");
    const Vector2D centre = GetCentre();
    bool askForSound = true;
    for (std::unique_ptr<Powerup>& owned : powerups) {
        Powerup* powerup = owned.release();
        logic->AddPowerup(powerup);
        PerformanceCounterManager::AddToIntCounter("Powerups Created", 1);
        double px = x, py = y;
        if (byPaddle && powerup->GetClass()->GetName() != "GoldBrickPowerup") {
            px = centre.x;
            py = centre.y - kPaddleReleaseLift;
        }
        powerup->SetPosition(int(std::lround(px)) - powerup->GetWidth() / 2,
                             int(std::lround(py)) - powerup->GetHeight() / 2);

        Vector2D velocity = impulse;
        if (byBall)
            if (PhysicsBody* body = destroyer->GetPhysicsBody())
                velocity = body->GetLinearVel();
        const double speed = std::sqrt(velocity.x * velocity.x + velocity.y * velocity.y);
        if (speed > Powerup::kMaxReleaseSpeed)
            velocity = Vector2D(velocity.x / speed * Powerup::kMaxReleaseSpeed,
                                velocity.y / speed * Powerup::kMaxReleaseSpeed);

        powerup->KeepInsideField();
        if (powerup->OnSpawn(askForSound))
            askForSound = false;

        velocity.x += PowerupSpread(TakeFreeSlot(columns), m);
        velocity.y += PowerupSpread(TakeFreeSlot(rows), m);
        if (PhysicsBody* body = powerup->GetPhysicsBody())
            body->SetLinearVel(velocity.x, velocity.y);
    }
}

void Brick::CountLoot()
{
    m_LootCount = 0;
    m_LootValue = 0;
    for (Powerup* powerup : CreatePowerups()) {
        if (powerup->IsLoot()) {
            ++m_LootCount;
            m_LootValue += powerup->GetScore();
        }
        if (powerup->IsSecret())
            m_HasSecret = true;
    }
    m_LootCount += m_ExtraLoot;
    m_LootValue += kExtraLootValue * m_ExtraLoot;
}

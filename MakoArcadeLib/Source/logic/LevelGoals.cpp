// Level: victory and defeat, the live-ball check, the last-brick bonus, the power-ups a
// serve or the arcade bonus hands out, and the bonus targets of the end-of-level letter.
#include "core/DataLists.h"
#include "core/DataRange.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/TableOrder.h"
#include "core/Utility.h"
#include "core/ValueTypeError.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/Powerup.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/LevelPlace.h"
#include "lua/GlobalValues.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "scene/ActorGroup.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

using LuaPlus::LuaObject;

namespace {

int LiveMembers(const ActorGroup& group)
{
    int count = 0;
    for (const Actor* actor : group.GetMembers())
        if (!actor->IsDead())
            ++count;
    return count;
}

} // namespace

bool Level::IsVictory(ArcadeGameLogic* logic) const
{
    return logic->CountRequiredBricks() <= victoryBricks &&
           LiveMembers(logic->GetGoobers()) <= victoryGoobers &&
           LiveMembers(logic->GetPowerups()) <= victoryPowerups &&
           logic->CountBallsInPlay() >= victoryBalls &&
           int(logic->GetPaddles().size()) >= victoryPaddles;
}

bool Level::IsDefeat(ArcadeGameLogic* logic) const
{
    // A ball held inside a brick comes back: it still counts as one in play.
    const int balls = logic->m_BallLocked ? defeatBalls + 1 : logic->CountBallsInPlay();
    int items = 0;
    for (Actor* actor : logic->GetPowerups().GetMembers()) {
        const Powerup* powerup = dynamic_cast<const Powerup*>(actor);
        if (!powerup || actor->IsDead())
            continue;
        const Class* c = actor->GetClass();
        if (powerup->IsLoot() || c->DerivesFrom("ExtraBall") || c->DerivesFrom("Secret"))
            ++items;
    }
    if (balls <= defeatBalls && items <= victoryPowerups) {
        logic->m_LostReason = "Ball Lost";
        return true;
    }
    if (int(logic->GetPaddles().size()) <= defeatPaddles) {
        logic->m_LostReason = "Paddle Destroyed!";
        return true;
    }
    return false;
}

bool Level::NeedsLiveBall(ArcadeGameLogic* logic, bool force) const
{
    const int live = !force && logic->m_BallLocked ? minLiveBalls : logic->CountBallsInPlay();
    if (live >= minLiveBalls)
        return false;
    if (force || logic->m_LiveBallTimer != 0)
        return true;
    logic->m_LiveBallTimer = logic->StartTimer(std::uint32_t(std::max(liveBallDelay, 0)), 1);
    return true;
}

void Level::CheckLastBrickBonus(ArcadeGameLogic* logic, double x, double y)
{
    if (m_LastBrickBonusGiven || logic->CountRequiredBricks() > victoryBricks)
        return;
    // The field is cleared: no ball is needed any more, and neither the bricks nor the
    // paddles count (a level asking for more paddles than it has is won all the same).
    victoryBalls = -1;
    victoryPaddles = -1;
    defeatBalls = -1;
    minLiveBalls = -1;
    victoryBricks = 10000;
    const std::list<Actor*> balls = logic->GetBalls().GetMembers();
    for (Actor* ball : balls)
        ball->Kill();
    logic->KillTimer(logic->m_ClockTimer);
    m_LastBrickBonusGiven = true;

    for (const std::string& kind : m_LastBrickBonus) {
        // A kind its data cannot make is named by CreateOfKind and left out.
        Powerup* powerup = Powerup::CreateOfKind(kind);
        if (!powerup)
            continue;
        powerup->SetPosition(int(x), int(y));
        logic->AddPowerup(powerup);
        if (PhysicsBody* body = powerup->GetPhysicsBody()) {
            body->SetPosition(x, y);
            body->SetLinearVel(RandomDouble(100.0) - 50.0, RandomDouble(50.0));
        }
    }
}

std::vector<std::string> Level::ReadPowerupList(const LuaObject& list,
                                                const std::string& where) const
{
    std::vector<std::string> kinds;
    LevelPlace place(m_LevelName);
    for (const auto& [key, entry] : DataListTables(list, std::string(), where)) {
        const std::string at = where + "[" + DataKeyText(key) + "].powerupClass";
        const LuaObject name = entry["powerupClass"];
        if (name.IsString() && Powerup::IsKind(name.GetString()))
            kinds.push_back(name.GetString());
        else
            DataReport::Report(std::string(), at + ": " + DescribeScriptValue(name) +
                                                  " is not a kind of power-up; the entry is left "
                                                  "out");
    }
    return kinds;
}

void Level::ReadPowerupLists()
{
    const LuaObject initial = ReadKey("initialPowerups", LUA_TTABLE);
    if (initial.IsTable()) {
        LevelPlace place(m_LevelName);
        m_PerBallPowerups =
            ReadPowerupList(ReadDataKey(initial, "perBall", LUA_TTABLE), "initialPowerups.perBall");
        m_PerLevelPowerups = ReadPowerupList(ReadDataKey(initial, "perLevel", LUA_TTABLE),
                                             "initialPowerups.perLevel");
        m_PerSpawnPowerups = ReadPowerupList(ReadDataKey(initial, "perSpawn", LUA_TTABLE),
                                             "initialPowerups.perSpawn");
    }
    // The game's own lists stand in for a level without one; they are checked alike.
    const LuaObject last = ReadKey("lastBrickBonus", LUA_TTABLE);
    m_LastBrickBonus = last.IsTable() ? ReadPowerupList(last, "lastBrickBonus")
                                      : ReadPowerupList(GetGlobalValue("defaultLastBrickBonus"),
                                                        "defaultLastBrickBonus");
    const LuaObject arcade = ReadKey("arcadeBonus", LUA_TTABLE);
    m_ArcadeBonus = arcade.IsTable() ? ReadPowerupList(arcade, "arcadeBonus")
                                     : ReadPowerupList(GetGlobalValue("defaultArcadeBonus"),
                                                       "defaultArcadeBonus");
}

void Level::CollectPowerups(ArcadeGameLogic* logic, const std::vector<std::string>& kinds)
{
    for (const std::string& kind : kinds) {
        std::unique_ptr<Powerup> powerup(Powerup::CreateOfKind(kind));
        // A kind its data cannot make is named by CreateOfKind, and not granted.
        if (!powerup)
            continue;
        powerup->SetPosition(-30, -30);
        logic->CollectPowerup(powerup.get(), nullptr);
    }
}

void Level::CheckPowerups(ArcadeGameLogic* logic)
{
    CollectPowerups(logic, m_PerBallPowerups);
    if (!m_FirstServeDone)
        CollectPowerups(logic, m_PerLevelPowerups);
    if (!m_SpawnPowerupsGiven)
        CollectPowerups(logic, m_PerSpawnPowerups);
}

void Level::AwardArcadeBonus(ArcadeGameLogic* logic)
{
    CollectPowerups(logic, m_ArcadeBonus);
}

namespace {

// A sum of values from data, held to the int range.
int HeldToInt(std::int64_t sum)
{
    return int(std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max()));
}

} // namespace

void Level::ComputeScoreTarget()
{
    // Summed wide: each brick's loot and score may be any int the data gives.
    std::int64_t loot = 0, score = 0;
    // Only the bricks are made: other actors (balls, goobers) would reach for the field.
    // Made only to be counted: never on the field.
    for (const std::unique_ptr<Object>& object : MakeObjects("levelActors", "Brick")) {
        if (Brick* brick = dynamic_cast<Brick*>(object.get())) {
            brick->CountLoot();
            loot += brick->GetLootValue();
            score += brick->GetScore();
        }
    }
    m_LootValue = HeldToInt(loot);
    m_BrickScore = HeldToInt(score);
    const std::int64_t estimate = loot + score / 2;
    const std::int64_t unit = estimate >= 1000 ? 1000 : 100;
    const std::int64_t rounded = estimate / unit * unit;
    int artefactScore = 0;
    const LuaObject artefact = ReadKey("artefact", LUA_TTABLE);
    if (artefact.IsTable() && artefact["score"].IsNumber())
        artefactScore = artefact["score"].GetInteger();
    m_ScoreBonusAt = HeldToInt(rounded + m_PlusBonus + m_ScoreBonusAtFineTune + artefactScore);
}

// Each target takes the skill's adjustment in force now, so a skill changed after the
// level was built counts.
std::int64_t Level::GetTimeBonusAt()
{
    const LuaObject adjustment = GetGlobalValue("defaultTimeBonusAtAdjustment");
    if (adjustment.IsNumber())
        m_TimeBonusAtAdjustment = adjustment.GetFloat();
    // Held within what an int64 holds exactly: a target from data may be anything.
    const double at = (double(m_TimeBonusAtAdjustment) + m_TimeBonusAt) * 60.0;
    return std::isfinite(at) ? std::int64_t(std::clamp(at, -9.0e15, 9.0e15)) : 0;
}

int Level::GetScoreBonusAt()
{
    return HeldToInt(std::int64_t(AdjustmentInForce("defaultScoreBonusAtAdjustment",
                                                    m_ScoreBonusAtAdjustment, kMostScoreTarget)) +
                     m_ScoreBonusAt);
}

int Level::GetBallUsedTarget()
{
    return HeldToInt(std::int64_t(AdjustmentInForce("defaultBallUsedTargetAdjustment",
                                                    m_BallUsedTargetAdjustment, kMostCount)) +
                     m_BallUsedTarget);
}

int Level::GetLootCaughtTarget()
{
    return HeldToInt(std::int64_t(AdjustmentInForce("defaultLootCaughtTargetAdjustment",
                                                    m_LootCaughtTargetAdjustment, 100)) +
                     m_LootCaughtTarget);
}

int Level::AdjustmentInForce(const char* name, int& kept, int most)
{
    const LuaObject adjustment = GetGlobalValue(name);
    if (adjustment.IsNumber()) {
        bool changed = false;
        kept = DataRange::HoldInt(adjustment.GetNumber(), -most, most, 0, changed);
    }
    return kept;
}
